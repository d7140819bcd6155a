#include "PictureControl.h"

#include "PictureDecoding.h"

#include <QAccessibleWidget>
#include <QFileInfo>
#include <QPainter>

#include <cstring>
#include <mutex>
#include <vector>

// Q_INIT_RESOURCE declares the resource's registration function in the enclosing namespace, so it
// must be used outside ours.
static void registerPicturesResource()
{
    Q_INIT_RESOURCE(pictures);
}

namespace Lanvo {

namespace {

const QSize ControlSize(320, 226);

// The control paints itself, so it tells assistive technology what it is and what it shows.
class PictureAccessible : public QAccessibleWidget, public QAccessibleImageInterface
{
public:
    explicit PictureAccessible(QWidget *picture)
        : QAccessibleWidget(picture, QAccessible::Graphic)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ImageInterface)
            return static_cast<QAccessibleImageInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString imageDescription() const override { return widget()->accessibleDescription(); }
    QSize imageSize() const override { return widget()->size(); } // the picture fills the control
    QPoint imagePosition() const override { return rect().topLeft(); }
};

// Qt owns and caches the interfaces its factories create.
QAccessibleInterface *pictureAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(TFEJpeg::staticMetaObject.className()) && object && object->isWidgetType())
        return new PictureAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void initPictureResources()
{
    static std::once_flag once;
    std::call_once(once, registerPicturesResource);
}

TFEJpeg::TFEJpeg(QWidget *parent)
    : QWidget(parent)
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(pictureAccessibleFactory); });
    setAccessibleName(QStringLiteral("Picture"));
}

bool TFEJpeg::loadFile(const QString &path)
{
    return load(path, QFileInfo(path).fileName());
}

void TFEJpeg::showPicture()
{
    show();
}

void TFEJpeg::hidePicture()
{
    hide();
}

bool TFEJpeg::setDefaultPicture()
{
    initPictureResources();
    return load(QLatin1String(DefaultPictureResource), QStringLiteral("Default picture"));
}

void TFEJpeg::setJPEGProperties(const JpegOptions &options)
{
    JpegOptions drawn = options;
    drawn.ProgressiveDisplay = m_options.ProgressiveDisplay; // changes only how a load is shown
    const bool redecode = !(drawn == m_options);
    m_options = options;
    if (!redecode || m_jpegBytes.isEmpty())
        return;
    QImage image = decodePicture(m_jpegBytes, PictureFormat::Jpeg, m_options);
    if (image.isNull())
        return; // decoded before, so only memory can be short: keep what is shown
    setPicture(std::move(image));
}

QSize TFEJpeg::sizeHint() const
{
    return ControlSize;
}

void TFEJpeg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_shownPass) {
        // Passes follow one another quickly and each is drawn once: stretching it as it is drawn is cheapest.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), *m_shownPass);
        return;
    }
    if (m_picture.isNull())
        return;
    painter.drawImage(QPoint(0, 0), drawnPicture());
}

namespace {

// For each of To places, the one of From places whose centre is nearest.
std::vector<int> nearestSources(int from, int to)
{
    std::vector<int> sources(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i)
        sources[static_cast<size_t>(i)] = static_cast<int>((2 * qint64(i) + 1) * from / (2 * qint64(to)));
    return sources;
}

// Source, a 32-bit picture, enlarged to Size by repeating its pixels.
QImage repeatPixels(const QImage &source, QSize size)
{
    QImage stretched(size, source.format());
    if (stretched.isNull())
        return stretched;
    const std::vector<int> columns = nearestSources(source.width(), size.width());
    const std::vector<int> rows = nearestSources(source.height(), size.height());
    const bool sameWidth = source.width() == size.width();
    const auto rowBytes = static_cast<size_t>(size.width()) * sizeof(QRgb);
    for (int y = 0; y < size.height(); ++y) {
        auto *out = reinterpret_cast<QRgb *>(stretched.scanLine(y));
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(rows[static_cast<size_t>(y)]));
        if (y > 0 && rows[static_cast<size_t>(y)] == rows[static_cast<size_t>(y) - 1])
            std::memcpy(out, stretched.constScanLine(y - 1), rowBytes);
        else if (sameWidth)
            std::memcpy(out, in, rowBytes);
        else
            for (int x = 0; x < size.width(); ++x)
                out[x] = in[columns[static_cast<size_t>(x)]];
    }
    return stretched;
}

} // namespace

// The picture stretched to the control once, in the pixel format the screen takes as it is, so that
// a paint is a plain copy: drawing a palette picture stretched converts and filters every pixel each time.
// Enlarged, a picture keeps its pixels sharp, as snapshots are pixel art (and the default picture only
// gains two rows); shrunk, it is filtered, so that no detail simply drops out.
const QImage &TFEJpeg::drawnPicture()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_drawn.size() != pixels || m_drawn.devicePixelRatio() != ratio) {
        const QImage::Format format = m_picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                  : QImage::Format_RGB32;
        const QImage screenReady = m_picture.convertToFormat(format);
        const bool enlarged = pixels.width() >= m_picture.width() && pixels.height() >= m_picture.height();
        m_drawn = enlarged ? repeatPixels(screenReady, pixels)
                           : screenReady.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_drawn.setDevicePixelRatio(ratio);
    }
    return m_drawn;
}

void TFEJpeg::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    m_drawn = QImage();
    update();
}

bool TFEJpeg::load(const QString &path, const QString &description)
{
    LoadedPicture loaded = loadPictureFile(path, m_options, passPainter());
    if (loaded.image.isNull()) {
        update(); // an intermediate pass may be on screen
        return false;
    }
    m_jpegBytes = std::move(loaded.jpegBytes);
    setAccessibleDescription(description);
    setPicture(std::move(loaded.image));
    return true;
}

// Draws each pass of a progressive JPEG at once, without making it the picture held until the
// whole file has decoded.
JpegDecoder::PassHandler TFEJpeg::passPainter()
{
    return [this](const QImage &pass) {
        m_shownPass = &pass;
        repaint();
        m_shownPass = nullptr;
    };
}

} // namespace Lanvo
