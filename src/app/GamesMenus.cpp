#include "GamesMenus.h"

#include "Texts.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace Lanvo {

namespace {

QAction *item(QMenu *menu, const QString &caption, const char *name, bool checkable = false)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}

void disableSeparator(QMenu *menu)
{
    menu->addSeparator()->setEnabled(false);
}

} // namespace

// An exclusive group, so that its items are drawn and announced as radio items. The checked item
// may still be unchecked by a choice (Qt flips it), so that a handler always sees the flip.
QActionGroup *TGamesMenus::radioGroup()
{
    auto *group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    return group;
}

QAction *TGamesMenus::radioItem(QMenu *menu, QActionGroup *group, const QString &caption, const char *name)
{
    QAction *action = item(menu, caption, name, true);
    group->addAction(action);
    connect(action, &QAction::toggled, this, [this, action, group](bool on) {
        if (!on)
            m_lastUnchecked[group] = action;
    });
    return action;
}

TGamesMenus::TGamesMenus(QMenuBar *bar, QWidget *window)
    : QObject(bar)
{
    buildFileMenu(bar);
    buildViewMenu(bar);
    PopupMenuListGames = new QMenu(window);
    buildContextMenu();
}

void TGamesMenus::buildFileMenu(QMenuBar *bar)
{
    Mn_File = bar->addMenu(Texts::FileMenu);
    Mn_File->setObjectName(QStringLiteral("Mn_File"));
    mnQuit = item(Mn_File, Texts::ExitItem, "mnQuit");
}

void TGamesMenus::buildViewMenu(QMenuBar *bar)
{
    Mn_View = bar->addMenu(Texts::ViewMenu);
    Mn_View->setObjectName(QStringLiteral("Mn_View"));
    Mn_ShowSnapshot = item(Mn_View, Texts::ShowSnapshotItem, "Mn_ShowSnapshot", true);
    Mn_ShowSnapshot->setChecked(true);
    disableSeparator(Mn_View);
    QActionGroup *filters = radioGroup();
    mn_availgames = radioItem(Mn_View, filters, Texts::AvailableGamesItem, "mn_availgames");
    mn_missgames = radioItem(Mn_View, filters, Texts::MissingGamesItem, "mn_missgames");
    mn_allgames = radioItem(Mn_View, filters, Texts::AllGamesItem, "mn_allgames");
    mn_favgames = radioItem(Mn_View, filters, Texts::FavouriteGamesItem, "mn_favgames");
    mn_recentgames = radioItem(Mn_View, filters, Texts::RecentGamesItem, "mn_recentgames");
    mn_availgames->setChecked(true);
    disableSeparator(Mn_View);
    buildSortByMenu();
    Refreshlist1 = item(Mn_View, Texts::RefreshItem, "Refreshlist1");
    Refreshlist1->setShortcut(Qt::Key_F5);
}

// The keyboard's way to what a click on a column header does. The check follows the list's sort
// column, whichever way it was chosen.
void TGamesMenus::buildSortByMenu()
{
    Mn_SortBy = Mn_View->addMenu(Texts::SortByMenu);
    Mn_SortBy->setObjectName(QStringLiteral("Mn_SortBy"));
    auto *columns = new QActionGroup(this);
    for (const QString &caption : Texts::SortByItems) {
        QAction *action = item(Mn_SortBy, caption, "mnSortBy", true);
        columns->addAction(action);
        mnSortBy << action;
    }
}

void TGamesMenus::checkSortItem(int column)
{
    if (column >= 0 && column < mnSortBy.size())
        mnSortBy.at(column)->setChecked(true);
}

void TGamesMenus::addHelpMenu(QMenuBar *bar)
{
    Mn_Help = bar->addMenu(Texts::HelpMenu);
    Mn_Help->setObjectName(QStringLiteral("Mn_Help"));
    About1 = item(Mn_Help, Texts::AboutItem, "About1");
}

void TGamesMenus::buildContextMenu()
{
    PopupMenuListGames->setObjectName(QStringLiteral("PopupMenuListGames"));
    pm_Run = item(PopupMenuListGames, Texts::RunItem, "pm_Run");
    pm_Favourite = item(PopupMenuListGames, Texts::FavouriteItem, "pm_Favourite", true);
    pm_Favourite->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    // The menu is hidden until it pops up: the window holds the action too, so the key works there.
    PopupMenuListGames->parentWidget()->addAction(pm_Favourite);
    // Disabled only while the menu shows it without a game; the key stays available.
    connect(PopupMenuListGames, &QMenu::aboutToHide, pm_Favourite, [this] { pm_Favourite->setEnabled(true); });
    disableSeparator(PopupMenuListGames);
    PmShowSnapshot = item(PopupMenuListGames, Texts::ShowSnapshotItem, "PmShowSnapshot", true);
    PmShowSnapshot->setChecked(true);
    QActionGroup *filters = radioGroup();
    PmShowavailablegames = radioItem(PopupMenuListGames, filters, Texts::AvailableGamesItem, "PmShowavailablegames");
    PmShowmissinggames = radioItem(PopupMenuListGames, filters, Texts::MissingGamesItem, "PmShowmissinggames");
    PmShowallgames = radioItem(PopupMenuListGames, filters, Texts::AllGamesItem, "PmShowallgames");
    PmShowavailablegames->setChecked(true);
    PopupMenuListGames->addSeparator();
}

void TGamesMenus::checkFilterItem(QAction *chosen)
{
    chosen->setChecked(true); // the group unchecks the other two
}

void TGamesMenus::onChoice(QAction *action, std::function<void()> handler)
{
    // Qt moves a check before the handler runs; the handlers decide the checks themselves, so the
    // checks are put back first: in a group, the item that the choice unchecked is checked again.
    connect(action, &QAction::triggered, this, [this, action, handler = std::move(handler)](bool checked) {
        const QPointer<QAction> lastUnchecked = m_lastUnchecked.value(action->actionGroup());
        if (checked && lastUnchecked)
            lastUnchecked->setChecked(true);
        else if (action->isCheckable())
            action->setChecked(!checked);
        handler();
    });
}

TGameFilter TGamesMenus::filterInForce() const
{
    if (mn_missgames->isChecked())
        return gfMissing;
    if (mn_availgames->isChecked())
        return gfAvailable;
    if (mn_favgames->isChecked())
        return gfFavourites;
    if (mn_recentgames->isChecked())
        return gfRecentlyPlayed;
    return gfAll;
}

void TGamesMenus::PopupMenuListGamesPopup(const TGame *currentGame, bool favourite)
{
    pm_Run->setEnabled(currentGame && currentGame->available());
    pm_Favourite->setEnabled(currentGame != nullptr);
    pm_Favourite->setChecked(currentGame && favourite);
    PmShowSnapshot->setChecked(Mn_ShowSnapshot->isChecked());
    PmShowavailablegames->setChecked(mn_availgames->isChecked());
    PmShowmissinggames->setChecked(mn_missgames->isChecked());
    PmShowallgames->setChecked(mn_allgames->isChecked());
}

} // namespace Lanvo
