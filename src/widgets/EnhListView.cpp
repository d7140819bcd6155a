#include "EnhListView.h"

#include "EnhItemDelegate.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QFontMetrics>

#include <algorithm>

namespace Lanvo {

TEnhListView::TEnhListView(QWidget *parent)
    : QTreeView(parent)
    , m_model(new EnhListModel(this))
    , m_header(new EnhHeaderView(this))
{
    setHeader(m_header);
    setModel(m_model);
    setItemDelegate(new EnhItemDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setSectionsMovable(true);
    m_header->setFirstSectionMovable(true); // a list has no tree column to keep in front
    m_header->setSectionsClickable(true);
    m_header->setStretchLastSection(false);
    connect(m_header, &QHeaderView::sectionClicked, this, &TEnhListView::clickColumn);
    // One signal per change: selecting a row also moves the focus, which would raise it a second time.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TEnhListView::rowStateChanged);
}

TEnhListView::~TEnhListView()
{
    // Settings are saved only for a list that finished loading, as one still being set up has
    // nothing of its own to keep yet.
    if (m_loaded && m_saveSettings.AutoSave)
        saveSettings();
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

void TEnhListView::setColumnShown(int source, bool shown)
{
    if ((m_model->shownColumn(source) >= 0) == shown)
        return;
    const bool sorted = m_sortColumn >= 0 && m_sortColumn < m_model->columnCount();
    const int sortSource = sorted ? m_model->sourceColumn(m_sortColumn) : -1;
    const int selected = selectedRow();
    // The same row stays selected: the window hears of no new selection.
    const QSignalBlocker quiet(this);
    m_model->setColumnShown(source, shown);
    if (shown)
        setColumnWidth(m_model->shownColumn(source), m_model->columns()[static_cast<size_t>(source)].Width);
    if (sortSource >= 0)
        m_sortColumn = m_model->shownColumn(sortSource);
    if (selected >= 0)
        selectRow(selected); // whole again, with the new column
    syncHeader();
}

void TEnhListView::loaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    bool sortLoaded = false;
    if (m_saveSettings.AutoSave)
        loadSettings(sortLoaded);
    if (!sortLoaded) {
        if (m_model->columnCount() > 0)
            m_sortColumn = 0;
        Resort();
    }
    syncHeader();
    viewport()->update();
}

void TEnhListView::loadSettings(bool &sortLoaded)
{
    const int columns = m_model->columnCount();
    if (m_saveSettings.SaveColumnSizes) {
        if (const std::optional<QList<int>> sizes = m_saveSettings.readColumnSizes()) {
            // Entries beyond the columns, or that are no width, leave their column as it is.
            const int count = std::min(columns, int(sizes->size()));
            for (int column = 0; column < count; ++column) {
                if (sizes->at(column) >= 0)
                    setColumnWidth(column, sizes->at(column));
            }
        }
    }
    if (!m_saveSettings.SaveCurrentSort)
        return;
    const TStoredSort stored = m_saveSettings.readSort();
    BeginUpdate();
    m_sortAscending = stored.Ascending;
    m_sortColumn = std::max(0, std::min(stored.SortColumn, columns - 1));
    Resort();
    EndUpdate();
    sortLoaded = true;
}

void TEnhListView::saveSettings() const
{
    const int columns = m_model->columnCount();
    if (columns == 0)
        return;
    QList<int> sizes;
    for (int column = 0; column < columns; ++column)
        sizes << columnWidth(column);
    m_saveSettings.write(sizes, {m_sortAscending, m_sortColumn});
}

void TEnhListView::SetAutoColumnSort(TAutoColumnSort value)
{
    const bool changed = value != m_autoColumnSort;
    m_autoColumnSort = value;
    if (changed && value != acsNoSort)
        Resort();
    syncHeader();
}

void TEnhListView::SetAutoSortStyle(TAutoSortStyle value)
{
    if (value == m_autoSortStyle)
        return;
    m_autoSortStyle = value;
    Resort();
}

void TEnhListView::SetAutoSortAscending(bool value)
{
    if (value == m_autoSortAscending)
        return;
    m_autoSortAscending = value;
    m_sortAscending = value;
    syncHeader();
}

void TEnhListView::SetShowSortArrows(bool value)
{
    m_showSortArrows = value;
    m_arrows = {};
    if (value)
        makeArrows();
    syncHeader();
    update();
}

void TEnhListView::SetReverseSortArrows(bool value)
{
    if (value == m_reverseSortArrows)
        return;
    m_reverseSortArrows = value;
    if (m_showSortArrows) {
        makeArrows();
        syncHeader();
    }
}

void TEnhListView::SetOnDrawHeader(TDrawHeaderEvent handler)
{
    m_onDrawHeader = std::move(handler);
    m_header->setDrawHandler(m_onDrawHeader);
    syncHeader();
}

bool TEnhListView::ColumnClick() const
{
    return m_header->sectionsClickable();
}

void TEnhListView::SetColumnClick(bool value)
{
    m_header->setSectionsClickable(value);
}

void TEnhListView::makeArrows()
{
    const QPalette colours = palette();
    m_arrows = MakeArrowBitmaps(QFontMetrics(font()).height(),
                                {colours.color(QPalette::Button), colours.color(QPalette::Dark),
                                 colours.color(QPalette::Light)},
                                m_reverseSortArrows);
}

// Tells the header how to draw: by the control whenever arrows or a draw handler are wanted, with the
// arrow of the current direction in the sort column.
void TEnhListView::syncHeader()
{
    m_header->setControlDrawn(m_showSortArrows || bool(m_onDrawHeader));
    const bool arrowShown = m_showSortArrows && m_autoColumnSort != acsNoSort;
    m_header->setSortArrow(arrowShown ? m_sortColumn : -1,
                           m_sortAscending ? m_arrows.Ascending : m_arrows.Descending);
}

void TEnhListView::changeEvent(QEvent *event)
{
    QTreeView::changeEvent(event);
    const QEvent::Type type = event->type();
    // The arrows take the button colours and the font's height.
    if (m_showSortArrows
        && (type == QEvent::PaletteChange || type == QEvent::FontChange || type == QEvent::StyleChange)) {
        makeArrows();
        syncHeader();
    }
}

void TEnhListView::clickColumn(int column)
{
    if (m_autoColumnSort == acsSortToggle)
        m_sortAscending = (column == m_sortColumn) ? !m_sortAscending : m_autoSortAscending;
    Q_EMIT columnClicked(column);
    if (m_autoColumnSort != acsNoSort && column >= 0 && column < m_model->columnCount())
        SortRows(column, m_sortAscending);
    m_sortColumn = column;
    syncHeader();
}

void TEnhListView::SortRows(int column, bool ascending)
{
    m_resortPending = false;
    m_sortColumn = column;
    Q_EMIT sortStarted(column);
    const SortLocale locale; // the user's regional settings as they are now
    const int source = column >= 0 && column < m_model->columnCount() ? m_model->sourceColumn(column) : column;
    const SortContext context{source - 1, ascending ? 1 : -1, m_autoSortStyle, &locale};
    m_model->applyOrder(sortedRowOrder(*m_model, context, m_onSortItems));
    Q_EMIT sortFinished(column);
    syncHeader();
}

void TEnhListView::Resort()
{
    m_resortPending = true;
    const bool byColumn =
        m_autoColumnSort != acsNoSort && m_sortColumn >= 0 && m_sortColumn < m_model->columnCount();
    if ((byColumn || m_onSortItems) && UpdateCount() == 0)
        SortRows(m_sortColumn, m_sortAscending);
}

void TEnhListView::BeginUpdate()
{
    beginRowsBatch();
    ++m_updateCount;
}

void TEnhListView::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    --m_updateCount;
    if (UpdateCount() == 0 && m_resortPending)
        Resort();
    endRowsBatch();
}

void TEnhListView::setRowCaption(int row, const QString &caption)
{
    m_model->setRowCaption(row, caption);
    if (m_autoResort)
        Resort();
}

void TEnhListView::beginRowsBatch()
{
    if (!m_model->inBatch())
        setUpdatesEnabled(false);
    m_model->beginBatch();
}

void TEnhListView::endRowsBatch()
{
    if (!m_model->inBatch())
        return;
    m_model->endBatch();
    if (!m_model->inBatch())
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
    if (m_autoResort)
        Resort();
}

void TEnhListView::setGameTextOf(GameTextOf textOf)
{
    m_model->setGameTextOf(std::move(textOf));
}

void TEnhListView::appendGameRow(TGame *game, int stateImage)
{
    m_model->appendGameRow(game, stateImage);
    if (m_autoResort)
        Resort();
}

int TEnhListView::rowCount() const
{
    return m_model->rowCount();
}

QString TEnhListView::rowCaption(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_model->text(m_model->row(row), 0);
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
        if (m_model->text(m_model->row(row), 0).compare(caption, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

void TEnhListView::updateGameRow(const TGame *game)
{
    m_model->gameChanged(game);
    if (m_autoResort)
        Resort();
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
