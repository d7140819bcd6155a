#include "AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace Lanvo {

AfterFirstPaint::AfterFirstPaint(QWidget *widget, std::function<void()> then)
    : QObject(widget)
    , m_then(std::move(then))
{
    widget->installEventFilter(this);
}

// The paint event comes while the frame is drawn; a zero timer set then fires once it is shown.
bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            m_then();
            deleteLater();
        });
    }
    return false;
}

} // namespace Lanvo
