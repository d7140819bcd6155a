#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace Lanvo {

struct TGame;

// The rows of a report-style list: a caption, sub-items, the game a row stands for and its state image,
// shown in the first column with a text for screen readers. Rows live in one vector so that fills and
// sorts of tens of thousands of rows stay cheap.
class EnhListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Row
    {
        QString Caption;
        QStringList SubItems;
        TGame *Game = nullptr;
        int StateImage = 0;
    };

    struct Column
    {
        QString Caption;
        int Width = 50;
        Qt::Alignment Alignment = Qt::AlignLeft;
    };

    static constexpr int GameRole = Qt::UserRole + 1;
    static constexpr int StateImageRole = Qt::UserRole + 2;

    explicit EnhListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setColumns(const std::vector<Column> &columns);
    const std::vector<Column> &columns() const { return m_columns; }
    void setColumnCaption(int column, const QString &caption);

    // Inside a batch rows change without per-row notifications; one reset ends it.
    void beginBatch();
    void endBatch();
    void clearRows();
    void appendRow(Row row);
    const Row &row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    const std::vector<Row> &rows() const { return m_rows; }
    void setRowCaption(int row, const QString &caption);
    // Puts the rows in Order (element i is the row that goes to position i); persistent indexes, and
    // so the selection, follow their rows. Inside a batch the closing reset tells the views instead.
    void applyOrder(const std::vector<int> &order);
    // The text shown in Column of Row: the caption, a sub-item, or empty for a missing sub-item.
    QString cellText(int row, int column) const;

private:
    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    int m_batchDepth = 0;
};

} // namespace Lanvo
