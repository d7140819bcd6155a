#include "LanvoError.h"
#include "ProfileFile.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using Lanvo::ProfileFile;
using Lanvo::ProfileSnapshot;

namespace {

const QByteArray Default = "<default>";

// Bytes of a literal, embedded NULs included.
template<qsizetype N>
QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The message of the error the write throws; empty when it throws none.
QString writeErrorOf(const ProfileFile &file, const QByteArray &value = "v")
{
    try {
        file.writeString("Lanvo", "Key", value);
    } catch (const Lanvo::LanvoError &error) {
        return error.message();
    }
    return {};
}

#ifdef Q_OS_UNIX
// Makes writes beyond a size fail as on a full disk, which even root can't bypass.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_active = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        rlimit limited = m_saved;
        limited.rlim_cur = std::min<rlim_t>(bytes, m_saved.rlim_max);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
    bool m_active = false;
};

// A socket is a file that exists but that no one can open for reading, not even root.
class BoundSocket
{
public:
    explicit BoundSocket(const QString &path)
        : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        m_bound = m_fd >= 0 && name.size() < qsizetype(sizeof(address.sun_path));
        if (m_bound) {
            std::memcpy(address.sun_path, name.constData(), name.size());
            m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
        }
    }
    ~BoundSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    BoundSocket(const BoundSocket &) = delete;
    BoundSocket &operator=(const BoundSocket &) = delete;

    bool isBound() const { return m_bound; }

private:
    int m_fd = -1;
    bool m_bound = false;
};
#endif

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsValue_data();
    void readsValue();
    void readsDefaultWithoutFile();
    void commentsAreNeverKeys();
    void cutsLongValues_data();
    void cutsLongValues();
    void writesKey_data();
    void writesKey();
    void buildsNewFileKeyByKey();
    void lineBreakCannotInjectKey();
    void eachCallSeesCurrentFile();
    void snapshotAnswersFromOneRead();
    void writeFailureNamesFile_data();
    void writeFailureNamesFile();
    void failedWriteKeepsOldFile();
    void unreadableFileIsNotReplaced();
    void specialFileReadsAsMissing_data();
    void specialFileReadsAsMissing();
};

void TestProfileFile::readsValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected");

    // Every row asks for "Key" in "Lanvo".
    QTest::newRow("empty file") << QByteArray() << Default;
    QTest::newRow("only line endings") << raw("\r\n\n\r") << Default;
    QTest::newRow("missing section") << raw("[Other]\r\nKey=1\r\n") << Default;
    QTest::newRow("missing key") << raw("[Lanvo]\r\nKeys=1\r\nKe=2\r\n") << Default;
    QTest::newRow("key in next section") << raw("[Lanvo]\r\n[Other]\r\nKey=1\r\n") << Default;
    QTest::newRow("key before any section") << raw("Key=1\r\n[Lanvo]\r\n") << Default;
    QTest::newRow("names ignore case") << raw("[lANVO]\r\nkEY=1\r\n") << QByteArray("1");
    QTest::newRow("first section wins") << raw("[Lanvo]\r\nKey=1\r\n[LANVO]\r\nKey=2\r\n")
                                        << QByteArray("1");
    QTest::newRow("sections not merged") << raw("[Lanvo]\r\nA=1\r\n[Lanvo]\r\nKey=2\r\n") << Default;
    QTest::newRow("first key wins") << raw("[Lanvo]\r\nkey=1\r\nKEY=2\r\n") << QByteArray("1");
    QTest::newRow("line without =") << raw("[Lanvo]\r\nKey\r\nKey 1\r\n") << Default;
    QTest::newRow("commented header") << raw("[Lanvo]\r\n;[Other]\r\nKey=1\r\n") << QByteArray("1");
    QTest::newRow("blanks around names") << raw("  [ \tLanvo\t ] ; note\r\n \tKey \t= v\r\n")
                                         << QByteArray("v");
    QTest::newRow("header without ]") << raw("[Lanvo\r\nKey=1\r\n") << QByteArray("1");
    QTest::newRow("blanks around value") << raw("[Lanvo]\r\nKey= \t a b \t \r\n") << QByteArray("a b");
    QTest::newRow("only blanks trimmed") << raw("[Lanvo]\r\nKey=\va\f\r\n") << QByteArray("\va\f");
    QTest::newRow("value holds =") << raw("[Lanvo]\r\nKey=a=b\r\n") << QByteArray("a=b");
    QTest::newRow("double quotes") << raw("[Lanvo]\r\nKey=\"a b\"\r\n") << QByteArray("a b");
    QTest::newRow("single quotes in blanks") << raw("[Lanvo]\r\nKey= ' a ' \r\n") << QByteArray(" a ");
    QTest::newRow("one pair only") << raw("[Lanvo]\r\nKey=\"\"a\"\"\r\n") << QByteArray("\"a\"");
    QTest::newRow("quotes differ") << raw("[Lanvo]\r\nKey=\"a'\r\n") << QByteArray("\"a'");
    QTest::newRow("opening quote only") << raw("[Lanvo]\r\nKey=\"a\r\n") << QByteArray("\"a");
    QTest::newRow("lone quote") << raw("[Lanvo]\r\nKey='\r\n") << QByteArray("'");
    QTest::newRow("empty quotes") << raw("[Lanvo]\r\nKey=''\r\nKey=2\r\n") << QByteArray("");
    QTest::newRow("empty value") << raw("[Lanvo]\r\nKey=\r\nKey=2\r\n") << QByteArray("");
    QTest::newRow("blank value") << raw("[Lanvo]\r\nKey= \t\r\n") << QByteArray("");
    QTest::newRow("LF endings") << raw("[Lanvo]\nA=1\nKey=2\n") << QByteArray("2");
    QTest::newRow("CR endings") << raw("[Lanvo]\rA=1\rKey=2\r") << QByteArray("2");
    QTest::newRow("mixed endings") << raw("[Other]\n\rKey=0\r\r\n[Lanvo]\rA=1\nKey=2\r\n")
                                   << QByteArray("2");
    QTest::newRow("no final ending") << raw("[Lanvo]\r\nKey=2") << QByteArray("2");
    QTest::newRow("NUL and non-UTF-8 bytes")
        << raw("\0\xFF\x80\r\n[Lanvo]\r\n\xC3=\0\r\nKey=a\0b\xFE\r\n") << raw("a\0b\xFE");
}

void TestProfileFile::readsValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    QVERIFY(writeFile(path, content));

    QCOMPARE(ProfileFile(path).readString("Lanvo", "Key", Default), expected);
    QCOMPARE(ProfileSnapshot(path).readString("Lanvo", "Key", Default), expected);
}

void TestProfileFile::readsDefaultWithoutFile()
{
    const QTemporaryDir dir;
    QCOMPARE(ProfileFile(dir.filePath("Lanvo.ini")).readString("Lanvo", "Key", Default), Default);
    QCOMPARE(ProfileFile(dir.path()).readString("Lanvo", "Key", Default), Default);
}

void TestProfileFile::commentsAreNeverKeys()
{
    const QTemporaryDir dir;
    const ProfileFile file(dir.filePath("Lanvo.ini"));
    QVERIFY(writeFile(file.path(), "[Lanvo]\r\n;Key=1\r\n \t#Key=2\r\n"));

    QCOMPARE(file.readString("Lanvo", ";Key", Default), Default);
    QCOMPARE(file.readString("Lanvo", "#Key", Default), Default);

    file.writeString("Lanvo", "#Key", "3");
    QCOMPARE(readFile(file.path()), QByteArray("[Lanvo]\r\n;Key=1\r\n \t#Key=2\r\n#Key=3\r\n"));
}

void TestProfileFile::cutsLongValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray limit(2047, 'x');
    QTest::newRow("2047 bytes") << "Key=" + limit << limit;
    QTest::newRow("2048 bytes") << "Key=" + limit + 'y' << limit;
    QTest::newRow("cut after quotes") << "Key=\"" + QByteArray(3000, 'x') + '"' << limit;
    QTest::newRow("cut after blanks") << "Key=   " + limit + "y   " << limit;
    QTest::newRow("16 MB, no line ending") << "Key=" + QByteArray(16 << 20, 'x') << limit;
}

void TestProfileFile::cutsLongValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    QVERIFY(writeFile(path, "[Lanvo]\r\n" + line));

    QCOMPARE(ProfileFile(path).readString("Lanvo", "Key", Default), expected);
}

void TestProfileFile::writesKey_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");

    // Every row writes "Key" in "Lanvo".
    const QByteArray head = raw("; head\r\n\0\xFFodd\r\n\r\n");
    const QByteArray tail = raw("\r\n[lanvo]\r\nKey=dup\r\n[Other]\nKey=x\n\xFE");
    QTest::newRow("replaces only its line")
        << head + "[LANVO]\r\nA = 1\r\n  key =  old \r\n" + tail << QByteArray("new")
        << head + "[LANVO]\r\nA = 1\r\nKey=new\r\n" + tail;
    QTest::newRow("replaced line keeps its ending")
        << raw("[Lanvo]\nKey=1\r\nA=2\n") << QByteArray("9") << raw("[Lanvo]\nKey=9\r\nA=2\n");
    QTest::newRow("replaces last line without ending")
        << raw("[Lanvo]\r\nKey=1") << QByteArray("9") << raw("[Lanvo]\r\nKey=9");
    QTest::newRow("replaces first of duplicate keys")
        << raw("[Lanvo]\r\nKey=1\r\nKEY=2\r\n") << QByteArray("9") << raw("[Lanvo]\r\nKey=9\r\nKEY=2\r\n");
    QTest::newRow("adds key after last filled line")
        << raw("[Lanvo]\r\nA=1\r\n; about A\r\n\r\n \t\r\n[Other]\r\nB=2\r\n") << QByteArray("v")
        << raw("[Lanvo]\r\nA=1\r\n; about A\r\nKey=v\r\n\r\n \t\r\n[Other]\r\nB=2\r\n");
    QTest::newRow("adds key to empty section")
        << raw("[Lanvo]\n\n[Other]\n") << QByteArray("v") << raw("[Lanvo]\nKey=v\n\n[Other]\n");
    QTest::newRow("adds key after last line without ending")
        << raw("[Lanvo]\nA=1") << QByteArray("v") << raw("[Lanvo]\nA=1\nKey=v\n");
    QTest::newRow("adds key to first duplicate section")
        << raw("[Lanvo]\r\nA=1\r\n[Lanvo]\r\nKey=2\r\n") << QByteArray("v")
        << raw("[Lanvo]\r\nA=1\r\nKey=v\r\n[Lanvo]\r\nKey=2\r\n");
    QTest::newRow("key before first section is not in it")
        << raw("Key=0\r\n[Lanvo]\r\n") << QByteArray("v") << raw("Key=0\r\n[Lanvo]\r\nKey=v\r\n");
    QTest::newRow("appends section")
        << raw("[Other]\r\nA=1\r\n\r\n") << QByteArray("v")
        << raw("[Other]\r\nA=1\r\n\r\n[Lanvo]\r\nKey=v\r\n");
    QTest::newRow("appends section after last line without ending")
        << raw("[Other]\r\nA=1") << QByteArray("v") << raw("[Other]\r\nA=1\r\n[Lanvo]\r\nKey=v\r\n");
    QTest::newRow("LF file gets LF") << raw("; c\nA=1") << QByteArray("v") << raw("; c\nA=1\n[Lanvo]\nKey=v\n");
    QTest::newRow("CR file gets CR")
        << raw("[Other]\rA=1\r") << QByteArray("v") << raw("[Other]\rA=1\r[Lanvo]\rKey=v\r");
    QTest::newRow("CR before a blank LF line keeps the blank line")
        << raw("x\r[Lanvo]\na=1\n\n") << QByteArray("v") << raw("x\r[Lanvo]\na=1\nKey=v\r\n\n");
    QTest::newRow("first ending decides")
        << raw("[Other]\nA=1\r\n") << QByteArray("v") << raw("[Other]\nA=1\r\n[Lanvo]\nKey=v\n");
    QTest::newRow("no ending gets CR LF")
        << raw("; one line") << QByteArray("v") << raw("; one line\r\n[Lanvo]\r\nKey=v\r\n");
    QTest::newRow("empty file gets CR LF") << QByteArray() << QByteArray("v") << raw("[Lanvo]\r\nKey=v\r\n");
    QTest::newRow("value written as is")
        << raw("[Lanvo]\r\n") << raw("C:\\a \"b\" ;=%\0\xFF") << raw("[Lanvo]\r\nKey=C:\\a \"b\" ;=%\0\xFF\r\n");
}

void TestProfileFile::writesKey()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    QVERIFY(writeFile(path, before));
    const ProfileFile file(path);

    file.writeString("Lanvo", "Key", value);

    QCOMPARE(readFile(path), after);
    QCOMPARE(file.readString("Lanvo", "Key", Default), value);
}

void TestProfileFile::buildsNewFileKeyByKey()
{
    const QTemporaryDir dir;
    const ProfileFile file(dir.filePath("Lanvo.ini"));

    file.writeString("Lanvo", "A", "1");
    QCOMPARE(readFile(file.path()), QByteArray("[Lanvo]\r\nA=1\r\n"));

    file.writeString("Lanvo", "B", "2");
    file.writeString("Lanvo", "C", "");
    file.writeString("Lanvo", "b", "3");
    QCOMPARE(readFile(file.path()), QByteArray("[Lanvo]\r\nA=1\r\nb=3\r\nC=\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Lanvo.ini"});
}

void TestProfileFile::lineBreakCannotInjectKey()
{
    const QTemporaryDir dir;
    const ProfileFile file(dir.filePath("Lanvo.ini"));

    file.writeString("Lanvo", "Key", "a\r\nInjected=1\n[Other]\rB=2");

    QCOMPARE(readFile(file.path()), QByteArray("[Lanvo]\r\nKey=a  Injected=1 [Other] B=2\r\n"));
    QCOMPARE(file.readString("Lanvo", "Injected", Default), Default);
    QCOMPARE(file.readString("Other", "B", Default), Default);
}

void TestProfileFile::eachCallSeesCurrentFile()
{
    const QTemporaryDir dir;
    const ProfileFile file(dir.filePath("Lanvo.ini"));
    file.writeString("Lanvo", "Key", "1");

    QVERIFY(writeFile(file.path(), "[Lanvo]\nKey=2\n"));
    QCOMPARE(file.readString("Lanvo", "Key", Default), QByteArray("2"));

    file.writeString("Lanvo", "A", "x");
    QCOMPARE(readFile(file.path()), QByteArray("[Lanvo]\nKey=2\nA=x\n"));
}

void TestProfileFile::snapshotAnswersFromOneRead()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    QVERIFY(writeFile(path, "[Lanvo]\nKey=1\n"));
    const ProfileSnapshot snapshot(path);
    QVERIFY(QFile::remove(path));

    QCOMPARE(snapshot.readString("Lanvo", "Key", Default), QByteArray("1"));
    QCOMPARE(snapshot.readString("Lanvo", "Other", Default), Default);
    QCOMPARE(ProfileSnapshot(path).readString("Lanvo", "Key", Default), Default);
}

void TestProfileFile::writeFailureNamesFile_data()
{
    QTest::addColumn<QString>("relativePath");

    QTest::newRow("missing directory") << "missing/Lanvo.ini";
    QTest::newRow("parent is a file") << "file/Lanvo.ini";
    QTest::newRow("target is a directory") << "directory";
}

void TestProfileFile::writeFailureNamesFile()
{
    QFETCH(QString, relativePath);
    const QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("file"), "[Lanvo]\r\nKey=1\r\n"));
    QVERIFY(QDir(dir.path()).mkdir("directory"));
    const QString path = dir.filePath(relativePath);

    QCOMPARE(writeErrorOf(ProfileFile(path)), "Unable to write to " + path);

    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"directory", "file"}));
    QCOMPARE(readFile(dir.filePath("file")), QByteArray("[Lanvo]\r\nKey=1\r\n"));
    QVERIFY(QDir(dir.filePath("directory")).isEmpty());
}

void TestProfileFile::failedWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    const QByteArray old = "; mine\r\n[Lanvo]\r\nKey=old\r\n" + QByteArray(1000, ';') + "\r\n";
    QVERIFY(writeFile(path, old));
    QString error;
    {
        const FileSizeLimit limit(64 * 1024);
        if (!limit.isActive())
            QSKIP("the file size limit can't be set here");
        error = writeErrorOf(ProfileFile(path), QByteArray(1 << 20, 'v'));
    }

    QCOMPARE(error, "Unable to write to " + path);
    QCOMPARE(readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Lanvo.ini"});
#else
    QSKIP("needs a per-process file size limit");
#endif
}

void TestProfileFile::unreadableFileIsNotReplaced()
{
#ifdef Q_OS_UNIX
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    const BoundSocket socket(path);
    if (!socket.isBound())
        QSKIP("no socket can be made here");

    QCOMPARE(writeErrorOf(ProfileFile(path)), "Unable to write to " + path);
    QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    QCOMPARE(ProfileFile(path).readString("Lanvo", "Key", Default), Default);
#else
    QSKIP("needs a file that can't be read");
#endif
}

void TestProfileFile::specialFileReadsAsMissing_data()
{
    Lanvo::Test::addSpecialFileRows();
}

// Read as a missing file without waiting on it or reading it endlessly; never replaced by an update.
void TestProfileFile::specialFileReadsAsMissing()
{
    QFETCH(QString, kind);
    const QTemporaryDir dir;
    const QString path = dir.filePath("Lanvo.ini");
    Lanvo::Test::makeSpecialFile(path, kind);

    QCOMPARE(ProfileFile(path).readString("Lanvo", "Key", Default), Default);
    if (QFileInfo(path).exists()) {
        QCOMPARE(writeErrorOf(ProfileFile(path)), "Unable to write to " + path);
        QVERIFY(!QFileInfo(path).isFile());
    }
}

QTEST_APPLESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
