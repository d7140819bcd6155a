// Stand-in for the emulator program, for tests and the demo. It plays no game: it records how it
// was started into corvane.log in its current directory (the work directory, where the real one
// works too), writes the snapshots it is told to write, and ends (or sleeps, or crashes) as its
// control file or environment asks.

#include "control.h"
#include "shots.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using InitBytes = std::array<std::optional<unsigned>, 2>;

std::string currentDirectory()
{
    std::error_code error;
    const fs::path cwd = fs::current_path(error);
    return error ? std::string() : cwd.string();
}

// Bytes 18 and 19 of the init file; either is absent when the file is missing or too short.
InitBytes readInitBytes(const fs::path &file)
{
    InitBytes bytes;
    std::ifstream in(file, std::ios::binary);
    if (!in || !in.seekg(18))
        return bytes;
    for (auto &byte : bytes) {
        const auto value = in.get();
        if (value == std::ifstream::traits_type::eof())
            break;
        byte = static_cast<unsigned>(value);
    }
    return bytes;
}

// A newline inside an argument would split the record; write it as the two characters "\n".
std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string byteText(const std::optional<unsigned> &byte)
{
    return byte ? std::to_string(*byte) : "none";
}

std::string formatRecord(const std::vector<std::string> &args, const std::string &cwd,
                         const InitBytes &bytes, const std::vector<std::string> &shots)
{
    std::string record = "run\n";
    for (const std::string &arg : args)
        record += "arg=" + escaped(arg) + "\n";
    record += "cwd=" + escaped(cwd) + "\n";
    record += "byte18=" + byteText(bytes[0]) + "\n";
    record += "byte19=" + byteText(bytes[1]) + "\n";
    std::string shotList;
    for (const std::string &shot : shots)
        shotList += (shotList.empty() ? "" : ",") + shot;
    record += "shots=" + shotList + "\nend\n";
    return record;
}

void appendLog(const fs::path &file, const std::string &record)
{
    // One write of the whole record, so runs that overlap do not interleave their lines.
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out.write(record.data(), static_cast<std::streamsize>(record.size()));
    out.close();
    if (!out)
        std::cerr << "corvane: cannot append to " << file << "\n";
}

int run(int argc, char **argv)
{
    const std::vector<std::string> args(argc > 1 ? argv + 1 : argv, argc > 1 ? argv + argc : argv);
    std::error_code error;
    const fs::path dir = fs::current_path(error);
    const corvane::Control control = corvane::loadControl(dir / "corvane.ctl");
    const InitBytes bytes = readInitBytes(dir / "corinit.dat");
    const std::vector<std::string> shots = corvane::writeShots(dir / "shots", control.shots, args);
    appendLog(dir / "corvane.log", formatRecord(args, currentDirectory(), bytes, shots));

    if (control.sleepMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(control.sleepMs));
    if (control.crash)
        std::abort();
    return control.exitCode;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception &e) {
        std::cerr << "corvane: " << e.what() << "\n";
        return 1;
    }
}
