#include "FormScale.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace Lanvo {

namespace {

constexpr double DesignedLetterWidth = 6;
constexpr double DesignedLineHeight = 13;

double factorFor(const QFont &font)
{
    const QFontMetricsF metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double letterWidth = metrics.horizontalAdvance(letters) / letters.size();
    return std::max({1.0, letterWidth / DesignedLetterWidth, metrics.height() / DesignedLineHeight});
}

} // namespace

FormScale::FormScale(const QFont &font)
    : m_factor(factorFor(font))
{
}

int FormScale::operator()(int designed) const
{
    return int(std::lround(designed * m_factor));
}

QRect FormScale::operator()(int left, int top, int width, int height) const
{
    const int x = (*this)(left);
    const int y = (*this)(top);
    return {x, y, (*this)(left + width) - x, (*this)(top + height) - y};
}

} // namespace Lanvo
