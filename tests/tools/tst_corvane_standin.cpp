// The stand-in emulator is what every launch and harvest test observes, so its record and its
// snapshots must be exactly what it claims.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

struct Record
{
    QStringList args;
    QString cwd;
    QString byte18;
    QString byte19;
    QString shots;
};

struct RunResult
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::NormalExit;
    qint64 elapsedMs = 0;
};

// Reads the log strictly: any line out of place is reported, so format drift is caught.
QString parseLog(const QByteArray &bytes, QList<Record> *records)
{
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (lines.takeLast() != QString())
        return QStringLiteral("log does not end with a newline");
    int i = 0;
    const auto take = [&](const QString &prefix, QString *value) {
        if (i >= lines.size() || !lines.at(i).startsWith(prefix))
            return false;
        *value = lines.at(i++).mid(prefix.size());
        return true;
    };
    while (i < lines.size()) {
        Record record;
        QString rest;
        if (!take(QStringLiteral("run"), &rest) || !rest.isEmpty())
            return QStringLiteral("line %1: expected \"run\"").arg(i + 1);
        QString arg;
        while (take(QStringLiteral("arg="), &arg))
            record.args << arg;
        if (!take(QStringLiteral("cwd="), &record.cwd) || !take(QStringLiteral("byte18="), &record.byte18)
            || !take(QStringLiteral("byte19="), &record.byte19) || !take(QStringLiteral("shots="), &record.shots)
            || !take(QStringLiteral("end"), &rest) || !rest.isEmpty())
            return QStringLiteral("line %1: record out of order").arg(i + 1);
        records->append(record);
    }
    return {};
}

// Empty when the file is a 320x224, 24-bit, uncompressed, bottom-up bitmap that is not blank.
QString bmpProblem(const QByteArray &file)
{
    if (file.size() < 54 || !file.startsWith("BM"))
        return QStringLiteral("no bitmap header");
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(file.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(file.constData() + at); };
    const auto i32 = [&](int at) { return qFromLittleEndian<qint32>(file.constData() + at); };
    constexpr int rowSize = 320 * 3; // already a multiple of 4
    constexpr quint32 expectedSize = 54 + rowSize * 224;
    if (u32(2) != quint32(file.size()) || quint32(file.size()) != expectedSize)
        return QStringLiteral("size field %1, file %2, expected %3").arg(u32(2)).arg(file.size()).arg(expectedSize);
    if (u32(10) != 54 || u32(14) != 40)
        return QStringLiteral("pixel offset %1, info size %2").arg(u32(10)).arg(u32(14));
    if (i32(18) != 320 || i32(22) != 224 || u16(26) != 1 || u16(28) != 24 || u32(30) != 0)
        return QStringLiteral("%1x%2, %3 planes, %4 bpp, compression %5")
            .arg(i32(18)).arg(i32(22)).arg(u16(26)).arg(u16(28)).arg(u32(30));
    QSet<QByteArray> colours;
    for (int at = 54; at + 3 <= file.size() && colours.size() < 3; at += 3)
        colours.insert(file.mid(at, 3));
    if (colours.size() < 3)
        return QStringLiteral("picture shows nothing");
    return {};
}

// A work directory to start the stand-in in, and a copy of the stand-in in a folder of its own, as
// when the program lies beside the front-end: it works in its current directory, as the real one does.
class StandIn
{
public:
    StandIn()
    {
        m_ok = m_temp.isValid() && QDir(m_temp.path()).mkdir(QStringLiteral("work"))
            && QDir(m_temp.path()).mkdir(QStringLiteral("bin")) && QFile::copy(QStringLiteral(CORVANE_STANDIN_PATH), exe())
            && QFile::setPermissions(exe(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    bool isValid() const { return m_ok; }
    QString workDir() const { return m_temp.filePath(QStringLiteral("work")); }
    QString workPath(const QString &name) const { return workDir() + QLatin1Char('/') + name; }
    QString startDir() const { return QFileInfo(workDir()).canonicalFilePath(); }
    QString exe() const { return m_temp.filePath(QStringLiteral("bin/corvane.exe")); }

    bool write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(workPath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QByteArray read(const QString &name) const
    {
        QFile file(workPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    RunResult run(const QStringList &args, const QStringList &env = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : environment.keys()) {
            if (name.startsWith(QLatin1String("CORVANE_")))
                environment.remove(name);
        }
        for (const QString &pair : env)
            environment.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));

        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(startDir());
        QElapsedTimer timer;
        timer.start();
        process.start(exe(), args);
        RunResult result;
        if (!process.waitForFinished(30000))
            return result;
        result.elapsedMs = timer.elapsed();
        result.exitCode = process.exitCode();
        result.status = process.exitStatus();
        return result;
    }

    QList<Record> log() const
    {
        QList<Record> records;
        const QString problem = parseLog(read(QStringLiteral("corvane.log")), &records);
        if (!problem.isEmpty())
            qWarning("corvane.log: %s", qPrintable(problem));
        return problem.isEmpty() ? records : QList<Record>();
    }

    QStringList shotFiles() const
    {
        return QDir(workPath(QStringLiteral("shots"))).entryList(QDir::Files, QDir::Name);
    }

private:
    QTemporaryDir m_temp;
    bool m_ok = false;
};

QByteArray initFile(int size, char byte18, char byte19)
{
    QByteArray bytes(size, '\x5a'); // neighbours that are not zero, so an off-by-one shows
    if (size > 18)
        bytes[18] = byte18;
    if (size > 19)
        bytes[19] = byte19;
    return bytes;
}

} // namespace

class TestCorvaneStandIn : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordsArguments_data();
    void recordsArguments();
    void appendsOneRecordPerRun();
    void readsInitBytes_data();
    void readsInitBytes();
    void writesShots_data();
    void writesShots();
    void obeysControl_data();
    void obeysControl();
};

void TestCorvaneStandIn::recordsArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("logged");

    const QStringList switches = {QStringLiteral("/roms/abc"), QStringLiteral("-v"), QStringLiteral("-f3"),
                                  QStringLiteral("-vga"), QStringLiteral("-noanalyse"), QStringLiteral("-modex"),
                                  QStringLiteral("-s50"), QStringLiteral("-extra")};
    QTest::newRow("switches in order") << switches << switches;

    const QStringList shell = {QStringLiteral("/roms/my game"), QStringLiteral("say \"hi\""), QStringLiteral("it's"),
                               QStringLiteral("$HOME"), QStringLiteral("a;b|c&d"), QStringLiteral("`id`"),
                               QStringLiteral("*"), QStringLiteral("> out"), QStringLiteral("back\\slash"),
                               QStringLiteral("caf\u00e9")};
    QTest::newRow("quotes, spaces and shell characters") << shell << shell;

    QTest::newRow("empty word, newline, trailing space")
        << QStringList{QString(), QStringLiteral("one\ntwo"), QStringLiteral("trailing ")}
        << QStringList{QString(), QStringLiteral("one\\ntwo"), QStringLiteral("trailing ")};

    QTest::newRow("no arguments") << QStringList() << QStringList();
}

void TestCorvaneStandIn::recordsArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, logged);
    StandIn standIn;
    QVERIFY(standIn.isValid());
    QVERIFY(standIn.write(QStringLiteral("corinit.dat"), initFile(20, 2, '\x80')));

    const RunResult result = standIn.run(args);
    QCOMPARE(result.status, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 0);

    const QList<Record> records = standIn.log();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].args, logged);
    QCOMPARE(records[0].cwd, standIn.startDir());
    QCOMPARE(records[0].byte18, QStringLiteral("2"));
    QCOMPARE(records[0].byte19, QStringLiteral("128"));
    QCOMPARE(records[0].shots, QString());
    // Nothing was handed to a shell.
    QVERIFY(!QFile::exists(standIn.startDir() + QStringLiteral("/out")));
}

void TestCorvaneStandIn::appendsOneRecordPerRun()
{
    StandIn standIn;
    QVERIFY(standIn.isValid());
    QCOMPARE(standIn.run({QStringLiteral("/roms/first"), QStringLiteral("-v")}).exitCode, 0);
    QCOMPARE(standIn.run({QStringLiteral("/roms/second"), QStringLiteral("-s")}).exitCode, 0);

    const QList<Record> records = standIn.log();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].args, (QStringList{QStringLiteral("/roms/first"), QStringLiteral("-v")}));
    QCOMPARE(records[1].args, (QStringList{QStringLiteral("/roms/second"), QStringLiteral("-s")}));
}

void TestCorvaneStandIn::readsInitBytes_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("byte18");
    QTest::addColumn<QString>("byte19");

    QTest::newRow("missing") << false << QByteArray() << "none" << "none";
    QTest::newRow("18 bytes") << true << initFile(18, 0, 0) << "none" << "none";
    QTest::newRow("19 bytes") << true << initFile(19, 1, 0) << "1" << "none";
    QTest::newRow("european arcade") << true << initFile(20, 2, '\x80') << "2" << "128";
    QTest::newRow("japanese console, longer file") << true << initFile(64, 0, 0) << "0" << "0";
    QTest::newRow("high values stay unsigned") << true << initFile(20, '\xff', '\xfe') << "255" << "254";
}

void TestCorvaneStandIn::readsInitBytes()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(QString, byte18);
    QFETCH(QString, byte19);
    StandIn standIn;
    QVERIFY(standIn.isValid());
    if (present)
        QVERIFY(standIn.write(QStringLiteral("corinit.dat"), content));

    QCOMPARE(standIn.run({QStringLiteral("/roms/abc")}).exitCode, 0);
    const QList<Record> records = standIn.log();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].byte18, byte18);
    QCOMPARE(records[0].byte19, byte19);
    // The stand-in only reads the file, like the emulator must be assumed to.
    QCOMPARE(standIn.read(QStringLiteral("corinit.dat")), content);
}

void TestCorvaneStandIn::writesShots_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("requested");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("shots directory created") << QStringList() << 2
                                             << QStringList{QStringLiteral("shot1.bmp"), QStringLiteral("shot2.bmp")};
    QTest::newRow("after shot1") << QStringList{QStringLiteral("shot1.bmp")} << 1
                                 << QStringList{QStringLiteral("shot2.bmp")};
    QTest::newRow("fills the gap first") << QStringList{QStringLiteral("shot2.bmp"), QStringLiteral("abc1.bmp")} << 2
                                         << QStringList{QStringLiteral("shot1.bmp"), QStringLiteral("shot3.bmp")};
    QTest::newRow("none requested") << QStringList() << 0 << QStringList();
}

void TestCorvaneStandIn::writesShots()
{
    QFETCH(QStringList, existing);
    QFETCH(int, requested);
    QFETCH(QStringList, expected);
    StandIn standIn;
    QVERIFY(standIn.isValid());
    if (!existing.isEmpty())
        QVERIFY(QDir(standIn.workDir()).mkdir(QStringLiteral("shots")));
    for (const QString &name : existing)
        QVERIFY(standIn.write(QStringLiteral("shots/") + name, "kept"));
    QVERIFY(standIn.write(QStringLiteral("corvane.ctl"), "# steering\nshots=" + QByteArray::number(requested) + "\n"));

    QCOMPARE(standIn.run({QStringLiteral("/roms/abc"), QStringLiteral("-v")}).exitCode, 0);

    const QList<Record> records = standIn.log();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].shots, expected.join(QLatin1Char(',')));
    QStringList all = existing + expected;
    all.sort();
    QCOMPARE(standIn.shotFiles(), all);
    for (const QString &name : existing)
        QCOMPARE(standIn.read(QStringLiteral("shots/") + name), QByteArray("kept"));
    QSet<QByteArray> pictures;
    for (const QString &name : expected) {
        const QByteArray picture = standIn.read(QStringLiteral("shots/") + name);
        const QString problem = bmpProblem(picture);
        QVERIFY2(problem.isEmpty(), qPrintable(name + QStringLiteral(": ") + problem));
        pictures.insert(picture);
    }
    // Each shot shows its own number.
    QCOMPARE(pictures.size(), expected.size());
}

void TestCorvaneStandIn::obeysControl_data()
{
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("crashes");
    QTest::addColumn<int>("shots");
    QTest::addColumn<int>("minMs");

    QTest::newRow("defaults") << QByteArray() << QStringList() << 0 << false << 0 << 0;
    QTest::newRow("exit code from file") << QByteArray("exit=3\n") << QStringList() << 3 << false << 0 << 0;
    QTest::newRow("environment wins")
        << QByteArray("exit=3\nshots=2\n") << QStringList{QStringLiteral("CORVANE_EXIT=7"), QStringLiteral("CORVANE_SHOTS=0")}
        << 7 << false << 0 << 0;
    QTest::newRow("environment alone") << QByteArray() << QStringList{QStringLiteral("CORVANE_SHOTS=1")}
                                       << 0 << false << 1 << 0;
    QTest::newRow("crash from file") << QByteArray("crash=1\nshots=1\n") << QStringList() << 0 << true << 1 << 0;
    QTest::newRow("crash from environment") << QByteArray() << QStringList{QStringLiteral("CORVANE_CRASH=1")}
                                            << 0 << true << 0 << 0;
    QTest::newRow("crash switched off by environment")
        << QByteArray("crash=1\n") << QStringList{QStringLiteral("CORVANE_CRASH=0")} << 0 << false << 0 << 0;
    QTest::newRow("sleeps") << QByteArray("sleep_ms=300\n") << QStringList() << 0 << false << 0 << 300;
    QTest::newRow("sleep from environment") << QByteArray() << QStringList{QStringLiteral("CORVANE_SLEEP_MS=200")}
                                            << 0 << false << 0 << 200;
    QTest::newRow("windows line ends") << QByteArray("shots=1\r\nexit=4\r\n") << QStringList() << 4 << false << 1 << 0;
    QTest::newRow("odd values ignored")
        << QByteArray("shots=lots\nexit=\ncrash=maybe\nnot a setting\n=5\n") << QStringList{QStringLiteral("CORVANE_EXIT=x")}
        << 0 << false << 0 << 0;
    QTest::newRow("bad environment falls back to file")
        << QByteArray("shots=1\n") << QStringList{QStringLiteral("CORVANE_SHOTS=-")} << 0 << false << 1 << 0;
    QTest::newRow("negative count writes nothing") << QByteArray("shots=-3\n") << QStringList() << 0 << false << 0 << 0;
}

void TestCorvaneStandIn::obeysControl()
{
    QFETCH(QByteArray, control);
    QFETCH(QStringList, env);
    QFETCH(int, exitCode);
    QFETCH(bool, crashes);
    QFETCH(int, shots);
    QFETCH(int, minMs);
    StandIn standIn;
    QVERIFY(standIn.isValid());
    if (!control.isEmpty())
        QVERIFY(standIn.write(QStringLiteral("corvane.ctl"), control));

    const RunResult result = standIn.run({QStringLiteral("/roms/abc")}, env);
    QCOMPARE(result.status, crashes ? QProcess::CrashExit : QProcess::NormalExit);
    if (!crashes)
        QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.elapsedMs >= minMs, qPrintable(QString::number(result.elapsedMs)));
    QCOMPARE(standIn.shotFiles().size(), shots);
    // Even a crashing run leaves its complete record.
    const QList<Record> records = standIn.log();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].shots.isEmpty() ? 0 : records[0].shots.split(QLatin1Char(',')).size(), shots);
}

QTEST_APPLESS_MAIN(TestCorvaneStandIn)
#include "tst_corvane_standin.moc"
