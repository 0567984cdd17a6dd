#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

class QAction;
class QFont;
class QMenu;
class QMenuBar;
class QString;
class QWidget;

namespace gt {

// Opens secondary screens and keeps the main screen set aside (disabled but
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

    void setMainScreen(QWidget *mainScreen);
    QWidget *mainScreen() const { return m_main; }

    // Shows the screen non-modal; it is deleted when it closes.
    void open(QWidget *screen, MainScreen mode);

    // The open screen with this object name, if any (screens are single instances).
    QWidget *find(const QString &objectName) const;
    // Brings the open screen with this object name to the front; false when
    // no such screen is open.
    bool raiseOpen(const QString &objectName) const;

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

// A menu and a menu item carrying the object names that the screens and the
// tests find them by.
QMenu *addNamedMenu(QMenuBar *bar, const QString &objectName, const QString &caption);
QAction *addNamedItem(QMenu *menu, const QString &objectName, const QString &caption);

} // namespace gt
