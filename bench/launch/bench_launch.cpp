// The time from the Run command to the emulator's start, the time from the Run command to a DOS
// program's first instruction under DOSBox against a bare `dosbox -c ...` of the same program, and
// the zip extraction rate of a 64 MiB ROM set against `unzip -o` of the same archive in the same run.
#include "BenchTiming.h"
#include "Corvane.h"
#include "Platform.h"
#include "ZipArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

using namespace Lanvo;
using Lanvo::Bench::Clock;

namespace {

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

QString standInPath()
{
    return QFileInfo(QStringLiteral(CORVANE_STANDIN_PATH)).canonicalFilePath();
}

// A game whose ROM set is the folder at Path.
TGame folderGame(const QString &path)
{
    TGame game;
    game.RomSet = QFileInfo(path).fileName();
    game.Location = rlDirectory;
    game.FoundDir = QFileInfo(path).path();
    return game;
}

void measureRunStart(int repetitions)
{
    const QString standIn = standInPath();
    if (standIn.isEmpty()) {
        std::printf("run start: stand-in emulator not built, skipped\n");
        return;
    }
    const QTemporaryDir dir;
    QFile::copy(standIn, dir.filePath(QStringLiteral("corvane.exe")));
    QFile::setPermissions(dir.filePath(QStringLiteral("corvane.exe")), QFile::ReadOwner | QFile::ExeOwner);
    QDir().mkpath(dir.filePath(QStringLiteral("roms/aof3")));
    QFile init(dir.filePath(QStringLiteral("corinit.dat")));
    init.open(QIODevice::WriteOnly);
    init.write(QByteArray(32, '\0'));
    init.close();

    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.SetInstallType(itHD);
    TGame game = folderGame(dir.filePath(QStringLiteral("roms/aof3")));
    emulator.CurrentGame = &game;
    Clock::time_point started;
    emulator.RunWindowHooks.Started = [&started] { started = Clock::now(); };

    double total = 0, whole = 0;
    for (int i = 0; i < repetitions; ++i) {
        const auto command = Clock::now();
        emulator.Run();
        whole += millisecondsBetween(command, Clock::now());
        total += millisecondsBetween(command, started);
    }
    std::printf("run command to emulator start: %.2f ms (whole run until the emulator ended: %.2f ms), mean of %d\n",
                total / repetitions, whole / repetitions, repetitions);
}

// Notes when a file appears, from another thread, while the main thread is busy in a run.
class AppearanceWatch
{
public:
    explicit AppearanceWatch(const QString &path)
        : m_path(QFile::encodeName(path).toStdString())
        , m_thread([this] { watch(); })
    {
    }
    ~AppearanceWatch() { appeared(); }
    AppearanceWatch(const AppearanceWatch &) = delete;
    AppearanceWatch &operator=(const AppearanceWatch &) = delete;

    // Waits for the thread to finish and gives the time the file appeared.
    Clock::time_point appeared()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_appeared;
    }

private:
    void watch()
    {
        std::error_code error;
        while (!m_stop && !std::filesystem::exists(m_path, error))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        m_appeared = Clock::now();
    }

    std::string m_path;
    std::atomic<bool> m_stop{false};
    Clock::time_point m_appeared;
    std::thread m_thread;
};

struct DosboxTimes
{
    double ToFirstInstruction = 0;
    double Whole = 0;
};

// The DOS stand-in creates DOSRUN.LOG first thing: its appearance is the program's first instruction.
DosboxTimes timeOneDosRun(const QString &log, const std::function<void()> &run)
{
    QFile::remove(log);
    const auto command = Clock::now();
    AppearanceWatch watch(log);
    run();
    const auto ended = Clock::now();
    return {millisecondsBetween(command, watch.appeared()), millisecondsBetween(command, ended)};
}

void measureDosboxStart(int repetitions)
{
    const QString dosbox = findProgram(QStringLiteral("dosbox"), QString());
    if (dosbox.isEmpty() || !QFile::exists(QStringLiteral(CORVANE_DOS_PATH))) {
        std::printf("DOSBox start: dosbox or the DOS stand-in is missing, skipped\n");
        return;
    }
    const QTemporaryDir dir;
    // A configuration of its own, and no window or sound device, as in the tests.
    qputenv("HOME", QFile::encodeName(dir.path()));
    qputenv("SDL_VIDEODRIVER", "dummy");
    qputenv("SDL_AUDIODRIVER", "dummy");
    const QString work = dir.filePath(QStringLiteral("work"));
    QDir().mkpath(dir.filePath(QStringLiteral("roms/aof3")));
    QDir().mkpath(work);
    QFile::copy(QStringLiteral(CORVANE_DOS_PATH), work + QStringLiteral("/corvane.exe"));
    const QString log = work + QStringLiteral("/DOSRUN.LOG");

    TCorvane emulator(nullptr, work);
    emulator.WorkDir = work;
    emulator.SetInstallType(itHD);
    TGame game = folderGame(dir.filePath(QStringLiteral("roms/aof3")));
    emulator.CurrentGame = &game;
    const QStringList bare = {QStringLiteral("-c"), QStringLiteral("mount c \"%1\"").arg(work), QStringLiteral("-c"),
                              QStringLiteral("mount d \"%1\"").arg(dir.filePath(QStringLiteral("roms"))),
                              QStringLiteral("-c"), QStringLiteral("c:"), QStringLiteral("-c"),
                              QStringLiteral("corvane.exe d:\\aof3 -v -s"), QStringLiteral("-c"), QStringLiteral("exit")};

    DosboxTimes ours, reference;
    for (int i = 0; i < repetitions; ++i) {
        const DosboxTimes run = timeOneDosRun(log, [&emulator] { emulator.Run(); });
        const DosboxTimes plain = timeOneDosRun(log, [&] {
            QProcess process;
            process.setStandardOutputFile(QProcess::nullDevice());
            process.start(dosbox, bare);
            process.waitForFinished(-1);
        });
        ours.ToFirstInstruction += run.ToFirstInstruction / repetitions;
        ours.Whole += run.Whole / repetitions;
        reference.ToFirstInstruction += plain.ToFirstInstruction / repetitions;
        reference.Whole += plain.Whole / repetitions;
    }
    std::printf("DOS program under DOSBox, run command to first instruction: %.1f ms (whole run %.1f ms) | bare "
                "dosbox -c: %.1f ms (whole %.1f ms) | ratio %.2f, mean of %d\n",
                ours.ToFirstInstruction, ours.Whole, reference.ToFirstInstruction, reference.Whole,
                ours.ToFirstInstruction / reference.ToFirstInstruction, repetitions);
}

// 64 MiB that compresses as a ROM set does: some structure, much noise.
void writeRomSet(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QRandomGenerator random(1998);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (int mib = 0; mib < 64; ++mib) {
        for (int i = 0; i < block.size(); ++i)
            block[i] = (i % 4 == 0) ? char(random.bounded(256)) : char(i / 64);
        file.write(block);
    }
}

void measureExtraction()
{
    const QTemporaryDir dir;
    writeRomSet(dir.filePath(QStringLiteral("big.p1")));
    QProcess zip;
    zip.setWorkingDirectory(dir.path());
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("big.zip"), QStringLiteral("big.p1")});
    if (!zip.waitForFinished(-1) || zip.exitCode() != 0) {
        std::printf("zip extraction: the zip tool is missing, skipped\n");
        return;
    }
    QFile::remove(dir.filePath(QStringLiteral("big.p1")));
    const QString archive = dir.filePath(QStringLiteral("big.zip"));
    const double megabytes = 64.0;

    QDir().mkpath(dir.filePath(QStringLiteral("ours")));
    auto start = Clock::now();
    ExtractArchive(archive, dir.filePath(QStringLiteral("ours")), nullptr);
    const double ours = millisecondsBetween(start, Clock::now());

    QDir().mkpath(dir.filePath(QStringLiteral("unzip")));
    QProcess unzip;
    start = Clock::now();
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-o"), QStringLiteral("-q"), archive, QStringLiteral("-d"),
                                          dir.filePath(QStringLiteral("unzip"))});
    unzip.waitForFinished(-1);
    const double reference = millisecondsBetween(start, Clock::now());
    std::printf("zip extraction of 64 MiB: ours %.1f ms (%.0f MiB/s) | unzip -o %.1f ms (%.0f MiB/s) | ratio %.2f\n",
                ours, megabytes / (ours / 1000), reference, megabytes / (reference / 1000), ours / reference);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("bench_launch: starting the emulator and extracting a zipped ROM set\n");
    measureRunStart(20);
    measureDosboxStart(5);
    measureExtraction();
    return 0;
}
