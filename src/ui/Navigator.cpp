#include "Navigator.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace gt {

Navigator::Navigator(QObject *parent) : QObject(parent) {}

void Navigator::setMainScreen(QWidget *mainScreen)
{
    m_main = mainScreen;
    updateMain();
}

void Navigator::open(QWidget *screen, MainScreen mode)
{
    screen->setAttribute(Qt::WA_DeleteOnClose, true);
    if (!m_open.contains(screen)) {
        m_open.insert(screen);
        connect(screen, &QObject::destroyed, this, &Navigator::release);
    }
    if (mode == MainScreen::SetAside)
        m_holders.insert(screen);
    updateMain();
    screen->show();
    screen->raise();
    screen->activateWindow();
}

QWidget *Navigator::find(const QString &objectName) const
{
    for (QObject *o : m_open) {
        if (o->objectName() == objectName)
            return static_cast<QWidget *>(o);
    }
    return nullptr;
}

bool Navigator::raiseOpen(const QString &objectName) const
{
    QWidget *open = find(objectName);
    if (!open)
        return false;
    open->raise();
    open->activateWindow();
    return true;
}

bool Navigator::isMainAvailable() const { return m_holders.isEmpty(); }

void Navigator::release(QObject *screen)
{
    m_open.remove(screen);
    m_holders.remove(screen);
    updateMain();
}

void Navigator::updateMain()
{
    if (m_main)
        m_main->setEnabled(m_holders.isEmpty());
}

QMenu *addNamedMenu(QMenuBar *bar, const QString &objectName, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(objectName);
    return menu;
}

QAction *addNamedItem(QMenu *menu, const QString &objectName, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(objectName);
    return action;
}

QFont fixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFont(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPointSizeF(9.75);
    return font;
}

} // namespace gt
