#include "ProfileFile.h"

#include "FilesUtils.h"

#include "LanvoError.h"
#include "RegularFile.h"
#include "TextLines.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <utility>

namespace Lanvo {

namespace {

// Readers of this file form have always returned at most this many bytes of a value.
constexpr qsizetype MaxValueLength = 2047;

// Far beyond any real settings file; a larger one is not read (and not rewritten).
constexpr qint64 MaxProfileFileSize = 64 * 1024 * 1024;

// The form's own line ending, used when the file holds none to copy.
constexpr char DefaultLineEnding[] = "\r\n";

// One line as offsets into the file's bytes: its text is [begin, textEnd), its ending (CR LF, LF,
// CR, or nothing on a last line) is [textEnd, end).
struct Line
{
    qsizetype begin = 0;
    qsizetype textEnd = 0;
    qsizetype end = 0;

    bool hasEnding() const { return end > textEnd; }
};

// The first section of a name: its header line and the index one past its last line.
struct SectionSpan
{
    qsizetype header = 0;
    qsizetype end = 0;
};

// A change of the file as one splice of its bytes, so that everything around it stays as it was.
struct Splice
{
    qsizetype position = 0;
    qsizetype removed = 0;
    QByteArray inserted;
};

LanvoError writeError(const QString &path)
{
    return LanvoError(QStringLiteral("Unable to write to ") + path);
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Only ASCII letters fold, so names in any other bytes compare the same whatever the locale.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// The name of a section header, or nothing for any other line. A header missing its "]" names
// the rest of its line.
std::optional<QByteArrayView> sectionNameOf(QByteArrayView line)
{
    const QByteArrayView text = trimBlanks(line);
    if (!text.startsWith('['))
        return std::nullopt;
    QByteArrayView name = text.sliced(1);
    const qsizetype close = name.indexOf(']');
    if (close >= 0)
        name.truncate(close);
    return trimBlanks(name);
}

// The key of a key line, or nothing for headers, comments and lines without "=".
std::optional<QByteArrayView> keyNameOf(QByteArrayView line)
{
    const QByteArrayView text = trimBlanks(line);
    if (text.startsWith('[') || text.startsWith(';') || text.startsWith('#'))
        return std::nullopt;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return trimBlanks(text.first(equals));
}

QByteArray valueOf(QByteArrayView keyLine)
{
    QByteArrayView value = trimBlanks(keyLine.sliced(keyLine.indexOf('=') + 1));
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front();
    if (quoted)
        value = value.sliced(1, value.size() - 2);
    return value.first(std::min(value.size(), MaxValueLength)).toByteArray();
}

// A CR or LF in a value would end its line early and turn the rest into a line of its own (a key
// or a section), so each is written as a space.
QByteArray singleLine(QByteArray value)
{
    return value.replace('\r', ' ').replace('\n', ' ');
}

QList<Line> splitLines(QByteArrayView bytes)
{
    QList<Line> lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        const qsizetype textEnd = i;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        lines.append({begin, textEnd, i + 1});
        begin = i + 1;
    }
    if (begin < bytes.size())
        lines.append({begin, bytes.size(), bytes.size()});
    return lines;
}

} // namespace

// The bytes of a profile file with its lines located, answering what reading and writing ask.
class ProfileText
{
public:
    explicit ProfileText(QByteArray bytes)
        : m_bytes(std::move(bytes))
        , m_lines(splitLines(m_bytes))
    {
    }

    const QByteArray &bytes() const { return m_bytes; }
    const Line &line(qsizetype index) const { return m_lines[index]; }

    QByteArrayView textOf(qsizetype index) const
    {
        const Line &l = m_lines[index];
        return QByteArrayView(m_bytes).sliced(l.begin, l.textEnd - l.begin);
    }

    // Later sections of the same name are ignored, not merged.
    std::optional<SectionSpan> findSection(QByteArrayView name) const
    {
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const std::optional<QByteArrayView> found = sectionNameOf(textOf(i));
            if (found && sameName(*found, name))
                return SectionSpan{i, nextHeaderAfter(i)};
        }
        return std::nullopt;
    }

    std::optional<qsizetype> findKey(const SectionSpan &section, QByteArrayView key) const
    {
        for (qsizetype i = section.header + 1; i < section.end; ++i) {
            const std::optional<QByteArrayView> found = keyNameOf(textOf(i));
            if (found && sameName(*found, key))
                return i;
        }
        return std::nullopt;
    }

    // The header when the section holds nothing but blank lines.
    qsizetype lastFilledLine(const SectionSpan &section) const
    {
        qsizetype i = section.end - 1;
        while (i > section.header && trimBlanks(textOf(i)).isEmpty())
            --i;
        return i;
    }

    bool endsWithLineEnding() const { return m_lines.isEmpty() || m_lines.last().hasEnding(); }

    // New lines follow the first ending of the file, so they match what its author used.
    QByteArray lineEnding() const
    {
        for (const Line &l : m_lines) {
            if (l.hasEnding())
                return m_bytes.sliced(l.textEnd, l.end - l.textEnd);
        }
        return DefaultLineEnding;
    }

private:
    qsizetype nextHeaderAfter(qsizetype index) const
    {
        qsizetype i = index + 1;
        while (i < m_lines.size() && !sectionNameOf(textOf(i)))
            ++i;
        return i;
    }

    QByteArray m_bytes;
    QList<Line> m_lines;
};

namespace {

Splice replaceLine(const ProfileText &profile, qsizetype index, const QByteArray &newLine)
{
    const Line &old = profile.line(index);
    return {old.begin, old.textEnd - old.begin, newLine};
}

Splice insertAfter(const ProfileText &profile, qsizetype index, const QByteArray &newLine)
{
    const Line &previous = profile.line(index);
    QByteArray ending = profile.lineEnding();
    // A lone CR before a line that starts with LF would join it into one CR LF and swallow a line.
    if (ending == "\r" && previous.end < profile.bytes().size() && profile.bytes().at(previous.end) == '\n')
        ending = "\r\n";
    const QByteArray endPrevious = previous.hasEnding() ? QByteArray() : ending;
    return {previous.end, 0, endPrevious + newLine + ending};
}

Splice appendSection(const ProfileText &profile, const QByteArray &section, const QByteArray &newLine)
{
    const QByteArray ending = profile.lineEnding();
    const QByteArray endLastLine = profile.endsWithLineEnding() ? QByteArray() : ending;
    const QByteArray header = '[' + section + ']';
    return {profile.bytes().size(), 0, endLastLine + header + ending + newLine + ending};
}

Splice spliceFor(const ProfileText &profile, const QByteArray &section, const QByteArray &key,
                 const QByteArray &newLine)
{
    const std::optional<SectionSpan> span = profile.findSection(section);
    if (!span)
        return appendSection(profile, section, newLine);
    if (const std::optional<qsizetype> keyLine = profile.findKey(*span, key))
        return replaceLine(profile, *keyLine, newLine);
    return insertAfter(profile, profile.lastFilledLine(*span), newLine);
}

// Nothing when the file can't be read, a missing file included, or is no regular file of a size
// that a settings file could have.
std::optional<QByteArray> readBytes(const QString &path)
{
    RegularFileRead read = readRegularFile(path, MaxProfileFileSize);
    if (!read.ok())
        return std::nullopt;
    return std::move(read.Bytes);
}

// A missing file starts empty; one that exists but can't be read must not be replaced by a file
// that lost its other lines.
QByteArray bytesToUpdate(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        throw writeError(path);
    return std::move(*bytes);
}

void saveBytes(const QString &path, const QByteArray &bytes)
{
    if (!saveAtomically(path, bytes))
        throw writeError(path);
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{
}

const QString &ProfileFile::path() const
{
    return m_path;
}

QByteArray ProfileFile::readString(const QByteArray &section, const QByteArray &key,
                                   const QByteArray &defaultValue) const
{
    return ProfileSnapshot(m_path).readString(section, key, defaultValue);
}

ProfileSnapshot::ProfileSnapshot(const QString &path)
{
    if (std::optional<QByteArray> bytes = readBytes(path))
        m_text = std::make_unique<const ProfileText>(std::move(*bytes));
}

ProfileSnapshot::~ProfileSnapshot() = default;

QByteArray ProfileSnapshot::readString(const QByteArray &section, const QByteArray &key,
                                       const QByteArray &defaultValue) const
{
    if (!m_text)
        return defaultValue;
    const std::optional<SectionSpan> span = m_text->findSection(section);
    if (!span)
        return defaultValue;
    const std::optional<qsizetype> keyLine = m_text->findKey(*span, key);
    if (!keyLine)
        return defaultValue;
    return valueOf(m_text->textOf(*keyLine));
}

void ProfileFile::writeString(const QByteArray &section, const QByteArray &key,
                              const QByteArray &value) const
{
    const ProfileText profile(bytesToUpdate(m_path));
    const Splice splice = spliceFor(profile, section, key, key + '=' + singleLine(value));
    QByteArray bytes = profile.bytes();
    bytes.replace(splice.position, splice.removed, splice.inserted);
    saveBytes(m_path, bytes);
}

} // namespace Lanvo
