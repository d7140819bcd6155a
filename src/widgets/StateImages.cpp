#include "StateImages.h"

#include <QPainter>
#include <QPolygonF>

#include <array>

namespace Lanvo {

namespace {

constexpr int ImageSide = 16;
const QColor Red(0xD0, 0x20, 0x20);
const QColor Green(0x20, 0xA0, 0x30);

QImage transparentImage()
{
    QImage image(ImageSide, ImageSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A triangle pointing right whose left edge runs at Left, from 2 to 14 pixels down.
void drawTriangle(QPainter &painter, qreal left, const QColor &colour)
{
    const QPolygonF triangle({QPointF(left, 2.5), QPointF(left, 13.5), QPointF(left + 8, 8)});
    painter.setPen(QPen(colour.darker(150), 1));
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
}

// A letter Z of strokes, not of a font, so it looks the same everywhere.
void drawLetterZ(QPainter &painter, const QColor &colour)
{
    painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const QPolygonF z({QPointF(1.5, 4), QPointF(6.5, 4), QPointF(1.5, 12), QPointF(6.5, 12)});
    painter.drawPolyline(z);
}

QImage triangleImage(const QColor &colour)
{
    QImage image = transparentImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawTriangle(painter, 4.5, colour);
    return image;
}

QImage zippedImage()
{
    QImage image = transparentImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLetterZ(painter, Green);
    drawTriangle(painter, 7.5, Green);
    return image;
}

} // namespace

QImage stateImage(int index)
{
    static const std::array<QImage, StateImageCount> images = {triangleImage(Red), triangleImage(Green),
                                                              zippedImage()};
    if (index < 0 || index >= StateImageCount)
        return {};
    return images[static_cast<size_t>(index)];
}

QString stateImageText(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("missing");
    case 1:
        return QStringLiteral("available");
    case 2:
        return QStringLiteral("available, zipped");
    default:
        return {};
    }
}

} // namespace Lanvo
