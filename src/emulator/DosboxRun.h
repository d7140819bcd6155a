#pragma once

#include "DosboxLinks.h"

#include <QString>
#include <QStringList>

namespace Lanvo {

// One run of a DOS emulator program through DOSBox. The work directory is drive C: and current, the
// folder of the ROM set is drive D:, and the emulator's own folder, when it is not the work
// directory, is drive E:; DOSBox reaches each through a link of a private folder that lives as long
// as this object. The ROM set argument is the set's DOS path, lower-cased: its 8.3 name on D:, or,
// for a name DOS can't hold, a link with the short name the platform would give it, in a folder of
// its own.
class DosboxRun
{
public:
    DosboxRun(const QString &emulatorPath, const QString &workDirectory, const QString &romSetPath);
    DosboxRun(const DosboxRun &) = delete;
    DosboxRun &operator=(const DosboxRun &) = delete;

    const QString &romSetArgument() const { return m_romSetArgument; }
    const QString &linkFolder() const { return m_links.path(); }

    // DOSBox's arguments that run the emulator's command line (its first word the emulator's name)
    // and then end DOSBox, full screen when asked; a "%" reaches the emulator as it is. Throws
    // LanvoError when the line holds a control character, a character DOSBox's shell would take as a
    // redirection or a pipe, or is longer than DOS can hand a program.
    QStringList arguments(const QString &commandLine, const QString &configFile, bool fullscreen) const;

private:
    QString dosCommand(const QString &commandLine) const;

    DosboxLinks m_links;
    QString m_workDrive;
    QString m_romDrive;
    QString m_emulatorDrive; // empty when the emulator lies in the work directory
    QString m_emulatorName;
    QString m_romSetArgument;
};

} // namespace Lanvo
