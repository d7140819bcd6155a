// Loading the games file with the ROM scan, and filling the list, for generated catalogues; against two
// floors measured in the same run: reading the same file and making the literal existence probes (two
// to four per game), and reading the same file, listing each ROM folder once into a hash set and looking
// every game up in it. With --cold the page cache is dropped before one more refresh (needs root).
// Figures are medians over the repetitions; the header says what they were measured on, since the
// file system under the tree (how fast it lists, whether it reports entry types) moves the floor.
#include "BenchTiming.h"
#include "EnhListView.h"
#include "Emulators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <dirent.h>
#include <sys/statfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <unordered_set>

using namespace Lanvo;
using Lanvo::Bench::Clock;
using Lanvo::Bench::millisecondsSince;
using Lanvo::Bench::median;

namespace {

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

std::unordered_set<std::string> listFolder(const QByteArray &path)
{
    std::unordered_set<std::string> names;
    if (DIR *dir = ::opendir(path.constData())) {
        while (const dirent *entry = ::readdir(dir))
            names.emplace(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

// The same file read, each ROM folder listed once and every game looked up, without parsing or records.
double listingFloorMilliseconds(const QString &root, int games)
{
    const auto start = Clock::now();
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    file.open(QIODevice::ReadOnly);
    volatile qsizetype size = file.readAll().size();
    (void)size;
    const std::unordered_set<std::string> r1 = listFolder(QFile::encodeName(root + QStringLiteral("/roms1")));
    const std::unordered_set<std::string> r2 = listFolder(QFile::encodeName(root + QStringLiteral("/roms2")));
    int found = 0;
    std::string set;
    for (int i = 0; i < games; ++i) {
        set = romSetName(i).toStdString();
        const bool directory = r1.count(set) || r2.count(set);
        set += ".zip";
        if (directory || r1.count(set) || r2.count(set))
            ++found;
    }
    const double elapsed = millisecondsSince(start);
    if (found != (games + 2) / 3)
        std::printf("  listing floor found %d\n", found);
    return elapsed;
}

const char *fileSystemName(const QString &path)
{
    struct statfs info;
    if (::statfs(QFile::encodeName(path).constData(), &info) != 0)
        return "unknown";
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53: return "ext2/3/4";
    case 0x01021994: return "tmpfs";
    case 0x58465342: return "xfs";
    case 0x9123683E: return "btrfs";
    case 0x794C7630: return "overlayfs";
    case 0x2FC12FC1: return "zfs";
    case 0x6969: return "nfs";
    default: return "other";
    }
}

// Whether readdir tells folders from files; where it does not, the scan asks for each entry.
bool listingReportsTypes(const QString &folder)
{
    bool reports = false;
    if (DIR *dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                reports = entry->d_type != DT_UNKNOWN;
                break;
            }
        }
        ::closedir(dir);
    }
    return reports;
}

void describeTree(const QString &root)
{
    std::printf("  tree in %s (%s; readdir %s entry types)\n", qPrintable(root), fileSystemName(root),
                listingReportsTypes(root + QStringLiteral("/roms1")) ? "reports" : "does not report");
}

// Drops the page cache, dentries and inodes; false when this process may not.
bool dropCaches()
{
    ::sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    control << "3" << std::flush;
    return control.good();
}

// The list fill alone, as RefreshList does it.
void fillList(TEnhListView &list, TEmulators &catalogue)
{
    list.beginRowsBatch();
    list.clearRows();
    list.setGameTextOf([&catalogue](const TGame &game, int column) { return catalogue.GameText(game, column); });
    for (int i = 0; TGame *game = catalogue.GetGame(i); ++i)
        list.appendGameRow(game, static_cast<int>(game->Location));
    list.endRowsBatch();
}

void measure(int games, int repetitions, bool cold)
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

    if (games == 148)
        describeTree(dir.path());
    std::vector<double> loads, refreshes, fills, floors, listingFloors;
    for (int r = 0; r < repetitions; ++r) {
        floors.push_back(floorMilliseconds(dir.path(), games));
        listingFloors.push_back(listingFloorMilliseconds(dir.path(), games));
        TEmulators loader(nullptr, dir.path());
        loader.RomPath1 = catalogue.RomPath1;
        loader.RomPath2 = catalogue.RomPath2;
        auto start = Clock::now();
        loader.LoadGames();
        loads.push_back(millisecondsSince(start));
        start = Clock::now();
        catalogue.RefreshList(gfAll);
        refreshes.push_back(millisecondsSince(start));
        start = Clock::now();
        fillList(list, catalogue);
        fills.push_back(millisecondsSince(start));
    }
    const double load = median(loads), refresh = median(refreshes), fill = median(fills);
    const double floor = median(floors), listingFloor = median(listingFloors);
    std::printf("%6d games: LoadGames+scan %8.2f ms | RefreshList (load, scan, fill) %8.2f ms | "
                "fill of %d rows alone %8.2f ms\n",
                games, load, refresh, list.rowCount(), fill);
    std::printf("%6d games: floor A (read file + literal probes) %8.2f ms | floor B (read file + one listing "
                "per folder + hash look-ups) %8.2f ms\n",
                games, floor, listingFloor);
    std::printf("%6d games: ratio RefreshList/floor B %.2f | RefreshList/floor A %.3f | LoadGames/floor B %.2f\n",
                games, refresh / listingFloor, refresh / floor, load / listingFloor);
    if (cold) {
        if (!dropCaches()) {
            std::printf("%6d games: cold cache: the page cache can't be dropped here\n", games);
        } else {
            auto start = Clock::now();
            catalogue.RefreshList(gfAll);
            const double coldRefresh = millisecondsSince(start);
            dropCaches();
            const double coldFloor = listingFloorMilliseconds(dir.path(), games);
            dropCaches();
            const double coldProbes = floorMilliseconds(dir.path(), games);
            std::printf("%6d games: cold cache: RefreshList %8.2f ms | floor B %8.2f ms | floor A %8.2f ms\n",
                        games, coldRefresh, coldFloor, coldProbes);
        }
    }
    catalogue.ListGames = nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool cold = QCoreApplication::arguments().contains(QStringLiteral("--cold"));
    std::printf("bench_refresh: load the games file, scan the ROM directories, fill the list\n");
    std::printf("  %s build, %s; locale %s; medians of 51, 7 and 3 repetitions\n", LANVO_BUILD_TYPE,
                LANVO_BUILD_FLAGS, qPrintable(QLocale::system().name()));
    std::printf("  floor B: the games file read whole, each ROM folder listed once into a set of names, and\n"
                "  every game's folder and zip name looked up in the sets: no parsing, records or list\n");
    measure(148, 51, cold);
    measure(50000, 7, cold);
    measure(200000, 3, cold);
    return 0;
}
