#include "DosboxVersion.h"
#include "TestFakes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestDosboxVersion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void aSilentProgramIsKilledAtTheTimeLimit();
    void aNewStartForgetsThePreviousOne();
};

namespace {

// A stand-in DOSBox: a script that does what Body says.
QString makeProgram(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

void TestDosboxVersion::answers_data()
{
    QTest::addColumn<QByteArray>("body"); // empty: no program at all
    QTest::addColumn<QString>("version");
    QTest::newRow("banner after a blank line")
        << QByteArray("printf '\\nDOSBox version 0.74-3, copyright 2002-2019 DOSBox Team.\\n\\nmore\\n'")
        << "DOSBox version 0.74-3";
    QTest::newRow("another build's line, on the error output")
        << QByteArray("echo 'dosbox-other, version 0.80.1' >&2") << "dosbox-other, version 0.80.1";
    QTest::newRow("control characters are blanked") << QByteArray("printf 'v1\\033[2J\\r\\n'") << "v1 [2J";
    QTest::newRow("tells nothing") << QByteArray("exit 3") << "";
    QTest::newRow("not installed") << QByteArray() << "";
}

void TestDosboxVersion::answers()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, version);
    const QTemporaryDir dir;
    const QString program = body.isEmpty() ? dir.filePath("no-dosbox") : makeProgram(dir, "dosbox", body);
    DosboxVersionProbe probe;
    QSignalSpy answered(&probe, &DosboxVersionProbe::answered);
    probe.start(program);
    QVERIFY(answered.isEmpty()); // never waited for
    QVERIFY(answered.wait());
    QCOMPARE(answered.first().at(0).toString(), body.isEmpty() ? QString() : program);
    QCOMPARE(answered.first().at(1).toString(), version);
    QVERIFY(!answered.wait(100)); // once
}

void TestDosboxVersion::aSilentProgramIsKilledAtTheTimeLimit()
{
    const QTemporaryDir dir;
    const QString pidFile = dir.filePath("pid");
    const QString program = makeProgram(dir, "dosbox", "echo $$ > '" + pidFile.toUtf8() + "'; exec sleep 60");
    DosboxVersionProbe probe;
    QSignalSpy answered(&probe, &DosboxVersionProbe::answered);
    QElapsedTimer clock;
    clock.start();
    probe.start(program, std::chrono::milliseconds(300));
    QVERIFY(answered.wait(10000));
    QVERIFY(clock.elapsed() < 5000);
    QCOMPARE(answered.first().at(0).toString(), program);
    QCOMPARE(answered.first().at(1).toString(), QString());
    const QByteArray pid = readFile(pidFile).trimmed();
    QVERIFY(!pid.isEmpty());
    QTRY_VERIFY(!QFile::exists("/proc/" + pid + "/cmdline") || readFile("/proc/" + pid + "/cmdline").isEmpty());
}

// Another program chosen while the first is still asked: only the second one's answer comes.
void TestDosboxVersion::aNewStartForgetsThePreviousOne()
{
    const QTemporaryDir dir;
    const QString slow = makeProgram(dir, "slow", "exec sleep 1");
    const QString quick = makeProgram(dir, "quick", "echo quick");
    DosboxVersionProbe probe;
    QSignalSpy answered(&probe, &DosboxVersionProbe::answered);
    probe.start(slow);
    probe.start(quick);
    QVERIFY(answered.wait());
    QCOMPARE(answered.first().at(1).toString(), QStringLiteral("quick"));
    QVERIFY(!answered.wait(1500));
    probe.start(slow);
    probe.stop();
    QVERIFY(!answered.wait(1500));
    QCOMPARE(answered.size(), 1);
}

QTEST_GUILESS_MAIN(TestDosboxVersion)
#include "tst_dosboxversion.moc"
