#pragma once

#include <QLabel>

namespace gt {

// A one-line label that keeps its whole text but, when the window is too
// narrow, draws it shortened in the middle (a long records-file path keeps
// its folder start and file name) instead of forcing the window wider.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace gt
