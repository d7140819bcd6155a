#pragma once

#include "EnhListModel.h"
#include "Interfaces.h"

#include <QTreeView>

namespace Lanvo {

// The report-style list of the main window: one row per game under column headers.
class TEnhListView : public QTreeView, public IListRows
{
    Q_OBJECT

public:
    explicit TEnhListView(QWidget *parent = nullptr);

    EnhListModel *listModel() const { return m_model; }
    void setColumns(const std::vector<EnhListModel::Column> &columns);
    void setColumnCaptions(const QStringList &captions);

    // IListRows
    void beginUpdate() override;
    void endUpdate() override;
    void clearRows() override;
    void repaintRows() override;
    void appendRow(const QString &caption, const QStringList &subItems, TGame *game, int stateImage) override;
    int rowCount() const override;
    QString rowCaption(int row) const override;
    TGame *rowGame(int row) const override;
    int selectedRow() const override;
    int findCaption(const QString &caption) const override;
    void selectRow(int row) override;

Q_SIGNALS:
    // The selection or the focused row changed.
    void rowStateChanged();

private:
    EnhListModel *m_model;
    int m_updateDepth = 0;
};

} // namespace Lanvo
