#pragma once

#include <QString>

#include <vector>

namespace Lanvo {

// One entry of a directory as a stat() of its path would see it: links are followed, and an entry
// whose link leads nowhere is left out.
struct DirectoryEntry
{
    QString Name;
    bool IsDirectory = false;
};

// The entries of a directory read in one pass. Only a listing that answers exactly as a stat() of each
// joined path would is Complete; otherwise (the directory can't be opened, or its file system ignores
// letter case) the caller must ask the file system name by name. Searchable is false when no path inside
// the directory can be reached at all (missing, not a directory, or no search permission).
struct DirectoryListing
{
    bool Searchable = false;
    bool Complete = false;
    std::vector<DirectoryEntry> Entries;
    std::vector<QString> Unreached; // the names left out: links leading nowhere
};

// Names that are not valid UTF-8 are skipped: no file name the program builds can match them.
DirectoryListing listDirectory(const QString &path);

// Every name in a directory but "." and "..", whatever it is (dangling links included), in the
// directory's own order; nothing when it can't be read. Invalid UTF-8 names are skipped as above.
std::vector<QString> directoryNames(const QString &path);

} // namespace Lanvo
