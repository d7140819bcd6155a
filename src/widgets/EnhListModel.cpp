#include "EnhListModel.h"

#include "SearchText.h"
#include "StateImages.h"

#include <algorithm>
#include <numeric>

namespace Lanvo {

EnhListModel::EnhListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int EnhListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(searching() ? m_shown.size() : m_rows.size());
}

int EnhListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shownColumns.size());
}

QString EnhListModel::cellText(int row, int column) const
{
    return text(this->row(row), sourceColumn(column));
}

QString EnhListModel::text(const Row &row, int source) const
{
    if (row.OwnTexts >= 0)
        return m_ownTexts[static_cast<size_t>(row.OwnTexts)].value(source);
    if (row.Game && m_gameTextOf)
        return m_gameTextOf(*row.Game, source);
    return {};
}

void EnhListModel::setGameTextOf(GameTextOf textOf)
{
    m_gameTextOf = std::move(textOf);
    m_keys.clear();
    if (!m_rows.empty() && m_batchDepth == 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QVariant EnhListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[static_cast<size_t>(sourceColumn(index.column()))].Alignment
                                   | Qt::AlignVCenter);
    case GameRole:
        return QVariant::fromValue(static_cast<void *>(row(index.row()).Game));
    case StateImageRole:
        return row(index.row()).StateImage;
    case Qt::DecorationRole:
        if (sourceColumn(index.column()) != 0)
            return {};
        if (isFavourite(row(index.row())))
            return favouriteStateIcon(row(index.row()).StateImage);
        return stateImage(row(index.row()).StateImage);
    case Qt::AccessibleDescriptionRole:
        if (sourceColumn(index.column()) != 0)
            return {};
        if (isFavourite(row(index.row())))
            return stateImageText(row(index.row()).StateImage) + QStringLiteral(", favourite");
        return stateImageText(row(index.row()).StateImage);
    default:
        return {};
    }
}

QVariant EnhListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const Column &column = m_columns[static_cast<size_t>(sourceColumn(section))];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return column.Caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.Alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags EnhListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void EnhListModel::setColumns(const std::vector<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_shownColumns.resize(columns.size());
    std::iota(m_shownColumns.begin(), m_shownColumns.end(), 0);
    endResetModel();
}

int EnhListModel::shownColumn(int source) const
{
    const auto at = std::find(m_shownColumns.cbegin(), m_shownColumns.cend(), source);
    return at == m_shownColumns.cend() ? -1 : static_cast<int>(at - m_shownColumns.cbegin());
}

// A column shown again takes its place in the order of columns().
void EnhListModel::setColumnShown(int source, bool shown)
{
    if (source < 0 || source >= static_cast<int>(m_columns.size()) || (shownColumn(source) >= 0) == shown)
        return;
    if (!shown) {
        const int column = shownColumn(source);
        beginRemoveColumns(QModelIndex(), column, column);
        m_shownColumns.erase(m_shownColumns.begin() + column);
        endRemoveColumns();
        return;
    }
    const auto at = std::lower_bound(m_shownColumns.begin(), m_shownColumns.end(), source);
    const int column = static_cast<int>(at - m_shownColumns.begin());
    beginInsertColumns(QModelIndex(), column, column);
    m_shownColumns.insert(at, source);
    endInsertColumns();
}

void EnhListModel::setColumnCaption(int source, const QString &caption)
{
    if (source < 0 || source >= static_cast<int>(m_columns.size()))
        return;
    m_columns[static_cast<size_t>(source)].Caption = caption;
    const int column = shownColumn(source);
    if (column >= 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void EnhListModel::beginBatch()
{
    if (m_batchDepth++ == 0)
        beginResetModel();
}

void EnhListModel::endBatch()
{
    if (m_batchDepth == 0)
        return;
    if (--m_batchDepth > 0)
        return;
    if (searching())
        filterRows(false);
    endResetModel();
}

void EnhListModel::clearRows()
{
    const bool notify = m_batchDepth == 0;
    if (notify)
        beginResetModel();
    m_rows.clear();
    m_ownTexts.clear();
    m_keys.clear();
    m_shown.clear();
    if (notify)
        endResetModel();
}

void EnhListModel::appendRow(TextRow row)
{
    QStringList texts = std::move(row.SubItems);
    texts.prepend(std::move(row.Caption));
    m_ownTexts.push_back(std::move(texts));
    appendStored({row.Game, row.StateImage, static_cast<int>(m_ownTexts.size() - 1)});
}

void EnhListModel::appendGameRow(TGame *game, int stateImage)
{
    appendStored({game, stateImage, -1});
}

void EnhListModel::appendStored(Row row)
{
    if (m_batchDepth > 0) {
        m_rows.push_back(std::move(row));
        return;
    }
    if (!searching()) {
        const int at = rowCount();
        beginInsertRows(QModelIndex(), at, at);
        m_rows.push_back(std::move(row));
        endInsertRows();
        return;
    }
    // While searching the row is listed only when it matches.
    m_rows.push_back(std::move(row));
    makeKeys();
    const size_t source = m_rows.size() - 1;
    if (!matches(source))
        return;
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at);
    m_shown.push_back(static_cast<int>(source));
    endInsertRows();
}

void EnhListModel::setRowCaption(int row, const QString &caption)
{
    if (row < 0 || row >= rowCount())
        return;
    const size_t source = static_cast<size_t>(sourceRow(row));
    Row &edited = m_rows[source];
    if (edited.OwnTexts < 0) {
        QStringList texts;
        for (int column = 0; column < static_cast<int>(m_columns.size()); ++column)
            texts << text(edited, column);
        m_ownTexts.push_back(std::move(texts));
        edited.OwnTexts = static_cast<int>(m_ownTexts.size() - 1);
    }
    QStringList &texts = m_ownTexts[static_cast<size_t>(edited.OwnTexts)];
    if (texts.isEmpty())
        texts << caption;
    else
        texts.first() = caption;
    if (source < m_keys.size())
        m_keys[source] = m_keyOf ? foldForSearch(m_keyOf(m_rows[source])) : QString();
    // A row that no longer matches stays listed until the search changes, as the user is looking at it.
    if (m_batchDepth == 0)
        Q_EMIT dataChanged(index(row, 0), index(row, 0));
}

void EnhListModel::gameChanged(const TGame *game)
{
    for (size_t source = 0; source < m_rows.size(); ++source) {
        if (m_rows[source].Game != game)
            continue;
        if (source < m_keys.size())
            m_keys[source] = m_keyOf ? foldForSearch(m_keyOf(m_rows[source])) : QString();
        if (m_batchDepth > 0)
            continue;
        // While searching, the row is drawn again only where it is listed.
        int listed = static_cast<int>(source);
        if (searching()) {
            const auto at = std::find(m_shown.cbegin(), m_shown.cend(), listed);
            listed = at == m_shown.cend() ? -1 : static_cast<int>(at - m_shown.cbegin());
        }
        if (listed >= 0)
            Q_EMIT dataChanged(index(listed, 0), index(listed, columnCount() - 1));
    }
}

void EnhListModel::setSearchKeyOf(SearchKeyOf keyOf)
{
    m_keyOf = std::move(keyOf);
    m_keys.clear();
}

bool EnhListModel::setSearchText(const QString &text)
{
    QStringList words = searchWords(text);
    if (words == m_words)
        return false;
    const bool narrowing = searching() && narrows(words, m_words);
    if (m_batchDepth > 0) {
        m_words = std::move(words);
        return true; // the batch's closing reset filters
    }
    beginResetModel();
    m_words = std::move(words);
    filterRows(narrowing);
    endResetModel();
    return true;
}

// Keys of rows added since the last search; kept until the rows are emptied.
void EnhListModel::makeKeys()
{
    m_keys.reserve(m_rows.size());
    for (size_t source = m_keys.size(); source < m_rows.size(); ++source)
        m_keys.push_back(m_keyOf ? foldForSearch(m_keyOf(m_rows[source])) : QString());
}

bool EnhListModel::matches(size_t source) const
{
    return containsAllWords(m_keys[source], m_words);
}

// Narrowing only tests again the rows listed so far; their order is kept either way.
void EnhListModel::filterRows(bool narrowing)
{
    if (!searching()) {
        m_shown = {};
        return;
    }
    makeKeys();
    std::vector<int> shown;
    if (narrowing) {
        for (const int source : m_shown) {
            if (matches(static_cast<size_t>(source)))
                shown.push_back(source);
        }
    } else {
        for (size_t source = 0; source < m_rows.size(); ++source) {
            if (matches(source))
                shown.push_back(static_cast<int>(source));
        }
    }
    m_shown = std::move(shown);
}

void EnhListModel::applyOrder(const std::vector<int> &order)
{
    Q_ASSERT(order.size() == m_rows.size());
    if (order.size() != m_rows.size())
        return;
    const bool notify = m_batchDepth == 0;
    if (notify)
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    std::vector<QString> sortedKeys;
    const bool keysComplete = m_keys.size() == m_rows.size();
    sortedKeys.reserve(keysComplete ? m_keys.size() : 0);
    std::vector<int> newRowOf(order.size());
    for (size_t at = 0; at < order.size(); ++at) {
        const auto from = static_cast<size_t>(order[at]);
        sorted.push_back(std::move(m_rows[from]));
        if (keysComplete)
            sortedKeys.push_back(std::move(m_keys[from]));
        newRowOf[from] = static_cast<int>(at);
    }
    m_rows = std::move(sorted);
    m_keys = std::move(sortedKeys); // keys of a partial set are made again when needed
    // Listed positions before and after: the listed set is the same, in the new order.
    std::vector<int> listedBefore = searching() ? m_shown : std::vector<int>{};
    std::vector<int> newListedOf; // new position in m_rows -> listed row, while searching
    if (searching()) {
        std::vector<char> listed(m_rows.size(), 0);
        for (const int source : m_shown)
            listed[static_cast<size_t>(newRowOf[static_cast<size_t>(source)])] = 1;
        m_shown.clear();
        newListedOf.assign(m_rows.size(), -1);
        for (size_t source = 0; source < m_rows.size(); ++source) {
            if (listed[source]) {
                newListedOf[source] = static_cast<int>(m_shown.size());
                m_shown.push_back(static_cast<int>(source));
            }
        }
    }
    if (!notify)
        return;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before) {
        int row = old.row();
        if (searching())
            row = newListedOf[static_cast<size_t>(newRowOf[static_cast<size_t>(listedBefore[static_cast<size_t>(row)])])];
        else
            row = newRowOf[static_cast<size_t>(row)];
        after << index(row, old.column());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace Lanvo
