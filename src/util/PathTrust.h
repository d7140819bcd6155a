#pragma once

#include <QString>

namespace Lanvo {

// What stands against trusting a path; nothing when Path is empty.
struct TrustRefusal
{
    QString Path;   // the folder, file or link at fault, as the walk reached it
    QString Reason; // why, e.g. "can be written by other users"

    bool refused() const { return !Path.isEmpty(); }
    QString text() const { return refused() ? Path + QLatin1Char(' ') + Reason : QString(); }
};

// A folder Lanvo copies into or a program it runs is trusted only if its whole path is: from "/"
// down, every component (links followed, and each link itself) belongs to root or to this user and
// can be written by no one else, the group's write bit and access lists included. A root-owned
// sticky folder such as /tmp may be writable by all; the component below it must be the user's own.
// Each component is opened relative to the one above it without following links, so what is judged
// is what the next step descends into.
TrustRefusal checkPathTrust(const QString &path);

// The same for a name directly inside a folder that passed the check.
TrustRefusal checkPathTrust(const QString &folder, const QString &name);

// Makes Folder the current directory through the descriptor the check opened, so the folder entered
// is the one judged. Nothing is entered when it is refused.
TrustRefusal enterTrustedFolder(const QString &folder);

// Copies Source into Folder under Name, checking Folder again first: when it is refused, nothing is
// copied and the refusal is returned. The copy is written through the opened folder beside the
// target and renamed over it, readable and writable by the user alone (and executable when the
// source is), so it never reads as writable by others itself. Throws LanvoError when the copy fails:
// "Impossible d'ouvrir le fichier <source>" or "Impossible de créer le fichier <target>".
TrustRefusal copyIntoTrustedFolder(const QString &source, const QString &folder, const QString &name);

} // namespace Lanvo
