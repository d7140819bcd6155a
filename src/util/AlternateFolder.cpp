#include "AlternateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace Lanvo {

QString defaultAlternateDirectory()
{
    const QString cache = QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME"));
    const QString base = QDir::isAbsolutePath(cache) ? cache : QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(base + QStringLiteral("/lanvo"));
}

bool createPrivateDirectory(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString reached;
    for (const QString &name : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        reached += QLatin1Char('/') + name;
        // mkdir's mode is still cut by the umask, which can only take more away.
        if (::mkdir(QFile::encodeName(reached).constData(), S_IRWXU) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(absolute).isDir();
}

} // namespace Lanvo
