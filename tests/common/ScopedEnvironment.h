#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace Lanvo::Test {

// Sets an environment variable for one test and puts back what was there, unsetting it when it
// was not set, so later tests of the same process see the environment they started with.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_saved(qgetenv(name))
    {
        qputenv(m_name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_wasSet)
            qputenv(m_name, m_saved);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *const m_name;
    const bool m_wasSet;
    const QByteArray m_saved;
};

} // namespace Lanvo::Test
