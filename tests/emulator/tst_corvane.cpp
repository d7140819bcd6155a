#include "Corvane.h"
#include "TestFakes.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestCorvane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void readInitFile_data();
    void readInitFile();
    void writeInitFileTouchesTwoBytesOnly_data();
    void writeInitFileTouchesTwoBytesOnly();
    void writeInitFileNeverCreatesOrExtends_data();
    void writeInitFileNeverCreatesOrExtends();
    void checkEmulator();
    void specialInitFileIsLeftAlone_data();
    void specialInitFileIsLeftAlone();
};

namespace {

QByteArray initBytes(int size, int at18, int at19)
{
    QByteArray bytes(size, '\x55');
    if (size > 18)
        bytes[18] = char(at18);
    if (size > 19)
        bytes[19] = char(at19);
    return bytes;
}

} // namespace

void TestCorvane::defaults()
{
    const QTemporaryDir dir;
    const TCorvane emulator(nullptr, dir.path());
    QVERIFY(emulator.Vsync);
    QVERIFY(!emulator.Frameskip);
    QCOMPARE(emulator.FrameskipValue, 1);
    QVERIFY(!emulator.Vga);
    QVERIFY(!emulator.Noanalysis);
    QCOMPARE(emulator.Scanlines, slOn);
    QVERIFY(!emulator.Modex);
    QVERIFY(emulator.Bios.isEmpty());
    QCOMPARE(emulator.BiosPath, (TPath{"./lanvo/bios", dir.path() + "/lanvo/bios"}));
    QCOMPARE(emulator.Language, glEuropean);
    QCOMPARE(emulator.System, ctArcade);
    QCOMPARE(emulator.DataFileName, QStringLiteral("corinit.dat"));
    QCOMPARE(emulator.EmulatorExe(), QStringLiteral("corvane.exe"));
    QCOMPARE(emulator.ExtenderExe(), QStringLiteral("dos4gw.exe"));
    QVERIFY(emulator.ProcessSnapshots);
    QVERIFY(emulator.DeleteSnapshot);
    QVERIFY(!emulator.EmulatorFound());
    QVERIFY(emulator.AdditionalParameters.isEmpty());
}

void TestCorvane::readInitFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("system");

    // The properties start as us/console so that "unchanged" is visible.
    QTest::newRow("european arcade") << initBytes(20, 2, 0x80) << int(glEuropean) << int(ctArcade);
    QTest::newRow("japanese console") << initBytes(20, 0, 0) << int(glJapaneze) << int(ctConsole);
    QTest::newRow("us, any non-zero is arcade") << initBytes(32, 1, 7) << int(glUs) << int(ctArcade);
    QTest::newRow("unknown region leaves it") << initBytes(20, 9, 0) << int(glUs) << int(ctConsole);
    QTest::newRow("19 bytes: only the region") << initBytes(19, 2, 0) << int(glEuropean) << int(ctConsole);
    QTest::newRow("18 bytes: nothing") << initBytes(18, 0, 0) << int(glUs) << int(ctConsole);
    QTest::newRow("empty") << QByteArray() << int(glUs) << int(ctConsole);
}

void TestCorvane::readInitFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, language);
    QFETCH(int, system);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.Language = glUs;
    emulator.System = ctConsole;
    writeFile(dir.filePath("corinit.dat"), content);
    emulator.ReadInitFile();
    QCOMPARE(int(emulator.Language), language);
    QCOMPARE(int(emulator.System), system);
}

void TestCorvane::writeInitFileTouchesTwoBytesOnly_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("at18");
    QTest::addColumn<int>("at19");
    QTest::newRow("us console") << int(glUs) << int(ctConsole) << 1 << 0;
    QTest::newRow("european arcade") << int(glEuropean) << int(ctArcade) << 2 << 0x80;
    QTest::newRow("japanese arcade") << int(glJapaneze) << int(ctArcade) << 0 << 0x80;
}

void TestCorvane::writeInitFileTouchesTwoBytesOnly()
{
    QFETCH(int, language);
    QFETCH(int, system);
    QFETCH(int, at18);
    QFETCH(int, at19);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.Language = TGameLanguage(language);
    emulator.System = TConsoleType(system);
    const QByteArray before = initBytes(64, 0x33, 0x44);
    writeFile(dir.filePath("corinit.dat"), before);
    emulator.WriteInitFile();
    QByteArray expected = before;
    expected[18] = char(at18);
    expected[19] = char(at19);
    QCOMPARE(readFile(dir.filePath("corinit.dat")), expected);
}

void TestCorvane::writeInitFileNeverCreatesOrExtends_data()
{
    QTest::addColumn<int>("size"); // -1: no file
    QTest::newRow("missing") << -1;
    QTest::newRow("empty") << 0;
    QTest::newRow("18 bytes") << 18;
    QTest::newRow("19 bytes") << 19;
}

void TestCorvane::writeInitFileNeverCreatesOrExtends()
{
    QFETCH(int, size);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.Language = glUs;
    const QString path = dir.filePath("corinit.dat");
    if (size >= 0)
        writeFile(path, QByteArray(size, '\x7f'));
    emulator.WriteInitFile();
    if (size < 0) {
        QVERIFY(!QFile::exists(path));
        return;
    }
    QByteArray expected(size, '\x7f');
    if (size == 19)
        expected[18] = 1;
    QCOMPARE(readFile(path), expected);
}

void TestCorvane::checkEmulator()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    RecordingPrompts prompts;
    emulator.Prompts = &prompts;
    emulator.WorkDir = dir.path();
    emulator.CheckEmulator();
    QVERIFY(!emulator.EmulatorFound());
    QCOMPARE(prompts.texts(), QStringList{"Corvane.exe not found in " + dir.path() + "/ . Emulator will not run"});
    QCOMPARE(prompts.Messages.first().Buttons, PromptButtons::Ok);

    writeFile(dir.filePath("corvane.exe"), "MZ");
    emulator.CheckEmulator();
    QVERIFY(emulator.EmulatorFound());
    QCOMPARE(prompts.Messages.size(), 1);
}

void TestCorvane::specialInitFileIsLeftAlone_data()
{
    addSpecialFileRows();
}

// Neither read nor patched, without waiting on it: the options keep their values.
void TestCorvane::specialInitFileIsLeftAlone()
{
    QFETCH(QString, kind);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    const QString path = dir.filePath(emulator.DataFileName);
    makeSpecialFile(path, kind);
    emulator.Language = glEuropean;
    emulator.System = ctConsole;
    emulator.ReadInitFile();
    QCOMPARE(emulator.Language, glEuropean);
    QCOMPARE(emulator.System, ctConsole);
    emulator.WriteInitFile();
    QVERIFY(!QFileInfo(path).isFile());
}

QTEST_APPLESS_MAIN(TestCorvane)
#include "tst_corvane.moc"
