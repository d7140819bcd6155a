#include "WorkDirectory.h"

#include "AlternateFolder.h"
#include "AnyCaseFiles.h"
#include "FilesUtils.h"
#include "LanvoError.h"
#include "ProfileFile.h"
#include "SettingsFile.h"
#include "TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Lanvo {

bool createWritabilityMarker(const QString &directory)
{
    QFile marker(joinPath(directory, QString::fromLatin1(WritabilityMarker)));
    if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    marker.close();
    removeFile(marker.fileName()); // a marker that can't be removed stays; the directory is writable all the same
    return true;
}

WorkDirectoryDecision::WorkDirectoryDecision(TCorvane &emulator, IPrompts &prompts)
    : m_emulator(emulator)
    , m_prompts(prompts)
    , m_markerTest(createWritabilityMarker)
    , m_defaultAlternate(defaultAlternateDirectory())
{
}

bool WorkDirectoryDecision::decide()
{
    readAlternateDirectory();
    const QString start = m_emulator.StartDir.FullPath;
    if (m_markerTest(start)) {
        m_emulator.WorkDir = start;
        m_emulator.SetInstallType(itHD);
        return true;
    }

    const QString alternate = m_emulator.AltPath.FullPath;
    if (!directoryExists(alternate))
        createPrivateDirectory(alternate); // a failure shows as the marker test's failure below
    // Whatever another user could have put there is never copied over or run.
    if (const QString refusal = alternateFolderRefusal(alternate); !refusal.isEmpty()) {
        m_prompts.showMessage(PromptKind::Error, refusal, PromptButtons::Ok);
        return false;
    }
    if (!m_markerTest(alternate)) {
        m_prompts.showMessage(PromptKind::Error,
                              QStringLiteral("Alternate path is write protected!(%1)").arg(alternate),
                              PromptButtons::Ok);
        return false;
    }
    m_emulator.WorkDir = alternate;
    m_emulator.SetInstallType(itCDRom);
    QDir::setCurrent(alternate);
    copyMissingFiles();
    return true;
}

void WorkDirectoryDecision::readAlternateDirectory()
{
    const ProfileFile startSettings(settingsFilePath(m_emulator.StartDir.FullPath));
    const QByteArray stored = startSettings.readString(SettingsSection, "AltPath", m_defaultAlternate.toUtf8());
    const QString expanded =
        ExpandPath(toPlatformSeparators(displayText(stored)), m_emulator.StartDir.FullPath);
    m_emulator.AltPath = {expanded, expanded};
}

void WorkDirectoryDecision::copyMissingFiles()
{
    const QString work = m_emulator.WorkDir;
    copyOne(m_emulator.EmulatorExe(), QStringLiteral("Error while copying corvane to %1.").arg(work), AnyCase);
    for (const QString &name : {m_emulator.ExtenderExe(), m_emulator.DataFileName})
        copyOne(name, QStringLiteral("Error while copying %1 to %2.").arg(name, work), AnyCase);
    copyOne(QString::fromLatin1(SettingsFileName),
            QStringLiteral("Error while copying Lanvo.ini to %1.").arg(work), ExactCase);
    copyOne(QStringLiteral("Keydef.dat"), QStringLiteral("Error while copying Keydef.dat to %1.").arg(work),
            AnyCase);
}

// The emulator's files are found whatever their letter case, and the copy keeps the name on disk.
void WorkDirectoryDecision::copyOne(const QString &name, const QString &failureText, NameCase nameCase)
{
    const auto locate = [nameCase, &name](const QString &dir) {
        return nameCase == AnyCase ? pathAnyCase(dir, name) : joinPath(dir, name);
    };
    const QString source = locate(m_emulator.StartDir.FullPath);
    if (fileExists(locate(m_emulator.WorkDir)) || !fileExists(source))
        return;
    const QString target = joinPath(m_emulator.WorkDir, QFileInfo(source).fileName());
    try {
        CopyFileOnto(source, target);
    } catch (const LanvoError &) {
        m_prompts.showMessage(PromptKind::Plain, failureText, PromptButtons::Ok);
    }
}

} // namespace Lanvo
