#include "OnAnotherThread.h"

#include <QString>
#include <QTest>

#include <thread>

using namespace Lanvo;

class TestOnAnotherThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aTaskRunsWholeWithOrWithoutAThread_data();
    void aTaskRunsWholeWithOrWithoutAThread();
};

namespace {

// std::async, except that a thread is refused when Refused says so, as a system out of threads does:
// like std::async, it has taken the task over by then.
struct LaunchRefusingThreads
{
    bool Refused;

    template<typename Task>
    auto operator()(std::launch policy, Task task) const
    {
        if (Refused && policy == std::launch::async)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::async(policy, std::move(task));
    }
};

} // namespace

void TestOnAnotherThread::aTaskRunsWholeWithOrWithoutAThread_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("onItsOwnThread");
    QTest::newRow("a thread") << false << true;
    QTest::newRow("no thread: run when asked for") << true << false;
}

void TestOnAnotherThread::aTaskRunsWholeWithOrWithoutAThread()
{
    QFETCH(bool, refused);
    QFETCH(bool, onItsOwnThread);
    // Not const: a captured const is copied where a launch moves the task.
    QString path = QStringLiteral("/home/user/roms/kof98.zip");
    std::thread::id ranOn;
    auto result = onAnotherThread([path, &ranOn] { return ranOn = std::this_thread::get_id(), path; },
                                  LaunchRefusingThreads{refused});
    QCOMPARE(result.get(), path); // what the task captured, even after a refused launch
    QCOMPARE(ranOn != std::this_thread::get_id(), onItsOwnThread);
}

QTEST_APPLESS_MAIN(TestOnAnotherThread)
#include "tst_onanotherthread.moc"
