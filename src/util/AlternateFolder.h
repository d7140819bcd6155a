#pragma once

#include <QString>

namespace Lanvo {

// The alternate folder holds the program that Lanvo runs, so on a machine shared by several users it
// must be one that no other user could have created first or can write into.

// The default alternate folder, one per user: $XDG_CACHE_HOME/lanvo when that variable holds an
// absolute path, otherwise ~/.cache/lanvo.
QString defaultAlternateDirectory();

// Creates the folder, with its missing parents, readable and writable by its owner only.
bool createPrivateDirectory(const QString &path);

// Empty when the alternate folder and every entry directly in it belong to this user (or to the
// system's administrator) and no one else may write them. Otherwise the message that refuses it.
QString alternateFolderRefusal(const QString &folder);

} // namespace Lanvo
