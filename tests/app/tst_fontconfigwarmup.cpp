// The font configuration loaded alongside the application's start: the application then finds the
// same fonts, with the same metrics, as one that loads it on its own, and its starting thread keeps
// every processor.
#include "FontConfigWarmUp.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QProcess>
#include <QTest>

#include <sched.h>

#include <cstdio>
#include <cstring>
#include <optional>

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

// Whether the processors the starting thread may use are the same once the warm-up is done. The child
// has an application, whose font database releases the configuration the warm-up loaded.
int reportProcessors(int argc, char *argv[])
{
    cpu_set_t before;
    cpu_set_t after;
    const bool readBefore = sched_getaffinity(0, sizeof before, &before) == 0;
    FontConfigWarmUp fontConfig;
    const QApplication app(argc, argv);
    fontConfig.wait();
    const bool readAfter = sched_getaffinity(0, sizeof after, &after) == 0;
    std::printf("%s\n", !readBefore || !readAfter ? "unknown" : CPU_EQUAL(&before, &after) ? "kept" : "changed");
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
    void startingThreadKeepsEveryProcessor();
};

void TestFontConfigWarmUp::applicationFindsTheSameFonts()
{
    const QByteArray cold = childReport({QStringLiteral("--fonts"), QStringLiteral("cold")});
    const QByteArray warm = childReport({QStringLiteral("--fonts"), QStringLiteral("warm")});
    QVERIFY2(!cold.isEmpty() && !cold.startsWith("0 families"), cold.constData());
    QCOMPARE(warm, cold);
}

// The warm-up keeps its own thread off the starting thread's processor, and only its own thread.
void TestFontConfigWarmUp::startingThreadKeepsEveryProcessor()
{
    QCOMPARE(childReport({QStringLiteral("--processors")}), QByteArray("kept\n"));
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
