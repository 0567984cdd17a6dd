#include "SearchScreen.h"

#include "NamedWidgets.h"
#include "Menus.h"
#include "FieldRules.h"
#include "Paths.h"
#include "Prompts.h"
#include "RuleLineEdit.h"
#include "SearchResults.h"
#include "State.h"
#include "WriteFailure.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace gt {

using search::Field;
using search::Twin;

namespace {
QRadioButton *option(QWidget *parent, const QString &name, const QString &text)
{
    auto *o = new QRadioButton(text, parent);
    o->setObjectName(name);
    return o;
}
} // namespace

SearchScreen::SearchScreen(Twin twin, GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent)
    : QMainWindow(parent), m_twin(twin), m_state(state), m_prompts(prompts), m_flow(flow)
{
    const bool displayed = twin == Twin::Displayed;
    setObjectName(displayed ? QStringLiteral("frmRecordsSearch") : QStringLiteral("frmSavedSearch"));
    setWindowTitle(displayed ? QStringLiteral("Displayed Record Search") : QStringLiteral("Stored Record Search"));

    auto *central = new QWidget(this);
    setCentralWidget(central);

    QGroupBox *fromFrame = makeRow(central, true);
    QGroupBox *toFrame = makeRow(central, false);

    auto *fraDetails = new QGroupBox(QStringLiteral("Details"), central);
    fraDetails->setObjectName(QStringLiteral("fraDetails"));
    txtFacility = makeField(fraDetails, Field::Facility, QStringLiteral("txtFacility"));
    cboStatus = new QComboBox(fraDetails);
    cboStatus->setObjectName(QStringLiteral("cboStatus"));
    cboStatus->setEditable(true);
    cboStatus->setInsertPolicy(QComboBox::NoInsert);
    // The criterion is the text exactly as typed, so nothing is completed.
    cboStatus->setCompleter(nullptr);
    cboStatus->setToolTip(search::fieldTooltip(Field::Status, twin));
    txtCardKeyless = makeField(fraDetails, Field::CardKeyless, QStringLiteral("txtCardKeyless"));
    txtEntryPoint = makeField(fraDetails, Field::EntryPoint, QStringLiteral("txtEntryPoint"));
    auto *details = new QGridLayout(fraDetails);
    details->addWidget(namedLabel(fraDetails, QStringLiteral("lblFacility"), QStringLiteral("Facility Code")), 0, 0);
    details->addWidget(namedLabel(fraDetails, QStringLiteral("lblStatus"), QStringLiteral("Status")), 0, 1);
    details->addWidget(txtFacility, 1, 0);
    details->addWidget(cboStatus, 1, 1);
    details->addWidget(namedLabel(fraDetails, QStringLiteral("lblCardKeyless"), QStringLiteral("Card/Keyless Number")), 2, 0);
    details->addWidget(namedLabel(fraDetails, QStringLiteral("lblEntryPoint"), QStringLiteral("Entry Point")), 2, 1);
    details->addWidget(txtCardKeyless, 3, 0);
    details->addWidget(txtEntryPoint, 3, 1);
    details->setColumnStretch(2, 1);

    cmdSearch = new QPushButton(QStringLiteral("Search"), central);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch->setToolTip(displayed ? QStringLiteral("Starts search of displayed records")
                                    : QStringLiteral("Starts search of stored records"));
    cmdBack = new QPushButton(QStringLiteral("Back"), central);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setToolTip(displayed ? QStringLiteral("Goes back to the Main screen")
                                  : QStringLiteral("Goes back to the File Selection screen"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSearch);
    buttons->addWidget(cmdBack);

    auto *outer = new QVBoxLayout(central);
    outer->addWidget(fromFrame);
    outer->addWidget(toFrame);
    outer->addWidget(fraDetails);
    outer->addLayout(buttons);

    const QList<QWidget *> order{txtFromMonth, txtFromDay, txtFromYear,    txtFromHour,   txtFromMin,
                                 txtToMonth,   txtToDay,   txtToYear,      txtToHour,     txtToMin,
                                 txtFacility,  cboStatus,  txtCardKeyless, txtEntryPoint, cmdSearch,
                                 cmdBack};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    buildMenus();

    // Shortly after the screen opens the focus goes to the From hour, where
    // most searches start; until then it is in the first field.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, [this] { txtFromHour->setFocus(); });

    connect(cmdSearch, &QPushButton::clicked, this, &SearchScreen::search);
    connect(cmdBack, &QPushButton::clicked, this, &SearchScreen::goBack);

    open();
    txtFromMonth->setFocus();
    Timer1->start();
}

SearchScreen::~SearchScreen()
{
    // Closed in the middle of a search: the search stops with its child
    // FileSearch, and the busy cursor goes with the screen.
    if (m_searching)
        QApplication::restoreOverrideCursor();
}

RuleLineEdit *SearchScreen::makeField(QWidget *parent, Field field, const QString &name)
{
    auto *edit = new RuleLineEdit(search::fieldRule(field, m_twin), m_prompts, parent);
    edit->setObjectName(name);
    edit->setToolTip(search::fieldTooltip(field, m_twin));
    // Boxes as wide as what they hold, with room for a digit more, so that a
    // text the change rule is about to empty still shows.
    const int digits = field == Field::CardKeyless ? 7
        : field == Field::FromYear || field == Field::ToYear || field == Field::Facility ? 5
                                                                                           : 3;
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString(digits + 1, QLatin1Char('0'))) + 12);
    return edit;
}

QGroupBox *SearchScreen::makeRow(QWidget *parent, bool from)
{
    const QString row = from ? QStringLiteral("From") : QStringLiteral("To");
    auto *frame = new QGroupBox(row, parent);
    if (from)
        frame->setObjectName(m_twin == Twin::Displayed ? QStringLiteral("fraFromOut") : QStringLiteral("fraFromOuter"));
    else
        frame->setObjectName(QStringLiteral("fraToOuter"));

    const Field fields[] = {from ? Field::FromMonth : Field::ToMonth, from ? Field::FromDay : Field::ToDay,
                            from ? Field::FromYear : Field::ToYear, from ? Field::FromHour : Field::ToHour,
                            from ? Field::FromMin : Field::ToMin};
    const QString parts[] = {QStringLiteral("Month"), QStringLiteral("Day"), QStringLiteral("Year"),
                             QStringLiteral("Hour"), QStringLiteral("Min")};
    auto *grid = new QGridLayout(frame);
    RuleLineEdit *edits[5];
    for (int i = 0; i < 5; ++i) {
        edits[i] = makeField(frame, fields[i], QStringLiteral("txt") + row + parts[i]);
        grid->addWidget(namedLabel(frame, QStringLiteral("lbl") + row + parts[i], parts[i]), 0, i);
        grid->addWidget(edits[i], 1, i);
    }
    QRadioButton *am = option(frame, QStringLiteral("opt") + row + QStringLiteral("AM"), QStringLiteral("AM"));
    QRadioButton *pm = option(frame, QStringLiteral("opt") + row + QStringLiteral("PM"), QStringLiteral("PM"));
    grid->addWidget(am, 1, 5);
    grid->addWidget(pm, 1, 6);
    grid->setColumnStretch(7, 1);
    if (from) {
        txtFromMonth = edits[0], txtFromDay = edits[1], txtFromYear = edits[2], txtFromHour = edits[3],
        txtFromMin = edits[4];
        optFromAM = am, optFromPM = pm;
    } else {
        txtToMonth = edits[0], txtToDay = edits[1], txtToYear = edits[2], txtToHour = edits[3], txtToMin = edits[4];
        optToAM = am, optToPM = pm;
    }
    return frame;
}

void SearchScreen::buildMenus()
{
    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileClose = addFileClose(file, this, &SearchScreen::goBack);

    QMenu *view = addNamedMenu(menuBar(), QStringLiteral("mnuView"), QStringLiteral("&View"));
    mnuViewEntrypoints = addNamedItem(view, QStringLiteral("mnuViewEntrypoints"), QStringLiteral("&Entry Points"));
    openOnTrigger(mnuViewEntrypoints, m_flow, Screen::Names);

    const HelpMenu help = addHelpMenu(menuBar(), m_flow, m_state,
                                      m_twin == Twin::Displayed ? QStringLiteral("Search") : QStringLiteral("SavedSearch"));
    mnuHelpAbout = help.mnuHelpAbout;
    mnuHelpHelp = help.mnuHelpHelp;
}

void SearchScreen::open()
{
    cboStatus->addItems({QStringLiteral("VALID"), QStringLiteral("NOT VALID"), QStringLiteral("OFF")});
    if (m_state.blnRefine) {
        showEntries(search::restoredEntries(m_state.criteria));
        m_state.blnRefine = false;
    } else {
        showEntries(search::freshEntries(m_twin, m_state.clock.now().date()));
        search::forgetCriteria(m_state.criteria);
    }
}

QLineEdit *SearchScreen::field(Field f) const
{
    switch (f) {
    case Field::FromMonth: return txtFromMonth;
    case Field::FromDay: return txtFromDay;
    case Field::FromYear: return txtFromYear;
    case Field::FromHour: return txtFromHour;
    case Field::FromMin: return txtFromMin;
    case Field::ToMonth: return txtToMonth;
    case Field::ToDay: return txtToDay;
    case Field::ToYear: return txtToYear;
    case Field::ToHour: return txtToHour;
    case Field::ToMin: return txtToMin;
    case Field::Facility: return txtFacility;
    case Field::Status: return cboStatus->lineEdit();
    case Field::CardKeyless: return txtCardKeyless;
    case Field::EntryPoint: return txtEntryPoint;
    case Field::None: break;
    }
    return nullptr;
}

search::Entries SearchScreen::entries() const
{
    search::Entries e;
    for (Field f : search::textFields())
        e.text(f) = field(f)->text();
    e.fromAM = optFromAM->isChecked();
    e.toAM = optToAM->isChecked();
    return e;
}

void SearchScreen::showEntries(const search::Entries &e)
{
    // Only changed texts are set, so that a field's change rule runs for
    // exactly the changes the search made.
    for (Field f : search::textFields()) {
        if (f == Field::Status) {
            if (cboStatus->currentText() != e.status) {
                cboStatus->setCurrentIndex(-1);
                cboStatus->setEditText(e.status);
            }
        } else if (field(f)->text() != e.text(f)) {
            field(f)->setText(e.text(f));
        }
    }
    (e.fromAM ? optFromAM : optFromPM)->setChecked(true);
    (e.toAM ? optToAM : optToPM)->setChecked(true);
}

void SearchScreen::search()
{
    if (m_searching)
        return;
    if (m_twin == Twin::Stored) {
        const search::Outcome out = search::checkSearch(m_twin, entries(), m_state.criteria);
        showEntries(out.entries);
        if (out.resultsReplaced)
            searchStoredFile(out);
        else
            conclude(out, nullptr);
        return;
    }
    const search::Outcome out = search::runSearch(m_twin, entries(), m_state.criteria, m_state.strRecords.recordLines());
    showEntries(out.entries);
    const SearchResults found(out.results);
    conclude(out, out.resultsReplaced ? &found : nullptr);
}

void SearchScreen::conclude(const search::Outcome &out, const SearchResults *found)
{
    m_state.criteria = out.criteria;
    if (found)
        m_state.strResults = *found;
    if (!out.succeeded()) {
        m_prompts.inform(out.message);
        if (QLineEdit *target = field(out.focus))
            target->setFocus();
        return;
    }
    m_flow.open(m_twin == Twin::Displayed ? Screen::DisplayedResults : Screen::StoredResults, this);
}

void SearchScreen::setBusy(bool busy)
{
    m_searching = busy;
    centralWidget()->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void SearchScreen::searchStoredFile(const search::Outcome &out)
{
    const QString path = m_state.strStoredRecords;
    const QString name = recordsFileName(m_state.dataDir, path);
    if (!m_fileSearch) {
        m_fileSearch = new search::FileSearch(this);
        connect(m_fileSearch, &search::FileSearch::progress, this, [this](qint64 done, qint64 total) {
            if (m_progress && m_searching)
                m_progress->setValue(total > 0 ? int(done * 1000 / total) : 0);
        });
    }
    disconnect(m_fileSearch, &search::FileSearch::finished, this, nullptr);
    connect(m_fileSearch, &search::FileSearch::finished, this,
            [this, out, name](const SearchResults &found, const QString &error) {
                if (!m_searching)
                    return; // cancelled meanwhile
                delete m_progress;
                setBusy(false);
                if (!error.isEmpty()) {
                    m_prompts.inform(readFailureMessage(name, error), Prompts::Icon::Warning);
                    return;
                }
                conclude(out, &found);
            });
    setBusy(true);
    // Shown only when the search takes longer than half a second.
    m_progress = new QProgressDialog(QStringLiteral("Searching %1 ...").arg(name), QStringLiteral("Cancel"), 0, 1000, this);
    m_progress->setObjectName(QStringLiteral("dlgProgress"));
    m_progress->setWindowTitle(QStringLiteral("Gatetally"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(500);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setValue(0);
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_fileSearch->cancel();
        m_progress->deleteLater();
        m_progress = nullptr;
        setBusy(false);
    });
    m_fileSearch->start(path, out.matcher);
}

void SearchScreen::goBack()
{
    if (m_twin == Twin::Stored)
        m_flow.open(Screen::RecordsManagement, this);
    else
        close();
}

} // namespace gt
