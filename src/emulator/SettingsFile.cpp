#include "SettingsFile.h"

#include "AlternateFolder.h"
#include "FilesUtils.h"
#include "ProfileFile.h"
#include "TextDecoding.h"

#include <QFile>

#include <algorithm>

namespace Lanvo {

namespace {

const QByteArray Section(SettingsSection);

QByteArray upper(const QByteArray &text)
{
    return text.toUpper(); // letters a to z only: the values are ASCII words
}

bool isAsciiHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

QByteArray onOff(bool on)
{
    return on ? QByteArrayLiteral("ON") : QByteArrayLiteral("OFF");
}

QByteArray yesNo(bool yes)
{
    return yes ? QByteArrayLiteral("YES") : QByteArrayLiteral("NO");
}

class SettingsReader
{
public:
    explicit SettingsReader(const QString &path)
        : m_file(path)
    {
    }

    QByteArray text(const char *key, const QByteArray &defaultValue) const
    {
        return m_file.readString(Section, key, defaultValue);
    }
    QByteArray upperText(const char *key, const char *defaultValue) const
    {
        return upper(text(key, defaultValue));
    }
    int integer(const char *key, int defaultValue) const
    {
        return readIntegerValue(text(key, QByteArray()), defaultValue);
    }
    TPath path(const TCorvane &emulator, const char *key, const QString &defaultValue) const
    {
        // Folder names are bytes: decoded as the file system's names, never as display text.
        return emulator.makePath(QFile::decodeName(text(key, QFile::encodeName(defaultValue))));
    }

private:
    ProfileSnapshot m_file; // read once for all the keys
};

TWindowState readWindowState(const QByteArray &value)
{
    if (value == "MAX")
        return TWindowState::Maximized;
    if (value == "MIN")
        return TWindowState::Minimized;
    return TWindowState::Normal;
}

TScanLines readScanlines(const QByteArray &value)
{
    if (value == "OFF")
        return slOff;
    if (value == "25")
        return sl25;
    if (value == "50")
        return sl50;
    if (value == "100")
        return sl100;
    return slOn;
}

QByteArray scanlinesText(TScanLines scanlines)
{
    switch (scanlines) {
    case slOff:
        return "OFF";
    case sl25:
        return "25";
    case sl50:
        return "50";
    case sl100:
        return "100";
    case slOn:
        break;
    }
    return "ON";
}

QByteArray windowStateText(TWindowState state)
{
    switch (state) {
    case TWindowState::Maximized:
        return "MAX";
    case TWindowState::Minimized:
        return "MIN";
    case TWindowState::Normal:
        break;
    }
    return "NORMAL";
}

// A stored BIOS must still be one of the BIOS directory's subdirectories.
QString checkedBios(const TCorvane &emulator, const QString &bios)
{
    if (!isPlainFileName(bios) || !directoryExists(joinPath(emulator.BiosDir(), bios)))
        return QString();
    return bios;
}

void readWindow(const SettingsReader &reader, WindowSettings &window)
{
    window.State = readWindowState(reader.upperText("WindowState", "normal"));
    window.Top = reader.integer("Top", 192);
    window.Left = reader.integer("Left", 232);
    window.Height = reader.integer("Heigh", 470);
    window.Width = reader.integer("Width", 914);
}

void readDirectories(const SettingsReader &reader, TCorvane &emulator)
{
    emulator.RomPath1 = reader.path(emulator, "RomPath1", QStringLiteral("."));
    emulator.RomPath2 = reader.path(emulator, "RomPath2", QStringLiteral("."));
    emulator.AltPath = reader.path(emulator, "AltPath", defaultAlternateDirectory());
    emulator.Bios = checkedBios(emulator, fromFileBytes(reader.text("Bios", QByteArray())));
}

void readOptions(const SettingsReader &reader, TCorvane &emulator)
{
    emulator.Vsync = reader.upperText("Vsync", "on") == "ON";
    emulator.Frameskip = reader.upperText("Frameskip", "off") != "OFF";
    const int frames = reader.integer("FrameskipValue", 1);
    emulator.FrameskipValue = (frames >= 1 && frames <= 4) ? frames : 1;
    emulator.Vga = reader.upperText("Vga", "off") != "OFF";
    emulator.Noanalysis = reader.upperText("Noanalysis", "off") != "OFF";
    emulator.Scanlines = readScanlines(reader.upperText("Scanlines", "on"));
    emulator.Modex = reader.upperText("Modex", "off") != "OFF";
}

void readPictures(const SettingsReader &reader, TCorvane &emulator, WindowSettings &window)
{
    const bool inGame = reader.upperText("PicShow", "") == "PICGAMEPATH";
    emulator.PictureDir = inGame ? emulator.GamePicDir : emulator.TitlePicDir;
    window.PictureShown = reader.upperText("Picture", "on") != "OFF";
}

void readSnapshots(const SettingsReader &reader, TCorvane &emulator)
{
    emulator.ProcessSnapshots = reader.upperText("MoveShot", "YES") == "YES";
    emulator.DeleteSnapshot = reader.upperText("DelShot", "YES") == "YES";
    // Kept byte for byte: written back and handed to the emulator as they were typed.
    emulator.AdditionalParameters =
        fromFileBytes(reader.text("AddParam", toFileBytes(emulator.AdditionalParameters)));
}

QByteArray biosText(const QString &bios)
{
    const qsizetype dot = bios.indexOf(QLatin1Char('.'));
    return toFileBytes(dot < 0 ? bios : bios.left(dot));
}

} // namespace

QString settingsFilePath(const QString &directory)
{
    return joinPath(directory, QString::fromLatin1(SettingsFileName));
}

int readIntegerValue(const QByteArray &text, int defaultValue)
{
    bool ok = false;
    int value = 0;
    if (text.size() > 2 && text.at(0) == '0' && (text.at(1) == 'x' || text.at(1) == 'X')) {
        // Only plain hexadecimal digits: toInt would also take a sign, blanks or a second "0x".
        const QByteArray digits = text.mid(2);
        if (std::all_of(digits.begin(), digits.end(), isAsciiHexDigit))
            value = digits.toInt(&ok, 16);
    } else
        value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

QString settingsFolderNameRefusal(const QString &workDirectory)
{
    const QString path = settingsFilePath(workDirectory);
    const ProfileSnapshot file(path);
    for (const char *key : {"RomPath1", "RomPath2", "AltPath"}) {
        const QByteArray value = file.readString(Section, key, QByteArray());
        if (!holdsFileName(value))
            return QStringLiteral("The folder %1 that %2 names in %3 can't be used: its name is not valid UTF-8, "
                                  "the file name encoding Lanvo works with. Rename that folder, or name another "
                                  "one with %2 in that file.")
                .arg(displayText(value), QLatin1String(key), path);
    }
    return {};
}

bool ReadSettingsFile(TCorvane &emulator, WindowSettings &window)
{
    const SettingsReader reader(settingsFilePath(emulator.WorkDir));
    const bool catalogueWritten = reader.text("Version", "0") != ProgramVersion;
    readWindow(reader, window);
    readDirectories(reader, emulator);
    readOptions(reader, emulator);
    readPictures(reader, emulator, window);
    readSnapshots(reader, emulator);
    return catalogueWritten;
}

void WriteSettingsFile(const TCorvane &emulator, const WindowSettings &window, bool catalogueWritten)
{
    const ProfileFile file(settingsFilePath(emulator.WorkDir));
    const auto write = [&file](const char *key, const QByteArray &value) {
        file.writeString(Section, key, value);
    };
    write("WindowState", windowStateText(window.State));
    if (catalogueWritten)
        write("Version", ProgramVersion);
    write("Top", QByteArray::number(window.Top));
    write("Left", QByteArray::number(window.Left));
    write("Heigh", QByteArray::number(window.Height));
    write("Width", QByteArray::number(window.Width));
    write("Bios", biosText(emulator.Bios));
    write("Vsync", onOff(emulator.Vsync));
    write("Frameskip", onOff(emulator.Frameskip));
    write("FrameskipValue", QByteArray::number(emulator.FrameskipValue));
    write("Vga", onOff(emulator.Vga));
    write("Noanalysis", onOff(emulator.Noanalysis));
    write("Scanlines", scanlinesText(emulator.Scanlines));
    write("Modex", onOff(emulator.Modex));
    write("Picture", onOff(window.PictureShown));
    const bool inGame = emulator.PictureDir.FullPath == emulator.GamePicDir.FullPath;
    write("PicShow", inGame ? QByteArrayLiteral("PICGAMEPATH") : QByteArrayLiteral("PICTITLEPATH"));
    write("MoveShot", yesNo(emulator.ProcessSnapshots));
    write("DelShot", yesNo(emulator.DeleteSnapshot));
    write("AddParam", toFileBytes(emulator.AdditionalParameters));
}

} // namespace Lanvo
