#pragma once

#include <QString>

#include <sys/resource.h>

namespace Lanvo::Test {

// A directory on a file system that can be made full: a small tmpfs mounted there when the test may
// mount one (as root, in a mount namespace of its own so nothing outlives the test), else the
// process's file-size limit (RLIMIT_FSIZE, with SIGXFSZ ignored so a write past it fails with an
// error instead of ending the test). Declare it after the QTemporaryDir that holds the directory.
class FullDisk
{
public:
    explicit FullDisk(const QString &directory);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isTmpfs() const { return m_mounted; }

    // From now on no file can grow by a single byte.
    void fill();
    // Space again, as before fill().
    void release();

private:
    QString m_directory;
    bool m_mounted = false;
    bool m_full = false;
    rlimit m_savedLimit{};
};

} // namespace Lanvo::Test
