// Sorting the games list by a header click on 50,000 rows, against a plain sort of the same texts.
#include "EnhListView.h"

#include <QApplication>
#include <QCollator>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Lanvo;

namespace {

constexpr int RowCount = 50000;
constexpr int Runs = 3;

struct Game
{
    QString Name;
    QStringList SubItems; // year, type, maker
};

std::vector<Game> makeGames()
{
    const QStringList words = {"Crimson", "Orbit", "Metal", "Quest", "Dragon", "Thunder", "Storm", "Knight",
                               "Neon", "Vector", "Soccer", "Puzzle", "Ninja", "Spirit", "Galaxy", "Racer"};
    const QStringList types = {"Shooter", "Fighting", "Sports", "Puzzle", "Racing", "Platform", "Quiz"};
    const QStringList makers = {"Kite", "Orb", "Arc", "Vale", "Nova", "Pixelworks", "Bright Soft"};
    QRandomGenerator random(1996);
    std::vector<Game> games;
    games.reserve(RowCount);
    for (int i = 0; i < RowCount; ++i) {
        const auto pick = [&](const QStringList &from) { return from.at(int(random.bounded(quint32(from.size())))); };
        const QString name = pick(words) + QLatin1Char(' ') + pick(words) + QLatin1Char(' ') + QString::number(i % 97);
        const QString year = random.bounded(20u) == 0 ? QString() : QString::number(1990 + random.bounded(16u));
        games.push_back({name, {year, pick(types), pick(makers)}});
    }
    return games;
}

double millisecondsOf(const std::function<void()> &work)
{
    double best = 1e300;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void fill(TEnhListView &list, const std::vector<Game> &games)
{
    list.beginRowsBatch();
    list.clearRows();
    for (const Game &game : games)
        list.appendRow(game.Name, game.SubItems, nullptr, 1);
    list.endRowsBatch();
}

// The floors: the column's texts alone, sorted by a plain comparison.
double plainSort(const QStringList &texts, const std::function<bool(const QString &, const QString &)> &less)
{
    return millisecondsOf([&] {
        std::vector<QString> copy(texts.cbegin(), texts.cend());
        std::sort(copy.begin(), copy.end(), less);
    });
}

void report(const char *what, double click, double byCompare, double byCollator)
{
    std::printf("click %-5s %9.1f ms   QString::compare sort %8.1f ms (ratio %5.1f)   "
                "QCollator::compare sort %8.1f ms (ratio %5.2f)\n",
                what, click, byCompare, click / byCompare, byCollator, click / byCollator);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<Game> games = makeGames();

    TEnhListView list;
    list.setColumns({{QStringLiteral("Name"), 200, Qt::AlignLeft}, {QStringLiteral("Year"), 60, Qt::AlignLeft},
                     {QStringLiteral("Type"), 100, Qt::AlignLeft},
                     {QStringLiteral("Manufacturer"), 100, Qt::AlignLeft}});
    list.SetAutoColumnSort(acsSortToggle);
    list.SetAutoResort(false);
    list.SetReverseSortArrows(true);
    list.loaded();
    list.SetShowSortArrows(true);

    std::printf("%d rows, locale %s\n", RowCount, qPrintable(QLocale::system().name()));
    const double filling = millisecondsOf([&] { fill(list, games); });
    std::printf("fill through the list rows interface: %.1f ms (%.2f us a row)\n", filling,
                filling * 1000 / RowCount);

    QStringList names;
    QStringList years;
    for (const Game &game : games) {
        names << game.Name;
        years << game.SubItems.first();
    }
    const QCollator collator;
    const auto byCompare = [](const QString &a, const QString &b) { return QString::compare(a, b) < 0; };
    const auto byCollator = [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; };

    // Each click sorts from the order the one before left, as a user's clicks do.
    const double clickName = millisecondsOf([&] { list.clickColumn(0); });
    report("Name", clickName, plainSort(names, byCompare), plainSort(names, byCollator));
    const double clickYear = millisecondsOf([&] { list.clickColumn(1); });
    report("Year", clickYear, plainSort(years, byCompare), plainSort(years, byCollator));
    return 0;
}
