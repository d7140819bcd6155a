#include "GamesMenus.h"

#include "U_textes_An.h"

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
    mn_availgames = item(Mn_View, Texts::AvailableGamesItem, "mn_availgames", true);
    mn_missgames = item(Mn_View, Texts::MissingGamesItem, "mn_missgames", true);
    mn_allgames = item(Mn_View, Texts::AllGamesItem, "mn_allgames", true);
    mn_availgames->setChecked(true);
    disableSeparator(Mn_View);
    Refreshlist1 = item(Mn_View, Texts::RefreshItem, "Refreshlist1");
    Refreshlist1->setShortcut(Qt::Key_F5);
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
    disableSeparator(PopupMenuListGames);
    PmShowSnapshot = item(PopupMenuListGames, Texts::ShowSnapshotItem, "PmShowSnapshot", true);
    PmShowSnapshot->setChecked(true);
    PmShowavailablegames = item(PopupMenuListGames, Texts::AvailableGamesItem, "PmShowavailablegames", true);
    PmShowmissinggames = item(PopupMenuListGames, Texts::MissingGamesItem, "PmShowmissinggames", true);
    PmShowallgames = item(PopupMenuListGames, Texts::AllGamesItem, "PmShowallgames", true);
    PmShowavailablegames->setChecked(true);
    PopupMenuListGames->addSeparator();
}

void TGamesMenus::checkFilterItem(QAction *chosen)
{
    for (QAction *filter : {mn_availgames, mn_missgames, mn_allgames})
        filter->setChecked(filter == chosen);
}

void TGamesMenus::onChoice(QAction *action, std::function<void()> handler)
{
    // Qt flips a check item before its handler runs; the handlers decide the checks themselves.
    connect(action, &QAction::triggered, this, [action, handler = std::move(handler)](bool checked) {
        if (action->isCheckable())
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
    return gfAll;
}

void TGamesMenus::PopupMenuListGamesPopup(const TGame *currentGame)
{
    pm_Run->setEnabled(currentGame && currentGame->Available);
    PmShowSnapshot->setChecked(Mn_ShowSnapshot->isChecked());
    PmShowavailablegames->setChecked(mn_availgames->isChecked());
    PmShowmissinggames->setChecked(mn_missgames->isChecked());
    PmShowallgames->setChecked(mn_allgames->isChecked());
}

} // namespace Lanvo
