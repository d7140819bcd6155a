#include "EnhHeaderView.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QtMath>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace Lanvo {

namespace {

// A rectangle as four edges, right and bottom exclusive, so the arithmetic reads as written.
struct Edges
{
    int Left;
    int Top;
    int Right;
    int Bottom;

    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    void shrink(int by)
    {
        Left += by;
        Top += by;
        Right -= by;
        Bottom -= by;
    }
    void translate(int by)
    {
        Left += by;
        Right += by;
        Top += by;
        Bottom += by;
    }
};

Edges edgesOf(const QRect &rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QRect rectOf(const Edges &edges)
{
    return QRect(edges.Left, edges.Top, std::max(0, edges.width()), std::max(0, edges.height()));
}

// The caption's room: 4 pixels off the side the caption is aligned to.
Edges captionArea(const Edges &inner, Qt::Alignment horizontal)
{
    Edges caption = inner;
    if (horizontal == Qt::AlignRight)
        caption.Right -= 4;
    else if (horizontal != Qt::AlignHCenter)
        caption.Left += 4;
    return caption;
}

// Fits the caption's natural width into Caption, which has already lost the arrow's room.
void placeCaption(Edges &caption, Qt::Alignment horizontal, int captionWidth)
{
    if (horizontal == Qt::AlignRight) {
        caption.Left = caption.Right - captionWidth;
    } else if (horizontal == Qt::AlignHCenter) {
        caption.Left += (caption.width() - captionWidth) / 2;
        caption.Right = caption.Left + captionWidth;
    } else {
        caption.Right = caption.Left + captionWidth;
    }
}

Qt::Alignment horizontalPart(Qt::Alignment alignment)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        return Qt::AlignRight;
    if (horizontal & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

} // namespace

HeaderSectionLayout layoutHeaderSection(const QRect &section, bool pressed, Qt::Alignment alignment,
                                        int captionWidth, std::optional<QSize> arrow)
{
    HeaderSectionLayout layout;
    const Qt::Alignment horizontal = horizontalPart(alignment);
    Edges inner = edgesOf(section);
    inner.shrink(2);
    layout.Fill = pressed ? section : rectOf(inner);
    if (pressed) {
        ++inner.Left;
        ++inner.Top;
    }
    Edges caption = captionArea(inner, horizontal);
    if (!arrow) {
        if (pressed)
            caption.translate(1);
        layout.Caption = rectOf(caption);
        return layout;
    }
    const int w = arrow->width();
    if (horizontal == Qt::AlignRight)
        caption.Left += w + 8;
    else
        caption.Right -= w + 8;
    placeCaption(caption, horizontal, captionWidth);
    caption.Left = std::max(caption.Left, inner.Left);
    caption.Right = std::min(caption.Right, inner.Right);
    if (pressed)
        caption.translate(1);
    layout.Caption = rectOf(caption);

    const int top = caption.Top + (inner.height() - arrow->height()) / 2;
    const int left = horizontal == Qt::AlignRight ? caption.Left - w - 8 : caption.Right + 8;
    const bool fits = horizontal == Qt::AlignRight ? left >= inner.Left : left + w <= inner.Right;
    layout.ArrowTopLeft = QPoint(left, top);
    layout.ArrowDrawn = fits && !arrow->isEmpty();
    return layout;
}

int headerCaptionWidth(const QFont &font, const QString &caption)
{
    // Rounded up, so that a caption measured to fit is not then elided by a fraction of a pixel.
    return qCeil(QFontMetricsF(font).horizontalAdvance(caption));
}

EnhHeaderView::EnhHeaderView(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

void EnhHeaderView::setControlDrawn(bool on)
{
    if (m_controlDrawn == on)
        return;
    m_controlDrawn = on;
    viewport()->update();
}

void EnhHeaderView::setDrawHandler(TDrawHeaderEvent handler)
{
    m_drawHandler = std::move(handler);
    viewport()->update();
}

void EnhHeaderView::setSortArrow(int column, const QImage &arrow)
{
    m_arrowColumn = column;
    m_arrow = arrow;
    viewport()->update();
}

void EnhHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!m_controlDrawn) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    const bool pressed = logicalIndex == m_pressed;
    painter->save();
    painter->setFont(font());
    painter->setBrush(palette().button());
    paintFrame(*painter, rect, logicalIndex, pressed);
    bool defaultDrawing = true;
    if (m_drawHandler)
        m_drawHandler(*painter, logicalIndex, rect, pressed, defaultDrawing);
    if (defaultDrawing)
        paintDefault(*painter, rect, logicalIndex, pressed);
    painter->restore();
}

// The section's edges as the style draws them; the control fills and labels what lies inside.
void EnhHeaderView::paintFrame(QPainter &painter, const QRect &rect, int logicalIndex, bool pressed) const
{
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.state &= ~(QStyle::State_Sunken | QStyle::State_Raised);
    option.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
}

void EnhHeaderView::paintDefault(QPainter &painter, const QRect &rect, int logicalIndex, bool pressed) const
{
    const bool withArrow = logicalIndex == m_arrowColumn;
    const QString caption = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const Qt::Alignment alignment = sectionAlignment(logicalIndex);
    const int captionWidth = headerCaptionWidth(painter.font(), caption);
    const HeaderSectionLayout layout = layoutHeaderSection(
        rect, pressed, alignment, captionWidth, withArrow ? std::optional<QSize>(m_arrow.size()) : std::nullopt);
    painter.fillRect(layout.Fill, palette().button());
    if (!model() || logicalIndex >= model()->columnCount())
        return;
    const QString shown = painter.fontMetrics().elidedText(caption, Qt::ElideRight, layout.Caption.width());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(layout.Caption, int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine),
                     shown);
    if (withArrow && layout.ArrowDrawn)
        painter.drawImage(layout.ArrowTopLeft, m_arrow);
}

Qt::Alignment EnhHeaderView::sectionAlignment(int logicalIndex) const
{
    if (!model())
        return Qt::AlignLeft;
    const QVariant value = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
    if (!value.isValid())
        return defaultAlignment();
    if (value.metaType() == QMetaType::fromType<Qt::Alignment>())
        return value.value<Qt::Alignment>();
    return Qt::Alignment(value.toInt());
}

void EnhHeaderView::mousePressEvent(QMouseEvent *event)
{
    QHeaderView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && sectionsClickable())
        m_pressed = logicalIndexAt(event->position().toPoint());
    viewport()->update();
}

void EnhHeaderView::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressed = -1;
    viewport()->update();
    QHeaderView::mouseReleaseEvent(event);
}

} // namespace Lanvo
