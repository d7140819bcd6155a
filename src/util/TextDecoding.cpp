#include "TextDecoding.h"

#include <QFile>

#include <QStringDecoder>

#include <array>

namespace Lanvo {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to themselves as Latin-1 does.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            text.append(QChar(HighControls[byte - 0x80]));
        else
            text.append(QChar(char16_t(byte)));
    }
    return text;
}

constexpr char16_t EscapeBase = 0xDC00;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at Index, or 0 when the byte there starts none (overlong
// forms, encoded surrogates and code points past U+10FFFF are not valid).
qsizetype validSequenceAt(const QByteArray &bytes, qsizetype index)
{
    const auto at = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    const unsigned char lead = at(index);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (index + length > bytes.size())
        return 0;
    if (at(index + 1) < low || at(index + 1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!isContinuation(at(index + i)))
            return 0;
    }
    return length;
}

void appendUtf8(QByteArray &bytes, char32_t codePoint)
{
    if (codePoint < 0x80) {
        bytes.append(char(codePoint));
    } else if (codePoint < 0x800) {
        bytes.append(char(0xC0 | (codePoint >> 6)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        bytes.append(char(0xE0 | (codePoint >> 12)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        bytes.append(char(0xF0 | (codePoint >> 18)));
        bytes.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QString fromFileBytes(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = validSequenceAt(bytes, i);
        if (length == 0) {
            text.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes.at(i)))));
            ++i;
            continue;
        }
        text.append(QString::fromUtf8(bytes.constData() + i, length));
        i += length;
    }
    return text;
}

QByteArray toFileBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()));
            ++i;
        } else if (unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF) {
            bytes.append(char(unit - EscapeBase));
        } else if (QChar::isSurrogate(unit)) {
            appendUtf8(bytes, QChar::ReplacementCharacter); // no bytes stand behind it
        } else {
            appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

QString displayFileText(const QString &text)
{
    return displayText(toFileBytes(text));
}

QString editedFileText(const QString &original, const QString &shown)
{
    return shown == displayFileText(original) ? original : shown;
}

QString displayText(QByteArrayView bytes)
{
    // Most catalogues are plain ASCII, which reads the same in both encodings.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes);
}

bool holdsFileName(const QByteArray &name)
{
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

} // namespace Lanvo
