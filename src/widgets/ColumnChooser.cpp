#include "ColumnChooser.h"

#include "EnhListView.h"

#include <QHeaderView>
#include <QMenu>

namespace Lanvo {

TColumnChooser::TColumnChooser(TEnhListView *list)
    : QObject(list)
    , m_list(list)
    , m_menu(new QMenu(list))
{
    m_menu->setObjectName(QStringLiteral("ColumnsMenu"));
    list->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list->header(), &QWidget::customContextMenuRequested, this, &TColumnChooser::popUp);
}

QList<bool> TColumnChooser::shownColumns() const
{
    QList<bool> shown;
    const int count = static_cast<int>(m_list->listModel()->columns().size());
    for (int source = 0; source < count; ++source)
        shown << (m_list->listModel()->shownColumn(source) >= 0);
    return shown;
}

void TColumnChooser::setShownColumns(const QList<bool> &shown)
{
    for (int source = 1; source < shown.size(); ++source)
        m_list->setColumnShown(source, shown.at(source));
}

void TColumnChooser::fillMenu()
{
    m_menu->clear();
    const std::vector<EnhListModel::Column> &columns = m_list->listModel()->columns();
    for (int source = 0; source < static_cast<int>(columns.size()); ++source) {
        QAction *item = m_menu->addAction(columns[static_cast<size_t>(source)].Caption);
        item->setCheckable(true);
        item->setChecked(m_list->listModel()->shownColumn(source) >= 0);
        item->setEnabled(source > 0);
        connect(item, &QAction::toggled, this, [this, source](bool on) {
            m_list->setColumnShown(source, on);
            Q_EMIT columnsChosen();
        });
    }
}

void TColumnChooser::popUp(const QPoint &at)
{
    fillMenu();
    m_menu->popup(m_list->header()->mapToGlobal(at));
}

} // namespace Lanvo
