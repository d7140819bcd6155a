#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

namespace Lanvo {

// The button colours the arrows are drawn in.
struct ArrowColours
{
    QColor Face;
    QColor Shadow;
    QColor Highlight;
};

struct ArrowBitmaps
{
    QImage Ascending; // null when the font is too small for arrows
    QImage Descending;
};

// Side of both arrow pictures for a text height: height - 6 rounded up to even, or 0 for none.
int arrowSize(int textHeight);

// Sets the pixels of a line from From to To: the starting pixel included, the end pixel excluded,
// pixels outside the image ignored. Ties on the minor axis step away from the start.
void drawLineExcludingEnd(QImage &image, QPoint from, QPoint to, const QColor &colour);

QImage makeDownArrow(int size, const ArrowColours &colours);
QImage makeUpArrow(int size, const ArrowColours &colours);

// Ascending is the up-pointing picture, Descending the down-pointing one; Reverse swaps them.
ArrowBitmaps MakeArrowBitmaps(int textHeight, const ArrowColours &colours, bool reverse);

} // namespace Lanvo
