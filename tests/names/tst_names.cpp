#include "NamesEditor.h"
#include "Paths.h"
#include "RecordLine.h"
#include "Screens.h"
#include "Settings.h"
#include "TextFile.h"
#include "UpDownArrows.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace gt;

namespace {

const QString kInvalid = QStringLiteral("Invalid Entrance Number!");

// A data folder whose setup.txt names entry points 1 to 100 "Door 1" to
// "Door 100", and an editor opened on it.
struct Fixture : test::ScreenDesk
{
    QStringList setup{QStringLiteral("CommPort=3"), QStringLiteral("autosave=F"), QStringLiteral("/x/Records/a.txt")};
    NamesEditor *editor = nullptr;

    Fixture()
    {
        for (int i = 1; i <= 100; ++i)
            setup << QStringLiteral("Door %1").arg(i);
        replaceTextLines(setupFilePath(dir.path()), setup);
        loadSettings(state);
        editor = new NamesEditor(state, prompts, flow);
        editor->show();
    }
    ~Fixture() { delete editor; }
};

// An operator's steps, "|" between them: "#text", "Ntext" type text ("\b":
// backspace) over all of the number or name box, "#=text", "N=text" paste it;
// "up", "down" click the arrows, "Up", "Down" press those keys; "apply".
void run(NamesEditor *e, const QString &script)
{
    for (const QString &step : script.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QRect r = e->updNumber->rect();
        if (step == "up" || step == "down") {
            QTest::mouseClick(e->updNumber->childAt(r.center().x(), r.height() * (step == "up" ? 1 : 3) / 4), Qt::LeftButton);
        } else if (step == "Up" || step == "Down") {
            QTest::keyClick(e->txtNumber, step == "Up" ? Qt::Key_Up : Qt::Key_Down);
        } else if (step == "apply") {
            QTest::mouseClick(e->cmdApply, Qt::LeftButton);
        } else {
            QLineEdit *box = step.startsWith('N') ? e->txtName : e->txtNumber;
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            if (step.size() > 1 && step.at(1) == '=') {
                QApplication::clipboard()->setText(step.mid(2));
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::keyClicks(box, step.mid(1));
            }
        }
    }
}

} // namespace

class TestNames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // What the operator does; then the boxes, the messages ("|" between them)
    // and the line of setup.txt that changed. A refused number is told and
    // emptied as it is typed, a name fitted as it is typed; a record from the
    // entry point named shows the new name.
    void editing_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<int>("line"); // of setup.txt, 0 for none
        QTest::addColumn<QString>("written");
        QTest::newRow("101") << "#101" << "" << "" << "Only 100 entrances allowed!" << 0 << "";
        QTest::newRow("leading 0, at once") << "#07" << "7" << "Door 7" << kInvalid << 0 << "";
        QTest::newRow("0.4: below entry point 1") << "#=0.4" << "" << "" << kInvalid << 0 << "";
        QTest::newRow("blanks ignored, stops at x") << "#= 1 2x5" << " 1 2x5" << "Door 12" << "" << 0 << "";
        QTest::newRow("half to even: 2.5") << "#=2.5" << "2.5" << "Door 3" << "" << 0 << "";
        QTest::newRow("half to even: 1.5") << "#=1.5" << "1.5" << "Door 1" << "" << 0 << "";
        QTest::newRow("11th character, down at 1") << "NABCDEFGHIJK|down" << "1" << "ABCDEFGHIJ"
                                                   << "Name Too Long!|Lower Limit!" << 0 << "";
        QTest::newRow("beyond Latin-1 left out")
            << QString("N=K\u00f6ln \u20ac") << "1" << QString("K\u00f6ln ")
            << "An entry point name can only hold characters of the Latin-1 character set;\r\nthe others were left out."
            << 0 << "";
        QTest::newRow("apply at 5, 8-bit") << QString("#5|N=Caf\u00e9|apply") << "6" << "Door 6" << "" << 8
                                           << QString("Caf\u00e9");
        QTest::newRow("apply and up at 100 stay") << "#100|NLast|apply|up" << "100" << "Last" << "UpperLimit!" << 103 << "Last";
        QTest::newRow("arrows and arrow keys from an empty box") << "#\b|up|up|Up|down" << "2" << "Door 2" << "" << 0 << "";
        QTest::newRow("down on an empty box") << "#\b|down" << "" << "" << kInvalid << 0 << "";
        QTest::newRow("apply on an empty box stores nothing") << "#\b|NLost|apply" << "" << "Lost" << kInvalid << 0 << "";
    }

    void editing()
    {
        QFETCH(QString, script);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, messages);
        QFETCH(int, line);
        QFETCH(QString, written);
        Fixture f;
        QApplication::clipboard()->setText(QStringLiteral("probe"));
        if (script.contains(QLatin1Char('=')) && QApplication::clipboard()->text() != QLatin1String("probe"))
            QSKIP("no clipboard on this platform");
        run(f.editor, script);
        QCOMPARE(f.editor->txtNumber->text() + '|' + f.editor->txtName->text(), number + '|' + name);
        QCOMPARE(f.prompts.texts().join('|'), messages);

        QStringList expected = f.setup;
        if (line)
            expected[line - 1] = written;
        QStringList lines;
        QVERIFY(readTextLines(setupFilePath(f.dir.path()), &lines));
        QCOMPARE(lines, expected);
        QCOMPARE(f.state.strEntryNames.mid(0, 100), expected.mid(3));
        const QString record = QStringLiteral("  3/7/2006    1:05:09 PM    5    VALID        123    004567");
        QVERIFY(MakeDisplayLine(record, kNameMode, f.state.strEntryNames).contains(' ' + expected.at(7) + ' '));
    }

    // setup.txt cannot be replaced: the operator is told which file and why,
    // the number stays (up and down come back to it), and the name is used for
    // the rest of the run.
    void failedRewrite()
    {
        Fixture f;
        const QString setup = setupFilePath(f.dir.path());
        QVERIFY(QFile::remove(setup) && QDir().mkpath(setup));
        run(f.editor, "#5|NLoading|apply");
        QCOMPARE(f.prompts.texts(), QStringList{QStringLiteral("File Problem!\r\nThe settings file %1 could not be "
                                                               "written:\r\nFilename refers to a directory")
                                                    .arg(setup)});
        run(f.editor, "up|down");
        QCOMPARE(f.editor->txtNumber->text() + '|' + f.editor->txtName->text(), QStringLiteral("5|Loading"));
    }
};

QTEST_MAIN(TestNames)
#include "tst_names.moc"
