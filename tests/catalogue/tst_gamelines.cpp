#include "GameLines.h"
#include "GamesFile.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Lanvo;

// The view-based reader must give exactly the lines and fields of the copying one.
class TestGameLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithTheCopyingReader_data();
    void agreesWithTheCopyingReader();
    void generatedLinesAgree();
    void cutAnywhereKeepsTheLines_data();
    void cutAnywhereKeepsTheLines();
};

namespace {

QList<QByteArray> viewedLines(const QByteArray &content)
{
    QList<QByteArray> lines;
    forEachGamesFileLine(content, [&lines](QByteArrayView line) { lines << line.toByteArray(); });
    return lines;
}

// The lines up to the one after which the walk was told to stop.
QList<QByteArray> viewedLinesUpTo(const QByteArray &content, qsizetype count)
{
    QList<QByteArray> lines;
    forEachGamesFileLine(content, [&lines, count](QByteArrayView line) {
        lines << line.toByteArray();
        return lines.size() < count;
    });
    return lines;
}

void compareFields(const QByteArray &line)
{
    const GameFields expected = parseGameLine(line);
    GameLineFields::Scratch scratch;
    const GameLineFields got = splitGameLine(line, scratch);
    const QByteArray what = "line: " + line.toPercentEncoding();
    QVERIFY2(got.name() == expected.name, what.constData());
    QVERIFY2(got.year() == expected.year, what.constData());
    QVERIFY2(got.manufacturer() == expected.manufacturer, what.constData());
    QVERIFY2(got.gameType() == expected.gameType, what.constData());
    QVERIFY2(got.romSet() == expected.romSet, what.constData());
    QByteArray romSetScratch;
    QVERIFY2(gameLineRomSet(line, romSetScratch) == expected.romSet, what.constData());
}

} // namespace

void TestGameLines::agreesWithTheCopyingReader_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("five fields") << QByteArray("a;1990;b;c;d\r\n");
    QTest::newRow("padded built-in line")
        << QByteArray("Art Of Fighting 3                            ;1996;SNK                         ;Fighting;aof3   \r\n");
    QTest::newRow("no separator") << QByteArray("  just  a   name  \n");
    QTest::newRow("six fields") << QByteArray("a;b;c;d;e;f;g\r");
    QTest::newRow("empty fields and ends") << QByteArray(";;;;\r\n;\r\n\r\n\n\rlast");
    QTest::newRow("inner runs, tabs, controls") << QByteArray(" x  \t  y ;\t 19  90\x01; m  ;\x02t;  r  s \r\n");
    QTest::newRow("NUL ends the text") << QByteArray("a;1;b;c;d\r\nz\0;2;;;\r\n", 21);
    QTest::newRow("lone CR between") << QByteArray("one\rtwo\r\r\nthree");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("CR last") << QByteArray("a;1;b;c;d\r");
    QTest::newRow("CR before the NUL") << QByteArray("a;1;b;c;d\r\0\n", 12);
    QTest::newRow("only LF") << QByteArray("\n");
    QTest::newRow("no line end") << QByteArray("a;1;b;c;d");
}

void TestGameLines::agreesWithTheCopyingReader()
{
    QFETCH(QByteArray, content);
    const QList<QByteArray> lines = splitGamesFileLines(content);
    QCOMPARE(viewedLines(content), lines);
    for (const QByteArray &line : lines)
        compareFields(line);
    for (qsizetype count = 1; count <= lines.size(); ++count)
        QCOMPARE(viewedLinesUpTo(content, count), lines.first(count));
}

// Lines drawn from the bytes that matter to the reader, with a fixed seed.
void TestGameLines::generatedLinesAgree()
{
    QRandomGenerator random(1990);
    static const char alphabet[] = {' ', ' ', ' ', ';', ';', '\t', '\x01', 'a', 'B', '7', '\xe9', '\r', '\n'};
    QByteArray content;
    for (int i = 0; i < 4000; ++i)
        content += alphabet[random.bounded(int(sizeof alphabet))];
    const QList<QByteArray> lines = splitGamesFileLines(content);
    QCOMPARE(viewedLines(content), lines);
    for (const QByteArray &line : lines)
        compareFields(line);
}

void TestGameLines::cutAnywhereKeepsTheLines_data()
{
    agreesWithTheCopyingReader_data();
    QTest::newRow("CR LF at every place") << QByteArray("a\r\n\r\nb\r\nc");
}

// Wherever the cut is asked for, the two parts read as the whole does, and the first ends a line.
void TestGameLines::cutAnywhereKeepsTheLines()
{
    QFETCH(QByteArray, content);
    const QList<QByteArray> whole = viewedLines(content);
    for (qsizetype offset = 0; offset <= content.size() + 1; ++offset) {
        const auto [first, second] = cutGamesFileText(content, offset);
        const QByteArray where = "cut asked at " + QByteArray::number(offset);
        QVERIFY2(viewedLines(first.toByteArray()) + viewedLines(second.toByteArray()) == whole, where.constData());
        QVERIFY2(second.isEmpty() || first.endsWith('\n') || first.endsWith('\r'), where.constData());
    }
}

QTEST_APPLESS_MAIN(TestGameLines)
#include "tst_gamelines.moc"
