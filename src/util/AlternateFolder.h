#pragma once

#include <QString>

namespace Lanvo {

// The alternate folder holds the program that Lanvo runs, so on a machine shared by several users it
// must be one that no other user could have created first or can write into (see PathTrust.h).

// The default alternate folder, one per user: $XDG_CACHE_HOME/lanvo when that variable holds an
// absolute path, otherwise ~/.cache/lanvo.
QString defaultAlternateDirectory();

// Creates the folder with its missing parents, each readable, writable and searchable by its owner
// only: a parent made group-writable by the umask would make the folder untrusted.
bool createPrivateDirectory(const QString &path);

} // namespace Lanvo
