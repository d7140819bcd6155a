// Whether a folder or program may be trusted: every component of its path, as another user could
// have made or changed it, and what happens when a link is pointed elsewhere after the check.
#include "FilesUtils.h"
#include "LanvoError.h"
#include "PathTrust.h"
#include "SecondUser.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

unsigned modeOf(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? unsigned(info.st_mode & 07777) : 0u;
}

} // namespace

class TestPathTrust : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { m_other.reset(); }
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void wholePathIsJudged_data();
    void wholePathIsJudged();
    void linkPointedElsewhereAfterTheCheck();
    void copiesArePrivateWhateverTheUmask();
    void copyFailureLeavesNothingBehind();

private:
    // Carries out steps such as "dir p 0755", "file p/x 0664", "link l p", "give p", "acl p u:@other:rwx".
    bool build(const QString &base, const QStringList &steps) const;

    std::unique_ptr<SecondUser> m_other;
    QString m_savedCurrent;
};

void TestPathTrust::initTestCase()
{
    m_other = std::make_unique<SecondUser>();
}

bool TestPathTrust::build(const QString &base, const QStringList &steps) const
{
    for (const QString &step : steps) {
        QStringList words = step.split(' ');
        for (QString &word : words)
            word.replace("@other", m_other->name()).replace("@base", base);
        const QString path = base + '/' + words.at(1);
        const QByteArray name = QFile::encodeName(path);
        const mode_t mode = words.size() > 2 ? mode_t(words.at(2).toUInt(nullptr, 8)) : 0;
        bool done = false;
        if (words.first() == "dir")
            done = ::mkdir(name.constData(), 0700) == 0 && ::chmod(name.constData(), mode) == 0;
        else if (words.first() == "file")
            done = (writeFile(path, "program"), ::chmod(name.constData(), mode) == 0);
        else if (words.first() == "link")
            done = ::symlink(QFile::encodeName(words.at(2)).constData(), name.constData()) == 0;
        else if (words.first() == "give")
            done = m_other->take(path);
        else if (words.first() == "acl")
            done = runTool("setfacl", {"-m", words.at(2), path});
        if (!done)
            return false;
    }
    return true;
}

void TestPathTrust::wholePathIsJudged_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("fault");  // the component refused, relative to the base; "" when trusted
    QTest::addColumn<QString>("reason"); // part of the reason given
    QTest::addColumn<bool>("needsOtherUser");

    // Ownership: another user could rename, replace or fill the folder.
    QTest::newRow("own private folder") << QStringList{"dir alt 0700"} << "alt" << "" << "" << false;
    QTest::newRow("folder of another user")
        << QStringList{"dir alt 0700", "give alt"} << "alt" << "alt" << "belongs to another user" << true;
    QTest::newRow("parent of another user")
        << QStringList{"dir p 0755", "dir p/alt 0700", "give p"} << "p/alt" << "p" << "belongs to another user" << true;
    QTest::newRow("program of another user")
        << QStringList{"dir alt 0700", "file alt/corvane.exe 0755", "give alt/corvane.exe"} << "alt/corvane.exe"
        << "alt/corvane.exe" << "belongs to another user" << true;

    // Write permission by mode: the group's bit counts even for the user's own group.
    QTest::newRow("folder every user may write") << QStringList{"dir alt 0777"} << "alt" << "alt" << "every user" << false;
    QTest::newRow("folder of the user's own group") << QStringList{"dir alt 0770"} << "alt" << "alt" << "its group" << false;
    QTest::newRow("parent of the user's own group")
        << QStringList{"dir p 0775", "dir p/alt 0700"} << "p/alt" << "p" << "its group" << false;
    QTest::newRow("program its group may write")
        << QStringList{"dir alt 0700", "file alt/corvane.exe 0775"} << "alt/corvane.exe" << "alt/corvane.exe"
        << "its group" << false;

    // Folders every user may write, like /tmp: only the sticky, root-owned kind, and only the user's own below.
    QTest::newRow("own folder in a shared sticky folder")
        << QStringList{"dir t 01777", "dir t/alt 0700"} << "t/alt" << "" << "" << false;
    QTest::newRow("another user's folder in a shared sticky folder")
        << QStringList{"dir t 01777", "dir t/alt 0700", "give t/alt"} << "t/alt" << "t/alt" << "not your own" << true;
    QTest::newRow("shared sticky folder of another user")
        << QStringList{"dir t 01777", "give t", "dir t/alt 0700"} << "t/alt" << "t" << "belongs to another user" << true;
    QTest::newRow("shared folder without the sticky bit")
        << QStringList{"dir t 0777", "dir t/alt 0700"} << "t/alt" << "t" << "every user" << false;

    // Access lists: the mode's group bits show only their mask.
    QTest::newRow("access list lets another user write")
        << QStringList{"dir alt 0700", "acl alt u:@other:rwx"} << "alt" << "alt" << "access list" << true;
    QTest::newRow("access list lets another group write")
        << QStringList{"dir alt 0700", "acl alt g:@other:rwx"} << "alt" << "alt" << "access list" << true;
    QTest::newRow("access list masked to reading")
        << QStringList{"dir alt 0700", "acl alt u:@other:rwx,m::r-x"} << "alt" << "" << "" << true;
    QTest::newRow("access list on a parent")
        << QStringList{"dir p 0755", "dir p/alt 0700", "acl p u:@other:rwx"} << "p/alt" << "p" << "access list" << true;

    // Links: each is judged itself and followed, relative or absolute.
    QTest::newRow("own link to an own folder")
        << QStringList{"dir real 0700", "link l real"} << "l" << "" << "" << false;
    QTest::newRow("absolute link through a parent")
        << QStringList{"dir real 0700", "dir real/alt 0700", "link l @base/real"} << "l/alt" << "" << "" << false;
    QTest::newRow("link back up and down")
        << QStringList{"dir real 0700", "dir real/sub 0700", "link l real/sub/.."} << "l" << "" << "" << false;
    QTest::newRow("link of another user")
        << QStringList{"dir real 0700", "link l real", "give l"} << "l" << "l" << "link that belongs to another user"
        << true;
    QTest::newRow("own link into a folder every user may write")
        << QStringList{"dir open 0777", "dir open/alt 0700", "link l open/alt"} << "l" << "open" << "every user"
        << false;
    QTest::newRow("links in a loop") << QStringList{"link a b", "link b a"} << "a" << "?" << "can't be followed" << false;
    QTest::newRow("missing folder") << QStringList{} << "gone" << "gone" << "does not exist" << false;
}

void TestPathTrust::wholePathIsJudged()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, target);
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QFETCH(bool, needsOtherUser);
    if (needsOtherUser && !m_other->valid())
        QSKIP("needs a second user, which only root can make");
    const QTemporaryDir dir;
    QVERIFY(build(dir.path(), steps));

    const TrustRefusal refusal = checkPathTrust(dir.filePath(target));
    QCOMPARE(refusal.refused(), !fault.isEmpty());
    if (fault.isEmpty())
        return;
    if (fault != "?")
        QCOMPARE(refusal.Path, dir.filePath(fault));
    QVERIFY2(refusal.Reason.contains(reason), qPrintable(refusal.Reason));
    QVERIFY(refusal.text().startsWith(refusal.Path + ' '));
}

// The check opens what it judges; a later use opens the path again and must judge it again.
void TestPathTrust::linkPointedElsewhereAfterTheCheck()
{
    const QTemporaryDir dir;
    QVERIFY(build(dir.path(), {"dir own 0700", "dir open 0777", "file corvane.exe 0700", "link l own"}));
    const QString link = dir.filePath("l");
    QVERIFY(!checkPathTrust(link).refused());
    QVERIFY(!copyIntoTrustedFolder(dir.filePath("corvane.exe"), link, "corvane.exe").refused());
    QCOMPARE(readFile(dir.filePath("own/corvane.exe")), QByteArray("program"));

    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link("open", link));
    const TrustRefusal copy = copyIntoTrustedFolder(dir.filePath("corvane.exe"), link, "dos4gw.exe");
    QCOMPARE(copy.Path, dir.filePath("open"));
    QVERIFY(QDir(dir.filePath("open")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    const TrustRefusal enter = enterTrustedFolder(link);
    QCOMPARE(enter.Path, dir.filePath("open"));
    QCOMPARE(QDir::currentPath(), m_savedCurrent);

    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link("own", link));
    QVERIFY(!enterTrustedFolder(link).refused());
    QCOMPARE(QDir::currentPath(), dir.filePath("own"));
}

void TestPathTrust::copiesArePrivateWhateverTheUmask()
{
    const QTemporaryDir dir;
    QVERIFY(build(dir.path(), {"dir alt 0700", "file program 0755", "file data 0666", "file alt/data 0644"}));
    if (m_other->valid())
        QVERIFY(runTool("setfacl", {"-d", "-m", "u:" + m_other->name() + ":rwx", dir.filePath("alt")}));
    const mode_t saved = ::umask(0);
    copyIntoTrustedFolder(dir.filePath("program"), dir.filePath("alt"), "CORVANE.EXE");
    copyIntoTrustedFolder(dir.filePath("data"), dir.filePath("alt"), "data");
    ::umask(saved);

    QCOMPARE(modeOf(dir.filePath("alt/CORVANE.EXE")), 0700u);
    QCOMPARE(modeOf(dir.filePath("alt/data")), 0600u);
    QCOMPARE(readFile(dir.filePath("alt/data")), QByteArray("program"));
    // Even an inherited access list grants no one else writing.
    QVERIFY(!checkPathTrust(dir.filePath("alt"), "CORVANE.EXE").refused());
    QVERIFY(!checkPathTrust(dir.filePath("alt"), "data").refused());
    QCOMPARE(QDir(dir.filePath("alt")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"CORVANE.EXE", "data"}));
}

void TestPathTrust::copyFailureLeavesNothingBehind()
{
    const QTemporaryDir dir;
    QVERIFY(build(dir.path(), {"dir alt 0700", "file alt/kept 0600", "dir source 0700"}));
    writeFile(dir.filePath("alt/kept"), "old");
    try {
        copyIntoTrustedFolder(dir.filePath("source"), dir.filePath("alt"), "kept"); // a folder is no file
        QFAIL("a folder was copied as a file");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), "Impossible d'ouvrir le fichier " + dir.filePath("source"));
    }
    {
        FileFaultInjection full(FileOperation::Write, 1);
        writeFile(dir.filePath("new"), "new");
        QVERIFY_THROWS_EXCEPTION(LanvoError, copyIntoTrustedFolder(dir.filePath("new"), dir.filePath("alt"), "kept"));
    }
    QCOMPARE(readFile(dir.filePath("alt/kept")), QByteArray("old"));
    QCOMPARE(QDir(dir.filePath("alt")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"kept"});
}

QTEST_APPLESS_MAIN(TestPathTrust)
#include "tst_pathtrust.moc"
