#pragma once

#include <QCursor>

namespace Lanvo {

// The pointing hand shown over link labels: a 32 x 32 picture written out in the source, so the
// program carries no cursor file. The hot spot is the tip of the index finger.
QCursor makeHandCursor();

inline constexpr int HandCursorSize = 32;
inline constexpr int HandCursorHotX = 11;
inline constexpr int HandCursorHotY = 1;

} // namespace Lanvo
