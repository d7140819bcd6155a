#include "EnhListView.h"

#include <QHeaderView>

namespace Lanvo {

TEnhListView::TEnhListView(QWidget *parent)
    : QTreeView(parent)
    , m_model(new EnhListModel(this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(true);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TEnhListView::rowStateChanged);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TEnhListView::rowStateChanged);
}

void TEnhListView::setColumns(const std::vector<EnhListModel::Column> &columns)
{
    m_model->setColumns(columns);
    for (size_t i = 0; i < columns.size(); ++i)
        setColumnWidth(static_cast<int>(i), columns[i].Width);
}

void TEnhListView::setColumnCaptions(const QStringList &captions)
{
    for (int i = 0; i < captions.size(); ++i)
        m_model->setColumnCaption(i, captions.at(i));
}

void TEnhListView::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
    m_model->beginBatch();
}

void TEnhListView::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    m_model->endBatch();
    if (--m_updateDepth == 0)
        setUpdatesEnabled(true);
}

void TEnhListView::clearRows()
{
    m_model->clearRows();
}

void TEnhListView::repaintRows()
{
    viewport()->update();
}

void TEnhListView::appendRow(const QString &caption, const QStringList &subItems, TGame *game, int stateImage)
{
    m_model->appendRow({caption, subItems, game, stateImage});
}

int TEnhListView::rowCount() const
{
    return m_model->rowCount();
}

QString TEnhListView::rowCaption(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_model->row(row).Caption;
}

TGame *TEnhListView::rowGame(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_model->row(row).Game;
}

int TEnhListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int TEnhListView::findCaption(const QString &caption) const
{
    const int count = rowCount();
    for (int row = 0; row < count; ++row) {
        if (m_model->row(row).Caption.compare(caption, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

void TEnhListView::selectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

} // namespace Lanvo
