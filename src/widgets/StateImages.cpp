#include "StateImages.h"

#include <QIconEngine>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>

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

// The state image of Index in a 16 by 16 square at the painter's origin.
void drawState(QPainter &painter, int index)
{
    if (index == 2) {
        drawLetterZ(painter, Green);
        drawTriangle(painter, 7.5, Green);
    } else {
        drawTriangle(painter, 4.5, index == 0 ? Red : Green);
    }
}

QImage stateImageOf(int index)
{
    QImage image = transparentImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawState(painter, index);
    return image;
}

// A five-pointed star in the 12 by 16 strip right of the state image.
void drawStar(QPainter &painter)
{
    const QPointF centre(ImageSide + 6.0, 8.5);
    QPolygonF star;
    for (int point = 0; point < 10; ++point) {
        const qreal radius = point % 2 == 0 ? 5.5 : 2.3;
        const qreal angle = qDegreesToRadians(-90.0 + point * 36.0);
        star << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
    }
    const QColor gold(0xF0, 0xB0, 0x10);
    painter.setPen(QPen(gold.darker(160), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(gold);
    painter.drawPolygon(star);
}

// Draws the state image and the star as shapes at whatever scale the painter has, so the icon stays
// sharp on a screen of any pixel ratio.
class FavouriteIconEngine : public QIconEngine
{
public:
    explicit FavouriteIconEngine(int state)
        : m_state(state)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const QSize size = actualSize(rect.size(), QIcon::Normal, QIcon::Off);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.x() + (rect.width() - size.width()) / 2.0,
                           rect.y() + (rect.height() - size.height()) / 2.0);
        painter->scale(qreal(size.height()) / ImageSide, qreal(size.height()) / ImageSide);
        drawState(*painter, m_state);
        drawStar(*painter);
        painter->restore();
    }

    // The icon keeps its proportions inside the size asked for.
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const QSize natural = FavouriteIconSize;
        return natural.scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new FavouriteIconEngine(m_state); }

private:
    int m_state;
};

} // namespace

QImage stateImage(int index)
{
    static const std::array<QImage, StateImageCount> images = {stateImageOf(0), stateImageOf(1), stateImageOf(2)};
    if (index < 0 || index >= StateImageCount)
        return {};
    return images[static_cast<size_t>(index)];
}

QIcon favouriteStateIcon(int index)
{
    if (index < 0 || index >= StateImageCount)
        return {};
    static const std::array<QIcon, StateImageCount> icons = {
        QIcon(new FavouriteIconEngine(0)), QIcon(new FavouriteIconEngine(1)), QIcon(new FavouriteIconEngine(2))};
    return icons[static_cast<size_t>(index)];
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
