#include "AppScreenFlow.h"

#include "AboutBox.h"
#include "ActivityScreen.h"
#include "CommPortDialog.h"
#include "FileContentsScreen.h"
#include "HelpFiles.h"
#include "HelpViewer.h"
#include "NamesEditor.h"
#include "Navigator.h"
#include "Receiver.h"
#include "RecordsScreen.h"
#include "ResultsScreen.h"
#include "SearchScreen.h"

#include <QCoreApplication>
#include <QWidget>

namespace gt {

AppScreenFlow::AppScreenFlow(GatetallyState &state, Prompts &prompts, Navigator &navigator)
    : m_state(state), m_prompts(prompts), m_navigator(navigator)
{
}

QWidget *AppScreenFlow::make(Screen screen, bool *setsMainAside)
{
    *setsMainAside = true;
    switch (screen) {
    case Screen::DisplayedSearch:
        return new SearchScreen(search::Twin::Displayed, m_state, m_prompts, *this);
    case Screen::StoredSearch:
        return new SearchScreen(search::Twin::Stored, m_state, m_prompts, *this);
    case Screen::RecordsManagement:
        return new RecordsScreen(m_state, m_prompts, *this);
    case Screen::FileContents:
        // Made only when the file could be read and the operator did not
        // cancel the reading.
        return FileContentsScreen::load(m_state, m_prompts);
    case Screen::DisplayedResults:
        return new ResultsScreen(ResultsScreen::Twin::Displayed, m_state, m_prompts, *this);
    case Screen::StoredResults:
        return new ResultsScreen(ResultsScreen::Twin::Stored, m_state, m_prompts, *this);
    case Screen::CommPort:
        if (m_receiver.isNull())
            return nullptr;
        return new CommPortDialog(m_state, *m_receiver, m_prompts);
    // The names editor, the help viewer and the About box open over the
    // screen that called them, which stays in use.
    case Screen::Names:
        *setsMainAside = false;
        return new NamesEditor(m_state, m_prompts, *this);
    case Screen::Help:
        *setsMainAside = false;
        return new HelpViewer(m_state, m_prompts, *this, help::helpFolders(QCoreApplication::applicationDirPath()));
    case Screen::About:
        *setsMainAside = false;
        return new AboutBox;
    // The activity views only look: records keep arriving on the main
    // screen, which stays in use.
    case Screen::Activity:
        *setsMainAside = false;
        return new ActivityScreen(ActivityScreen::Source::Display, m_state, m_prompts);
    case Screen::StoredActivity:
        *setsMainAside = false;
        return new ActivityScreen(ActivityScreen::Source::StoredFile, m_state, m_prompts);
    default:
        break;
    }
    return nullptr;
}

void AppScreenFlow::open(Screen screen, QWidget *from)
{
    QWidget *next = nullptr;
    if (screen == Screen::Main) {
        next = m_navigator.mainScreen();
        if (next) {
            next->raise();
            next->activateWindow();
        }
    } else if (QWidget *open = m_open.value(screen); open && screen != Screen::FileContents) {
        // Screens are single instances: the open one comes forward as it is.
        next = open;
        open->raise();
        open->activateWindow();
    } else {
        // The file contents screen shows the file strOpenFile names: opening
        // another file replaces the one shown, once the new one is read.
        const QPointer<QWidget> replaced = m_open.value(screen);
        bool setsMainAside = false;
        next = make(screen, &setsMainAside);
        if (next) {
            m_open.insert(screen, next);
            m_navigator.open(next, setsMainAside ? Navigator::MainScreen::SetAside : Navigator::MainScreen::StaysInUse);
            if (replaced)
                replaced->close();
        }
    }
    // The next screen is up before the one handing over goes, so the main
    // screen stays set aside along a chain of screens.
    if (from && from != next)
        from->close();
}

} // namespace gt
