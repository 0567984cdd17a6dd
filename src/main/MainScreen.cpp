#include "MainScreen.h"

#include "AlarmMonitor.h"
#include "AlarmWidgets.h"
#include "AutostartChoice.h"
#include "NamedWidgets.h"
#include "ColumnHeadings.h"
#include "ElidedLabel.h"
#include "MainCommands.h"
#include "Menus.h"
#include "ListingPrinter.h"
#include "Navigator.h"
#include "Paths.h"
#include "RecordRowDelegate.h"
#include "State.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace gt {

MainScreen::MainScreen(GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_prompts(prompts), m_flow(flow), m_commands(new MainCommands(state, prompts, this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvel Gatetally- Main Screen"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &MainScreen::exitTimerTicked);

    auto *central = new QWidget(this);
    setCentralWidget(central);

    lblMainHeader = new ElidedLabel(central);
    lblMainHeader->setObjectName(QStringLiteral("lblMainHeader"));
    QFont headerFont = lblMainHeader->font();
    headerFont.setPointSizeF(headerFont.pointSizeF() * 1.4);
    headerFont.setBold(true);
    lblMainHeader->setFont(headerFont);
    lblMainHeader->setAlignment(Qt::AlignCenter);

    lstMain = new QListView(central);
    lstMain->setObjectName(QStringLiteral("lstMain"));
    lstMain->setFont(fixedPitchFont());
    lstMain->setModel(&m_state.strRecords);
    lstMain->setItemDelegate(new RecordRowDelegate(lstMain));
    lstMain->setUniformItemSizes(true);
    lstMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstMain->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const int listWidth = QFontMetrics(lstMain->font()).horizontalAdvance(QString(68, QLatin1Char('0'))) + 48;
    lstMain->setMinimumWidth(listWidth);
    lstMain->setMinimumHeight(320);

    DisplayHeadingNames names{QStringLiteral("lblDate"),     QStringLiteral("lblTime"),
                              QStringLiteral("lblEntryPoint"), QStringLiteral("lblValid"),
                              QStringLiteral("lblFacility"), QStringLiteral("lblCardOrKeyless"),
                              QStringLiteral("Facility  Code")};
    auto *headings = makeDisplayHeadings(lstMain, names, central);

    // Commands.
    auto *fraCommands = new QGroupBox(QStringLiteral("Commands"), central);
    fraCommands->setObjectName(QStringLiteral("fraCommands"));
    cmdExit = namedButton(fraCommands, QStringLiteral("cmdExit"), QStringLiteral("Exit"), QStringLiteral("Exits Gatetally"));
    cmdRecordsSearch = namedButton(fraCommands, QStringLiteral("cmdRecordsSearch"), QStringLiteral("Search"),
                              QStringLiteral("Searches the display data"));
    cmdClear = namedButton(fraCommands, QStringLiteral("cmdClear"), QStringLiteral("Clear"), QStringLiteral("Clears the display"));
    auto *cmdLayout = new QVBoxLayout(fraCommands);
    cmdLayout->addWidget(cmdExit);
    cmdLayout->addWidget(cmdRecordsSearch);
    cmdLayout->addWidget(cmdClear);

    // Selections.
    auto *fraAutoSave = new QGroupBox(QStringLiteral("Selections"), central);
    fraAutoSave->setObjectName(QStringLiteral("fraAutoSave"));
    chkNames = new QCheckBox(fraAutoSave);
    chkNames->setObjectName(QStringLiteral("chkNames"));
    chkNames->setToolTip(QStringLiteral("Uses Entry point names instead of numbers"));
    auto *lblEntrances = namedLabel(fraAutoSave, QStringLiteral("lblEntrances"), QStringLiteral("Use Entry Point Names"));
    lblEntrances->setBuddy(chkNames);
    optOn = new QRadioButton(QStringLiteral("On"), fraAutoSave);
    optOn->setObjectName(QStringLiteral("optOn"));
    optOn->setToolTip(QStringLiteral("Saves each record to disk"));
    optOff = new QRadioButton(QStringLiteral("Off"), fraAutoSave);
    optOff->setObjectName(QStringLiteral("optOff"));
    optOff->setToolTip(QStringLiteral("Does not save records to disk"));
    auto *lblAutoSave = namedLabel(fraAutoSave, QStringLiteral("lblAutoSave"), QStringLiteral("Auto Save"));
    auto *selLayout = new QGridLayout(fraAutoSave);
    selLayout->addWidget(chkNames, 0, 0);
    selLayout->addWidget(lblEntrances, 0, 1, 1, 2);
    selLayout->addWidget(lblAutoSave, 1, 0, 1, 3);
    selLayout->addWidget(optOn, 2, 1);
    selLayout->addWidget(optOff, 2, 2);

    // Record count.
    auto *lblRecords = namedLabel(central, QStringLiteral("lblRecords"), QStringLiteral("Record Count"));
    txtNumber = new QLineEdit(central);
    txtNumber->setObjectName(QStringLiteral("txtNumber"));
    txtNumber->setToolTip(QStringLiteral("Total number of displayed records"));
    txtNumber->setReadOnly(true);
    txtNumber->setAlignment(Qt::AlignRight);
    txtNumber->setMaximumWidth(90);
    auto *lblMax = namedLabel(central, QStringLiteral("lblMax"), QStringLiteral("(32,500 max)"));

    lblStatus = namedLabel(central, QStringLiteral("lblStatus"), QString());
    lblStatus->setWordWrap(true);
    lblStatus->hide();

    auto *side = new QVBoxLayout;
    side->addWidget(fraCommands);
    side->addWidget(fraAutoSave);
    side->addSpacing(12);
    side->addWidget(lblRecords);
    side->addWidget(txtNumber);
    side->addWidget(lblMax);
    side->addStretch(1);

    auto *listColumn = new QVBoxLayout;
    listColumn->setSpacing(2);
    buildAlarm(listColumn);
    listColumn->addWidget(headings);
    listColumn->addWidget(lstMain, 1);

    auto *body = new QHBoxLayout;
    body->addLayout(listColumn, 1);
    body->addLayout(side);

    auto *outer = new QVBoxLayout(central);
    outer->addWidget(lblMainHeader);
    outer->addWidget(lblStatus);
    outer->addLayout(body, 1);

    buildMenus();
    // Room for a screenful of records beside the commands.
    resize(qMax(sizeHint().width(), 960), 640);

    connect(chkNames, &QCheckBox::toggled, this, [this](bool checked) {
        m_state.setDisplayMode(checked ? DisplayMode::Name : DisplayMode::Number);
    });
    // Scrolling lays the whole list out again (O(rows)); doing it for every
    // record made a nearly full display fall behind a fast line, so it is
    // done once per pass of the event loop however many records arrived.
    auto *scrollToNewest = new QTimer(this);
    scrollToNewest->setSingleShot(true);
    scrollToNewest->setInterval(0);
    connect(scrollToNewest, &QTimer::timeout, lstMain, &QListView::scrollToBottom);
    connect(&m_state.strRecords, &QAbstractItemModel::rowsInserted, this, [this, scrollToNewest] {
        updateCount();
        scrollToNewest->start();
    });
    connect(&m_state.strRecords, &QAbstractItemModel::modelReset, this, &MainScreen::updateCount);
    // Clearing only the rows a command saved keeps the ones that came later.
    connect(&m_state.strRecords, &QAbstractItemModel::rowsRemoved, this, &MainScreen::updateCount);

    connectCommands();
    // The screen follows the shared state, whoever changes it.
    connect(&m_state.notices, &StateNotices::autosaveChanged, this, &MainScreen::showAutosaveState);
    connect(&m_state.notices, &StateNotices::recordsFileChanged, this, &MainScreen::updateHeader);

    load();
}

void MainScreen::buildMenus()
{
    auto sep = [](QMenu *menu, const QString &name) { menu->addSeparator()->setObjectName(name); };

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileOpen = addNamedItem(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open"));
    mnuFileSave = addNamedItem(file, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"));
    mnuFileSaveAs = addNamedItem(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("&Save As"));
    mnuFileSearch = addNamedItem(file, QStringLiteral("mnuFileSearch"), QStringLiteral("&Search"));
    mnuFileClear = addNamedItem(file, QStringLiteral("mnuFileClear"), QStringLiteral("&Clear"));
    mnuFileDelete = addNamedItem(file, QStringLiteral("mnuFileDelete"), QStringLiteral("&Delete"));
    sep(file, QStringLiteral("mnuFileSeparatorBar1"));
    mnuFilePrint = addNamedItem(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print"));
    sep(file, QStringLiteral("mnuFileSeparatorBar2"));
    mnuFileExit = addNamedItem(file, QStringLiteral("mnuFileExit"), QStringLiteral("&Exit"));

    QMenu *edit = addNamedMenu(menuBar(), QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    mnuEditDelete = addNamedItem(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("&Clear"));
    mnuEditSearch = addNamedItem(edit, QStringLiteral("mnuEditSearch"), QStringLiteral("&Search"));

    QMenu *setup = addNamedMenu(menuBar(), QStringLiteral("mnuSetup"), QStringLiteral("&Setup"));
    mnuSetupCommPort = addNamedItem(setup, QStringLiteral("mnuSetupCommPort"), QStringLiteral("&Comm Port"));
    mnuSetupEntrypoints = addNamedItem(setup, QStringLiteral("mnuSetupEntrypoints"), QStringLiteral("&Entry Points"));
    mnuSetupAlarms = addNamedItem(setup, QStringLiteral("mnuSetupAlarms"), QStringLiteral("&Alarms…"));
    mnuSetupAutostart = addNamedItem(setup, QStringLiteral("mnuSetupAutostart"), QStringLiteral("Start at &Login"));
    bindAutostartChoice(mnuSetupAutostart, setup, m_prompts, m_state.dataDir);

    QMenu *view = addNamedMenu(menuBar(), QStringLiteral("mnuView"), QStringLiteral("&View"));
    mnuViewActivity = addNamedItem(view, QStringLiteral("mnuViewActivity"), QStringLiteral("&Activity"));

    const HelpMenu help = addHelpMenu(menuBar(), m_flow, m_state, QStringLiteral("Main"));
    mnuHelpAbout = help.mnuHelpAbout;
    mnuHelpHelp = help.mnuHelpHelp;
}

void MainScreen::connectCommands()
{
    MainCommands *commands = m_commands;
    connect(optOn, &QRadioButton::clicked, commands, &MainCommands::turnAutosaveOn);
    connect(optOff, &QRadioButton::clicked, commands, &MainCommands::turnAutosaveOff);
    connect(mnuFileSave, &QAction::triggered, commands, &MainCommands::save);
    connect(mnuFileSaveAs, &QAction::triggered, commands, &MainCommands::saveAs);
    connect(cmdClear, &QPushButton::clicked, commands, &MainCommands::clear);
    connect(mnuEditDelete, &QAction::triggered, commands, &MainCommands::clear);
    connect(cmdExit, &QPushButton::clicked, commands, &MainCommands::exit);
    connect(mnuFileExit, &QAction::triggered, commands, &MainCommands::exit);
    connect(this, &MainScreen::closeRequested, commands, &MainCommands::exit);
    connect(commands, &MainCommands::exitConfirmed, Timer1, qOverload<>(&QTimer::start));

    // The four stored-file commands all lead to the one records management
    // screen, where the operator picks the file and the action.
    for (QAction *a : {mnuFileOpen, mnuFileSearch, mnuFileClear, mnuFileDelete})
        openOnTrigger(a, m_flow, Screen::RecordsManagement);
    openOnTrigger(mnuEditSearch, m_flow, Screen::DisplayedSearch);
    connect(cmdRecordsSearch, &QPushButton::clicked, this, [this] { m_flow.open(Screen::DisplayedSearch); });
    openOnTrigger(mnuSetupCommPort, m_flow, Screen::CommPort);
    openOnTrigger(mnuSetupEntrypoints, m_flow, Screen::Names);
    connect(mnuFilePrint, &QAction::triggered, this, &MainScreen::print);
    connect(mnuSetupAlarms, &QAction::triggered, this, &MainScreen::openAlarmSettings);
    openOnTrigger(mnuViewActivity, m_flow, Screen::Activity);
}

void MainScreen::buildAlarm(QBoxLayout *over)
{
    m_alarms = new alarm::AlarmMonitor(m_state, this);
    auto *banner = new alarm::AlarmBanner(*m_alarms, centralWidget());
    lblAlert = banner->lblAlert;
    cmdAlertAck = banner->cmdAlertAck;
    over->addWidget(banner);
    // Each alarm also leaves a line below the list, which stays after the
    // banner is acknowledged, until the next one. A label rather than a
    // status bar message, which the pointer passing over a menu would wipe.
    lblAlertLine = namedLabel(this, QStringLiteral("lblAlertLine"), QString());
    statusBar()->addWidget(lblAlertLine, 1);
    connect(m_alarms, &alarm::AlarmMonitor::raised, lblAlertLine, &QLabel::setText);
    connect(m_alarms, &alarm::AlarmMonitor::problem, lblAlertLine, &QLabel::setText);
    lblAlertLine->setText(m_alarms->settingsProblems().join(QLatin1Char(' ')));
}

void MainScreen::openAlarmSettings()
{
    if (auto *open = findChild<alarm::AlarmsDialog *>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *dialog = new alarm::AlarmsDialog(*m_alarms, m_prompts, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainScreen::print()
{
    GatetallyState &state = m_state;
    results::printListing(m_prompts, [&state](QString *) {
        return results::mainScreenListing(state.strListTitle, state.strRecords.displayLines(), state.clock.now());
    });
}

void MainScreen::load()
{
    chkNames->setChecked(m_state.strDisplayMode == DisplayMode::Name);
    m_state.blnRefine = false;
    m_commands->blnClearCheck = false;
    showAutosaveState();
    updateHeader();
    updateCount();
}

void MainScreen::updateHeader()
{
    lblMainHeader->setText(isDefaultRecordsFile(m_state.strAutosaveFile) ? QStringLiteral("Quorvel Gatetally")
                                                                          : m_state.strAutosaveFile);
}

void MainScreen::updateCount() { txtNumber->setText(QString::number(m_state.intRecordCount())); }

void MainScreen::showAutosaveState()
{
    QRadioButton *target = m_state.blnAutosave ? optOn : optOff;
    const QSignalBlocker blockOn(optOn);
    const QSignalBlocker blockOff(optOff);
    target->setChecked(true);
}

void MainScreen::setStatusText(const QString &text, bool warning)
{
    // A problem with the line must catch the eye; a plain notice need not.
    lblStatus->setStyleSheet(warning ? QStringLiteral("QLabel { color: #a00000; font-weight: bold; }")
                                     : QStringLiteral("QLabel { color: #1f3f7f; }"));
    lblStatus->setText(text);
    lblStatus->setVisible(!text.isEmpty());
}

void MainScreen::closeForExit()
{
    m_closing = true;
    close();
}

void MainScreen::closeEvent(QCloseEvent *event)
{
    // The close control asks the same question as Exit; the program ends only
    // through the exit timer.
    if (receivers(SIGNAL(closeRequested())) > 0 && !m_closing) {
        event->ignore();
        Q_EMIT closeRequested();
        return;
    }
    event->accept();
}

} // namespace gt
