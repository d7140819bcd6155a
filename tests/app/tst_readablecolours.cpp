#include "ReadableColours.h"

#include <QTest>

using namespace Lanvo;

class TestReadableColours : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contrastOfKnownPairs_data();
    void contrastOfKnownPairs();
    void firstReadableCandidateWins_data();
    void firstReadableCandidateWins();
};

void TestReadableColours::contrastOfKnownPairs_data()
{
    QTest::addColumn<QColor>("first");
    QTest::addColumn<QColor>("second");
    QTest::addColumn<double>("ratio");

    const QColor darkGrey(0x42, 0x42, 0x45);
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("same colour") << darkGrey << darkGrey << 1.0;
    QTest::newRow("maroon on dark grey") << QColor(128, 0, 0) << darkGrey << 1.09;
    QTest::newRow("navy on dark grey") << QColor(0, 0, 128) << darkGrey << 1.6;
    QTest::newRow("grey 118 on white, the limit") << QColor(118, 118, 118) << QColor(Qt::white) << 4.54;
    QTest::newRow("red on light grey") << QColor(255, 0, 0) << QColor(0xef, 0xef, 0xef) << 3.48;
}

void TestReadableColours::contrastOfKnownPairs()
{
    QFETCH(QColor, first);
    QFETCH(QColor, second);
    QFETCH(double, ratio);
    QVERIFY2(qAbs(contrastRatio(first, second) - ratio) < 0.01, qPrintable(QString::number(contrastRatio(first, second))));
}

void TestReadableColours::firstReadableCandidateWins_data()
{
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("chosen");

    QTest::newRow("light: the form's colour") << QColor(0xef, 0xef, 0xef) << QColor(128, 0, 0);
    QTest::newRow("dark: the palette's link") << QColor(0x42, 0x42, 0x45) << QColor(0x8a, 0xb4, 0xf8);
    QTest::newRow("blue: the text, the link being alike") << QColor(0x40, 0x60, 0xb0) << QColor(0xee, 0xee, 0xee);
    QTest::newRow("mid grey: none readable, the most contrasting") << QColor(0x70, 0x70, 0x70) << QColor(0xee, 0xee, 0xee);
}

void TestReadableColours::firstReadableCandidateWins()
{
    QFETCH(QColor, background);
    QFETCH(QColor, chosen);
    // The form's maroon, a light link colour, a light text colour and, last, a near-black.
    const QColor picked = readableColour({QColor(128, 0, 0), QColor(0x8a, 0xb4, 0xf8), QColor(0xee, 0xee, 0xee),
                                          QColor(0x10, 0x10, 0x10)},
                                         background);
    QCOMPARE(picked, chosen);
}

QTEST_APPLESS_MAIN(TestReadableColours)
#include "tst_readablecolours.moc"
