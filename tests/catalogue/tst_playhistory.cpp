#include "FullDisk.h"
#include "HistoryLoad.h"
#include "PlayHistory.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestPlayHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsALine_data();
    void readsALine();
    void readsEveryDateAsTheCalendarHasIt();
    void unusableLinesAreKeptByteForByte();
    void playsAndFavouritesAreCounted();
    void everyLineOfALongFileIsFound();
    void aSetIsOneLineWhateverItsLetters_data();
    void aSetIsOneLineWhateverItsLetters();
    void missingFileStartsEmptyAndIsCreated();
    void fileThatCantBeReadIsNeverReplaced_data();
    void fileThatCantBeReadIsNeverReplaced();
    void fullDiskKeepsTheOldFile();
    void loadOnAThreadOfItsOwn_data();
    void loadOnAThreadOfItsOwn();
};

namespace {

QDateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// The bytes of a literal that may hold NUL bytes.
template<size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QString historyIn(const QTemporaryDir &dir)
{
    return dir.filePath(QStringLiteral("lanvo/PLAYED.CSV"));
}

} // namespace

void TestPlayHistory::readsALine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("romSet"); // empty: the line is not one Lanvo can use
    QTest::addColumn<qint64>("times");
    QTest::addColumn<QDateTime>("last");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("favourite");

    QTest::newRow("played") << QByteArray("kof98;3;2026-02-28 23:59:58;4800;0") << "kof98" << qint64(3)
                            << at(2026, 2, 28, 23, 59, 58) << qint64(4800) << false;
    QTest::newRow("marked, never played") << QByteArray("aof3;0;;0;1") << "aof3" << qint64(0) << QDateTime()
                                          << qint64(0) << true;
    QTest::newRow("blanks around fields") << QByteArray(" mslug ; 1 ;1999-12-31 00:00:00; 61 ;1") << "mslug"
                                          << qint64(1) << at(1999, 12, 31, 0, 0, 0) << qint64(61) << true;
    QTest::newRow("tabs and blanks around every field, the time among them")
        << QByteArray("\tmslug\t; 1\t;\t1999-12-31 00:00:00 ;61\t; 0 ") << "mslug" << qint64(1)
        << at(1999, 12, 31, 0, 0, 0) << qint64(61) << false;
    QTest::newRow("blanks in the empty time") << QByteArray("aof3;0; \t ;0;1") << "aof3" << qint64(0) << QDateTime()
                                              << qint64(0) << true;
    QTest::newRow("leading zeros") << QByteArray("z;007;;0010;0") << "z" << qint64(7) << QDateTime() << qint64(10)
                                   << false;
    QTest::newRow("the largest count") << QByteArray("big;9223372036854775807;;0;0") << "big"
                                       << std::numeric_limits<qint64>::max() << QDateTime() << qint64(0) << false;
    QTest::newRow("before 1970") << QByteArray("old;1;1969-07-20 20:17:40;5;0") << "old" << qint64(1)
                                 << at(1969, 7, 20, 20, 17, 40) << qint64(5) << false;
    QTest::newRow("leap day") << QByteArray("ld;1;2024-02-29 23:59:59;0;0") << "ld" << qint64(1)
                              << at(2024, 2, 29, 23, 59, 59) << qint64(0) << false;
    QTest::newRow("leap day of a fourth century") << QByteArray("ld;1;2000-02-29 00:00:00;0;0") << "ld" << qint64(1)
                                                  << at(2000, 2, 29, 0, 0, 0) << qint64(0) << false;
    QTest::newRow("first day of year 1") << QByteArray("y1;1;0001-01-01 00:00:00;0;0") << "y1" << qint64(1)
                                         << at(1, 1, 1, 0, 0, 0) << qint64(0) << false;
    QTest::newRow("last day of year 9999") << QByteArray("y9;1;9999-12-31 23:59:59;0;0") << "y9" << qint64(1)
                                           << at(9999, 12, 31, 23, 59, 59) << qint64(0) << false;
    QTest::newRow("bytes of another code page") << QByteArray("caf\xe9;2;;9;0") << QString::fromUtf8("café")
                                                << qint64(2) << QDateTime() << qint64(9) << false;
    for (const char *unusable : {"", "kof98", "kof98;1;;0", "kof98;1;;0;0;extra", ";1;;0;0", "kof98;-1;;0;0",
                                 "kof98;x;;0;0", "kof98;1;;0;2", "kof98;1;2026-02-30 10:00:00;0;0",
                                 "kof98;1;2026-1-5 10:00:00;0;0", "kof98;1;2026-01-05 24:00:00;0;0",
                                 "kof98;99999999999999999999;;0;0", "kof98;1;1900-02-29 10:00:00;0;0",
                                 "kof98;1;2023-02-29 10:00:00;0;0", "kof98;1;0000-12-31 10:00:00;0;0",
                                 "kof98;1;2026-04-31 10:00:00;0;0", "kof98;1;2026-13-01 10:00:00;0;0",
                                 "kof98;1;2026-00-10 10:00:00;0;0", "kof98;1;2026-01-00 10:00:00;0;0",
                                 "kof98;1;2026-01-05 10:60:00;0;0", "kof98;1;2026-01-05 10:00:60;0;0",
                                 "kof98;1 2;;0;0", "kof98;1;;;0", "kof98;1;;0;", "kof98;1;;0;0 1", "kof98;1;;0;01",
                                 "kof98;1;2026-01-05 10:00:00x;0;0", "kof98;1;2026-01-05 10:00:0;0;0",
                                 "kof98;1;2026-01-05 10:00:00", "kof98;1;;0", "kof98;9223372036854775808;;0;0",
                                 " \t;1;;0;0"})
        QTest::newRow(*unusable ? unusable : "empty line") << QByteArray(unusable) << QString() << qint64(0) << QDateTime() << qint64(0) << false;
}

void TestPlayHistory::readsALine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, romSet);
    QFETCH(qint64, times);
    QFETCH(QDateTime, last);
    QFETCH(qint64, seconds);
    QFETCH(bool, favourite);
    const QTemporaryDir dir;
    writeFile(historyIn(dir), line + "\r\n");
    PlayHistory history;
    QCOMPARE(history.load(historyIn(dir)), PlayHistory::LoadStatus::Read);
    QCOMPARE(history.lineCount(), 1);
    const PlayRecord *record = history.find(romSet);
    if (romSet.isEmpty()) {
        QVERIFY(!record);
        QCOMPARE(history.find(QStringLiteral("kof98")), nullptr);
        return;
    }
    QVERIFY(record);
    QCOMPARE(record->Times, times);
    QCOMPARE(record->lastPlayedTime(), last);
    QCOMPARE(record->Seconds, seconds);
    QCOMPARE(record->Favourite, favourite);
    QVERIFY(!history.find(romSet.toUpper())); // names are matched with their letter case
}

// Days all over the calendar's ten thousand years, every month and weekday among them, each read as
// QDate counts it.
void TestPlayHistory::readsEveryDateAsTheCalendarHasIt()
{
    QByteArray file;
    std::vector<QDate> dates;
    for (QDate date(1, 1, 1); date.year() < 10000; date = date.addDays(37)) {
        dates.push_back(date);
        file += QStringLiteral("d%1;1;%2-%3-%4 12:34:56;0;0\r\n")
                    .arg(dates.size())
                    .arg(date.year(), 4, 10, QLatin1Char('0'))
                    .arg(date.month(), 2, 10, QLatin1Char('0'))
                    .arg(date.day(), 2, 10, QLatin1Char('0'))
                    .toLatin1();
    }
    const QTemporaryDir dir;
    writeFile(historyIn(dir), file);
    PlayHistory history;
    QCOMPARE(history.load(historyIn(dir)), PlayHistory::LoadStatus::Read);
    for (size_t i = 0; i < dates.size(); ++i) {
        const PlayRecord *record = history.find(QStringLiteral("d%1").arg(i + 1));
        QVERIFY(record);
        QCOMPARE(record->lastPlayedDate(), dates[i]);
        QCOMPARE(record->lastPlayedTimeOfDay(), QTime(12, 34, 56));
    }
}

// Lines Lanvo can't read, a second line of one set, sets the catalogue may no longer list and sets that
// did not change all go back as they were; only the changed set's line is written anew.
void TestPlayHistory::unusableLinesAreKeptByteForByte()
{
    const QTemporaryDir dir;
    const QByteArray before = bytes("gone;007;2001-01-01 10:00:00;30;1\n"
                                    "garbage \x01\x00 line\r"
                                    "kof98;1;2026-01-02 03:04:05;100;0\r\n"
                                    "kof98;9;;0;0\r\n"
                                    "\r\n"
                                    "aof3 ;0;;0;1");
    writeFile(historyIn(dir), before);
    PlayHistory history;
    history.load(historyIn(dir));
    QVERIFY(!history.hasUnsavedChanges());
    history.recordPlay(QStringLiteral("kof98"), at(2026, 3, 1, 20, 0, 0), 61);
    QVERIFY(history.hasUnsavedChanges());
    QVERIFY(history.save(historyIn(dir)));
    QVERIFY(!history.hasUnsavedChanges());
    QCOMPARE(readFile(historyIn(dir)), bytes("gone;007;2001-01-01 10:00:00;30;1\r\n"
                                             "garbage \x01\x00 line\r\n"
                                             "kof98;2;2026-03-01 20:00:00;161;0\r\n"
                                             "kof98;9;;0;0\r\n"
                                             "\r\n"
                                             "aof3 ;0;;0;1\r\n"));
    QCOMPARE(QDir(dir.filePath("lanvo")).entryList(QDir::Files), QStringList{"PLAYED.CSV"});
}

void TestPlayHistory::playsAndFavouritesAreCounted()
{
    PlayHistory history;
    const QString set = QStringLiteral("mslug");
    QVERIFY(!history.find(set));
    history.recordPlay(set, at(2026, 5, 1, 9, 0, 0), 600);
    const PlayRecord &record = history.recordPlay(set, at(2026, 5, 2, 10, 30, 15), 4200);
    QCOMPARE(record.Times, qint64(2));
    QCOMPARE(record.Seconds, qint64(4800));
    QCOMPARE(record.lastPlayedTime(), at(2026, 5, 2, 10, 30, 15));
    QVERIFY(!record.Favourite);
    QVERIFY(history.setFavourite(set, true).Favourite);
    QCOMPARE(history.find(set), &record); // one record per set, at a fixed address
    history.setFavourite(QStringLiteral("aof3"), true);
    history.setFavourite(QStringLiteral("aof3"), false);
    QCOMPARE(history.toBytes(), QByteArray("mslug;2;2026-05-02 10:30:15;4800;1\r\naof3;0;;0;0\r\n"));
}

// Short lines, more of them than the load first makes room for; every set twice, the second line
// ignored; names of other letters among them. Each set finds its first line, which keeps its place once
// sets are first played after the load.
void TestPlayHistory::everyLineOfALongFileIsFound()
{
    constexpr int Sets = 3000;
    const auto name = [](int i) { return (i % 7 == 0 ? QStringLiteral("é%1") : QStringLiteral("s%1")).arg(i); };
    QByteArray file;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < Sets; ++i)
            file += name(i).toUtf8() + ';' + QByteArray::number(round * 100 + i) + ";;0;0\r\n";
    const QTemporaryDir dir;
    writeFile(historyIn(dir), file);
    PlayHistory history;
    QCOMPARE(history.load(historyIn(dir)), PlayHistory::LoadStatus::Read);
    QCOMPARE(history.lineCount(), 2 * Sets);
    std::vector<const PlayRecord *> records;
    for (int i = 0; i < Sets; ++i) {
        records.push_back(history.find(name(i)));
        QVERIFY2(records.back() && records.back()->Times == i, qPrintable(name(i)));
    }
    for (int i = 0; i < Sets; ++i)
        history.setFavourite(QStringLiteral("new%1").arg(i), true);
    for (int i = 0; i < Sets; ++i)
        QCOMPARE(history.find(name(i)), records[size_t(i)]);
    QVERIFY(history.toBytes().startsWith(file));
}

// A play counts on the line the set already has, whether its name was read as ASCII, as UTF-8 or in
// the older code page, or was first written this session; a second line of a name shown alike stays.
void TestPlayHistory::aSetIsOneLineWhateverItsLetters_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("romSet");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("ASCII, read") << QByteArray("kof98;1;;5;0\r\n") << "kof98"
                                 << QByteArray("kof98;2;2026-05-01 09:00:00;65;0\r\n");
    QTest::newRow("UTF-8, read") << QByteArray("caf\xc3\xa9;1;;5;1\r\n") << QString::fromUtf8("café")
                                 << QByteArray("caf\xc3\xa9;2;2026-05-01 09:00:00;65;1\r\n");
    QTest::newRow("older code page, read and kept so")
        << QByteArray("caf\xe9;1;;5;0\r\n") << QString::fromUtf8("café")
        << QByteArray("caf\xe9;2;2026-05-01 09:00:00;65;0\r\n");
    QTest::newRow("second line of a name shown alike")
        << QByteArray("caf\xe9;1;;5;0\r\ncaf\xc3\xa9;7;;0;0\r\n") << QString::fromUtf8("café")
        << QByteArray("caf\xe9;2;2026-05-01 09:00:00;65;0\r\ncaf\xc3\xa9;7;;0;0\r\n");
    QTest::newRow("ASCII, new this session") << QByteArray() << "mslug"
                                             << QByteArray("mslug;2;2026-05-01 09:00:00;60;0\r\n");
    QTest::newRow("UTF-8, new this session") << QByteArray() << QString::fromUtf8("ça")
                                      << QByteArray("\xc3\xa7" "a;2;2026-05-01 09:00:00;60;0\r\n");
}

void TestPlayHistory::aSetIsOneLineWhateverItsLetters()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, romSet);
    QFETCH(QByteArray, written);
    const QTemporaryDir dir;
    writeFile(historyIn(dir), file);
    PlayHistory history;
    history.load(historyIn(dir));
    if (file.isEmpty())
        history.recordPlay(romSet, at(2026, 4, 30, 8, 0, 0), 0);
    const PlayRecord &record = history.recordPlay(romSet, at(2026, 5, 1, 9, 0, 0), 60);
    QCOMPARE(history.find(romSet), &record);
    QCOMPARE(history.toBytes(), written);
}

void TestPlayHistory::missingFileStartsEmptyAndIsCreated()
{
    const QTemporaryDir dir;
    PlayHistory history;
    QCOMPARE(history.load(historyIn(dir)), PlayHistory::LoadStatus::Missing);
    QCOMPARE(history.lineCount(), 0);
    QVERIFY(history.writable());
    history.setFavourite(QStringLiteral("kof98"), true);
    QVERIFY(history.save(historyIn(dir))); // the folder is made too
    QCOMPARE(readFile(historyIn(dir)), QByteArray("kof98;0;;0;1\r\n"));
}

void TestPlayHistory::fileThatCantBeReadIsNeverReplaced_data()
{
    addSpecialFileRows();
    QTest::newRow("no permission") << "no permission";
    QTest::newRow("too large") << "too large";
}

void TestPlayHistory::fileThatCantBeReadIsNeverReplaced()
{
    QFETCH(QString, kind);
    const QTemporaryDir dir;
    const QString path = historyIn(dir);
    if (kind == "no permission") {
        writeFile(path, "kof98;1;;0;1\r\n");
        QFile(path).setPermissions(QFileDevice::WriteOwner);
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("root reads the file all the same");
    } else if (kind == "too large") {
        QFile file(path);
        QDir().mkpath(dir.filePath("lanvo"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(PlayHistory::MaxFileSize + 1));
    } else {
        makeSpecialFile(path, kind);
    }
    const QFileInfo before(path);
    PlayHistory history;
    QCOMPARE(history.load(path), PlayHistory::LoadStatus::Unreadable);
    QVERIFY(!history.writable());
    history.setFavourite(QStringLiteral("kof98"), false);
    QVERIFY(!history.save(path));
    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.size(), before.size());
    QVERIFY(history.hasUnsavedChanges());
}

void TestPlayHistory::fullDiskKeepsTheOldFile()
{
    const QTemporaryDir dir;
    const QString folder = dir.filePath("lanvo");
    FullDisk disk(folder);
    const QByteArray before = "kof98;1;2026-01-02 03:04:05;100;0\r\n";
    writeFile(historyIn(dir), before);
    PlayHistory history;
    history.load(historyIn(dir));
    history.setFavourite(QStringLiteral("kof98"), true);

    disk.fill();
    QVERIFY(!history.save(historyIn(dir)));
    QCOMPARE(readFile(historyIn(dir)), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"PLAYED.CSV"}); // no temporary left
    QVERIFY(history.hasUnsavedChanges());

    disk.release();
    QVERIFY(history.save(historyIn(dir)));
    QCOMPARE(readFile(historyIn(dir)), QByteArray("kof98;1;2026-01-02 03:04:05;100;1\r\n"));
}

void TestPlayHistory::loadOnAThreadOfItsOwn_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file; "/": a folder in its place
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("times");
    QTest::newRow("read") << QByteArray("kof98;3;;0;1\r\n") << int(PlayHistory::LoadStatus::Read) << qint64(3);
    QTest::newRow("missing") << QByteArray() << int(PlayHistory::LoadStatus::Missing) << qint64(-1);
    QTest::newRow("a folder") << QByteArray("/") << int(PlayHistory::LoadStatus::Unreadable) << qint64(-1);
}

void TestPlayHistory::loadOnAThreadOfItsOwn()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(qint64, times);
    const QTemporaryDir dir;
    const QString path = historyIn(dir);
    QDir().mkpath(dir.filePath("lanvo"));
    if (content == "/")
        QVERIFY(QDir().mkpath(path));
    else if (!content.isEmpty())
        writeFile(path, content);
    HistoryLoad load(path);
    PlayHistory::LoadStatus read = PlayHistory::LoadStatus::Read;
    const std::unique_ptr<PlayHistory> history = load.take(read);
    QCOMPARE(int(read), status);
    const PlayRecord *record = history->find(QStringLiteral("kof98"));
    QCOMPARE(record ? record->Times : -1, times);
    QCOMPARE(history->writable(), read != PlayHistory::LoadStatus::Unreadable);
    const HistoryLoad dropped(path); // never taken: going out of scope waits for its read
}

QTEST_APPLESS_MAIN(TestPlayHistory)
#include "tst_playhistory.moc"
