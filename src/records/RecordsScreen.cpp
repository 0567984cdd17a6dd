#include "RecordsScreen.h"

#include "NamedWidgets.h"
#include "Menus.h"
#include "Prompts.h"
#include "State.h"
#include "StoredFiles.h"
#include "WriteFailure.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace gt {

RecordsScreen::RecordsScreen(GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_prompts(prompts), m_flow(flow)
{
    setObjectName(QStringLiteral("frmViewRecords"));
    setWindowTitle(QStringLiteral("Records Management"));
    auto *central = new QWidget(this);
    setCentralWidget(central);

    filRecords = new QListWidget(central);
    filRecords->setObjectName(QStringLiteral("filRecords"));
    filRecords->setToolTip(QStringLiteral("List of stored files"));
    filRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    filRecords->setMinimumSize(260, 240);

    auto *fraCommands = new QGroupBox(QStringLiteral("Commands"), central);
    fraCommands->setObjectName(QStringLiteral("fraCommands"));
    cmdOpen = namedButton(fraCommands, QStringLiteral("cmdOpen"), QStringLiteral("Open"), QStringLiteral("Opens the selected file"));
    cmdRecordsSearch = namedButton(fraCommands, QStringLiteral("cmdRecordsSearch"), QStringLiteral("Search"),
                              QStringLiteral("Searches the selected file"));
    cmdClear = namedButton(fraCommands, QStringLiteral("cmdClear"), QStringLiteral("Clear"),
                      QStringLiteral("Clears the contents of the selected file"));
    cmdDelete = namedButton(fraCommands, QStringLiteral("cmdDelete"), QStringLiteral("Delete"),
                       QStringLiteral("Deletes the selected file"));
    cmdBack = namedButton(fraCommands, QStringLiteral("cmdBack"), QStringLiteral("Back"),
                     QStringLiteral("Goes back to the Main screen"));
    auto *commands = new QVBoxLayout(fraCommands);
    for (QPushButton *b : {cmdOpen, cmdRecordsSearch, cmdClear, cmdDelete, cmdBack})
        commands->addWidget(b);
    // After Back, so the commands above keep their places and Tab order.
    cmdActivity = namedButton(fraCommands, QStringLiteral("cmdActivity"), QStringLiteral("Activity"),
                              QStringLiteral("Shows the activity of the selected file"));
    commands->addSpacing(12);
    commands->addWidget(cmdActivity);
    commands->addStretch(1);

    auto *outer = new QHBoxLayout(central);
    outer->addWidget(filRecords, 1);
    outer->addWidget(fraCommands);

    setTabOrder(filRecords, cmdOpen);
    setTabOrder(cmdOpen, cmdRecordsSearch);
    setTabOrder(cmdRecordsSearch, cmdClear);
    setTabOrder(cmdClear, cmdDelete);
    setTabOrder(cmdDelete, cmdBack);
    setTabOrder(cmdBack, cmdActivity);

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileClose = addFileClose(file, this, &QWidget::close);
    const HelpMenu help = addHelpMenu(menuBar(), flow, state, QStringLiteral("ViewRecords"));
    mnuHelpAbout = help.mnuHelpAbout;
    mnuHelpHelp = help.mnuHelpHelp;

    connect(cmdOpen, &QPushButton::clicked, this, &RecordsScreen::openFile);
    connect(cmdRecordsSearch, &QPushButton::clicked, this, &RecordsScreen::searchFile);
    connect(cmdClear, &QPushButton::clicked, this, &RecordsScreen::clearFile);
    connect(cmdDelete, &QPushButton::clicked, this, &RecordsScreen::deleteFile);
    connect(cmdActivity, &QPushButton::clicked, this, [this] { openSelected(Screen::StoredActivity); });
    // Back closes the screen; the main screen comes back once no screen of
    // the chain holds it aside any more.
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    load();
}

void RecordsScreen::load()
{
    const QStringList names = stored::listFiles(m_state.dataDir);
    filRecords->clear();
    filRecords->addItems(names);
    const QString autosave = stored::autosaveEntry(m_state, names);
    if (!autosave.isEmpty()) {
        QListWidgetItem *item = filRecords->item(int(names.indexOf(autosave)));
        filRecords->setCurrentItem(item);
        filRecords->scrollToItem(item);
    }
}

QString RecordsScreen::selectedFile() const
{
    const QList<QListWidgetItem *> items = filRecords->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

QString RecordsScreen::checkedFile()
{
    QStringList names;
    for (int i = 0; i < filRecords->count(); ++i)
        names.append(filRecords->item(i)->text());
    const QString name = selectedFile();
    const QString refusal = stored::checkCommand(names, name);
    if (!refusal.isEmpty()) {
        m_prompts.inform(refusal);
        return QString();
    }
    return name;
}

void RecordsScreen::tellAndReload(const QString &message)
{
    m_prompts.inform(message, Prompts::Icon::Warning);
    load();
}

void RecordsScreen::openFile() { openSelected(Screen::FileContents); }

void RecordsScreen::openSelected(Screen screen)
{
    const QString name = checkedFile();
    if (name.isEmpty())
        return;
    const QString path = stored::filePath(m_state.dataDir, name);
    QString reason;
    if (!stored::checkReadable(path, &reason))
        return tellAndReload(readFailureMessage(name, reason));
    m_state.strOpenFile = path;
    m_flow.open(screen);
}

void RecordsScreen::searchFile()
{
    const QString name = checkedFile();
    if (name.isEmpty())
        return;
    // The file is only read once the criteria are given; a file that cannot
    // be read is told now all the same, before any are typed.
    const QString path = stored::filePath(m_state.dataDir, name);
    QString reason;
    if (!stored::checkReadable(path, &reason))
        return tellAndReload(readFailureMessage(name, reason));
    m_state.strStoredRecords = path;
    m_flow.open(Screen::StoredSearch, this);
}

void RecordsScreen::clearFile()
{
    const QString name = checkedFile();
    if (name.isEmpty())
        return;
    const QString path = stored::filePath(m_state.dataDir, name);
    const qint64 asked = QFileInfo(path).size();
    if (!m_prompts.askYesNo(stored::clearQuestion()))
        return;
    QString reason;
    if (!stored::clearFile(path, asked, &reason))
        return tellAndReload(stored::clearFailureMessage(name, reason));
    m_prompts.inform(stored::clearedMessage());
}

void RecordsScreen::deleteFile()
{
    const QString name = checkedFile();
    if (name.isEmpty())
        return;
    const stored::DeleteCase which = stored::deleteCase(m_state, name);
    if (!m_prompts.askYesNo(stored::deleteQuestion(which, name)))
        return;
    QString reason;
    if (!stored::removeFile(stored::filePath(m_state.dataDir, name), &reason))
        return tellAndReload(stored::deleteFailureMessage(name, reason));
    if (which != stored::DeleteCase::Other
        && !stored::forgetAutosaveFile(m_state, which == stored::DeleteCase::AutosaveOn, &reason))
        m_prompts.inform(settingsWriteFailureMessage(m_state.dataDir, reason), Prompts::Icon::Warning);
    load();
}

} // namespace gt
