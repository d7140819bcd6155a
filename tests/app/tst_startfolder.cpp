// The desktop menu's start: inside a Corvane folder Lanvo stays there; elsewhere it enters the folder
// chosen last time, and asks (remembering the answer) at the first start or when that folder is gone.
// A chosen folder without any Corvane file is taken only once the user confirms it.
#include "SecondUser.h"
#include "StartFolder.h"
#include "TestFakes.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

// Answers the chooser's questions from a list and records the folder each one proposed.
struct FakeChooser
{
    QStringList Answers;
    QStringList Proposed;

    TStartFolder::Chooser chooser()
    {
        return [this](const QString &proposed) {
            Proposed << proposed;
            return Answers.isEmpty() ? QString() : Answers.takeFirst();
        };
    }
};

} // namespace

class TestStartFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void menuStart_data();
    void menuStart();
    void cancelledChooserEndsWithoutWriting();
    void cancelAfterDecliningWritesNothing();
    void plainStartNeverAsks();
    void rememberedFolderMustBeTrusted_data();
    void rememberedFolderMustBeTrusted();
    void settingsThatAreNoPlainFile_data();
    void settingsThatAreNoPlainFile();

private:
    QString m_savedCurrent;
};

void TestStartFolder::init()
{
    m_savedCurrent = QDir::currentPath();
}

// Folders are given relative to the test's folder: "home" is where the menu starts Lanvo, "last" the
// remembered folder ("" for none), "answers" what the user picks in turn, "replies" the answers to the
// question about a folder without Corvane files. "corvane" holds the emulator, "other" the settings
// (both in capitals, as from a DOS medium), "plain" neither.
void TestStartFolder::menuStart_data()
{
    QTest::addColumn<TCommandLine::TFolderChoice>("choice");
    QTest::addColumn<QString>("markInHome"); // a file, or a folder when it ends with "/"
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QList<PromptAnswer>>("replies");
    QTest::addColumn<QString>("expectedCurrent");
    QTest::addColumn<QStringList>("expectedProposed");
    QTest::addColumn<int>("expectedQuestions");
    QTest::addColumn<QString>("expectedRemembered");

    const auto last = TCommandLine::TFolderChoice::LastChosen;
    const auto again = TCommandLine::TFolderChoice::AskAgain;
    const QList<PromptAnswer> none;
    QTest::newRow("first start asks, opening at home")
        << last << "" << "" << QStringList{"corvane"} << none << "corvane" << QStringList{"~"} << 0 << "corvane";
    QTest::newRow("later starts enter the remembered folder")
        << last << "" << "corvane" << QStringList{} << none << "corvane" << QStringList{} << 0 << "corvane";
    QTest::newRow("remembered folder gone: asks again")
        << last << "" << "gone" << QStringList{"other"} << none << "other" << QStringList{"~"} << 0 << "other";
    QTest::newRow("inside a folder with the settings: stays")
        << last << "Lanvo.ini" << "corvane" << QStringList{} << none << "home" << QStringList{} << 0 << "corvane";
    QTest::newRow("inside a folder with the emulator, any case: stays")
        << last << "CORVANE.EXE" << "" << QStringList{} << none << "home" << QStringList{} << 0 << "";
    QTest::newRow("a folder named like a mark is none")
        << last << "lanvo.INI/" << "corvane" << QStringList{} << none << "corvane" << QStringList{} << 0 << "corvane";
    QTest::newRow("another file is no mark")
        << last << "readme.txt" << "corvane" << QStringList{} << none << "corvane" << QStringList{} << 0 << "corvane";
    QTest::newRow("choosing anew opens at the remembered folder")
        << again << "Lanvo.ini" << "corvane" << QStringList{"other"} << none << "other" << QStringList{"corvane"} << 0
        << "other";
    QTest::newRow("a chosen folder that can't be entered is asked again")
        << again << "" << "" << QStringList{"gone", "other"} << none << "other" << QStringList{"~", "gone"} << 0
        << "other";
    QTest::newRow("a folder without Corvane files, confirmed")
        << last << "" << "" << QStringList{"plain"} << QList{PromptAnswer::Yes} << "plain" << QStringList{"~"} << 1
        << "plain";
    QTest::newRow("a folder without Corvane files, declined: the chooser again, at that folder")
        << last << "" << "" << QStringList{"home", "corvane"} << QList{PromptAnswer::No} << "corvane"
        << QStringList{"~", "home"} << 1 << "corvane";
    QTest::newRow("declined twice, then confirmed")
        << again << "" << "corvane" << QStringList{"plain", "home", "plain"}
        << QList{PromptAnswer::No, PromptAnswer::No, PromptAnswer::Yes} << "plain"
        << QStringList{"corvane", "plain", "home"} << 3 << "plain";
}

void TestStartFolder::menuStart()
{
    QFETCH(TCommandLine::TFolderChoice, choice);
    QFETCH(QString, markInHome);
    QFETCH(QString, last);
    QFETCH(QStringList, answers);
    QFETCH(QList<PromptAnswer>, replies);
    QFETCH(QString, expectedCurrent);
    QFETCH(QStringList, expectedProposed);
    QFETCH(int, expectedQuestions);
    QFETCH(QString, expectedRemembered);

    const QTemporaryDir dir;
    const QDir root(dir.path());
    for (const char *folder : {"home", "plain"})
        makeDirectory(root.filePath(folder));
    writeFile(root.filePath("corvane/CORVANE.EXE"), "MZ");
    writeFile(root.filePath("other/LANVO.INI"), "[Lanvo]\n");
    writeFile(root.filePath("plain/readme.txt"), "");
    if (markInHome.endsWith('/'))
        makeDirectory(root.filePath("home/" + markInHome));
    else if (!markInHome.isEmpty())
        writeFile(root.filePath("home/" + markInHome), "");
    const QString settingsFile = root.filePath("config/lanvo/lanvo.conf");
    if (!last.isEmpty())
        QSettings(settingsFile, QSettings::IniFormat).setValue("LastFolder", root.filePath(last));
    const auto absolute = [&](const QString &name) {
        return name == "~" ? QDir::homePath() : name.isEmpty() ? QString() : root.filePath(name);
    };
    FakeChooser fake;
    for (const QString &answer : answers)
        fake.Answers << absolute(answer);
    RecordingPrompts prompts;
    prompts.Answers.assign(replies.begin(), replies.end());
    QDir::setCurrent(root.filePath("home"));

    QVERIFY(TStartFolder(settingsFile, fake.chooser(), prompts).enter(choice));

    QCOMPARE(QDir::currentPath(), absolute(expectedCurrent));
    QStringList proposed;
    for (const QString &name : expectedProposed)
        proposed << absolute(name);
    QCOMPARE(fake.Proposed, proposed);
    QCOMPARE(prompts.Messages.size(), expectedQuestions);
    for (const RecordingPrompts::Message &message : std::as_const(prompts.Messages)) {
        QCOMPARE(message.Text, NoCorvaneFilesQuestion);
        QCOMPARE(message.Buttons, PromptButtons::YesNo);
    }
    QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value("LastFolder").toString(), absolute(expectedRemembered));
}

void TestStartFolder::cancelledChooserEndsWithoutWriting()
{
    const QTemporaryDir dir;
    const QString settingsFile = dir.filePath("config/lanvo/lanvo.conf");
    QDir::setCurrent(dir.path());
    FakeChooser fake;
    RecordingPrompts prompts;

    QVERIFY(!TStartFolder(settingsFile, fake.chooser(), prompts).enter(TCommandLine::TFolderChoice::LastChosen));
    QCOMPARE(fake.Proposed.size(), 1);
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

// The question comes before anything is written: a No and then a cancelled chooser leave the folder
// and the configuration as they were.
void TestStartFolder::cancelAfterDecliningWritesNothing()
{
    const QTemporaryDir dir;
    const QString settingsFile = dir.filePath("config/lanvo/lanvo.conf");
    makeDirectory(dir.filePath("home"));
    QDir::setCurrent(dir.filePath("home"));
    FakeChooser fake;
    fake.Answers << dir.filePath("home");
    RecordingPrompts prompts;
    prompts.Answers = {PromptAnswer::No};

    QVERIFY(!TStartFolder(settingsFile, fake.chooser(), prompts).enter(TCommandLine::TFolderChoice::LastChosen));
    QCOMPARE(prompts.texts(), QStringList{NoCorvaneFilesQuestion});
    QCOMPARE(fake.Proposed.size(), 2);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"home"});
    QCOMPARE(QDir(dir.filePath("home")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestStartFolder::plainStartNeverAsks()
{
    const QTemporaryDir dir;
    const QString settingsFile = dir.filePath("lanvo.conf");
    QSettings(settingsFile, QSettings::IniFormat).setValue("LastFolder", dir.path());
    makeDirectory(dir.filePath("start"));
    QDir::setCurrent(dir.filePath("start"));
    FakeChooser fake;
    RecordingPrompts prompts;

    QVERIFY(TStartFolder(settingsFile, fake.chooser(), prompts).enter(TCommandLine::TFolderChoice::Current));
    QVERIFY(fake.Proposed.isEmpty());
    QCOMPARE(QDir::currentPath(), dir.filePath("start"));
}

void TestStartFolder::rememberedFolderMustBeTrusted_data()
{
    QTest::addColumn<QString>("change"); // what happened to the remembered folder "corvane"
    QTest::addColumn<QString>("reason"); // "" when it is entered

    QTest::newRow("own folder") << "" << "";
    QTest::newRow("made writable by every user") << "mode 0777" << "corvane can be written by every user";
    QTest::newRow("parent writable by its group") << "parent 0770" << "top can be written by its group";
    QTest::newRow("gone, and another user's link put there") << "link" << "corvane is a link that belongs to another user";
}

// A remembered folder that another user could have replaced or filled is not entered: the user is
// told why and asked for the folder, as when it is gone.
void TestStartFolder::rememberedFolderMustBeTrusted()
{
    QFETCH(QString, change);
    QFETCH(QString, reason);
    const SecondUser other;
    if (change == "link" && !other.valid())
        QSKIP("needs a second user, which only root can make");
    const QTemporaryDir dir;
    const QString top = dir.filePath("top");
    const QString corvane = top + "/corvane";
    for (const QString &folder : {top, corvane, dir.filePath("other"), dir.filePath("theirs"), dir.filePath("home")})
        makeDirectory(folder);
    if (change == "mode 0777")
        QCOMPARE(::chmod(QFile::encodeName(corvane).constData(), 0777), 0);
    if (change == "parent 0770")
        QCOMPARE(::chmod(QFile::encodeName(top).constData(), 0770), 0);
    if (change == "link") {
        QVERIFY(QDir(corvane).removeRecursively());
        QVERIFY(QFile::link(dir.filePath("theirs"), corvane));
        QVERIFY(other.take(corvane) && other.take(dir.filePath("theirs")));
    }
    const QString settingsFile = dir.filePath("config/lanvo.conf");
    QSettings(settingsFile, QSettings::IniFormat).setValue("LastFolder", corvane);
    QDir::setCurrent(dir.filePath("home"));
    FakeChooser fake;
    fake.Answers << dir.filePath("other");
    QStringList notices;
    RecordingPrompts prompts; // a chosen folder without Corvane files is taken
    TStartFolder start(settingsFile, fake.chooser(), prompts);
    start.setRefusalNotice([&notices](const QString &text) { notices << text; });

    QVERIFY(start.enter(TCommandLine::TFolderChoice::LastChosen));
    if (reason.isEmpty()) {
        QCOMPARE(QDir::currentPath(), corvane);
        QVERIFY(notices.isEmpty() && fake.Proposed.isEmpty());
        return;
    }
    QCOMPARE(QDir::currentPath(), dir.filePath("other"));
    QCOMPARE(notices.size(), 1);
    QVERIFY2(notices.first().startsWith("Lanvo did not enter " + corvane + ", the Corvane folder chosen last time: "),
             qPrintable(notices.first()));
    QVERIFY2(notices.first().contains(reason + ", so another user"), qPrintable(notices.first()));
    QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value("LastFolder").toString(), dir.filePath("other"));
}

void TestStartFolder::settingsThatAreNoPlainFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a FIFO nobody writes to") << "fifo";
    QTest::newRow("a file far larger than settings") << "huge";
    QTest::newRow("a folder") << "folder";
}

// Read at every menu start: what stands in the settings file's place is neither waited on nor read
// whole, and is left as it is.
void TestStartFolder::settingsThatAreNoPlainFile()
{
    QFETCH(QString, kind);
    const QTemporaryDir dir;
    makeDirectory(dir.filePath("corvane"));
    const QString settingsFile = dir.filePath("lanvo.conf");
    const QByteArray name = QFile::encodeName(settingsFile);
    if (kind == "fifo")
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    else if (kind == "huge") {
        writeFile(settingsFile, "[General]\nLastFolder=" + QFile::encodeName(dir.filePath("corvane")) + "\n");
        QCOMPARE(::truncate(name.constData(), qint64(1) << 30), 0); // sparse: no disk is used
    } else
        makeDirectory(settingsFile);
    QDir::setCurrent(dir.path());
    FakeChooser fake;
    fake.Answers << dir.filePath("corvane");

    RecordingPrompts prompts; // a chosen folder without Corvane files is taken
    QVERIFY(TStartFolder(settingsFile, fake.chooser(), prompts).enter(TCommandLine::TFolderChoice::LastChosen));
    QCOMPARE(fake.Proposed, QStringList{QDir::homePath()});
    QCOMPARE(QDir::currentPath(), dir.filePath("corvane"));
    struct stat info{};
    QCOMPARE(::stat(name.constData(), &info), 0);
    if (kind == "fifo")
        QVERIFY(S_ISFIFO(info.st_mode));
    else if (kind == "huge")
        QCOMPARE(qint64(info.st_size), qint64(1) << 30);
}

QTEST_APPLESS_MAIN(TestStartFolder)
#include "tst_startfolder.moc"
