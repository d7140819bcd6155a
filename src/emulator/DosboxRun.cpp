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

// DOS hands a program at most 126 characters after its name; DOSBox would cut the rest silently.
constexpr qsizetype MaxDosTail = 126;

// The tail the DOS program receives: what follows its name, without the blanks DOSBox drops at the end.
qsizetype dosTailLength(const QString &dosCommand)
{
    const qsizetype firstBlank = dosCommand.indexOf(QLatin1Char(' '));
    if (firstBlank < 0)
        return 0;
    qsizetype end = dosCommand.size();
    while (end > firstBlank && dosCommand.at(end - 1) == QLatin1Char(' '))
        --end;
    return end - firstBlank;
}

void checkDosCommand(const QString &dosCommand)
{
    const QChar special = shellSpecialChar(dosCommand);
    if (!special.isNull())
        throw LanvoError(QStringLiteral("DOSBox would take the %1 of the emulator's command line as a redirection. "
                                        "Put that parameter in double quotes.\n%2")
                             .arg(special)
                             .arg(dosCommand));
    const qsizetype tail = dosTailLength(dosCommand);
    if (tail > MaxDosTail)
        throw LanvoError(QStringLiteral("The emulator's command line is %1 characters long after the program name, "
                                        "and DOS passes a program at most %2. Shorten the additional parameters.\n%3")
                             .arg(tail)
                             .arg(MaxDosTail)
                             .arg(dosCommand));
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
    const QString command = dosCommand(commandLine);
    checkDosCommand(command);
    QStringList arguments;
    if (!configFile.isEmpty())
        arguments << QStringLiteral("-conf") << configFile;
    arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('c'), m_workDrive);
    arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('d'), m_romDrive);
    if (!m_emulatorDrive.isEmpty())
        arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('e'), m_emulatorDrive);
    arguments << QStringLiteral("-c") << QStringLiteral("c:");
    arguments << QStringLiteral("-c") << command;
    arguments << QStringLiteral("-c") << QStringLiteral("exit");
    return arguments;
}

} // namespace Lanvo
