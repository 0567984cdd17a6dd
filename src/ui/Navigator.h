#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

class QFont;
class QWidget;

namespace gt {

// Shows secondary screens and keeps the main screen set aside (disabled but
// still visible, so the operator sees records arrive) for as long as any
// screen that set it aside is open. Screens hand over to each other by
// opening the next one before closing themselves, so the main screen only
// becomes available again when the last of the chain has closed, however it
// was closed.
class Navigator : public QObject
{
    Q_OBJECT
public:
    enum class MainScreen { StaysInUse, SetAside };

    explicit Navigator(QObject *parent = nullptr);
    // Screens still open go with it: they refer to the program's state,
    // which ends with the navigator's owner.
    ~Navigator() override;

    void setMainScreen(QWidget *mainScreen);
    QWidget *mainScreen() const { return m_main; }

    // Shows the screen non-modal and brings it to the front; it is deleted
    // when it closes.
    void open(QWidget *screen, MainScreen mode);

    bool isMainAvailable() const;

private:
    void release(QObject *screen);
    void updateMain();

    QPointer<QWidget> m_main;
    QSet<QObject *> m_holders;
    QSet<QObject *> m_open;
};

// The fixed-pitch font that lists of records use, so that their columns line up.
QFont fixedPitchFont();

} // namespace gt
