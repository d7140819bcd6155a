#include "HandCursor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Lanvo {

namespace {

QPainterPath roundedBox(qreal x, qreal y, qreal width, qreal height, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, width, height), radius, radius);
    return path;
}

// Index finger raised, three fingers folded on the palm, thumb on the left.
QPainterPath handOutline()
{
    QPainterPath thumb;
    thumb.moveTo(9.5, 17.5);
    thumb.lineTo(5.0, 13.5);
    thumb.cubicTo(3.0, 12.0, 1.5, 14.5, 3.0, 16.5);
    thumb.lineTo(9.5, 25.0);
    thumb.closeSubpath();

    QPainterPath hand = roundedBox(9.5, 0.5, 5.0, 18.0, 2.5);
    hand = hand.united(roundedBox(14.5, 9.5, 4.5, 9.0, 2.0));
    hand = hand.united(roundedBox(19.0, 10.5, 4.5, 9.0, 2.0));
    hand = hand.united(roundedBox(23.5, 11.5, 4.0, 9.0, 2.0));
    hand = hand.united(roundedBox(9.5, 15.5, 18.0, 12.0, 4.0));
    return hand.united(thumb);
}

QImage drawHandCursor()
{
    QImage image(HandCursorSize, HandCursorSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::white);
    painter.drawPath(handOutline());
    // Creases between the folded fingers.
    painter.drawLine(QPointF(19.0, 12.5), QPointF(19.0, 17.5));
    painter.drawLine(QPointF(23.5, 13.5), QPointF(23.5, 18.5));
    return image;
}

} // namespace

// The program has one hand cursor: it is drawn at the first link label, however many follow.
const QImage &handCursorImage()
{
    static const QImage image = drawHandCursor();
    return image;
}

QCursor makeHandCursor()
{
    return QCursor(QPixmap::fromImage(handCursorImage()), HandCursorHotX, HandCursorHotY);
}

} // namespace Lanvo
