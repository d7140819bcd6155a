// Paging through the games list with 50,000 games: the time to scroll one page and paint it, with the
// list's own cell drawing against the style drawing every cell (Qt's standard delegate).
#include "EnhListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Lanvo;

namespace {

constexpr int RowCount = 50000;
constexpr int Pages = 400;

// Names, years, kinds and makers as a big games file holds them: the last three repeat.
void fill(TEnhListView &list)
{
    const QStringList words = {"Crimson", "Orbit", "Metal", "Quest", "Dragon", "Thunder", "Storm", "Knight",
                               "Neon", "Vector", "Soccer", "Puzzle", "Ninja", "Spirit", "Galaxy", "Racer"};
    const QStringList types = {"Shooter", "Fighting", "Sports", "Puzzle", "Racing", "Platform", "Quiz"};
    const QStringList makers = {"Kite", "Orb", "Arc", "Vale", "Nova", "Pixelworks", "Bright Soft"};
    QRandomGenerator random(1996);
    const auto pick = [&](const QStringList &from) { return from.at(int(random.bounded(quint32(from.size())))); };
    list.beginRowsBatch();
    for (int i = 0; i < RowCount; ++i) {
        const QString name = pick(words) + QLatin1Char(' ') + pick(words) + QLatin1Char(' ') + QString::number(i);
        const QString year = QString::number(1990 + random.bounded(16u));
        list.appendRow(name, {year, pick(types), pick(makers)}, nullptr, 1 + int(random.bounded(2u)));
    }
    list.endRowsBatch();
}

// Median milliseconds to move one page down and paint the list, over Pages pages from the top.
double medianPage(TEnhListView &list)
{
    QScrollBar *bar = list.verticalScrollBar();
    bar->setValue(0);
    list.viewport()->repaint();
    std::vector<double> pages;
    for (int page = 0; page < Pages; ++page) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(bar->value() + bar->pageStep());
        list.viewport()->repaint();
        pages.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(pages.begin(), pages.end());
    return pages[pages.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TEnhListView list;
    list.setColumns({{QStringLiteral("Name"), 200, Qt::AlignLeft}, {QStringLiteral("Year"), 60, Qt::AlignLeft},
                     {QStringLiteral("Type"), 100, Qt::AlignLeft},
                     {QStringLiteral("Manufacturer"), 100, Qt::AlignLeft}});
    list.resize(480, 600);
    list.show();
    fill(list);
    QCoreApplication::processEvents(); // lays the rows out and sizes the scroll bar

    medianPage(list); // every glyph drawn once, so that both runs find them ready
    const double own = medianPage(list);
    QAbstractItemDelegate *const cells = list.itemDelegate();
    QStyledItemDelegate styled;
    list.setItemDelegate(&styled);
    const double byStyle = medianPage(list);
    list.setItemDelegate(cells);

    std::printf("bench_scroll: %d games, a page of %d rows, median of %d pages\n", RowCount,
                list.verticalScrollBar()->pageStep(), Pages);
    std::printf("list's cells %7.3f ms a page | style's cells %7.3f ms a page | ratio %.2f\n", own, byStyle,
                own / byStyle);
    return 0;
}
