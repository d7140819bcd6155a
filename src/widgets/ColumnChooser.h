#pragma once

#include <QList>
#include <QObject>

class QMenu;
class QPoint;

namespace Lanvo {

class TEnhListView;

// The context menu of a list's header: every column with a check mark that shows or hides it. The
// first column always stays, so its item is checked and disabled.
class TColumnChooser : public QObject
{
    Q_OBJECT

public:
    explicit TColumnChooser(TEnhListView *list);

    // One flag per column of the list's columns(), shown or not.
    QList<bool> shownColumns() const;
    void setShownColumns(const QList<bool> &shown);
    // The menu as it pops up over the header, rebuilt each time from the columns.
    QMenu *menu() const { return m_menu; }
    void fillMenu();

Q_SIGNALS:
    // The user showed or hid a column.
    void columnsChosen();

private:
    void popUp(const QPoint &at);

    TEnhListView *m_list;
    QMenu *m_menu;
};

} // namespace Lanvo
