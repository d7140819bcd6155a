#include "TextDecoding.h"

#include <QTest>

using namespace Lanvo;

class TestTextDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileBytesSurviveTheRoundTrip_data();
    void fileBytesSurviveTheRoundTrip();
    void editedTextKeepsBytesUnlessChanged();
};

void TestTextDecoding::fileBytesSurviveTheRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("-x -y") << "-x -y";
    QTest::newRow("utf-8") << QByteArray("Jos\xc3\xa9") << QString::fromUtf8("Jos\xc3\xa9");
    QTest::newRow("windows-1252") << QByteArray("Jos\xe9") << QString::fromUtf8("Jos\xc3\xa9");
    QTest::newRow("utf-8 and a stray byte") << QByteArray("\xc3\xa9\x80") << QString::fromUtf8("\xc3\x83\xc2\xa9\xe2\x82\xac");
    QTest::newRow("four-byte character") << QByteArray("\xf0\x9f\x8e\xae") << QString::fromUtf8("\xf0\x9f\x8e\xae");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString::fromUtf8("\xc3\x80\xc2\xaf");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QString::fromUtf8("\xc3\xad\xc2\xa0\xe2\x82\xac");
    QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QString::fromUtf8("\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac");
    QTest::newRow("cut sequence at the end") << QByteArray("a\xe2\x82") << QString::fromUtf8("a\xc3\xa2\xe2\x80\x9a");
}

void TestTextDecoding::fileBytesSurviveTheRoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString text = fromFileBytes(bytes);
    QCOMPARE(toFileBytes(text), bytes);
    QCOMPARE(displayFileText(text), shown);
    QCOMPARE(displayText(bytes), shown);
}

void TestTextDecoding::editedTextKeepsBytesUnlessChanged()
{
    const QString original = fromFileBytes("-name Jos\xe9");
    const QString shown = displayFileText(original);
    QCOMPARE(toFileBytes(editedFileText(original, shown)), QByteArray("-name Jos\xe9"));
    // What the user typed is typed text: it is kept as UTF-8.
    QCOMPARE(toFileBytes(editedFileText(original, shown + "s")), QByteArray("-name Jos\xc3\xa9s"));
}

QTEST_APPLESS_MAIN(TestTextDecoding)
#include "tst_textdecoding.moc"
