// Times of day written from tables must read exactly as QLocale writes them, whatever the locale's
// digits, AM/PM texts and quoting; formats the tables can't write are left to QLocale.
#include "TimeOfDayFormat.h"

#include <QTest>

using namespace Lanvo;

class TestTimeOfDayFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesAsQLocale_data();
    void writesAsQLocale();
};

void TestTimeOfDayFormat::writesAsQLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("format"); // empty: the locale's short format
    QTest::addColumn<bool>("byTables");

    QTest::newRow("C, seconds shown") << "C" << "" << true;
    QTest::newRow("12-hour clock with AM/PM after") << "en_US" << "" << true;
    QTest::newRow("24-hour clock") << "de_DE" << "" << true;
    QTest::newRow("AM/PM text before the hour") << "ko_KR" << "" << true;
    QTest::newRow("digits of another script") << "ar_EG" << "" << true;
    QTest::newRow("lower-case marker and a dot") << "en_GB" << "h.mm ap" << true;
    QTest::newRow("one-letter markers") << "en_US" << "A h:mm:ss a" << true;
    QTest::newRow("quoted letters") << "fr_FR" << "HH 'h' mm 'et' s's'" << true;
    QTest::newRow("doubled quotes") << "C" << "hh''mm'''s'''" << true;
    QTest::newRow("run longer than a field") << "C" << "hhh:mmm" << true;
    QTest::newRow("time zone") << "C" << "HH:mm t" << false;
    QTest::newRow("milliseconds") << "C" << "HH:mm:ss.zzz" << false;
}

void TestTimeOfDayFormat::writesAsQLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, format);
    QFETCH(bool, byTables);
    const QLocale shown(locale);
    if (format.isEmpty())
        format = shown.timeFormat(QLocale::ShortFormat);
    TimeOfDayFormat times(shown, format);
    QCOMPARE(times.readByTables(), byTables);
    // Every hour and minute, with seconds that change from one to the next.
    for (int second = 0; second < 24 * 60 * 60; second += 59) {
        const QTime time = QTime::fromMSecsSinceStartOfDay(second * 1000);
        QString text = QStringLiteral("x");
        times.appendTo(text, time);
        QCOMPARE(text, QStringLiteral("x") + shown.toString(time, format));
    }
}

QTEST_APPLESS_MAIN(TestTimeOfDayFormat)
#include "tst_timeofdayformat.moc"
