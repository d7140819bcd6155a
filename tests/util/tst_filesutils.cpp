#include "AnyCaseFiles.h"
#include "DirectoryListing.h"
#include "FilesUtils.h"
#include "LanvoError.h"
#include "RegularFile.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestFilesUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expandPath_data();
    void expandPath();
    void expandPathAgainstMissingBaseUsesCurrentDirectory();
    void containedPathRefusesNamesReachingOut_data();
    void containedPathRefusesNamesReachingOut();
    void copyFileToCopiesInBlocks_data();
    void copyFileToCopiesInBlocks();
    void copyIntoAndOntoAFolder();
    void copyFileToReportsBothErrors();
    void copyFileToKeepsDestinationWholeWhenItFails();
    void copyKeepsProgramsExecutable();
    void atomicWriteReplacesOrFailsWithoutTruncating();
    void atomicWriteKeepsAReplacedFilesPermissions();
    void findsNameInAnyCase_data();
    void findsNameInAnyCase();
    void readsAFileUpToItsCap_data();
    void readsAFileUpToItsCap();
};

void TestFilesUtils::findsNameInAnyCase_data()
{
    QTest::addColumn<QStringList>("entries"); // files, or "name->target" for a symbolic link
    QTest::addColumn<QString>("found");       // what "corinit.dat" finds; empty for nothing

    QTest::newRow("exact spelling") << QStringList{"CORINIT.DAT", "corinit.dat", "a"} << "corinit.dat";
    QTest::newRow("other case") << QStringList{"b", "CorInit.Dat", "z"} << "CorInit.Dat";
    QTest::newRow("first of several in name order") << QStringList{"corinit.DAT", "CORINIT.dat", "Corinit.dat"}
                                                       << "CORINIT.dat";
    QTest::newRow("a dangling link counts") << QStringList{"CORINIT.DAT->nowhere"} << "CORINIT.DAT";
    QTest::newRow("a dangling link spelled first") << QStringList{"Corinit.dat", "CORINIT.DAT->nowhere"}
                                                   << "CORINIT.DAT";
    QTest::newRow("exact spelling, a dangling link") << QStringList{"CORINIT.DAT", "corinit.dat->nowhere"}
                                                     << "corinit.dat";
    QTest::newRow("longer name is another") << QStringList{"corinit.dat.bak", "xcorinit.dat"} << "";
    QTest::newRow("empty directory") << QStringList{} << "";
}

void TestFilesUtils::findsNameInAnyCase()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, found);
    const QTemporaryDir dir;
    for (const QString &entry : entries) {
        const QStringList link = entry.split(QStringLiteral("->"));
        if (link.size() == 2)
            QVERIFY(QFile::link(link.at(1), dir.filePath(link.at(0))));
        else
            writeFile(dir.filePath(entry), "x");
    }
    const QString expected = found.isEmpty() ? QString() : dir.filePath(found);
    QCOMPARE(existingAnyCase(dir.path(), QStringLiteral("corinit.dat")), expected);
    // A listing read before answers alike.
    const DirectoryListing listing = listDirectory(dir.path());
    QVERIFY(listing.Complete);
    QCOMPARE(existingAnyCase(dir.path(), listing, QStringLiteral("corinit.dat")), expected);
    QCOMPARE(pathAnyCase(dir.path(), QStringLiteral("corinit.dat")),
             found.isEmpty() ? dir.filePath("corinit.dat") : expected);
}

void TestFilesUtils::expandPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("relative"); // expected, relative to the base

    QTest::newRow("dot") << "." << "";
    QTest::newRow("subdirectory with trailing separator") << "./lanvo/" << "/lanvo";
    QTest::newRow("backslashes from another system") << ".\\lanvo\\TitlePic" << "/lanvo/TitlePic";
    QTest::newRow("doubled separators") << "lanvo//GamePic" << "/lanvo/GamePic";
    QTest::newRow("parent") << "sub/../other" << "/other";
    QTest::newRow("empty") << "" << "";
}

void TestFilesUtils::expandPath()
{
    QFETCH(QString, path);
    QFETCH(QString, relative);
    const QTemporaryDir dir;
    QCOMPARE(ExpandPath(path, dir.path()), dir.path() + relative);
}

void TestFilesUtils::expandPathAgainstMissingBaseUsesCurrentDirectory()
{
    QCOMPARE(ExpandPath(QStringLiteral("x"), QStringLiteral("/no/such/base")), QDir::currentPath() + "/x");
    QCOMPARE(ExpandPath(QStringLiteral("/"), QStringLiteral("/tmp")), QStringLiteral("/"));
    QCOMPARE(ExpandPath(QStringLiteral("/usr/"), QStringLiteral("/tmp")), QStringLiteral("/usr"));
}

void TestFilesUtils::containedPathRefusesNamesReachingOut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("plain") << "aof3" << true;
    QTest::newRow("with dots and spaces") << "my set.v2 final" << true;
    QTest::newRow("parent") << "../x" << false;
    QTest::newRow("dotdot alone") << ".." << false;
    QTest::newRow("dot alone") << "." << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("subdirectory") << "a/b" << false;
    QTest::newRow("backslash") << "..\\x" << false;
    QTest::newRow("drive") << "c:x" << false;
}

void TestFilesUtils::containedPathRefusesNamesReachingOut()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(isPlainFileName(name), accepted);
    if (accepted) {
        QCOMPARE(containedPath(QStringLiteral("/d"), name), "/d/" + name);
    } else {
        QVERIFY_THROWS_EXCEPTION(LanvoError, containedPath(QStringLiteral("/d"), name));
    }
}

void TestFilesUtils::copyFileToCopiesInBlocks_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("one block exactly") << 8192;
    QTest::newRow("block and a bit") << 8193;
    QTest::newRow("many blocks") << 100000;
}

void TestFilesUtils::copyFileToCopiesInBlocks()
{
    QFETCH(int, size);
    const QTemporaryDir dir;
    QByteArray content(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        content[i] = static_cast<char>(i * 7 + 3);
    writeFile(dir.filePath("src.bin"), content);
    writeFile(dir.filePath("dst.bin"), QByteArray(200000, 'x')); // longer: must be replaced, not overlaid
    CopyFileTo(dir.filePath("src.bin"), dir.filePath("dst.bin"));
    QCOMPARE(readFile(dir.filePath("dst.bin")), content);
}

void TestFilesUtils::copyIntoAndOntoAFolder()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("bios/set1/main.rom"), "ROM");
    makeDirectory(dir.filePath("work"));
    CopyFileTo(dir.filePath("bios/set1/main.rom"), dir.filePath("work"));
    QCOMPARE(readFile(dir.filePath("work/main.rom")), QByteArray("ROM"));

    // Copied onto the folder's own name, the file finds the folder in its way, also through a link.
    QVERIFY(QFile::link(dir.filePath("work"), dir.filePath("linked")));
    for (const char *target : {"work", "linked"}) {
        try {
            CopyFileOnto(dir.filePath("bios/set1/main.rom"), dir.filePath(target));
            QFAIL("a copy onto a folder succeeded");
        } catch (const LanvoError &error) {
            QCOMPARE(error.message(), QString::fromUtf8("Impossible de créer le fichier ") + dir.filePath(target));
        }
    }
    QCOMPARE(QDir(dir.filePath("work")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"main.rom"});
}

void TestFilesUtils::copyFileToReportsBothErrors()
{
    const QTemporaryDir dir;
    const QString missing = dir.filePath("missing.rom");
    try {
        CopyFileTo(missing, dir.filePath("out.rom"));
        QFAIL("no error for a missing source");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), "Impossible d'ouvrir le fichier " + missing);
    }
    writeFile(dir.filePath("src.rom"), "x");
    const QString unreachable = dir.filePath("no/such/dir/out.rom");
    try {
        CopyFileTo(dir.filePath("src.rom"), unreachable);
        QFAIL("no error for a destination that can't be created");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), QString::fromUtf8("Impossible de créer le fichier ") + unreachable);
    }
}

void TestFilesUtils::copyFileToKeepsDestinationWholeWhenItFails()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("old.rom"), "precious");
    // A directory as source opens but can't be read: the copy fails midway.
    makeDirectory(dir.filePath("asource"));
    QVERIFY_THROWS_EXCEPTION(LanvoError, CopyFileTo(dir.filePath("asource"), dir.filePath("old.rom")));
    QCOMPARE(readFile(dir.filePath("old.rom")), QByteArray("precious"));
}

void TestFilesUtils::copyKeepsProgramsExecutable()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("prog"), "#!/bin/sh\n");
    QFile::setPermissions(dir.filePath("prog"), QFile::ReadOwner | QFile::ExeOwner);
    writeFile(dir.filePath("data"), "d");
    QFile::setPermissions(dir.filePath("data"), QFile::ReadOwner);
    makeDirectory(dir.filePath("out"));
    CopyFileTo(dir.filePath("prog"), dir.filePath("out"));
    CopyFileTo(dir.filePath("data"), dir.filePath("out"));
    QVERIFY(QFileInfo(dir.filePath("out/prog")).isExecutable());
    QVERIFY(!QFileInfo(dir.filePath("out/data")).isExecutable());
    // Copies from a read-only medium must stay writable for later saves.
    QVERIFY(QFile::permissions(dir.filePath("out/data")) & QFile::WriteOwner);
}

void TestFilesUtils::atomicWriteReplacesOrFailsWithoutTruncating()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath("GAMES.CSV");
    writeFileAtomically(path, "first");
    writeFileAtomically(path, "second");
    QCOMPARE(readFile(path), QByteArray("second"));
    QVERIFY_THROWS_EXCEPTION(LanvoError, writeFileAtomically(dir.filePath("none/GAMES.CSV"), "x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"GAMES.CSV"});
}

void TestFilesUtils::atomicWriteKeepsAReplacedFilesPermissions()
{
    // New files lose the group's write access (see the start-up test under umask 002); a file
    // the user shared on purpose stays shared.
    const QTemporaryDir dir;
    const QString path = dir.filePath("PLAYED.CSV");
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    writeFile(path, "old");
    QVERIFY(QFile::setPermissions(path, shared));
    const mode_t saved = ::umask(0);
    const bool written = saveAtomically(path, "new");
    ::umask(saved);
    QVERIFY(written);
    QCOMPARE(readFile(path), QByteArray("new"));
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), shared);
}

// A file whose size the system reports as 0 (those of /proc) is read whole all the same, and bounded.
void TestFilesUtils::readsAFileUpToItsCap_data()
{
    QTest::addColumn<QString>("file"); // "cmdline" for /proc/self/cmdline, else a file of that many bytes
    QTest::addColumn<qint64>("cap");
    QTest::addColumn<bool>("read");

    QTest::newRow("exactly the cap") << "100000" << qint64(100000) << true;
    QTest::newRow("a byte past the cap") << "100001" << qint64(100000) << false;
    QTest::newRow("empty") << "0" << qint64(0) << true;
    QTest::newRow("size unknown ahead") << "cmdline" << qint64(1024 * 1024) << true;
    QTest::newRow("size unknown ahead, past the cap") << "cmdline" << qint64(4) << false;
}

void TestFilesUtils::readsAFileUpToItsCap()
{
    QFETCH(QString, file);
    QFETCH(qint64, cap);
    QFETCH(bool, read);
    const QTemporaryDir dir;
    QString path = QStringLiteral("/proc/self/cmdline");
    if (file != QLatin1String("cmdline")) {
        path = dir.filePath(QStringLiteral("f"));
        QByteArray bytes(file.toInt(), Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7 % 251);
        writeFile(path, bytes);
    }
    const RegularFileRead result = readRegularFile(path, cap);
    QCOMPARE(result.Status, read ? RegularFileStatus::Read : RegularFileStatus::TooLarge);
    QCOMPARE(result.Bytes, read ? readFile(path) : QByteArray());
}

QTEST_APPLESS_MAIN(TestFilesUtils)
#include "tst_filesutils.moc"
