#pragma once

#include <QColor>

#include <initializer_list>

namespace Lanvo {

// The contrast a text needs against its background to be read by most people with low vision.
inline constexpr double ReadableContrast = 4.5;

// The luminance of an sRGB colour, from 0 (black) to 1 (white), as the accessibility guidelines
// measure it.
double relativeLuminance(const QColor &colour);

// From 1 (no contrast) to 21 (black on white), whichever colour is lighter.
double contrastRatio(const QColor &first, const QColor &second);

// The first candidate that stands out from the background by ReadableContrast, else the candidate
// that stands out most.
QColor readableColour(std::initializer_list<QColor> candidates, const QColor &background);

} // namespace Lanvo
