// Snapshot files, written the way the real emulator names them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvane {

// The ROM set name shown on a snapshot: the last component of the ROM set argument.
std::string romSetName(const std::string &romSetArgument);

// Writes `count` snapshots "shot<K>.bmp" into `shotsDir` (created when missing), taking for K
// the lowest free numbers from 1. `args` are the arguments after the program name; they are
// drawn on each picture. Returns the names of the files actually written.
std::vector<std::string> writeShots(const std::filesystem::path &shotsDir, int count,
                                    const std::vector<std::string> &args);

} // namespace corvane
