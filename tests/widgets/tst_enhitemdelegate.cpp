#include "EnhItemDelegate.h"
#include "StateImages.h"

#include <QApplication>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTest>
#include <QTreeView>

using namespace Lanvo;

class TestEnhItemDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void drawsAsTheStyleDoes_data();
    void drawsAsTheStyleDoes();
    void repeatedTextDrawsAsTheStyleDoes_data();
    void repeatedTextDrawsAsTheStyleDoes();
    void staysInsideThePaintersClip();
};

namespace {

// Shows the options the delegate paints a cell with.
struct OptionsOpen : EnhItemDelegate
{
    using EnhItemDelegate::initStyleOption;
};

// A cell's options as a list of whole-row selection gives them to its delegate.
QStyleOptionViewItem cellOptions(const QTreeView &view, const QRect &rect, QStyle::State state)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.fontMetrics = QFontMetrics(option.font);
    option.rect = rect;
    option.state = state;
    option.decorationSize = QSize(16, 16);
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.decorationAlignment = Qt::AlignCenter;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideRight;
    option.showDecorationSelected = true;
    return option;
}

QImage drawn(const QStyledItemDelegate &delegate, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    QImage image(option.rect.size() + QSize(8, 8), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(4 - option.rect.x(), 4 - option.rect.y());
    delegate.paint(&painter, option, index);
    return image;
}

} // namespace

void TestEnhItemDelegate::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void TestEnhItemDelegate::drawsAsTheStyleDoes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("decorated");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("drawnHere");

    const int normal = int(QStyle::State_Enabled | QStyle::State_Active);
    const QSize cell(200, 20);
    QTest::newRow("left") << "Art Of Fighting" << int(Qt::AlignLeft) << false << cell << normal << true;
    QTest::newRow("right") << "1992" << int(Qt::AlignRight) << false << cell << normal << true;
    QTest::newRow("centred") << "SNK" << int(Qt::AlignHCenter) << false << cell << normal << true;
    QTest::newRow("elided") << "Aero Fighters 2 (Sonic Wings 2)" << int(Qt::AlignLeft) << false << QSize(120, 20)
                            << normal << true;
    QTest::newRow("elided right") << "Aero Fighters 2 (Sonic Wings 2)" << int(Qt::AlignRight) << false
                                  << QSize(120, 20) << normal << true;
    QTest::newRow("state image") << "Blue's Journey" << int(Qt::AlignLeft) << true << cell << normal << true;
    QTest::newRow("image, elided") << "King of Fighters '96 (CD)" << int(Qt::AlignLeft) << true << QSize(90, 18)
                                   << normal << true;
    QTest::newRow("narrower than its image") << "Cho Bricks" << int(Qt::AlignLeft) << true << QSize(10, 20)
                                             << normal << true;
    QTest::newRow("empty") << "" << int(Qt::AlignLeft) << true << cell << normal << true;
    QTest::newRow("blanks only") << "   " << int(Qt::AlignLeft) << false << cell << normal << true;
    QTest::newRow("accents") << "Façade Über Straße" << int(Qt::AlignLeft) << false << cell << normal << true;
    QTest::newRow("selected") << "Magical Drop" << int(Qt::AlignLeft) << true << cell
                              << int(normal | QStyle::State_Selected) << true;
    QTest::newRow("selected, window inactive") << "Magical Drop" << int(Qt::AlignLeft) << true << cell
                                               << int(QStyle::State_Enabled | QStyle::State_Selected) << true;
    QTest::newRow("disabled") << "Eight Man" << int(Qt::AlignLeft) << true << cell << 0 << true;
    QTest::newRow("row lower than a line") << "Last Resort" << int(Qt::AlignLeft) << false << QSize(200, 5)
                                           << normal << true;
    QTest::newRow("focused: the style draws") << "Joy Joy Kid" << int(Qt::AlignLeft) << true << cell
                                              << int(normal | QStyle::State_HasFocus) << false;
    QTest::newRow("two lines: the style draws") << "Mania\nDream Quiz" << int(Qt::AlignLeft) << false << cell
                                                << normal << false;
}

// Pixel for pixel what the style draws, whether the delegate or the style draws the cell.
void TestEnhItemDelegate::drawsAsTheStyleDoes()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(bool, decorated);
    QFETCH(QSize, size);
    QFETCH(int, state);
    QFETCH(bool, drawnHere);

    QTreeView view;
    QStandardItemModel model;
    auto *item = new QStandardItem(text);
    item->setTextAlignment(Qt::Alignment(alignment) | Qt::AlignVCenter);
    if (decorated)
        item->setData(stateImage(1), Qt::DecorationRole);
    model.appendRow(item);
    const QModelIndex index = model.index(0, 0);

    const QStyleOptionViewItem option = cellOptions(view, QRect(QPoint(30, 40), size), QStyle::State(state));
    const QStyledItemDelegate style;
    const OptionsOpen delegate;
    QStyleOptionViewItem initialised = option;
    delegate.initStyleOption(&initialised, index);
    QCOMPARE(EnhItemDelegate::drawsItself(initialised), drawnHere);
    QCOMPARE(drawn(delegate, option, index), drawn(style, option, index));
    QCOMPARE(drawn(delegate, option, index), drawn(style, option, index)); // the text laid out before
}

void TestEnhItemDelegate::repeatedTextDrawsAsTheStyleDoes_data()
{
    QTest::addColumn<QSize>("firstSize");
    QTest::addColumn<int>("firstAlignment");
    QTest::addColumn<QSize>("secondSize");
    QTest::addColumn<int>("secondAlignment");
    QTest::addColumn<bool>("secondBold");

    const int left = int(Qt::AlignLeft);
    QTest::newRow("narrower: elided") << QSize(300, 20) << left << QSize(120, 20) << left << false;
    QTest::newRow("wider: whole") << QSize(120, 20) << left << QSize(300, 20) << left << false;
    QTest::newRow("aligned otherwise") << QSize(300, 20) << left << QSize(300, 20) << int(Qt::AlignRight) << false;
    QTest::newRow("elided, aligned otherwise") << QSize(120, 20) << left << QSize(120, 20) << int(Qt::AlignRight)
                                               << false;
    QTest::newRow("another font") << QSize(300, 20) << left << QSize(300, 20) << left << true;
    QTest::newRow("lower row") << QSize(300, 20) << left << QSize(300, 5) << left << false;
}

// A text the delegate laid out for one cell, drawn in another cell that differs in what the layout
// depends on: the second cell is still what the style draws.
void TestEnhItemDelegate::repeatedTextDrawsAsTheStyleDoes()
{
    QFETCH(QSize, firstSize);
    QFETCH(int, firstAlignment);
    QFETCH(QSize, secondSize);
    QFETCH(int, secondAlignment);
    QFETCH(bool, secondBold);

    const QTreeView view;
    QStandardItemModel model;
    model.appendRow(new QStandardItem(QStringLiteral("Aero Fighters 2 (Sonic Wings 2)")));
    const QModelIndex index = model.index(0, 0);
    const QStyle::State normal = QStyle::State_Enabled | QStyle::State_Active;
    const QStyledItemDelegate style;
    const EnhItemDelegate delegate;

    QStyleOptionViewItem first = cellOptions(view, QRect(QPoint(30, 40), firstSize), normal);
    first.displayAlignment = Qt::Alignment(firstAlignment) | Qt::AlignVCenter;
    QCOMPARE(drawn(delegate, first, index), drawn(style, first, index));

    QStyleOptionViewItem second = cellOptions(view, QRect(QPoint(30, 40), secondSize), normal);
    second.displayAlignment = Qt::Alignment(secondAlignment) | Qt::AlignVCenter;
    second.font.setBold(secondBold);
    QCOMPARE(drawn(delegate, second, index), drawn(style, second, index));
}

// A list paints only the region that needs it: a selected cell half inside that region leaves the
// other half as it was.
void TestEnhItemDelegate::staysInsideThePaintersClip()
{
    const QTreeView view;
    QStandardItemModel model;
    model.appendRow(new QStandardItem(QStringLiteral("Super Sidekicks 3: The Next Glory")));
    const QModelIndex index = model.index(0, 0);
    const QStyleOptionViewItem option
        = cellOptions(view, QRect(0, 0, 300, 20), QStyle::State_Enabled | QStyle::State_Active | QStyle::State_Selected);
    QStyleOptionViewItem initialised = option;
    const OptionsOpen delegate;
    delegate.initStyleOption(&initialised, index);
    QVERIFY(EnhItemDelegate::drawsItself(initialised));

    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(0, 0, 150, 20));
        delegate.paint(&painter, option, index);
    }
    QVERIFY(image.pixel(10, 10) != qRgb(255, 255, 255)); // the selection drawn inside
    const QImage outside = image.copy(150, 0, 150, 20);
    QImage white(outside.size(), outside.format());
    white.fill(Qt::white);
    QCOMPARE(outside, white);
}

QTEST_MAIN(TestEnhItemDelegate)
#include "tst_enhitemdelegate.moc"
