// The first start's folder chooser: cancelled, it leaves nothing in the user's configuration, not
// even the file dialog's history, which Qt saves whenever a file dialog closes.
#include "ScratchDialogSettings.h"
#include "StartFolder.h"
#include "TestFakes.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <optional>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestScratchDialogSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void closedDialogLeavesTheConfiguration_data();
    void closedDialogLeavesTheConfiguration();
    void dialogShowsTheUsersHistory();
    void cancelledChooserAsksForCorvaneAndWritesNothing();

private:
    QString configFile(const QString &name) const { return m_config.filePath(name); }
    QStringList configEntries() const
    {
        return QDir(m_config.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_config;
};

// The user's configuration of this test is a folder of its own, set before anything reads it.
void TestScratchDialogSettings::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QVERIFY2(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName().startsWith(m_config.path()),
             "user settings were located before the test set its folder");
}

void TestScratchDialogSettings::init()
{
    for (const QString &entry : configEntries())
        QVERIFY(QFile::remove(configFile(entry)));
}

// Without the scratch folder the same dialog writes its history: the check can fail.
void TestScratchDialogSettings::closedDialogLeavesTheConfiguration_data()
{
    QTest::addColumn<bool>("keptAside");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("kept aside") << true << QStringList{};
    QTest::newRow("not kept aside") << false << QStringList{"QtProject.conf"};
}

void TestScratchDialogSettings::closedDialogLeavesTheConfiguration()
{
    QFETCH(bool, keptAside);
    QFETCH(QStringList, written);
    const QTemporaryDir browsed;
    {
        std::optional<TScratchDialogSettings> scratch;
        if (keptAside)
            scratch.emplace();
        QFileDialog dialog(nullptr, QString(), browsed.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        dialog.reject();
    }
    QCOMPARE(configEntries(), written);
    // Settings made afterwards go where they always went.
    QCOMPARE(QSettings(QSettings::UserScope, QStringLiteral("Lanvo")).fileName(), configFile("Lanvo.conf"));
}

// The dialog reads the user's own history and view, and leaves them as they were.
void TestScratchDialogSettings::dialogShowsTheUsersHistory()
{
    const QTemporaryDir visited;
    const QString visitedUrl = QUrl::fromLocalFile(visited.path()).toString();
    const QByteArray history = "[FileDialog]\nhistory=" + visitedUrl.toUtf8() + "\n";
    writeFile(configFile("QtProject.conf"), history);
    {
        const TScratchDialogSettings scratch;
        const QSettings seen(QSettings::UserScope, QStringLiteral("QtProject"));
        QCOMPARE(seen.value("FileDialog/history").toString(), visitedUrl);
        QFileDialog dialog(nullptr, QString(), QDir::tempPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        dialog.reject();
    }
    QCOMPARE(readFile(configFile("QtProject.conf")), history);
}

void TestScratchDialogSettings::cancelledChooserAsksForCorvaneAndWritesNothing()
{
    const QTemporaryDir proposed;
    QString title;
    QTimer::singleShot(0, this, [&title] {
        QPointer<QWidget> chooser = QApplication::activeModalWidget();
        QVERIFY(chooser);
        title = chooser->windowTitle();
        QTest::keyClick(chooser, Qt::Key_Escape);
    });
    QCOMPARE(ChooseFolderWithDialog(proposed.path()), QString());
    QVERIFY2(title.contains(QStringLiteral("corvane.exe")), qPrintable(title));
    QCOMPARE(configEntries(), QStringList());
}

QTEST_MAIN(TestScratchDialogSettings)
#include "tst_scratchdialogsettings.moc"
