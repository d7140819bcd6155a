#include "AnyCaseFiles.h"

#include "FilesUtils.h"

#include <QDir>
#include <QFileInfo>

namespace Lanvo {

QString existingAnyCase(const QString &dir, const QString &name)
{
    const QString exact = joinPath(dir, name);
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    // Sorted, so that among several spellings the choice does not depend on the directory's order.
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                        | QDir::NoDotAndDotDot,
                                                    QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return joinPath(dir, entry);
    }
    return {};
}

QString pathAnyCase(const QString &dir, const QString &name)
{
    const QString found = existingAnyCase(dir, name);
    return found.isEmpty() ? joinPath(dir, name) : found;
}

} // namespace Lanvo
