#include "AnyCaseFiles.h"

#include "DirectoryListing.h"
#include "FilesUtils.h"

#include <QFileInfo>

namespace Lanvo {

namespace {

// Among several spellings the first in name order wins, so the choice does not depend on the
// directory's order.
class SpellingChoice
{
public:
    explicit SpellingChoice(const QString &name)
        : m_name(name)
    {
    }

    void consider(const QString &entry)
    {
        if (entry.size() == m_name.size() && entry.compare(m_name, Qt::CaseInsensitive) == 0
            && (m_first.isNull() || entry < m_first))
            m_first = entry;
    }

    QString pathIn(const QString &dir) const { return m_first.isNull() ? QString() : joinPath(dir, m_first); }

private:
    const QString &m_name;
    QString m_first;
};

} // namespace

QString existingAnyCase(const QString &dir, const QString &name)
{
    const QString exact = joinPath(dir, name);
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    // Only the names are read: a folder of ROM sets may hold many thousands.
    SpellingChoice choice(name);
    for (const QString &entry : directoryNames(dir))
        choice.consider(entry);
    return choice.pathIn(dir);
}

QString existingAnyCase(const QString &dir, const DirectoryListing &listing, const QString &name)
{
    SpellingChoice choice(name);
    for (const DirectoryEntry &entry : listing.Entries) {
        if (entry.Name == name)
            return joinPath(dir, name);
        choice.consider(entry.Name);
    }
    for (const QString &unreached : listing.Unreached) {
        if (unreached == name)
            return joinPath(dir, name);
        choice.consider(unreached);
    }
    return choice.pathIn(dir);
}

QString pathAnyCase(const QString &dir, const QString &name)
{
    const QString found = existingAnyCase(dir, name);
    return found.isEmpty() ? joinPath(dir, name) : found;
}

} // namespace Lanvo
