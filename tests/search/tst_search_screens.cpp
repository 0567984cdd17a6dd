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
    void successfulSearch();
    void displayedSearchReadsTheDisplay();
    void storedSearchReadsTheStoredLines();
    void backAndClose_data();
    void backAndClose();
    void mainScreenOpensSearch();
};

// Keys typed into each field of both screens: the text left and the
// messages shown, in order.
void TestSearchScreens::typing_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");

    const QString to12 = QStringLiteral("This entry must be from 1 through 12");
    const QString two = QStringLiteral("This entry cannot be more than two digits");
    const Twin D = Twin::Displayed, S = Twin::Stored;
    for (Twin t : {D, S}) {
        const QByteArray tw = t == D ? "D " : "S ";
        for (const char *hour : {"txtFromHour", "txtToHour"}) {
            const QByteArray h = tw + hour;
            QTest::newRow(h + " 1 3") << t << hour << "13" << "" << QStringList{to12};
            QTest::newRow(h + " 1 2") << t << hour << "12" << "12" << QStringList{};
            QTest::newRow(h + " 0 0") << t << hour << "00" << "" << QStringList{to12};
            QTest::newRow(h + " 0") << t << hour << "0" << "0" << QStringList{};
            QTest::newRow(h + " letter") << t << hour << "1a" << "1" << QStringList{kDigit};
            QTest::newRow(h + " backspace") << t << hour << "1x\b\b9" << "9" << QStringList{kDigit};
            QTest::newRow(h + " 1 3 again") << t << hour << "131" << "1" << QStringList{to12};
        }
        for (const char *month : {"txtFromMonth", "txtToMonth"}) {
            QTest::newRow(tw + month + " 0 0") << t << month << "00" << "" << QStringList{to12};
            QTest::newRow(tw + month + " third digit") << t << month << "011" << "" << QStringList{two};
        }
        for (const char *day : {"txtFromDay", "txtToDay"}) {
            QTest::newRow(tw + day + " 3 2") << t << day << "32" << ""
                                             << QStringList{"This entry must be from 1 through 31"};
            QTest::newRow(tw + day + " 0 0") << t << day << "00" << ""
                                             << QStringList{"This entry must be from 1 through 31"};
            QTest::newRow(tw + day + " 3 1") << t << day << "31" << "31" << QStringList{};
        }
        for (const char *minute : {"txtFromMin", "txtToMin"}) {
            QTest::newRow(tw + minute + " 0 0") << t << minute << "00" << "00" << QStringList{};
            QTest::newRow(tw + minute + " 6 0") << t << minute << "60" << ""
                                                << QStringList{"This entry must be from 00 through 59"};
            QTest::newRow(tw + minute + " third digit") << t << minute << "059" << "" << QStringList{two};
            QTest::newRow(tw + minute + " space") << t << minute << " 5" << "5" << QStringList{kDigit};
        }
        for (const char *year : {"txtFromYear", "txtToYear"})
            QTest::newRow(tw + year + " any length") << t << year << "200612" << "200612" << QStringList{};
        QTest::newRow(tw + "entry 7") << t << "txtEntryPoint" << "7" << "7" << QStringList{};
        QTest::newRow(tw + "entry second digit")
            << t << "txtEntryPoint" << "71" << "" << QStringList{"This entry cannot be more than one digit"};
        QTest::newRow(tw + "entry 0") << t << "txtEntryPoint" << "0" << ""
                                      << QStringList{"0 cannot be assigned as an entry point number"};
        QTest::newRow(tw + "entry letter") << t << "txtEntryPoint" << "x" << ""
                                           << QStringList{"This entry must be a number from 1 through 9"};
        QTest::newRow(tw + "card six") << t << "txtCardKeyless" << "012345" << "012345" << QStringList{};
        QTest::newRow(tw + "card seven") << t << "txtCardKeyless" << "0123456" << ""
                                         << QStringList{"This entry cannot be more than six digits"};
        QTest::newRow(tw + "card letter") << t << "txtCardKeyless" << "12b" << "12" << QStringList{kDigit};
        QTest::newRow(tw + "status any text") << t << "cboStatus" << "valid 1" << "valid 1" << QStringList{};
    }
    QTest::newRow("D facility letters") << D << "txtFacility" << "A1b" << "A1b" << QStringList{};
    QTest::newRow("D facility fourth character")
        << D << "txtFacility" << "A1b2" << "" << QStringList{"This entry cannot be more than three characters"};
    QTest::newRow("S facility letter") << S << "txtFacility" << "1a" << "1" << QStringList{kDigit};
    QTest::newRow("S facility fourth digit") << S << "txtFacility" << "1234" << ""
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
    QTest::newRow("spaced digits into a card") << Twin::Stored << "txtCardKeyless" << "12" << " 34" << "12"
                                               << QStringList{kDigit};
    QTest::newRow("digits into a card") << Twin::Stored << "txtCardKeyless" << "12" << "345" << "12345"
                                        << QStringList{};
    QTest::newRow("too many digits") << Twin::Displayed << "txtFromDay" << "" << "123" << ""
                                     << QStringList{"This entry cannot be more than two digits"};
    QTest::newRow("letters into a displayed facility") << Twin::Displayed << "txtFacility" << "" << "AB" << "AB"
                                                       << QStringList{};
    QTest::newRow("letters into a stored facility") << Twin::Stored << "txtFacility" << "" << "AB" << ""
                                                    << QStringList{kDigit};
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
        "fraToOuter|To|",
        "fraDetails|Details|",
        "txtFromMonth||1 to 12",
        "txtFromDay||1 to 31",
        "txtFromYear||4 digit year",
        "txtFromHour||1 to 12",
        "txtFromMin||0 to 59",
        "txtToMonth||1 to 12",
        "txtToDay||1 to 31",
        "txtToYear||4 digit year",
        "txtToHour||1 to 12",
        "txtToMin||0 to 59",
        "lblFromMonth|Month|", "lblFromDay|Day|", "lblFromYear|Year|", "lblFromHour|Hour|", "lblFromMin|Min|",
        "lblToMonth|Month|", "lblToDay|Day|", "lblToYear|Year|", "lblToHour|Hour|", "lblToMin|Min|",
        "optFromAM|AM|", "optFromPM|PM|", "optToAM|AM|", "optToPM|PM|",
        "txtFacility||3 digit number",
        "lblFacility|Facility Code|",
        "cboStatus||Type of entrance record",
        "lblStatus|Status|",
        "lblCardKeyless|Card/Keyless Number|",
        "txtEntryPoint||1 to 100",
        "lblEntryPoint|Entry Point|",
        "cmdSearch|Search|",
        "cmdBack|Back|",
        "mnuFile|&File|", "mnuFileClose|&Close|", "mnuView|&View|", "mnuViewEntrypoints|&Entry Points|",
        "mnuHelp|&Help|", "mnuHelpAbout|&About|", "mnuHelpHelp|&Help|",
    };
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

    // A short year is emptied too.
    f.prompts.reset();
    s->txtToYear->setText(QStringLiteral("06"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QCOMPARE(f.prompts.texts(), QStringList{"Please enter four digits for the ending year for this search"});
    QCOMPARE(s->txtToYear->text(), QString());
    QCOMPARE(QApplication::focusWidget(), s->txtToYear);

    // From after To, with no message from the fields' own rules on the way.
    f.prompts.reset();
    s->txtToYear->setText(QStringLiteral("2006"));
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

void TestSearchScreens::successfulSearch()
{
    Fixture f;
    const QStringList lines{recordAt("3/7/2006 9:00:00 AM", "1 V 123 000001"),
                            recordAt("3/7/2006 9:30:00 AM", "2 N 123 000002"),
                            recordAt("3/7/2006 10:30:00 AM", "3 V 123 000003"),
                            recordAt("3/7/2006 10:30:01 AM", "4 V 123 000004")};
    f.display(lines);
    QPointer<SearchScreen> s = f.open(Twin::Displayed);
    QSignalSpy succeeded(s.data(), &SearchScreen::searchSucceeded);
    type(s->txtFromHour, QStringLiteral("9"));
    type(s->txtToHour, QStringLiteral("10"));
    type(s->txtToMin, QStringLiteral("30"));
    s->cboStatus->setEditText(QStringLiteral("VALID"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QVERIFY(f.prompts.shown.isEmpty());
    QCOMPARE(succeeded.count(), 1);
    QCOMPARE(f.state.strResults, (QStringList{lines.at(0), lines.at(2)}));
    QCOMPARE(f.state.intResultCount(), 2);
    QCOMPARE(f.state.criteria.strFromTime, QStringLiteral("9:00:00 AM"));
    QCOMPARE(f.state.criteria.strToTime, QStringLiteral("10:30:00 AM"));
    QCOMPARE(f.state.criteria.strCritStatus, QStringLiteral("VALID"));
    QCOMPARE(f.state.criteria.strFromDate, QStringLiteral("3/7/2006"));
    QTRY_VERIFY(s.isNull());
}

void TestSearchScreens::displayedSearchReadsTheDisplay()
{
    Fixture f;
    f.display({recordAt("3/7/2006 9:00:00 AM", "1 V 123 000001"), recordAt("3/7/2006 9:01:00 AM", "2 V 123 000002")});
    f.state.strRecords.clear();
    const QString kept = recordAt("3/7/2006 9:02:00 AM", "3 V 123 000003");
    f.display({kept});
    f.state.strStoredRecords = QStringList{recordAt("3/7/2006 9:03:00 AM", "3 V 123 000004")};
    QPointer<SearchScreen> s = f.open(Twin::Displayed);
    s->txtFacility->setText(QStringLiteral("123"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QCOMPARE(f.state.strResults, QStringList{kept});
    delete s;
}

void TestSearchScreens::storedSearchReadsTheStoredLines()
{
    Fixture f;
    f.display({recordAt("3/7/2006 9:00:00 AM", "1 V 123 000001")});
    f.state.strStoredRecords = QStringList{recordAt("2/7/2005 9:00:00 PM", "5 V 123 000001"),
                                           recordAt("2/7/2005 9:00:00 PM", "5 V 123 000002")};
    QPointer<SearchScreen> s = f.open(Twin::Stored);
    QSignalSpy succeeded(s.data(), &SearchScreen::searchSucceeded);
    // The preset years alone make no date range.
    s->txtCardKeyless->setText(QStringLiteral("000001"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QVERIFY(f.prompts.shown.isEmpty());
    QCOMPARE(succeeded.count(), 1);
    QCOMPARE(f.state.strResults, QStringList{f.state.strStoredRecords.at(0)});
    QCOMPARE(f.state.criteria.strFromTime, QStringLiteral("AM //2006"));
    delete s;
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
