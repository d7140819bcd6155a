// The settings file: the bytes become Lanvo.ini of a work directory and are read through
// ReadSettingsFile, every key of the program; then one key is written with ProfileFile::writeString
// and read back. Anything that must hold for every input is checked with abort().
//
// What "the other lines survive" means here: old and new file are split into lines (CR LF, LF or a
// lone CR ends a line; the endings themselves are not compared). Take away the longest run of
// leading lines that both files share, then the longest run of trailing lines they share (never
// counting a line twice). What is left of the old file is nothing, or one line of the written key
// (its text before the first "=", without surrounding blanks, is the key ignoring letter case).
// What is left of the new file is the written line alone, the section header and the written line
// when the file had no section of that name, or nothing when the old line was already the same.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "Corvane.h"
#include "FilesUtils.h"
#include "ProfileFile.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

using namespace Lanvo;

// Every key the program reads, in ReadSettingsFile's order.
constexpr std::array<const char *, 22> Keys = {
    "Version", "WindowState", "Top", "Left", "Heigh", "Width", "RomPath1", "RomPath2", "AltPath",
    "Bios", "Vsync", "Frameskip", "FrameskipValue", "Vga", "Noanalysis", "Scanlines", "Modex",
    "PicShow", "Picture", "MoveShot", "DelShot", "AddParam",
};

// The work directory for the whole run, with one BIOS set so that a stored "Bios" can be kept.
const QString &workDirectory()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        FUZZ_CHECK(dir.isValid());
        FUZZ_CHECK(QDir(dir.path()).mkpath(QStringLiteral("lanvo/bios/set1")));
        return dir.path();
    }();
    return path;
}



// A directory as kept after reading: absolute, clean, without a trailing separator.
void checkPath(const TPath &path)
{
    FUZZ_CHECK(QDir::isAbsolutePath(path.FullPath));
    FUZZ_CHECK(QDir::cleanPath(path.FullPath) == path.FullPath);
    FUZZ_CHECK(path.FullPath == QLatin1String("/") || !path.FullPath.endsWith(QLatin1Char('/')));
}

void checkSettings(const TCorvane &emulator, const WindowSettings &window, const ProfileFile &file)
{
    FUZZ_CHECK(emulator.FrameskipValue >= 1 && emulator.FrameskipValue <= 4);
    FUZZ_CHECK(emulator.Scanlines >= slOff && emulator.Scanlines <= sl100);
    FUZZ_CHECK(window.State == TWindowState::Normal || window.State == TWindowState::Minimized
               || window.State == TWindowState::Maximized);
    FUZZ_CHECK(emulator.PictureDir == emulator.TitlePicDir || emulator.PictureDir == emulator.GamePicDir);
    checkPath(emulator.RomPath1);
    checkPath(emulator.RomPath2);
    checkPath(emulator.AltPath);
    // A stored BIOS is kept only when it names a BIOS set, which can't reach outside BiosDir.
    FUZZ_CHECK(emulator.Bios.isEmpty()
               || (isPlainFileName(emulator.Bios) && directoryExists(joinPath(emulator.BiosDir(), emulator.Bios))));
    // Without an "AddParam" line the value held before the read stays.
    const bool noAddParam = file.readString(SettingsSection, "AddParam", "a") == "a"
        && file.readString(SettingsSection, "AddParam", "b") == "b";
    if (noAddParam)
        FUZZ_CHECK(emulator.AdditionalParameters == QLatin1String("before"));
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(begin, i - begin));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    if (begin < bytes.size())
        lines.append(bytes.mid(begin));
    return lines;
}

bool isLineOfKey(const QByteArray &line, const QByteArray &key)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    const QByteArray name = line.left(equals).trimmed();
    return name.compare(key, Qt::CaseInsensitive) == 0;
}

void checkOtherLinesSurvive(const QByteArray &oldBytes, const QByteArray &newBytes, const QByteArray &key,
                            const QByteArray &writtenLine)
{
    const QList<QByteArray> before = splitLines(oldBytes);
    const QList<QByteArray> after = splitLines(newBytes);
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (prefix + suffix < shorter && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QList<QByteArray> removed = before.mid(prefix, before.size() - prefix - suffix);
    const QList<QByteArray> added = after.mid(prefix, after.size() - prefix - suffix);

    FUZZ_CHECK(removed.isEmpty() || (removed.size() == 1 && isLineOfKey(removed.first(), key)));
    const QByteArray header = '[' + QByteArray(SettingsSection) + ']';
    const bool expected = added == QList<QByteArray>{writtenLine}
        || (removed.isEmpty() && added == QList<QByteArray>{header, writtenLine})
        || (removed.isEmpty() && added.isEmpty() && before.contains(writtenLine));
    FUZZ_CHECK(expected);
}

// Writes one key, chosen and valued from the input, and reads it back.
void checkWriteOneKey(const ProfileFile &file, const QByteArray &oldBytes)
{
    const quint8 choice = oldBytes.isEmpty() ? 0 : static_cast<quint8>(oldBytes.back());
    const QByteArray key(Keys[choice % Keys.size()]);
    const QByteArray value = "V" + QByteArray::number(oldBytes.size());
    file.writeString(SettingsSection, key, value);
    FUZZ_CHECK(file.readString(SettingsSection, key, QByteArray()) == value);
    checkOtherLinesSurvive(oldBytes, readBytes(file.path()), key, key + '=' + value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString &work = workDirectory();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = settingsFilePath(work);
    writeBytes(path, bytes);

    TCorvane emulator(nullptr, work);
    emulator.WorkDir = work;
    emulator.AdditionalParameters = QStringLiteral("before");
    WindowSettings window;
    ReadSettingsFile(emulator, window);
    const ProfileFile file(path);
    checkSettings(emulator, window, file);
    checkWriteOneKey(file, bytes);
    return 0;
}
