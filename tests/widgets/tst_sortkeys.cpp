#include "SortKeys.h"

#include <QTest>

using namespace Lanvo;

class TestSortKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numberRule_data();
    void numberRule();
    void dateRule_data();
    void dateRule();
    void pairwiseComparison_data();
    void pairwiseComparison();
    void separatorsComeFromShortFormats();
    void textComparisonIsCaseSensitive();
};

namespace {

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale Germany(QLocale::German, QLocale::Germany);

} // namespace

void TestSortKeys::numberRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("exponent") << "1e5" << true << 1e5;
    QTest::newRow("upper-case exponent with sign") << "1E-2" << true << 0.01;
    QTest::newRow("exponent with plus") << "2e+2" << true << 200.0;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("minus sign") << "-3" << true << -3.0;
    QTest::newRow("leading spaces") << " 7" << true << 7.0;
    QTest::newRow("spaces before sign") << "   -2.5" << true << -2.5;
    QTest::newRow("no digits after point") << "5." << true << 5.0;
    QTest::newRow("no digits before point") << ".5" << true << 0.5;
    QTest::newRow("point alone is zero") << "." << true << 0.0;
    QTest::newRow("signed point is zero") << "-." << true << 0.0;
    QTest::newRow("point with exponent") << ".e5" << true << 0.0;
    QTest::newRow("leading zeros") << "007" << true << 7.0;
    QTest::newRow("trailing space") << "7 " << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("letters after digits") << "10a" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("spaces only") << "   " << false << 0.0;
    QTest::newRow("sign alone") << "+" << false << 0.0;
    QTest::newRow("two signs") << "--1" << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("exponent sign without digits") << "1e+" << false << 0.0;
    QTest::newRow("exponent alone") << "e5" << false << 0.0;
    QTest::newRow("decimal comma") << "1,5" << false << 0.0;
    QTest::newRow("digit group space") << "1 000" << false << 0.0;
    QTest::newRow("leading tab") << "\t7" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("wide digits") << QString::fromUtf8("\xef\xbc\x91\xef\xbc\x92") << false << 0.0;
    QTest::newRow("overflow does not convert") << "1e999" << false << 0.0;
}

void TestSortKeys::numberRule()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> number = parseSortNumber(text);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

void TestSortKeys::dateRule_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isDate");
    QTest::addColumn<QDateTime>("value"); // the date 1899-12-30 stands for a time alone
    const QDate dayZero(1899, 12, 30);
    QTest::newRow("US date") << UnitedStates << "12/31/99" << true << QDateTime(QDate(1999, 12, 31), QTime(0, 0));
    QTest::newRow("US time") << UnitedStates << "1:45 PM" << true << QDateTime(dayZero, QTime(13, 45));
    QTest::newRow("US date and time") << UnitedStates << "10/1/99 1:45 PM" << true
                                      << QDateTime(QDate(1999, 10, 1), QTime(13, 45));
    QTest::newRow("US month out of range") << UnitedStates << "13/45/99" << false << QDateTime();
    QTest::newRow("US date with trailing space") << UnitedStates << "12/31/99 " << false << QDateTime();
    QTest::newRow("US four-digit year") << UnitedStates << "12/31/1999" << true
                                        << QDateTime(QDate(1999, 12, 31), QTime(0, 0));
    QTest::newRow("US 24-hour time") << UnitedStates << "13:45" << true << QDateTime(dayZero, QTime(13, 45));
    QTest::newRow("US time with seconds") << UnitedStates << "1:45:30 PM" << true
                                          << QDateTime(dayZero, QTime(13, 45, 30));
    QTest::newRow("US four-digit year and 24-hour time") << UnitedStates << "10/1/1999 13:45" << true
                                                         << QDateTime(QDate(1999, 10, 1), QTime(13, 45));
    QTest::newRow("US hour out of range") << UnitedStates << "25:45" << false << QDateTime();
    QTest::newRow("German four-digit year") << Germany << "10.01.1999" << true
                                            << QDateTime(QDate(1999, 1, 10), QTime(0, 0));
    QTest::newRow("US no separator") << UnitedStates << "1999" << false << QDateTime();
    QTest::newRow("German date") << Germany << "10.01.99" << true << QDateTime(QDate(1999, 1, 10), QTime(0, 0));
    QTest::newRow("German time") << Germany << "13:45" << true << QDateTime(dayZero, QTime(13, 45));
    QTest::newRow("German short fields") << Germany << "1.2.3" << false << QDateTime();
    QTest::newRow("German decimal number") << Germany << "2.5" << false << QDateTime();
    QTest::newRow("C date") << QLocale::c() << "1 Mar 1995" << true << QDateTime(QDate(1995, 3, 1), QTime(0, 0));
    QTest::newRow("C name with spaces") << QLocale::c() << "Night of Racing" << false << QDateTime();
    QTest::newRow("C name with digits") << QLocale::c() << "Comet Zone 2" << false << QDateTime();
    QTest::newRow("C date and time") << QLocale::c() << "1 Mar 1995 13:45:10" << true
                                     << QDateTime(QDate(1995, 3, 1), QTime(13, 45, 10));
    QTest::newRow("Chinese date, month names with digits") << QLocale(QLocale::Chinese, QLocale::China) << "2020/1/5"
                                                           << true << QDateTime(QDate(2020, 1, 5), QTime(0, 0));
}

void TestSortKeys::dateRule()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, isDate);
    QFETCH(QDateTime, value);
    const SortLocale sortLocale(locale);
    const std::optional<qint64> date = parseSortDate(text, sortLocale);
    QCOMPARE(date.has_value(), isDate);
    if (isDate) {
        const QDateTime dayZero(QDate(1899, 12, 30), QTime(0, 0));
        QCOMPARE(*date, dayZero.msecsTo(value));
    }
}

void TestSortKeys::pairwiseComparison_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    const int smart = assSmart;
    const int plain = assDefault;
    QTest::newRow("numbers: 9 before 10") << UnitedStates << smart << "9" << "10" << -1;
    QTest::newRow("text: 10a before 9a") << UnitedStates << smart << "9a" << "10a" << 1;
    QTest::newRow("decimal and whole number") << UnitedStates << smart << "9.5" << "10" << -1;
    QTest::newRow("exponent number") << UnitedStates << smart << "1e5" << "99999" << 1;
    QTest::newRow("signed numbers") << UnitedStates << smart << "+3" << "-20" << 1;
    QTest::newRow("equal numbers written apart") << UnitedStates << smart << " 7" << "7.0" << 0;
    QTest::newRow("trailing space makes text") << UnitedStates << smart << "9 " << "10" << 1;
    QTest::newRow("empty year before a year") << UnitedStates << smart << "" << "1990" << -1;
    QTest::newRow("spaces before a year") << UnitedStates << smart << "   " << "1990" << -1;
    QTest::newRow("point alone is zero") << UnitedStates << smart << "." << "-1" << 1;
    QTest::newRow("decimal point even in German") << Germany << smart << "2.5" << "10" << -1;
    QTest::newRow("decimal comma is text") << Germany << smart << "2,5" << "10" << 1;
    QTest::newRow("US dates") << UnitedStates << smart << "10/1/99" << "9/1/99" << 1;
    QTest::newRow("US dates, long year") << UnitedStates << smart << "10/1/1999" << "9/1/1999" << 1;
    QTest::newRow("US 24-hour times") << UnitedStates << smart << "13:45" << "9:30" << 1;
    QTest::newRow("US date and time") << UnitedStates << smart << "10/1/99 1:45 PM" << "10/1/99 11:00 AM" << 1;
    QTest::newRow("US times") << UnitedStates << smart << "1:45 PM" << "11:00 AM" << 1;
    QTest::newRow("US time before date") << UnitedStates << smart << "1:45 PM" << "1/2/99" << -1;
    QTest::newRow("US same date") << UnitedStates << smart << "01/02/99" << "1/2/99" << 0;
    QTest::newRow("US malformed date is text") << UnitedStates << smart << "13/45/99" << "9/1/99" << -1;
    QTest::newRow("German dates") << Germany << smart << "10.01.99" << "09.02.99" << -1;
    QTest::newRow("C dates") << QLocale::c() << smart << "1 Mar 1995" << "2 Feb 1995" << 1;
    QTest::newRow("text only: numbers as text") << UnitedStates << plain << "9" << "10" << 1;
    QTest::newRow("text only: dates as text") << UnitedStates << plain << "10/1/99" << "9/1/99" << -1;
    QTest::newRow("same text") << UnitedStates << smart << "Sunrise" << "Sunrise" << 0;
}

void TestSortKeys::pairwiseComparison()
{
    QFETCH(QLocale, locale);
    QFETCH(int, style);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    const SortLocale sortLocale(locale);
    const auto sortStyle = static_cast<TAutoSortStyle>(style);
    QCOMPARE(compareSortTexts(a, b, sortStyle, sortLocale), expected);
    QCOMPARE(compareSortTexts(b, a, sortStyle, sortLocale), -expected);
}

void TestSortKeys::separatorsComeFromShortFormats()
{
    const SortLocale us(UnitedStates);
    QCOMPARE(us.DateSeparator, QStringLiteral("/"));
    QCOMPARE(us.TimeSeparator, QStringLiteral(":"));
    const SortLocale german(Germany);
    QCOMPARE(german.DateSeparator, QStringLiteral("."));
}

void TestSortKeys::textComparisonIsCaseSensitive()
{
    for (const QLocale &locale : {QLocale::c(), UnitedStates, Germany}) {
        const SortLocale sortLocale(locale);
        QVERIFY(compareSortTexts("abc", "ABC", assSmart, sortLocale) != 0);
        QCOMPARE(compareSortTexts("abc", "ABC", assSmart, sortLocale),
                 -compareSortTexts("ABC", "abc", assSmart, sortLocale));
    }
}

QTEST_MAIN(TestSortKeys)
#include "tst_sortkeys.moc"
