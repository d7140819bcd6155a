#pragma once

#include <QHeaderView>
#include <QImage>

#include <functional>
#include <optional>

namespace Lanvo {

// Draws one header section itself; clearing DefaultDrawing skips the control's own drawing.
using TDrawHeaderEvent =
    std::function<void(QPainter &painter, int column, const QRect &rect, bool pressed, bool &defaultDrawing)>;

// Where the control's own drawing puts the parts of one header section.
struct HeaderSectionLayout
{
    QRect Fill;    // filled with the button face
    QRect Caption; // the caption is drawn (and elided) in here
    bool ArrowDrawn = false;
    QPoint ArrowTopLeft;
};

// The placement arithmetic of a control-drawn section: Section is the whole section, CaptionWidth the
// caption's natural one-line width, Arrow the arrow picture's size when this section shows one.
HeaderSectionLayout layoutHeaderSection(const QRect &section, bool pressed, Qt::Alignment alignment,
                                        int captionWidth, std::optional<QSize> arrow);

// The caption's natural one-line width in Font, as the placement takes it.
int headerCaptionWidth(const QFont &font, const QString &caption);

// A header whose sections the list view can draw itself, with a sort arrow in one of them.
class EnhHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit EnhHeaderView(QWidget *parent = nullptr);

    // Off: sections are painted as every other header's.
    void setControlDrawn(bool on);
    bool controlDrawn() const { return m_controlDrawn; }
    void setDrawHandler(TDrawHeaderEvent handler);
    // Column -1 shows no arrow.
    void setSortArrow(int column, const QImage &arrow);
    int sortArrowColumn() const { return m_arrowColumn; }
    const QImage &sortArrow() const { return m_arrow; }
    int pressedSection() const { return m_pressed; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void paintFrame(QPainter &painter, const QRect &rect, int logicalIndex, bool pressed) const;
    void paintDefault(QPainter &painter, const QRect &rect, int logicalIndex, bool pressed) const;
    Qt::Alignment sectionAlignment(int logicalIndex) const;

    bool m_controlDrawn = false;
    TDrawHeaderEvent m_drawHandler;
    int m_arrowColumn = -1;
    QImage m_arrow;
    int m_pressed = -1;
};

} // namespace Lanvo
