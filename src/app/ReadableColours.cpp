#include "ReadableColours.h"

#include <algorithm>
#include <cmath>

namespace Lanvo {

namespace {

double linear(double channel)
{
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor &first, const QColor &second)
{
    const double one = relativeLuminance(first), other = relativeLuminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

QColor readableColour(std::initializer_list<QColor> candidates, const QColor &background)
{
    QColor best;
    double bestContrast = 0;
    for (const QColor &candidate : candidates) {
        const double contrast = contrastRatio(candidate, background);
        if (contrast >= ReadableContrast)
            return candidate;
        if (contrast > bestContrast) {
            best = candidate;
            bestContrast = contrast;
        }
    }
    return best;
}

} // namespace Lanvo
