#include "DosboxRun.h"

#include "DosNames.h"
#include "LanvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Lanvo {

namespace {

QString mountCommand(QChar drive, const QString &directory)
{
    return QStringLiteral("mount %1 \"%2\"").arg(drive, directory);
}

// The first of "<", ">" and "|" outside double quotes; a null character when there is none.
QChar shellSpecialChar(const QString &line)
{
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('|')))
            return c;
    }
    return {};
}

} // namespace

DosboxRun::DosboxRun(const QString &emulatorPath, const QString &workDirectory, const QString &romSetPath)
{
    m_workDrive = mountable(workDirectory, QStringLiteral("c"));
    const QFileInfo romSet(romSetPath);
    const QString name = romSet.fileName();
    if (isDosName(name)) {
        m_romDrive = mountable(romSet.absolutePath(), QStringLiteral("d"));
        m_romSetArgument = QStringLiteral("d:\\") + name.toLower();
    } else {
        // DOSBox would make up a short name of its own, depending on the folder's other names; a
        // folder holding only a link under the platform's short name gives one the emulator can open.
        const QString shortName = shortDosName(name).toLower();
        const QString folder = linkFolder() + QStringLiteral("/rom");
        if (!QDir().mkpath(folder) || !QFile::link(romSet.absoluteFilePath(), folder + QLatin1Char('/') + shortName))
            throw LanvoError(QStringLiteral("Unable to create the directory %1").arg(folder));
        m_romDrive = folder;
        m_romSetArgument = QStringLiteral("d:\\") + shortName;
    }
    const QFileInfo emulator(emulatorPath);
    m_emulatorName = emulator.fileName().toLower();
    if (QDir(emulator.absolutePath()) != QDir(workDirectory))
        m_emulatorDrive = mountable(emulator.absolutePath(), QStringLiteral("e"));
}

DosboxRun::~DosboxRun() = default;

QString DosboxRun::linkFolder()
{
    if (!m_links) {
        m_links = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lanvo-dosbox-XXXXXX"));
        if (!m_links->isValid())
            throw LanvoError(QStringLiteral("Unable to create the directory %1").arg(m_links->path()));
    }
    return m_links->path();
}

// DOSBox's mount command can't quote a quote: such a folder is reached through a link.
QString DosboxRun::mountable(const QString &directory, const QString &linkName)
{
    if (!directory.contains(QLatin1Char('"')))
        return directory;
    const QString link = linkFolder() + QLatin1Char('/') + linkName;
    if (!QFile::link(directory, link))
        throw LanvoError(QStringLiteral("Unable to create the directory %1").arg(link));
    return link;
}

QString DosboxRun::dosCommand(const QString &commandLine) const
{
    if (m_emulatorDrive.isEmpty())
        return commandLine;
    const qsizetype firstBlank = commandLine.indexOf(QLatin1Char(' '));
    const QString rest = firstBlank < 0 ? QString() : commandLine.mid(firstBlank);
    return QStringLiteral("e:\\") + m_emulatorName + rest;
}

QStringList DosboxRun::arguments(const QString &commandLine, const QString &configFile) const
{
    const QChar special = shellSpecialChar(commandLine);
    if (!special.isNull())
        throw LanvoError(QStringLiteral("DOSBox would take the %1 of the emulator's command line as a redirection. "
                                        "Put that parameter in double quotes.\n%2")
                             .arg(special)
                             .arg(commandLine));
    QStringList arguments;
    if (!configFile.isEmpty())
        arguments << QStringLiteral("-conf") << configFile;
    arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('c'), m_workDrive);
    arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('d'), m_romDrive);
    if (!m_emulatorDrive.isEmpty())
        arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('e'), m_emulatorDrive);
    arguments << QStringLiteral("-c") << QStringLiteral("c:");
    arguments << QStringLiteral("-c") << dosCommand(commandLine);
    arguments << QStringLiteral("-c") << QStringLiteral("exit");
    return arguments;
}

} // namespace Lanvo
