#include "Corvane.h"
#include "DosboxPage.h"
#include "DosboxSettings.h"
#include "DosboxVersion.h"
#include "OptionsDialog.h"
#include "OptionsDialogRun.h"
#include "SettingsFile.h"
#include "TestFakes.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestDosboxPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void okWritesOnlyTheChangedKeys_data();
    void okWritesOnlyTheChangedKeys();
    void cancelWritesNothing();
    void fullScreenReachesDosbox_data();
    void fullScreenReachesDosbox();
    void saysWhichDosboxRuns_data();
    void saysWhichDosboxRuns();
    void programStillAskedEndsOutOfSight_data();
    void programStillAskedEndsOutOfSight();
    void reachedByKeyboard();
    void readByScreenReader_data();
    void readByScreenReader();

private:
    QString m_savedCurrent;
};

namespace {

// Settings written by hand: a relative program, a key in lower case, a switch of another section.
const QByteArray Before = "; set by hand\r\n"
                          "[Lanvo]\r\n"
                          "RomPath1=roms\r\n"
                          "RomPath2=roms\r\n"
                          "AltPath=/tmp/lanvo\r\n"
                          "[Dosbox]\r\n"
                          "Program = tools/dosbox-mine\r\n"
                          "use=never\r\n"
                          "\r\n"
                          "[Tail]\r\n"
                          "Fullscreen=ON\r\n";

struct Fixture
{
    QTemporaryDir Dir;
    TCorvane Emulator{nullptr, Dir.path()};
    TF_Options Dialog;
    QStringList ChooserAnswers; // in order; an empty answer is a cancel

    explicit Fixture(const QByteArray &settings = Before)
    {
        writeFile(ini(), settings);
        Emulator.WorkDir = Dir.path();
        Emulator.RomPath1 = Emulator.makePath(QStringLiteral("roms"));
        Emulator.RomPath2 = Emulator.makePath(QStringLiteral("roms"));
        Emulator.AltPath = Emulator.makePath(QStringLiteral("/tmp/lanvo"));
        Emulator.Dosbox = readDosboxSettings(ini(), Dir.path()); // as the start-up reads it
        Dialog.Dosbox->setFileChooser([this](QWidget *, const QString &, const QString &) {
            return ChooserAnswers.isEmpty() ? QString() : ChooserAnswers.takeFirst();
        });
    }

    QString ini() const { return settingsFilePath(Dir.path()); }

    // Shows the dialog on the DOSBox page, lets Actions change it, then presses Ok or Cancel.
    bool run(const std::function<void(TDosboxPage &)> &actions, bool pressOk)
    {
        return RunOptionsDialog(Dialog, Emulator, [] {}, [&](TF_Options &dialog) {
            dialog.show();
            dialog.Onglet->setCurrentWidget(dialog.Dosbox);
            actions(*dialog.Dosbox);
            QTest::mouseClick(pressOk ? dialog.Ok : dialog.Cancel, Qt::LeftButton);
            return dialog.result();
        });
    }
};

void compareSettings(const DosboxSettings &actual, const DosboxSettings &expected)
{
    QCOMPARE(actual.Program, expected.Program);
    QCOMPARE(actual.ConfigFile, expected.ConfigFile);
    QCOMPARE(int(actual.Use), int(expected.Use));
    QCOMPARE(actual.Fullscreen, expected.Fullscreen);
}

QString makeScript(const QString &path, const QByteArray &body)
{
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString accessibleName(QObject *object)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(object);
    return i ? i->text(QAccessible::Name) : QStringLiteral("<none>");
}

} // namespace

void TestDosboxPage::okWritesOnlyTheChangedKeys_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("dosboxLines"); // the section after Ok, up to its blank line
    QTest::newRow("nothing") << "" << QByteArray("Program = tools/dosbox-mine\r\nuse=never\r\n");
    QTest::newRow("full screen") << "full screen"
                                 << QByteArray("Program = tools/dosbox-mine\r\nuse=never\r\nFullscreen=ON\r\n");
    QTest::newRow("changed and back") << "full screen twice" << QByteArray("Program = tools/dosbox-mine\r\nuse=never\r\n");
    QTest::newRow("use") << "always" << QByteArray("Program = tools/dosbox-mine\r\nUse=ALWAYS\r\n");
    QTest::newRow("program chosen") << "browse program"
                                    << QByteArray("Program=/opt/My DOSBox/dosbox \"x\"\r\nuse=never\r\n");
    QTest::newRow("program cleared") << "clear program" << QByteArray("Program=\r\nuse=never\r\n");
    QTest::newRow("configuration chosen")
        << "browse config" << QByteArray("Program = tools/dosbox-mine\r\nuse=never\r\nConfig=/my confs/a.conf\r\n");
}

// Each changed key is one update of the file; every other byte stays, and the file reads back as chosen.
void TestDosboxPage::okWritesOnlyTheChangedKeys()
{
    QFETCH(QString, action);
    QFETCH(QByteArray, dosboxLines);
    Fixture f;
    QVERIFY(f.run(
        [&](TDosboxPage &page) {
            if (action.startsWith("full screen"))
                QTest::mouseClick(page.Fullscreen, Qt::LeftButton, {}, QPoint(5, page.Fullscreen->height() / 2));
            if (action == "full screen twice")
                QTest::mouseClick(page.Fullscreen, Qt::LeftButton, {}, QPoint(5, page.Fullscreen->height() / 2));
            if (action == "always") {
                page.Use->setFocus();
                QTest::keyClick(page.Use, Qt::Key_Up); // from "Never"
            }
            if (action == "browse program") {
                f.ChooserAnswers = {"/opt/My DOSBox/dosbox \"x\""};
                QTest::mouseClick(page.BrowseProgram, Qt::LeftButton);
            }
            if (action == "clear program")
                QTest::mouseClick(page.ClearProgram, Qt::LeftButton);
            if (action == "browse config") {
                f.ChooserAnswers = {"/my confs/a.conf"};
                QTest::mouseClick(page.BrowseConfig, Qt::LeftButton);
            }
        },
        true));
    QByteArray expected = Before;
    expected.replace("Program = tools/dosbox-mine\r\nuse=never\r\n", dosboxLines);
    QCOMPARE(readFile(f.ini()), expected);
    compareSettings(readDosboxSettings(f.ini(), f.Dir.path()), f.Emulator.Dosbox);
}

void TestDosboxPage::cancelWritesNothing()
{
    Fixture f;
    f.ChooserAnswers = {"/other/dosbox", "/other.conf"};
    const DosboxSettings before = f.Emulator.Dosbox;
    QVERIFY(!f.run(
        [](TDosboxPage &page) {
            QTest::mouseClick(page.BrowseProgram, Qt::LeftButton);
            QTest::mouseClick(page.BrowseConfig, Qt::LeftButton);
            page.Use->setCurrentIndex(0);
            page.Fullscreen->setChecked(true);
        },
        false));
    QCOMPARE(readFile(f.ini()), Before);
    compareSettings(f.Emulator.Dosbox, before);

    // The next showing opens on "General" with the settings in force.
    DosboxChoices shown;
    QWidget *page = nullptr;
    RunOptionsDialog(f.Dialog, f.Emulator, [] {}, [&](TF_Options &dialog) {
        dialog.show();
        shown = dialog.Dosbox->choices();
        page = dialog.Onglet->currentWidget();
        return int(QDialog::Rejected);
    });
    QCOMPARE(page, f.Dialog.General);
    QCOMPARE(shown, (DosboxChoices{f.Dir.filePath("tools/dosbox-mine"), QString(), duNever, false}));
}

void TestDosboxPage::fullScreenReachesDosbox_data()
{
    QTest::addColumn<QByteArray>("fullscreen"); // the key before
    QTest::addColumn<QStringList>("options");  // DOSBox's arguments before its first command
    QTest::newRow("checked") << QByteArray("OFF") << QStringList{"-conf", "my.conf", "-fullscreen"};
    QTest::newRow("unchecked") << QByteArray("ON") << QStringList{"-conf", "my.conf"};
}

// Toggled on the page: the settings file read at the next start gives DOSBox the choice.
void TestDosboxPage::fullScreenReachesDosbox()
{
    QFETCH(QByteArray, fullscreen);
    QFETCH(QStringList, options);
    const QTemporaryDir tools;
    const QString recorder = makeScript(tools.filePath("dosbox"), "printf '%s\\n' \"$@\" > \"$0.args\"");
    Fixture f("[Dosbox]\r\nProgram=" + recorder.toUtf8() + "\r\nConfig=my.conf\r\nFullscreen=" + fullscreen + "\r\n");
    f.Dialog.Dosbox->setFileChooser({});
    QVERIFY(f.run([](TDosboxPage &page) { QTest::keyClick(page.Fullscreen, Qt::Key_Space); }, true));

    TCorvane next(nullptr, f.Dir.path());
    next.WorkDir = f.Dir.path();
    next.SetInstallType(itHD);
    RecordingPrompts prompts;
    next.Prompts = &prompts;
    next.Dosbox = readDosboxSettings(f.ini(), f.Dir.path());
    writeFile(f.Dir.filePath("corvane.exe"), "MZ");
    writeFile(f.Dir.filePath("corinit.dat"), QByteArray(32, '\0'));
    TGame game;
    game.RomSet = "kof98";
    game.Location = rlDirectory;
    game.FoundDir = f.Dir.filePath("roms");
    makeDirectory(game.foundPath());
    next.CurrentGame = &game;
    next.Run();
    QVERIFY2(prompts.Messages.isEmpty(), qPrintable(prompts.texts().join('\n')));
    const QList<QByteArray> arguments = readFile(recorder + ".args").split('\n');
    QStringList before;
    for (const QByteArray &argument : arguments) {
        if (argument == "-c")
            break;
        before << QString::fromUtf8(argument);
    }
    options[1] = f.Dir.filePath("my.conf");
    QCOMPARE(before, options);
}

void TestDosboxPage::saysWhichDosboxRuns_data()
{
    QTest::addColumn<QString>("program"); // "<tools>" is a folder of the test's
    QTest::addColumn<QByteArray>("body"); // the program's script; empty: none there
    QTest::addColumn<QString>("said");
    QTest::newRow("tells its version") << "<tools>/dosbox" << QByteArray("echo 'DOSBox version 9.9, copyright me'")
                                       << "Lanvo starts <tools>/dosbox (DOSBox version 9.9).";
    QTest::newRow("tells nothing") << "<tools>/dosbox" << QByteArray("exit 0")
                                   << "Lanvo starts <tools>/dosbox, which did not tell its version.";
    QTest::newRow("chosen program missing") << "<tools>/dosbox" << QByteArray()
                                            << "DOSBox not found (<tools>/dosbox): install the dosbox package.";
    QTest::newRow("none on PATH") << "" << QByteArray()
                                  << "DOSBox not found (dosbox): install the dosbox package.";
}

// Asked once, when the page is first seen; a missing DOSBox is told with what to install.
void TestDosboxPage::saysWhichDosboxRuns()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, body);
    QFETCH(QString, said);
    const QTemporaryDir tools;
    const QString count = tools.filePath("asked");
    if (!body.isEmpty())
        makeScript(tools.filePath("dosbox"), "echo x >> '" + count.toUtf8() + "'\n" + body);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(tools.filePath("empty")));
    Fixture f("");
    TF_Options &dialog = f.Dialog;
    dialog.Dosbox->setChoices({QString(program).replace("<tools>", tools.path()), {}, duAuto, false});
    dialog.show();
    auto *probe = dialog.Dosbox->findChild<DosboxVersionProbe *>();
    QSignalSpy answered(probe, &DosboxVersionProbe::answered);
    QTest::qWait(50);
    QVERIFY(answered.isEmpty()); // not before the page is seen
    dialog.Onglet->setCurrentWidget(dialog.Dosbox);
    QVERIFY(answered.wait());
    dialog.Onglet->setCurrentWidget(dialog.General);
    dialog.Onglet->setCurrentWidget(dialog.Dosbox);
    QVERIFY(!answered.wait(300));
    qputenv("PATH", savedPath);
    QCOMPARE(accessibleName(dialog.Dosbox->Found), QString(said).replace("<tools>", tools.path()));
    QVERIFY(!dialog.Dosbox->Found->text().isEmpty());
    QCOMPARE(readFile(count), body.isEmpty() ? QByteArray() : QByteArray("x\n"));
}

void TestDosboxPage::programStillAskedEndsOutOfSight_data()
{
    QTest::addColumn<bool>("closeDialog"); // else another page is shown, then this one again
    QTest::newRow("dialog closed") << true;
    QTest::newRow("other page shown") << false;
}

// A DOSBox that does not answer must not run on beside a game started after the dialog.
void TestDosboxPage::programStillAskedEndsOutOfSight()
{
    QFETCH(bool, closeDialog);
    const QTemporaryDir tools;
    const QString asked = tools.filePath("asked");
    const QString program =
        makeScript(tools.filePath("dosbox"), "echo x >> '" + asked.toUtf8() + "'\nexec sleep 30");
    Fixture f("");
    TF_Options &dialog = f.Dialog;
    dialog.Dosbox->setChoices({program, {}, duAuto, false});
    const auto running = [&dialog] {
        const QList<QProcess *> processes = dialog.Dosbox->findChildren<QProcess *>();
        return int(std::count_if(processes.begin(), processes.end(),
                             [](const QProcess *p) { return p->state() != QProcess::NotRunning; }));
    };
    dialog.show();
    dialog.Onglet->setCurrentWidget(dialog.Dosbox);
    QTRY_COMPARE(readFile(asked), QByteArray("x\n"));
    if (closeDialog)
        dialog.reject();
    else
        dialog.Onglet->setCurrentWidget(dialog.General);
    // Well within the probe's own time limit, after which it would end anyway.
    static_assert(DosboxVersionProbe::DefaultTimeLimit.count() >= 5000);
    QTRY_COMPARE_WITH_TIMEOUT(running(), 0, 3000);
    if (closeDialog)
        return;
    dialog.Onglet->setCurrentWidget(dialog.Dosbox); // asked again, as the line still says nothing
    QTRY_COMPARE(readFile(asked), QByteArray("x\nx\n"));
    QCOMPARE(running(), 1);
    dialog.reject();
    QTRY_COMPARE(running(), 0);
}

void TestDosboxPage::reachedByKeyboard()
{
    Fixture f("");
    TF_Options &dialog = f.Dialog;
    TDosboxPage &page = *dialog.Dosbox;
    page.setChoices({"/usr/bin/dosbox", {}, duNever, false}); // nothing to clear of the configuration
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTabBar *tabs = dialog.Onglet->tabBar();
    tabs->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tabs, Qt::Key_Right);
    QTest::keyClick(tabs, Qt::Key_Right);
    QCOMPARE(dialog.Onglet->currentWidget(), &page);
    QList<QWidget *> cycle{dialog.Cancel};
    dialog.Cancel->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == dialog.Cancel)
            break;
        cycle << QApplication::focusWidget();
    }
    // As the controls stand: the tabs, the page row by row, then the buttons.
    QCOMPARE(cycle, (QList<QWidget *>{dialog.Cancel, tabs, page.Program, page.BrowseProgram, page.ClearProgram,
                                      page.Config, page.BrowseConfig, page.Use, page.Fullscreen, dialog.Ok}));
    QTest::keyClick(page.Use, Qt::Key_Up);
    QTest::keyClick(page.Fullscreen, Qt::Key_Space);
    QCOMPARE(page.choices(), (DosboxChoices{"/usr/bin/dosbox", {}, duAlways, true}));
}

void TestDosboxPage::readByScreenReader_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const int button = QAccessible::Button;
    QTest::newRow("page tab") << "" << int(QAccessible::PageTab) << "DOSBox" << "";
    QTest::newRow("box") << "GroupBoxDosbox" << int(QAccessible::Grouping) << "Running DOS programs" << "";
    QTest::newRow("program") << "DosboxProgram" << int(QAccessible::EditableText) << "DOSBox program" << "/opt/db";
    QTest::newRow("browse program") << "BrowseProgram" << button << "Browse: DOSBox program" << "";
    QTest::newRow("clear program") << "ClearProgram" << button << "Clear: DOSBox program" << "";
    QTest::newRow("configuration") << "DosboxConfig" << int(QAccessible::EditableText) << "DOSBox configuration file"
                                   << "/my.conf";
    QTest::newRow("clear configuration") << "ClearConfig" << button << "Clear: DOSBox configuration file" << "";
    QTest::newRow("use") << "DosboxUse" << int(QAccessible::ComboBox) << "Use DOSBox" << "Always";
    QTest::newRow("full screen") << "DosboxFullscreen" << int(QAccessible::CheckBox) << "Full screen" << "";
}

void TestDosboxPage::readByScreenReader()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, value);
    Fixture f("");
    TF_Options &dialog = f.Dialog;
    dialog.Dosbox->setChoices({"/opt/db", "/my.conf", duAlways, true});
    dialog.show();
    dialog.Onglet->setCurrentWidget(dialog.Dosbox);
    QAccessibleInterface *i = nullptr;
    if (control.isEmpty())
        i = QAccessible::queryAccessibleInterface(dialog.Onglet->tabBar())->child(2);
    else
        i = QAccessible::queryAccessibleInterface(dialog.Dosbox->findChild<QWidget *>(control));
    QVERIFY(i);
    QCOMPARE(int(i->role()), role);
    if (role == QAccessible::ComboBox) { // named by its label, as the platform's readers expect
        QStringList labels; // its own and its box's
        for (const auto &[label, relation] : i->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        QVERIFY2(labels.contains(name), qPrintable(labels.join(", ")));
    } else
        QCOMPARE(i->text(QAccessible::Name), name);
    if (!value.isEmpty())
        QCOMPARE(i->text(QAccessible::Value), value);
    if (role == QAccessible::CheckBox)
        QVERIFY(i->state().checked);
}

QTEST_MAIN(TestDosboxPage)
#include "tst_dosboxpage.moc"
