#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVarLengthArray>

#include <functional>
#include <vector>

namespace Lanvo {

struct TGame;

// A row's sub-items, held inside the row: the games list's five take no allocation of their own,
// which matters at hundreds of thousands of rows.
class SubItemList : public QVarLengthArray<QString, 5>
{
public:
    SubItemList() = default;
    SubItemList(std::initializer_list<QString> items)
        : QVarLengthArray(items)
    {
    }
    SubItemList(const QStringList &items) // NOLINT: converts as a list of texts would
        : QVarLengthArray(items.begin(), items.end())
    {
    }
    QStringList toList() const { return QStringList(begin(), end()); }
};

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
        SubItemList SubItems;
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
    // Every column, shown or not; the model's columns are the shown ones, in this order. A hidden
    // column is no column of the model at all, so a screen reader never walks its cells.
    const std::vector<Column> &columns() const { return m_columns; }
    // Index into columns() of the model's Column.
    int sourceColumn(int column) const { return m_shownColumns[static_cast<size_t>(column)]; }
    // The model's column of a column of columns(), or -1 while it is hidden.
    int shownColumn(int source) const;
    void setColumnShown(int source, bool shown);
    // Captions by index into columns().
    void setColumnCaption(int source, const QString &caption);

    // Inside a batch rows change without per-row notifications; one reset ends it.
    void beginBatch();
    void endBatch();
    bool inBatch() const { return m_batchDepth > 0; }
    void clearRows();
    void appendRow(Row row);
    // A row as listed: while a search is in force, row 0 is the first row that matches it.
    const Row &row(int index) const { return m_rows[static_cast<size_t>(sourceRow(index))]; }
    // Every row, listed or not, in the order a sort gave them.
    const std::vector<Row> &rows() const { return m_rows; }
    void setRowCaption(int row, const QString &caption);
    // Puts all the rows in Order (element i is the row that goes to position i); persistent indexes,
    // and so the selection, follow their rows. Inside a batch the closing reset tells the views instead.
    void applyOrder(const std::vector<int> &order);
    // The text shown in Column of a listed Row: the caption, a sub-item, or empty for a missing sub-item.
    QString cellText(int row, int column) const;

    // Quick search: only the rows whose search key holds every word of Text are listed; an empty text
    // lists every row. The text stays in force while rows are emptied and refilled. A row's key is made
    // once, when a search first needs it. False when the words are those in force already.
    using SearchKeyOf = std::function<QString(const Row &)>;
    void setSearchKeyOf(SearchKeyOf keyOf);
    bool setSearchText(const QString &text);
    bool searching() const { return !m_words.isEmpty(); }

    // Rows the user marked: their state image carries a star, and a screen reader hears "favourite".
    using RowMarkOf = std::function<bool(const Row &)>;
    void setFavouriteOf(RowMarkOf favouriteOf) { m_favouriteOf = std::move(favouriteOf); }
    bool isFavourite(const Row &row) const { return m_favouriteOf && m_favouriteOf(row); }
    // New sub-items for every row of Game, listed or not; a listed row is drawn again whole.
    void setSubItemsOf(const TGame *game, const SubItemList &subItems);

private:
    int sourceRow(int listed) const { return searching() ? m_shown[static_cast<size_t>(listed)] : listed; }
    void makeKeys();
    bool matches(size_t source) const;
    void filterRows(bool narrowing);

    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    std::vector<int> m_shownColumns; // the model's columns, as indexes into m_columns
    int m_batchDepth = 0;

    SearchKeyOf m_keyOf;
    RowMarkOf m_favouriteOf;
    QStringList m_words;
    std::vector<QString> m_keys; // folded search keys of the first rows; only made while searching
    std::vector<int> m_shown;    // while searching: the listed rows, as positions in m_rows
};

} // namespace Lanvo
