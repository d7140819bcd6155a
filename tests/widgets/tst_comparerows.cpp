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

// Rows with texts of their own, in a model as the list holds them.
struct Rows
{
    Rows(std::initializer_list<std::pair<QString, QStringList>> rows)
    {
        for (const auto &[caption, subItems] : rows)
            add(caption, subItems);
    }
    void add(const QString &caption, const QStringList &subItems) { Model.appendRow({caption, subItems, nullptr, 0}); }
    const Row *at(int index) const { return &Model.rows()[size_t(index)]; }
    QString caption(const Row &row) const { return Model.text(row, 0); }
    QStringList captions(const std::vector<int> &order) const
    {
        QStringList result;
        for (const int index : order)
            result << caption(*at(index));
        return result;
    }

    EnhListModel Model;
};

// Rows like the games list's, with the awkward texts a catalogue can hold.
void addMixedRows(Rows &rows, int count)
{
    const QStringList names = {"Alpha", "alpha", "Bravo", "  ", "", "9a", "10a", "Zeta 2", "zeta 10"};
    const QStringList years = {"1990", "", "1985", " 7", "7 ", "1e3", ".", "1.2.3", "10/1/99", "9/1/99",
                               "1:45 PM", "11:00 AM", "13/45/99", "+3", "-2.5"};
    QRandomGenerator random(20240515);
    for (int i = 0; i < count; ++i) {
        QStringList subItems;
        const int subCount = int(random.bounded(3u));
        for (int s = 0; s < subCount; ++s)
            subItems << years.at(int(random.bounded(quint32(years.size()))));
        rows.add(names.at(int(random.bounded(quint32(names.size())))) + QString::number(i % 3), subItems);
    }
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
    const Rows rows{{"Bravo", {"1990", "9"}}, {"alpha", {"", "10"}}};
    const int sign = (expected > 0) - (expected < 0);
    QCOMPARE(CompareRows(rows.Model, rows.at(0), rows.at(1), context), sign);
    QCOMPARE(CompareRows(rows.Model, rows.at(1), rows.at(0), context), -sign);
}

void TestCompareRows::missingRowsCompareEqual()
{
    const SortLocale locale(UnitedStates);
    const SortContext context{0, 1, assSmart, &locale};
    const Rows rows{{"A", {"1990"}}, {"B", {}}, {"C", {}}};
    const Row *withYear = rows.at(0);
    QCOMPARE(CompareRows(rows.Model, withYear, nullptr, context), 0);
    QCOMPARE(CompareRows(rows.Model, nullptr, withYear, context), 0);
    // A missing sub-item is an empty text, which sorts before any year.
    QCOMPARE(CompareRows(rows.Model, rows.at(1), withYear, context), -1);
    QCOMPARE(CompareRows(rows.Model, rows.at(1), rows.at(2), context), 0);
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
    Rows rows{};
    addMixedRows(rows, 400);
    std::vector<int> pairwise(rows.Model.rows().size());
    std::iota(pairwise.begin(), pairwise.end(), 0);
    std::stable_sort(pairwise.begin(), pairwise.end(),
                     [&](int a, int b) { return CompareRows(rows.Model, rows.at(a), rows.at(b), context) < 0; });
    const std::vector<int> keyed = sortedRowOrder(rows.Model, context);
    QCOMPARE(keyed, pairwise);
}

void TestCompareRows::equalRowsKeepTheirOrder()
{
    const SortLocale locale(UnitedStates);
    const Rows rows{{"b1", {"1990"}}, {"a", {"1985"}}, {"b2", {"1990"}}, {"b3", {"1990"}}};
    QCOMPARE(rows.captions(sortedRowOrder(rows.Model, {0, 1, assSmart, &locale})),
             QStringList({"a", "b1", "b2", "b3"}));
    QCOMPARE(rows.captions(sortedRowOrder(rows.Model, {0, -1, assSmart, &locale})),
             QStringList({"b1", "b2", "b3", "a"}));
}

void TestCompareRows::sortItemsHandlerReplacesComparison()
{
    const SortLocale locale(UnitedStates);
    const Rows rows{{"ccc", {}}, {"a", {}}, {"bb", {}}};
    int seenColumn = -2;
    const TSortItemsEvent byLength = [&](const Row &a, const Row &b, int column) {
        seenColumn = column;
        // any magnitude: only the sign counts
        return int(rows.caption(a).size() - rows.caption(b).size()) * 10;
    };
    QCOMPARE(rows.captions(sortedRowOrder(rows.Model, {-1, 1, assSmart, &locale}, byLength)),
             QStringList({"a", "bb", "ccc"}));
    QCOMPARE(seenColumn, 0);
    QCOMPARE(rows.captions(sortedRowOrder(rows.Model, {1, -1, assSmart, &locale}, byLength)),
             QStringList({"ccc", "bb", "a"}));
    QCOMPARE(seenColumn, 2);
}

void TestCompareRows::throwingHandlerMakesRowsEqual()
{
    const SortLocale locale(UnitedStates);
    const Rows rows{{"c", {}}, {"a", {}}, {"b", {}}};
    const TSortItemsEvent failing = [](const Row &, const Row &, int) -> int { throw std::runtime_error("broken"); };
    QCOMPARE(rows.captions(sortedRowOrder(rows.Model, {-1, 1, assSmart, &locale}, failing)),
             QStringList({"c", "a", "b"}));
}

QTEST_MAIN(TestCompareRows)
#include "tst_comparerows.moc"
