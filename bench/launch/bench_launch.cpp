// The time from the Run command to the emulator's start, and the zip extraction rate of a 64 MiB ROM
// set against `unzip -o` of the same archive in the same run.
#include "Corvane.h"
#include "ZipArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

using namespace Lanvo;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

QString standInPath()
{
    return QFileInfo(QStringLiteral(CORVANE_STANDIN_PATH)).canonicalFilePath();
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
    TGame game;
    game.RomSet = QStringLiteral("aof3");
    game.Location = rlDirectory;
    game.Available = true;
    game.FoundPath = dir.filePath(QStringLiteral("roms/aof3"));
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
    measureExtraction();
    return 0;
}
