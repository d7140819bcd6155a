#pragma once

#include "Emulators.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace Lanvo {

// The File, View and Help menus and the games list's context menu. The filter in force is the
// checked View item; nothing else holds it.
class TGamesMenus : public QObject
{
    Q_OBJECT

public:
    // Window owns the context menu.
    TGamesMenus(QMenuBar *bar, QWidget *window);

    // The Help menu comes after the emulator's menu on the bar.
    void addHelpMenu(QMenuBar *bar);

    TGameFilter filterInForce() const;
    // Checks one filter item of the View menu and unchecks the others.
    void checkFilterItem(QAction *chosen);
    // Runs Handler when Action is chosen, with the action's check as it was before the choice.
    void onChoice(QAction *action, std::function<void()> handler);
    // Checks the Sort by item of Column, the column the list is sorted by.
    void checkSortItem(int column);
    // The context menu's states, copied each time before it opens.
    void PopupMenuListGamesPopup(const TGame *currentGame, bool favourite);

    QMenu *Mn_File;
    QAction *mnQuit;
    QMenu *Mn_View;
    QAction *Mn_ShowSnapshot;
    QAction *mn_availgames;
    QAction *mn_missgames;
    QAction *mn_allgames;
    QMenu *Mn_SortBy;
    QList<QAction *> mnSortBy; // one per column of the games list
    QAction *mn_favgames;
    QAction *mn_recentgames;
    QAction *Refreshlist1;
    QMenu *Mn_Help = nullptr;
    QAction *About1 = nullptr;

    QMenu *PopupMenuListGames;
    QAction *pm_Run;
    QAction *pm_Favourite; // Ctrl+D anywhere in the window
    QAction *PmShowSnapshot;
    QAction *PmShowavailablegames;
    QAction *PmShowmissinggames;
    QAction *PmShowallgames;

private:
    QActionGroup *radioGroup();
    QAction *radioItem(QMenu *menu, QActionGroup *group, const QString &caption, const char *name);
    void buildFileMenu(QMenuBar *bar);
    void buildViewMenu(QMenuBar *bar);
    void buildSortByMenu();
    void buildContextMenu();

    // Per radio group, the item a choice unchecked last: the one to check again before a handler.
    QHash<QActionGroup *, QPointer<QAction>> m_lastUnchecked;
};

} // namespace Lanvo
