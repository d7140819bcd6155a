#pragma once

#include <QRect>

class QFont;

namespace Lanvo {

// The fixed forms are laid out in pixels for an 8-point sans-serif font at 96 dots per inch, whose
// letters are 6 pixels wide on average and whose lines are 13 high. Under a larger font a form grows
// as one piece, frames and gaps with the controls, by the larger of the two ratios, as a designer's
// form is scaled to another font; under a smaller one it keeps its pixels.
class FormScale
{
public:
    explicit FormScale(const QFont &font);

    double factor() const { return m_factor; }

    // A length or a coordinate of the form.
    int operator()(int designed) const;
    // Edges are scaled rather than sizes, so that controls that touch or stay apart at the form's
    // font still do.
    QRect operator()(int left, int top, int width, int height) const;

private:
    double m_factor;
};

} // namespace Lanvo
