#pragma once

#include "CellTextLayouts.h"

#include <QStyledItemDelegate>

namespace Lanvo {

// The games list's cells. The style lays a cell's text out three times (to size it, to elide it and to
// draw it), which is most of the time the list's first frame takes; for the cells of a plain list in
// the style that draws them that way, this delegate draws the same pixels with one layout of the text,
// kept for the next cell that shows the same text.
// Every other cell (another style, focus, check boxes, wrapped or right-to-left text) the style draws.
class EnhItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Whether paint draws a cell with these (initialised) options itself rather than through the style.
    static bool drawsItself(const QStyleOptionViewItem &option);

private:
    mutable CellTextLayouts m_texts;
};

} // namespace Lanvo
