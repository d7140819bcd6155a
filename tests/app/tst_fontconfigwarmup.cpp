// The font configuration loaded alongside the application's start: the application then finds the
// same fonts, with the same metrics, as one that loads it on its own.
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

QByteArray childReport(const char *mode)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--fonts"), QString::fromLatin1(mode)});
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
    const QByteArray cold = childReport("cold");
    const QByteArray warm = childReport("warm");
    QVERIFY2(!cold.isEmpty() && !cold.startsWith("0 families"), cold.constData());
    QCOMPARE(warm, cold);
}

// The warm-up keeps its own thread off the starting thread's processor, and only its own thread.
void TestFontConfigWarmUp::startingThreadKeepsEveryProcessor()
{
    cpu_set_t before;
    QCOMPARE(sched_getaffinity(0, sizeof before, &before), 0);
    FontConfigWarmUp().wait();
    cpu_set_t after;
    QCOMPARE(sched_getaffinity(0, sizeof after, &after), 0);
    QVERIFY(CPU_EQUAL(&before, &after));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--fonts") == 0)
        return reportFonts(std::strcmp(argv[2], "warm") == 0, argc, argv);
    QCoreApplication app(argc, argv);
    TestFontConfigWarmUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fontconfigwarmup.moc"
