#include "ArrowBitmaps.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace Lanvo {

namespace {

void setPixel(QImage &image, QPoint at, const QColor &colour)
{
    if (image.rect().contains(at))
        image.setPixelColor(at, colour);
}

// Distance along the minor axis after Step of Steps, rounded half away from the start.
int minorOffset(int step, int steps, int delta)
{
    const int magnitude = (2 * step * std::abs(delta) + steps) / (2 * steps);
    return delta < 0 ? -magnitude : magnitude;
}

QImage filledPicture(int size, const QColor &face)
{
    QImage picture(size, size, QImage::Format_RGB32);
    picture.fill(face);
    return picture;
}

} // namespace

int arrowSize(int textHeight)
{
    int size = textHeight - 6;
    if (size <= 0)
        return 0;
    if (size % 2 != 0)
        ++size;
    return size;
}

void drawLineExcludingEnd(QImage &image, QPoint from, QPoint to, const QColor &colour)
{
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int step = 0; step < steps; ++step) {
        const QPoint at = std::abs(dx) >= std::abs(dy)
            ? QPoint(from.x() + (dx < 0 ? -step : step), from.y() + minorOffset(step, steps, dy))
            : QPoint(from.x() + minorOffset(step, steps, dx), from.y() + (dy < 0 ? -step : step));
        setPixel(image, at, colour);
    }
}

QImage makeDownArrow(int size, const ArrowColours &colours)
{
    QImage picture = filledPicture(size, colours.Face);
    const int s = size;
    const int half = s / 2;
    drawLineExcludingEnd(picture, {half, s - 2}, {s - 1, 0}, colours.Shadow);
    setPixel(picture, {s - 1, 0}, colours.Shadow);
    drawLineExcludingEnd(picture, {s - 2, 0}, {0, 0}, colours.Highlight);
    drawLineExcludingEnd(picture, {0, 0}, {half - 1, s - 2}, colours.Highlight);
    setPixel(picture, {half - 1, s - 2}, colours.Highlight);
    return picture;
}

QImage makeUpArrow(int size, const ArrowColours &colours)
{
    QImage picture = filledPicture(size, colours.Face);
    const int s = size;
    const int half = s / 2;
    drawLineExcludingEnd(picture, {0, s - 1}, {half - 1, 0}, colours.Highlight);
    drawLineExcludingEnd(picture, {half, 0}, {s - 1, s - 1}, colours.Shadow);
    drawLineExcludingEnd(picture, {s - 1, s - 1}, {-1, s - 1}, colours.Shadow);
    setPixel(picture, {half, 0}, colours.Face);
    return picture;
}

ArrowBitmaps MakeArrowBitmaps(int textHeight, const ArrowColours &colours, bool reverse)
{
    const int size = arrowSize(textHeight);
    if (size == 0)
        return {};
    ArrowBitmaps arrows{makeUpArrow(size, colours), makeDownArrow(size, colours)};
    if (reverse)
        std::swap(arrows.Ascending, arrows.Descending);
    return arrows;
}

} // namespace Lanvo
