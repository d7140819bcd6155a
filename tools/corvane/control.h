// How a test or the demo steers one run of the stand-in emulator.
#pragma once

#include <filesystem>

namespace corvane {

struct Control
{
    int shots = 0;          // snapshots to write during the "play"
    long long sleepMs = 0;  // keeps the process alive, for long-run tests
    int exitCode = 0;
    bool crash = false;     // abort() once the log record is written
};

// Reads "shots=", "sleep_ms=", "exit=" and "crash=" from the control file (a missing file is
// fine), then lets CORVANE_SHOTS, CORVANE_SLEEP_MS, CORVANE_EXIT and CORVANE_CRASH override them.
Control loadControl(const std::filesystem::path &controlFile);

} // namespace corvane
