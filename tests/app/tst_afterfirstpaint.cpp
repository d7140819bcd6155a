#include "AfterFirstPaint.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>

using namespace Lanvo;

class TestAfterFirstPaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void calledOnceTheFirstFrameIsDrawn();
    void notCalledForAWidgetGoneFirst();
};

void TestAfterFirstPaint::calledOnceTheFirstFrameIsDrawn()
{
    QWidget window;
    auto *inner = new QWidget(&window);
    int calls = 0;
    bool painted = false;
    QPointer<AfterFirstPaint> watch = new AfterFirstPaint(inner, [&] {
        painted = inner->isVisible();
        ++calls;
    });
    QTest::qWait(20);
    QCOMPARE(calls, 0); // nothing painted yet
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(calls, 1);
    QVERIFY(painted);
    inner->repaint();
    QTest::qWait(20);
    QCOMPARE(calls, 1);
    QTRY_VERIFY(!watch); // gone once done
}

void TestAfterFirstPaint::notCalledForAWidgetGoneFirst()
{
    int calls = 0;
    {
        QWidget widget;
        new AfterFirstPaint(&widget, [&] { ++calls; });
        QPaintEvent paint(QRect(0, 0, 10, 10));
        QCoreApplication::sendEvent(&widget, &paint);
    } // destroyed before the event loop ran again
    QTest::qWait(20);
    QCOMPARE(calls, 0);
}

QTEST_MAIN(TestAfterFirstPaint)
#include "tst_afterfirstpaint.moc"
