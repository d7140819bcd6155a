#include "shots.h"

#include "bitmap.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>
#include <string_view>
#include <system_error>

namespace corvane {
namespace {

constexpr int shotWidth = 320;
constexpr int shotHeight = 224;
constexpr int margin = 12;
constexpr int textScale = 2;
constexpr int lineHeight = 18;
constexpr int bigScale = 4;
constexpr Rgb background = {16, 20, 32};
constexpr Rgb textColour = {220, 224, 232};
constexpr Rgb labelColour = {128, 140, 160};

// A different accent per shot number, so consecutive shots are told apart at a glance.
Rgb accentFor(int number)
{
    constexpr std::array<Rgb, 6> palette = {
        Rgb{232, 80, 64}, Rgb{240, 184, 48}, Rgb{96, 200, 96},
        Rgb{64, 176, 232}, Rgb{168, 112, 232}, Rgb{232, 112, 184},
    };
    return palette[static_cast<std::size_t>(number - 1) % palette.size()];
}

// Splits into lines of at most maxChars characters (UTF-8 sequences kept whole); stops at maxLines.
std::vector<std::string> wrapped(std::string_view text, int maxChars, int maxLines)
{
    std::vector<std::string> lines;
    std::string line;
    int chars = 0;
    for (const char c : text) {
        const bool startsChar = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (startsChar && chars == maxChars) {
            lines.push_back(line);
            if (static_cast<int>(lines.size()) == maxLines)
                return lines;
            line.clear();
            chars = 0;
        }
        line.push_back(c);
        chars += startsChar ? 1 : 0;
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    return lines;
}

std::string joinedSwitches(const std::vector<std::string> &args)
{
    std::string joined;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!joined.empty())
            joined += ' ';
        joined += args[i];
    }
    return joined.empty() ? "(none)" : joined;
}

Canvas drawShot(const std::vector<std::string> &args, int number)
{
    Canvas canvas(shotWidth, shotHeight, background);
    const Rgb accent = accentFor(number);
    const int maxChars = (shotWidth - 2 * margin) / Canvas::advance(textScale);
    const int bigTop = shotHeight - margin - Canvas::glyphHeight * bigScale;

    // Border and a frame line so the picture's edges are visible on a dark panel.
    canvas.fillRect(0, 0, shotWidth, 4, accent);
    canvas.fillRect(0, shotHeight - 4, shotWidth, 4, accent);
    canvas.fillRect(0, 0, 4, shotHeight, accent);
    canvas.fillRect(shotWidth - 4, 0, 4, shotHeight, accent);

    int y = margin;
    canvas.drawText(margin, y, "Corvane stand-in", textScale, accent);
    y += lineHeight + 4;
    canvas.drawText(margin, y, "ROM set:", textScale, labelColour);
    y += lineHeight;
    const std::string name = args.empty() ? std::string() : romSetName(args.front());
    for (const std::string &line : wrapped(name.empty() ? "(none)" : name, maxChars, 2)) {
        canvas.drawText(margin, y, line, textScale, textColour);
        y += lineHeight;
    }
    canvas.drawText(margin, y, "Switches:", textScale, labelColour);
    y += lineHeight;
    const int linesLeft = std::max(1, (bigTop - 4 - y) / lineHeight);
    for (const std::string &line : wrapped(joinedSwitches(args), maxChars, linesLeft)) {
        canvas.drawText(margin, y, line, textScale, textColour);
        y += lineHeight;
    }
    canvas.drawText(margin, bigTop, "Shot " + std::to_string(number), bigScale, accent);
    return canvas;
}

bool writeFile(const std::filesystem::path &file, const std::string &bytes)
{
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (out)
            return true;
    }
    // A half-written bitmap would be harvested as if it were a real snapshot.
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return false;
}

} // namespace

std::string romSetName(const std::string &romSetArgument)
{
    // Both separators: the argument may come from a front-end that still writes "\".
    const auto end = romSetArgument.find_last_not_of("/\\");
    if (end == std::string::npos)
        return romSetArgument;
    const auto separator = romSetArgument.find_last_of("/\\", end);
    const auto start = separator == std::string::npos ? 0 : separator + 1;
    return romSetArgument.substr(start, end - start + 1);
}

std::vector<std::string> writeShots(const std::filesystem::path &shotsDir, int count,
                                    const std::vector<std::string> &args)
{
    std::vector<std::string> written;
    if (count <= 0)
        return written;
    std::error_code error;
    std::filesystem::create_directories(shotsDir, error);
    if (error) {
        std::cerr << "corvane: cannot create " << shotsDir << ": " << error.message() << "\n";
        return written;
    }
    int number = 1;
    for (int i = 0; i < count; ++i) {
        std::string name;
        // Lowest free number, like the real program: after a harvest it starts at 1 again.
        for (;; ++number) {
            name = "shot" + std::to_string(number) + ".bmp";
            std::error_code ignored;
            if (!std::filesystem::exists(shotsDir / name, ignored))
                break;
        }
        if (writeFile(shotsDir / name, drawShot(args, number).toBmp()))
            written.push_back(name);
        else
            std::cerr << "corvane: cannot write " << (shotsDir / name) << "\n";
        ++number;
    }
    return written;
}

} // namespace corvane
