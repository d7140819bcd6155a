#pragma once

#include <QString>

#include <sys/types.h>

namespace Lanvo::Test {

// A real second user on this machine, made with useradd for the test that needs one and removed
// with its group when the object goes. Only root can make one; valid() tells whether it exists.
class SecondUser
{
public:
    SecondUser();
    ~SecondUser();
    SecondUser(const SecondUser &) = delete;
    SecondUser &operator=(const SecondUser &) = delete;

    bool valid() const { return m_uid != uid_t(-1); }
    const QString &name() const { return m_name; }
    uid_t uid() const { return m_uid; }
    gid_t gid() const { return m_gid; }

    // Gives Path (itself, not what a link leads to) to this user and his group.
    bool take(const QString &path) const;

private:
    QString m_name;
    uid_t m_uid = uid_t(-1);
    gid_t m_gid = gid_t(-1);
};

// Runs a program (setfacl, chmod ...) and tells whether it succeeded.
bool runTool(const QString &program, const QStringList &arguments);

} // namespace Lanvo::Test
