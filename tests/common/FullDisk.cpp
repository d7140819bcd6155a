#include "FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace Lanvo::Test {

namespace {

const char FillerDirectory[] = ".filler"; // hidden: QDir's listings of the tests leave it out

// Mounts stay in this process: a crash leaves nothing mounted behind.
bool privateMountNamespace()
{
    static const bool done = unshare(CLONE_NEWNS) == 0
                             && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return done;
}

void writeUntilFull(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    const QByteArray block(4096, '\0');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    // A last partial page, if the file system still takes single bytes.
    while (::write(fd, block.constData(), 1) > 0) {
    }
    ::close(fd);
}

} // namespace

FullDisk::FullDisk(const QString &directory)
    : m_directory(directory)
{
    QDir().mkpath(directory);
    m_mounted = geteuid() == 0 && privateMountNamespace()
                && mount("tmpfs", QFile::encodeName(directory).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                         "size=1m,mode=0755")
                       == 0;
}

FullDisk::~FullDisk()
{
    release();
    if (m_mounted)
        umount2(QFile::encodeName(m_directory).constData(), MNT_DETACH);
}

void FullDisk::fill()
{
    if (m_full)
        return;
    m_full = true;
    if (m_mounted) {
        QDir(m_directory).mkdir(QString::fromLatin1(FillerDirectory));
        writeUntilFull(m_directory + '/' + FillerDirectory + "/fill");
        return;
    }
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_savedLimit);
    rlimit none = m_savedLimit;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
}

void FullDisk::release()
{
    if (!m_full)
        return;
    m_full = false;
    if (m_mounted)
        QDir(m_directory + '/' + FillerDirectory).removeRecursively();
    else
        setrlimit(RLIMIT_FSIZE, &m_savedLimit);
}

} // namespace Lanvo::Test
