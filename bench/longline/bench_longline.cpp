// A games file with one 50 MB line: loading it, filling the shown list and painting it, twice (start-up
// and F5), with the peak memory of the process. The floor is reading the same file.
#include "BenchTiming.h"
#include "EnhListView.h"
#include "Emulators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

using namespace Lanvo;
using Lanvo::Bench::Clock;
using Lanvo::Bench::millisecondsSince;

namespace {

constexpr qsizetype LineBytes = 50 * 1024 * 1024;

long peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void writeGamesFile(const QString &root)
{
    QDir().mkpath(root + QStringLiteral("/lanvo"));
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::WriteOnly);
    file.write("Alpha;1990;Maker;Sport;alpha\r\n");
    // One name of 50 MB: words with single spaces, as a damaged or hostile file could hold.
    QByteArray line;
    line.reserve(LineBytes);
    while (line.size() < LineBytes)
        line += "Long name ";
    file.write(line + ";1991;Maker;Sport;long\r\n");
    file.write("Omega;1998;Maker;Sport;omega\r\n");
}

double floorMilliseconds(const QString &root)
{
    const auto start = Clock::now();
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::ReadOnly);
    volatile qsizetype size = file.readAll().size();
    (void)size;
    return millisecondsSince(start);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QTemporaryDir dir;
    writeGamesFile(dir.path());
    TEmulators catalogue(nullptr, dir.path());
    TEnhListView list;
    list.setColumns({{QStringLiteral("Name"), 200}, {QStringLiteral("Year"), 60}, {QStringLiteral("Type"), 100},
                     {QStringLiteral("Manufacturer"), 100}});
    list.resize(800, 400);
    list.show();
    catalogue.ListGames = &list;

    std::printf("bench_longline: a games file with one line of %lld bytes\n", static_cast<long long>(LineBytes));
    std::printf("floor (read the file)       %9.1f ms\n", floorMilliseconds(dir.path()));
    for (const char *what : {"start-up refresh and paint", "F5 refresh and paint"}) {
        const auto start = Clock::now();
        catalogue.RefreshList(gfAll);
        list.grab(); // paints every visible cell
        QCoreApplication::processEvents();
        std::printf("%-27s %9.1f ms (%d rows)\n", what, millisecondsSince(start), list.rowCount());
    }
    std::printf("peak resident memory        %9ld MB\n", peakResidentMegabytes());
    catalogue.ListGames = nullptr;
    return 0;
}
