#include "EnhListModel.h"
#include "StateImages.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Lanvo;

class TestEnhListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reorderKeepsPersistentIndexes();
    void reorderInsideBatchWaitsForReset();
    void stateImageAndItsText();
    void captionEdit();
};

namespace {

void fillRows(EnhListModel &model, const QStringList &captions)
{
    model.setColumns({{"Name", 200, Qt::AlignLeft}, {"Year", 60, Qt::AlignLeft}});
    for (int i = 0; i < captions.size(); ++i)
        model.appendRow({captions.at(i), {QString::number(1990 + i)}, nullptr, i % 3});
}

QStringList captions(const EnhListModel &model)
{
    QStringList result;
    for (const EnhListModel::Row &row : model.rows())
        result << row.Caption;
    return result;
}

} // namespace

void TestEnhListModel::reorderKeepsPersistentIndexes()
{
    EnhListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    fillRows(model, {"c", "a", "b"});
    const QPersistentModelIndex rowOfB(model.index(2, 1));
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    model.applyOrder({1, 2, 0});
    QCOMPARE(captions(model), QStringList({"a", "b", "c"}));
    QCOMPARE(layout.count(), 1);
    QCOMPARE(rowOfB.row(), 1);
    QCOMPARE(rowOfB.column(), 1);
    QCOMPARE(rowOfB.data().toString(), QStringLiteral("1992"));
    // Sub-items, games and state images travel with their row.
    QCOMPARE(model.row(2).SubItems, QStringList({"1990"}));
    QCOMPARE(model.row(2).StateImage, 0);
}

void TestEnhListModel::reorderInsideBatchWaitsForReset()
{
    EnhListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    fillRows(model, {"c", "a", "b"});
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.beginBatch();
    model.appendRow({"0", {}, nullptr, 0});
    model.applyOrder({3, 1, 2, 0});
    model.endBatch();
    QCOMPARE(layout.count(), 0);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(captions(model), QStringList({"0", "a", "b", "c"}));
}

void TestEnhListModel::stateImageAndItsText()
{
    EnhListModel model;
    fillRows(model, {"missing", "folder", "zip"});
    model.appendRow({"odd state", {}, nullptr, 7});
    for (int row = 0; row < 3; ++row) {
        const QModelIndex first = model.index(row, 0);
        QCOMPARE(first.data(Qt::DecorationRole).value<QImage>(), stateImage(row));
        QCOMPARE(first.data(Qt::AccessibleDescriptionRole).toString(), stateImageText(row));
        QVERIFY(!model.index(row, 1).data(Qt::DecorationRole).isValid()); // only the first column
    }
    QVERIFY(model.index(1, 0).data(Qt::AccessibleDescriptionRole).toString() == QStringLiteral("available"));
    QVERIFY(model.index(3, 0).data(Qt::DecorationRole).value<QImage>().isNull());
}

void TestEnhListModel::captionEdit()
{
    EnhListModel model;
    fillRows(model, {"a", "b"});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setRowCaption(1, QStringLiteral("B2"));
    model.setRowCaption(5, QStringLiteral("ignored"));
    QCOMPARE(captions(model), QStringList({"a", "B2"}));
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(TestEnhListModel)
#include "tst_enhlistmodel.moc"
