#include "Screens.h"
#include "RuleLineEdit.h"
#include "SearchScreen.h"
#include "SearchTestData.h"
#include "TestFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using gt::search::Twin;

Q_DECLARE_METATYPE(gt::search::Twin)
Q_DECLARE_METATYPE(gt::search::Entries)
Q_DECLARE_METATYPE(SearchCriteria)

namespace {

const Twin D = Twin::Displayed, S = Twin::Stored;
const QDateTime kNow(QDate(2006, 3, 7), QTime(14, 5, 9));

struct Fixture : test::ScreenDesk
{
    Fixture() { state.clock.setFixed(kNow); }
};

// Keys typed into every field named, on each screen named: the text left and
// the messages shown, in order.
struct Typing
{
    QString twins; // "D", "S" or "DS"
    QStringList fields;
    QString keys;  // "\b" is backspace
    QString paste; // then pasted with Ctrl+V
    QString text;
    QStringList messages;
};

} // namespace

Q_DECLARE_METATYPE(Typing)

class TestSearchScreens : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typing_data();
    void typing();
    void opening_data();
    void opening();
    void search();
    void cancelStoredSearch();
};

void TestSearchScreens::typing_data()
{
    QTest::addColumn<Typing>("t");
    const QString digit = "This entry must be a number from 0 through 9";
    const QString two = "This entry cannot be more than two digits";
    const QString to12 = "This entry must be from 1 through 12", to31 = "This entry must be from 1 through 31";
    const QStringList hm{"txtFromHour", "txtToHour", "txtFromMonth", "txtToMonth"}, days{"txtFromDay", "txtToDay"};
    const QStringList mins{"txtFromMin", "txtToMin"}, fac{"txtFacility"}, card{"txtCardKeyless"}, ep{"txtEntryPoint"};
    const QList<QPair<const char *, Typing>> rows{
        {"hour, month: letter, backspace, 13", {.twins = "DS", .fields = hm, .keys = "x1\b13", .messages = {digit, to12}}},
        {"hour, month: 0 0, then 0", {.twins = "DS", .fields = hm, .keys = "000", .text = "0", .messages = {to12}}},
        {"hour, month, day, minute: third digit", {.twins = "DS", .fields = hm + days + mins, .keys = "123", .messages = {two}}},
        {"day: letter, 32", {.twins = "DS", .fields = days, .keys = "x32", .messages = {digit, to31}}},
        {"minute: letter, 60, 0 0", {.twins = "DS", .fields = mins, .keys = "x6000", .text = "00",
                                      .messages = {digit, "This entry must be from 00 through 59"}}},
        {"year: any length", {.twins = "DS", .fields = {"txtFromYear", "txtToYear"}, .keys = "x200612", .text = "200612",
                              .messages = {digit}}},
        {"entry point: letter, 0, second digit", {.twins = "DS", .fields = ep, .keys = "x071",
          .messages = {"This entry must be a number from 1 through 9", "0 cannot be assigned as an entry point number",
                       "This entry cannot be more than one digit"}}},
        {"card: letter, seventh digit",
         {.twins = "DS", .fields = card, .keys = "x1234567", .messages = {digit, "This entry cannot be more than six digits"}}},
        {"displayed facility: letters, fourth",
         {.twins = "D", .fields = fac, .keys = "A1b2", .messages = {"This entry cannot be more than three characters"}}},
        {"stored facility: letter, fourth",
         {.twins = "S", .fields = fac, .keys = "1a234", .messages = {digit, "This entry cannot be more than three digits"}}},
        {"status: any text, nothing completed", {.twins = "DS", .fields = {"cboStatus"}, .keys = "o", .text = "o"}},
        {"paste a spreadsheet cell", {.twins = "DS", .fields = fac + hm, .paste = "12\r\n", .text = "12"}},
        {"paste letters", {.twins = "DS", .fields = hm + card, .keys = "1", .paste = "2a", .text = "1", .messages = {digit}}},
    };
    for (const auto &[name, t] : rows)
        QTest::newRow(name) << t;
}

void TestSearchScreens::typing()
{
    QFETCH(Typing, t);
    for (QChar twin : t.twins) {
        Fixture f;
        QScopedPointer<SearchScreen> s(f.open<SearchScreen>(twin == 'D' ? D : S));
        s->show(); // completion only runs in a focused box, as the operator types it
        QVERIFY(QTest::qWaitForWindowActive(s.data()));
        for (const QString &name : t.fields) {
            QLineEdit *w = name == "cboStatus" ? s->cboStatus->lineEdit() : s->findChild<QLineEdit *>(name);
            QVERIFY2(w, qPrintable(name));
            w->clear();
            w->setFocus();
            f.prompts.shown.clear();
            QTest::keyClicks(w, t.keys);
            if (!t.paste.isEmpty()) {
                QApplication::clipboard()->setText(t.paste);
                if (QApplication::clipboard()->text() != t.paste)
                    QSKIP("no clipboard on this platform");
                QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
            }
            const QString where = QString(twin) + ' ' + name + ": ";
            QCOMPARE(where + w->text(), where + t.text);
            QCOMPARE(where + f.prompts.texts().join(" | "), where + t.messages.join(" | "));
            for (const auto &m : std::as_const(f.prompts.shown))
                QVERIFY(m.title == "Gatetally" && m.icon == Prompts::Icon::None && m.buttons == Prompts::Ok);
        }
    }
}

// Fresh openings (with their captions) and openings to refine over a last
// search; then Back (refine) or File > Close (fresh) leaves.
void TestSearchScreens::opening_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<bool>("refine");
    QTest::addColumn<SearchCriteria>("criteria");
    QTest::addColumn<search::Entries>("shown");
    using test::on;
    const SearchCriteria last{"1", "OFF", "123", "9", "1:00:00 PM", "2:00:00 PM", "PM", "PM", "1/2/2005", "1/3/2005"};
    QTest::newRow("displayed, fresh: today") << D << false << last << on("3/7/2006", "3/7/2006", {});
    QTest::newRow("stored, fresh: this year") << S << false << last << on("//2006", "//2006", {});
    QTest::newRow("refine timed, facility")
        << D << true
        << SearchCriteria{.strCritFacility = "123", .strFromTime = "9:05:00 AM", .strToTime = "10:30:00 PM",
                          .strFromAMPM = "AM", .strToAMPM = "PM", .strFromDate = "3/7/2006", .strToDate = "3/12/2006"}
        << on("3/7/2006", "3/12/2006",
              {.fromHour = "9", .fromMin = "05", .toHour = "10", .toMin = "30", .facility = "123", .toAM = false});
    QTest::newRow("refine no times, stored")
        << S << true
        << SearchCriteria{"4", "NOT VALID", "", "77", "PM 12/7/2006", "AM //2006", "PM", "AM", "12/7/2006", "//2006"}
        << on("12/7/2006", "//2006", {.status = "NOT VALID", .cardKeyless = "77", .entryPoint = "4", .fromAM = false});
}

void TestSearchScreens::opening()
{
    QFETCH(Twin, twin);
    QFETCH(bool, refine);
    QFETCH(SearchCriteria, criteria);
    QFETCH(search::Entries, shown);
    Fixture f;
    f.state.criteria = criteria;
    f.state.blnRefine = refine;

    QPointer<SearchScreen> s = f.open<SearchScreen>(twin);
    QCOMPARE(test::entriesText(s->entries()), test::entriesText(shown));
    QCOMPARE(test::rowTexts(s->cboStatus->view()), QStringList({"VALID", "NOT VALID", "OFF"}));
    QVERIFY(!f.state.blnRefine);
    const QString controls =
        QString(twin == D ? "frmRecordsSearch|Displayed Record Search|;txtCardKeyless|*|5 digit number;"
                            "cmdSearch|Search|Starts search of displayed records;cmdBack|Back|Goes back to the Main screen"
                          : "frmSavedSearch|Stored Record Search|;txtCardKeyless|*|5 digit code;"
                            "cmdSearch|Search|Starts search of stored records;cmdBack|Back|Goes back to the File Selection "
                            "screen")
        + ";lblFacility|Facility Code|;lblStatus|Status|;lblCardKeyless|Card/Keyless Number|;lblEntryPoint|Entry Point|";
    if (!refine)
        QCOMPARE(test::controlTexts(s, controls), controls.split(';'));
    // A fresh opening forgets the last search but for its dates.
    QCOMPARE(test::criteriaText(f.state.criteria),
             test::criteriaText(refine ? criteria : SearchCriteria{.strFromDate = "1/2/2005", .strToDate = "1/3/2005"}));

    if (refine)
        QTest::mouseClick(s->cmdBack, Qt::LeftButton);
    else
        s->mnuFileClose->trigger();
    // The stored twin goes back to the choice of file, the displayed one home.
    QCOMPARE(f.flow.opened, twin == S ? QList<Screen>{Screen::RecordsManagement} : QList<Screen>{});
    QTRY_VERIFY(s.isNull());
    QVERIFY(f.prompts.shown.isEmpty());
}

// What the Search button hands on. Stopped by a check: its message, the
// fields as the check left them, its field focused, the criteria recorded,
// the results kept. Through: the twin's own lines (only the rows on the
// display now, not those cleared; the stored file's), the results screen.
void TestSearchScreens::search()
{
    QStringList lines; // 0, 1: cleared from the display; 2: on it; 3, 4: stored
    for (int i = 0; i < 5; ++i)
        lines << test::recordAt("3/7/2006 9:00:00 AM", QStringLiteral("%1 V 123 00000%1").arg(i + 1));
    for (const Twin twin : {D, S}) {
        Fixture f;
        for (int i = 0; i < 3; ++i) {
            if (i == 2)
                f.state.strRecords.clear();
            f.state.strRecords.append(lines.at(i), MakeDisplayLine(lines.at(i), kNumberMode, f.state.strEntryNames));
        }
        f.state.strStoredRecords = f.dir.filePath("stored.txt");
        QVERIFY(test::writeBytes(f.state.strStoredRecords, (lines.at(3) + "\r\n" + lines.at(4) + "\r\n").toLatin1()));
        f.state.strResults = QStringList{QStringLiteral("earlier results")};
        QPointer<SearchScreen> s = f.open<SearchScreen>(twin);
        s->show();
        QVERIFY(QTest::qWaitForWindowActive(s));
        s->txtFromMonth->clear();
        s->txtFromHour->setText("9");
        s->txtToHour->setText("1");
        s->txtCardKeyless->setText("1");
        QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
        QCOMPARE(f.prompts.texts(), QStringList{"Please enter the starting month for this search"});
        QCOMPARE(s->txtFromMin->text(), "00");
        QCOMPARE(QApplication::focusWidget(), s->txtFromMonth);
        QCOMPARE(f.state.criteria.strCritCardKeyless, "1");
        QCOMPARE(f.state.strResults, QStringList{"earlier results"});
        QVERIFY(f.flow.opened.isEmpty());

        f.prompts.shown.clear();
        for (QLineEdit *w : {s->txtFromHour, s->txtFromMin, s->txtToHour, s->txtToMin, s->txtCardKeyless})
            w->clear();
        s->txtFromMonth->setText(twin == D ? "3" : ""); // the stored screen without dates: a search without times
        s->txtFacility->setText("123");
        QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
        QTRY_COMPARE(f.flow.opened, QList<Screen>{twin == D ? Screen::DisplayedResults : Screen::StoredResults});
        QVERIFY(f.prompts.shown.isEmpty());
        QCOMPARE(f.state.strResults, twin == D ? lines.mid(2, 1) : lines.mid(3));
        QCOMPARE(f.state.criteria.strFromTime, twin == D ? "AM 3/7/2006" : "AM //2006");
    }
}

// A stored-file search cancelled from its progress dialog hands over nothing:
// the screen takes commands again, the results and the file stay as they were.
void TestSearchScreens::cancelStoredSearch()
{
    Fixture f;
    f.state.strStoredRecords = f.dir.filePath("stored.txt");
    const QByteArray bytes = test::recordAt("3/7/2006 9:00:00 AM", "1 V 123 000001").toLatin1().append("\r\n").repeated(100000);
    QVERIFY(test::writeBytes(f.state.strStoredRecords, bytes));
    f.state.strResults = QStringList{QStringLiteral("earlier results")};
    QPointer<SearchScreen> s = f.open<SearchScreen>(S);
    s->show();
    QVERIFY(QTest::qWaitForWindowActive(s));
    s->txtCardKeyless->setText(QStringLiteral("1"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QVERIFY(s->searching() && !s->cmdSearch->isEnabled() && !s->menuBar()->isEnabled());
    auto *progress = s->findChild<QProgressDialog *>("dlgProgress");
    QVERIFY(progress && progress->labelText() == "Searching stored.txt ...");
    QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton); // its Cancel, as the operator finds it
    QVERIFY(!s->searching() && s->cmdSearch->isEnabled() && s->menuBar()->isEnabled());
    QTest::qWait(100);
    QVERIFY(s && f.flow.opened.isEmpty() && f.prompts.shown.isEmpty());
    QCOMPARE(f.state.strResults, QStringList{"earlier results"});
    QVERIFY(test::readBytes(f.state.strStoredRecords) == bytes);
}

QTEST_MAIN(TestSearchScreens)
#include "tst_search_screens.moc"
