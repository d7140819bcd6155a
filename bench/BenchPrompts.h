#pragma once

#include "Interfaces.h"

#include <cstdio>

namespace Lanvo::Bench {

// Message boxes would wait for a user: a benchmark prints them and answers Ignore.
class SilentPrompts : public IPrompts
{
public:
    PromptAnswer showMessage(PromptKind, const QString &text, PromptButtons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return PromptAnswer::Ignore;
    }
    void showBusyCursor() override {}
    void restoreCursor() override {}
};

} // namespace Lanvo::Bench
