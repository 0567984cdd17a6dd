#include "AboutBox.h"
#include "HelpFiles.h"
#include "HelpViewer.h"
#include "Navigator.h"
#include "Program.h"
#include "Screens.h"
#include "TestFiles.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using namespace gt;

namespace {

const QStringList kFiles{"helpmain.txt",        "helpsearch.txt",       "helpresults.txt",
                         "helpsavedsearch.txt", "helpsavedresults.txt", "helpviewrecords.txt"};

QByteArray shipped(const QString &file) { return test::readBytes(QStringLiteral(GATETALLY_HELP_TEXTS "/") + file); }

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The viewer reads the file of its topic (named exactly) from the first of
    // its two folders that has it, as 8-bit text with CR LF or LF.
    void viewer()
    {
        QTemporaryDir first, second;
        const auto put = [](const QTemporaryDir &dir, const char *file, const QByteArray &text) {
            QVERIFY(test::writeBytes(dir.filePath(file), text + "\r\nd\xe9j\xe0\r\n\nend\r\n"));
        };
        const auto shown = [&](const char *topic) {
            test::ScreenDesk desk;
            desk.state.strHelpTopic = topic;
            return HelpViewer(desk.state, desk.prompts, desk.flow, {first.path(), second.path()}).txtFileDisplay->toPlainText();
        };
        put(second, "helpsearch.txt", "installed");
        QCOMPARE(shown("Search"), QString("installed\nd\u00e9j\u00e0\n\nend"));
        put(first, "helpsearch.txt", "beside");
        QCOMPARE(shown("Search"), QString("beside\nd\u00e9j\u00e0\n\nend"));
        QCOMPARE(shown("search") + shown("Results"), QString());
    }

    // Help > Help of a screen shows that screen's text from beside the
    // program; the open viewer comes forward unchanged when another screen
    // asks. Help > About everywhere shows the one About box. Neither sets the
    // calling screen aside.
    void fromEachScreen()
    {
        test::Program p;
        GatetallyApp &app = p.make();
        app.showMainScreen();
        AppScreenFlow &flow = app.flow();
        auto viewer = [&] { return qobject_cast<HelpViewer *>(flow.openScreen(Screen::Help)); };
        auto showsHelp = [&](QWidget *from, const char *file) {
            test::findAction(from, "mnuHelpHelp")->trigger();
            const QString shown = viewer() ? viewer()->txtFileDisplay->toPlainText() + '\n' : QString();
            return shown == QString::fromLatin1(shipped(file).replace("\r\n", "\n"));
        };
        QWidget *main = app.mainScreen();
        QVERIFY(showsHelp(main, "helpmain.txt"));
        test::findAction(main, "mnuEditSearch")->trigger();
        QWidget *search = flow.openScreen(Screen::DisplayedSearch);
        QPointer<HelpViewer> kept = viewer();
        QVERIFY(showsHelp(search, "helpmain.txt") && viewer() == kept);
        test::findAction(kept, "mnuFileClose")->trigger();
        QTRY_VERIFY(kept.isNull());
        QVERIFY(showsHelp(search, "helpsearch.txt") && viewer()->isVisible() && search->isVisible());
        QPointer<AboutBox> box;
        for (QWidget *screen : QList<QWidget *>{viewer(), search}) {
            test::findAction(screen, "mnuHelpAbout")->trigger();
            if (!box)
                box = qobject_cast<AboutBox *>(flow.openScreen(Screen::About));
            QVERIFY(box && flow.openScreen(Screen::About) == box && box->isVisible() && screen->isVisible());
        }
        QCOMPARE(box->windowTitle() + '|' + box->lblName->text() + '|' + box->lblVersion->text(),
                 QStringLiteral("About|Quorvel Gatetally|Version 2.1.0"));
        QVERIFY(p.prompts.shown.isEmpty());
    }

    // The texts ship as 8-bit text with CR LF line ends (a checkout that turned
    // them into LF would break that); an installed program finds them in its
    // data folder.
    void shippedTexts()
    {
        for (const QString &f : kFiles) {
            const QByteArray bytes = shipped(f);
            QVERIFY2(bytes.size() > 1000 && bytes.endsWith("\r\n") && bytes.count("\n") == bytes.count("\r\n"),
                     qPrintable(f));
        }
        QCOMPARE(help::helpFolders("/opt/gt/bin"), (QStringList{"/opt/gt/bin", "/opt/gt/share/gatetally"}));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
