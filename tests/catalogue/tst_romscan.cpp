#include "Emulators.h"
#include "RomScan.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

// The scan from one listing per ROM directory must answer exactly as the look-ups path by path.
class TestRomScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listingAgreesWithProbes_data();
    void listingAgreesWithProbes();
    void refreshSeesTheDiskOfNow();
};

namespace {

// What one name stands for in one ROM directory.
enum Kind {
    Nothing,
    Folder,           // K/
    PlainFile,        // K, a file: no find
    Archive,          // K.zip
    FolderNamedZip,   // K.zip/, a directory: no find
    LinkToFolder,     // K -> a folder elsewhere
    LinkToFile,       // K.zip -> a file elsewhere
    LinkToFolderZip,  // K.zip -> a folder: no find
    DanglingFolder,   // K -> nowhere
    DanglingArchive,  // K.zip -> nowhere
    LinkToLinkFolder, // K -> a link to a folder
    KindCount
};

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void link(const QString &target, const QString &path)
{
    QVERIFY(QFile::link(target, path));
}

void make(Kind kind, const QString &dir, const QString &name, const QString &elsewhere)
{
    const QString base = dir + QLatin1Char('/') + name;
    switch (kind) {
    case Nothing:
    case KindCount:
        break;
    case Folder:
        QVERIFY(QDir().mkpath(base));
        break;
    case PlainFile:
        touch(base);
        break;
    case Archive:
        touch(base + ".zip");
        break;
    case FolderNamedZip:
        QVERIFY(QDir().mkpath(base + ".zip"));
        break;
    case LinkToFolder:
        link(elsewhere + "/folder", base);
        break;
    case LinkToFile:
        link(elsewhere + "/file", base + ".zip");
        break;
    case LinkToFolderZip:
        link(elsewhere + "/folder", base + ".zip");
        break;
    case DanglingFolder:
        link(elsewhere + "/none", base);
        break;
    case DanglingArchive:
        link(elsewhere + "/none", base + ".zip");
        break;
    case LinkToLinkFolder:
        link(elsewhere + "/folderlink", base);
        break;
    }
}

// Every pair of kinds over the two directories, under names with blanks and mixed case; the queries
// are every name as written, in other letter cases, and names present nowhere.
struct Tree
{
    QTemporaryDir Dir;
    QStringList Queries;

    Tree()
    {
        const QString elsewhere = Dir.filePath("elsewhere");
        QDir().mkpath(elsewhere + "/folder");
        touch(elsewhere + "/file");
        link(elsewhere + "/folder", elsewhere + "/folderlink");
        QDir().mkpath(Dir.filePath("r1"));
        QDir().mkpath(Dir.filePath("r2"));
        for (int first = 0; first < KindCount; ++first) {
            for (int second = 0; second < KindCount; ++second) {
                const QString name = QStringLiteral("Set %1x%2").arg(first).arg(second);
                make(Kind(first), Dir.filePath("r1"), name, elsewhere);
                make(Kind(second), Dir.filePath("r2"), name, elsewhere);
                Queries << name << name.toLower() << name.toUpper();
            }
        }
        // Two entries that differ only in letter case, of different kinds.
        QDir().mkpath(Dir.filePath("r1/Twin"));
        touch(Dir.filePath("r1/twin.zip"));
        touch(Dir.filePath("r2/TWIN.zip"));
        Queries << "Twin" << "twin" << "TWIN" << "absent" << "set" << "" << ".." << "Set 1x1.zip" << "r1";
        // A folder and an archive of one name in one directory, listed in either order: the folder wins.
        for (int i = 0; i < 8; ++i) {
            const QString name = QStringLiteral("Both %1").arg(i);
            QVERIFY(QDir().mkpath(Dir.filePath("r1/" + name)));
            touch(Dir.filePath("r1/" + name + ".zip"));
            if (i % 2)
                touch(Dir.filePath("r2/" + name + ".zip"));
            Queries << name;
        }
        // Names beyond ASCII, found by their text.
        QVERIFY(QDir().mkpath(Dir.filePath(QStringLiteral("r2/S\u00e9t \u00e9t\u00e9"))));
        touch(Dir.filePath(QStringLiteral("r1/\u30b2\u30fc\u30e0.zip")));
        Queries << QStringLiteral("S\u00e9t \u00e9t\u00e9") << QStringLiteral("S\u00c9T \u00c9T\u00c9")
                << QStringLiteral("\u30b2\u30fc\u30e0") << QStringLiteral("Set ete");
    }
};

} // namespace

void TestRomScan::listingAgreesWithProbes_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("mode"); // permissions given to r1 during the scan, -1 to leave them
    QTest::newRow("two folders") << "r1" << "r2" << -1;
    QTest::newRow("swapped") << "r2" << "r1" << -1;
    QTest::newRow("one folder twice") << "r1" << "r1" << -1;
    QTest::newRow("first missing") << "missing" << "r2" << -1;
    QTest::newRow("first a file") << "elsewhere/file" << "r2" << -1;
    QTest::newRow("first through a link") << "elsewhere/folderlink" << "r1" << -1;
    QTest::newRow("first not listable") << "r1" << "r2" << 0111;
    QTest::newRow("first not searchable") << "r1" << "r2" << 0444;
    QTest::newRow("first closed") << "r1" << "r2" << 0;
}

void TestRomScan::listingAgreesWithProbes()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, mode);
    const Tree tree;
    const QString dir1 = tree.Dir.filePath(first);
    const QString dir2 = tree.Dir.filePath(second);
    QFile r1(tree.Dir.filePath("r1"));
    const QFile::Permissions saved = r1.permissions();
    if (mode >= 0)
        QVERIFY(QFile::setPermissions(r1.fileName(), QFileDevice::Permissions(
                                                         (mode & 0444 ? QFileDevice::ReadOwner : 0)
                                                         | (mode & 0111 ? QFileDevice::ExeOwner : 0))));
    const RomScanner scanner(dir1, dir2);
    int found = 0;
    for (const QString &name : tree.Queries) {
        TGame literal;
        literal.RomSet = name;
        ScanRomSet(literal, dir1, dir2);
        TGame listed;
        listed.RomSet = name;
        listed.FoundDir = "stale";
        scanner.scan(listed);
        const QByteArray what = name.toUtf8();
        QVERIFY2(listed.Location == literal.Location, what.constData());
        QVERIFY2(listed.FoundDir == literal.FoundDir, what.constData());
        QVERIFY2(listed.foundPath() == literal.foundPath(), what.constData());
        found += literal.available();
    }
    QVERIFY(QFile::setPermissions(r1.fileName(), saved));
    QVERIFY(found > 0); // the tree holds finds in every layout of this table
}

void TestRomScan::refreshSeesTheDiskOfNow()
{
    const QTemporaryDir dir;
    FakeListRows rows;
    TEmulators emulator(nullptr, dir.path());
    writeFile(emulator.gamesFilePath(), "Alpha;;;;alpha\r\nBravo;;;;bravo\r\n");
    emulator.ListGames = &rows;
    makeDirectory(dir.filePath("alpha"));
    emulator.RefreshList(gfAvailable);
    QCOMPARE(rows.rowCount(), 1);
    QVERIFY(QDir(dir.filePath("alpha")).removeRecursively());
    writeFile(dir.filePath("bravo.zip"), "");
    emulator.RefreshList(gfAvailable);
    QCOMPARE(rows.rowCount(), 1);
    QCOMPARE(rows.rowGame(0)->foundPath(), dir.filePath("bravo.zip"));
    QCOMPARE(rows.rowGame(0)->Location, rlZip);
}

QTEST_APPLESS_MAIN(TestRomScan)
#include "tst_romscan.moc"
