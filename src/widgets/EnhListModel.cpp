#include "EnhListModel.h"

#include "StateImages.h"

namespace Lanvo {

EnhListModel::EnhListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int EnhListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int EnhListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString EnhListModel::cellText(int row, int column) const
{
    const Row &r = m_rows[static_cast<size_t>(row)];
    if (column == 0)
        return r.Caption;
    return r.SubItems.value(column - 1);
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
        return QVariant::fromValue(m_columns[static_cast<size_t>(index.column())].Alignment
                                   | Qt::AlignVCenter);
    case GameRole:
        return QVariant::fromValue(static_cast<void *>(m_rows[static_cast<size_t>(index.row())].Game));
    case StateImageRole:
        return m_rows[static_cast<size_t>(index.row())].StateImage;
    case Qt::DecorationRole:
        if (index.column() == 0)
            return stateImage(m_rows[static_cast<size_t>(index.row())].StateImage);
        return {};
    case Qt::AccessibleDescriptionRole:
        if (index.column() == 0)
            return stateImageText(m_rows[static_cast<size_t>(index.row())].StateImage);
        return {};
    default:
        return {};
    }
}

QVariant EnhListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_columns[static_cast<size_t>(section)].Caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[static_cast<size_t>(section)].Alignment | Qt::AlignVCenter);
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
    endResetModel();
}

void EnhListModel::setColumnCaption(int column, const QString &caption)
{
    if (column < 0 || column >= columnCount())
        return;
    m_columns[static_cast<size_t>(column)].Caption = caption;
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
    if (--m_batchDepth == 0)
        endResetModel();
}

void EnhListModel::clearRows()
{
    if (m_batchDepth > 0) {
        m_rows.clear();
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void EnhListModel::appendRow(Row row)
{
    if (m_batchDepth > 0) {
        m_rows.push_back(std::move(row));
        return;
    }
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void EnhListModel::setRowCaption(int row, const QString &caption)
{
    if (row < 0 || row >= rowCount())
        return;
    m_rows[static_cast<size_t>(row)].Caption = caption;
    if (m_batchDepth == 0)
        Q_EMIT dataChanged(index(row, 0), index(row, 0));
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
    std::vector<int> newRowOf(order.size());
    for (size_t at = 0; at < order.size(); ++at) {
        sorted.push_back(std::move(m_rows[static_cast<size_t>(order[at])]));
        newRowOf[static_cast<size_t>(order[at])] = static_cast<int>(at);
    }
    m_rows = std::move(sorted);
    if (!notify)
        return;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after << index(newRowOf[static_cast<size_t>(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace Lanvo
