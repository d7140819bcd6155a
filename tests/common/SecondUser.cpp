#include "SecondUser.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace Lanvo::Test {

bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

SecondUser::SecondUser()
{
    if (::geteuid() != 0)
        return;
    m_name = QStringLiteral("lanvot%1").arg(QCoreApplication::applicationPid());
    // Tests run side by side: useradd fails while another one holds the password file's lock.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (runTool(QStringLiteral("useradd"), {QStringLiteral("--no-create-home"), QStringLiteral("--user-group"),
                                               QStringLiteral("--shell"), QStringLiteral("/usr/sbin/nologin"), m_name}))
            break;
        QThread::msleep(100);
    }
    if (const struct passwd *entry = ::getpwnam(m_name.toLatin1().constData())) {
        m_uid = entry->pw_uid;
        m_gid = entry->pw_gid;
    }
}

SecondUser::~SecondUser()
{
    if (!valid())
        return;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (runTool(QStringLiteral("userdel"), {m_name}))
            return;
        QThread::msleep(100);
    }
}

bool SecondUser::take(const QString &path) const
{
    return valid() && ::lchown(QFile::encodeName(path).constData(), m_uid, m_gid) == 0;
}

} // namespace Lanvo::Test
