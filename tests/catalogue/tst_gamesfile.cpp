#include "GamesFile.h"

#include <QTest>

using namespace Lanvo;

class TestGamesFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalizeSpaces_data();
    void normalizeSpaces();
    void parseLine_data();
    void parseLine();
    void splitLines_data();
    void splitLines();
    void hugeLineIsOneGame();
    void longFieldsAreCut_data();
    void longFieldsAreCut();
    void joinEndsEveryLineWithCrLf();
};

void TestGamesFile::normalizeSpaces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("normalized");

    QTest::newRow("padding") << QByteArray("  aof3     ") << QByteArray("aof3");
    QTest::newRow("inner runs") << QByteArray("Samurai Showdown  (Samurai Spirit)")
                                << QByteArray("Samurai Showdown (Samurai Spirit)");
    QTest::newRow("control bytes at the ends") << QByteArray("\t\x01 name \x1f\t") << QByteArray("name");
    QTest::newRow("inner tab kept") << QByteArray("a\t b") << QByteArray("a\t b");
    QTest::newRow("only spaces") << QByteArray("     ") << QByteArray();
    QTest::newRow("high bytes kept") << QByteArray("\xe9t\xe9  ") << QByteArray("\xe9t\xe9");
}

void TestGamesFile::normalizeSpaces()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, normalized);
    QCOMPARE(NormalizeSpaces(text), normalized);
}

void TestGamesFile::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArrayList>("fields"); // name, year, manufacturer, type, ROM set

    QTest::newRow("five fields") << QByteArray("a;1990;b;c;d") << QByteArrayList{"a", "1990", "b", "c", "d"};
    QTest::newRow("no separator") << QByteArray("  Just  a name ")
                                  << QByteArrayList{"Just a name", "", "", "", ""};
    QTest::newRow("six fields drop the sixth") << QByteArray("a;b;c;d;e;f")
                                               << QByteArrayList{"a", "b", "c", "d", "e"};
    QTest::newRow("blank line") << QByteArray() << QByteArrayList{"", "", "", "", ""};
    QTest::newRow("padded built-in line")
        << QByteArray("Art Of Fighting 3                            ;1996;SNK                         "
                      ";Fighting;aof3     ")
        << QByteArrayList{"Art Of Fighting 3", "1996", "SNK", "Fighting", "aof3"};
    QTest::newRow("empty fields between") << QByteArray("n;;;;rs") << QByteArrayList{"n", "", "", "", "rs"};
    QTest::newRow("separators only") << QByteArray(";;;;;;;;") << QByteArrayList{"", "", "", "", ""};
}

void TestGamesFile::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArrayList, fields);
    const GameFields parsed = parseGameLine(line);
    QCOMPARE((QByteArrayList{parsed.name, parsed.year, parsed.manufacturer, parsed.gameType, parsed.romSet}),
             fields);
}

void TestGamesFile::splitLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("lf only") << QByteArray("a\nb\n") << QByteArrayList{"a", "b"};
    QTest::newRow("cr only") << QByteArray("a\rb\r") << QByteArrayList{"a", "b"};
    QTest::newRow("blank line in the middle") << QByteArray("a\r\n\r\nb\r\n") << QByteArrayList{"a", "", "b"};
    QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("nul ends the text") << QByteArray("a\r\nb\0c\r\nd", 10) << QByteArrayList{"a", "b"};
    QTest::newRow("nul first") << QByteArray("\0a", 2) << QByteArrayList{};
}

void TestGamesFile::splitLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, lines);
    QCOMPARE(splitGamesFileLines(content), lines);
}

void TestGamesFile::hugeLineIsOneGame()
{
    const QByteArray name(100000, 'x');
    const QList<QByteArray> lines = splitGamesFileLines(name + ";1990;m;t;rs\r\nnext");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(parseGameLine(lines.first()).name, name.left(4096)); // cut, the rest of the line kept
    QCOMPARE(parseGameLine(lines.first()).romSet, QByteArray("rs"));
}

void TestGamesFile::longFieldsAreCut_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("cut");
    const QByteArray a4096(4096, 'a');
    QTest::newRow("4096 bytes kept") << a4096 << a4096;
    QTest::newRow("4097 bytes cut") << a4096 + "b" << a4096;
    // "\xc3\xa9" straddles the cut: the whole character goes, so the field stays valid UTF-8.
    QTest::newRow("character across the cut") << QByteArray(4095, 'a') + "\xc3\xa9" << QByteArray(4095, 'a');
    QTest::newRow("four-byte character across the cut")
        << QByteArray(4094, 'a') + "\xf0\x9f\x8e\xae" << QByteArray(4094, 'a');
    QTest::newRow("padding is removed first") << "   " + a4096 + "   " << a4096;
    QTest::newRow("no blank left at the cut") << QByteArray(4095, 'a') + " b" << QByteArray(4095, 'a');
}

void TestGamesFile::longFieldsAreCut()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, cut);
    const GameFields fields = parseGameLine(field + ";" + field + ";" + field + ";" + field + ";" + field);
    for (const QByteArray &each : {fields.name, fields.year, fields.manufacturer, fields.gameType, fields.romSet})
        QCOMPARE(each, cut);
}

void TestGamesFile::joinEndsEveryLineWithCrLf()
{
    QCOMPARE(joinGamesFileLines({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
    QCOMPARE(joinGamesFileLines({}), QByteArray());
}

QTEST_APPLESS_MAIN(TestGamesFile)
#include "tst_gamesfile.moc"
