#include "WordSort.h"

#include <QTest>

using namespace Lanvo;

// The one order of texts: names, makers and types sort by it in the list, the built-in catalogue is
// written in it. Its plain-ASCII rules are tried on the catalogue's lines; here, what lies beyond.
class TestWordSort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data();
    void order();
};

void TestWordSort::order_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("typographic apostrophe too") << QString::fromUtf8("Fu\u2019un") << "Futsal" << 1;
    QTest::newRow("lower case before capitals") << "mahjong" << "Mahjong" << -1;
    QTest::newRow("lower case among capitals") << "zupapa" << "Alpha" << 1;
    QTest::newRow("accent ignored at first") << QString::fromUtf8("\u00e9cole") << "ecolz" << -1;
    QTest::newRow("accent before case") << "Ecole" << QString::fromUtf8("\u00e9cole") << -1;
    QTest::newRow("later accent weighs less") << QString::fromUtf8("c\u00f4te") << QString::fromUtf8("cot\u00e9") << 1;
    QTest::newRow("decomposed accent") << QString::fromUtf8("e\u0301t\u00e9") << "etez" << -1;
    QTest::newRow("stroke letter with its base") << QString::fromUtf8("\u00d8rsted") << "Oz" << -1;
    QTest::newRow("sharp s reads as ss") << QString::fromUtf8("Stra\u00dfe") << "Strast" << -1;
    QTest::newRow("sharp s after ss") << QString::fromUtf8("Stra\u00dfe") << "Strasse" << 1;
    QTest::newRow("ligature reads as its letters") << QString::fromUtf8("\ufb01ne") << "fins" << -1;
    QTest::newRow("letter beyond 16 bits") << QString::fromUtf8("\U0001D400rc") << "Bat" << -1;
    QTest::newRow("other scripts after Latin") << QString::fromUtf8("\u03a9mega") << "Zeta" << 1;
    QTest::newRow("other digits are digits") << QString::fromUtf8("\u0661") << "A" << -1;
    QTest::newRow("ignorable alone after empty") << "" << "-" << -1;
}

void TestWordSort::order()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(compareWordSort(a, b), expected);
    QCOMPARE(compareWordSort(b, a), -expected);
    // Keys made once per text give the same answer.
    QCOMPARE(compareWordSortKeys(wordSortKey(a), a, wordSortKey(b), b), expected);
}

QTEST_APPLESS_MAIN(TestWordSort)
#include "tst_wordsort.moc"
