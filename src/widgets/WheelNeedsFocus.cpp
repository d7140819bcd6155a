#include "WheelNeedsFocus.h"

#include <QEvent>
#include <QWidget>

namespace Lanvo {

namespace {

class WheelNeedsFocus : public QObject
{
public:
    explicit WheelNeedsFocus(QWidget *control)
        : QObject(control)
        , m_control(control)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_control || event->type() != QEvent::Wheel || m_control->hasFocus())
            return false;
        event->ignore(); // so that the parent gets the turn
        return true;
    }

private:
    QWidget *m_control;
};

} // namespace

void ignoreWheelUnlessFocused(QWidget *control)
{
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelNeedsFocus(control));
}

} // namespace Lanvo
