#include "HandCursor.h"

#include <QPixmap>

#include <array>
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

QImage handCursorFromPicture()
{
    QImage image(HandCursorSize, HandCursorSize, QImage::Format_ARGB32);
    for (int y = 0; y < HandCursorSize; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < HandCursorSize; ++x) {
            const char dot = HandPicture[static_cast<size_t>(y)][x];
            line[x] = dot == 'X' ? qRgb(0, 0, 0) : dot == 'o' ? qRgb(255, 255, 255) : qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

} // namespace

// The program has one hand cursor picture, however many link labels show it.
const QImage &handCursorImage()
{
    static const QImage image = handCursorFromPicture();
    return image;
}

QCursor makeHandCursor()
{
    return QCursor(QPixmap::fromImage(handCursorImage()), HandCursorHotX, HandCursorHotY);
}

} // namespace Lanvo
