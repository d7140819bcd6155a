#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run on a broken invariant, naming it: the abort makes libFuzzer keep the input.
#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::lanvoFuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void lanvoFuzzCheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}
