#include "DosboxRun.h"

#include "DosNames.h"
#include "LanvoError.h"
#include "TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Lanvo {

namespace {

QString mountCommand(QChar drive, const QString &directory)
{
    return QStringLiteral("mount %1 \"%2\"").arg(drive, directory);
}

// DOSBox runs its command lines as a batch file, whose processing turns "%%" into "%" and expands
// any other "%": doubled, every "%" reaches the program as it was typed, and the line DOSBox's
// shell then reads is the line Lanvo checked.
QString batchLine(const QString &line)
{
    QString doubled = line;
    return doubled.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// A line feed would end the batch line early, and DOSBox drops or acts on the other controls.
QChar controlChar(const QString &line)
{
    for (const QChar c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return c;
    }
    return {};
}

bool isShellSpecial(QChar c)
{
    return c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('|');
}

// The first of "<", ">" and "|" outside a pair of double quotes; a null character when there is
// none. A quote that is never closed protects nothing: such a line is refused rather than left to
// the way DOSBox's shell happens to read it.
QChar shellSpecialChar(const QString &line)
{
    bool quoted = false;
    QChar inOpenQuote;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inOpenQuote = QChar();
        } else if (isShellSpecial(c)) {
            if (!quoted)
                return c;
            if (inOpenQuote.isNull())
                inOpenQuote = c;
        }
    }
    return quoted ? inOpenQuote : QChar();
}

// DOS hands a program at most 126 bytes after its name; DOSBox would cut the rest silently.
constexpr qsizetype MaxDosTail = 126;

// The bytes of the tail the DOS program receives: what follows its name, without the blanks DOSBox
// drops at the end.
qsizetype dosTailLength(const QString &dosCommand)
{
    const qsizetype firstBlank = dosCommand.indexOf(QLatin1Char(' '));
    if (firstBlank < 0)
        return 0;
    qsizetype end = dosCommand.size();
    while (end > firstBlank && dosCommand.at(end - 1) == QLatin1Char(' '))
        --end;
    return toFileBytes(dosCommand.mid(firstBlank, end - firstBlank)).size();
}

void checkDosCommand(const QString &dosCommand)
{
    const QChar control = controlChar(dosCommand);
    if (!control.isNull())
        throw LanvoError(QStringLiteral("The emulator's command line holds the control character %1, which DOSBox "
                                        "can't pass on. Remove it from the additional parameters.")
                             .arg(QStringLiteral("0x%1").arg(control.unicode(), 2, 16, QLatin1Char('0'))));
    const QChar special = shellSpecialChar(dosCommand);
    if (!special.isNull())
        throw LanvoError(QStringLiteral("DOSBox would take the %1 of the emulator's command line as a redirection. "
                                        "Put that parameter in a pair of double quotes.\n%2")
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
    m_workDrive = m_links.link(workDirectory, QStringLiteral("c"));
    const QFileInfo romSet(romSetPath);
    const QString name = romSet.fileName();
    if (isDosName(name)) {
        m_romDrive = m_links.link(romSet.absolutePath(), QStringLiteral("d"));
        m_romSetArgument = QStringLiteral("d:\\") + name.toLower();
    } else {
        // DOSBox would make up a short name of its own, depending on the folder's other names; a
        // folder holding only a link under the platform's short name gives one the emulator can open.
        const QString shortName = shortDosName(name).toLower();
        m_romDrive = QFileInfo(m_links.link(romSet.absoluteFilePath(), QStringLiteral("rom/") + shortName)).path();
        m_romSetArgument = QStringLiteral("d:\\") + shortName;
    }
    const QFileInfo emulator(emulatorPath);
    m_emulatorName = emulator.fileName().toLower();
    if (QDir(emulator.absolutePath()) != QDir(workDirectory))
        m_emulatorDrive = m_links.link(emulator.absolutePath(), QStringLiteral("e"));
}

QString DosboxRun::dosCommand(const QString &commandLine) const
{
    if (m_emulatorDrive.isEmpty())
        return commandLine;
    const qsizetype firstBlank = commandLine.indexOf(QLatin1Char(' '));
    const QString rest = firstBlank < 0 ? QString() : commandLine.mid(firstBlank);
    return QStringLiteral("e:\\") + m_emulatorName + rest;
}

QStringList DosboxRun::arguments(const QString &commandLine, const QString &configFile, bool fullscreen) const
{
    const QString command = dosCommand(commandLine);
    checkDosCommand(command);
    QStringList arguments;
    if (!configFile.isEmpty())
        arguments << QStringLiteral("-conf") << configFile;
    if (fullscreen)
        arguments << QStringLiteral("-fullscreen");
    arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('c'), m_workDrive);
    arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('d'), m_romDrive);
    if (!m_emulatorDrive.isEmpty())
        arguments << QStringLiteral("-c") << mountCommand(QLatin1Char('e'), m_emulatorDrive);
    arguments << QStringLiteral("-c") << QStringLiteral("c:");
    arguments << QStringLiteral("-c") << batchLine(command);
    arguments << QStringLiteral("-c") << QStringLiteral("exit");
    return arguments;
}

} // namespace Lanvo
