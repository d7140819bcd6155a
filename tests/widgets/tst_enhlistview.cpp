#include "EnhListView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace Lanvo;

class TestEnhListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsThroughUpdateBracket();
    void findCaptionIgnoresCaseAndTakesFirst_data();
    void findCaptionIgnoresCaseAndTakesFirst();
    void selectRowSelectsWholeRowAndSignals();
    void userSelectionSignalsOnce();
    void firstColumnMovable();
    void missingSubItemsShowEmpty();
    void readOnlyAndAccessible();
    void defaultsAndLifecycle();
    void headerClicksSort_data();
    void headerClicksSort();
    void arrowFollowsSortState();
    void selectionFollowsItsRow();
    void controlBracketSortsOnceAtTheEnd();
    void rowsBracketDoesNotHoldSortingBack();
    void autoResortOnInsert_data();
    void autoResortOnInsert();
    void propertiesThatResort();
    void sortItemsHandlerSortsWithoutColumnSort();
    void hundredThousandRows();
    void hiddenColumnsLeaveTheModel();
};

namespace {

void fill(TEnhListView &list, const QStringList &captions)
{
    list.beginRowsBatch();
    list.clearRows();
    for (const QString &caption : captions)
        list.appendRow(caption, {"1990", "Sport", "Maker"}, nullptr, 1);
    list.endRowsBatch();
}

std::vector<EnhListModel::Column> fourColumns()
{
    return {{"Name", 200, Qt::AlignLeft}, {"Year", 60, Qt::AlignLeft}, {"Type", 100, Qt::AlignLeft},
            {"Manufacturer", 100, Qt::AlignLeft}};
}

// Games in file order: name, year, type, maker. Two have no year.
const QList<QStringList> Games = {
    {"Delta Run", "1998", "Shooter", "Kite"},   {"Alpha Strike", "1992", "Fighting", "Orb"},
    {"Zephyr Gate", "", "Shooter", "Arc"},      {"Comet Zone", "2000", "Sports", "Vale"},
    {"Bravo Racing", "1994", "Racing", "Kite"}, {"Quasar", "", "Quiz", "Orb"},
};

void fillGames(TEnhListView &list)
{
    list.beginRowsBatch();
    list.clearRows();
    for (const QStringList &game : Games)
        list.appendRow(game.first(), game.mid(1), nullptr, 1);
    list.endRowsBatch();
}

QStringList rowCaptions(const TEnhListView &list)
{
    QStringList captions;
    for (int row = 0; row < list.rowCount(); ++row)
        captions << list.rowCaption(row);
    return captions;
}

// The games list's set-up: its properties, the end of loading, then arrows on and a resort.
void configureLikeGamesList(TEnhListView &list)
{
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSortToggle);
    list.SetAutoResort(false);
    list.SetReverseSortArrows(true);
    list.loaded();
    list.SetShowSortArrows(true);
    list.Resort();
}

bool showList(TEnhListView &list)
{
    list.resize(600, 300);
    list.show();
    return QTest::qWaitForWindowExposed(&list);
}

void clickHeader(TEnhListView &list, int column)
{
    QHeaderView *header = list.header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

void TestEnhListView::rowsThroughUpdateBracket()
{
    TEnhListView list;
    QAbstractItemModelTester tester(list.listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.setColumns(fourColumns());
    QCOMPARE(list.header()->sectionSize(0), 200);
    QCOMPARE(list.header()->sectionSize(3), 100);
    fill(list, {"A", "B", "C"});
    QCOMPARE(list.rowCount(), 3);
    list.beginRowsBatch();
    list.beginRowsBatch(); // nested brackets end with the outer one
    list.appendRow("D", {}, nullptr, 0);
    list.endRowsBatch();
    QVERIFY(!list.updatesEnabled());
    list.endRowsBatch();
    QVERIFY(list.updatesEnabled());
    list.endRowsBatch(); // one too many is harmless
    QCOMPARE(list.rowCount(), 4);
    list.appendRow("E", {}, nullptr, 2); // outside a bracket
    QCOMPARE(list.rowCaption(4), QStringLiteral("E"));
    QCOMPARE(list.listModel()->index(4, 0).data(EnhListModel::StateImageRole).toInt(), 2);
    list.clearRows();
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(list.rowCaption(0), QString());
    QVERIFY(!list.rowGame(7));
}

void TestEnhListView::findCaptionIgnoresCaseAndTakesFirst_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("row");
    QTest::newRow("exact") << "Bravo" << 1;
    QTest::newRow("other case") << "bRAVO" << 1;
    QTest::newRow("duplicate takes first") << "alpha" << 0;
    QTest::newRow("absent") << "Zulu" << -1;
    QTest::newRow("empty caption row") << "" << 3;
}

void TestEnhListView::findCaptionIgnoresCaseAndTakesFirst()
{
    QFETCH(QString, caption);
    QFETCH(int, row);
    TEnhListView list;
    list.setColumns(fourColumns());
    fill(list, {"Alpha", "Bravo", "ALPHA", ""});
    QCOMPARE(list.findCaption(caption), row);
}

void TestEnhListView::selectRowSelectsWholeRowAndSignals()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    fill(list, {"A", "B", "C"});
    QCOMPARE(list.selectedRow(), -1);
    QSignalSpy changed(&list, &TEnhListView::rowStateChanged);
    list.selectRow(2);
    QCOMPARE(list.selectedRow(), 2);
    QCOMPARE(changed.count(), 1); // once per change, though the focus moved too
    QCOMPARE(list.selectionModel()->selectedIndexes().size(), 4); // every column of the row
    QCOMPARE(list.currentIndex().row(), 2);
    list.selectRow(9); // out of range: nothing changes
    QCOMPARE(list.selectedRow(), 2);
    fill(list, {"X"});
    QCOMPARE(list.selectedRow(), -1); // a refill leaves nothing selected
}

void TestEnhListView::userSelectionSignalsOnce()
{
    TEnhListView list;
    configureLikeGamesList(list);
    fill(list, {"A", "B", "C"});
    QVERIFY(showList(list));
    QSignalSpy changed(&list, &TEnhListView::rowStateChanged);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.listModel()->index(1, 0)).center());
    QCOMPARE(list.selectedRow(), 1);
    QCOMPARE(changed.count(), 1);
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.selectedRow(), 2);
    QCOMPARE(changed.count(), 2);
}

// Every column can be dragged to another place, the first one included.
void TestEnhListView::firstColumnMovable()
{
    TEnhListView list;
    configureLikeGamesList(list);
    fillGames(list);
    QVERIFY(showList(list));
    QHeaderView *header = list.header();
    QWidget *strip = header->viewport();
    const int y = header->height() / 2;
    const QPoint from(header->sectionViewportPosition(0) + 20, y);
    const QPoint to(header->sectionViewportPosition(1) + header->sectionSize(1) - 5, y);
    QTest::mousePress(strip, Qt::LeftButton, {}, from);
    for (const QPoint &at : {from + QPoint(30, 0), to}) {
        QMouseEvent move(QEvent::MouseMove, at, strip->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(strip, &move);
    }
    QTest::mouseRelease(strip, Qt::LeftButton, {}, to);
    QCOMPARE(header->visualIndex(0), 1);
    QCOMPARE(header->logicalIndex(0), 1);
}

void TestEnhListView::missingSubItemsShowEmpty()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.appendRow("Only a name", {"1991"}, nullptr, 0);
    const QAbstractItemModel *model = list.model();
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("1991"));
    QCOMPARE(model->index(0, 3).data().toString(), QString());
    list.setColumnCaptions({"Name", "Year"});
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Year"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Type"));
}

void TestEnhListView::readOnlyAndAccessible()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.appendRow("Name", {}, nullptr, 0);
    const QModelIndex index = list.model()->index(0, 0);
    QVERIFY(!(list.model()->flags(index) & Qt::ItemIsEditable));
    QCOMPARE(list.editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(index.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Name"));
    QVERIFY(list.header()->sectionsMovable());
}

void TestEnhListView::defaultsAndLifecycle()
{
    TEnhListView list;
    QCOMPARE(list.AutoColumnSort(), acsNoSort);
    QCOMPARE(list.AutoSortStyle(), assSmart);
    QVERIFY(list.AutoResort());
    QVERIFY(list.AutoSortAscending());
    QVERIFY(!list.ShowSortArrows());
    QVERIFY(!list.ReverseSortArrows());
    QCOMPARE(list.Style(), lvStandard);
    QVERIFY(!list.OnDrawHeader());
    QVERIFY(!list.OnSortItems());
    QVERIFY(list.ColumnClick());
    QVERIFY(!list.SaveSettings().AutoSave);
    QVERIFY(list.SaveSettings().RegistryKey.isEmpty());
    QVERIFY(list.SaveSettings().SaveColumnSizes);
    QVERIFY(list.SaveSettings().SaveCurrentSort);
    QCOMPARE(list.Version(), QStringLiteral("TEnhListView v3.12"));
    list.SetVersion(QStringLiteral("v9"));
    QCOMPARE(list.Version(), QStringLiteral("TEnhListView v3.12"));
    QCOMPARE(list.SortColumn(), -1);
    QVERIFY(list.SortAscending());
    QCOMPARE(list.UpdateCount(), 1);
    QVERIFY(!list.ResortPending());
    QVERIFY(list.AscendingArrow().isNull());

    // While the owner sets it up nothing sorts, even with sorting and inserts asking for it.
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSort);
    list.appendRow("B", {}, nullptr, 0);
    list.appendRow("A", {}, nullptr, 0);
    QCOMPARE(rowCaptions(list), QStringList({"B", "A"}));
    QVERIFY(list.ResortPending());
    list.loaded();
    QCOMPARE(list.UpdateCount(), 0);
    QCOMPARE(list.SortColumn(), 0);
    QCOMPARE(rowCaptions(list), QStringList({"A", "B"}));
    QVERIFY(!list.ResortPending());

    TEnhListView noColumns;
    noColumns.loaded();
    QCOMPARE(noColumns.SortColumn(), -1);
    QCOMPARE(noColumns.UpdateCount(), 0);
}

void TestEnhListView::headerClicksSort_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("autoAscending");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<int>("sortColumn");
    const QStringList byNameDown = {"Zephyr Gate", "Quasar", "Delta Run", "Comet Zone", "Bravo Racing", "Alpha Strike"};
    const QStringList byYearUp = {"Zephyr Gate", "Quasar", "Alpha Strike", "Bravo Racing", "Delta Run", "Comet Zone"};
    const QStringList byYearDown = {"Comet Zone", "Delta Run", "Bravo Racing", "Alpha Strike", "Zephyr Gate", "Quasar"};
    const QStringList fileOrder = {"Delta Run", "Alpha Strike", "Zephyr Gate", "Comet Zone", "Bravo Racing", "Quasar"};
    // Equal types keep the order of the name sort before.
    const QStringList byTypeUp = {"Alpha Strike", "Quasar", "Bravo Racing", "Zephyr Gate", "Delta Run", "Comet Zone"};
    QTest::newRow("first click on Name reverses it") << int(acsSortToggle) << true << QList<int>{0} << byNameDown
                                                     << false << 0;
    QTest::newRow("Year: empty years first") << int(acsSortToggle) << true << QList<int>{1} << byYearUp << true << 1;
    QTest::newRow("Year again: empty years last") << int(acsSortToggle) << true << QList<int>{1, 1} << byYearDown
                                                  << false << 1;
    QTest::newRow("new column starts ascending") << int(acsSortToggle) << true << QList<int>{0, 2} << byTypeUp
                                                 << true << 2;
    QTest::newRow("new column starts descending") << int(acsSortToggle) << false << QList<int>{1} << byYearDown
                                                  << false << 1;
    QTest::newRow("sort without toggle keeps direction") << int(acsSort) << true << QList<int>{1, 1, 1} << byYearUp
                                                         << true << 1;
    QTest::newRow("no sort: order stays, column moves") << int(acsNoSort) << true << QList<int>{1} << fileOrder
                                                        << true << 1;
}

void TestEnhListView::headerClicksSort()
{
    QFETCH(int, mode);
    QFETCH(bool, autoAscending);
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, order);
    QFETCH(bool, ascending);
    QFETCH(int, sortColumn);
    TEnhListView list;
    QAbstractItemModelTester tester(list.listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    configureLikeGamesList(list);
    list.SetAutoColumnSort(static_cast<TAutoColumnSort>(mode));
    list.SetAutoSortAscending(autoAscending);
    fillGames(list);
    QCOMPARE(rowCaptions(list).first(), QStringLiteral("Delta Run")); // rows stay in file order
    QVERIFY(showList(list));
    QSignalSpy clicked(&list, &TEnhListView::columnClicked);
    for (const int column : clicks)
        clickHeader(list, column);
    QCOMPARE(clicked.count(), clicks.size());
    QCOMPARE(rowCaptions(list), order);
    QCOMPARE(list.SortAscending(), ascending);
    QCOMPARE(list.SortColumn(), sortColumn);
}

void TestEnhListView::arrowFollowsSortState()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSortToggle);
    list.SetReverseSortArrows(true);
    const EnhHeaderView *header = list.enhHeader();
    QVERIFY(!header->controlDrawn());
    list.SetShowSortArrows(true); // no sort column yet: no arrow
    QVERIFY(header->controlDrawn());
    QCOMPARE(header->sortArrowColumn(), -1);
    list.loaded();
    fillGames(list);
    QCOMPARE(header->sortArrowColumn(), 0);

    const QPalette palette = list.palette();
    const ArrowColours colours{palette.color(QPalette::Button), palette.color(QPalette::Dark),
                               palette.color(QPalette::Light)};
    const int size = arrowSize(QFontMetrics(list.font()).height());
    QVERIFY(size > 0);
    // Reversed: an ascending sort shows the downward picture.
    QCOMPARE(header->sortArrow(), makeDownArrow(size, colours));
    QVERIFY(showList(list));
    clickHeader(list, 0);
    QCOMPARE(header->sortArrow(), makeUpArrow(size, colours));
    QCOMPARE(list.DescendingArrow(), makeUpArrow(size, colours));
    clickHeader(list, 3);
    QCOMPARE(header->sortArrowColumn(), 3);
    QCOMPARE(header->sortArrow(), makeDownArrow(size, colours));

    list.SetReverseSortArrows(false);
    QCOMPARE(header->sortArrow(), makeUpArrow(size, colours));
    QFont tiny = list.font();
    tiny.setPixelSize(2);
    list.setFont(tiny);
    QVERIFY(QFontMetrics(tiny).height() <= 6);
    QVERIFY(list.AscendingArrow().isNull());
    list.SetShowSortArrows(false);
    QCOMPARE(header->sortArrowColumn(), -1);
    QVERIFY(!header->controlDrawn());
    list.SetOnDrawHeader([](QPainter &, int, const QRect &, bool, bool &) {});
    QVERIFY(header->controlDrawn());
}

void TestEnhListView::selectionFollowsItsRow()
{
    TEnhListView list;
    configureLikeGamesList(list);
    fillGames(list);
    QVERIFY(showList(list));
    list.selectRow(list.findCaption(QStringLiteral("Comet Zone")));
    clickHeader(list, 1);
    QCOMPARE(list.rowCaption(list.selectedRow()), QStringLiteral("Comet Zone"));
    QCOMPARE(list.selectedRow(), 5);
    clickHeader(list, 1);
    QCOMPARE(list.selectedRow(), 0);
    QCOMPARE(list.currentIndex().row(), 0);
}

void TestEnhListView::controlBracketSortsOnceAtTheEnd()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSort);
    list.loaded();
    QAbstractItemModelTester tester(list.listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy sorted(&list, &TEnhListView::sortFinished);
    list.BeginUpdate();
    list.BeginUpdate();
    for (const QStringList &game : Games)
        list.appendRow(game.first(), game.mid(1), nullptr, 0);
    QCOMPARE(list.UpdateCount(), 2);
    list.EndUpdate();
    QCOMPARE(sorted.count(), 0);
    QVERIFY(list.ResortPending());
    QVERIFY(!list.updatesEnabled());
    list.EndUpdate();
    QCOMPARE(sorted.count(), 1);
    QVERIFY(!list.ResortPending());
    QVERIFY(list.updatesEnabled());
    QCOMPARE(rowCaptions(list).first(), QStringLiteral("Alpha Strike"));
    list.EndUpdate(); // one too many: the count stays at 0
    QCOMPARE(list.UpdateCount(), 0);
    QCOMPARE(sorted.count(), 1);
}

void TestEnhListView::rowsBracketDoesNotHoldSortingBack()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSort);
    list.loaded();
    QAbstractItemModelTester tester(list.listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy sorted(&list, &TEnhListView::sortFinished);
    fillGames(list);
    QCOMPARE(sorted.count(), Games.size());
    QCOMPARE(rowCaptions(list).first(), QStringLiteral("Alpha Strike"));
}

void TestEnhListView::autoResortOnInsert_data()
{
    QTest::addColumn<bool>("autoResort");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QStringList>("afterEdit"); // "B" renamed "Z"
    QTest::newRow("on") << true << QStringList({"A", "B", "C"}) << QStringList({"A", "C", "Z"});
    QTest::newRow("off") << false << QStringList({"B", "C", "A"}) << QStringList({"Z", "C", "A"});
}

void TestEnhListView::autoResortOnInsert()
{
    QFETCH(bool, autoResort);
    QFETCH(QStringList, order);
    QFETCH(QStringList, afterEdit);
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSortToggle);
    list.SetAutoResort(autoResort);
    list.loaded();
    list.appendRow("B", {}, nullptr, 0);
    list.appendRow("C", {}, nullptr, 0);
    list.appendRow("A", {}, nullptr, 0);
    QCOMPARE(rowCaptions(list), order);
    list.setRowCaption(list.findCaption(QStringLiteral("B")), QStringLiteral("Z"));
    QCOMPARE(rowCaptions(list), afterEdit);
}

void TestEnhListView::propertiesThatResort()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoResort(false);
    list.loaded();
    for (const char *caption : {"10", "9", "1e1x"})
        list.appendRow(caption, {}, nullptr, 0);
    list.Resort(); // acsNoSort: nothing to sort by
    QCOMPARE(rowCaptions(list), QStringList({"10", "9", "1e1x"}));
    QVERIFY(list.ResortPending());
    list.SetAutoColumnSort(acsSortToggle);
    QCOMPARE(rowCaptions(list), QStringList({"9", "10", "1e1x"}));
    list.SetAutoSortStyle(assDefault); // numbers now compare as text
    QCOMPARE(rowCaptions(list), QStringList({"10", "1e1x", "9"}));
    list.SetAutoSortAscending(false);
    QVERIFY(!list.SortAscending());
    list.Resort();
    QCOMPARE(rowCaptions(list), QStringList({"9", "1e1x", "10"}));
}

void TestEnhListView::sortItemsHandlerSortsWithoutColumnSort()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoResort(false);
    list.loaded();
    for (const char *caption : {"ccc", "a", "bb"})
        list.appendRow(caption, {}, nullptr, 0);
    list.SetOnSortItems([&list](const EnhListModel::Row &a, const EnhListModel::Row &b, int) {
        return int(list.listModel()->text(a, 0).size() - list.listModel()->text(b, 0).size());
    });
    list.Resort();
    QCOMPARE(rowCaptions(list), QStringList({"a", "bb", "ccc"}));
}

void TestEnhListView::hundredThousandRows()
{
    TEnhListView list;
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSortToggle);
    list.SetAutoResort(false);
    list.loaded();
    const int count = 100000;
    list.beginRowsBatch();
    for (int i = 0; i < count; ++i) {
        const int mixed = int((quint64(i) * 7919) % count);
        const QString year = mixed % 17 == 0 ? QString() : QString::number(1980 + mixed % 30);
        list.appendRow(QStringLiteral("Game %1 %2").arg(mixed % 977).arg(QChar(u'A' + mixed % 26)),
                       {year, QStringLiteral("Type %1").arg(mixed % 9)}, nullptr, mixed % 3);
    }
    list.endRowsBatch();
    // How long this takes is bench/sort's business; here only the order counts.
    list.SortRows(0, true);
    list.SortRows(1, false);
    const SortLocale locale;
    const SortContext byYearDown{0, -1, assSmart, &locale};
    const std::vector<EnhListModel::Row> &rows = list.listModel()->rows();
    QCOMPARE(int(rows.size()), count);
    for (size_t i = 1; i < rows.size(); ++i)
        QVERIFY(CompareRows(*list.listModel(), &rows[i - 1], &rows[i], byYearDown) <= 0);
    QVERIFY(list.listModel()->text(rows.back(), 1).isEmpty());
}

// A hidden column is no model column; the sort column, its arrow and the selection stay with theirs.
void TestEnhListView::hiddenColumnsLeaveTheModel()
{
    TEnhListView list;
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    configureLikeGamesList(list);
    fillGames(list);
    list.clickColumn(3); // by maker
    list.selectRow(list.findCaption("Quasar"));
    QSignalSpy changed(&list, &TEnhListView::rowStateChanged);

    list.setColumnShown(1, false);
    QCOMPARE(list.model()->columnCount(), 3);
    QCOMPARE(list.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Manufacturer"));
    QCOMPARE(list.model()->index(0, 1).data().toString(), QStringLiteral("Shooter"));
    QCOMPARE(list.SortColumn(), 2);
    QCOMPARE(list.enhHeader()->sortArrowColumn(), 2);
    QCOMPARE(list.rowCaption(list.selectedRow()), QStringLiteral("Quasar"));
    QCOMPARE(changed.count(), 0); // the same row: no new selection

    list.clickColumn(1); // sorts by the type, not by the hidden year
    QCOMPARE(rowCaptions(list).mid(0, 2), (QStringList{"Alpha Strike", "Quasar"}));
    list.setColumnShown(1, true);
    QCOMPARE(list.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Year"));
    QCOMPARE(list.columnWidth(1), 60);
    QCOMPARE(list.SortColumn(), 2);
}

QTEST_MAIN(TestEnhListView)
#include "tst_enhlistview.moc"
