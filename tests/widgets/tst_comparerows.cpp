#include "CompareRows.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <stdexcept>

using namespace Lanvo;

class TestCompareRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void comparesTheChosenText_data();
    void comparesTheChosenText();
    void missingRowsCompareEqual();
    void keyedSortMatchesPairwiseRule_data();
    void keyedSortMatchesPairwiseRule();
    void equalRowsKeepTheirOrder();
    void sortItemsHandlerReplacesComparison();
    void throwingHandlerMakesRowsEqual();
};

namespace {

using Row = EnhListModel::Row;

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);

Row row(const QString &caption, const QStringList &subItems)
{
    return {caption, subItems, nullptr, 0};
}

QStringList captions(const std::vector<Row> &rows, const std::vector<int> &order)
{
    QStringList result;
    for (const int index : order)
        result << rows[size_t(index)].Caption;
    return result;
}

// Rows like the games list's, with the awkward texts a catalogue can hold.
std::vector<Row> mixedRows(int count)
{
    const QStringList names = {"Alpha", "alpha", "Bravo", "  ", "", "9a", "10a", "Zeta 2", "zeta 10"};
    const QStringList years = {"1990", "", "1985", " 7", "7 ", "1e3", ".", "1.2.3", "10/1/99", "9/1/99",
                               "1:45 PM", "11:00 AM", "13/45/99", "+3", "-2.5"};
    QRandomGenerator random(20240515);
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        QStringList subItems;
        const int subCount = int(random.bounded(3u));
        for (int s = 0; s < subCount; ++s)
            subItems << years.at(int(random.bounded(quint32(years.size()))));
        rows.push_back(row(names.at(int(random.bounded(quint32(names.size())))) + QString::number(i % 3), subItems));
    }
    return rows;
}

} // namespace

void TestCompareRows::comparesTheChosenText_data()
{
    QTest::addColumn<int>("textIndex");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("expected");
    // Rows: A = "Bravo" {"1990", "9"}, B = "alpha" {"", "10"}; C has no sub-items at all.
    QTest::newRow("caption by the locale, not by code") << -1 << 1 << int(assSmart) << 1;
    QTest::newRow("year: empty year first") << 0 << 1 << int(assSmart) << 1;
    QTest::newRow("year descending") << 0 << -1 << int(assSmart) << -1;
    QTest::newRow("second sub-item as numbers") << 1 << 1 << int(assSmart) << -1;
    QTest::newRow("second sub-item as text") << 1 << 1 << int(assDefault) << 1;
    QTest::newRow("second sub-item as text descending") << 1 << -1 << int(assDefault) << -1;
    QTest::newRow("index past every sub-item") << 5 << 1 << int(assSmart) << 0;
}

void TestCompareRows::comparesTheChosenText()
{
    QFETCH(int, textIndex);
    QFETCH(int, direction);
    QFETCH(int, style);
    QFETCH(int, expected);
    const SortLocale locale(UnitedStates);
    const SortContext context{textIndex, direction, static_cast<TAutoSortStyle>(style), &locale};
    const Row a = row("Bravo", {"1990", "9"});
    const Row b = row("alpha", {"", "10"});
    const int sign = (expected > 0) - (expected < 0);
    QCOMPARE(CompareRows(&a, &b, context), sign);
    QCOMPARE(CompareRows(&b, &a, context), -sign);
}

void TestCompareRows::missingRowsCompareEqual()
{
    const SortLocale locale(UnitedStates);
    const SortContext context{0, 1, assSmart, &locale};
    const Row withYear = row("A", {"1990"});
    const Row withoutSubItems = row("B", {});
    QCOMPARE(CompareRows(&withYear, nullptr, context), 0);
    QCOMPARE(CompareRows(nullptr, &withYear, context), 0);
    // A missing sub-item is an empty text, which sorts before any year.
    QCOMPARE(CompareRows(&withoutSubItems, &withYear, context), -1);
    const Row alsoWithout = row("C", {});
    QCOMPARE(CompareRows(&withoutSubItems, &alsoWithout, context), 0);
}

void TestCompareRows::keyedSortMatchesPairwiseRule_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("textIndex");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("style");
    for (const QLocale &locale : {UnitedStates, QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        for (const int textIndex : {-1, 0, 1}) {
            for (const int direction : {1, -1}) {
                for (const int style : {int(assSmart), int(assDefault)}) {
                    const QByteArray tag = locale.name().toLatin1() + " column " + QByteArray::number(textIndex + 1)
                        + (direction > 0 ? " up" : " down") + (style == assSmart ? " smart" : " text");
                    QTest::newRow(tag.constData()) << locale << textIndex << direction << style;
                }
            }
        }
    }
}

// Keys computed once per row must give what comparing each pair afresh gives.
void TestCompareRows::keyedSortMatchesPairwiseRule()
{
    QFETCH(QLocale, locale);
    QFETCH(int, textIndex);
    QFETCH(int, direction);
    QFETCH(int, style);
    const SortLocale sortLocale(locale);
    const SortContext context{textIndex, direction, static_cast<TAutoSortStyle>(style), &sortLocale};
    const std::vector<Row> rows = mixedRows(400);
    std::vector<int> pairwise(rows.size());
    std::iota(pairwise.begin(), pairwise.end(), 0);
    std::stable_sort(pairwise.begin(), pairwise.end(),
                     [&](int a, int b) { return CompareRows(&rows[size_t(a)], &rows[size_t(b)], context) < 0; });
    const std::vector<int> keyed = sortedRowOrder(rows, context);
    QCOMPARE(keyed, pairwise);
}

void TestCompareRows::equalRowsKeepTheirOrder()
{
    const SortLocale locale(UnitedStates);
    const std::vector<Row> rows = {row("b1", {"1990"}), row("a", {"1985"}), row("b2", {"1990"}), row("b3", {"1990"})};
    QCOMPARE(captions(rows, sortedRowOrder(rows, {0, 1, assSmart, &locale})),
             QStringList({"a", "b1", "b2", "b3"}));
    QCOMPARE(captions(rows, sortedRowOrder(rows, {0, -1, assSmart, &locale})),
             QStringList({"b1", "b2", "b3", "a"}));
}

void TestCompareRows::sortItemsHandlerReplacesComparison()
{
    const SortLocale locale(UnitedStates);
    const std::vector<Row> rows = {row("ccc", {}), row("a", {}), row("bb", {})};
    int seenColumn = -2;
    const TSortItemsEvent byLength = [&](const Row &a, const Row &b, int column) {
        seenColumn = column;
        return int(a.Caption.size() - b.Caption.size()) * 10; // any magnitude: only the sign counts
    };
    QCOMPARE(captions(rows, sortedRowOrder(rows, {-1, 1, assSmart, &locale}, byLength)),
             QStringList({"a", "bb", "ccc"}));
    QCOMPARE(seenColumn, 0);
    QCOMPARE(captions(rows, sortedRowOrder(rows, {1, -1, assSmart, &locale}, byLength)),
             QStringList({"ccc", "bb", "a"}));
    QCOMPARE(seenColumn, 2);
}

void TestCompareRows::throwingHandlerMakesRowsEqual()
{
    const SortLocale locale(UnitedStates);
    const std::vector<Row> rows = {row("c", {}), row("a", {}), row("b", {})};
    const TSortItemsEvent failing = [](const Row &, const Row &, int) -> int { throw std::runtime_error("broken"); };
    QCOMPARE(captions(rows, sortedRowOrder(rows, {-1, 1, assSmart, &locale}, failing)),
             QStringList({"c", "a", "b"}));
}

QTEST_MAIN(TestCompareRows)
#include "tst_comparerows.moc"
