#include "DosboxSettings.h"

#include "FilesUtils.h"
#include "ProfileFile.h"
#include "TextDecoding.h"

namespace Lanvo {

namespace {

TDosboxUse readUse(const QByteArray &value)
{
    const QByteArray word = value.trimmed().toUpper();
    if (word == "ALWAYS")
        return duAlways;
    if (word == "NEVER")
        return duNever;
    return duAuto;
}

// A bare program name stays one, for the PATH search; anything with a separator is a path.
QString programPath(const QString &value, const QString &startDirectory)
{
    const QString path = toPlatformSeparators(value);
    return path.contains(QLatin1Char('/')) ? ExpandPath(path, startDirectory) : path;
}

} // namespace

DosboxSettings readDosboxSettings(const QString &settingsFile, const QString &startDirectory)
{
    const ProfileSnapshot file(settingsFile);
    const QByteArray section(DosboxSection);
    DosboxSettings settings;
    const QString program = displayText(file.readString(section, "Program", QByteArray()).trimmed());
    if (!program.isEmpty())
        settings.Program = programPath(program, startDirectory);
    const QString config = displayText(file.readString(section, "Config", QByteArray()).trimmed());
    if (!config.isEmpty())
        settings.ConfigFile = ExpandPath(toPlatformSeparators(config), startDirectory);
    settings.Use = readUse(file.readString(section, "Use", QByteArray()));
    settings.Fullscreen = file.readString(section, "Fullscreen", QByteArray()).trimmed().toUpper() == "ON";
    return settings;
}

} // namespace Lanvo
