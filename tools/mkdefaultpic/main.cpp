// Draws the picture shown when a game has none: the program's name above a game pad, on black,
// 320 by 224 in 16 colours. Letters are drawn as strokes, not with a font, so the picture is the
// same whatever fonts a machine has.

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int Width = 320;
constexpr int Height = 224;

// The classic 16-colour display palette; everything is drawn in these colours only.
const QList<QRgb> Palette = {0xff000000, 0xff0000aa, 0xff00aa00, 0xff00aaaa, 0xffaa0000, 0xffaa00aa,
                             0xffaa5500, 0xffaaaaaa, 0xff555555, 0xff5555ff, 0xff55ff55, 0xff55ffff,
                             0xffff5555, 0xffff55ff, 0xffffff55, 0xffffffff};
enum Colour { Black = 0, Blue = 1, Grey = 7, DarkGrey = 8, LightBlue = 9, LightGreen = 10, Red = 12,
              Yellow = 14, White = 15 };

QColor colour(Colour index)
{
    return QColor::fromRgb(Palette.at(index));
}

constexpr int LetterWidth = 32;
constexpr int LetterHeight = 44;
constexpr int LetterGap = 14;

// One letter of the name as strokes in a LetterWidth by LetterHeight box.
QPainterPath letter(char c)
{
    const qreal w = LetterWidth, h = LetterHeight;
    QPainterPath path;
    switch (c) {
    case 'L':
        path.moveTo(0, 0);
        path.lineTo(0, h);
        path.lineTo(w, h);
        break;
    case 'A':
        path.moveTo(0, h);
        path.lineTo(w / 2, 0);
        path.lineTo(w, h);
        path.moveTo(w / 4, h * 0.62);
        path.lineTo(w * 3 / 4, h * 0.62);
        break;
    case 'N':
        path.moveTo(0, h);
        path.lineTo(0, 0);
        path.lineTo(w, h);
        path.lineTo(w, 0);
        break;
    case 'V':
        path.moveTo(0, 0);
        path.lineTo(w / 2, h);
        path.lineTo(w, 0);
        break;
    case 'O':
        path.addRoundedRect(0, 0, w, h, 10, 10);
        break;
    default:
        break;
    }
    return path;
}

void drawName(QPainter &painter, const char *name, int top)
{
    const int count = int(qstrlen(name));
    const int left = (Width - (count * LetterWidth + (count - 1) * LetterGap)) / 2;
    for (const auto &[offset, pen] : {std::pair{3, Red}, std::pair{0, Yellow}}) { // shadow, then letter
        painter.setPen(QPen(colour(pen), 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (int i = 0; i < count; ++i)
            painter.drawPath(letter(name[i]).translated(left + i * (LetterWidth + LetterGap) + offset,
                                                        top + offset));
    }
}

void drawUnderline(QPainter &painter, int y)
{
    const Colour stripes[] = {Blue, LightBlue, LightGreen, Yellow, Red};
    for (int i = 0; i < 5; ++i)
        painter.fillRect(40 + i * 48, y, 48, 4, colour(stripes[i]));
}

void drawGamePad(QPainter &painter, const QRect &body)
{
    painter.setPen(QPen(colour(Grey), 3));
    painter.setBrush(colour(DarkGrey));
    painter.drawRoundedRect(body, 30, 30);
    // Direction cross on the left.
    const QPoint cross(body.left() + 42, body.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(White));
    painter.drawRect(cross.x() - 18, cross.y() - 6, 36, 12);
    painter.drawRect(cross.x() - 6, cross.y() - 18, 12, 36);
    // Two buttons on the right, and two small ones in the middle.
    painter.setBrush(colour(Red));
    painter.drawEllipse(QPoint(body.right() - 56, body.center().y() + 8), 10, 10);
    painter.setBrush(colour(LightGreen));
    painter.drawEllipse(QPoint(body.right() - 28, body.center().y() - 8), 10, 10);
    painter.setBrush(colour(Black));
    painter.drawRect(body.center().x() - 18, body.center().y() + 14, 14, 5);
    painter.drawRect(body.center().x() + 4, body.center().y() + 14, 14, 5);
}

QImage drawPicture()
{
    QImage canvas(Width, Height, QImage::Format_RGB32);
    canvas.fill(colour(Black));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false); // no blended edges: palette colours only
    drawName(painter, "LANVO", 22);
    drawUnderline(painter, 84);
    drawGamePad(painter, QRect(70, 112, 180, 88));
    painter.end();
    return canvas.convertToFormat(QImage::Format_Indexed8, Palette, Qt::ThresholdDither | Qt::AvoidDither);
}

// Reads the written file back: a palette bitmap of 4 or 8 bits per pixel using at most 16 colours.
bool checkWritten(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return false;
    const int bits = qFromLittleEndian<quint16>(bytes.constData() + 28);
    const QImage image(path, "BMP");
    QSet<QRgb> used;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            used.insert(image.pixel(x, y));
    std::printf("%s: %dx%d, %d bits per pixel, %d palette entries, %d colours used\n", qPrintable(path),
                image.width(), image.height(), bits, int(image.colorCount()), int(used.size()));
    return (bits == 4 || bits == 8) && image.size() == QSize(Width, Height) && image.colorCount() <= 16
           && used.size() <= 16;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkdefaultpic OUTPUT.bmp\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!drawPicture().save(path, "BMP") || !checkWritten(path)) {
        std::fprintf(stderr, "mkdefaultpic: could not write a 16-colour bitmap to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
