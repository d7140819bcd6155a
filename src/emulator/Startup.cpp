#include "Startup.h"

#include "BuiltInCatalogue.h"
#include "FilesUtils.h"
#include "GamesFile.h"
#include "LanvoError.h"

#include <QDir>

namespace Lanvo {

namespace {

const QString ReplaceGamesFileText =
    QStringLiteral("Your current games file (games.csv) will be replaced by a new one");

StartupOutcome endProgram(int exitCode)
{
    return {true, exitCode};
}

} // namespace

LanvoStartup::LanvoStartup(TCorvane &emulator, IPrompts &prompts, IStartupWindow &window)
    : m_emulator(emulator)
    , m_prompts(prompts)
    , m_window(window)
    , m_workDirectory(emulator, prompts)
{
}

StartupOutcome LanvoStartup::run()
{
    prepare();
    return finish();
}

void LanvoStartup::prepare()
{
    m_stage = Stage::Ended;
    if (!m_workDirectory.decide()) {
        m_ending = endProgram(1);
        return;
    }
    // A folder read under another name would be scanned, created or written in the wrong place.
    if (const QString refusal = settingsFolderNameRefusal(m_emulator.WorkDir); !refusal.isEmpty()) {
        m_prompts.showMessage(PromptKind::Error, refusal, PromptButtons::Ok);
        m_ending = endProgram(1);
        return;
    }
    m_stage = Stage::Failed;
    try {
        m_catalogueWritten = false;
        m_emulator.CheckEmulator();
        loadSettings();
        createDataDirectories();
        ensureGamesFile();
        // The games are read on threads of their own while the window is built; nothing of this
        // start-up changes the games file or the ROM directories.
        m_emulator.ReadCatalogueAhead();
        m_stage = Stage::Prepared;
    } catch (const LanvoError &error) {
        // The remaining steps are skipped; the window opens as far as it was prepared.
        m_prompts.showMessage(PromptKind::Error, error.message(), PromptButtons::Ok);
    }
}

StartupOutcome LanvoStartup::finish()
{
    const StartupOutcome outcome = finishWindow();
    // A start that did not fill the list leaves nothing read ahead: a later refresh reads anew.
    m_emulator.DiscardCatalogueReadAhead();
    return outcome;
}

StartupOutcome LanvoStartup::finishWindow()
{
    if (m_stage == Stage::Ended)
        return m_ending;
    // Whatever failed: what it holds is written back at the end. Read after the games' read ahead has
    // listed the ROM directories, whose listing finds it when the start folder is one of them.
    m_emulator.ReadInitFile();
    if (m_settingsRead)
        m_window.applyWindowSettings(m_windowSettings);
    if (m_stage == Stage::Failed)
        return {};
    try {
        prepareWindow();
        if (!checkRomDirectory(m_emulator.RomPath1.FullPath, QStringLiteral("first"))
            || !checkRomDirectory(m_emulator.RomPath2.FullPath, QStringLiteral("second")))
            return endProgram(0);
        m_window.setControlsFromProperties();
    } catch (const LanvoError &error) {
        m_prompts.showMessage(PromptKind::Error, error.message(), PromptButtons::Ok);
        return {};
    }
    return fillList();
}

void LanvoStartup::loadSettings()
{
    m_catalogueWritten = ReadSettingsFile(m_emulator, m_windowSettings);
    m_emulator.Dosbox = readDosboxSettings(settingsFilePath(m_emulator.WorkDir), m_emulator.StartDir.FullPath);
    m_settingsRead = true;
}

void LanvoStartup::createDataDirectories() const
{
    // A directory that can't be created is passed over; what needs it fails later on its own.
    for (const QString &dir : {m_emulator.TitlePicDir.FullPath, m_emulator.GamePicDir.FullPath,
                               m_emulator.DataDir.FullPath, m_emulator.BiosDir()}) {
        if (!directoryExists(dir))
            QDir().mkpath(dir);
    }
}

// A missing games file is written from the built-in catalogue on a first start; in the other cases
// where the stored version and the file disagree the user decides.
void LanvoStartup::ensureGamesFile()
{
    const bool exists = fileExists(m_emulator.gamesFilePath());
    if (!exists && m_catalogueWritten) {
        writeDefaultGamesFile();
        return;
    }
    if (exists && !m_catalogueWritten)
        return;
    const PromptAnswer answer =
        m_prompts.showMessage(PromptKind::Warning, ReplaceGamesFileText, PromptButtons::YesNo);
    if (answer != PromptAnswer::No)
        writeDefaultGamesFile();
    m_catalogueWritten = true;
}

void LanvoStartup::writeDefaultGamesFile()
{
    QList<QByteArray> lines;
    FillDefaultGames(lines);
    // Written beside the old file and renamed over it: a failed write keeps the old catalogue (or
    // none) and never leaves an empty one. "Version" is then not saved, so the next start tries again.
    try {
        writeFileAtomically(m_emulator.gamesFilePath(), joinGamesFileLines(lines));
    } catch (const LanvoError &) {
        m_catalogueWritten = false;
        throw;
    }
}

void LanvoStartup::prepareWindow()
{
    m_window.setCaption(QStringLiteral("Lanvo Corvane - Version %1").arg(QLatin1String(ProgramVersion)));
    m_window.setColumnCaptions({QStringLiteral("Name"), QStringLiteral("Year"), QStringLiteral("Type"),
                                QStringLiteral("Manufacturer")});
    m_window.applyLayout();
    m_window.showInstallType(m_emulator.InstallType() == itHD ? QStringLiteral("HD") : QStringLiteral("CD"));
    m_window.selectPictureTab(m_emulator.PictureDir.FullPath == m_emulator.GamePicDir.FullPath);
    m_window.activateGamesPage();
}

// False when the user chose Abort.
bool LanvoStartup::checkRomDirectory(const QString &path, const QString &which) const
{
    PromptAnswer answer = PromptAnswer::Retry;
    while (!path.isEmpty() && !directoryExists(path) && answer == PromptAnswer::Retry) {
        // The folder may be there after Retry, or come while Ignore is chosen: the scan must see it.
        m_emulator.DiscardCatalogueReadAhead();
        answer = m_prompts.showMessage(PromptKind::Error,
                                       QStringLiteral("Cannot read %1 rom directory (%2/)").arg(which, path),
                                       PromptButtons::AbortRetryIgnore);
        if (answer == PromptAnswer::Abort)
            return false;
    }
    return true;
}

StartupOutcome LanvoStartup::fillList()
{
    try {
        m_window.refreshList();
    } catch (const LanvoError &) {
        m_prompts.showMessage(PromptKind::Information,
                              QStringLiteral("Can't open file %1").arg(m_emulator.gamesFilePath()),
                              PromptButtons::Ok);
        return endProgram(0);
    }
    return {};
}

} // namespace Lanvo
