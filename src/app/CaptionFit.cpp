#include "CaptionFit.h"

#include <QAbstractButton>
#include <QLabel>

#include <algorithm>
#include <limits>

namespace Lanvo {

bool isCaptioned(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return !button->text().isEmpty();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty() && !label->wordWrap();
    return false;
}

void fitCaptionsInRow(const QList<QWidget *> &row)
{
    int shift = 0;
    int clearFrom = std::numeric_limits<int>::min(); // where the previous control's needs end
    for (QWidget *control : row) {
        int left = control->x() + shift;
        if (left < clearFrom) {
            shift += clearFrom - left;
            left = clearFrom;
        }
        const bool captioned = isCaptioned(control);
        const int needed = captioned ? control->sizeHint().width() : control->width();
        control->setGeometry(left, control->y(), std::max(control->width(), needed), control->height());
        clearFrom = left + needed;
    }
}

} // namespace Lanvo
