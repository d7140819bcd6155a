#include "StatusBar.h"

#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QTest>

using namespace Lanvo;

class TestStatusBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panelWidensToItsText_data();
    void panelWidensToItsText();
};

void TestStatusBar::panelWidensToItsText_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("formWidth");

    QTest::newRow("50,000 games") << 0 << "50000 games" << 11 << 80;
    QTest::newRow("16,667 games, large font") << 0 << "16667 games" << 20 << 80;
    QTest::newRow("install type, large font") << 1 << "CD" << 40 << 50;
    QTest::newRow("long ROM set name") << 2 << "a_rom_set_name_longer_than_the_panel" << 11 << 100;
}

void TestStatusBar::panelWidensToItsText()
{
    QFETCH(int, panel);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(int, formWidth);

    QMainWindow window;
    QFont font = window.font();
    font.setPixelSize(pixelSize);
    window.setFont(font);
    auto *bar = new TStatusPanels(&window);
    window.setStatusBar(bar);
    window.resize(900, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QLabel *label = bar->panel(panel);
    bar->setPanelText(panel, text);
    const int needed = label->fontMetrics().horizontalAdvance(text);
    QTRY_VERIFY2(label->contentsRect().width() >= needed,
                 qPrintable(QStringLiteral("%1 shown in %2").arg(needed).arg(label->contentsRect().width())));
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), text);
    for (int other = 0; other < TStatusPanels::PanelCount; ++other) // nothing overlaps
        if (other != panel)
            QVERIFY(!bar->panel(other)->geometry().intersects(label->geometry()));

    bar->setPanelText(panel, QStringLiteral("1")); // and narrows again, never below the form's width
    QTRY_COMPARE(label->width(), formWidth);
}

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
