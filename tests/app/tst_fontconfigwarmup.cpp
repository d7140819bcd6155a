// The font configuration loaded alongside the application's start: the application then finds the
// same fonts, with the same metrics, as one that loads it on its own, and its threads keep every
// processor.
#include "FontConfigWarmUp.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QProcess>
#include <QTest>

#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <optional>
#include <thread>

using namespace Lanvo;

namespace {

// A child's report: what an application started that way knows of its fonts.
int reportFonts(bool warmUp, int argc, char *argv[])
{
    std::optional<FontConfigWarmUp> fontConfig;
    if (warmUp)
        fontConfig.emplace();
    const QApplication app(argc, argv);
    if (fontConfig)
        fontConfig->wait();
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    std::printf("%d families\n%s\n%s\n%d %d\n", int(QFontDatabase::families().size()),
                qPrintable(QFontDatabase::families().join(QLatin1Char('|'))), qPrintable(QFontInfo(font).family()),
                metrics.horizontalAdvance(QStringLiteral("Ninja Master's (1996)")), metrics.height());
    return 0;
}

const char *comparedProcessors(bool readBefore, const cpu_set_t &before, pid_t thread)
{
    cpu_set_t after;
    if (!readBefore || sched_getaffinity(thread, sizeof after, &after) != 0)
        return "unknown";
    return CPU_EQUAL(&before, &after) ? "kept" : "changed";
}

// Whether the processors the starting thread may use, and those of a thread it starts meanwhile, are
// the same once the warm-up is done. The child has an application, whose font database releases the
// configuration the warm-up loaded.
int reportProcessors(int argc, char *argv[])
{
    cpu_set_t before;
    const bool readBefore = sched_getaffinity(0, sizeof before, &before) == 0;
    FontConfigWarmUp fontConfig;
    std::promise<pid_t> started;
    std::promise<void> done;
    std::thread meanwhile([&started, finished = done.get_future()] {
        started.set_value(gettid());
        finished.wait();
    });
    const pid_t other = started.get_future().get();
    const QApplication app(argc, argv);
    fontConfig.wait();
    std::printf("%s %s\n", comparedProcessors(readBefore, before, 0), comparedProcessors(readBefore, before, other));
    done.set_value();
    meanwhile.join();
    return 0;
}

QByteArray childReport(const QStringList &arguments)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return {};
    return child.readAllStandardOutput();
}

} // namespace

class TestFontConfigWarmUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void applicationFindsTheSameFonts();
    void threadsKeepEveryProcessor();
};

void TestFontConfigWarmUp::applicationFindsTheSameFonts()
{
    const QByteArray cold = childReport({QStringLiteral("--fonts"), QStringLiteral("cold")});
    const QByteArray warm = childReport({QStringLiteral("--fonts"), QStringLiteral("warm")});
    QVERIFY2(!cold.isEmpty() && !cold.startsWith("0 families"), cold.constData());
    QCOMPARE(warm, cold);
}

// The warm-up and the starting thread keep to a processor each while it runs; afterwards the starting
// thread, and a thread it started meanwhile, have all their processors again.
void TestFontConfigWarmUp::threadsKeepEveryProcessor()
{
    QCOMPARE(childReport({QStringLiteral("--processors")}), QByteArray("kept kept\n"));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--fonts") == 0)
        return reportFonts(std::strcmp(argv[2], "warm") == 0, argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--processors") == 0)
        return reportProcessors(argc, argv);
    QCoreApplication app(argc, argv);
    TestFontConfigWarmUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fontconfigwarmup.moc"
