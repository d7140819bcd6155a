#include "DirectoryListing.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace Lanvo {

namespace {

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

enum class EntryKind { Absent, Directory, Other };

EntryKind statKind(int dirFd, const char *name)
{
    struct stat info;
    if (::fstatat(dirFd, name, &info, 0) != 0)
        return EntryKind::Absent;
    return S_ISDIR(info.st_mode) ? EntryKind::Directory : EntryKind::Other;
}

// The type readdir reports when it is the type a stat would give; links and unknown types are asked once.
EntryKind entryKind(int dirFd, const dirent &entry)
{
    switch (entry.d_type) {
    case DT_DIR:
        return EntryKind::Directory;
    case DT_LNK:
    case DT_UNKNOWN:
        return statKind(dirFd, entry.d_name);
    default:
        return EntryKind::Other;
    }
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

QString swappedCase(const QString &name)
{
    const QString upper = name.toUpper();
    return upper != name ? upper : name.toLower();
}

// A file system that ignores letter case finds a name in another case than the one listed. One entry
// whose other-case spelling is not listed itself tells.
bool ignoresLetterCase(int dirFd, const std::vector<DirectoryEntry> &entries)
{
    QSet<QString> names; // filled only when a first spelling turns out to be listed too
    for (const DirectoryEntry &entry : entries) {
        const QString other = swappedCase(entry.Name);
        if (other == entry.Name)
            continue;
        if (names.isEmpty()) {
            const bool listed = std::any_of(entries.begin(), entries.end(),
                                            [&other](const DirectoryEntry &e) { return e.Name == other; });
            if (!listed)
                return statKind(dirFd, QFile::encodeName(other).constData()) != EntryKind::Absent;
            for (const DirectoryEntry &e : entries)
                names.insert(e.Name);
            continue;
        }
        if (!names.contains(other))
            return statKind(dirFd, QFile::encodeName(other).constData()) != EntryKind::Absent;
    }
    return false;
}

// Calls Take(entry, name) for each entry but "." and ".." whose name is valid UTF-8; false when the
// listing was cut short by an error.
template<typename Take>
bool forEachEntry(DIR *dir, Take take)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            return errno == 0;
        if (isDotOrDotDot(entry->d_name))
            continue;
        QString name = utf8.decode(QByteArrayView(entry->d_name, qsizetype(std::strlen(entry->d_name))));
        if (utf8.hasError()) {
            utf8.resetState();
            continue;
        }
        take(*entry, std::move(name));
    }
}

} // namespace

DirectoryListing listDirectory(const QString &path)
{
    DirectoryListing listing;
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info;
    // A stat of a path inside needs the directory to exist and to be searchable.
    if (encoded.isEmpty() || ::stat(encoded.constData(), &info) != 0 || !S_ISDIR(info.st_mode)
        || ::faccessat(AT_FDCWD, encoded.constData(), X_OK, AT_EACCESS) != 0)
        return listing;
    listing.Searchable = true;
    const DirHandle dir(::opendir(encoded.constData()));
    if (!dir)
        return listing; // searchable but not readable: only name-by-name questions work
    const int dirFd = ::dirfd(dir.get());
    const bool whole = forEachEntry(dir.get(), [&listing, dirFd](const dirent &entry, QString name) {
        const EntryKind kind = entryKind(dirFd, entry);
        if (kind != EntryKind::Absent)
            listing.Entries.push_back({std::move(name), kind == EntryKind::Directory});
        else
            listing.Unreached.push_back(std::move(name));
    });
    if (!whole) {
        listing.Entries.clear();
        listing.Unreached.clear();
        return listing; // a listing cut short answers nothing: ask name by name
    }
    listing.Complete = !ignoresLetterCase(dirFd, listing.Entries);
    return listing;
}

std::vector<QString> directoryNames(const QString &path)
{
    std::vector<QString> names;
    const QByteArray encoded = QFile::encodeName(path);
    const DirHandle dir(encoded.isEmpty() ? nullptr : ::opendir(encoded.constData()));
    if (!dir)
        return names;
    if (!forEachEntry(dir.get(), [&names](const dirent &, QString name) { names.push_back(std::move(name)); }))
        names.clear();
    return names;
}

} // namespace Lanvo
