#include "EnhItemDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace Lanvo {

namespace {

const QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// The style whose cell drawing this delegate repeats; others may draw cells their own way.
bool drawsCellsAsRepeatedHere(const QStyle *style)
{
    return qstrcmp(style->metaObject()->className(), "QFusionStyle") == 0;
}

// The text inside Display less its margins, placed as the style places it, elided when too wide.
void drawText(QPainter *painter, const QStyleOptionViewItem &option, const QRect &display, int margin,
              CellTextLayouts &texts)
{
    const QRect textRect = display.adjusted(margin, 0, -margin, 0);
    const LaidOutCellText &text = texts.laidOut(option, textRect.width());
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, option.displayAlignment, text.Size, textRect);
    if (text.LineHeight + placed.top() <= textRect.top())
        return; // the row is too low to show any of the line
    text.Drawn.draw(painter, QPointF(textRect.x(), placed.top()));
}

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

QIcon::Mode iconMode(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QIcon::Disabled;
    return option.state & QStyle::State_Selected ? QIcon::Selected : QIcon::Normal;
}

// Background, decoration at the left, then the text in the rest of the cell.
void drawCell(QPainter *painter, const QStyleOptionViewItem &option, CellTextLayouts &texts)
{
    const QStyle *style = styleOf(option);
    const QWidget *widget = option.widget;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, widget) + 1;
    const QRect &cell = option.rect;
    const bool hasDecoration = (option.features & QStyleOptionViewItem::HasDecoration)
                               && !option.decorationSize.isEmpty();
    const int decorationWidth = hasDecoration ? option.decorationSize.width() + 2 * margin : 0;
    const QRect decoration(cell.x(), cell.y(), decorationWidth, cell.height());
    const QRect display(decoration.right() + 1, cell.y(), cell.width() - decorationWidth, cell.height());

    painter->save();
    painter->setClipRect(cell, Qt::IntersectClip);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, widget);
    if (hasDecoration) {
        const QRect iconRect = QStyle::alignedRect(option.direction, option.decorationAlignment,
                                                   option.decorationSize, decoration);
        option.icon.paint(painter, iconRect, option.decorationAlignment, iconMode(option),
                          option.state & QStyle::State_Open ? QIcon::On : QIcon::Off);
    }
    if (!option.text.isEmpty()) {
        const QPalette::ColorRole role = option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::Text;
        painter->setPen(option.palette.color(colorGroup(option), role));
        drawText(painter, option, display, style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1,
                 texts);
    }
    painter->restore();
}

} // namespace

bool EnhItemDelegate::drawsItself(const QStyleOptionViewItem &option)
{
    const auto features = option.features;
    return (features & QStyleOptionViewItem::HasDisplay)
           && !(features & (QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator))
           && option.direction == Qt::LeftToRight && option.decorationPosition == QStyleOptionViewItem::Left
           && option.showDecorationSelected && !(option.state & (QStyle::State_HasFocus | QStyle::State_Editing))
           && !option.text.contains(QChar::LineSeparator) && !option.text.contains(QChar(0x9c))
           && drawsCellsAsRepeatedHere(styleOf(option));
}

void EnhItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (drawsItself(cell))
        drawCell(painter, cell, m_texts);
    else
        styleOf(cell)->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
}

} // namespace Lanvo
