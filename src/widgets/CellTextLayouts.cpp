#include "CellTextLayouts.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace Lanvo {

namespace {

// Lays the layout's text out as one unwrapped line Width wide, aligned as the cell aligns it.
void layOutLine(QTextLayout &layout, const QStyleOptionViewItem &option, int width)
{
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    layout.setTextOption(textOption);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
}

} // namespace

LaidOutCellText::LaidOutCellText(const QStyleOptionViewItem &option, int width)
    : Drawn(option.text, option.font)
{
    // Keeps the shaped glyphs after the layout: without it, every draw shapes the text again.
    Drawn.setCacheEnabled(true);
    layOutLine(Drawn, option, width);
    Size = Drawn.boundingRect().size().toSize();
    const QTextLine line = Drawn.lineAt(0);
    LineHeight = line.height();
    if (line.naturalTextWidth() <= width)
        return;
    Drawn.setText(QFontMetrics(option.font).elidedText(option.text, option.textElideMode, width));
    layOutLine(Drawn, option, width);
}

const LaidOutCellText &CellTextLayouts::laidOut(const QStyleOptionViewItem &option, int width)
{
    Key key{option.text,
            option.font,
            width,
            int(option.displayAlignment),
            int(option.textElideMode),
            int(option.direction)};
    if (const LaidOutCellText *known = m_laidOut.object(key))
        return *known;
    auto *laidOut = new LaidOutCellText(option, width);
    m_laidOut.insert(std::move(key), laidOut);
    return *laidOut;
}

} // namespace Lanvo
