#include "GatetallyApp.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "RuleLineEdit.h"
#include "ScriptedPrompts.h"
#include "SearchScreen.h"
#include "SearchTestData.h"
#include "State.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace gt;
using gt::search::Twin;
using gt::test::ScriptedPrompts;
using gt::test::recordAt;

Q_DECLARE_METATYPE(gt::search::Twin)

namespace {

const QDateTime kNow(QDate(2006, 3, 7), QTime(14, 5, 9));
const QString kDigit = QStringLiteral("This entry must be a number from 0 through 9");

struct Fixture
{
    QTemporaryDir dir;
    GatetallyState state{dir.path()};
    ScriptedPrompts prompts;

    Fixture() { state.clock.setFixed(kNow); }

    SearchScreen *open(Twin twin)
    {
        auto *s = new SearchScreen(twin, state, prompts);
        s->setAttribute(Qt::WA_DeleteOnClose);
        return s;
    }
    // Shown and active, for tests of where the focus goes; null if the
    // window never became active.
    SearchScreen *openShown(Twin twin)
    {
        SearchScreen *s = open(twin);
        s->show();
        if (QTest::qWaitForWindowActive(s))
            return s;
        delete s;
        return nullptr;
    }
    void display(const QStringList &records)
    {
        for (const QString &r : records)
            state.strRecords.append(r, MakeDisplayLine(r, kNumberMode, state.strEntryNames));
    }
};

QLineEdit *edit(SearchScreen *s, const QString &name)
{
    if (name == QLatin1String("cboStatus"))
        return s->cboStatus->lineEdit();
    return s->findChild<QLineEdit *>(name);
}

// Types `keys` into a field as key presses; "\b" is the backspace key.
void type(QWidget *w, const QString &keys)
{
    for (QChar k : keys) {
        if (k == QLatin1Char('\b'))
            QTest::keyClick(w, Qt::Key_Backspace);
        else
            QTest::keyClicks(w, QString(k));
    }
}

QStringList fieldTexts(SearchScreen *s)
{
    QStringList out;
    for (search::Field f : search::textFields())
        out << s->field(f)->text();
    out << (s->optFromAM->isChecked() ? "AM" : "PM") << (s->optToAM->isChecked() ? "AM" : "PM");
    return out;
}

} // namespace

class TestSearchScreens : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typing_data();
    void typing();
    void refusalKeepsFocus();
    void paste_data();
    void paste();
    void controls_data();
    void controls();
    void tabOrderAndFocusTimer();
    void freshOpening_data();
    void freshOpening();
    void refineOpening_data();
    void refineOpening();
    void stoppedSearch();
    void searchedLines_data();
    void searchedLines();
    void backAndClose_data();
    void backAndClose();
    void mainScreenOpensSearch();
};

// Keys typed into the fields, one field of each kind, on the screen whose
// rules apply: the text left and the messages shown, in order. The rule
// tables themselves are checked without widgets.
void TestSearchScreens::typing_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys"); // "\b" is the backspace key
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");

    const QString to12 = QStringLiteral("This entry must be from 1 through 12");
    const QString two = QStringLiteral("This entry cannot be more than two digits");
    const Twin D = Twin::Displayed, S = Twin::Stored;
    QTest::newRow("hour 1 3") << D << "txtFromHour" << "13" << "" << QStringList{to12};
    QTest::newRow("hour 1 2") << S << "txtToHour" << "12" << "12" << QStringList{};
    QTest::newRow("hour 0 0") << D << "txtToHour" << "00" << "" << QStringList{to12};
    QTest::newRow("hour 0") << S << "txtFromHour" << "0" << "0" << QStringList{};
    QTest::newRow("letter, backspace") << D << "txtFromHour" << "1x\b\b9" << "9" << QStringList{kDigit};
    QTest::newRow("typing on after emptying") << S << "txtToHour" << "131" << "1" << QStringList{to12};
    QTest::newRow("month third digit") << D << "txtFromMonth" << "011" << "" << QStringList{two};
    QTest::newRow("day 0 0") << S << "txtToDay" << "00" << "" << QStringList{"This entry must be from 1 through 31"};
    QTest::newRow("minute 0 0") << D << "txtToMin" << "00" << "00" << QStringList{};
    QTest::newRow("minute 6 0") << S << "txtFromMin" << "60" << "" << QStringList{"This entry must be from 00 through 59"};
    QTest::newRow("year any length") << D << "txtToYear" << "200612" << "200612" << QStringList{};
    QTest::newRow("entry second digit") << S << "txtEntryPoint" << "71" << ""
                                        << QStringList{"This entry cannot be more than one digit"};
    QTest::newRow("entry 0") << D << "txtEntryPoint" << "0" << ""
                             << QStringList{"0 cannot be assigned as an entry point number"};
    QTest::newRow("entry letter") << S << "txtEntryPoint" << "x" << ""
                                  << QStringList{"This entry must be a number from 1 through 9"};
    QTest::newRow("card seventh digit") << D << "txtCardKeyless" << "0123456" << ""
                                        << QStringList{"This entry cannot be more than six digits"};
    QTest::newRow("status any text") << S << "cboStatus" << "valid 1" << "valid 1" << QStringList{};
    QTest::newRow("displayed facility letters") << D << "txtFacility" << "A1b" << "A1b" << QStringList{};
    QTest::newRow("displayed facility fourth")
        << D << "txtFacility" << "A1b2" << "" << QStringList{"This entry cannot be more than three characters"};
    QTest::newRow("stored facility letter") << S << "txtFacility" << "1a" << "1" << QStringList{kDigit};
    QTest::newRow("stored facility fourth") << S << "txtFacility" << "1234" << ""
                                            << QStringList{"This entry cannot be more than three digits"};
}

void TestSearchScreens::typing()
{
    QFETCH(Twin, twin);
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);

    Fixture f;
    QPointer<SearchScreen> s = f.open(twin);
    QLineEdit *w = edit(s, field);
    QVERIFY(w);
    w->clear();
    w->setFocus();
    type(w, keys);
    QCOMPARE(w->text(), text);
    QCOMPARE(f.prompts.texts(), messages);
    for (const auto &shown : std::as_const(f.prompts.shown)) {
        QCOMPARE(shown.title, QStringLiteral("Gatetally"));
        QCOMPARE(shown.icon, Prompts::Icon::None);
        QCOMPARE(shown.buttons, Prompts::Buttons(Prompts::Ok));
    }
    delete s;
}

void TestSearchScreens::refusalKeepsFocus()
{
    Fixture f;
    SearchScreen *s = f.openShown(Twin::Displayed);
    QVERIFY(s);
    s->Timer1->stop();
    s->txtToDay->clear();
    s->txtToDay->setFocus();
    type(s->txtToDay, QStringLiteral("4x"));
    QCOMPARE(QApplication::focusWidget(), s->txtToDay);
    type(s->txtToDay, QStringLiteral("0"));
    QCOMPARE(s->txtToDay->text(), QString());
    QCOMPARE(QApplication::focusWidget(), s->txtToDay);
    QCOMPARE(f.prompts.texts(), (QStringList{kDigit, "This entry must be from 1 through 31"}));
    s->close();
}

// Pasted text goes by the same rules as typed keys.
void TestSearchScreens::paste_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("letters into an hour") << Twin::Displayed << "txtFromHour" << "1" << "2a" << "1" << QStringList{kDigit};
    QTest::newRow("digits into a card") << Twin::Stored << "txtCardKeyless" << "12" << "345" << "12345"
                                        << QStringList{};
    QTest::newRow("too many digits") << Twin::Displayed << "txtFromDay" << "" << "123" << ""
                                     << QStringList{"This entry cannot be more than two digits"};
    QTest::newRow("letters into a displayed facility") << Twin::Displayed << "txtFacility" << "" << "AB" << "AB"
                                                       << QStringList{};
}

void TestSearchScreens::paste()
{
    QFETCH(Twin, twin);
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, clipboard);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);

    Fixture f;
    QPointer<SearchScreen> s = f.open(twin);
    QLineEdit *w = edit(s, field);
    w->setText(before);
    QApplication::clipboard()->setText(clipboard);
    if (QApplication::clipboard()->text() != clipboard)
        QSKIP("no clipboard on this platform");
    w->end(false);
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->text(), text);
    QCOMPARE(f.prompts.texts(), messages);
    delete s;
}

// Every control by name with its caption and tooltip, on both screens.
void TestSearchScreens::controls_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QStringList>("expected"); // name|caption|tooltip

    const QStringList common{
        "fraToOuter|To|", "fraDetails|Details|", "txtFromMonth||1 to 12", "txtFromDay||1 to 31",
        "txtFromYear||4 digit year", "txtFromHour||1 to 12", "txtFromMin||0 to 59", "txtToMonth||1 to 12",
        "txtToDay||1 to 31", "txtToYear||4 digit year", "txtToHour||1 to 12", "txtToMin||0 to 59",
        "lblFromMonth|Month|", "lblFromDay|Day|", "lblFromYear|Year|", "lblFromHour|Hour|", "lblFromMin|Min|",
        "lblToMonth|Month|", "lblToDay|Day|", "lblToYear|Year|", "lblToHour|Hour|", "lblToMin|Min|",
        "optFromAM|AM|", "optFromPM|PM|", "optToAM|AM|", "optToPM|PM|", "txtFacility||3 digit number",
        "lblFacility|Facility Code|", "cboStatus||Type of entrance record", "lblStatus|Status|",
        "lblCardKeyless|Card/Keyless Number|", "txtEntryPoint||1 to 100", "lblEntryPoint|Entry Point|",
        "cmdSearch|Search|", "cmdBack|Back|", "mnuFile|&File|", "mnuFileClose|&Close|", "mnuView|&View|",
        "mnuViewEntrypoints|&Entry Points|", "mnuHelp|&Help|", "mnuHelpAbout|&About|", "mnuHelpHelp|&Help|"};
    QStringList d = common, s = common;
    d << "frmRecordsSearch|Displayed Record Search|" << "fraFromOut|From|" << "txtCardKeyless||5 digit number"
      << "cmdSearch||Starts search of displayed records" << "cmdBack||Goes back to the Main screen";
    s << "frmSavedSearch|Stored Record Search|" << "fraFromOuter|From|" << "txtCardKeyless||5 digit code"
      << "cmdSearch||Starts search of stored records" << "cmdBack||Goes back to the File Selection screen";
    QTest::newRow("displayed") << Twin::Displayed << d;
    QTest::newRow("stored") << Twin::Stored << s;
}

void TestSearchScreens::controls()
{
    QFETCH(Twin, twin);
    QFETCH(QStringList, expected);
    Fixture f;
    QPointer<SearchScreen> s = f.open(twin);
    for (const QString &e : expected) {
        const QString name = e.section('|', 0, 0), caption = e.section('|', 1, 1), tip = e.section('|', 2, 2);
        QObject *o = name == s->objectName() ? s.data() : s->findChild<QObject *>(name);
        QVERIFY2(o, qPrintable(name));
        QString shown;
        if (auto *w = qobject_cast<QMainWindow *>(o))
            shown = w->windowTitle();
        else if (auto *g = qobject_cast<QGroupBox *>(o))
            shown = g->title();
        else if (auto *l = qobject_cast<QLabel *>(o))
            shown = l->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(o))
            shown = b->text();
        else if (auto *m = qobject_cast<QMenu *>(o))
            shown = m->title();
        else if (auto *a = qobject_cast<QAction *>(o))
            shown = a->text();
        if (!caption.isEmpty())
            QCOMPARE(shown, caption);
        if (!tip.isEmpty())
            QCOMPARE(qobject_cast<QWidget *>(o)->toolTip(), tip);
    }
    // The names editor, About box and help viewer are not there yet.
    QVERIFY(s->action("mnuFileClose")->isEnabled());
    QVERIFY(!s->action("mnuViewEntrypoints")->isEnabled());
    QVERIFY(!s->action("mnuHelpAbout")->isEnabled());
    QVERIFY(!s->action("mnuHelpHelp")->isEnabled());
    QCOMPARE(s->Timer1->objectName(), QStringLiteral("Timer1"));
    QCOMPARE(s->Timer1->interval(), 200);
    QVERIFY(s->Timer1->isSingleShot());
    delete s;
}

void TestSearchScreens::tabOrderAndFocusTimer()
{
    Fixture f;
    SearchScreen *s = f.openShown(Twin::Displayed);
    QVERIFY(s);
    QCOMPARE(QApplication::focusWidget(), s->txtFromMonth);
    QTRY_COMPARE(QApplication::focusWidget(), s->txtFromHour);
    QVERIFY(!s->Timer1->isActive());

    s->txtFromMonth->setFocus();
    QStringList order{s->txtFromMonth->objectName()};
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *w = QApplication::focusWidget();
        if (w == s->cboStatus->lineEdit())
            w = s->cboStatus;
        order << w->objectName();
    }
    QCOMPARE(order, (QStringList{"txtFromMonth", "txtFromDay", "txtFromYear", "txtFromHour", "txtFromMin",
                                 "txtToMonth", "txtToDay", "txtToYear", "txtToHour", "txtToMin", "txtFacility",
                                 "cboStatus", "txtCardKeyless", "txtEntryPoint", "cmdSearch", "cmdBack"}));
    QVERIFY(f.prompts.shown.isEmpty());
    s->close();
}

void TestSearchScreens::freshOpening_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("displayed") << Twin::Displayed
                               << QStringList{"3", "7", "2006", "", "", "3", "7", "2006", "", "", "", "", "", "", "AM", "AM"};
    QTest::newRow("stored") << Twin::Stored
                            << QStringList{"", "", "2006", "", "", "", "", "2006", "", "", "", "", "", "", "AM", "AM"};
}

void TestSearchScreens::freshOpening()
{
    QFETCH(Twin, twin);
    QFETCH(QStringList, texts);
    Fixture f;
    SearchCriteria &c = f.state.criteria;
    c.strCritEntryPoint = c.strCritStatus = c.strCritFacility = c.strCritCardKeyless = QStringLiteral("old");
    c.strFromTime = c.strToTime = QStringLiteral("1:00:00 PM");
    c.strFromAMPM = c.strToAMPM = QStringLiteral("PM");
    c.strFromDate = QStringLiteral("1/2/2005");
    c.strToDate = QStringLiteral("1/3/2005");

    QPointer<SearchScreen> s = f.open(twin);
    QCOMPARE(fieldTexts(s), texts);
    QCOMPARE(s->cboStatus->count(), 3);
    QCOMPARE((QStringList{s->cboStatus->itemText(0), s->cboStatus->itemText(1), s->cboStatus->itemText(2)}),
             (QStringList{"VALID", "NOT VALID", "OFF"}));
    const QStringList forgotten{c.strCritEntryPoint, c.strCritStatus, c.strCritFacility, c.strCritCardKeyless,
                                c.strFromTime,       c.strToTime,     c.strFromAMPM,     c.strToAMPM};
    QCOMPARE(forgotten, QStringList(8));
    QCOMPARE(c.strFromDate, QStringLiteral("1/2/2005"));
    QCOMPARE(c.strToDate, QStringLiteral("1/3/2005"));
    QVERIFY(f.prompts.shown.isEmpty());
    delete s;
}

void TestSearchScreens::refineOpening_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QStringList>("criteria"); // from time, to time, AM/PM x2, dates x2, entry, status, facility, card
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("timed, facility")
        << Twin::Displayed
        << QStringList{"9:05:00 AM", "10:30:00 PM", "AM", "PM", "3/7/2006", "3/12/2006", "", "", "123", ""}
        << QStringList{"3", "7", "2006", "9", "05", "3", "12", "2006", "10", "30", "123", "", "", "", "AM", "PM"};
    QTest::newRow("no times")
        << Twin::Displayed
        << QStringList{"PM 12/7/2006", "AM 12/17/2006", "PM", "AM", "12/7/2006", "12/17/2006", "4", "NOT VALID", "", "77"}
        << QStringList{"12", "7", "2006", "", "", "12", "17", "2006", "", "", "", "NOT VALID", "77", "4", "PM", "AM"};
    QTest::newRow("stored, From row empty")
        << Twin::Stored << QStringList{"AM //2006", "PM //2007", "AM", "PM", "//2006", "//2007", "", "OFF", "", ""}
        << QStringList{"", "", "2006", "", "", "", "", "2007", "", "", "", "OFF", "", "", "AM", "PM"};
    QTest::newRow("leading zeros")
        << Twin::Stored
        << QStringList{"09:00:00 AM", "11:59:00 PM", "AM", "PM", "03/07/2006", "03/08/2006", "", "", "", ""}
        << QStringList{"03", "07", "2006", "09", "00", "03", "08", "2006", "11", "59", "", "", "", "", "AM", "PM"};
}

void TestSearchScreens::refineOpening()
{
    QFETCH(Twin, twin);
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, texts);
    Fixture f;
    SearchCriteria &c = f.state.criteria;
    c.strFromTime = criteria.at(0);
    c.strToTime = criteria.at(1);
    c.strFromAMPM = criteria.at(2);
    c.strToAMPM = criteria.at(3);
    c.strFromDate = criteria.at(4);
    c.strToDate = criteria.at(5);
    c.strCritEntryPoint = criteria.at(6);
    c.strCritStatus = criteria.at(7);
    c.strCritFacility = criteria.at(8);
    c.strCritCardKeyless = criteria.at(9);
    f.state.blnRefine = true;

    QPointer<SearchScreen> s = f.open(twin);
    QCOMPARE(fieldTexts(s), texts);
    QVERIFY(!f.state.blnRefine);
    QCOMPARE(f.state.criteria.strCritStatus, criteria.at(7));
    QVERIFY(f.prompts.shown.isEmpty());
    delete s;
}

void TestSearchScreens::stoppedSearch()
{
    Fixture f;
    f.display({recordAt("3/7/2006 9:00:00 AM", "1 V 123 000001")});
    f.state.strResults = QStringList{QStringLiteral("earlier results")};
    SearchScreen *s = f.openShown(Twin::Displayed);
    QVERIFY(s);
    QSignalSpy succeeded(s, &SearchScreen::searchSucceeded);

    // The hour gets its minutes on the screen even though a later check stops.
    s->txtFromMonth->clear();
    type(s->txtFromHour, QStringLiteral("9"));
    type(s->txtToMin, QStringLiteral("5"));
    type(s->txtToHour, QStringLiteral("1"));
    s->optToPM->setChecked(true);
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QCOMPARE(f.prompts.texts(), QStringList{"Please enter the starting month for this search"});
    QCOMPARE(s->txtFromMin->text(), QStringLiteral("00"));
    QCOMPARE(s->txtToMin->text(), QStringLiteral("05"));
    QCOMPARE(QApplication::focusWidget(), s->txtFromMonth);
    QCOMPARE(f.state.strResults, QStringList{"earlier results"});
    QVERIFY(s->isVisible());

    // A facility code of two is emptied, with its focus.
    f.prompts.reset();
    type(s->txtFromMonth, QStringLiteral("3"));
    type(s->txtFacility, QStringLiteral("12"));
    type(s->txtCardKeyless, QStringLiteral("1"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QCOMPARE(f.prompts.texts(), QStringList{"Please enter three digits for the facility code"});
    QCOMPARE(s->txtFacility->text(), QString());
    QCOMPARE(QApplication::focusWidget(), s->txtFacility);
    QCOMPARE(f.state.criteria.strCritFacility, QStringLiteral("12"));
    QCOMPARE(f.state.criteria.strCritCardKeyless, QStringLiteral("1"));

    // From after To, with no message from the fields' own rules on the way.
    f.prompts.reset();
    s->txtToHour->setText(QStringLiteral("9"));
    s->txtToMin->setText(QString());
    s->optToAM->setChecked(true);
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QCOMPARE(f.prompts.texts(), QStringList{search::msg::fromBeforeTo()});
    QCOMPARE(QApplication::focusWidget(), s->txtFromHour);
    QCOMPARE(f.state.criteria.strFromTime, QStringLiteral("9:00:00 AM"));
    QCOMPARE(succeeded.count(), 0);
    QVERIFY(s->isVisible());
    s->close();
}

// Each twin searches its own lines: the displayed twin exactly the rows on
// the display now, the stored twin the lines loaded from the chosen file.
void TestSearchScreens::searchedLines_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QList<int>>("found"); // 0, 1: cleared from the display; 2: on it; 3, 4: stored
    QTest::addColumn<QString>("fromTime");
    QTest::newRow("displayed") << Twin::Displayed << QList<int>{2} << "AM 3/7/2006";
    QTest::newRow("stored") << Twin::Stored << QList<int>{3, 4} << "AM //2006";
}

void TestSearchScreens::searchedLines()
{
    QFETCH(Twin, twin);
    QFETCH(QList<int>, found);
    QFETCH(QString, fromTime);
    Fixture f;
    QStringList lines;
    for (int i = 0; i < 5; ++i)
        lines << recordAt("3/7/2006 9:00:00 AM", QStringLiteral("%1 V 123 00000%1").arg(i + 1));
    f.display(lines.mid(0, 2));
    f.state.strRecords.clear();
    f.display(lines.mid(2, 1));
    f.state.strStoredRecords = lines.mid(3);

    QPointer<SearchScreen> s = f.open(twin);
    QSignalSpy succeeded(s.data(), &SearchScreen::searchSucceeded);
    s->txtFacility->setText(QStringLiteral("123")); // no dates on the stored screen: a search without times
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QVERIFY(f.prompts.shown.isEmpty());
    QCOMPARE(succeeded.count(), 1);
    QStringList expected;
    for (int i : found)
        expected << lines.at(i);
    QCOMPARE(f.state.strResults, expected);
    QCOMPARE(f.state.criteria.strFromTime, fromTime);
    QTRY_VERIFY(s.isNull());
}

void TestSearchScreens::backAndClose_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("displayed, Back") << Twin::Displayed << false;
    QTest::newRow("displayed, File Close") << Twin::Displayed << true;
    QTest::newRow("stored, Back") << Twin::Stored << false;
    QTest::newRow("stored, File Close") << Twin::Stored << true;
}

void TestSearchScreens::backAndClose()
{
    QFETCH(Twin, twin);
    QFETCH(bool, byMenu);
    Fixture f;
    Navigator navigator;
    QWidget main;
    navigator.setMainScreen(&main);
    QPointer<SearchScreen> s = f.open(twin);
    navigator.open(s, Navigator::MainScreen::SetAside);
    QVERIFY(!navigator.isMainAvailable());
    QVERIFY(!main.isEnabled());
    QSignalSpy back(s.data(), &SearchScreen::backToFileSelection);
    QSignalSpy succeeded(s.data(), &SearchScreen::searchSucceeded);
    if (byMenu)
        s->action("mnuFileClose")->trigger();
    else
        QTest::mouseClick(s->cmdBack, Qt::LeftButton);
    QCOMPARE(back.count(), twin == Twin::Stored ? 1 : 0);
    QCOMPARE(succeeded.count(), 0);
    QTRY_VERIFY(s.isNull());
    QVERIFY(navigator.isMainAvailable());
    QVERIFY(main.isEnabled());
    QVERIFY(f.prompts.shown.isEmpty());
}

void TestSearchScreens::mainScreenOpensSearch()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Options options;
    options.dataDir = dir.path();
    GatetallyApp app(options, prompts);
    app.state().clock.setFixed(kNow);
    app.showMainScreen();
    MainScreen *main = app.mainScreen();

    for (const bool byMenu : {false, true}) {
        if (byMenu) {
            QVERIFY(main->action("mnuEditSearch")->isEnabled());
            main->action("mnuEditSearch")->trigger();
        } else {
            QVERIFY(main->cmdRecordsSearch->isEnabled());
            QTest::mouseClick(main->cmdRecordsSearch, Qt::LeftButton);
        }
        QPointer<QWidget> search = app.navigator().find(QStringLiteral("frmRecordsSearch"));
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), QStringLiteral("Displayed Record Search"));
        QVERIFY(!app.navigator().isMainAvailable());
        QCOMPARE(search->findChild<QLineEdit *>("txtFromYear")->text(), QStringLiteral("2006"));
        QTest::mouseClick(search->findChild<QPushButton *>("cmdBack"), Qt::LeftButton);
        QTRY_VERIFY(search.isNull());
        QVERIFY(app.navigator().isMainAvailable());
    }
    QVERIFY(prompts.shown.isEmpty());
}

QTEST_MAIN(TestSearchScreens)
#include "tst_search_screens.moc"
