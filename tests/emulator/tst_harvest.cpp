#include "Corvane.h"
#include "LanvoError.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestHarvest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void harvest_data();
    void harvest();
    void noShotsDirectoryHarvestsNothing();
    void failedCopyKeepsOldPicturesAndShots();
    void keyReachingOutIsRefused_data();
    void keyReachingOutIsRefused();
};

namespace {

// "shot1.bmp=a" writes a file with that content; the listing reads back the same form.
void populate(const QString &dir, const QStringList &files)
{
    for (const QString &file : files)
        writeFile(dir + "/" + file.section('=', 0, 0), file.section('=', 1).toUtf8());
}

QStringList listing(const QString &dir)
{
    QStringList result;
    for (const QString &name : QDir(dir).entryList(QDir::Files, QDir::Name))
        result << name + "=" + QString::fromUtf8(readFile(dir + "/" + name));
    return result;
}

} // namespace

void TestHarvest::harvest_data()
{
    QTest::addColumn<QStringList>("shots");
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<bool>("process");
    QTest::addColumn<bool>("remove");
    QTest::addColumn<int>("install");
    QTest::addColumn<QStringList>("shotsAfter");
    QTest::addColumn<QStringList>("picturesAfter");

    QTest::newRow("gap: shot4 left alone")
        << QStringList{"shot1.bmp=1", "shot2.bmp=2", "shot4.bmp=4"} << QStringList{} << true << false << int(itHD)
        << QStringList{"aof31.bmp=1", "aof32.bmp=2", "shot4.bmp=4"} << QStringList{"aof3.bmp=2"};
    QTest::newRow("no shot1: nothing happens")
        << QStringList{"shot2.bmp=2"} << QStringList{"aof3.jpg=old"} << true << true << int(itHD)
        << QStringList{"shot2.bmp=2"} << QStringList{"aof3.jpg=old"};
    QTest::newRow("existing K1 and K2: next free numbers")
        << QStringList{"aof31.bmp=k1", "aof32.bmp=k2", "shot1.bmp=1", "shot2.bmp=2"} << QStringList{} << false
        << false << int(itHD)
        << QStringList{"aof31.bmp=k1", "aof32.bmp=k2", "aof33.bmp=1", "aof34.bmp=2"} << QStringList{};
    QTest::newRow("jpg and gif go, pcx stays")
        << QStringList{"shot1.bmp=new"} << QStringList{"aof3.jpg=j", "aof3.gif=g", "aof3.bmp=b", "aof3.pcx=p"}
        << true << true << int(itHD) << QStringList{} << QStringList{"aof3.bmp=new", "aof3.pcx=p"};
    QTest::newRow("no copy, delete in an HD install")
        << QStringList{"shot1.bmp=1", "shot2.bmp=2"} << QStringList{"aof3.jpg=j"} << false << true << int(itHD)
        << QStringList{} << QStringList{"aof3.jpg=j"};
    QTest::newRow("CD install never deletes")
        << QStringList{"shot1.bmp=1"} << QStringList{} << true << true << int(itCDRom)
        << QStringList{"aof31.bmp=1"} << QStringList{"aof3.bmp=1"};
    QTest::newRow("no snapshot taken") << QStringList{"other.bmp=o"} << QStringList{"aof3.gif=g"} << true << true
                                       << int(itHD) << QStringList{"other.bmp=o"} << QStringList{"aof3.gif=g"};
}

void TestHarvest::harvest()
{
    QFETCH(QStringList, shots);
    QFETCH(QStringList, pictures);
    QFETCH(bool, process);
    QFETCH(bool, remove);
    QFETCH(int, install);
    QFETCH(QStringList, shotsAfter);
    QFETCH(QStringList, picturesAfter);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.filePath("work");
    emulator.SetInstallType(TInstallType(install));
    emulator.ProcessSnapshots = process;
    emulator.DeleteSnapshot = remove;
    emulator.PictureDir = emulator.GamePicDir;
    makeDirectory(emulator.shotsDirectory());
    makeDirectory(emulator.GamePicDir.FullPath);
    populate(emulator.shotsDirectory(), shots);
    populate(emulator.GamePicDir.FullPath, pictures);
    const QString before = QDir::currentPath();
    emulator.HarvestSnapshots(QStringLiteral("aof3"));
    QCOMPARE(listing(emulator.shotsDirectory()), shotsAfter);
    QCOMPARE(listing(emulator.GamePicDir.FullPath), picturesAfter);
    QCOMPARE(QDir::currentPath(), before);
}

void TestHarvest::noShotsDirectoryHarvestsNothing()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    writeFile(emulator.TitlePicDir.FullPath + "/aof3.jpg", "kept");
    emulator.HarvestSnapshots(QStringLiteral("aof3"));
    QCOMPARE(listing(emulator.TitlePicDir.FullPath), QStringList{"aof3.jpg=kept"});
}

void TestHarvest::failedCopyKeepsOldPicturesAndShots()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.SetInstallType(itHD);
    populate(emulator.shotsDirectory(), {"shot1.bmp=1"});
    // The picture directory is missing: the copy can't be created.
    try {
        emulator.HarvestSnapshots(QStringLiteral("aof3"));
        QFAIL("no error for a failed copy");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(),
                 QString::fromUtf8("Impossible de créer le fichier ") + emulator.TitlePicDir.FullPath + "/aof3.bmp");
    }
    QCOMPARE(listing(emulator.shotsDirectory()), QStringList{"shot1.bmp=1"}); // the rest was skipped

    // A snapshot that can't be read leaves the old pictures whole.
    populate(emulator.TitlePicDir.FullPath, {"aof3.jpg=old jpg", "aof3.bmp=old bmp"});
    QVERIFY(QFile::remove(emulator.shotsDirectory() + "/shot1.bmp"));
    QVERIFY(QFile::link("/proc/self/mem", emulator.shotsDirectory() + "/shot1.bmp")); // opens, reading fails
    QVERIFY_THROWS_EXCEPTION(LanvoError, emulator.HarvestSnapshots(QStringLiteral("aof3")));
    QCOMPARE(listing(emulator.TitlePicDir.FullPath), (QStringList{"aof3.bmp=old bmp", "aof3.jpg=old jpg"}));
}

void TestHarvest::keyReachingOutIsRefused_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("parent") << "../x";
    QTest::newRow("absolute") << "/tmp/x";
    QTest::newRow("empty") << "";
}

void TestHarvest::keyReachingOutIsRefused()
{
    QFETCH(QString, key);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    populate(emulator.shotsDirectory(), {"shot1.bmp=1"});
    makeDirectory(emulator.TitlePicDir.FullPath);
    QVERIFY_THROWS_EXCEPTION(LanvoError, emulator.HarvestSnapshots(key));
    QCOMPARE(listing(emulator.shotsDirectory()), QStringList{"shot1.bmp=1"});
    QVERIFY(listing(emulator.TitlePicDir.FullPath).isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("lanvo/x.bmp")));
}

QTEST_APPLESS_MAIN(TestHarvest)
#include "tst_harvest.moc"
