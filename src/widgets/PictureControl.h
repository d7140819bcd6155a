#pragma once

#include "Interfaces.h"
#include "JpegDecoder.h"

#include <QImage>
#include <QWidget>

namespace Lanvo {

// Registers the picture resources of this static library; the program calls it once at start.
void initPictureResources();

// A picture control: shows one picture stretched to its whole size, proportions not kept. Its
// JPEG options apply to every JPEG picture put into it, and again to the one held when they change.
class TFEJpeg : public QWidget, public IPicture
{
    Q_OBJECT

public:
    static constexpr const char *DefaultPictureResource = ":/pictures/default.bmp";

    explicit TFEJpeg(QWidget *parent = nullptr);

    // IPicture. A failed load keeps the previous picture.
    bool loadFile(const QString &path) override;
    void showPicture() override;
    void hidePicture() override;

    // The built-in default picture; false only when the program was built without it.
    bool setDefaultPicture();

    const JpegOptions &JPEGProperties() const { return m_options; }
    // Decodes the JPEG picture held again and redraws it; a change of ProgressiveDisplay alone
    // only takes effect at the next load.
    void setJPEGProperties(const JpegOptions &options);

    const QImage &picture() const { return m_picture; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool load(const QString &path, const QString &description);
    void setPicture(QImage picture);
    const QImage &drawnPicture();
    JpegDecoder::PassHandler passPainter();

    JpegOptions m_options;
    QImage m_picture;
    QImage m_drawn;                         // m_picture as painted: at the control's size, screen-ready
    QByteArray m_jpegBytes;                 // the JPEG held, to decode again when an option changes
    const QImage *m_shownPass = nullptr;    // an intermediate pass of a progressive load
};

} // namespace Lanvo
