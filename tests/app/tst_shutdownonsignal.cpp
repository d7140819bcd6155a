// Real signals sent to the test process end it as the close box would, after the emulator has ended.
#include "Main.h"
#include "Platform.h"
#include "Processes.h"
#include "ShutdownOnSignal.h"
#include "TestFakes.h"

#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <unistd.h>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestShutdownOnSignal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { adoptOrphans(); }
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void signalClosesAndSaves_data();
    void signalClosesAndSaves();
    void signalDuringRunEndsTheEmulatorFirst();
    void signalDuringRunEndsWhatTheEmulatorStarted();
    void emulatorIgnoringTermIsKilled();
    void signalClosesAnOpenDialog();

private:
    QString m_savedCurrent;
};

namespace {

QByteArray initFile()
{
    QByteArray bytes(24, '\x11');
    bytes[18] = 0; // Japanese
    bytes[19] = 0; // console
    return bytes;
}

void prepareStart(const QString &dir)
{
    writeFile(dir + "/corvane.exe", "MZ");
    writeFile(dir + "/corinit.dat", initFile());
    writeFile(dir + "/Lanvo.ini", "[Lanvo]\r\nVersion=1.61\r\n; mine\r\n");
    writeFile(dir + "/lanvo/GAMES.CSV", "Alpha;1990;Maker;Sport;alpha\r\n");
}

QString preparedStart(const QString &dir)
{
    prepareStart(dir);
    return dir;
}

// The window of a prepared start folder, shown, with the signal handler and a spy on its closing.
struct ShownWindow
{
    ShownWindow() { Window.show(); }

    QTemporaryDir Dir;
    RecordingPrompts Prompts;
    TF_Lanvo Window{{preparedStart(Dir.path()), &Prompts, {}}};
    ShutdownOnSignal Shutdown{&Window};
    QSignalSpy Closed{&Shutdown, &ShutdownOnSignal::windowClosed};
};

// A program that outlives any test unless it is ended.
const QStringList LongSleep{"-c", "exec sleep 600"};

} // namespace

void TestShutdownOnSignal::signalClosesAndSaves_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestShutdownOnSignal::signalClosesAndSaves()
{
    QFETCH(int, signalNumber);
    const QTemporaryDir dir;
    prepareStart(dir.path());
    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    QVERIFY(!window.startupOutcome().EndProgram);
    window.emulateur->Language = glUs;
    window.emulateur->Vga = true;
    window.show();
    const ShutdownOnSignal shutdown(&window);
    QSignalSpy closed(&shutdown, &ShutdownOnSignal::windowClosed);

    QCOMPARE(::raise(signalNumber), 0);
    QVERIFY(closed.wait());
    QVERIFY(!window.isVisible());
    const QByteArray settings = readFile(dir.filePath("Lanvo.ini"));
    QVERIFY(settings.startsWith("[Lanvo]\r\nVersion=1.61\r\n; mine\r\n"));
    QVERIFY(settings.contains("Vga=ON\r\n"));
    QCOMPARE(readFile(dir.filePath("corinit.dat")).at(18), char(1)); // the init file is patched
    QVERIFY(prompts.Messages.isEmpty());
}

void TestShutdownOnSignal::signalDuringRunEndsTheEmulatorFirst()
{
    ShownWindow shown;
    bool runningAtClose = true;
    connect(&shown.Shutdown, &ShutdownOnSignal::windowClosed, this, [&] { runningAtClose = isProgramRunning(); });

    RunHooks hooks;
    hooks.Started = [] { ::kill(::getpid(), SIGTERM); }; // a logout while the emulator runs
    QVERIFY(runAndWait("/bin/sh", LongSleep, hooks)); // returns only once the program has ended
    QVERIFY(shown.Closed.count() == 1 || shown.Closed.wait());
    QVERIFY(!runningAtClose);
    QVERIFY(!shown.Window.isVisible());
    QVERIFY(readFile(shown.Dir.filePath("Lanvo.ini")).contains("WindowState="));
}

// A logout once the emulator has started a program of its own: that one ends too.
void TestShutdownOnSignal::signalDuringRunEndsWhatTheEmulatorStarted()
{
    ShownWindow shown;
    const QString childFile = shown.Dir.filePath("child.pid");
    QTimer poll;
    poll.callOnTimeout([&] {
        if (pidInFile(childFile) > 0) {
            poll.stop();
            ::kill(::getpid(), SIGTERM);
        }
    });
    poll.start(10);

    QDir::setCurrent(shown.Dir.path());
    QVERIFY(runAndWait("/bin/sh", {"-c", "sleep 600 & echo $! > child.pid; wait"}, {}));
    QVERIFY(shown.Closed.count() == 1 || shown.Closed.wait());
    const qint64 child = pidInFile(childFile);
    QVERIFY(child > 0);
    QTRY_VERIFY(processGone(child));
}

void TestShutdownOnSignal::emulatorIgnoringTermIsKilled()
{
    RunHooks hooks;
    hooks.Started = [] { QVERIFY(endRunningProgram(100)); };
    // SIGTERM stays ignored across exec, so only the SIGKILL that follows can end it.
    QVERIFY(runAndWait("/bin/sh", {"-c", "trap '' TERM; exec sleep 600"}, hooks));
    QVERIFY(!isProgramRunning());
    QVERIFY(!endRunningProgram(100)); // nothing runs any more
}

void TestShutdownOnSignal::signalClosesAnOpenDialog()
{
    ShownWindow shown;
    QMessageBox box(QMessageBox::Information, "Lanvo_NR", "open", QMessageBox::Ok, &shown.Window);
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    box.exec(); // returns because the signal closed it
    QVERIFY(shown.Closed.count() == 1 || shown.Closed.wait());
    QVERIFY(!shown.Window.isVisible());
    QVERIFY(readFile(shown.Dir.filePath("Lanvo.ini")).contains("WindowState="));
}

QTEST_MAIN(TestShutdownOnSignal)
#include "tst_shutdownonsignal.moc"
