#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

namespace Lanvo {

struct TGame;

// The rows of a report-style list: a caption, sub-items, the game a row stands for and its state image,
// shown in the first column with a text for screen readers. A game's row holds no text: its cells are
// asked of the game when they are shown, sorted or searched, so a fill of hundreds of thousands of rows
// makes none and a row costs 16 bytes. Rows live in one vector so that fills and sorts stay cheap.
class EnhListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Row
    {
        TGame *Game = nullptr;
        int StateImage = 0;
        int OwnTexts = -1; // index of the row's own texts; -1: its texts are its game's
    };

    // A row that brings its texts: the caption and the sub-items after it.
    struct TextRow
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
    void appendRow(TextRow row);
    // A row whose texts are its game's, as GameTextOf gives them.
    void appendGameRow(TGame *game, int stateImage);
    // A row as listed: while a search is in force, row 0 is the first row that matches it.
    const Row &row(int index) const { return m_rows[static_cast<size_t>(sourceRow(index))]; }
    // Every row, listed or not, in the order a sort gave them.
    const std::vector<Row> &rows() const { return m_rows; }
    // A game's row edited so becomes one with texts of its own.
    void setRowCaption(int row, const QString &caption);
    // Puts all the rows in Order (element i is the row that goes to position i); persistent indexes,
    // and so the selection, follow their rows. Inside a batch the closing reset tells the views instead.
    void applyOrder(const std::vector<int> &order);
    // The text shown in Column of a listed Row: the caption, a sub-item, or empty for a missing sub-item.
    QString cellText(int row, int column) const;
    // The text of Row in Source, an index into columns() (0 is the caption), shown or not.
    QString text(const Row &row, int source) const;

    // The text of Game in Source (0 is the name); asked whenever a game's row is shown, sorted or searched.
    using GameTextOf = std::function<QString(const TGame &game, int source)>;
    void setGameTextOf(GameTextOf textOf);

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
    // Game's texts or marks changed: its rows, listed or not, are searched and drawn again whole.
    void gameChanged(const TGame *game);

private:
    int sourceRow(int listed) const { return searching() ? m_shown[static_cast<size_t>(listed)] : listed; }
    void makeKeys();
    bool matches(size_t source) const;
    void filterRows(bool narrowing);
    void appendStored(Row row);

    std::vector<Row> m_rows;
    std::vector<QStringList> m_ownTexts; // of rows added with texts, caption first
    GameTextOf m_gameTextOf;
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
