#pragma once

#include "Emulators.h"

namespace Lanvo {

// Looks for the game's ROM set in the two ROM directories and sets Location, FoundPath and Available.
// A directory in either ROM directory wins over an archive; between two finds of one kind the second
// ROM directory wins.
void ScanRomSet(TGame &game, const QString &romDir1, const QString &romDir2);

} // namespace Lanvo
