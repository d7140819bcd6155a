#pragma once

#include <QImage>
#include <QString>

namespace Lanvo {

// The games list's state images, indexed by a game's location: 0 missing (a red triangle pointing
// right), 1 in a directory (a green triangle), 2 in a zip archive (a green Z beside a green triangle).
// 16 by 16 pixels each; a null image for any other index.
QImage stateImage(int index);

// What a screen reader says for a state image; empty for an unknown index.
QString stateImageText(int index);

constexpr int StateImageCount = 3;

} // namespace Lanvo
