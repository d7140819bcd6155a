#pragma once

#include "Interfaces.h"
#include "LanvoError.h"

class QWidget;

namespace Lanvo {

// Message boxes of the platform's standard kinds and the hourglass pointer.
class QtPrompts : public IPrompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr);
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    PromptAnswer showMessage(PromptKind kind, const QString &text, PromptButtons buttons) override;
    void showBusyCursor() override;
    void restoreCursor() override;

private:
    QWidget *m_parent;
};

// Runs one event handler; a failure shows its message in the general error box.
template<typename Handler>
void runGuarded(IPrompts &prompts, Handler &&handler)
{
    try {
        handler();
    } catch (const LanvoError &error) {
        prompts.showMessage(PromptKind::Error, error.message(), PromptButtons::Ok);
    }
}

} // namespace Lanvo
