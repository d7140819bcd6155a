#include "ScratchDialogSettings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace Lanvo {

namespace {

// Where QSettings keeps user-scope files on this platform unless told otherwise.
QString userSettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void setUserSettingsFolder(const QString &folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

const QString DialogSettingsFile = QStringLiteral("/QtProject.conf");

} // namespace

TScratchDialogSettings::TScratchDialogSettings()
{
    if (!m_scratch.isValid())
        return; // nowhere to put them: the dialog's own saving stands
    QFile::copy(userSettingsFolder() + DialogSettingsFile, m_scratch.path() + DialogSettingsFile);
    setUserSettingsFolder(m_scratch.path());
}

TScratchDialogSettings::~TScratchDialogSettings()
{
    if (m_scratch.isValid())
        setUserSettingsFolder(userSettingsFolder());
}

} // namespace Lanvo
