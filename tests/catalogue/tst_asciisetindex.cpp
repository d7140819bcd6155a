#include "AsciiSetIndex.h"

#include <QTest>

using namespace Lanvo;

class TestAsciiSetIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aNameHashesAlikeAsBytesAndAsText();
    void entriesOfOneHashAreToldApartByTheirNames_data();
    void entriesOfOneHashAreToldApartByTheirNames();
};

void TestAsciiSetIndex::aNameHashesAlikeAsBytesAndAsText()
{
    for (const char *name : {"", "a", "kof98", "set049999", "Street Fighter II'"})
        QCOMPARE(AsciiSetIndex::hashOf(QByteArrayView(name)), AsciiSetIndex::hashOf(QString::fromLatin1(name)));
    QVERIFY(AsciiSetIndex::hashOf(QByteArrayView("ab")) != AsciiSetIndex::hashOf(QByteArrayView("ba")));
}

// Names stand for the numbers' keys; every entry is given the same hash (or hashes that share their
// slot bits) so that each look-up must walk past the others and compare names.
void TestAsciiSetIndex::entriesOfOneHashAreToldApartByTheirNames_data()
{
    QTest::addColumn<size_t>("step"); // added to the hash from one entry to the next
    QTest::addColumn<int>("count");   // enough to make the table grow several times
    QTest::newRow("one hash") << size_t(0) << 200;
    QTest::newRow("one slot, other checks") << (size_t(1) << 20) << 200;
    QTest::newRow("neighbouring slots") << size_t(1) << 1000;
}

void TestAsciiSetIndex::entriesOfOneHashAreToldApartByTheirNames()
{
    QFETCH(size_t, step);
    QFETCH(int, count);
    // Number n names "n % (count / 2)": the second half repeats the first, and only the first number
    // of a name is added, as the history adds only the first line of a set.
    const auto nameOf = [count](quint32 number) { return number % quint32(count / 2); };
    const auto hashOf = [step](quint32 name) { return size_t(0x5eed) + step * size_t(name); };
    const auto find = [&](const AsciiSetIndex &index, quint32 number) {
        return index.find(hashOf(nameOf(number)), [&](quint32 added) { return nameOf(added) == nameOf(number); });
    };
    AsciiSetIndex index;
    for (quint32 n = 0; n < quint32(count); ++n) {
        if (find(index, n) == AsciiSetIndex::None)
            index.insert(hashOf(nameOf(n)), n);
    }
    for (quint32 n = 0; n < quint32(count); ++n)
        QCOMPARE(find(index, n), nameOf(n)); // the first number of the name, never its repeat
    QCOMPARE(index.find(0x5eed + step * size_t(count), [](quint32) { return false; }), AsciiSetIndex::None);
    index.insert(0x5eed, quint32(count));
    QCOMPARE(index.find(0x5eed, [count](quint32 added) { return added == quint32(count); }), quint32(count));
    index.clear();
    QCOMPARE(index.find(0x5eed, [](quint32) { return true; }), AsciiSetIndex::None);
}

QTEST_APPLESS_MAIN(TestAsciiSetIndex)
#include "tst_asciisetindex.moc"
