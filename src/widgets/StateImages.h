#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

namespace Lanvo {

// The games list's state images, indexed by a game's location: 0 missing (a red triangle pointing
// right), 1 in a directory (a green triangle), 2 in a zip archive (a green Z beside a green triangle).
// 16 by 16 pixels each; a null image for any other index.
QImage stateImage(int index);

// What a screen reader says for a state image; empty for an unknown index.
QString stateImageText(int index);

constexpr int StateImageCount = 3;

// The state image of a game the user marked, followed by a small star: drawn as shapes at the scale it
// is painted at. FavouriteIconSize is its size at 1:1; the list's icon size must allow for it.
inline constexpr QSize FavouriteIconSize(28, 16);
QIcon favouriteStateIcon(int index);

} // namespace Lanvo
