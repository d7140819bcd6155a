#include "HandCursor.h"

#include <QBitmap>

#include <array>
#include <cstring>
#include <string>

namespace Lanvo {

namespace {

// Index finger raised, three fingers folded on the palm, thumb on the left: 'X' is the black outline,
// 'o' the white inside, '.' see-through. Written out rather than drawn, it costs the start next to nothing.
constexpr std::array<const char *, HandCursorSize> HandPicture = {
    "...........XX...................",
    "..........XooX..................",
    ".........XooooX.................",
    ".........XooooX.................",
    ".........XooooX.................",
    ".........XooooX.................",
    ".........XooooX.................",
    ".........XooooX.................",
    ".........XooooX.................",
    ".........XooooXXXX..............",
    ".........XooooXoooXXXX..........",
    ".........XooooXoooXoooXXXX......",
    ".........XooooXoooXoooXoooX.....",
    "...XXX...XooooXoooXoooXoooX.....",
    "..XoooX..XooooooooXoooXoooX.....",
    "..XooooX.XooooooooXoooXoooX.....",
    "...XooooXXooooooooXoooXoooX.....",
    "...XooooooooooooooXoooXoooX.....",
    "....XoooooooooooooooooooooX.....",
    ".....XooooooooooooooooooooX.....",
    "......XoooooooooooooooooooX.....",
    "......XoooooooooooooooooooX.....",
    ".......XooooooooooooooooooX.....",
    "........XoooooooooooooooooX.....",
    ".........XooooooooooooooooX.....",
    ".........XooooooooooooooooX.....",
    "..........XooooooooooooooX......",
    "...........XXXXXXXXXXXXXX.......",
    "................................",
    "................................",
    "................................",
    "................................"
};

constexpr bool everyLineIsWhole()
{
    for (const char *line : HandPicture) {
        if (std::char_traits<char>::length(line) != HandCursorSize)
            return false;
    }
    return true;
}
static_assert(everyLineIsWhole(), "each line of the hand holds one dot per pixel");

// One bit per pixel, least significant bit first, set where the picture holds one of Dots.
QBitmap bitsOf(const char *dots)
{
    constexpr int bytesPerLine = HandCursorSize / 8;
    std::array<uchar, HandCursorSize * bytesPerLine> bits{};
    for (int y = 0; y < HandCursorSize; ++y) {
        for (int x = 0; x < HandCursorSize; ++x) {
            if (std::strchr(dots, HandPicture[static_cast<size_t>(y)][x]))
                bits[static_cast<size_t>(y * bytesPerLine + x / 8)] |= static_cast<uchar>(1u << (x % 8));
        }
    }
    return QBitmap::fromData(QSize(HandCursorSize, HandCursorSize), bits.data(), QImage::Format_MonoLSB);
}

} // namespace

// Black and white only, the hand is a bitmap and a mask: a cursor made from a colour picture would be
// reduced to them anyway, at a cost that every start paid twice, once per link label of the About box.
QCursor makeHandCursor()
{
    return QCursor(bitsOf("X"), bitsOf("Xo"), HandCursorHotX, HandCursorHotY);
}

} // namespace Lanvo
