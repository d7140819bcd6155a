#include "WorkDirectory.h"

#include "AlternateFolder.h"
#include "AnyCaseFiles.h"
#include "FilesUtils.h"
#include "LanvoError.h"
#include "PathTrust.h"
#include "ProfileFile.h"
#include "SettingsFile.h"
#include "TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Lanvo {

namespace {

// The files Lanvo copies into the work folder or runs from it, in any letter case.
bool isCopiedOrRun(const TCorvane &emulator, const QString &name)
{
    for (const QString &fixed : {emulator.EmulatorExe(), emulator.ExtenderExe(), emulator.DataFileName,
                                 QString::fromLatin1(SettingsFileName), QStringLiteral("Keydef.dat")}) {
        if (name.compare(fixed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return name.endsWith(QLatin1String(".rom"), Qt::CaseInsensitive)
           || name.endsWith(QLatin1String(".gdb"), Qt::CaseInsensitive);
}

TrustRefusal alternateFolderTrust(const TCorvane &emulator)
{
    const QString folder = emulator.WorkDir;
    if (TrustRefusal refusal = checkPathTrust(folder); refusal.refused())
        return refusal;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!isCopiedOrRun(emulator, name))
            continue;
        if (TrustRefusal refusal = checkPathTrust(folder, name); refusal.refused())
            return refusal;
    }
    return {};
}

} // namespace

QString alternateRefusalText(const TCorvane &emulator, const TrustRefusal &refusal)
{
    return QStringLiteral("Alternate path is not safe!(%1) %2. Lanvo copies the emulator there and runs it, so "
                          "no other user may be able to change that folder, a folder above it or the emulator's "
                          "files in it: make them yours and writable by you alone, or name a folder of your own "
                          "with AltPath in %3.")
        .arg(emulator.WorkDir, refusal.text(), settingsFilePath(emulator.StartDir.FullPath));
}

namespace {

QString unholdableAlternateText(const QByteArray &stored, const QString &settingsFile)
{
    return QStringLiteral("Alternate path %1 can't be used: its name is not valid UTF-8, the file name encoding "
                          "Lanvo works with. Rename that folder, or name another one with AltPath in %2.")
        .arg(displayText(stored), settingsFile);
}

} // namespace

QString workFolderRefusal(const TCorvane &emulator)
{
    if (emulator.WorkDir == emulator.StartDir.FullPath)
        return {};
    const TrustRefusal refusal = alternateFolderTrust(emulator);
    return refusal.refused() ? alternateRefusalText(emulator, refusal) : QString();
}

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
    if (!readAlternateDirectory())
        return false;
    const QString start = m_emulator.StartDir.FullPath;
    if (m_markerTest(start)) {
        m_emulator.WorkDir = start;
        m_emulator.SetInstallType(itHD);
        return true;
    }

    const QString alternate = m_emulator.AltPath.FullPath;
    if (!directoryExists(alternate))
        createPrivateDirectory(alternate); // a failure shows as the marker test's failure below
    m_emulator.WorkDir = alternate;
    m_emulator.SetInstallType(itCDRom);
    // Whatever another user could have put there is never copied over or run.
    if (const QString refusal = workFolderRefusal(m_emulator); !refusal.isEmpty()) {
        m_prompts.showMessage(PromptKind::Error, refusal, PromptButtons::Ok);
        return false;
    }
    if (!m_markerTest(alternate)) {
        m_prompts.showMessage(PromptKind::Error,
                              QStringLiteral("Alternate path is write protected!(%1)").arg(alternate),
                              PromptButtons::Ok);
        return false;
    }
    QDir::setCurrent(alternate);
    return copyMissingFiles();
}

bool WorkDirectoryDecision::readAlternateDirectory()
{
    const QString settingsFile = settingsFilePath(m_emulator.StartDir.FullPath);
    const ProfileFile startSettings(settingsFile);
    const QByteArray stored =
        startSettings.readString(SettingsSection, "AltPath", QFile::encodeName(m_defaultAlternate));
    if (!holdsFileName(stored)) {
        m_prompts.showMessage(PromptKind::Error, unholdableAlternateText(stored, settingsFile), PromptButtons::Ok);
        return false;
    }
    const QString expanded = ExpandPath(QFile::decodeName(stored), m_emulator.StartDir.FullPath);
    m_emulator.AltPath = {expanded, expanded};
    return true;
}

bool WorkDirectoryDecision::copyMissingFiles()
{
    const QString work = m_emulator.WorkDir;
    bool trusted = copyOne(m_emulator.EmulatorExe(), QStringLiteral("Error while copying corvane to %1.").arg(work),
                           AnyCase);
    for (const QString &name : {m_emulator.ExtenderExe(), m_emulator.DataFileName})
        trusted = trusted && copyOne(name, QStringLiteral("Error while copying %1 to %2.").arg(name, work), AnyCase);
    trusted = trusted
              && copyOne(QString::fromLatin1(SettingsFileName),
                         QStringLiteral("Error while copying Lanvo.ini to %1.").arg(work), ExactCase);
    return trusted
           && copyOne(QStringLiteral("Keydef.dat"),
                      QStringLiteral("Error while copying Keydef.dat to %1.").arg(work), AnyCase);
}

// The emulator's files are found whatever their letter case, and the copy keeps the name on disk.
// False when the folder is no longer trusted: the user has been told, and nothing more is copied.
bool WorkDirectoryDecision::copyOne(const QString &name, const QString &failureText, NameCase nameCase)
{
    const auto locate = [nameCase, &name](const QString &dir) {
        return nameCase == AnyCase ? pathAnyCase(dir, name) : joinPath(dir, name);
    };
    const QString source = locate(m_emulator.StartDir.FullPath);
    if (fileExists(locate(m_emulator.WorkDir)) || !fileExists(source))
        return true;
    try {
        // The folder passed the check moments ago; it is checked again as the copy opens it.
        const TrustRefusal refusal = copyIntoTrustedFolder(source, m_emulator.WorkDir, QFileInfo(source).fileName());
        if (refusal.refused()) {
            m_prompts.showMessage(PromptKind::Error, alternateRefusalText(m_emulator, refusal), PromptButtons::Ok);
            return false;
        }
    } catch (const LanvoError &) {
        m_prompts.showMessage(PromptKind::Plain, failureText, PromptButtons::Ok);
    }
    return true;
}

} // namespace Lanvo
