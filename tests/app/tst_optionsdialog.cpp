#include "Corvane.h"
#include "DirectoryChooser.h"
#include "FilesUtils.h"
#include "FocusOrder.h"
#include "FormScale.h"
#include "LanvoError.h"
#include "Main.h"
#include "OptionsDialog.h"
#include "OptionsDialogRun.h"
#include "ProfileFile.h"
#include "SettingsFile.h"
#include "TestFakes.h"
#include "TextDecoding.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void layout_data();
    void layout();
    void pathFieldsAreReadOnlyAndKeepTheirCase();
    void keyboardOrderFollowsTheLayout();
    void opensOnGeneralAndRemembersTheCurrentDirectory();
    void browseStartsWhereTheFieldPoints_data();
    void browseStartsWhereTheFieldPoints();
    void chooserAcceptanceRule_data();
    void chooserAcceptanceRule();
    void browseTakesAFolderThatDoesNotExistYet();
    void okAppliesRefreshesThenWritesTheThreeKeys();
    void okWithoutChangesStillRefreshesAndWrites();
    void cancelChangesNothing();
    void failedRefreshWritesNoKey();
    void menuCommandReportsAFailedRefresh();
    void failedWriteStopsAtThatKey();
    void pathsReadBackAsWritten_data();
    void pathsReadBackAsWritten();

private:
    QString m_savedCurrent;
};

namespace {

// A start directory with a settings file holding lines of others that must survive.
const QByteArray OtherLines = "; kept as it is\r\n"
                              "[Other]\r\n"
                              "RomPath1=not ours\r\n"
                              "[Lanvo]\r\n"
                              "WindowState=NORMAL\r\n"
                              "RomPath2=old two\r\n"
                              "AddParam=-old\r\n"
                              "\r\n"
                              "[Tail]\r\n"
                              "x=1\r\n";

struct Fixture
{
    QTemporaryDir Dir;
    TCorvane Emulator{nullptr, Dir.path()};
    TF_Options Dialog;
    QStringList ChooserStarts;
    QStringList ChooserAnswers; // answered in order; an empty answer is a cancel
    int Refreshes = 0;

    Fixture()
    {
        Emulator.WorkDir = Dir.path();
        Emulator.RomPath1 = Emulator.makePath(QStringLiteral("roms"));
        Emulator.RomPath2 = Emulator.makePath(QStringLiteral("old two"));
        Emulator.AltPath = Emulator.makePath(QStringLiteral("/tmp/lanvo"));
        Emulator.AdditionalParameters = QStringLiteral("-old");
        Dialog.setDirectoryChooser([this](QWidget *, const QString &start) {
            ChooserStarts.append(start);
            return ChooserAnswers.isEmpty() ? QString() : ChooserAnswers.takeFirst();
        });
    }

    QString ini() const { return settingsFilePath(Dir.path()); }
    QString path(const QString &name) const { return Dir.filePath(name); }
};

QWidget *named(const QWidget &parent, const QString &name)
{
    return parent.findChild<QWidget *>(name);
}

// Stands in for the user: shows the dialog, runs the actions, then presses a button.
ShowOptionsDialog userDoes(std::function<void(TF_Options &)> actions, bool pressOk)
{
    return [actions = std::move(actions), pressOk](TF_Options &dialog) {
        dialog.show();
        if (actions)
            actions(dialog);
        QTest::mouseClick(pressOk ? dialog.Ok : dialog.Cancel, Qt::LeftButton);
        return dialog.isVisible() ? -1 : dialog.result();
    };
}

} // namespace

void TestOptionsDialog::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    const QString rom1 = "First path where roms are stored (zipped or not)";
    const QString rom2 = "Second path where roms are stored (zipped or not)";
    const QString alt = "Path used as a working directory when Lanvo is installed on a read only device.";
    QTest::newRow("Onglet") << "Onglet" << QRect(0, 0, 384, 157) << "" << "";
    QTest::newRow("GroupBox1") << "GroupBox1" << QRect(31, 4, 321, 121) << "Paths" << "";
    QTest::newRow("RomPath1") << "RomPath1" << QRect(48, 22, 225, 21) << "" << rom1;
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(280, 22, 25, 21) << "" << "";
    QTest::newRow("RomPath2") << "RomPath2" << QRect(48, 54, 225, 21) << "" << rom2;
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(280, 54, 25, 21) << "" << "";
    QTest::newRow("AltPath") << "AltPath" << QRect(48, 86, 225, 21) << "" << alt;
    QTest::newRow("BitBtn3") << "BitBtn3" << QRect(280, 86, 25, 21) << "" << "";
    QTest::newRow("GroupBox2") << "GroupBox2" << QRect(0, 0, 369, 57) << "Additional corvane parameters" << "";
    QTest::newRow("Label3") << "Label3" << QRect(8, 27, 81, 13) << "Corvane.exe" << "";
    QTest::newRow("AddParam") << "AddParam" << QRect(96, 24, 265, 21) << ""
                              << "Type any additional corvane parameters";
    QTest::newRow("Ok") << "Ok" << QRect(214, 167, 74, 25) << "Ok" << "";
    QTest::newRow("Cancel") << "Cancel" << QRect(308, 167, 75, 25) << "Cancel" << "";
    QTest::newRow("Label1") << "Label1" << QRect(8, 24, 30, 17) << "ROM" << rom1;
    QTest::newRow("Label4") << "Label4" << QRect(8, 56, 30, 17) << "ROM" << rom2;
    QTest::newRow("Label2") << "Label2" << QRect(8, 88, 30, 21) << "ALT" << alt;
}

void TestOptionsDialog::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    TF_Options dialog;
    dialog.show();
    // The form's pixels, grown as one piece with the font.
    const FormScale scale(QApplication::font());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("General options"));
    QCOMPARE(dialog.pos(), QPoint(307, 178));
    QCOMPARE(dialog.size(), QSize(scale(392), scale(197)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(dialog.Ok->isDefault());
    QCOMPARE(dialog.Onglet->count(), 3);
    QCOMPARE(dialog.Onglet->tabText(0), QStringLiteral("General"));
    QCOMPARE(dialog.Onglet->tabText(1), QStringLiteral("Corvane"));
    QCOMPARE(dialog.Onglet->tabText(2), QStringLiteral("DOSBox"));

    const QWidget *control = named(dialog, name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), scale(geometry.x(), geometry.y(), geometry.width(), geometry.height()));
    QCOMPARE(control->toolTip(), hint);
    if (const auto *label = qobject_cast<const QLabel *>(control))
        QCOMPARE(label->text(), text);
    else if (const auto *button = qobject_cast<const QPushButton *>(control))
        QCOMPARE(button->text(), text);
    else if (const auto *box = qobject_cast<const QGroupBox *>(control))
        QCOMPARE(box->title(), text);
}

void TestOptionsDialog::pathFieldsAreReadOnlyAndKeepTheirCase()
{
    TF_Options dialog;
    for (QLineEdit *field : {dialog.RomPath1, dialog.RomPath2, dialog.AltPath}) {
        QVERIFY(field->isReadOnly());
        QVERIFY(field->isEnabled());
        QVERIFY(field->focusPolicy() & Qt::TabFocus);
    }
    QVERIFY(!dialog.AddParam->isReadOnly());
    // The browse buttons' picture has an ordinary and a disabled state.
    QVERIFY(!dialog.BitBtn1->icon().isNull());
    const QImage normal = dialog.BitBtn1->icon().pixmap(16, QIcon::Normal).toImage();
    const QImage disabled = dialog.BitBtn1->icon().pixmap(16, QIcon::Disabled).toImage();
    QVERIFY(normal != disabled);

    dialog.setValues({"/home/Me/ROMS", "Roms Two", "C:\\Tmp\\Lanvo", "-x"});
    dialog.show();
    QCOMPARE(dialog.RomPath1->text(), QStringLiteral("/home/Me/ROMS"));
    QTest::keyClicks(dialog.RomPath1, "abc"); // typing does nothing
    QCOMPARE(dialog.values(), (OptionsValues{"/home/Me/ROMS", "Roms Two", "C:\\Tmp\\Lanvo", "-x"}));
}

// Tab goes from the pages' tabs through the page shown, then to the buttons, as they stand.
void TestOptionsDialog::keyboardOrderFollowsTheLayout()
{
    TF_Options dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (QWidget *page : {dialog.General, dialog.corvane}) {
        dialog.Onglet->setCurrentWidget(page);
        const QList<QWidget *> chain = tabChain(dialog.Onglet->tabBar(), &dialog);
        QCOMPARE(chain.constLast(), dialog.Cancel);
        QCOMPARE(stepAgainstLayout(chain), QString());
    }
    dialog.Onglet->setCurrentWidget(dialog.General);
    dialog.Onglet->tabBar()->setFocus(Qt::TabFocusReason);
    QList<QWidget *> visited;
    for (int i = 0; i < 8; ++i) {
        visited << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QList<QWidget *>{dialog.Onglet->tabBar(), dialog.RomPath1, dialog.BitBtn1, dialog.RomPath2,
                                        dialog.BitBtn2, dialog.AltPath, dialog.BitBtn3, dialog.Ok}));
    QCOMPARE(QApplication::focusWidget(), dialog.Cancel);
}

void TestOptionsDialog::opensOnGeneralAndRemembersTheCurrentDirectory()
{
    const QTemporaryDir first;
    const QTemporaryDir second;
    TF_Options dialog;
    QDir::setCurrent(first.path());
    dialog.show();
    QCOMPARE(dialog.Onglet->currentWidget(), dialog.General);
    QCOMPARE(dialog.OptionsStartDir, QDir(first.path()).canonicalPath());
    dialog.Onglet->setCurrentWidget(dialog.corvane);
    dialog.hide();

    QDir::setCurrent(second.path());
    dialog.show();
    QCOMPARE(dialog.Onglet->currentWidget(), dialog.General);
    QCOMPARE(dialog.OptionsStartDir, QDir(second.path()).canonicalPath());
}

void TestOptionsDialog::browseStartsWhereTheFieldPoints_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("start"); // relative to the start directory; "." is the start itself
    QTest::newRow("relative directory") << "RomPath1" << "Roms" << "Roms";
    QTest::newRow("with backslashes") << "RomPath2" << "Roms\\Sub Dir" << "Roms/Sub Dir";
    QTest::newRow("absolute directory") << "AltPath" << "<abs>/Roms" << "Roms";
    QTest::newRow("missing directory") << "RomPath1" << "gone" << ".";
    QTest::newRow("a file, not a directory") << "RomPath2" << "file.zip" << ".";
    QTest::newRow("empty") << "AltPath" << "" << ".";
}

void TestOptionsDialog::browseStartsWhereTheFieldPoints()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, start);
    Fixture f;
    makeDirectory(f.path("Roms/Sub Dir"));
    writeFile(f.path("file.zip"), "PK");
    QDir::setCurrent(f.Dir.path());
    f.Dialog.show(); // the start directory becomes the dialog's
    QDir::setCurrent(QDir::tempPath()); // browsing goes back to it
    auto *edit = f.Dialog.findChild<QLineEdit *>(field);
    edit->setText(QString(text).replace("<abs>", f.Dir.path()));
    const QList<QPushButton *> buttons{f.Dialog.BitBtn1, f.Dialog.BitBtn2, f.Dialog.BitBtn3};
    const QList<QLineEdit *> fields{f.Dialog.RomPath1, f.Dialog.RomPath2, f.Dialog.AltPath};
    QPushButton *browse = buttons.at(fields.indexOf(edit));

    f.ChooserAnswers = {QString(), "/Somewhere/New ROMS"};
    QTest::mouseClick(browse, Qt::LeftButton); // cancelled
    const QString expectedStart = QDir::cleanPath(f.Dir.path() + "/" + start);
    QCOMPARE(f.ChooserStarts, QStringList{expectedStart});
    QCOMPARE(QDir::currentPath(), f.Dialog.OptionsStartDir);
    QCOMPARE(edit->text(), QString(text).replace("<abs>", f.Dir.path()));

    QTest::mouseClick(browse, Qt::LeftButton); // confirmed: taken as it is, case and all
    QCOMPARE(edit->text(), QStringLiteral("/Somewhere/New ROMS"));
    for (QLineEdit *other : fields) {
        if (other != edit)
            QVERIFY(other->text().isEmpty());
    }
}

void TestOptionsDialog::chooserAcceptanceRule_data()
{
    QTest::addColumn<QString>("typed"); // relative to the chooser's start directory
    QTest::addColumn<bool>("accepted");
    QTest::newRow("existing directory") << "Roms" << true;
    QTest::newRow("does not exist yet") << "New Alt" << true;
    QTest::newRow("below a missing one") << "gone/deeper" << true;
    QTest::newRow("letter case kept") << "ROMS" << true;
    QTest::newRow("a file") << "file.zip" << false;
}

// Qt's directory chooser alone questions a folder it can't find; this one takes it as typed.
void TestOptionsDialog::chooserAcceptanceRule()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    const QTemporaryDir dir;
    makeDirectory(dir.filePath("Roms"));
    writeFile(dir.filePath("file.zip"), "PK");
    TDirectoryChooser chooser(nullptr, dir.path());
    chooser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser));
    auto *name = chooser.findChild<QLineEdit *>("fileNameEdit");
    QVERIFY(name);
    name->setText(typed);
    const QPushButton *confirm = chooser.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open);
    QCOMPARE(confirm->isEnabled(), accepted);
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(chooser.isVisible(), !accepted);
    QCOMPARE(chooser.result() == QDialog::Accepted, accepted);
    QCOMPARE(chooser.chosenPath(), accepted ? dir.filePath(typed) : QString());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), (QStringList{"Roms", "file.zip"}));
}

// The real chooser behind the browse button: a folder typed there reaches the field, as typed.
void TestOptionsDialog::browseTakesAFolderThatDoesNotExistYet()
{
    const QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    TF_Options dialog;
    dialog.show();
    QString answered;
    QTimer::singleShot(0, [&] {
        auto *chooser = qobject_cast<TDirectoryChooser *>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        auto *name = chooser->findChild<QLineEdit *>("fileNameEdit");
        name->setText("Alt Later");
        QTest::keyClick(name, Qt::Key_Return);
        answered = chooser->chosenPath();
        if (chooser->isVisible())
            chooser->reject();
    });
    QTest::mouseClick(dialog.BitBtn3, Qt::LeftButton);
    QCOMPARE(answered, dir.filePath("Alt Later"));
    QCOMPARE(dialog.AltPath->text(), dir.filePath("Alt Later"));
    QVERIFY(!QFileInfo::exists(dir.filePath("Alt Later"))); // neither created nor questioned
}

void TestOptionsDialog::okAppliesRefreshesThenWritesTheThreeKeys()
{
    Fixture f;
    writeFile(f.ini(), OtherLines);
    QDir::setCurrent(QDir::tempPath());
    const QString newRoms = f.path("My ROMS");
    f.ChooserAnswers = {newRoms, "/Not/There Yet", "/Other/Alt"};
    const QString params = "-bios \"my bios\" 'x' \"\"";

    const auto user = userDoes(
        [&](TF_Options &dialog) {
            // Filled from the configured paths, not the expanded ones; the start directory is current.
            QCOMPARE(dialog.values(), (OptionsValues{"roms", "old two", "/tmp/lanvo", "-old"}));
            QCOMPARE(QDir::currentPath(), f.Dir.path());
            QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
            QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
            QTest::mouseClick(dialog.BitBtn3, Qt::LeftButton);
            dialog.AddParam->setText(params);
        },
        true);
    const auto refresh = [&] {
        ++f.Refreshes;
        // Applied before the refresh; written only after it.
        QCOMPARE(f.Emulator.RomPath1, (TPath{newRoms, newRoms}));
        QCOMPARE(f.Emulator.AdditionalParameters, params);
        QCOMPARE(readFile(f.ini()), OtherLines);
    };
    QVERIFY(RunOptionsDialog(f.Dialog, f.Emulator, refresh, user));

    QCOMPARE(f.Refreshes, 1);
    QCOMPARE(f.Emulator.RomPath1, (TPath{newRoms, newRoms}));
    QCOMPARE(f.Emulator.RomPath2, (TPath{"/Not/There Yet", "/Not/There Yet"}));
    QCOMPARE(f.Emulator.AltPath, (TPath{"/tmp/lanvo", "/tmp/lanvo"})); // only stored
    QCOMPARE(f.Emulator.AdditionalParameters, params);
    QCOMPARE(QDir::currentPath(), f.Dir.path());
    const QByteArray expected = "; kept as it is\r\n"
                                "[Other]\r\n"
                                "RomPath1=not ours\r\n"
                                "[Lanvo]\r\n"
                                "WindowState=NORMAL\r\n"
                                "RomPath2=/Not/There Yet\r\n"
                                "AddParam=-old\r\n"
                                "RomPath1="
        + newRoms.toUtf8()
        + "\r\n"
          "AltPath=/Other/Alt\r\n"
          "\r\n"
          "[Tail]\r\n"
          "x=1\r\n";
    QCOMPARE(readFile(f.ini()), expected);
}

void TestOptionsDialog::okWithoutChangesStillRefreshesAndWrites()
{
    Fixture f;
    f.Emulator.RomPath1 = f.Emulator.makePath(QStringLiteral("../Shared/Roms")); // relative
    QVERIFY(RunOptionsDialog(f.Dialog, f.Emulator, [&] { ++f.Refreshes; }, userDoes({}, true)));
    QCOMPARE(f.Refreshes, 1);
    QCOMPARE(readFile(f.ini()), QByteArray("[Lanvo]\r\n"
                                           "RomPath1=../Shared/Roms\r\n"
                                           "RomPath2=old two\r\n"
                                           "AltPath=/tmp/lanvo\r\n"));
    QCOMPARE(f.Emulator.RomPath1.FullPath, QDir::cleanPath(f.Dir.path() + "/../Shared/Roms"));
    QCOMPARE(f.Emulator.RomPath2.FullPath, f.path("old two"));
}

void TestOptionsDialog::cancelChangesNothing()
{
    Fixture f;
    writeFile(f.ini(), OtherLines);
    const TPath rom1 = f.Emulator.RomPath1;
    const TPath rom2 = f.Emulator.RomPath2;
    f.ChooserAnswers = {"/Else/Where", "/Else/Too"};
    QDir::setCurrent(QDir::tempPath());
    const auto user = userDoes(
        [](TF_Options &dialog) {
            QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
            QTest::mouseClick(dialog.BitBtn3, Qt::LeftButton);
            dialog.AddParam->setText("-new");
        },
        false);
    QVERIFY(!RunOptionsDialog(f.Dialog, f.Emulator, [&] { ++f.Refreshes; }, user));
    QCOMPARE(f.Refreshes, 0);
    QCOMPARE(f.Emulator.RomPath1, rom1);
    QCOMPARE(f.Emulator.RomPath2, rom2);
    QCOMPARE(f.Emulator.AdditionalParameters, QStringLiteral("-old"));
    QCOMPARE(readFile(f.ini()), OtherLines);
    QCOMPARE(QDir::currentPath(), f.Dir.path()); // made current and left so, even on Cancel

    // The next showing starts again from the emulator's values.
    OptionsValues shown;
    const auto look = [&shown](TF_Options &dialog) {
        shown = dialog.values();
        return int(QDialog::Rejected);
    };
    QVERIFY(!RunOptionsDialog(f.Dialog, f.Emulator, [&] { ++f.Refreshes; }, look));
    QCOMPARE(shown, (OptionsValues{"roms", "old two", "/tmp/lanvo", "-old"}));
}

void TestOptionsDialog::failedRefreshWritesNoKey()
{
    Fixture f;
    writeFile(f.ini(), OtherLines);
    f.ChooserAnswers = {"/New/Roms"};
    const auto user = userDoes([](TF_Options &dialog) { QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton); }, true);
    const auto failingRefresh = [] { throw LanvoError(QStringLiteral("Impossible d'ouvrir le fichier GAMES.CSV")); };
    try {
        RunOptionsDialog(f.Dialog, f.Emulator, failingRefresh, user);
        QFAIL("the refresh's failure must reach the caller");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), QStringLiteral("Impossible d'ouvrir le fichier GAMES.CSV"));
    }
    QCOMPARE(f.Emulator.RomPath1, (TPath{"/New/Roms", "/New/Roms"})); // applied values stay
    QCOMPARE(readFile(f.ini()), OtherLines);
}

// The emulator menu's "&Options" in the real window: OK, then the games file can't be read.
void TestOptionsDialog::menuCommandReportsAFailedRefresh()
{
    const QTemporaryDir dir;
    const QByteArray ini = "[Lanvo]\r\nVersion=1.61\r\n";
    writeFile(dir.filePath("Lanvo.ini"), ini);
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "Alpha;;;;alpha\r\n");
    makeDirectory(dir.filePath("alpha"));
    RecordingPrompts prompts;
    TF_Lanvo window(LanvoWindowSetup{dir.path(), &prompts, {}});
    QCOMPARE(window.ListGames->rowCount(), 1);
    TF_Options dialog;
    dialog.setDirectoryChooser([](QWidget *, const QString &) { return QStringLiteral("/New/Roms"); });
    const struct Shown
    {
        explicit Shown(TF_Options *options) { F_Options = options; }
        ~Shown() { F_Options = nullptr; }
    } shown(&dialog);
    QVERIFY(QFile::remove(dir.filePath("lanvo/GAMES.CSV")));
    QDir::setCurrent(QDir::tempPath());
    const qsizetype before = prompts.Messages.size();
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
        QTest::mouseClick(dialog.Ok, Qt::LeftButton);
    });
    window.EmulatorMenu->Options1->trigger();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(prompts.texts().mid(before), QStringList{"Impossible d'ouvrir le fichier " + dir.filePath("lanvo/GAMES.CSV")});
    QCOMPARE(prompts.Messages.last().Kind, PromptKind::Error);
    QCOMPARE(window.emulateur->RomPath1.Path, QStringLiteral("/New/Roms")); // applied before the refresh
    QCOMPARE(readFile(dir.filePath("Lanvo.ini")), ini);                     // no key written
    QCOMPARE(window.ListGames->rowCount(), 0);
    QCOMPARE(QDir::currentPath(), window.emulateur->StartDir.FullPath);
    QCOMPARE(prompts.BusyDepth, 0);
}

void TestOptionsDialog::failedWriteStopsAtThatKey()
{
    Fixture f;
    writeFile(f.ini(), OtherLines);
    QString message;
    {
        FileFaultInjection injection(FileOperation::Write, 2); // "RomPath2"
        try {
            RunOptionsDialog(f.Dialog, f.Emulator, [&] { ++f.Refreshes; }, userDoes({}, true));
            QFAIL("a key that can't be written is an error");
        } catch (const LanvoError &error) {
            message = error.message();
        }
        QCOMPARE(injection.calls(), 2); // "AltPath" was not tried
    }
    QCOMPARE(message, QStringLiteral("Unable to write to ") + f.ini());
    QCOMPARE(f.Refreshes, 1);
    const ProfileFile settings(f.ini());
    QCOMPARE(settings.readString("Lanvo", "RomPath1", "none"), QByteArray("roms"));
    QCOMPARE(settings.readString("Lanvo", "AltPath", "none"), QByteArray("none"));
    QCOMPARE(settings.readString("Other", "RomPath1", "none"), QByteArray("not ours"));

    // A work directory that is gone: the first key already fails, with the file's name.
    Fixture gone;
    gone.Emulator.WorkDir = gone.path("missing");
    try {
        RunOptionsDialog(gone.Dialog, gone.Emulator, [] {}, userDoes({}, true));
        QFAIL("no error");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to write to ") + gone.path("missing/Lanvo.ini"));
    }
}

void TestOptionsDialog::pathsReadBackAsWritten_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << "/Roms/My Games" << QByteArray("/Roms/My Games");
    QTest::newRow("trailing space") << "/Roms/Dir " << QByteArray("\"/Roms/Dir \"");
    QTest::newRow("leading tab") << "\tRoms" << QByteArray("\"\tRoms\"");
    QTest::newRow("in quotes") << "'Roms'" << QByteArray("\"'Roms'\"");
    QTest::newRow("one quote inside") << "/Roms/It's" << QByteArray("/Roms/It's");
    QTest::newRow("not latin") << QString::fromUtf8("/Roms/Jeux é") << QByteArray("/Roms/Jeux \xc3\xa9");
    QTest::newRow("empty") << "" << QByteArray("");
}

void TestOptionsDialog::pathsReadBackAsWritten()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, written);
    QCOMPARE(settingsPathValue(path), written);
    const QTemporaryDir dir;
    const ProfileFile settings(dir.filePath("Lanvo.ini"));
    settings.writeString("Lanvo", "RomPath1", settingsPathValue(path));
    QCOMPARE(displayText(settings.readString("Lanvo", "RomPath1", "missing")), path);
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
