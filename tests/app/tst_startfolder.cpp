// The desktop menu's start: inside a Corvane folder Lanvo stays there; elsewhere it enters the folder
// chosen last time, and asks (remembering the answer) at the first start or when that folder is gone.
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
    void plainStartNeverAsks();

private:
    QString m_savedCurrent;
};

void TestStartFolder::init()
{
    m_savedCurrent = QDir::currentPath();
}

// Folders are given relative to the test's folder: "home" is where the menu starts Lanvo, "last" the
// remembered folder ("" for none), "answers" what the user picks in turn.
void TestStartFolder::menuStart_data()
{
    QTest::addColumn<TCommandLine::TFolderChoice>("choice");
    QTest::addColumn<QString>("markInHome"); // a file, or a folder when it ends with "/"
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expectedCurrent");
    QTest::addColumn<QStringList>("expectedProposed");
    QTest::addColumn<QString>("expectedRemembered");

    const auto last = TCommandLine::TFolderChoice::LastChosen;
    const auto again = TCommandLine::TFolderChoice::AskAgain;
    QTest::newRow("first start asks, opening at home")
        << last << "" << "" << QStringList{"corvane"} << "corvane" << QStringList{"~"} << "corvane";
    QTest::newRow("later starts enter the remembered folder")
        << last << "" << "corvane" << QStringList{} << "corvane" << QStringList{} << "corvane";
    QTest::newRow("remembered folder gone: asks again")
        << last << "" << "gone" << QStringList{"other"} << "other" << QStringList{"~"} << "other";
    QTest::newRow("inside a folder with the settings: stays")
        << last << "Lanvo.ini" << "corvane" << QStringList{} << "home" << QStringList{} << "corvane";
    QTest::newRow("inside a folder with the emulator, any case: stays")
        << last << "CORVANE.EXE" << "" << QStringList{} << "home" << QStringList{} << "";
    QTest::newRow("a folder named like a mark is none")
        << last << "lanvo.INI/" << "corvane" << QStringList{} << "corvane" << QStringList{} << "corvane";
    QTest::newRow("another file is no mark")
        << last << "readme.txt" << "corvane" << QStringList{} << "corvane" << QStringList{} << "corvane";
    QTest::newRow("choosing anew opens at the remembered folder")
        << again << "Lanvo.ini" << "corvane" << QStringList{"other"} << "other" << QStringList{"corvane"} << "other";
    QTest::newRow("a chosen folder that can't be entered is asked again")
        << again << "" << "" << QStringList{"gone", "other"} << "other" << QStringList{"~", "gone"} << "other";
}

void TestStartFolder::menuStart()
{
    QFETCH(TCommandLine::TFolderChoice, choice);
    QFETCH(QString, markInHome);
    QFETCH(QString, last);
    QFETCH(QStringList, answers);
    QFETCH(QString, expectedCurrent);
    QFETCH(QStringList, expectedProposed);
    QFETCH(QString, expectedRemembered);

    const QTemporaryDir dir;
    const QDir root(dir.path());
    for (const char *folder : {"home", "corvane", "other"})
        makeDirectory(root.filePath(folder));
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
    QDir::setCurrent(root.filePath("home"));

    QVERIFY(TStartFolder(settingsFile, fake.chooser()).enter(choice));

    QCOMPARE(QDir::currentPath(), absolute(expectedCurrent));
    QStringList proposed;
    for (const QString &name : expectedProposed)
        proposed << absolute(name);
    QCOMPARE(fake.Proposed, proposed);
    QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value("LastFolder").toString(), absolute(expectedRemembered));
}

void TestStartFolder::cancelledChooserEndsWithoutWriting()
{
    const QTemporaryDir dir;
    const QString settingsFile = dir.filePath("config/lanvo/lanvo.conf");
    QDir::setCurrent(dir.path());
    FakeChooser fake;

    QVERIFY(!TStartFolder(settingsFile, fake.chooser()).enter(TCommandLine::TFolderChoice::LastChosen));
    QCOMPARE(fake.Proposed.size(), 1);
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestStartFolder::plainStartNeverAsks()
{
    const QTemporaryDir dir;
    const QString settingsFile = dir.filePath("lanvo.conf");
    QSettings(settingsFile, QSettings::IniFormat).setValue("LastFolder", dir.path());
    makeDirectory(dir.filePath("start"));
    QDir::setCurrent(dir.filePath("start"));
    FakeChooser fake;

    QVERIFY(TStartFolder(settingsFile, fake.chooser()).enter(TCommandLine::TFolderChoice::Current));
    QVERIFY(fake.Proposed.isEmpty());
    QCOMPARE(QDir::currentPath(), dir.filePath("start"));
}

QTEST_APPLESS_MAIN(TestStartFolder)
#include "tst_startfolder.moc"
