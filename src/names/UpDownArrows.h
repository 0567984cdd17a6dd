#pragma once

#include <QWidget>

class QToolButton;

namespace gt {

// A pair of small arrows, one above the other, that report up and down
// clicks separately; holding an arrow repeats it. They keep no value of
// their own: the screen decides what a click does.
class UpDownArrows : public QWidget
{
    Q_OBJECT
public:
    explicit UpDownArrows(QWidget *parent = nullptr);

    QToolButton *upArrow() const { return m_up; }
    QToolButton *downArrow() const { return m_down; }

Q_SIGNALS:
    void up();
    void down();

private:
    QToolButton *m_up;
    QToolButton *m_down;
};

} // namespace gt
