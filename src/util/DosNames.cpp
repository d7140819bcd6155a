#include "DosNames.h"

#include "RegularFile.h"

#include <QFile>

namespace Lanvo {

namespace {

constexpr qsizetype BaseLength = 8;
constexpr qsizetype ExtensionLength = 3;

// DOS itself takes "%", but DOSBox's batch processing, which every command line goes through,
// would expand it: such a name is given under a short name instead.
bool isDosNameChar(QChar c)
{
    if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
        return false;
    return !QStringLiteral("\"%*+,./:;<=>?[\\]|").contains(c);
}

bool isDosPart(const QString &part, qsizetype maximum)
{
    if (part.size() > maximum)
        return false;
    for (const QChar c : part) {
        if (!isDosNameChar(c))
            return false;
    }
    return true;
}

QString dosChars(const QString &text, qsizetype maximum)
{
    QString kept;
    for (const QChar c : text) {
        if (kept.size() == maximum)
            break;
        if (isDosNameChar(c))
            kept.append(c.toUpper());
    }
    return kept;
}

} // namespace

bool isDosProgram(const QString &path)
{
    QFile file(path);
    // Only a regular file: opening a FIFO named like the emulator would wait forever.
    if (!openRegularFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    return file.read(2) == "MZ";
}

bool isDosName(const QString &name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    if (base.isEmpty() || (dot >= 0 && extension.isEmpty()))
        return false;
    return isDosPart(base, BaseLength) && isDosPart(extension, ExtensionLength);
}

QString shortDosName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0;
    QString base = dosChars(hasExtension ? name.left(dot) : name, 6);
    if (base.isEmpty())
        base = QStringLiteral("ROMSET");
    const QString extension = hasExtension ? dosChars(name.mid(dot + 1), ExtensionLength) : QString();
    QString shortName = base + QStringLiteral("~1");
    if (!extension.isEmpty())
        shortName += QLatin1Char('.') + extension;
    return shortName;
}

} // namespace Lanvo
