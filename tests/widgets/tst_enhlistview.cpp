#include "EnhListView.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
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
    void missingSubItemsShowEmpty();
    void readOnlyAndAccessible();
};

namespace {

void fill(TEnhListView &list, const QStringList &captions)
{
    list.beginUpdate();
    list.clearRows();
    for (const QString &caption : captions)
        list.appendRow(caption, {"1990", "Sport", "Maker"}, nullptr, 1);
    list.endUpdate();
}

std::vector<EnhListModel::Column> fourColumns()
{
    return {{"Name", 200, Qt::AlignLeft}, {"Year", 60, Qt::AlignLeft}, {"Type", 100, Qt::AlignLeft},
            {"Manufacturer", 100, Qt::AlignLeft}};
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
    list.beginUpdate();
    list.beginUpdate(); // nested brackets end with the outer one
    list.appendRow("D", {}, nullptr, 0);
    list.endUpdate();
    QVERIFY(!list.updatesEnabled());
    list.endUpdate();
    QVERIFY(list.updatesEnabled());
    list.endUpdate(); // one too many is harmless
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
    QVERIFY(changed.count() >= 1);
    QCOMPARE(list.selectionModel()->selectedIndexes().size(), 4); // every column of the row
    QCOMPARE(list.currentIndex().row(), 2);
    list.selectRow(9); // out of range: nothing changes
    QCOMPARE(list.selectedRow(), 2);
    fill(list, {"X"});
    QCOMPARE(list.selectedRow(), -1); // a refill leaves nothing selected
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

QTEST_MAIN(TestEnhListView)
#include "tst_enhlistview.moc"
