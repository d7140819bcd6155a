#include "control.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {
namespace {

// Beyond this a typo would only fill the disk; no test needs more.
constexpr long long maxShots = 999;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<long long> parseNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// key=value lines; anything else (comments, blank lines) is skipped, the last value of a key wins.
std::map<std::string, std::string> readControlFile(const std::filesystem::path &file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key(trimmed(std::string_view(line).substr(0, equals)));
        values[key] = std::string(trimmed(std::string_view(line).substr(equals + 1)));
    }
    return values;
}

// The environment wins over the file; a value that is not a number counts as not given.
std::optional<long long> lookUp(const std::map<std::string, std::string> &fileValues,
                                const std::string &key, const char *envName)
{
    if (const char *env = std::getenv(envName)) {
        if (const auto value = parseNumber(env))
            return value;
        std::cerr << "corvane: ignoring " << envName << "=" << env << " (not a number)\n";
    }
    const auto it = fileValues.find(key);
    if (it == fileValues.end())
        return std::nullopt;
    if (const auto value = parseNumber(it->second))
        return value;
    std::cerr << "corvane: ignoring " << key << "=" << it->second << " (not a number)\n";
    return std::nullopt;
}

long long clamped(long long value, long long low, long long high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

Control loadControl(const std::filesystem::path &controlFile)
{
    const auto values = readControlFile(controlFile);
    Control control;
    if (const auto shots = lookUp(values, "shots", "CORVANE_SHOTS"))
        control.shots = static_cast<int>(clamped(*shots, 0, maxShots));
    if (const auto sleepMs = lookUp(values, "sleep_ms", "CORVANE_SLEEP_MS"))
        control.sleepMs = clamped(*sleepMs, 0, 24LL * 3600 * 1000);
    if (const auto exitCode = lookUp(values, "exit", "CORVANE_EXIT"))
        control.exitCode = static_cast<int>(clamped(*exitCode, 0, 255));
    if (const auto crash = lookUp(values, "crash", "CORVANE_CRASH"))
        control.crash = *crash != 0;
    return control;
}

} // namespace corvane
