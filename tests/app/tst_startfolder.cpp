// The desktop menu's start: inside a Corvane folder Lanvo stays there; elsewhere it enters the folder
// chosen last time, and asks (remembering the answer) at the first start or when that folder is gone.
// A chosen folder without any Corvane file is taken only once the user confirms it.
#include "StartFolder.h"
#include "TestFakes.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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

QTEST_APPLESS_MAIN(TestStartFolder)
#include "tst_startfolder.moc"
