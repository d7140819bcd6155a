#include "Emulators.h"
#include "TestFakes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestShowPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookupOrder_data();
    void lookupOrder();
    void noGameOrNoRomSetShowsDefault_data();
    void noGameOrNoRomSetShowsDefault();
    void tabsChooseTheDirectory();
    void refreshShowsThePictureOfTheReselectedGame();
};

void TestShowPicture::lookupOrder_data()
{
    QTest::addColumn<QStringList>("files"); // "name=content" in the title directory
    QTest::addColumn<QString>("romSet");
    QTest::addColumn<QString>("shown");     // empty: the default picture
    QTest::addColumn<QStringList>("tried");

    QTest::newRow("jpg before bmp") << QStringList{"aof3.bmp=b", "aof3.jpg=j"} << "aof3" << "aof3.jpg"
                                    << QStringList{"aof3.jpg"};
    QTest::newRow("gif before bmp") << QStringList{"aof3.bmp=b", "aof3.gif=g"} << "aof3" << "aof3.gif"
                                    << QStringList{"aof3.gif"};
    QTest::newRow("bmp before pcx") << QStringList{"aof3.pcx=p", "aof3.bmp=b"} << "aof3" << "aof3.bmp"
                                    << QStringList{"aof3.bmp"};
    QTest::newRow("pcx only is never shown") << QStringList{"aof3.pcx=p"} << "aof3" << "" << QStringList{"aof3.pcx"};
    QTest::newRow("damaged jpg, good gif not tried") << QStringList{"aof3.jpg=damaged", "aof3.gif=g"} << "aof3"
                                                     << "" << QStringList{"aof3.jpg"};
    QTest::newRow("nothing") << QStringList{"other.jpg=o"} << "aof3" << "" << QStringList{};
    QTest::newRow("case is kept") << QStringList{"goalx3.jpg=wrong", "Goalx3.bmp=right"} << "Goalx3"
                                  << "Goalx3.bmp" << QStringList{"Goalx3.bmp"};
    QTest::newRow("a directory is no picture") << QStringList{"aof3.jpg/=", "aof3.bmp=b"} << "aof3" << "aof3.bmp"
                                               << QStringList{"aof3.bmp"};
    QTest::newRow("name reaching out") << QStringList{"x.jpg=j"} << "../TitlePic/x" << "" << QStringList{};
}

void TestShowPicture::lookupOrder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, romSet);
    QFETCH(QString, shown);
    QFETCH(QStringList, tried);
    const QTemporaryDir dir;
    TEmulators emulator(nullptr, dir.path());
    const QString pictures = emulator.TitlePicDir.FullPath;
    for (const QString &file : files) {
        const QString name = file.section('=', 0, 0);
        if (name.endsWith('/'))
            makeDirectory(pictures + "/" + name);
        else
            writeFile(pictures + "/" + name, file.section('=', 1).toUtf8());
    }
    FakePicture fallback, game;
    emulator.PicDefault = &fallback;
    emulator.PicGame = &game;
    TGame current;
    current.RomSet = romSet;
    emulator.CurrentGame = &current;
    emulator.ShowPicture();
    QStringList triedNames;
    for (const QString &path : game.Loaded)
        triedNames << path.mid(pictures.size() + 1);
    QCOMPARE(triedNames, tried);
    QCOMPARE(game.Visible, !shown.isEmpty());
    QCOMPARE(fallback.Visible, shown.isEmpty());
    if (!shown.isEmpty())
        QCOMPARE(game.Shown, pictures + "/" + shown);
}

void TestShowPicture::noGameOrNoRomSetShowsDefault_data()
{
    QTest::addColumn<bool>("withGame");
    QTest::newRow("no game") << false;
    QTest::newRow("empty ROM set") << true;
}

void TestShowPicture::noGameOrNoRomSetShowsDefault()
{
    QFETCH(bool, withGame);
    const QTemporaryDir dir;
    TEmulators emulator(nullptr, dir.path());
    writeFile(emulator.TitlePicDir.FullPath + "/.jpg", "j");
    FakePicture fallback, game;
    game.Visible = true;
    emulator.PicDefault = &fallback;
    emulator.PicGame = &game;
    TGame current;
    if (withGame)
        emulator.CurrentGame = &current;
    emulator.ShowPicture();
    QVERIFY(fallback.Visible);
    QVERIFY(!game.Visible);
    QVERIFY(game.Loaded.isEmpty());
}

void TestShowPicture::tabsChooseTheDirectory()
{
    const QTemporaryDir dir;
    TEmulators emulator(nullptr, dir.path());
    writeFile(emulator.TitlePicDir.FullPath + "/aof3.jpg", "title");
    FakePicture fallback, game;
    emulator.PicDefault = &fallback;
    emulator.PicGame = &game;
    TGame current;
    current.RomSet = QStringLiteral("aof3");
    emulator.CurrentGame = &current;
    emulator.PictureDir = emulator.GamePicDir;
    emulator.ShowPicture();
    QVERIFY(fallback.Visible); // the in-game set has none
    emulator.PictureDir = emulator.TitlePicDir;
    emulator.ShowPicture();
    QVERIFY(game.Visible);
    QCOMPARE(game.Shown, emulator.TitlePicDir.FullPath + "/aof3.jpg");
}

void TestShowPicture::refreshShowsThePictureOfTheReselectedGame()
{
    const QTemporaryDir dir;
    TEmulators emulator(nullptr, dir.path());
    writeFile(emulator.gamesFilePath(), "A;;;;a\r\nB;;;;b\r\n");
    writeFile(emulator.TitlePicDir.FullPath + "/b.gif", "b");
    FakeListRows rows;
    FakePicture fallback, game;
    emulator.ListGames = &rows;
    emulator.PicDefault = &fallback;
    emulator.PicGame = &game;
    emulator.RefreshList(gfAll);
    QVERIFY(fallback.Visible); // nothing selected
    rows.selectRow(1);
    emulator.RefreshList(gfAll);
    QVERIFY(game.Visible);
    QCOMPARE(game.Shown, emulator.TitlePicDir.FullPath + "/b.gif");
}

QTEST_APPLESS_MAIN(TestShowPicture)
#include "tst_showpicture.moc"
