#include "Corvane.h"

#include "AnyCaseFiles.h"
#include "DosNames.h"
#include "DosboxRun.h"
#include "FilesUtils.h"
#include "LanvoError.h"
#include "PathTrust.h"
#include "Platform.h"
#include "RegularFile.h"
#include "WorkDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Lanvo {

namespace {

// The region byte: any value other than 0, 1 and 2 leaves the language as it was.
void applyLanguageByte(quint8 value, TGameLanguage &language)
{
    switch (value) {
    case 0:
        language = glJapaneze;
        break;
    case 1:
        language = glUs;
        break;
    case 2:
        language = glEuropean;
        break;
    default:
        break;
    }
}

// No real initialisation file comes near this; anything larger is not the emulator's file.
constexpr qint64 MaxInitFileSize = 1024 * 1024;

bool readByteAt(QFile &file, qint64 offset, quint8 &value)
{
    char byte = 0;
    if (file.size() <= offset || !file.seek(offset) || file.read(&byte, 1) != 1)
        return false;
    value = static_cast<quint8>(byte);
    return true;
}

const QStringList BiosPatterns = {QStringLiteral("*.rom"), QStringLiteral("*.gdb")};

// The BIOS files of a directory, of every attribute; QDir's name filters ignore letter case, as the
// platform's wildcards do ("SFIX.GDB" matches "*.gdb").
QStringList biosFiles(const QString &directory, const QString &pattern)
{
    return QDir(directory).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void deleteBiosFiles(const QString &workDirectory)
{
    for (const QString &pattern : BiosPatterns) {
        for (const QString &name : biosFiles(workDirectory, pattern))
            removeFile(joinPath(workDirectory, name)); // a deletion that fails is ignored
    }
}

const char *scanlinesSwitch(TScanLines scanlines)
{
    switch (scanlines) {
    case slOn:
        return "-s";
    case sl25:
        return "-s25";
    case sl50:
        return "-s50";
    case sl100:
        return "-s100";
    case slOff:
        break;
    }
    return nullptr;
}

QString shotName(int number)
{
    return QStringLiteral("shot%1.bmp").arg(number);
}

// A snapshot as the emulator wrote it: a DOS program writes "SHOT1.BMP".
QString shotPath(const QString &shots, int number)
{
    return pathAnyCase(shots, shotName(number));
}

// The last number of the unbroken run shot1.bmp, shot2.bmp, ...; 0 when there is no shot1.bmp.
int lastSnapshot(const QString &shots)
{
    int last = 0;
    while (fileExists(shotPath(shots, last + 1)))
        ++last;
    return last;
}

QString dosboxMissingText(const QString &emulator, const QString &dosbox)
{
    return QStringLiteral("%1 is a DOS program, which runs through DOSBox, but the program \"%2\" was not "
                          "found. Install the dosbox package, or name the DOSBox program with the key Program "
                          "in the section [Dosbox] of Lanvo.ini.")
        .arg(emulator, dosbox);
}

QString untrustedEmulatorText(const QString &program, const TrustRefusal &refusal, const QString &start)
{
    return QStringLiteral("The emulator %1 was not run: %2. Lanvo runs a program from outside the start folder "
                          "only when no other user can change it or a folder above it: make them yours and "
                          "writable by you alone, or put the emulator in the start folder %3.")
        .arg(program, refusal.text(), start);
}

} // namespace

TCorvane::TCorvane(QObject *owner, const QString &startDirectory)
    : TEmulators(owner, startDirectory)
{
    Vsync = true;
    Frameskip = false;
    FrameskipValue = 1;
    Vga = false;
    Noanalysis = false;
    Scanlines = slOn;
    Modex = false;
    Bios.clear();
    BiosPath.Path = QStringLiteral("./lanvo/bios");
    BiosPath.FullPath = joinPath(DataDir.FullPath, QStringLiteral("bios"));
    Language = glEuropean;
    System = ctArcade;
    DataFileName = QStringLiteral("corinit.dat");
    m_emulatorExe = QStringLiteral("corvane.exe");
    m_extenderExe = QStringLiteral("dos4gw.exe");
    ProcessSnapshots = true;
    DeleteSnapshot = true;
    m_emulatorFound = false;
}

TCorvane::~TCorvane() = default;

QString TCorvane::initFilePath() const
{
    return pathAnyCaseReadAhead(WorkDir, DataFileName);
}

void TCorvane::CheckEmulator()
{
    m_emulatorFound = true;
    if (fileExists(pathAnyCase(WorkDir, m_emulatorExe)))
        return;
    if (Prompts)
        Prompts->showMessage(PromptKind::Plain,
                             QStringLiteral("Corvane.exe not found in %1/ . Emulator will not run").arg(WorkDir),
                             PromptButtons::Ok);
    m_emulatorFound = false;
}

void TCorvane::ReadInitFile()
{
    QFile file(initFilePath());
    if (!openRegularFile(file, QIODevice::ReadOnly) || file.size() > MaxInitFileSize)
        return;
    quint8 value = 0;
    if (readByteAt(file, LanguageOffset, value))
        applyLanguageByte(value, Language);
    if (readByteAt(file, SystemOffset, value))
        System = value == 0 ? ctConsole : ctArcade;
}

void TCorvane::WriteInitFile() const
{
    QFile file(initFilePath());
    // ExistingOnly: the file belongs to the emulator; it is patched, never created or truncated.
    if (!openRegularFile(file, QIODevice::ReadWrite) || file.size() > MaxInitFileSize)
        return;
    if (WriteInitByte(file, LanguageOffset, languageByte(Language)))
        WriteInitByte(file, SystemOffset, systemByte(System));
}

void TCorvane::PrepareRun(const QString &romSetPath)
{
    m_dosboxRun.reset();
    requireTrustedWorkFolder();
    const QString emulator = findEmulatorProgram();
    QString romSetArgument;
    if (!emulator.isEmpty() && runsThroughDosbox(emulator)) {
        m_dosboxRun = std::make_unique<DosboxRun>(emulator, WorkDir, romSetPath);
        romSetArgument = m_dosboxRun->romSetArgument();
    } else {
        // A native program has no short form of a path: the absolute path is the argument, quoted
        // when it holds blanks so that it stays one word.
        romSetArgument = quoteWindowsArgument(romSetPath);
    }
    placeBiosFiles();
    WriteInitFile();
    CommandLine = buildCommandLine(romSetArgument);
}

// The run starts in the work directory, so it is the second place the search looks.
QString TCorvane::findEmulatorProgram() const
{
    const QString saved = QDir::currentPath();
    QDir::setCurrent(WorkDir);
    const QString program = findProgram(m_emulatorExe, QCoreApplication::applicationDirPath(),
                                        [this](const QString &path) {
                                            return fileExists(path)
                                                   && (isExecutableFile(path) || runsThroughDosbox(path));
                                        });
    QDir::setCurrent(saved);
    return program;
}

bool TCorvane::runsThroughDosbox(const QString &emulatorProgram) const
{
    switch (Dosbox.Use) {
    case duAlways:
        return true;
    case duNever:
        return false;
    case duAuto:
        break;
    }
    return isDosProgram(emulatorProgram);
}

// Checked again right before each copy and run: the folders may have changed since start-up.
void TCorvane::requireTrustedWorkFolder() const
{
    if (const QString refusal = workFolderRefusal(*this); !refusal.isEmpty())
        throw LanvoError(refusal);
}

// Once every component is known to be changeable by this user and root alone, no one else can swap
// the program between this check and its start.
void TCorvane::requireTrustedEmulator() const
{
    requireTrustedWorkFolder();
    const QString program = findEmulatorProgram();
    if (program.isEmpty() || QFileInfo(program).absolutePath() == StartDir.FullPath)
        return;
    if (const TrustRefusal refusal = checkPathTrust(program); refusal.refused())
        throw LanvoError(untrustedEmulatorText(program, refusal, StartDir.FullPath));
}

void TCorvane::RunAndWait(const QString &commandLine)
{
    // Taken here, so that the next run prepares its own; the links it made live until the end.
    const std::unique_ptr<DosboxRun> run = std::move(m_dosboxRun);
    requireTrustedEmulator();
    if (run)
        runThroughDosbox(*run, commandLine);
    else
        TEmulators::RunAndWait(commandLine);
}

void TCorvane::runThroughDosbox(const DosboxRun &run, const QString &commandLine)
{
    const QStringList arguments = run.arguments(commandLine, Dosbox.ConfigFile, Dosbox.Fullscreen);
    const QString dosbox = findHelperProgram(Dosbox.Program);
    if (dosbox.isEmpty()) {
        // Told once, then the run goes on as for a program that could not be started.
        if (Prompts)
            Prompts->showMessage(PromptKind::Error, dosboxMissingText(m_emulatorExe, Dosbox.Program),
                                 PromptButtons::Ok);
        return;
    }
    runAndWait(dosbox, arguments, RunWindowHooks);
}

void TCorvane::placeBiosFiles() const
{
    if (!Bios.isEmpty()) {
        const QString set = containedPath(BiosDir(), Bios);
        // A set that vanished since start-up is reported before anything is deleted.
        if (!directoryExists(set))
            throw LanvoError(QStringLiteral("The BIOS set %1 is no longer in %2. Choose another one in the Bios "
                                            "menu.")
                                 .arg(Bios, BiosDir()));
        replaceBiosFiles(set);
    } else if (InstallType() == itCDRom) {
        replaceBiosFiles(StartDir.FullPath);
    }
}

void TCorvane::replaceBiosFiles(const QString &fromDirectory) const
{
    deleteBiosFiles(WorkDir);
    const bool intoStartFolder = WorkDir == StartDir.FullPath;
    for (const QString &pattern : BiosPatterns) {
        for (const QString &name : biosFiles(fromDirectory, pattern)) {
            const QString source = containedPath(fromDirectory, name);
            if (intoStartFolder)
                CopyFileOnto(source, containedPath(WorkDir, name));
            else if (const TrustRefusal refusal = copyIntoTrustedFolder(source, WorkDir, name); refusal.refused())
                throw LanvoError(alternateRefusalText(*this, refusal));
        }
    }
}

QString TCorvane::buildCommandLine(const QString &romSetArgument) const
{
    QString line = m_emulatorExe + QLatin1Char(' ') + romSetArgument;
    const auto add = [&line](bool on, const QString &flag) {
        if (on)
            line += QLatin1Char(' ') + flag;
    };
    add(Vsync, QStringLiteral("-v"));
    add(Frameskip, QStringLiteral("-f") + QString::number(FrameskipValue));
    add(Vga, QStringLiteral("-vga"));
    add(Noanalysis, QStringLiteral("-noanalyse"));
    add(Modex, QStringLiteral("-modex"));
    const char *scanlines = scanlinesSwitch(Scanlines);
    add(scanlines != nullptr, QString::fromLatin1(scanlines));
    return line + QLatin1Char(' ') + AdditionalParameters;
}

QString TCorvane::shotsDirectory() const
{
    return pathAnyCase(WorkDir, QStringLiteral("shots"));
}

void TCorvane::HarvestSnapshots(const QString &key) const
{
    // The key is a ROM set name from the games file: it must not reach outside either directory.
    containedPath(PictureDir.FullPath, key);
    const QString shots = shotsDirectory();
    if (!directoryExists(shots))
        return;
    if (ProcessSnapshots)
        copyLastSnapshot(shots, key);
    renameSnapshots(shots, key);
}

// The new picture is copied beside the old one and renamed over it; only then do the game's other
// pictures go, so a failed copy leaves every old picture in place.
void TCorvane::copyLastSnapshot(const QString &shots, const QString &key) const
{
    const int last = lastSnapshot(shots);
    if (last == 0)
        return;
    const QString base = joinPath(PictureDir.FullPath, key);
    CopyFileTo(shotPath(shots, last), base + QLatin1String(".bmp"));
    for (const char *extension : {".gif", ".jpg"}) {
        if (fileExists(base + QLatin1String(extension)))
            removeFile(base + QLatin1String(extension)); // a failed deletion is ignored
    }
}

void TCorvane::renameSnapshots(const QString &shots, const QString &key) const
{
    const bool deleteShots = DeleteSnapshot && InstallType() == itHD;
    int kept = 1;
    for (int number = 1; fileExists(shotPath(shots, number)); ++number) {
        const auto keptName = [&] { return joinPath(shots, key + QString::number(kept) + QLatin1String(".bmp")); };
        while (QFileInfo::exists(keptName()))
            ++kept;
        const QString shot = shotPath(shots, number);
        if (deleteShots)
            removeFile(shot);
        renameFile(shot, keptName()); // never replaces a file; after a deletion it finds nothing
    }
}

bool WriteInitByte(QFileDevice &file, qint64 offset, quint8 value)
{
    // Writing past the end would extend the emulator's file.
    if (file.size() <= offset || !file.seek(offset))
        return false;
    const char byte = static_cast<char>(value);
    return file.write(&byte, 1) == 1;
}

quint8 languageByte(TGameLanguage language)
{
    switch (language) {
    case glJapaneze:
        return 0;
    case glUs:
        return 1;
    case glEuropean:
        break;
    }
    return 2;
}

quint8 systemByte(TConsoleType system)
{
    return system == ctArcade ? 0x80 : 0x00;
}

} // namespace Lanvo
