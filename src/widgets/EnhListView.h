#pragma once

#include "ArrowBitmaps.h"
#include "CompareRows.h"
#include "EnhHeaderView.h"
#include "EnhLVSaveSettings.h"
#include "EnhListModel.h"
#include "EnhListTypes.h"
#include "Interfaces.h"

#include <QTreeView>

namespace Lanvo {

// The report-style list of the main window: one row per game under column headers, sorted by a
// click on a header, with the sort column's arrow drawn in its header.
//
// Two brackets, counted apart because each holds back something the other must not: the control's
// own (BeginUpdate/EndUpdate, open from construction until loaded()) holds sorting back and opens a
// rows' batch too; the rows' batch (beginRowsBatch/endRowsBatch, what the catalogue's refill uses)
// holds only repainting and the model's notices, so sorting requested meanwhile still happens.
class TEnhListView : public QTreeView, public IListRows
{
    Q_OBJECT

public:
    explicit TEnhListView(QWidget *parent = nullptr);
    ~TEnhListView() override;

    EnhListModel *listModel() const { return m_model; }
    EnhHeaderView *enhHeader() const { return m_header; }
    void setColumns(const std::vector<EnhListModel::Column> &columns);
    void setColumnCaptions(const QStringList &captions);
    // Shows or hides a column (an index into listModel()->columns()); the sort column, its arrow and the
    // selection stay with their rows and columns.
    void setColumnShown(int source, bool shown);

    // To be called once the owner has set the columns and properties: ends construction's update
    // bracket, loads stored settings, makes the first column the sort column when none was stored and
    // sorts by it.
    void loaded();

    // Published properties.
    TAutoColumnSort AutoColumnSort() const { return m_autoColumnSort; }
    void SetAutoColumnSort(TAutoColumnSort value);
    TAutoSortStyle AutoSortStyle() const { return m_autoSortStyle; }
    void SetAutoSortStyle(TAutoSortStyle value);
    bool AutoResort() const { return m_autoResort; }
    void SetAutoResort(bool value) { m_autoResort = value; }
    bool AutoSortAscending() const { return m_autoSortAscending; }
    void SetAutoSortAscending(bool value);
    bool ShowSortArrows() const { return m_showSortArrows; }
    void SetShowSortArrows(bool value);
    bool ReverseSortArrows() const { return m_reverseSortArrows; }
    void SetReverseSortArrows(bool value);
    TEnhLVSaveSettings &SaveSettings() { return m_saveSettings; }
    const TEnhLVSaveSettings &SaveSettings() const { return m_saveSettings; }
    TLVStyle Style() const { return m_style; }
    void SetStyle(TLVStyle value) { m_style = value; }
    const TDrawHeaderEvent &OnDrawHeader() const { return m_onDrawHeader; }
    void SetOnDrawHeader(TDrawHeaderEvent handler);
    const TSortItemsEvent &OnSortItems() const { return m_onSortItems; }
    void SetOnSortItems(TSortItemsEvent handler) { m_onSortItems = std::move(handler); }
    bool ColumnClick() const;
    void SetColumnClick(bool value);
    QString Version() const { return QStringLiteral("TEnhListView v3.12"); }
    void SetVersion(const QString &) {} // read-only: writes are ignored

    // Sort state.
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }
    // Construction counts as an open bracket until loaded().
    int UpdateCount() const { return m_updateCount + (m_loaded ? 0 : 1); }
    bool ResortPending() const { return m_resortPending; }
    const QImage &AscendingArrow() const { return m_arrows.Ascending; }
    const QImage &DescendingArrow() const { return m_arrows.Descending; }

    // What a click on the header of Column does.
    void clickColumn(int column);
    void SortRows(int column, bool ascending);
    void Resort();
    void BeginUpdate();
    void EndUpdate();
    // A caption edited: sorts again when AutoResort is on.
    void setRowCaption(int row, const QString &caption);
    // A row with texts of its own.
    void appendRow(const QString &caption, const QStringList &subItems, TGame *game, int stateImage);

    // IListRows
    void beginRowsBatch() override;
    void endRowsBatch() override;
    void clearRows() override;
    void repaintRows() override;
    void setGameTextOf(GameTextOf textOf) override;
    void appendGameRow(TGame *game, int stateImage) override;
    int rowCount() const override;
    QString rowCaption(int row) const override;
    TGame *rowGame(int row) const override;
    int selectedRow() const override;
    int findCaption(const QString &caption) const override;
    void selectRow(int row) override;
    void updateGameRow(const TGame *game) override;

Q_SIGNALS:
    // The selection changed; once per change.
    void rowStateChanged();
    // A column header was clicked (before the list sorts by it).
    void columnClicked(int column);
    void sortStarted(int column);
    void sortFinished(int column);

protected:
    void changeEvent(QEvent *event) override;

private:
    void makeArrows();
    void syncHeader();
    void loadSettings(bool &sortLoaded);
    void saveSettings() const;

    EnhListModel *m_model;
    EnhHeaderView *m_header;
    bool m_loaded = false;

    TAutoColumnSort m_autoColumnSort = acsNoSort;
    TAutoSortStyle m_autoSortStyle = assSmart;
    bool m_autoResort = true;
    bool m_autoSortAscending = true;
    bool m_showSortArrows = false;
    bool m_reverseSortArrows = false;
    TEnhLVSaveSettings m_saveSettings;
    TLVStyle m_style = lvStandard;
    TDrawHeaderEvent m_onDrawHeader;
    TSortItemsEvent m_onSortItems;

    int m_sortColumn = -1;
    bool m_sortAscending = true;
    int m_updateCount = 0; // BeginUpdate calls not yet closed
    bool m_resortPending = false;
    ArrowBitmaps m_arrows;
};

} // namespace Lanvo
