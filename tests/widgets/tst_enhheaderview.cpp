#include "ArrowBitmaps.h"
#include "EnhHeaderView.h"
#include "EnhListModel.h"

#include <QPainter>
#include <QTest>

using namespace Lanvo;

class TestEnhHeaderView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placement_data();
    void placement();
    void arrowDrawnWhereThePlacementSays();
    void narrowSectionElidesCaptionWithoutArrow();
    void drawHandlerCanReplaceDefaultDrawing();
    void platformDrawingWhenNotControlDrawn();
};

namespace {

const ArrowColours Colours{QColor(0xC0, 0xC0, 0xC0), QColor(0x10, 0x20, 0x90), QColor(0xF0, 0xF0, 0x20)};

struct Fixture
{
    EnhListModel model;
    EnhHeaderView header;

    explicit Fixture(Qt::Alignment alignment = Qt::AlignLeft)
    {
        model.setColumns({{"Name", 200, alignment}, {"Year", 60, Qt::AlignLeft}});
        header.setModel(&model);
        header.resizeSection(0, 200);
        header.resizeSection(1, 60);
        header.resize(300, 24);
        header.setControlDrawn(true);
    }

    QImage grab()
    {
        header.show();
        if (!QTest::qWaitForWindowExposed(&header))
            return {};
        return header.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QRect sectionRect(int column) const
    {
        return QRect(header.sectionViewportPosition(column), 0, header.sectionSize(column), header.height());
    }
};

bool containsImageAt(const QImage &image, const QImage &part, QPoint at)
{
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            if (image.pixelColor(at + QPoint(x, y)) != part.pixelColor(x, y))
                return false;
        }
    }
    return true;
}

int countColour(const QImage &image, const QRect &area, const QColor &colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count;
}

} // namespace

void TestEnhHeaderView::placement_data()
{
    QTest::addColumn<QRect>("section");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("captionWidth");
    QTest::addColumn<QSize>("arrow"); // invalid: no arrow in this section
    QTest::addColumn<QRect>("fill");
    QTest::addColumn<QRect>("caption");
    QTest::addColumn<bool>("arrowDrawn");
    QTest::addColumn<QPoint>("arrowAt");
    const QRect wide(100, 0, 120, 24); // inner area after the 2-pixel shrink: x 102..217, y 2..21
    const QRect inner(102, 2, 116, 20);
    const QSize arrow(10, 10);
    const int left = Qt::AlignLeft;
    const int right = Qt::AlignRight;
    const int centre = Qt::AlignHCenter;
    QTest::newRow("left, no arrow") << wide << false << left << 40 << QSize() << inner << QRect(106, 2, 112, 20)
                                    << false << QPoint();
    QTest::newRow("right, no arrow") << wide << false << right << 40 << QSize() << inner << QRect(102, 2, 112, 20)
                                     << false << QPoint();
    QTest::newRow("centred, no arrow") << wide << false << centre << 40 << QSize() << inner << inner << false
                                       << QPoint();
    QTest::newRow("pressed, no arrow") << wide << true << left << 40 << QSize() << wide << QRect(108, 4, 111, 19)
                                       << false << QPoint();
    QTest::newRow("left, arrow after caption") << wide << false << left << 40 << arrow << inner
                                               << QRect(106, 2, 40, 20) << true << QPoint(154, 7);
    QTest::newRow("right, arrow before caption") << wide << false << right << 40 << arrow << inner
                                                 << QRect(174, 2, 40, 20) << true << QPoint(156, 7);
    QTest::newRow("centred in the room left") << wide << false << centre << 40 << arrow << inner
                                              << QRect(131, 2, 40, 20) << true << QPoint(179, 7);
    QTest::newRow("centred, odd remainder rounds down") << wide << false << centre << 41 << arrow << inner
                                                        << QRect(130, 2, 41, 20) << true << QPoint(179, 7);
    QTest::newRow("pressed moves caption and arrow") << wide << true << left << 40 << arrow << wide
                                                     << QRect(108, 4, 40, 19) << true << QPoint(156, 8);
    const QRect narrow(0, 0, 50, 24); // inner x 2..47
    QTest::newRow("narrow left: no arrow") << narrow << false << left << 60 << arrow << QRect(2, 2, 46, 20)
                                           << QRect(6, 2, 42, 20) << false << QPoint(56, 7);
    QTest::newRow("narrow right: no arrow") << narrow << false << right << 60 << arrow << QRect(2, 2, 46, 20)
                                            << QRect(2, 2, 42, 20) << false << QPoint(-16, 7);
    QTest::newRow("narrow centred: no arrow") << narrow << false << centre << 60 << arrow << QRect(2, 2, 46, 20)
                                              << QRect(2, 2, 44, 20) << false << QPoint(54, 7);
    QTest::newRow("arrow just fits") << QRect(0, 0, 66, 24) << false << left << 40 << arrow << QRect(2, 2, 62, 20)
                                     << QRect(6, 2, 40, 20) << true << QPoint(54, 7);
    QTest::newRow("one pixel short") << QRect(0, 0, 65, 24) << false << left << 40 << arrow << QRect(2, 2, 61, 20)
                                     << QRect(6, 2, 40, 20) << false << QPoint(54, 7);
    QTest::newRow("font too small for arrows") << wide << false << left << 40 << QSize(0, 0) << inner
                                               << QRect(106, 2, 40, 20) << false << QPoint(154, 12);
}

void TestEnhHeaderView::placement()
{
    QFETCH(QRect, section);
    QFETCH(bool, pressed);
    QFETCH(int, alignment);
    QFETCH(int, captionWidth);
    QFETCH(QSize, arrow);
    QFETCH(QRect, fill);
    QFETCH(QRect, caption);
    QFETCH(bool, arrowDrawn);
    QFETCH(QPoint, arrowAt);
    const HeaderSectionLayout layout = layoutHeaderSection(
        section, pressed, Qt::Alignment(alignment) | Qt::AlignVCenter, captionWidth,
        arrow.isValid() ? std::optional<QSize>(arrow) : std::nullopt);
    QCOMPARE(layout.Fill, fill);
    QCOMPARE(layout.Caption, caption);
    QCOMPARE(layout.ArrowDrawn, arrowDrawn);
    if (arrow.isValid())
        QCOMPARE(layout.ArrowTopLeft, arrowAt);
}

void TestEnhHeaderView::arrowDrawnWhereThePlacementSays()
{
    Fixture fixture(Qt::AlignRight);
    const QImage arrow = MakeArrowBitmaps(16, Colours, false).Ascending;
    fixture.header.setSortArrow(0, arrow);
    const QImage shot = fixture.grab();
    QVERIFY(!shot.isNull());
    const int captionWidth = headerCaptionWidth(fixture.header.font(), QStringLiteral("Name"));
    const HeaderSectionLayout layout = layoutHeaderSection(fixture.sectionRect(0), false,
                                                           Qt::AlignRight, captionWidth, arrow.size());
    QVERIFY(layout.ArrowDrawn);
    QVERIFY(containsImageAt(shot, arrow, layout.ArrowTopLeft));
    // Only the sort column shows it.
    QCOMPARE(countColour(shot, fixture.sectionRect(1), Colours.Highlight), 0);
    fixture.header.setSortArrow(-1, arrow);
    QVERIFY(!containsImageAt(fixture.grab(), arrow, layout.ArrowTopLeft));
}

void TestEnhHeaderView::narrowSectionElidesCaptionWithoutArrow()
{
    Fixture fixture;
    fixture.model.setColumnCaption(1, QStringLiteral("Manufacturer of the game"));
    fixture.header.resizeSection(1, 60);
    const QImage arrow = MakeArrowBitmaps(16, Colours, false).Ascending;
    fixture.header.setSortArrow(1, arrow);
    const QImage shot = fixture.grab();
    QCOMPARE(countColour(shot, fixture.sectionRect(1), Colours.Highlight), 0);
    // The caption still shows, cut short: some text pixels lie in the section.
    const QColor face = fixture.header.palette().color(QPalette::Button);
    const QRect inside = fixture.sectionRect(1).adjusted(6, 4, -4, -4);
    QVERIFY(countColour(shot, inside, face) < inside.width() * inside.height());
}

void TestEnhHeaderView::drawHandlerCanReplaceDefaultDrawing()
{
    Fixture fixture;
    QList<int> drawn;
    bool keepDefault = false;
    fixture.header.setDrawHandler([&](QPainter &painter, int column, const QRect &rect, bool pressed, bool &defaultDrawing) {
        QVERIFY(!pressed);
        drawn << column;
        painter.fillRect(rect, Qt::magenta);
        defaultDrawing = keepDefault;
    });
    QImage shot = fixture.grab();
    QVERIFY(drawn.contains(0) && drawn.contains(1));
    const QPoint middleOfYear = fixture.sectionRect(1).center();
    QCOMPARE(shot.pixelColor(middleOfYear), QColor(Qt::magenta));
    keepDefault = true; // the handler draws, then the control's own drawing covers it
    fixture.header.viewport()->update();
    shot = fixture.grab();
    const QPoint pastCaption(fixture.sectionRect(0).right() - 8, fixture.sectionRect(0).center().y());
    QCOMPARE(shot.pixelColor(pastCaption), fixture.header.palette().color(QPalette::Button));
}

void TestEnhHeaderView::platformDrawingWhenNotControlDrawn()
{
    Fixture fixture;
    bool called = false;
    fixture.header.setDrawHandler([&](QPainter &, int, const QRect &, bool, bool &) { called = true; });
    fixture.header.setControlDrawn(false);
    fixture.header.setSortArrow(0, MakeArrowBitmaps(16, Colours, false).Ascending);
    const QImage shot = fixture.grab();
    QVERIFY(!called);
    QCOMPARE(countColour(shot, fixture.sectionRect(0), Colours.Highlight), 0);
}

QTEST_MAIN(TestEnhHeaderView)
#include "tst_enhheaderview.moc"
