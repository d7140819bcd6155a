#include "AnyCaseFiles.h"

#include "DirectoryListing.h"
#include "FilesUtils.h"

#include <QFileInfo>

namespace Lanvo {

QString existingAnyCase(const QString &dir, const QString &name)
{
    const QString exact = joinPath(dir, name);
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    // Among several spellings the first in name order wins, so the choice does not depend on the
    // directory's order. Only the names are read: a folder of ROM sets may hold many thousands.
    QString first;
    for (QString &entry : directoryNames(dir)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && (first.isNull() || entry < first))
            first = std::move(entry);
    }
    return first.isNull() ? QString() : joinPath(dir, first);
}

QString pathAnyCase(const QString &dir, const QString &name)
{
    const QString found = existingAnyCase(dir, name);
    return found.isEmpty() ? joinPath(dir, name) : found;
}

} // namespace Lanvo
