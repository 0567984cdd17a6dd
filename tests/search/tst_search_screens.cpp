#include "Screens.h"
#include "RuleLineEdit.h"
#include "ScriptedPrompts.h"
#include "SearchScreen.h"
#include "SearchTestData.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenuBar>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace gt;
using gt::search::Twin;
using gt::test::ScriptedPrompts;

Q_DECLARE_METATYPE(gt::search::Twin)

namespace {

const Twin D = Twin::Displayed, S = Twin::Stored;
const QDateTime kNow(QDate(2006, 3, 7), QTime(14, 5, 9));
// The fields in the order of the screen.
const QStringList kFields{"txtFromMonth", "txtFromDay", "txtFromYear", "txtFromHour", "txtFromMin", "txtToMonth",
                          "txtToDay", "txtToYear", "txtToHour", "txtToMin", "txtFacility", "cboStatus",
                          "txtCardKeyless", "txtEntryPoint"};

struct Fixture : test::ScreenDesk
{
    Fixture() { state.clock.setFixed(kNow); }
};

QLineEdit *edit(SearchScreen *s, const QString &name)
{
    return name == "cboStatus" ? s->cboStatus->lineEdit() : s->findChild<QLineEdit *>(name);
}

// The fields' texts, then the AM/PM choices.
QString fieldTexts(SearchScreen *s)
{
    QStringList out;
    for (const QString &name : kFields)
        out << edit(s, name)->text();
    return (out << (s->optFromAM->isChecked() ? "AM" : "PM") << (s->optToAM->isChecked() ? "AM" : "PM")).join(',');
}

// Every control by name with its caption and tooltip ("name|caption|tooltip;").
QString controls(Twin twin)
{
    return QStringLiteral(
               "fraToOuter|To|;fraDetails|Details|;txtFromMonth|*|1 to 12;txtFromDay|*|1 to 31;"
               "txtFromYear|*|4 digit year;txtFromHour|*|1 to 12;txtFromMin|*|0 to 59;txtToMonth|*|1 to 12;"
               "txtToDay|*|1 to 31;txtToYear|*|4 digit year;txtToHour|*|1 to 12;txtToMin|*|0 to 59;"
               "lblFromMonth|Month|;lblFromDay|Day|;lblFromYear|Year|;lblFromHour|Hour|;lblFromMin|Min|;"
               "lblToMonth|Month|;lblToDay|Day|;lblToYear|Year|;lblToHour|Hour|;lblToMin|Min|;optFromAM|AM|;"
               "optFromPM|PM|;optToAM|AM|;optToPM|PM|;txtFacility|*|3 digit number;lblFacility|Facility Code|;"
               "cboStatus|*|Type of entrance record;lblStatus|Status|;lblCardKeyless|Card/Keyless Number|;"
               "txtEntryPoint|*|1 to 100;lblEntryPoint|Entry Point|;mnuFile|&File|;mnuFileClose|&Close|;"
               "mnuView|&View|;mnuViewEntrypoints|&Entry Points|;mnuHelp|&Help|;mnuHelpAbout|&About|;"
               "mnuHelpHelp|&Help|;Timer1||;")
        + (twin == D ? "frmRecordsSearch|Displayed Record Search|;fraFromOut|From|;txtCardKeyless|*|5 digit number;"
                       "cmdSearch|Search|Starts search of displayed records;cmdBack|Back|Goes back to the Main screen"
                     : "frmSavedSearch|Stored Record Search|;fraFromOuter|From|;txtCardKeyless|*|5 digit code;"
                       "cmdSearch|Search|Starts search of stored records;cmdBack|Back|Goes back to the File Selection "
                       "screen");
}

} // namespace

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

// Keys typed into every field of a kind, on each screen named: the text left
// and the messages shown, in order. "\b" is backspace; what follows "|" is
// pasted with Ctrl+V.
void TestSearchScreens::typing_data()
{
    QTest::addColumn<QString>("twins");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");

    const QString digit = "This entry must be a number from 0 through 9";
    const QString two = "This entry cannot be more than two digits";
    const QString to12 = "This entry must be from 1 through 12", to31 = "This entry must be from 1 through 31";
    const QString to59 = "This entry must be from 00 through 59", ep = "This entry must be a number from 1 through 9";
    const QString hm = "txtFromHour txtToHour txtFromMonth txtToMonth", days = "txtFromDay txtToDay";
    const QString mins = "txtFromMin txtToMin", fac = "txtFacility", card = "txtCardKeyless";
    QTest::newRow("hour, month: letter, backspace, 13") << "DS" << hm << "x1\b13" << "" << QStringList{digit, to12};
    QTest::newRow("hour, month: 0 0, then 0") << "DS" << hm << "000" << "0" << QStringList{to12};
    QTest::newRow("hour, month, day, minute: third digit") << "DS" << hm + " " + days + " " + mins << "123" << ""
                                                           << QStringList{two};
    QTest::newRow("day: letter, 32") << "DS" << days << "x32" << "" << QStringList{digit, to31};
    QTest::newRow("day: 0 0, then 0") << "DS" << days << "000" << "0" << QStringList{to31};
    QTest::newRow("minute: 0 0") << "DS" << mins << "00" << "00" << QStringList{};
    QTest::newRow("minute: letter, 60") << "DS" << mins << "x60" << "" << QStringList{digit, to59};
    QTest::newRow("year: any length") << "DS" << "txtFromYear txtToYear" << "x200612" << "200612" << QStringList{digit};
    QTest::newRow("entry point: letter, 0")
        << "DS" << "txtEntryPoint" << "x0" << "" << QStringList{ep, "0 cannot be assigned as an entry point number"};
    QTest::newRow("entry point: second digit") << "DS" << "txtEntryPoint" << "71" << ""
                                               << QStringList{"This entry cannot be more than one digit"};
    QTest::newRow("card: letter, seventh digit") << "DS" << card << "x1234567" << ""
                                                 << QStringList{digit, "This entry cannot be more than six digits"};
    QTest::newRow("displayed facility: letters, fourth")
        << "D" << fac << "A1b2" << "" << QStringList{"This entry cannot be more than three characters"};
    QTest::newRow("stored facility: letter, fourth")
        << "S" << fac << "1a234" << "" << QStringList{digit, "This entry cannot be more than three digits"};
    QTest::newRow("status: any text") << "DS" << "cboStatus" << "valid 1" << "valid 1" << QStringList{};
    QTest::newRow("status: nothing completed") << "DS" << "cboStatus" << "o" << "o" << QStringList{};
    QTest::newRow("paste a spreadsheet cell") << "DS" << fac + " " + hm << "|12\r\n" << "12" << QStringList{};
    QTest::newRow("paste with a tab, letters") << "D" << fac << "|1\tA" << "1A" << QStringList{};
    QTest::newRow("paste letters") << "DS" << hm + " " + card << "1|2a" << "1" << QStringList{digit};
    QTest::newRow("paste too many") << "DS" << days << "|123" << "" << QStringList{two};
}

void TestSearchScreens::typing()
{
    QFETCH(QString, twins);
    QFETCH(QString, fields);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);

    for (QChar twin : twins) {
        Fixture f;
        QScopedPointer<SearchScreen> s(f.open<SearchScreen>(twin == 'D' ? D : S));
        for (const QString &name : fields.split(' ')) {
            QLineEdit *w = edit(s.data(), name);
            QVERIFY2(w, qPrintable(name));
            w->clear();
            if (name == "cboStatus") {
                // Completion only runs in a focused box, as the operator types it.
                s->show();
                QVERIFY(QTest::qWaitForWindowActive(s.data()));
                w->setFocus();
            }
            f.prompts.reset();
            QTest::keyClicks(w, keys.section('|', 0, 0));
            if (keys.contains('|')) {
                QApplication::clipboard()->setText(keys.section('|', 1));
                if (QApplication::clipboard()->text() != keys.section('|', 1))
                    QSKIP("no clipboard on this platform");
                QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
            }
            const QString where = QString(twin) + ' ' + name + ": ";
            QCOMPARE(where + w->text(), where + text);
            QCOMPARE(where + f.prompts.texts().join(" | "), where + messages.join(" | "));
            for (const auto &m : std::as_const(f.prompts.shown))
                QVERIFY(m.title == "Gatetally" && m.icon == Prompts::Icon::None && m.buttons == Prompts::Ok);
        }
    }
}

// Fresh openings (with a look at every control) and openings to refine, over
// the criteria of a last search; then Back (refine) or File > Close (fresh)
// leaves the screen.
void TestSearchScreens::opening_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<bool>("refine");
    QTest::addColumn<QString>("criteria"); // as criteriaText() writes them
    QTest::addColumn<QString>("texts");

    const QString last = "1|OFF|123|9|1:00:00 PM|2:00:00 PM|PM|PM|1/2/2005|1/3/2005";
    QTest::newRow("displayed, fresh: today") << D << false << last << "3,7,2006,,,3,7,2006,,,,,,,AM,AM";
    QTest::newRow("stored, fresh: this year") << S << false << last << ",,2006,,,,,2006,,,,,,,AM,AM";
    QTest::newRow("refine timed, facility") << D << true << "||123||9:05:00 AM|10:30:00 PM|AM|PM|3/7/2006|3/12/2006"
                                            << "3,7,2006,9,05,3,12,2006,10,30,123,,,,AM,PM";
    QTest::newRow("refine no times")
        << D << true << "4|NOT VALID||77|PM 12/7/2006|AM 12/17/2006|PM|AM|12/7/2006|12/17/2006"
        << "12,7,2006,,,12,17,2006,,,,NOT VALID,77,4,PM,AM";
    QTest::newRow("refine stored, From row empty") << S << true << "|OFF|||AM //2006|PM //2007|AM|PM|//2006|//2007"
                                                   << ",,2006,,,,,2007,,,,OFF,,,AM,PM";
    QTest::newRow("refine leading zeros") << S << true << "||||09:00:00 AM|11:59:00 PM|AM|PM|03/07/2006|03/08/2006"
                                          << "03,07,2006,09,00,03,08,2006,11,59,,,,,AM,PM";
}

void TestSearchScreens::opening()
{
    QFETCH(Twin, twin);
    QFETCH(bool, refine);
    QFETCH(QString, criteria);
    QFETCH(QString, texts);
    Fixture f;
    f.state.criteria = gt::test::criteriaFrom(criteria);
    f.state.blnRefine = refine;

    QPointer<SearchScreen> s = f.open<SearchScreen>(twin);
    QCOMPARE(fieldTexts(s), texts);
    QCOMPARE(s->cboStatus->count(), 3);
    QCOMPARE(s->cboStatus->itemText(0) + "," + s->cboStatus->itemText(1) + "," + s->cboStatus->itemText(2),
             QStringLiteral("VALID,NOT VALID,OFF"));
    QVERIFY(!f.state.blnRefine);
    if (!refine)
        QCOMPARE(test::controlTexts(s, controls(twin)), controls(twin).split(';'));
    QVERIFY(s->Timer1->interval() == 200 && s->Timer1->isSingleShot());
    // A fresh opening forgets the last search but for its dates.
    QCOMPARE(gt::test::criteriaText(f.state.criteria),
             refine ? criteria : (QStringList(8) + criteria.split('|').mid(8)).join('|'));

    if (refine)
        QTest::mouseClick(s->cmdBack, Qt::LeftButton);
    else
        s->mnuFileClose->trigger();
    // The stored twin goes back to the choice of file, the displayed one home.
    QCOMPARE(f.flow.opened, twin == S ? QList<Screen>{Screen::RecordsManagement} : QList<Screen>{});
    QTRY_VERIFY(s.isNull());
    QVERIFY(f.prompts.shown.isEmpty());
}

// On each twin a search stopped by a check shows its message, focuses its
// field, leaves the results alone and records the details; one that gets
// through finds the twin's own lines (the displayed twin exactly the rows on
// the display now, not those cleared from it) and closes the screen.
void TestSearchScreens::search()
{
    QStringList lines; // 0, 1: cleared from the display; 2: on it; 3, 4: stored
    for (int i = 0; i < 5; ++i)
        lines << gt::test::recordAt("3/7/2006 9:00:00 AM", QStringLiteral("%1 V 123 00000%1").arg(i + 1));
    for (const Twin twin : {D, S}) {
        Fixture f;
        for (int i = 0; i < 3; ++i) {
            if (i == 2)
                f.state.strRecords.clear();
            f.state.strRecords.append(lines.at(i), MakeDisplayLine(lines.at(i), kNumberMode, f.state.strEntryNames));
        }
        // The stored file holds a heading and an empty line besides its records.
        QTemporaryDir dir;
        const QString stored = dir.filePath("stored.txt");
        QFile file(stored);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\r\n    DATE         TIME     ENTRY   STATUS     CODE    NUMBER\r\n");
        file.write((lines.at(3) + "\r\n" + lines.at(4) + "\n").toLatin1());
        file.close();
        f.state.strStoredRecords = stored;
        f.state.strResults = QStringList{QStringLiteral("earlier results")};
        QPointer<SearchScreen> s = f.open<SearchScreen>(twin);
        s->show();
        QVERIFY(QTest::qWaitForWindowActive(s));

        // The minutes are completed on the screen as far as the checks got.
        s->txtFromMonth->clear();
        QTest::keyClicks(s->txtFromHour, "9");
        QTest::keyClicks(s->txtToMin, "5");
        QTest::keyClicks(s->txtToHour, "1");
        QTest::keyClicks(s->txtCardKeyless, "1");
        QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
        QCOMPARE(f.prompts.texts(), QStringList{"Please enter the starting month for this search"});
        QCOMPARE(s->txtFromMin->text() + "," + s->txtToMin->text(), twin == D ? "00,05" : "00,5");
        QCOMPARE(QApplication::focusWidget(), s->txtFromMonth);
        QCOMPARE(f.state.strResults, QStringList{"earlier results"});
        QCOMPARE(f.state.criteria.strCritCardKeyless, QStringLiteral("1")); // recorded before the checks
        QVERIFY(f.flow.opened.isEmpty());

        f.prompts.reset();
        for (QLineEdit *w : {s->txtFromHour, s->txtFromMin, s->txtToHour, s->txtToMin, s->txtCardKeyless})
            w->clear();
        s->txtFromMonth->setText(twin == D ? "3" : ""); // the stored screen without dates: a search without times
        s->txtFacility->setText(QStringLiteral("123"));
        QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
        QTRY_COMPARE(f.flow.opened, QList<Screen>{twin == D ? Screen::DisplayedResults : Screen::StoredResults});
        QVERIFY(f.prompts.shown.isEmpty());
        QCOMPARE(f.state.strResults, twin == D ? lines.mid(2, 1) : lines.mid(3));
        QCOMPARE(f.state.criteria.strFromTime, twin == D ? "AM 3/7/2006" : "AM //2006");
        QTRY_VERIFY(s.isNull());
    }
}

// A stored-file search cancelled from its progress dialog hands over nothing:
// the screen takes commands again, the results and the file stay as they were.
void TestSearchScreens::cancelStoredSearch()
{
    QTemporaryDir dir;
    const QString stored = dir.filePath("stored.txt");
    const QByteArray record = gt::test::recordAt("3/7/2006 9:00:00 AM", QStringLiteral("1 V 123 000001")).toLatin1();
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += record + "\r\n";
    QFile file(stored);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    Fixture f;
    f.state.strStoredRecords = stored;
    f.state.strResults = QStringList{QStringLiteral("earlier results")};
    QPointer<SearchScreen> s = f.open<SearchScreen>(S);
    s->show();
    QVERIFY(QTest::qWaitForWindowActive(s));
    s->txtCardKeyless->setText(QStringLiteral("1"));
    QTest::mouseClick(s->cmdSearch, Qt::LeftButton);
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(s->searching() && !s->cmdSearch->isEnabled() && !s->menuBar()->isEnabled());
    auto *progress = s->findChild<QProgressDialog *>("dlgProgress");
    QVERIFY(progress);
    QCOMPARE(progress->labelText(), QStringLiteral("Searching stored.txt ..."));
    // Its Cancel button, as the operator finds it once the dialog shows.
    QPushButton *cancel = progress->findChild<QPushButton *>();
    QVERIFY(cancel && cancel->text() == "Cancel");
    cancel->click();
    QVERIFY(!s->searching() && s->cmdSearch->isEnabled() && s->menuBar()->isEnabled());
    QTest::qWait(100);
    QVERIFY(s && f.flow.opened.isEmpty() && f.prompts.shown.isEmpty());
    QCOMPARE(f.state.strResults, QStringList{"earlier results"});
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == bytes);
}

QTEST_MAIN(TestSearchScreens)
#include "tst_search_screens.moc"
