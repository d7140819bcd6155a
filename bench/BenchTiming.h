#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace Lanvo::Bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The middle of the samples (the upper one of an even count); 0 without any.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace Lanvo::Bench
