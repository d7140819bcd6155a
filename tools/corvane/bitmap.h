// A small RGB canvas with a built-in 5x7 font, saved as a 24-bit Windows bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct Rgb
{
    std::uint8_t r, g, b;
};

class Canvas
{
public:
    Canvas(int width, int height, Rgb background);

    int width() const { return m_width; }
    int height() const { return m_height; }

    void fillRect(int x, int y, int w, int h, Rgb colour);
    // Draws upper-case text (lower case is folded); characters without a glyph become boxes.
    // Returns the x just after the last character.
    int drawText(int x, int y, std::string_view text, int scale, Rgb colour);

    // Whole file image: bottom-up rows of blue-green-red, each padded to 4 bytes.
    std::string toBmp() const;

    static constexpr int glyphWidth = 5;
    static constexpr int glyphHeight = 7;
    // One column of space between characters.
    static constexpr int advance(int scale) { return (glyphWidth + 1) * scale; }

private:
    void setPixel(int x, int y, Rgb colour);

    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels; // top-down, row by row
};

} // namespace corvane
