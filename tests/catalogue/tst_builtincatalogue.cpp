#include "BuiltInCatalogue.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <algorithm>

using namespace Lanvo;

namespace {

// The ROM set names in the order the catalogue must keep, written out independently of the table.
const char *const kExpectedRomSets[] = {
    "2020bb",   "3countb",  "adkw",     "aerofig2", "aerofig3", "aodk",     "alpham",   "alpham2",
    "androdun", "artfight", "aof2",     "aof3",     "btmh",     "bstars",   "bstars2",  "bigtgolf",
    "blazstar", "bluestar", "bjourney", "breakers", "burningf", "chobri",   "crsword",  "crsword2",
    "cyberlip", "cybrlipa", "deadlysp", "doubledr", "driftout", "dstar",    "eightman", "fatfury1",
    "fatfury2", "fatfury3", "fatfurys", "ffeverl",  "fbfrenzy", "ffbroth",  "futsal",   "fstb",
    "galfight", "gpilots",  "Goalx3",   "gowkaizr", "guruin",   "joyjoy",   "kklash",   "krevenge",
    "kof94",    "kof95",    "kof96",    "kof96cd",  "kof97",    "kof98",    "kingofm",  "kotm2",
    "lblade",   "lresort",  "lbowling", "lsjoe",    "mdrop",    "mdrop2",   "mdrop3",   "maglord",
    "mahretsu", "mahjongs", "mdquiz",   "msyogi",   "mslug",    "mslug2",   "minnooka", "mutnat",
    "mystman",  "nam_1975", "nbombe",   "ndrftout", "ngcdspec", "neomrdo",  "ntmaster", "ncombat",
    "ncommand", "nmaster",  "oprgard",  "ovtop",    "pbomber",  "pgoal",    "pnbnce",   "pspikes2",
    "pulstar",  "pbobble",  "puzzledp", "qp",       "janshin",  "quizds",   "quizkof",  "quizmng",
    "ragnagrd", "rchase",   "rffury",   "rffury2",  "rffurysp", "ridhero",  "redge",    "ararmy",
    "rnk2",     "samsho",   "samsho2",  "samsho3",  "samsho4",  "samsho64", "samshrpg", "sreign",
    "sreign2",  "sengoku",  "sengoku2", "strooper", "socbrawl", "smaster",  "swinner",  "swinner2",
    "shoop",    "sdodge",   "sidkicks", "ssidek2",  "ssidek3",  "ssidek4",  "superspy", "svolley",
    "trally",   "tophuntr", "tpgolf",   "tmaster",  "tssprite", "viewpoin", "vfighter", "waku7",
    "wand",     "wjammers", "wcvolley", "wheroes",  "wheroes2", "weroes2j", "wheroesp", "weroesp2",
    "tws96",    "zblade",   "zentrix",  "zupapa",
};

const QByteArray kFutsalLine =
    "Futsal                                       ;    ;                            ;;futsal   ";
const QByteArray kFstbLine = "Fu'un Super Tag Battle                       ;1996;SNK                         "
                             ";Fighting;fstb     ";
const QByteArray kFfbrothLine = "Fun Fun Brothers                             ;    ;Eolith                      "
                                ";Puzzle;ffbroth  ";

QList<QByteArray> fieldsOf(const QByteArray &line)
{
    return line.split(';');
}

QByteArray romSetOf(const QByteArray &line)
{
    return fieldsOf(line).value(4).trimmed();
}

QByteArray lineOfRomSet(const QByteArray &romSet)
{
    for (const QByteArray &line : DefaultGameLines()) {
        if (romSetOf(line) == romSet)
            return line;
    }
    return {};
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

class TestGamesDb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineLayout_data();
    void lineLayout();
    void typeCounts_data();
    void typeCounts();
    void missingYearsAndMakers();
    void namesAndRomSets();
    void givenLinesVerbatim_data();
    void givenLinesVerbatim();
    void builtInOrderIsSorted();
    void fillKeepsExistingLinesAndDuplicates();
    void compare_data();
    void compare();
    void apostropheWeighsOnlyAsTieBreak();
};

void TestGamesDb::lineLayout_data()
{
    QTest::addColumn<QByteArray>("line");
    for (const QByteArray &line : DefaultGameLines())
        QTest::newRow(romSetOf(line).constData()) << line;
}

void TestGamesDb::lineLayout()
{
    QFETCH(QByteArray, line);
    const QList<QByteArray> fields = fieldsOf(line);
    QCOMPARE(fields.size(), 5);

    const qsizetype nameWidth = romSetOf(line) == "tws96" ? 44 : 45;
    QCOMPARE(line.indexOf(';'), nameWidth);
    QVERIFY2(!fields[0].startsWith(' ') && fields[0].endsWith(' '), "name left-aligned, padded");

    const QByteArray year = fields[1];
    QCOMPARE(year.size(), 4);
    if (year != "    ") {
        bool isNumber = false;
        const int value = year.toInt(&isNumber);
        QVERIFY2(isNumber && value >= 1990 && value <= 1998, year.constData());
    }

    QCOMPARE(fields[2].size(), 28);
    QVERIFY(!fields[2].startsWith(' ') || fields[2].trimmed().isEmpty());

    static const QSet<QByteArray> types = {"Fighting", "Sport",    "Puzzle", "Shooter", "Arcade", "Racing",
                                           "Platform", "3D",       "Demos",  "RPG",     ""};
    QVERIFY2(types.contains(fields[3]), fields[3].constData());

    // ROM set name, then 0 to 7 spaces.
    static const QRegularExpression romField(QStringLiteral("^([a-z0-9_]{2,8}|Goalx3) {0,7}$"));
    QVERIFY2(romField.match(QString::fromLatin1(fields[4])).hasMatch(), fields[4].constData());
    QVERIFY(fields[4].count('_') <= 1);

    for (const char c : line)
        QVERIFY2(c >= 0x20 && c < 0x7f, "plain printable ASCII only");
}

void TestGamesDb::typeCounts_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<int>("expected");
    QTest::newRow("Fighting") << QByteArray("Fighting") << 43;
    QTest::newRow("Sport") << QByteArray("Sport") << 26;
    QTest::newRow("Puzzle") << QByteArray("Puzzle") << 19;
    QTest::newRow("Shooter") << QByteArray("Shooter") << 14;
    QTest::newRow("Arcade") << QByteArray("Arcade") << 14;
    QTest::newRow("Racing") << QByteArray("Racing") << 9;
    QTest::newRow("Platform") << QByteArray("Platform") << 8;
    QTest::newRow("3D") << QByteArray("3D") << 3;
    QTest::newRow("Demos") << QByteArray("Demos") << 1;
    QTest::newRow("RPG") << QByteArray("RPG") << 1;
    QTest::newRow("empty") << QByteArray() << 10;
}

void TestGamesDb::typeCounts()
{
    QFETCH(QByteArray, type);
    QFETCH(int, expected);
    const auto &lines = DefaultGameLines();
    const auto count = std::count_if(lines.cbegin(), lines.cend(),
                                     [&](const QByteArray &line) { return fieldsOf(line).value(3) == type; });
    QCOMPARE(int(count), expected);
}

void TestGamesDb::missingYearsAndMakers()
{
    int noYear = 0;
    int noMaker = 0;
    for (const QByteArray &line : DefaultGameLines()) {
        const QList<QByteArray> fields = fieldsOf(line);
        noYear += fields.value(1).trimmed().isEmpty();
        noMaker += fields.value(2).trimmed().isEmpty();
    }
    QCOMPARE(noYear, 26);
    QCOMPARE(noMaker, 13);
}

void TestGamesDb::namesAndRomSets()
{
    const auto &lines = DefaultGameLines();
    QCOMPARE(lines.size(), qsizetype(std::size(kExpectedRomSets)));

    QSet<QByteArray> foldedRomSets;
    qsizetype longestName = 0;
    QList<QByteArray> doubleSpacedRomSets;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray romSet = romSetOf(lines[i]);
        QCOMPARE(romSet, QByteArray(kExpectedRomSets[i]));
        foldedRomSets.insert(romSet.toLower());

        const QByteArray name = fieldsOf(lines[i]).value(0).trimmed();
        longestName = std::max(longestName, name.size());
        if (name.contains("  ("))
            doubleSpacedRomSets.append(romSet);
    }
    QCOMPARE(foldedRomSets.size(), lines.size());
    QCOMPARE(longestName, qsizetype(44));
    QCOMPARE(doubleSpacedRomSets, (QList<QByteArray>{"samsho", "samsho2", "samsho3", "samsho4"}));
}

void TestGamesDb::givenLinesVerbatim_data()
{
    QTest::addColumn<QByteArray>("line");
    const QByteArray given[] = {
        "2020 Super Baseball                          ;1991;Pallas                      ;Sport;2020bb",
        "ADK World                                    ;    ;ADK                         ;;adkw     ",
        "Baka Tonosama Mahjong Hoyuki                 ;    ;                            ;;btmh     ",
        kFutsalLine,
        "Turf Masters                                 ;1996;Nazca?                      ;Sport;tmaster  ",
        "World Heroes 2 Jet                           ;1994;ADK                         ;Fighting;weroes2j ",
        "World Heroes Perfect 2                       ;    ;ADK                         ;Fighting;weroesp2 ",
        "World Soccer '96                            ;1995;NMK                         ;Sport;tws96",
    };
    for (const QByteArray &line : given)
        QTest::newRow(romSetOf(line).constData()) << line;
}

void TestGamesDb::givenLinesVerbatim()
{
    QFETCH(QByteArray, line);
    QCOMPARE(lineOfRomSet(romSetOf(line)), line);
}

void TestGamesDb::builtInOrderIsSorted()
{
    const auto &lines = DefaultGameLines();
    for (qsizetype i = 1; i < lines.size(); ++i)
        QVERIFY2(WordSortCompare(lines[i - 1], lines[i]) < 0, lines[i].constData());

    QList<QByteArray> filled;
    FillDefaultGames(filled);
    QCOMPARE(filled, lines);
    QCOMPARE(filled.indexOf(kFstbLine), filled.indexOf(kFutsalLine) + 1);
}

void TestGamesDb::fillKeepsExistingLinesAndDuplicates()
{
    const QByteArray first = "0 Before Everything;;;;zero";
    const QByteArray last = "Zzz After Everything;;;;zzz";
    QList<QByteArray> list{last, kFutsalLine, first};
    FillDefaultGames(list);

    QCOMPARE(list.size(), DefaultGameLines().size() + 3);
    QCOMPARE(list.first(), first);
    QCOMPARE(list.last(), last);
    QCOMPARE(list.count(kFutsalLine), qsizetype(2));
    const qsizetype futsal = list.indexOf(kFutsalLine);
    QCOMPARE(list.at(futsal + 1), kFutsalLine);
    QCOMPARE(list.at(futsal + 2), kFstbLine);

    // A list holding every line already, in reverse, ends up with each line twice, side by side.
    QList<QByteArray> reversed(DefaultGameLines().crbegin(), DefaultGameLines().crend());
    FillDefaultGames(reversed);
    QCOMPARE(reversed.size(), 2 * DefaultGameLines().size());
    for (qsizetype i = 0; i < DefaultGameLines().size(); ++i) {
        QCOMPARE(reversed.at(2 * i), DefaultGameLines().at(i));
        QCOMPARE(reversed.at(2 * i + 1), DefaultGameLines().at(i));
    }
}

void TestGamesDb::compare_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("identical") << QByteArray("Art Of Fighting") << QByteArray("Art Of Fighting") << 0;
    QTest::newRow("apostrophe skipped") << QByteArray("Fuua") << QByteArray("Fu'uz") << -1;
    QTest::newRow("hyphen skipped") << QByteArray("Cyber-Lip") << QByteArray("Cyberkid") << 1;
    QTest::newRow("apostrophe tie-break") << QByteArray("Fu'un") << QByteArray("Fuun") << -1;
    QTest::newRow("hyphen tie-break") << QByteArray("Cyber-Lip") << QByteArray("CyberLip") << -1;
    QTest::newRow("space before symbol") << QByteArray("A B") << QByteArray("A!B") << -1;
    QTest::newRow("symbol before digit") << QByteArray("A~") << QByteArray("A0") << -1;
    QTest::newRow("symbols by byte value") << QByteArray("A!") << QByteArray("A(") << -1;
    QTest::newRow("symbol before letter") << QByteArray("A_") << QByteArray("AA") << -1;
    QTest::newRow("digit before letter") << QByteArray("Fury 9") << QByteArray("Fury A") << -1;
    QTest::newRow("accented letter with its base letter") << QByteArray("Az") << QByteArray("A\xe9") << 1;
    QTest::newRow("case ignored") << QByteArray("abc") << QByteArray("ABD") << -1;
    QTest::newRow("case breaks a tie only") << QByteArray("ABC") << QByteArray("abc") << 1;
    QTest::newRow("prefix first") << QByteArray("Alpha Mission") << QByteArray("Alpha Mission II") << -1;
    QTest::newRow("padded prefix first")
        << QByteArray("Alpha Mission     ;") << QByteArray("Alpha Mission II  ;") << -1;
    QTest::newRow("empty first") << QByteArray() << QByteArray(" ") << -1;
    QTest::newRow("fstb after futsal") << kFstbLine << kFutsalLine << 1;
    QTest::newRow("fstb after ffbroth") << kFstbLine << kFfbrothLine << 1;
}

void TestGamesDb::compare()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, expected);
    QCOMPARE(sign(WordSortCompare(a, b)), expected);
    QCOMPARE(sign(WordSortCompare(b, a)), -expected);
}

void TestGamesDb::apostropheWeighsOnlyAsTieBreak()
{
    // With a weight of its own (like "!", the lowest symbol) the apostrophe would move the line in
    // front of "ffbroth" and "futsal"; the real line stays after both.
    QByteArray weighted = kFstbLine;
    weighted.replace('\'', '!');
    QVERIFY(WordSortCompare(weighted, kFfbrothLine) < 0);
    QVERIFY(WordSortCompare(weighted, kFutsalLine) < 0);
    QVERIFY(WordSortCompare(kFstbLine, kFfbrothLine) > 0);
    QVERIFY(WordSortCompare(kFstbLine, kFutsalLine) > 0);
}

QTEST_APPLESS_MAIN(TestGamesDb)
#include "tst_builtincatalogue.moc"
