#include "ResultsScreen.h"

#include "NamedWidgets.h"
#include "ColumnHeadings.h"
#include "ListingPrinter.h"
#include "Menus.h"
#include "Navigator.h"
#include "Paths.h"
#include "Prompts.h"
#include "RecordRowDelegate.h"
#include "ResultsFile.h"
#include "State.h"
#include "WriteFailure.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace gt {

ResultsScreen::ResultsScreen(Twin twin, GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent)
    : QMainWindow(parent),
      m_twin(twin),
      m_state(state),
      m_prompts(prompts),
      m_flow(flow),
      // The list is made once, now: later names or display modes leave it be.
      m_model(new results::ResultsModel(
          results::ResultLines(state.strResults, state.strDisplayMode, state.strEntryNames), this))
{
    const bool displayed = twin == Twin::Displayed;
    setObjectName(displayed ? QStringLiteral("frmSearchResults") : QStringLiteral("frmSavedResults"));
    setWindowTitle(displayed ? QStringLiteral("Display Search Results") : QStringLiteral("Stored Search Results"));

    auto *central = new QWidget(this);
    setCentralWidget(central);

    lstResults = new QListView(central);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setFont(fixedPitchFont());
    // Every row is one line of the same font: the view then never measures
    // more than one, and a million results open at once.
    lstResults->setUniformItemSizes(true);
    lstResults->setModel(m_model);
    lstResults->setItemDelegate(new RecordRowDelegate(lstResults));
    lstResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstResults->setSelectionMode(QAbstractItemView::SingleSelection);
    lstResults->setMinimumWidth(
        QFontMetrics(lstResults->font()).horizontalAdvance(QString(kDisplayLineLength, QLatin1Char('0'))) + 48);
    lstResults->setMinimumHeight(320);

    const DisplayHeadingNames names{QStringLiteral("lblDate"),         QStringLiteral("lblTime"),
                                    QStringLiteral("lblEntryPoint"),   QStringLiteral("lblStatus"),
                                    QStringLiteral("lblFacilityCode"), QStringLiteral("lblCardKeyless"),
                                    QStringLiteral("Facility Code")};
    ColumnHeadings *headings = makeDisplayHeadings(lstResults, names, central);

    cmdRefine = namedButton(central, QStringLiteral("cmdRefine"), QStringLiteral("Refine this Search"),
                       QStringLiteral("Changes the search parameters"));
    cmdNew = namedButton(central, QStringLiteral("cmdNew"), QStringLiteral("New Search"), QStringLiteral("Sets up a new search"));
    cmdBack = namedButton(central, QStringLiteral("cmdBack"), QStringLiteral("Back"),
                     displayed ? QStringLiteral("Goes back to the Main screen")
                               : QStringLiteral("Goes back to the File Selection screen"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdRefine);
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdBack);
    buttons->addStretch(1);

    auto *outer = new QVBoxLayout(central);
    outer->setSpacing(2);
    outer->addWidget(headings);
    outer->addWidget(lstResults, 1);
    outer->addSpacing(8);
    outer->addLayout(buttons);

    setTabOrder(lstResults, cmdRefine);
    setTabOrder(cmdRefine, cmdNew);
    setTabOrder(cmdNew, cmdBack);

    buildMenus();
    // Room for a screenful of results.
    resize(sizeHint().width(), 560);
    connect(cmdRefine, &QPushButton::clicked, this, &ResultsScreen::refine);
    connect(cmdNew, &QPushButton::clicked, this, &ResultsScreen::newSearch);
    connect(cmdBack, &QPushButton::clicked, this, &ResultsScreen::goBack);
    lstResults->setFocus();
}

void ResultsScreen::buildMenus()
{
    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileSaveAs = addNamedItem(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("&Save As"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileSeparatorBar1"));
    mnuFilePrint = addNamedItem(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileSeparatorBar2"));
    mnuFileClose = addFileClose(file, this, &ResultsScreen::goBack);
    connect(mnuFileSaveAs, &QAction::triggered, this, &ResultsScreen::saveAs);
    connect(mnuFilePrint, &QAction::triggered, this, &ResultsScreen::print);

    const HelpMenu help = addHelpMenu(menuBar(), m_flow, m_state,
                                      m_twin == Twin::Displayed ? QStringLiteral("Results") : QStringLiteral("SavedResults"));
    mnuHelpAbout = help.mnuHelpAbout;
    mnuHelpHelp = help.mnuHelpHelp;
}

void ResultsScreen::refine()
{
    m_state.blnRefine = true;
    newSearch();
}

void ResultsScreen::newSearch()
{
    m_flow.open(m_twin == Twin::Displayed ? Screen::DisplayedSearch : Screen::StoredSearch, this);
}

void ResultsScreen::goBack()
{
    // The stored twin goes back to the choice of file.
    m_flow.open(m_twin == Twin::Stored ? Screen::RecordsManagement : Screen::Main, this);
}

QString ResultsScreen::noFileNameMessage() { return QStringLiteral("Please select a file name"); }

void ResultsScreen::saveAs()
{
    const QString path = m_prompts.saveFileName(
        textFileDialog(recordsDirPath(m_state.dataDir), QStringLiteral("Search Results.txt")));
    if (path.isEmpty()) {
        m_prompts.inform(noFileNameMessage(), Prompts::Icon::Critical);
        return;
    }
    if (m_state.blnAutosave && isSameFile(path, m_state.strAutosaveFile)) {
        m_prompts.inform(autosaveFileRefusal(recordsFileName(m_state.dataDir, path)), Prompts::Icon::Warning);
        return;
    }
    QString reason;
    if (!results::writeResultsReport(path, m_state.criteria, lines(), m_state.clock.now(), &reason))
        m_prompts.inform(results::resultsWriteFailureMessage(path, reason), Prompts::Icon::Warning);
}

void ResultsScreen::print()
{
    // What is printed is taken now; nothing of the screen is used once
    // printing has begun.
    const results::ResultsOf of =
        m_twin == Twin::Displayed ? results::ResultsOf::DisplayedRecords : results::ResultsOf::StoredFile;
    const results::ResultLines shown = lines();
    GatetallyState &state = m_state;
    results::printListing(m_prompts, [of, shown, &state](QString *) {
        return results::resultsListing(of, state.strListTitle, state.criteria, shown, state.clock.now());
    });
}

} // namespace gt
