#include "Navigator.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <QWidget>

namespace gt {

Navigator::Navigator(QObject *parent) : QObject(parent) {}

Navigator::~Navigator()
{
    // A screen may own another one (a dialog it opened), so each is deleted
    // only if an earlier deletion has not taken it already.
    QList<QPointer<QObject>> open;
    for (QObject *screen : std::as_const(m_open)) {
        disconnect(screen, nullptr, this, nullptr);
        open.append(screen);
    }
    m_open.clear();
    m_holders.clear();
    for (const QPointer<QObject> &screen : std::as_const(open))
        delete screen.data();
}

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
