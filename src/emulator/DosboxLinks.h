#pragma once

#include <QString>
#include <QTemporaryDir>

namespace Lanvo {

// The private folder through which DOSBox reaches every folder it mounts: links under short fixed
// names, so that no byte of a folder's name reaches DOSBox's command lines and no mounted path is
// long. The folder's name holds the process id of the Lanvo that made it, so that a later start can
// tell the folders a killed Lanvo left behind. It is removed with this object.
class DosboxLinks
{
public:
    // Throws LanvoError when the folder can't be made.
    DosboxLinks();
    DosboxLinks(const DosboxLinks &) = delete;
    DosboxLinks &operator=(const DosboxLinks &) = delete;

    const QString &path() const { return m_path; }

    // Makes Name (a fixed name below the folder, its own folders made as needed) a link to Target and
    // returns its path. Throws LanvoError when it can't.
    QString link(const QString &target, const QString &name) const;

    // The folder that holds link folders: the temporary folder, or "/tmp" when DOSBox could misread
    // the temporary folder's path or find it too long.
    static QString parentFolder();

    // Removes the link folders that Lanvos of this user left in Parent when they were killed: only
    // folders (never links) named as this class names them, owned by the user, whose maker no longer
    // runs. Returns how many were removed.
    static int removeStale(const QString &parent = parentFolder());

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace Lanvo
