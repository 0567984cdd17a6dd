// A site that runs itself: the autostart entry behind Setup > Start at
// Login.

#include "AutostartEntry.h"
#include "MainScreen.h"
#include "Program.h"
#include "TestFiles.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace gt;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

int modeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestUnattended : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void autostartEntryText_data();
    void autostartEntryText();
    void startAtLogin();
    void startAtLoginFailure();

private:
    // Every autostart entry of this test goes here, never into the real home.
    QTemporaryDir m_config;
    QString entry() const { return m_config.filePath(QStringLiteral("autostart/gatetally.desktop")); }
};

void TestUnattended::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QCOMPARE(autostart::entryPath(), entry());
}

// The Exec line of the entry, from the command: plain words as they are, a
// word the desktop would split or expand quoted and escaped, then escaped
// once more as a desktop entry's string value.
void TestUnattended::autostartEntryText_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QByteArray>("exec");
    QTest::newRow("plain") << QStringList{"/usr/bin/gatetally", "--data-dir", "/home/op/.local/share/gt"}
                           << QByteArray("Exec=/usr/bin/gatetally --data-dir /home/op/.local/share/gt");
    QTest::newRow("spaces") << QStringList{"/opt/gate tally/gatetally", "--data-dir", "/srv/site data"}
                            << QByteArray("Exec=\"/opt/gate tally/gatetally\" --data-dir \"/srv/site data\"");
    QTest::newRow("specials") << QStringList{"/usr/bin/gatetally", "--data-dir", "/srv/100% $HOME \"a\\b\"`x`"}
                              << QByteArray("Exec=/usr/bin/gatetally --data-dir "
                                            "\"/srv/100%% \\\\$HOME \\\\\"a\\\\\\\\b\\\\\"\\\\`x\\\\`\"");
    QTest::newRow("non-ASCII, empty word") << QStringList{"/usr/bin/gatetally", "--data-dir", "/srv/Zürich", ""}
                                           << QByteArray("Exec=/usr/bin/gatetally --data-dir /srv/Z\xc3\xbcrich \"\"");
}

void TestUnattended::autostartEntryText()
{
    QFETCH(QStringList, command);
    QFETCH(QByteArray, exec);
    QCOMPARE(autostart::entryContents(command), "[Desktop Entry]\n"
                                                "Type=Application\n"
                                                "Name=Quorvel Gatetally\n"
                                                "Comment=Starts the door access log when you log in\n"
                                                + exec
                                                + "\n"
                                                  "Icon=gatetally\n"
                                                  "Terminal=false\n"
                                                  "X-GNOME-Autostart-enabled=true\n");
}

// Checking the item writes the entry for this program on this data folder
// (its folder made, the file its owner's only); unchecking removes it; the
// check follows the file when someone else removes it or puts it there.
void TestUnattended::startAtLogin()
{
    test::Program p;
    p.start();
    QAction *item = p.main()->findChild<QAction *>(QStringLiteral("mnuSetupAutostart"));
    auto *setup = p.main()->findChild<QMenu *>(QStringLiteral("mnuSetup"));
    QVERIFY(item && setup && setup->actions().contains(item));
    QVERIFY(item->isCheckable() && !item->isChecked());
    QCOMPARE(item->text(), QStringLiteral("Start at &Login"));

    item->trigger();
    QVERIFY(item->isChecked());
    const QList<QByteArray> lines = readBytes(entry()).split('\n');
    QVERIFY(lines.contains("Exec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) + " --data-dir "
                           + QFile::encodeName(p.dir.path())));
    QCOMPARE(modeOf(entry()), 0600);
    QCOMPARE(modeOf(QFileInfo(entry()).path()), 0700);

    item->trigger();
    QVERIFY(!item->isChecked() && !QFile::exists(entry()));

    QVERIFY(writeBytes(entry(), "[Desktop Entry]\n"));
    QMetaObject::invokeMethod(setup, "aboutToShow");
    QVERIFY(item->isChecked());
    QVERIFY(QFile::remove(entry()));
    QMetaObject::invokeMethod(setup, "aboutToShow");
    QVERIFY(!item->isChecked());
    QCOMPARE(p.prompts.shown.size(), 0);
}

// A plain file where the autostart folder should be: the entry cannot be
// written, the operator is told which file and why, and the item stays
// unchecked.
void TestUnattended::startAtLoginFailure()
{
    const QString folder = QFileInfo(entry()).path();
    QDir(folder).removeRecursively();
    QVERIFY(writeBytes(folder, "not a folder"));
    test::Program p;
    p.start();
    p.main()->mnuSetupAutostart->trigger();
    QVERIFY(!p.main()->mnuSetupAutostart->isChecked());
    QCOMPARE(p.prompts.texts(), QStringList{"Gatetally could not be set to start at login: the file " + entry()
                                            + " could not be written:\r\n" + folder + ": Not a directory"});
    QVERIFY(QFile::remove(folder));
}

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
