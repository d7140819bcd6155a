// RefreshList of 50,000 games with a play history of 50,000 lines (every game played, every tenth one a
// favourite, 40 more lines of sets the catalogue no longer lists), against the same refresh without a
// history file: the floor, measured in the same run, alternating so that both see the same machine.
// The floor's catalogue reads the same games file from a folder that never holds a history, so that
// its refreshes never drop one; the catalogue with the history drops the one it read before, as a
// refresh does.
// Also the refresh of the recently played view, which orders the rows by time, one favourite mark,
// which writes the whole file, and the load of the history alone, which the refresh runs on a thread
// beside the reading of the games.
#include "BenchTiming.h"
#include "EnhListView.h"
#include "Emulators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace Lanvo;
using Lanvo::Bench::Clock;
using Lanvo::Bench::millisecondsSince;
using Lanvo::Bench::median;

namespace {

constexpr int Games = 50000;
constexpr int Repetitions = 25;

QString romSetName(int i)
{
    return QStringLiteral("set%1").arg(i, 6, 10, QLatin1Char('0'));
}

void writeBytes(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        std::printf("  can't write %s\n", qPrintable(path));
}

// Every third game present as a folder, as in bench_refresh; the games file in both data folders.
void makeCatalogue(const QString &root)
{
    QDir().mkpath(root + QStringLiteral("/lanvo"));
    QDir().mkpath(root + QStringLiteral("/floor"));
    QDir().mkpath(root + QStringLiteral("/roms"));
    QByteArray content;
    for (int i = 0; i < Games; ++i) {
        const QString set = romSetName(i);
        content += QStringLiteral("Game number %1;%2;Maker %3;Sport;%4\r\n")
                       .arg(i)
                       .arg(1990 + i % 9)
                       .arg(i % 37)
                       .arg(set)
                       .toLatin1();
        if (i % 3 == 0)
            QDir().mkpath(root + QStringLiteral("/roms/") + set);
    }
    writeBytes(root + QStringLiteral("/lanvo/GAMES.CSV"), content);
    writeBytes(root + QStringLiteral("/floor/GAMES.CSV"), content);
}

// One line per game, in an order of its own, with starts spread over two years.
QByteArray historyLines()
{
    QByteArray content;
    const QDateTime first(QDate(2024, 1, 1), QTime(8, 0));
    for (int n = 0; n < Games; ++n) {
        const int i = (n * 7919) % Games;
        const QDateTime start = first.addSecs(qint64(i) * 1259);
        content += romSetName(i).toLatin1() + ';' + QByteArray::number(1 + i % 17) + ';'
                   + start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() + ';'
                   + QByteArray::number(i % 20000) + ';' + (i % 10 == 0 ? '1' : '0') + "\r\n";
    }
    for (int i = 0; i < 40; ++i)
        content += "gone" + QByteArray::number(i) + ";1;2020-01-01 00:00:00;5;0\r\n";
    return content;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QTemporaryDir dir;
    makeCatalogue(dir.path());
    const QByteArray history = historyLines();

    TEmulators catalogue(nullptr, dir.path());
    catalogue.RomPath1 = catalogue.makePath(QStringLiteral("roms"));
    catalogue.RomPath2 = catalogue.RomPath1;
    writeBytes(catalogue.historyFilePath(), history);
    TEmulators floorCatalogue(nullptr, dir.path());
    floorCatalogue.RomPath1 = catalogue.RomPath1;
    floorCatalogue.RomPath2 = catalogue.RomPath1;
    floorCatalogue.DataDir = floorCatalogue.makePath(QStringLiteral("floor"));
    const std::vector<EnhListModel::Column> columns = {
        {QStringLiteral("Name"), 200},         {QStringLiteral("Year"), 60},   {QStringLiteral("Type"), 100},
        {QStringLiteral("Manufacturer"), 100}, {QStringLiteral("Played"), 60}, {QStringLiteral("Last played"), 120}};
    TEnhListView list;
    list.setColumns(columns);
    catalogue.ListGames = &list;
    TEnhListView floorList;
    floorList.setColumns(columns);
    floorCatalogue.ListGames = &floorList;

    std::vector<double> without, with, recent;
    for (int r = 0; r < Repetitions; ++r) {
        auto start = Clock::now();
        floorCatalogue.RefreshList(gfAll);
        without.push_back(millisecondsSince(start));
        start = Clock::now();
        catalogue.RefreshList(gfAll);
        with.push_back(millisecondsSince(start));
        start = Clock::now();
        catalogue.RefreshList(gfRecentlyPlayed);
        recent.push_back(millisecondsSince(start));
    }
    const int lines = catalogue.History().lineCount();
    std::vector<double> loads;
    for (int r = 0; r < Repetitions; ++r) {
        PlayHistory history;
        const auto start = Clock::now();
        history.load(catalogue.historyFilePath());
        loads.push_back(millisecondsSince(start));
    }
    auto start = Clock::now();
    catalogue.SetFavourite(*catalogue.GetGame(1), true);
    const double mark = millisecondsSince(start);

    const double floor = median(without);
    std::printf("bench_history: %d games, a history of %d lines, median of %d refreshes\n", Games, lines,
                Repetitions);
    std::printf("  RefreshList without a history file (floor) %8.2f ms\n", floor);
    std::printf("  RefreshList with the history               %8.2f ms  ratio %.3f (at most 1.10 wanted)\n",
                median(with), median(with) / floor);
    std::printf("  RefreshList of the recently played view    %8.2f ms  ratio %.3f\n", median(recent),
                median(recent) / floor);
    std::printf("  one favourite mark, the whole file written %8.2f ms\n", mark);
    std::printf("  the history's load alone, on one thread    %8.2f ms  (fastest %.2f ms)\n", median(loads),
                *std::min_element(loads.begin(), loads.end()));
    catalogue.ListGames = nullptr;
    floorCatalogue.ListGames = nullptr;
    return 0;
}
