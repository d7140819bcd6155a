#pragma once

#include "DosboxSettings.h"
#include "Emulators.h"

#include <QFileDevice>

#include <memory>

namespace Lanvo {

class DosboxRun;

enum TScanLines { slOff, slOn, sl25, sl50, sl100 };
enum TGameLanguage { glUs, glEuropean, glJapaneze };
enum TConsoleType { ctArcade, ctConsole };

// The emulator driver: the catalogue of TEmulators plus the emulator's option set, its
// initialisation file and its presence in the work directory.
class TCorvane : public TEmulators
{
    Q_OBJECT

public:
    static constexpr qint64 LanguageOffset = 18;
    static constexpr qint64 SystemOffset = 19;

    explicit TCorvane(QObject *owner, const QString &startDirectory = QString());
    ~TCorvane() override;

    // Published properties; plain stored values without side effects.
    QString Bios;
    TPath BiosPath;
    bool Vsync = true;
    bool Frameskip = false;
    int FrameskipValue = 1;
    bool Vga = false;
    bool Noanalysis = false;
    TScanLines Scanlines = slOn;
    bool Modex = false;
    TGameLanguage Language = glEuropean;
    TConsoleType System = ctArcade;
    QString DataFileName;
    bool ProcessSnapshots = true;
    bool DeleteSnapshot = true;
    DosboxSettings Dosbox; // how a DOS emulator program is run

    // Fixed per instance.
    const QString &EmulatorExe() const { return m_emulatorExe; }
    const QString &ExtenderExe() const { return m_extenderExe; }
    bool EmulatorFound() const { return m_emulatorFound; }
    const QString &BiosDir() const { return BiosPath.FullPath; }
    QString initFilePath() const;

    // Sets EmulatorFound; tells the user through Prompts when the emulator is missing.
    void CheckEmulator();
    // Language and System from the initialisation file; quiet when it can't be read.
    void ReadInitFile();
    // Language and System into the initialisation file; never creates, truncates or extends it.
    void WriteInitFile() const;

    // Places the BIOS files, patches the initialisation file and builds CommandLine; for a DOS
    // emulator program the ROM set argument is its DOS path under DOSBox.
    void PrepareRun(const QString &romSetPath) override;
    // Runs the command line, through DOSBox when PrepareRun found a DOS emulator program.
    void RunAndWait(const QString &commandLine) override;
    // The emulator program the run starts (own directory, work directory, PATH), or empty.
    QString findEmulatorProgram() const;
    bool runsThroughDosbox(const QString &emulatorProgram) const;
    // The emulator's command line for a ROM set argument and the current options.
    QString buildCommandLine(const QString &romSetArgument) const;

    // After a run: the last snapshot becomes the game's picture in PictureDir, and the run's snapshots
    // are deleted or kept under the game's key so that the next run starts again at shot1.bmp.
    void HarvestSnapshots(const QString &key) const;
    QString shotsDirectory() const;

private:
    void placeBiosFiles() const;
    void replaceBiosFiles(const QString &fromDirectory) const;
    void copyLastSnapshot(const QString &shots, const QString &key) const;
    void renameSnapshots(const QString &shots, const QString &key) const;
    void runThroughDosbox(const DosboxRun &run, const QString &commandLine);
    // Throw the refusal when another user could change the alternate folder or the emulator.
    void requireTrustedWorkFolder() const;
    void requireTrustedEmulator() const;

    QString m_emulatorExe;
    QString m_extenderExe;
    bool m_emulatorFound = false;
    std::unique_ptr<DosboxRun> m_dosboxRun; // from PrepareRun to the end of RunAndWait
};

// Writes one byte at Offset of an open file without ever extending it; false when it can't.
bool WriteInitByte(QFileDevice &file, qint64 offset, quint8 value);

quint8 languageByte(TGameLanguage language);
quint8 systemByte(TConsoleType system);

} // namespace Lanvo
