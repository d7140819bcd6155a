#pragma once

#include <QIcon>
#include <QImage>

namespace Lanvo {

// The browse buttons' small picture: an open folder, in an ordinary and a disabled state.
QImage makeBrowseGlyph(bool enabled);
QIcon makeBrowseIcon();

inline constexpr int BrowseGlyphSize = 16;

} // namespace Lanvo
