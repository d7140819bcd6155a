// Memory a game costs once loaded and listed: the resident size before and after a refresh of a
// generated catalogue in the real list, divided by the number of games. Also the peak during it.
#include "EnhListView.h"
#include "Emulators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace Lanvo;

namespace {

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM").
long statusKilobytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

// Lines shaped like the built-in ones (padded name and manufacturer); one game in a hundred has its ROM
// set as an archive.
void makeCatalogue(const QString &root, int games)
{
    QDir().mkpath(root + QStringLiteral("/lanvo"));
    QDir().mkpath(root + QStringLiteral("/roms"));
    QFile file(root + QStringLiteral("/lanvo/GAMES.CSV"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    static const char *const types[] = {"Sport", "Shooter", "Fighting", "Puzzle", "Platform"};
    for (int i = 0; i < games; ++i) {
        const QByteArray set = "set" + QByteArray::number(i);
        const QByteArray name = "Game number " + QByteArray::number(i) + " of the big catalogue";
        const QByteArray maker = "Maker " + QByteArray::number(i % 97);
        file.write(name.leftJustified(45) + ";" + QByteArray::number(1980 + i % 25) + ";"
                   + maker.leftJustified(28) + ";" + types[i % 5] + ";" + set + "\r\n");
        if (i % 100 == 0)
            QFile(root + QStringLiteral("/roms/") + QString::fromLatin1(set) + QStringLiteral(".zip"))
                .open(QIODevice::WriteOnly);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int games = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const QTemporaryDir dir;
    makeCatalogue(dir.path(), games);

    TEmulators catalogue(nullptr, dir.path());
    catalogue.RomPath1 = catalogue.makePath(QStringLiteral("roms"));
    catalogue.RomPath2 = catalogue.RomPath1;
    TEnhListView list;
    list.setColumns({{QStringLiteral("Name"), 200}, {QStringLiteral("Year"), 60}, {QStringLiteral("Type"), 100},
                     {QStringLiteral("Manufacturer"), 100}});
    list.loaded();
    catalogue.ListGames = &list;

    const long before = statusKilobytes("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    catalogue.RefreshList(gfAll);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = statusKilobytes("VmRSS");
    const long peak = statusKilobytes("VmHWM");
    std::printf("bench_memory: %d games, %d rows; refresh %.2f s\n", games, list.rowCount(), seconds);
    std::printf("  resident before %ld kB, after %ld kB, peak %ld kB\n", before, after, peak);
    std::printf("  bytes per game: %.0f resident after the refresh, %.0f at the peak\n",
                (after - before) * 1024.0 / games, (peak - before) * 1024.0 / games);
    catalogue.ListGames = nullptr;
    return 0;
}
