// Loading the games file with the ROM scan, and filling the list, for generated catalogues; against a
// floor of reading the same file and making the same existence probes in a bare loop.
#include "EnhListView.h"
#include "Emulators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>

using namespace Lanvo;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

QString romSetName(int i)
{
    return QStringLiteral("set%1").arg(i, 6, 10, QLatin1Char('0'));
}

// Every third game is present: half of those as a folder in the first ROM directory, half as a zip
// in the second.
void makeCatalogue(const QString &root, int games)
{
    QDir().mkpath(root + QStringLiteral("/lanvo"));
    QDir().mkpath(root + QStringLiteral("/roms1"));
    QDir().mkpath(root + QStringLiteral("/roms2"));
    QByteArray content;
    for (int i = 0; i < games; ++i) {
        const QString set = romSetName(i);
        content += QStringLiteral("Game number %1                     ;%2;Maker %3                    ;Sport;%4   \r\n")
                       .arg(i)
                       .arg(1990 + i % 9)
                       .arg(i % 37)
                       .arg(set)
                       .toLatin1();
        if (i % 3 != 0)
            continue;
        if (i % 2 == 0)
            QDir().mkpath(root + QStringLiteral("/roms1/") + set);
        else
            QFile(root + QStringLiteral("/roms2/") + set + QStringLiteral(".zip")).open(QIODevice::WriteOnly);
    }
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

bool statIs(const QByteArray &path, bool directory)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && (S_ISDIR(info.st_mode) == directory);
}

// The same file read and the same probes as the scan, without parsing or records.
double floorMilliseconds(const QString &root, int games)
{
    const auto start = Clock::now();
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::ReadOnly);
    volatile qsizetype size = file.readAll().size();
    (void)size;
    const QByteArray r1 = QFile::encodeName(root + QStringLiteral("/roms1/"));
    const QByteArray r2 = QFile::encodeName(root + QStringLiteral("/roms2/"));
    int found = 0;
    for (int i = 0; i < games; ++i) {
        const QByteArray set = romSetName(i).toLatin1();
        bool directory = statIs(r1 + set, true);
        directory = statIs(r2 + set, true) || directory;
        if (directory || statIs(r1 + set + ".zip", false) || statIs(r2 + set + ".zip", false))
            ++found;
    }
    const double elapsed = millisecondsSince(start);
    if (found != (games + 2) / 3)
        std::printf("  floor found %d\n", found);
    return elapsed;
}

// The list fill alone, as RefreshList does it.
void fillList(TEnhListView &list, const TEmulators &catalogue)
{
    list.beginUpdate();
    list.clearRows();
    for (const auto &game : catalogue.Games())
        list.appendRow(game->Name, {game->Year, game->GameType, game->Manufacturer}, game.get(),
                       static_cast<int>(game->Location));
    list.endUpdate();
}

void measure(int games, int repetitions)
{
    const QTemporaryDir dir;
    makeCatalogue(dir.path(), games);
    TEmulators catalogue(nullptr, dir.path());
    catalogue.RomPath1 = catalogue.makePath(QStringLiteral("roms1"));
    catalogue.RomPath2 = catalogue.makePath(QStringLiteral("roms2"));
    TEnhListView list;
    list.setColumns({{QStringLiteral("Name"), 200}, {QStringLiteral("Year"), 60}, {QStringLiteral("Type"), 100},
                     {QStringLiteral("Manufacturer"), 100}});
    catalogue.ListGames = &list;

    double load = 0, refresh = 0, fill = 0, floor = 0;
    for (int r = 0; r < repetitions; ++r) {
        floor += floorMilliseconds(dir.path(), games);
        TEmulators loader(nullptr, dir.path());
        loader.RomPath1 = catalogue.RomPath1;
        loader.RomPath2 = catalogue.RomPath2;
        auto start = Clock::now();
        loader.LoadGames();
        load += millisecondsSince(start);
        start = Clock::now();
        catalogue.RefreshList(gfAll);
        refresh += millisecondsSince(start);
        start = Clock::now();
        fillList(list, catalogue);
        fill += millisecondsSince(start);
    }
    load /= repetitions;
    refresh /= repetitions;
    floor /= repetitions;
    fill /= repetitions;
    std::printf("%6d games: LoadGames+scan %8.2f ms | RefreshList (load, scan, fill) %8.2f ms | "
                "fill of %d rows alone %8.2f ms\n",
                games, load, refresh, list.rowCount(), fill);
    std::printf("%6d games: floor (read file + same probes) %8.2f ms | ratio LoadGames/floor %.2f\n", games,
                floor, load / floor);
    catalogue.ListGames = nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("bench_refresh: load the games file, scan the ROM directories, fill the list\n");
    measure(148, 50);
    measure(50000, 3);
    return 0;
}
