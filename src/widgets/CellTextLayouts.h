#pragma once

#include <QCache>
#include <QFont>
#include <QSize>
#include <QString>
#include <QTextLayout>

class QStyleOptionViewItem;

namespace Lanvo {

// A cell's text as a list draws it: laid out on one line Width wide, and elided when it is wider.
struct LaidOutCellText
{
    LaidOutCellText(const QStyleOptionViewItem &option, int width);

    QSize Size;        // the whole text's extent, which places the line in its cell
    qreal LineHeight;  // the whole text's line
    QTextLayout Drawn; // the whole text, or the elided one when the whole is wider than the cell
};

// The texts of the cells drawn last, laid out. Once its glyphs are cached, laying a text out (shaping
// it) is the dearest step of drawing a cell, and a list repeats its years, kinds and makers row after
// row and frame after frame.
class CellTextLayouts
{
public:
    const LaidOutCellText &laidOut(const QStyleOptionViewItem &option, int width);

private:
    struct Key
    {
        QString Text;
        QFont Font;
        int Width;
        int Alignment;
        int ElideMode;
        int Direction;
        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.Text, key.Font, key.Width, key.Alignment, key.ElideMode, key.Direction);
        }
    };

    // A few screens of cells.
    QCache<Key, LaidOutCellText> m_laidOut{1024};
};

} // namespace Lanvo
