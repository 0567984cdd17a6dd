#include "AboutBox.h"
#include "GatetallyApp.h"
#include "HelpFiles.h"
#include "HelpViewer.h"
#include "MainScreen.h"
#include "NamesEditor.h"
#include "Navigator.h"
#include "Screens.h"
#include "ScriptedPrompts.h"
#include "SearchScreen.h"
#include "TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using gt::test::ScriptedPrompts;

namespace {

const QStringList kFiles{"helpmain.txt",        "helpsearch.txt",       "helpresults.txt",
                         "helpsavedsearch.txt", "helpsavedresults.txt", "helpviewrecords.txt"};

QString shippedText(const QString &file)
{
    QByteArray bytes = test::readBytes(QStringLiteral(GATETALLY_HELP_TEXTS) + QLatin1Char('/') + file);
    return QString::fromLatin1(bytes.replace("\r\n", "\n")).chopped(1);
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void viewer_data();
    void viewer();
    void fromEachScreen();
    void shippedTexts();
};

// The viewer reads the file of its topic from the first of its folders that
// has it: 8-bit text, CR LF or LF. Each file in the folders holds its own
// name, so the text shows which file was read ("2:" from the second folder).
void TestHelp::viewer_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("inFirst");  // files in the first folder
    QTest::addColumn<QString>("inSecond"); // files in the second folder
    QTest::addColumn<QString>("shown");

    const QString all = kFiles.join(' ');
    QTest::newRow("Main") << "Main" << all << "" << "helpmain.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("Search") << "Search" << all << "" << "helpsearch.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("Results") << "Results" << all << "" << "helpresults.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("SavedSearch") << "SavedSearch" << all << "" << "helpsavedsearch.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("SavedResults") << "SavedResults" << all << "" << "helpsavedresults.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("ViewRecords") << "ViewRecords" << all << "" << "helpviewrecords.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("first folder first") << "Search" << all << all << "helpsearch.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("installed folder") << "Search" << "helpmain.txt" << all
                                      << "2:helpsearch.txt\nd\u00e9j\u00e0\n\nend";
    QTest::newRow("missing file") << "Results" << "helpmain.txt helpsearch.txt" << "" << "";
    QTest::newRow("topic in lower case") << "main" << all << "" << "";
    QTest::newRow("no topic") << "" << all << "" << "";
}

void TestHelp::viewer()
{
    QFETCH(QString, topic);
    QFETCH(QString, inFirst);
    QFETCH(QString, inSecond);
    QFETCH(QString, shown);

    QTemporaryDir first, second;
    for (const QString &f : inFirst.split(' ', Qt::SkipEmptyParts))
        QVERIFY(test::writeBytes(first.filePath(f), f.toLatin1() + "\r\nd\xe9j\xe0\r\n\nend\r\n"));
    for (const QString &f : inSecond.split(' ', Qt::SkipEmptyParts))
        QVERIFY(test::writeBytes(second.filePath(f), "2:" + f.toLatin1() + "\r\nd\xe9j\xe0\r\n\nend\r\n"));
    GatetallyState state;
    state.strHelpTopic = topic;
    ScriptedPrompts prompts;
    test::RecordingFlow flow;
    HelpViewer viewer(state, flow, {first.path(), second.path()});
    QCOMPARE(viewer.txtFileDisplay->toPlainText(), shown);
    QVERIFY(prompts.shown.isEmpty());
}

// Help > Help of every screen there is shows that screen's text, and the
// open viewer comes forward unchanged when another screen asks for help;
// Help > About everywhere shows the one About box. Neither sets the
// calling screen aside.
void TestHelp::fromEachScreen()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Options options;
    options.dataDir = dir.path();
    GatetallyApp app(options, prompts);
    app.showMainScreen();
    AppScreenFlow &flow = app.flow();
    MainScreen *main = app.mainScreen();

    auto help = [&]() { return qobject_cast<HelpViewer *>(flow.openScreen(Screen::Help)); };
    auto about = [&]() { return qobject_cast<AboutBox *>(flow.openScreen(Screen::About)); };
    auto closeHelp = [&] {
        QPointer<HelpViewer> h = help();
        QVERIFY(h);
        test::findAction(h, "mnuFileClose")->trigger();
        QTRY_VERIFY(h.isNull());
    };

    main->mnuHelpHelp->trigger();
    QPointer<HelpViewer> first = help();
    QVERIFY(first && first->isVisible());
    QVERIFY(first->txtFileDisplay->toPlainText().startsWith("QUORVEL GATETALLY - THE MAIN SCREEN\n"));
    QCOMPARE(first->txtFileDisplay->toPlainText(), shippedText("helpmain.txt"));
    QVERIFY(app.navigator().isMainAvailable());

    main->mnuSetupEntrypoints->trigger();
    auto *names = qobject_cast<NamesEditor *>(flow.openScreen(Screen::Names));
    QVERIFY(names && names->isVisible() && app.navigator().isMainAvailable());
    closeHelp();
    names->mnuHelpHelp->trigger();
    QCOMPARE(help()->txtFileDisplay->toPlainText(), shippedText("helpmain.txt"));

    main->mnuEditSearch->trigger();
    auto *search = qobject_cast<SearchScreen *>(flow.openScreen(Screen::DisplayedSearch));
    QVERIFY(search);
    // The viewer still open keeps the main screen's text.
    QPointer<HelpViewer> kept = help();
    search->mnuHelpHelp->trigger();
    QVERIFY(help() == kept);
    QCOMPARE(kept->txtFileDisplay->toPlainText(), shippedText("helpmain.txt"));
    closeHelp();
    search->mnuHelpHelp->trigger();
    QVERIFY(help()->txtFileDisplay->toPlainText().startsWith("QUORVEL GATETALLY - DISPLAYED RECORD SEARCH\n"));
    QCOMPARE(help()->txtFileDisplay->toPlainText(), shippedText("helpsearch.txt"));
    closeHelp();

    flow.open(Screen::StoredSearch, search);
    auto *stored = qobject_cast<SearchScreen *>(flow.openScreen(Screen::StoredSearch));
    QVERIFY(stored);
    stored->mnuViewEntrypoints->trigger();
    QVERIFY(flow.openScreen(Screen::Names) == names);
    stored->mnuHelpHelp->trigger();
    QVERIFY(help()->txtFileDisplay->toPlainText().startsWith("QUORVEL GATETALLY - STORED RECORD SEARCH\n"));
    QCOMPARE(help()->txtFileDisplay->toPlainText(), shippedText("helpsavedsearch.txt"));

    // About, from every screen that has it, the help viewer included.
    QVERIFY(!test::findAction(help(), "mnuFilePrint")->isEnabled());
    test::findAction(help(), "mnuHelpAbout")->trigger();
    QPointer<AboutBox> box = about();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("About"));
    QCOMPARE(box->lblName->text(), QStringLiteral("Quorvel Gatetally"));
    QCOMPARE(box->lblVersion->text(), QStringLiteral("Version 2.1.0"));
    for (QWidget *screen : QList<QWidget *>{main, names, stored}) {
        test::findAction(screen, "mnuHelpAbout")->trigger();
        QVERIFY(about() == box);
        QVERIFY(screen->isVisible());
    }
    box->close();
    QTRY_VERIFY(box.isNull());
    QVERIFY(prompts.shown.isEmpty());
}

// The texts ship as 8-bit text with CR LF line ends (a checkout that
// turned them into LF would break that), beside the program in the build.
void TestHelp::shippedTexts()
{
    const QString besideProgram = qEnvironmentVariable("GATETALLY_BIN_DIR");
    for (const QString &f : kFiles) {
        const QByteArray bytes = test::readBytes(QStringLiteral(GATETALLY_HELP_TEXTS) + QLatin1Char('/') + f);
        QVERIFY2(bytes.size() > 1000, qPrintable(f));
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
        QVERIFY2(bytes.endsWith("\r\n"), qPrintable(f));
        QCOMPARE(test::readBytes(besideProgram + QLatin1Char('/') + f), bytes);
    }
    QCOMPARE(help::helpFolders(QStringLiteral("/opt/gt/bin")),
             (QStringList{"/opt/gt/bin", "/opt/gt/share/gatetally"}));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
