#include "BrowseGlyph.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Lanvo {

namespace {

struct GlyphColours
{
    QColor Outline;
    QColor Back;
    QColor Front;
};

GlyphColours coloursFor(bool enabled)
{
    if (enabled)
        return {QColor(96, 64, 0), QColor(200, 160, 40), QColor(255, 220, 96)};
    return {QColor(128, 128, 128), QColor(192, 192, 192), QColor(224, 224, 224)};
}

QPainterPath folderBack()
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.5, 3.5);
    back.lineTo(7.5, 5.5);
    back.lineTo(13.5, 5.5);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    return back;
}

// The open flap, leaning forward so the folder reads as "open" at this size.
QPainterPath folderFront()
{
    QPainterPath front;
    front.moveTo(3.5, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.5, 13.5);
    front.lineTo(1.5, 13.5);
    front.closeSubpath();
    return front;
}

} // namespace

QImage makeBrowseGlyph(bool enabled)
{
    const GlyphColours colours = coloursFor(enabled);
    QImage glyph(BrowseGlyphSize, BrowseGlyphSize, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(QPen(colours.Outline, 1.0));
    painter.setBrush(colours.Back);
    painter.drawPath(folderBack());
    painter.setBrush(colours.Front);
    painter.drawPath(folderFront());
    return glyph;
}

QIcon makeBrowseIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(makeBrowseGlyph(true)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(makeBrowseGlyph(false)), QIcon::Disabled);
    return icon;
}

} // namespace Lanvo
