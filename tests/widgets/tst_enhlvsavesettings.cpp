#include "EnhListView.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Lanvo;

class TestEnhLVSaveSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void roundTrip();
    void nothingSavedUnlessAsked_data();
    void nothingSavedUnlessAsked();
    void partsSavedAsChosen();
    void storedValuesAreChecked_data();
    void storedValuesAreChecked();

private:
    std::unique_ptr<QTemporaryDir> m_store;
};

namespace {

const QString Key = QStringLiteral("LanvoTests\\ListGames");

std::vector<EnhListModel::Column> fourColumns()
{
    return {{"Name", 200, Qt::AlignLeft}, {"Year", 60, Qt::AlignLeft}, {"Type", 100, Qt::AlignLeft},
            {"Manufacturer", 100, Qt::AlignLeft}};
}

void setUp(TEnhListView &list, bool autoSave = true)
{
    list.setColumns(fourColumns());
    list.SetAutoColumnSort(acsSortToggle);
    list.SaveSettings().AutoSave = autoSave;
    list.SaveSettings().RegistryKey = Key;
}

// The store as the list sees it.
std::unique_ptr<QSettings> store()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("LanvoTests"),
                                       QStringLiteral("ListGames"));
}

QList<int> widths(const TEnhListView &list)
{
    QList<int> result;
    for (int column = 0; column < 4; ++column)
        result << list.columnWidth(column);
    return result;
}

} // namespace

void TestEnhLVSaveSettings::init()
{
    m_store = std::make_unique<QTemporaryDir>();
    QVERIFY(m_store->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store->path());
}

void TestEnhLVSaveSettings::roundTrip()
{
    {
        TEnhListView list;
        setUp(list);
        list.loaded();
        list.setColumnWidth(1, 77);
        list.clickColumn(1);
        list.clickColumn(1);
        QVERIFY(!list.SortAscending());
    }
    QCOMPARE(store()->value("Columns/Sizes").toString(), QStringLiteral("200,77,100,100"));
    QCOMPARE(store()->value("Sort/Ascending").toBool(), false);
    QCOMPARE(store()->value("Sort/SortCol").toInt(), 1);

    TEnhListView again;
    setUp(again);
    again.loaded();
    QCOMPARE(widths(again), QList<int>({200, 77, 100, 100}));
    QCOMPARE(again.SortColumn(), 1);
    QVERIFY(!again.SortAscending());
    for (const char *year : {"1990", "", "1995"})
        again.appendRow(QStringLiteral("Game"), {year}, nullptr, 0);
    QCOMPARE(again.listModel()->cellText(0, 1), QStringLiteral("1995"));
    QCOMPARE(again.listModel()->cellText(2, 1), QString());
}

void TestEnhLVSaveSettings::nothingSavedUnlessAsked_data()
{
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("columns");
    QTest::newRow("auto save off") << false << true << true;
    QTest::newRow("never finished loading") << true << false << true;
    QTest::newRow("no columns") << true << true << false;
}

void TestEnhLVSaveSettings::nothingSavedUnlessAsked()
{
    QFETCH(bool, autoSave);
    QFETCH(bool, loaded);
    QFETCH(bool, columns);
    {
        TEnhListView list;
        if (columns)
            setUp(list, autoSave);
        else {
            list.SaveSettings().AutoSave = autoSave;
            list.SaveSettings().RegistryKey = Key;
        }
        if (loaded)
            list.loaded();
        list.clickColumn(0);
    }
    QVERIFY(store()->allKeys().isEmpty());
    QCOMPARE(QDir(m_store->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestEnhLVSaveSettings::partsSavedAsChosen()
{
    {
        TEnhListView list;
        setUp(list);
        list.SaveSettings().SaveColumnSizes = false;
        list.loaded();
        list.clickColumn(2);
    }
    QVERIFY(!store()->contains("Columns/Sizes"));
    QCOMPARE(store()->value("Sort/SortCol").toInt(), 2);

    store()->setValue("Columns/Sizes", "40,50,60,70");
    TEnhListView list;
    setUp(list);
    list.SaveSettings().SaveCurrentSort = false;
    list.loaded();
    QCOMPARE(widths(list), QList<int>({40, 50, 60, 70}));
    QCOMPARE(list.SortColumn(), 0); // no sort loaded: the first column
    QVERIFY(list.SortAscending());
}

void TestEnhLVSaveSettings::storedValuesAreChecked_data()
{
    QTest::addColumn<QString>("sizes");
    QTest::addColumn<QVariant>("sortColumn");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("column");
    QTest::newRow("fewer sizes, bad entries") << "50,x,-3" << QVariant(2) << QList<int>({50, 60, 100, 100}) << 2;
    QTest::newRow("more sizes than columns") << "41,42,43,44,45" << QVariant(3) << QList<int>({41, 42, 43, 44}) << 3;
    QTest::newRow("sort column past the end") << "" << QVariant(9) << QList<int>({200, 60, 100, 100}) << 3;
    QTest::newRow("negative sort column") << "" << QVariant(-4) << QList<int>({200, 60, 100, 100}) << 0;
    QTest::newRow("nothing stored") << QString() << QVariant() << QList<int>({200, 60, 100, 100}) << 0;
}

void TestEnhLVSaveSettings::storedValuesAreChecked()
{
    QFETCH(QString, sizes);
    QFETCH(QVariant, sortColumn);
    QFETCH(QList<int>, widths);
    QFETCH(int, column);
    if (!sizes.isNull())
        store()->setValue("Columns/Sizes", sizes);
    if (sortColumn.isValid())
        store()->setValue("Sort/SortCol", sortColumn);
    TEnhListView list;
    setUp(list);
    list.loaded();
    QCOMPARE(::widths(list), widths);
    QCOMPARE(list.SortColumn(), column);
    QVERIFY(list.SortAscending()); // "Ascending" absent reads as true
}

QTEST_MAIN(TestEnhLVSaveSettings)
#include "tst_enhlvsavesettings.moc"
