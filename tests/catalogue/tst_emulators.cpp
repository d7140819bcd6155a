#include "AlternateFolder.h"
#include "CatalogueRead.h"
#include "Emulators.h"
#include "FilesUtils.h"
#include "LanvoError.h"
#include "RomScan.h"
#include "TestFakes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestEmulators : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void constructionSetsDirectoriesAgainstStart();
    void startFolderNameIsKeptWhole();
    void scanPrecedence_data();
    void scanPrecedence();
    void scanRefusesNamesReachingOut_data();
    void scanRefusesNamesReachingOut();
    void refreshFiltersAndKeepsFileOrder_data();
    void refreshFiltersAndKeepsFileOrder();
    void refreshReselectsByNameIgnoringCase();
    void refreshSelectsFirstOfDuplicateNames();
    void refreshWithFilterLeavingSelectionOutSelectsNothing();
    void missingGamesFileEmptiesEverything();
    void oddGamesFileNeverFails();
    void gamesAlikeShareTheirDetails();
    void largeFileReadByTwoThreadsKeepsItsOrder_data();
    void largeFileReadByTwoThreadsKeepsItsOrder();
    void namesOfTheFirstGamesComeFirst_data();
    void namesOfTheFirstGamesComeFirst();
    void readAheadServesOnlyTheFilesItRead_data();
    void readAheadServesOnlyTheFilesItRead();
    void readAheadFindsNamesInItsRomDirectories_data();
    void readAheadFindsNamesInItsRomDirectories();
    void setGamesDatafileRefreshesOrEmpties();
    void specialGamesFileCantBeOpened_data();
    void specialGamesFileCantBeOpened();
    void oversizedGamesFileIsRefused();
    void longFieldsLeaveTheFileAlone();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        FakeListRows Rows;
        RecordingPrompts Prompts;
        std::unique_ptr<TEmulators> Emulator;

        explicit Fixture(const QByteArray &games)
        {
            Emulator = std::make_unique<TEmulators>(nullptr, Dir.path());
            writeFile(Emulator->gamesFilePath(), games);
            Emulator->ListGames = &Rows;
            Emulator->Prompts = &Prompts;
        }
        QStringList captions() const
        {
            QStringList result;
            for (int row = 0; row < Rows.rowCount(); ++row)
                result.append(Rows.rowCaption(row));
            return result;
        }
    };
};

// A backslash in the start folder's own name is part of it; only a relative configured value is
// read with backslashes as separators.
void TestEmulators::startFolderNameIsKeptWhole()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("a\\b");
    QVERIFY(QDir().mkpath(start));
    const TEmulators emulator(nullptr, start);
    QCOMPARE(emulator.StartDir.FullPath, start);
    QCOMPARE(emulator.DataDir.FullPath, start + "/lanvo");
    QCOMPARE(emulator.makePath(".\\roms\\neo"), (TPath{"./roms/neo", start + "/roms/neo"}));
    QCOMPARE(emulator.makePath("/srv/x\\y"), (TPath{"/srv/x\\y", "/srv/x\\y"}));
}

void TestEmulators::constructionSetsDirectoriesAgainstStart()
{
    const QTemporaryDir dir;
    const TEmulators emulator(nullptr, dir.path());
    QCOMPARE(emulator.StartDir, (TPath{".", dir.path()}));
    QCOMPARE(emulator.TitlePicDir.FullPath, dir.path() + "/lanvo/TitlePic");
    QCOMPARE(emulator.GamePicDir.FullPath, dir.path() + "/lanvo/GamePic");
    QCOMPARE(emulator.PictureDir, emulator.TitlePicDir);
    QCOMPARE(emulator.RomPath1.FullPath, dir.path());
    QCOMPARE(emulator.RomPath2, emulator.RomPath1);
    QCOMPARE(emulator.DataDir, (TPath{"./lanvo", dir.path() + "/lanvo"}));
    QCOMPARE(emulator.AltPath, (TPath{defaultAlternateDirectory(), defaultAlternateDirectory()}));
    QCOMPARE(emulator.gamesFilePath(), dir.path() + "/lanvo/GAMES.CSV");
    QCOMPARE(emulator.InstallType(), itCDRom);
    QVERIFY(!emulator.ZipSupport);
    QVERIFY(!emulator.CurrentGame);
}

void TestEmulators::scanPrecedence_data()
{
    QTest::addColumn<QStringList>("entries"); // "1:" or "2:" then a name; a trailing "/" makes a directory
    QTest::addColumn<int>("location");
    QTest::addColumn<QString>("found");       // relative to the temporary directory

    QTest::newRow("nothing") << QStringList{} << int(rlMissing) << "";
    QTest::newRow("directory in 1 beats archive in 2") << QStringList{"1:aof3/", "2:aof3.zip"}
                                                       << int(rlDirectory) << "r1/aof3";
    QTest::newRow("directory in 2 beats archive in 1") << QStringList{"1:aof3.zip", "2:aof3/"}
                                                       << int(rlDirectory) << "r2/aof3";
    QTest::newRow("directories in both: second wins") << QStringList{"1:aof3/", "2:aof3/"}
                                                      << int(rlDirectory) << "r2/aof3";
    QTest::newRow("archives in both: second wins") << QStringList{"1:aof3.zip", "2:aof3.zip"}
                                                   << int(rlZip) << "r2/aof3.zip";
    QTest::newRow("archive in 1 only") << QStringList{"1:aof3.zip"} << int(rlZip) << "r1/aof3.zip";
    QTest::newRow("file without .zip is no find") << QStringList{"1:aof3"} << int(rlMissing) << "";
    QTest::newRow("directory named .zip is no find") << QStringList{"1:aof3.zip/"} << int(rlMissing) << "";
    QTest::newRow("case is the file system's") << QStringList{"1:AOF3/"} << int(rlMissing) << "";
}

void TestEmulators::scanPrecedence()
{
    QFETCH(QStringList, entries);
    QFETCH(int, location);
    QFETCH(QString, found);
    const QTemporaryDir dir;
    makeDirectory(dir.filePath("r1"));
    makeDirectory(dir.filePath("r2"));
    for (const QString &entry : entries) {
        const QString path = dir.filePath((entry.startsWith("1:") ? "r1/" : "r2/") + entry.mid(2));
        if (path.endsWith('/'))
            makeDirectory(path);
        else
            writeFile(path, "PK");
    }
    TGame game;
    game.RomSet = QStringLiteral("aof3");
    ScanRomSet(game, dir.filePath("r1"), dir.filePath("r2"));
    QCOMPARE(int(game.Location), location);
    QCOMPARE(game.foundPath(), found.isEmpty() ? QString() : dir.filePath(found));
}

void TestEmulators::scanRefusesNamesReachingOut_data()
{
    QTest::addColumn<QString>("romSet");
    QTest::newRow("parent") << "../x";
    QTest::newRow("empty names the ROM directory itself") << "";
    QTest::newRow("absolute") << "/tmp";
}

void TestEmulators::scanRefusesNamesReachingOut()
{
    QFETCH(QString, romSet);
    const QTemporaryDir dir;
    makeDirectory(dir.filePath("roms"));
    makeDirectory(dir.filePath("x")); // what "../x" would reach
    TGame game;
    game.RomSet = romSet;
    ScanRomSet(game, dir.filePath("roms"), dir.filePath("roms"));
    QCOMPARE(game.Location, rlMissing);
    QVERIFY(game.FoundDir.isEmpty());
}

void TestEmulators::refreshFiltersAndKeepsFileOrder_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("all") << int(gfAll) << QStringList{"Zed", "Alpha", "Mid", ""};
    QTest::newRow("available") << int(gfAvailable) << QStringList{"Zed", "Mid"};
    QTest::newRow("missing") << int(gfMissing) << QStringList{"Alpha", ""};
    QTest::newRow("favourites") << int(gfFavourites) << QStringList{"Zed", "Alpha"};
    QTest::newRow("recently played, the last first") << int(gfRecentlyPlayed) << QStringList{"Zed", "Mid"};
}

void TestEmulators::refreshFiltersAndKeepsFileOrder()
{
    QFETCH(int, filter);
    QFETCH(QStringList, captions);
    Fixture f("Zed;1991;Maker;Sport;zed\r\nAlpha;;;;alpha\r\nMid;1995;M2;Puzzle;mid\r\n\r\n");
    makeDirectory(f.Dir.filePath("zed"));
    writeFile(f.Dir.filePath("mid.zip"), "PK");
    writeFile(f.Emulator->historyFilePath(), "mid;2;2026-01-02 00:00:00;5;0\r\nzed;1;2026-01-03 00:00:00;5;1\r\n"
                                             "alpha;0;;0;1\r\n");
    f.Emulator->RefreshList(TGameFilter(filter));
    QCOMPARE(f.captions(), captions);
    QCOMPARE(f.Rows.OpenBrackets, 0);
    QCOMPARE(f.Prompts.BusyDepth, 0);
    QVERIFY(f.Prompts.BusyCount > 0);
    QCOMPARE(f.Emulator->Games().size(), size_t(4));
    if (filter == gfAll) {
        const auto &zed = f.Rows.Rows.front();
        QCOMPARE(f.Rows.subItems(0).first(3), (QStringList{"1991", "Sport", "Maker"}));
        QCOMPARE(f.Rows.subItems(0).at(3), QStringLiteral("1"));
        QCOMPARE(f.Rows.subItems(1).mid(3), (QStringList{"0", ""}));
        QCOMPARE(zed.StateImage, int(rlDirectory));
        QCOMPARE(zed.Game, f.Emulator->GetGame(0));
        QCOMPARE(f.Rows.Rows[2].StateImage, int(rlZip));
        QCOMPARE(f.Rows.Rows[1].StateImage, int(rlMissing));
    }
}

void TestEmulators::refreshReselectsByNameIgnoringCase()
{
    Fixture f("One;;;;one\r\nTwo;;;;two\r\n");
    f.Emulator->RefreshList(gfAll);
    f.Rows.selectRow(1);
    writeFile(f.Emulator->gamesFilePath(), "TWO;;;;two\r\nOne;;;;one\r\n");
    f.Emulator->RefreshList(gfAll);
    QCOMPARE(f.Rows.Selected, 0);
    QVERIFY(f.Emulator->CurrentGame);
    QCOMPARE(f.Emulator->CurrentGame->Name, QStringLiteral("TWO"));
}

void TestEmulators::refreshSelectsFirstOfDuplicateNames()
{
    Fixture f("Same;1990;;;a\r\nOther;;;;b\r\nSame;1991;;;c\r\n");
    f.Emulator->RefreshList(gfAll);
    f.Rows.selectRow(2);
    f.Emulator->RefreshList(gfAll);
    QCOMPARE(f.Rows.Selected, 0);
    QCOMPARE(f.Emulator->CurrentGame->RomSet, QStringLiteral("a"));
}

void TestEmulators::refreshWithFilterLeavingSelectionOutSelectsNothing()
{
    Fixture f("Here;;;;here\r\nGone;;;;gone\r\n");
    makeDirectory(f.Dir.filePath("here"));
    f.Emulator->RefreshList(gfAvailable);
    f.Rows.selectRow(0);
    f.Emulator->RefreshList(gfMissing);
    QCOMPARE(f.captions(), QStringList{"Gone"});
    QCOMPARE(f.Rows.Selected, -1);
    QVERIFY(!f.Emulator->CurrentGame);
}

void TestEmulators::missingGamesFileEmptiesEverything()
{
    Fixture f("A;;;;a\r\n");
    f.Emulator->RefreshList(gfAll);
    f.Rows.selectRow(0);
    QVERIFY(QFile::remove(f.Emulator->gamesFilePath()));
    try {
        f.Emulator->RefreshList(gfAll);
        QFAIL("no error for a missing games file");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), "Impossible d'ouvrir le fichier " + f.Emulator->gamesFilePath());
    }
    QCOMPARE(f.Rows.rowCount(), 0);
    QVERIFY(f.Emulator->Games().empty());
    QVERIFY(!f.Emulator->CurrentGame);
    QCOMPARE(f.Prompts.BusyDepth, 0);
    QCOMPARE(f.Rows.OpenBrackets, 0);
}

void TestEmulators::oddGamesFileNeverFails()
{
    QByteArray odd("No end\rCR only\nLF;1990\r\n\xff\xfe\x80 bytes;;;;rs\r\n");
    odd += QByteArray(100000, 'n') + ";;;;big";
    odd += QByteArray("\0after nul;;;;x", 15);
    Fixture f(odd);
    f.Emulator->RefreshList(gfAll);
    QCOMPARE(f.Rows.rowCount(), 5);
    QCOMPARE(f.Rows.subItems(2).first(), QStringLiteral("1990"));
    QCOMPARE(f.Rows.rowCaption(3), QString::fromUtf8("\xc3\xbf\xc3\xbe\xe2\x82\xac bytes")); // Windows-1252
    QCOMPARE(f.Emulator->GetGame(4)->RomSet, QStringLiteral("big"));
    QVERIFY(!f.Emulator->GetGame(5));
    QVERIFY(!f.Emulator->GetGame(-1));
}

// Equal year, maker and type give one shared record; a field that differs in one byte gives another,
// and each game still shows its own three texts.
void TestEmulators::gamesAlikeShareTheirDetails()
{
    Fixture f("A;1990;Maker;Sport;a\r\nB;1990;Maker;Sport;b\r\nC;1990;Maker;Sports;c\r\n"
              "D;1990;Maker;Sport;d\r\nE;1990;Make;rSport;e\r\n");
    f.Emulator->RefreshList(gfAll);
    const auto details = [&f](int game) { return f.Emulator->GetGame(game)->Details; };
    QCOMPARE(details(1), details(0));
    QCOMPARE(details(3), details(0));
    QVERIFY(details(2) != details(0));
    QVERIFY(details(4) != details(0)); // the fields' bytes joined would be alike; the fields are not
    QCOMPARE(f.Rows.subItems(2).first(3), (QStringList{"1990", "Sports", "Maker"}));
    QCOMPARE(f.Rows.subItems(4).first(3), (QStringList{"1990", "rSport", "Make"}));
    QCOMPARE(TGame().year(), QString());
}

// A file large enough for two reading threads gives the games one thread gives: in file order, each
// with its own texts and its find, whichever half it lies in.
void TestEmulators::largeFileReadByTwoThreadsKeepsItsOrder_data()
{
    QTest::addColumn<bool>("readAhead");
    QTest::addColumn<bool>("outOfSight"); // the window asks for the other names after its first frame
    QTest::addColumn<int>("filter");
    QTest::newRow("read by the refresh") << false << false << int(gfAll);
    // The file's bytes and its two halves are handed from the reading thread to the refresh; the games
    // past the first rows are named when a text of theirs is asked for.
    QTest::newRow("read ahead, named when asked") << true << false << int(gfAll);
    QTest::newRow("read ahead, named out of sight") << true << true << int(gfAll);
    QTest::newRow("read ahead, found games only") << true << true << int(gfAvailable);
}

void TestEmulators::largeFileReadByTwoThreadsKeepsItsOrder()
{
    QFETCH(bool, readAhead);
    QFETCH(bool, outOfSight);
    QFETCH(int, filter);
    QByteArray games;
    const int count = 8000; // about 330 KB
    for (int i = 0; i < count; ++i)
        games += "Game " + QByteArray::number(i) + " of many  ;" + QByteArray::number(1980 + i % 7)
                 + ";Maker " + QByteArray::number(i % 5) + ";Sport;set" + QByteArray::number(i) + "\r\n";
    Fixture f(games);
    for (const int present : {0, 3999, 4000, 4001, 7999})
        QVERIFY(QDir().mkpath(f.Dir.filePath("set" + QString::number(present))));
    if (readAhead)
        f.Emulator->ReadCatalogueAhead();
    f.Emulator->RefreshList(TGameFilter(filter));
    if (outOfSight)
        f.Emulator->NameGamesOutOfSight();
    const QList<int> present = {0, 3999, 4000, 4001, 7999};
    const QList<int> listed = filter == gfAll ? QList<int>() : present;
    QCOMPARE(f.Rows.rowCount(), listed.isEmpty() ? count : int(listed.size()));
    // From the last row up: the first texts asked for are of games the start-up leaves unnamed.
    for (int row = f.Rows.rowCount() - 1; row >= 0; --row) {
        const int i = listed.isEmpty() ? row : listed.at(row);
        QCOMPARE(f.Rows.subItems(row).first(3),
                 (QStringList{QString::number(1980 + i % 7), "Sport", QStringLiteral("Maker %1").arg(i % 5)}));
        QCOMPARE(f.Rows.rowCaption(row), QStringLiteral("Game %1 of many").arg(i));
        const TGame &game = *f.Rows.rowGame(row);
        QCOMPARE(game.RomSet, QStringLiteral("set%1").arg(i));
        QCOMPARE(game.Location, present.contains(i) ? rlDirectory : rlMissing);
        QCOMPARE(&game, f.Emulator->GetGame(i));
    }
}

void TestEmulators::namesOfTheFirstGamesComeFirst_data()
{
    QTest::addColumn<int>("first"); // games named at once, of 5
    QTest::newRow("none") << 0;
    QTest::newRow("some") << 2;
    QTest::newRow("all") << 5;
    QTest::newRow("more than there are") << 9;
}

// The games named at once have their texts before the others are asked for; the others are named
// by finish, with or without a thread started for them.
void TestEmulators::namesOfTheFirstGamesComeFirst()
{
    QFETCH(int, first);
    const QTemporaryDir dir;
    writeFile(dir.filePath("games.csv"), "A;1990;Maker a;Sport;a\r\nB;;;;b\nC  and  c;1991;Maker c;Fight;c\r"
                                         "D;1992;Maker d;Sport;d\r\nE;;;;e");
    makeDirectory(dir.filePath("roms/c"));
    CatalogueReadAhead ahead({dir.filePath("games.csv"), dir.filePath("roms"), dir.filePath("roms")});
    CatalogueRead read = ahead.take();
    QVERIFY(read.Names);
    QCOMPARE(read.Games.size(), size_t(5));
    read.Names->nameFirst(size_t(first));
    const QStringList names = {"A", "B", "C and c", "D", "E"};
    for (int i = 0; i < 5; ++i) {
        const TGame &game = read.Games.at(size_t(i));
        QCOMPARE(game.Name, i < first ? names.at(i) : QString());
        QCOMPARE(read.Names->isNamed(size_t(i)), i < first);
        QCOMPARE(game.RomSet, names.at(i).left(1).toLower()); // found before any is named
        QCOMPARE(game.Location, i == 2 ? rlDirectory : rlMissing);
    }
    if (first % 2 == 0)
        read.Names->nameRest();
    const std::vector<std::deque<TGameDetails>> details = read.Names->finish();
    for (int i = 0; i < 5; ++i) {
        const TGame &game = read.Games.at(size_t(i));
        QCOMPARE(game.Name, names.at(i));
        QVERIFY(read.Names->isNamed(size_t(i)));
        const bool held = std::any_of(details.begin(), details.end(), [&game](const std::deque<TGameDetails> &d) {
            return std::any_of(d.begin(), d.end(), [&game](const TGameDetails &one) { return &one == game.Details; });
        });
        QVERIFY2(held, "a game's details are handed over with the names");
    }
    QCOMPARE(read.Games.at(2).manufacturer(), QStringLiteral("Maker c"));
    QCOMPARE(read.Games.at(3).gameType(), QStringLiteral("Sport"));
}

void TestEmulators::readAheadServesOnlyTheFilesItRead_data()
{
    QTest::addColumn<QString>("romPathAfter"); // RomPath1 set between the read ahead and the refresh
    QTest::addColumn<bool>("fileGone");        // the games file removed before the read ahead
    QTest::addColumn<int>("location");         // of game "a" after the refresh

    QTest::newRow("same files") << "roms" << false << int(rlDirectory);
    QTest::newRow("ROM directory changed since") << "other" << false << int(rlZip);
    QTest::newRow("games file unreadable") << "roms" << true << -1;
}

void TestEmulators::readAheadServesOnlyTheFilesItRead()
{
    QFETCH(QString, romPathAfter);
    QFETCH(bool, fileGone);
    QFETCH(int, location);
    Fixture f("A;;;;a\r\n");
    QVERIFY(QDir().mkpath(f.Dir.filePath("roms/a")));
    writeFile(f.Dir.filePath("other/a.zip"), "PK");
    f.Emulator->RomPath1 = f.Emulator->makePath(QStringLiteral("roms"));
    if (fileGone)
        QVERIFY(QFile::remove(f.Emulator->gamesFilePath()));
    f.Emulator->ReadCatalogueAhead();
    f.Emulator->RomPath1 = f.Emulator->makePath(romPathAfter);
    try {
        f.Emulator->RefreshList(gfAll);
        QVERIFY2(location >= 0, "no error for an unreadable games file");
        QCOMPARE(int(f.Emulator->Games().at(0).Location), location);
    } catch (const LanvoError &error) {
        QCOMPARE(location, -1); // as a refresh without a read ahead would fail
        QCOMPARE(error.message(), "Impossible d'ouvrir le fichier " + f.Emulator->gamesFilePath());
    }
}

void TestEmulators::readAheadFindsNamesInItsRomDirectories_data()
{
    QTest::addColumn<QString>("dir");       // asked for "corinit.dat"; "roms" is the ROM directory
    QTest::addColumn<QStringList>("before"); // files made before the read ahead
    QTest::addColumn<QStringList>("after");  // and after it
    QTest::addColumn<bool>("fileGone");      // the games file removed before the read ahead
    QTest::addColumn<QString>("found");      // the answer while the read ahead is kept
    QTest::addColumn<QString>("foundAfter"); // once it is gone

    QTest::newRow("ROM directory, other case") << "roms" << QStringList{"roms/CORINIT.DAT"} << QStringList{} << false
                                               << "roms/CORINIT.DAT" << "roms/CORINIT.DAT";
    QTest::newRow("ROM directory, none there") << "roms" << QStringList{"roms/corinit.bak"} << QStringList{} << false
                                               << "roms/corinit.dat" << "roms/corinit.dat";
    QTest::newRow("ROM directory, made after its listing")
        << "roms" << QStringList{} << QStringList{"roms/CORINIT.DAT"} << false << "roms/corinit.dat"
        << "roms/CORINIT.DAT";
    QTest::newRow("another directory is asked") << "other" << QStringList{} << QStringList{"other/CORINIT.DAT"}
                                                << false << "other/CORINIT.DAT" << "other/CORINIT.DAT";
    QTest::newRow("games file unreadable, directory asked")
        << "roms" << QStringList{} << QStringList{"roms/CORINIT.DAT"} << true << "roms/CORINIT.DAT"
        << "roms/CORINIT.DAT";
}

// A start folder that is also the ROM directory is listed once: the look-ups of the start-up are
// answered from the listing of the read ahead, as a look-up on disk would answer them then.
void TestEmulators::readAheadFindsNamesInItsRomDirectories()
{
    QFETCH(QString, dir);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(bool, fileGone);
    QFETCH(QString, found);
    QFETCH(QString, foundAfter);
    Fixture f("A;;;;a\r\n");
    makeDirectory(f.Dir.filePath("roms"));
    makeDirectory(f.Dir.filePath("other"));
    for (const QString &file : before)
        writeFile(f.Dir.filePath(file), "x");
    f.Emulator->RomPath1 = f.Emulator->makePath(QStringLiteral("roms"));
    if (fileGone)
        QVERIFY(QFile::remove(f.Emulator->gamesFilePath()));
    f.Emulator->ReadCatalogueAhead();
    const QString asked = f.Dir.filePath(dir);
    f.Emulator->pathAnyCaseReadAhead(asked, "corinit.dat"); // once the ROM directories are listed
    for (const QString &file : after)
        writeFile(f.Dir.filePath(file), "x");
    QCOMPARE(f.Emulator->pathAnyCaseReadAhead(asked, "corinit.dat"), f.Dir.filePath(found));
    f.Emulator->DiscardCatalogueReadAhead();
    QCOMPARE(f.Emulator->pathAnyCaseReadAhead(asked, "corinit.dat"), f.Dir.filePath(foundAfter));
}

void TestEmulators::setGamesDatafileRefreshesOrEmpties()
{
    Fixture f("A;;;;a\r\nB;;;;b\r\n");
    f.Emulator->SetGamesDatafile(QStringLiteral("GAMES.CSV"));
    QCOMPARE(f.Rows.rowCount(), 2); // all games
    f.Emulator->SetGamesDatafile(QStringLiteral("OTHER.CSV"));
    QCOMPARE(f.Rows.rowCount(), 0);
    QCOMPARE(f.Emulator->Games().size(), size_t(2)); // the catalogue itself is left as it is
    QVERIFY(f.Prompts.Messages.isEmpty());
}

void TestEmulators::specialGamesFileCantBeOpened_data()
{
    addSpecialFileRows();
}

// Treated as a games file that can't be opened, without waiting on it or reading it endlessly.
void TestEmulators::specialGamesFileCantBeOpened()
{
    QFETCH(QString, kind);
    Fixture f("A;;;;a\r\n");
    QVERIFY(QFile::remove(f.Emulator->gamesFilePath()));
    makeSpecialFile(f.Emulator->gamesFilePath(), kind);
    try {
        f.Emulator->RefreshList(gfAll);
        QFAIL("no error for a games file that is no regular file");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), "Impossible d'ouvrir le fichier " + f.Emulator->gamesFilePath());
    }
    QCOMPARE(f.Rows.rowCount(), 0);
    QVERIFY(f.Emulator->Games().empty());
}

void TestEmulators::oversizedGamesFileIsRefused()
{
    Fixture f("A;;;;a\r\n");
    QFile file(f.Emulator->gamesFilePath());
    QVERIFY(file.resize(LargeFileCap + 1)); // sparse: takes no room on the disk
    try {
        f.Emulator->RefreshList(gfAll);
        QFAIL("no error for a games file over the cap");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(),
                 "The file " + f.Emulator->gamesFilePath() + " is larger than 256 MB and can't be read.");
    }
    QCOMPARE(f.Rows.rowCount(), 0);
}

void TestEmulators::longFieldsLeaveTheFileAlone()
{
    const QByteArray content = QByteArray(10000, 'n') + ";1990;;;" + QByteArray(5000, 'r') + "\r\nB;;;;b\r\n";
    Fixture f(content);
    f.Emulator->RefreshList(gfAll);
    QCOMPARE(f.Rows.rowCount(), 2);
    QCOMPARE(f.Emulator->GetGame(0)->Name, QString(4096, 'n'));
    QCOMPARE(f.Emulator->GetGame(0)->RomSet, QString(4096, 'r'));
    QCOMPARE(f.Emulator->GetGame(1)->Name, QStringLiteral("B"));
    QCOMPARE(readFile(f.Emulator->gamesFilePath()), content);
}

QTEST_APPLESS_MAIN(TestEmulators)
#include "tst_emulators.moc"
