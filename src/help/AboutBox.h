#pragma once

#include <QWidget>

class QLabel;

namespace gt {

// frmAbout ("About"): the product and its version. Labels only; it is
// closed with the window's own close control.
class AboutBox : public QWidget
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    QLabel *lblName = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCoprright = nullptr;
};

} // namespace gt
