#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace Lanvo {

// Calls Then once, after the first frame in which Widget was painted has been drawn: work that frame
// does not need waits until it is on screen. Then is not called if Widget goes first.
class AfterFirstPaint : public QObject
{
    Q_OBJECT

public:
    AfterFirstPaint(QWidget *widget, std::function<void()> then);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_then;
};

} // namespace Lanvo
