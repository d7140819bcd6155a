// The main window on a real display server: a private headless Wayland compositor, or an X server.
// What the screen shows is read from the server's own screenshot, not from Qt's idea of the window.
#include "AboutDialog.h"
#include "Main.h"
#include "OptionsDialog.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>
#include <optional>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A compositor of the test's own: its runtime folder and socket, ended with the object.
class PrivateCompositor
{
public:
    bool start()
    {
        if (!m_runtime.isValid() || !QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("WAYLAND_DISPLAY", "lanvo-test");
        m_weston.setProgram(QStringLiteral("weston"));
        // The screenshot protocol is offered only to a compositor started for debugging.
        m_weston.setArguments({"--backend=headless-backend.so", "--use-pixman", "--socket=lanvo-test", "--width=1024",
                               "--height=768", "--idle-time=0", "--debug"});
        m_weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_weston.setStandardOutputFile(QProcess::nullDevice());
        m_weston.start();
        if (!m_weston.waitForStarted())
            return false;
        const QDeadlineTimer deadline(20000);
        while (!QFile::exists(m_runtime.filePath("lanvo-test")) && !deadline.hasExpired())
            QThread::msleep(20);
        return QFile::exists(m_runtime.filePath("lanvo-test"));
    }
    ~PrivateCompositor()
    {
        m_weston.terminate();
        if (!m_weston.waitForFinished(5000))
            m_weston.kill();
        m_weston.waitForFinished();
    }

private:
    QTemporaryDir m_runtime;
    QProcess m_weston;
};

QImage screenshot()
{
    const QTemporaryDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    if (onWayland())
        shooter.start(QStringLiteral("weston-screenshooter"), {});
    else
        shooter.start(QStringLiteral("import"), {"-window", "root", dir.filePath("screen.png")});
    if (!shooter.waitForFinished(20000) || shooter.exitCode() != 0)
        return {};
    const QStringList shots = QDir(dir.path()).entryList({"*.png"}, QDir::Files);
    return shots.isEmpty() ? QImage() : QImage(dir.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
}

// Pixels that differ from the bare desktop, below the compositor's panel (its clock changes).
int changedPixels(const QImage &desktop, const QImage &screen)
{
    if (desktop.size() != screen.size())
        return -1;
    int changed = 0;
    for (int y = 40; y < screen.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(desktop.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x)
            changed += a[x] != b[x];
    }
    return changed;
}

bool isOneColour(const QImage &screen)
{
    for (int y = 40; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            if (screen.pixel(x, y) != screen.pixel(0, 40))
                return false;
        }
    }
    return true;
}

// The bare desktop once drawn: the compositor's shell paints its background a moment after it starts.
QImage settledDesktop()
{
    QImage previous = screenshot();
    for (int attempt = 0; attempt < 50; ++attempt) {
        QTest::qWait(200);
        const QImage next = screenshot();
        const bool drawn = !onWayland() || !isOneColour(next); // a bare X server's root is plain
        if (!next.isNull() && drawn && changedPixels(previous, next) == 0)
            return next;
        previous = next;
    }
    return {};
}

} // namespace

class TestWindowPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void windowComesBackAfterARun();
    void closeKeepsAPositionThePlatformCannotTell();
    void dialogsShowOverTheMainWindow_data();
    void dialogsShowOverTheMainWindow();

private:
    QString m_savedCurrent;
};

void TestWindowPlatform::windowComesBackAfterARun()
{
    const QTemporaryDir dir;
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), dir.path());
    writeFile(dir.filePath("corvane.ctl"), "sleep_ms=3000\n");
    writeFile(dir.filePath("corinit.dat"), QByteArray(40, '\0'));
    makeDirectory(dir.filePath("aof3"));
    const QImage desktop = settledDesktop();
    QVERIFY(!desktop.isNull());

    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.ListGames->selectRow(0);
    QVERIFY(window.EmulatorMenu->mnRun->isEnabled());

    // Looked at while the stand-in sleeps: the run's wait keeps timers going.
    std::optional<bool> visibleDuringRun;
    std::optional<bool> minimisedDuringRun;
    QImage duringRun;
    QTimer::singleShot(1500, &window, [&] {
        visibleDuringRun = window.isVisible();
        minimisedDuringRun = window.isMinimized();
        duringRun = screenshot();
    });
    window.EmulatorMenu->mnRun->trigger();
    QCOMPARE(readStandInLog(dir.path()).size(), 1);
    QVERIFY(visibleDuringRun.has_value());

    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.isMinimized());
    QTRY_VERIFY_WITH_TIMEOUT(changedPixels(desktop, screenshot()) > 100000, 10000);
    if (onWayland()) {
        QVERIFY(!*visibleDuringRun);
        QVERIFY(changedPixels(desktop, duringRun) < 1000);
    } else {
        QVERIFY(*minimisedDuringRun); // a bare X server has no window manager to take it off the screen
    }
    QVERIFY(prompts.Messages.isEmpty());
    window.close();
}

void TestWindowPlatform::closeKeepsAPositionThePlatformCannotTell()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nTop=150\r\nLeft=260\r\nHeigh=400\r\nWidth=800\r\n");
    RecordingPrompts prompts;
    {
        TF_Lanvo window({dir.path(), &prompts, {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
    }
    const QSettings saved(dir.filePath("Lanvo.ini"), QSettings::IniFormat);
    QCOMPARE(saved.value("Lanvo/Top").toInt(), 150);
    QCOMPARE(saved.value("Lanvo/Left").toInt(), 260);
    QCOMPARE(saved.value("Lanvo/Width").toInt(), 800);
    QCOMPARE(saved.value("Lanvo/Heigh").toInt(), 400);
}

void TestWindowPlatform::dialogsShowOverTheMainWindow_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("about") << "about";
    QTest::newRow("options") << "options";
}

void TestWindowPlatform::dialogsShowOverTheMainWindow()
{
    QFETCH(QString, dialog);
    const QTemporaryDir dir;
    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage mainOnly = settledDesktop();
    std::unique_ptr<QDialog> shown;
    if (dialog == "about")
        shown = std::make_unique<TF_About>(&window);
    else
        shown = std::make_unique<TF_Options>(&window);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    const int area = shown->width() * shown->height();
    QTRY_VERIFY_WITH_TIMEOUT(changedPixels(mainOnly, screenshot()) > area / 4, 10000);
    shown->close();
    window.close();
}

// The compositor must be listening before the application connects to it.
int main(int argc, char **argv)
{
    std::unique_ptr<PrivateCompositor> compositor;
    if (qgetenv("QT_QPA_PLATFORM").startsWith("wayland")) {
        compositor = std::make_unique<PrivateCompositor>();
        if (!compositor->start()) {
            qCritical("the private compositor did not start (scripts/install-deps installs weston)");
            return 1;
        }
    }
    QApplication app(argc, argv);
    TestWindowPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowplatform.moc"
