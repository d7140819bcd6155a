#include "EnhListModel.h"
#include "Emulators.h"
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
    void searchListsMatchingRows_data();
    void searchListsMatchingRows();
    void searchStaysInForceAcrossRefill();
    void sortWhileSearchingKeepsPersistentIndexes();
    void gameRowFollowsItsGame();
    void favouriteRowsShowAndTellTheirMark();
};

namespace {

void fillRows(EnhListModel &model, const QStringList &captions)
{
    model.setColumns({{"Name", 200, Qt::AlignLeft}, {"Year", 60, Qt::AlignLeft}});
    for (int i = 0; i < captions.size(); ++i)
        model.appendRow({captions.at(i), {QString::number(1990 + i)}, nullptr, i % 3});
}

QStringList listed(const EnhListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.index(row, 0).data().toString();
    return result;
}

QStringList captions(const EnhListModel &model)
{
    QStringList result;
    for (const EnhListModel::Row &row : model.rows())
        result << model.text(row, 0);
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
    QCOMPARE(model.text(model.row(2), 1), QStringLiteral("1990"));
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

void TestEnhListModel::searchListsMatchingRows_data()
{
    QTest::addColumn<QStringList>("queries"); // typed one after the other
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one word") << QStringList{"an"} << QStringList{"banana", "mango"};
    QTest::newRow("narrowed") << QStringList{"an", "ang"} << QStringList{"mango"};
    QTest::newRow("widened again") << QStringList{"ang", "a"} << QStringList{"apple", "banana", "mango"};
    QTest::newRow("two words, any order") << QStringList{"1992 m"} << QStringList{"mango"};
    QTest::newRow("a word replaced") << QStringList{"apple", "banana"} << QStringList{"banana"};
    QTest::newRow("nothing") << QStringList{"kiwi"} << QStringList{};
    QTest::newRow("emptied") << QStringList{"kiwi", "  "} << QStringList{"apple", "banana", "mango", "cherry"};
}

void TestEnhListModel::searchListsMatchingRows()
{
    QFETCH(QStringList, queries);
    QFETCH(QStringList, expected);
    EnhListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSearchKeyOf(
        [&model](const EnhListModel::Row &row) { return model.text(row, 0) + '\n' + model.text(row, 1); });
    fillRows(model, {"apple", "banana", "mango", "cherry"});
    for (const QString &query : queries)
        model.setSearchText(query);
    QCOMPARE(listed(model), expected);
    QCOMPARE(model.rowCount(), int(expected.size()));
    QCOMPARE(model.rows().size(), size_t(4)); // nothing rebuilt: every row is still there
    if (!expected.isEmpty())
        QCOMPARE(model.text(model.row(0), 0), expected.first());
}

void TestEnhListModel::searchStaysInForceAcrossRefill()
{
    EnhListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    int keysMade = 0;
    model.setSearchKeyOf([&keysMade, &model](const EnhListModel::Row &row) {
        ++keysMade;
        return model.text(row, 0);
    });
    fillRows(model, {"apple", "banana"});
    QVERIFY(model.setSearchText("A"));
    QVERIFY(!model.setSearchText(" a ")); // the same words: nothing to do
    QCOMPARE(keysMade, 2);
    model.setSearchText("ap");
    QCOMPARE(keysMade, 2); // keys are made once per fill, not per keystroke
    model.beginBatch();
    model.clearRows();
    for (const char *caption : {"grape", "papaya", "kiwi"})
        model.appendRow({caption, {}, nullptr, 0});
    model.endBatch();
    QCOMPARE(listed(model), (QStringList{"grape", "papaya"}));
    model.appendRow({"apricot", {}, nullptr, 0}); // outside a batch: listed when it matches
    model.appendRow({"plum", {}, nullptr, 0});
    QCOMPARE(listed(model), (QStringList{"grape", "papaya", "apricot"}));
    QCOMPARE(keysMade, 7);
}

void TestEnhListModel::sortWhileSearchingKeepsPersistentIndexes()
{
    EnhListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSearchKeyOf([&model](const EnhListModel::Row &row) { return model.text(row, 0); });
    fillRows(model, {"pear", "fig", "peach", "plum", "apple"});
    model.setSearchText("p");
    QCOMPARE(listed(model), (QStringList{"pear", "peach", "plum", "apple"}));
    const QPersistentModelIndex plum(model.index(2, 1));
    model.applyOrder({4, 1, 2, 0, 3}); // apple, fig, peach, pear, plum
    QCOMPARE(listed(model), (QStringList{"apple", "peach", "pear", "plum"}));
    QCOMPARE(plum.row(), 3);
    QCOMPARE(plum.sibling(plum.row(), 0).data().toString(), QStringLiteral("plum"));
    QCOMPARE(plum.data().toString(), QStringLiteral("1993"));
    model.setSearchText(QString());
    QCOMPARE(listed(model), (QStringList{"apple", "fig", "peach", "pear", "plum"}));
}

// A game's row shows its game's texts as they are when asked: a fill makes none, and a run or a mark
// searches the row again and draws it only where the search lists it.
void TestEnhListModel::gameRowFollowsItsGame()
{
    EnhListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns({{"Name", 200, Qt::AlignLeft}, {"Played", 60, Qt::AlignLeft}});
    TGame first;
    TGame second;
    QHash<const TGame *, QStringList> texts{{&first, {"alpha", "0"}}, {&second, {"bravo", "0"}}};
    int asked = 0;
    model.setGameTextOf([&](const TGame &game, int source) {
        ++asked;
        return texts.value(&game).value(source);
    });
    model.setSearchKeyOf(
        [&model](const EnhListModel::Row &row) { return model.text(row, 0) + ' ' + model.text(row, 1); });
    model.beginBatch();
    model.appendGameRow(&first, 1);
    model.appendGameRow(&second, 1);
    QCOMPARE(asked, 0);
    model.endBatch();
    model.setSearchText("bravo");
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    texts[&second][1] = "1";
    model.gameChanged(&second);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex(), model.index(0, 0));
    QCOMPARE(changed.first().at(1).toModelIndex(), model.index(0, 1));
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("1"));

    texts[&first][1] = "played";
    model.gameChanged(&first);
    QCOMPARE(changed.count(), 1); // not listed: nothing to draw
    model.setSearchText("played");
    QCOMPARE(listed(model), QStringList{"alpha"}); // its search key follows the new texts

    // An edited caption is the row's own from then on; the other texts stay as they were.
    model.setRowCaption(0, QStringLiteral("renamed"));
    texts[&first] = QStringList{"gone", "gone"};
    QCOMPARE(model.cellText(0, 0), QStringLiteral("renamed"));
    QCOMPARE(model.cellText(0, 1), QStringLiteral("played"));
}

void TestEnhListModel::favouriteRowsShowAndTellTheirMark()
{
    EnhListModel model;
    fillRows(model, {"plain", "marked"});
    model.setFavouriteOf([&model](const EnhListModel::Row &row) { return model.text(row, 0) == "marked"; });
    QCOMPARE(model.index(0, 0).data(Qt::AccessibleDescriptionRole).toString(), stateImageText(0));
    QCOMPARE(model.index(1, 0).data(Qt::AccessibleDescriptionRole).toString(), stateImageText(1) + ", favourite");
    QCOMPARE(model.index(0, 0).data(Qt::DecorationRole).userType(), QMetaType::QImage);
    QCOMPARE(model.index(1, 0).data(Qt::DecorationRole).userType(), QMetaType::QIcon);
    QVERIFY(!model.index(1, 1).data(Qt::DecorationRole).isValid());
}

QTEST_MAIN(TestEnhListModel)
#include "tst_enhlistmodel.moc"
