#include "RomScan.h"

#include "FilesUtils.h"

namespace Lanvo {

namespace {

void probeDirectory(TGame &game, const QString &romDir)
{
    const QString candidate = joinPath(romDir, game.RomSet);
    if (directoryExists(candidate)) {
        game.Location = rlDirectory;
        game.FoundPath = candidate;
    }
}

void probeArchive(TGame &game, const QString &romDir)
{
    const QString candidate = joinPath(romDir, game.RomSet + QLatin1String(".zip"));
    if (fileExists(candidate)) {
        game.Location = rlZip;
        game.FoundPath = candidate;
    }
}

} // namespace

void ScanRomSet(TGame &game, const QString &romDir1, const QString &romDir2)
{
    game.Location = rlMissing;
    game.FoundPath.clear();
    // An empty name or one reaching outside the ROM directory would "find" the ROM directory itself
    // or another place: such a game is missing.
    if (isPlainFileName(game.RomSet)) {
        probeDirectory(game, romDir1);
        probeDirectory(game, romDir2);
        if (game.Location == rlMissing) {
            probeArchive(game, romDir1);
            probeArchive(game, romDir2);
        }
    }
    game.Available = game.Location != rlMissing;
}

} // namespace Lanvo
