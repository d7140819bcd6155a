#pragma once

#include "Corvane.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

namespace Lanvo {

// The "Corvane" menu: the options dialog, the BIOS set, the region, the machine model and Run.
class TEmulatorMenu : public QObject
{
    Q_OBJECT

public:
    TEmulatorMenu(TCorvane &emulator, QMenu *menu);

    // Checks the region and machine items that match the properties, and builds the BIOS submenu
    // from the BIOS directory (defaulting an empty Bios to the first set listed).
    void setFromProperties();
    QList<QAction *> biosItems() const;

    QMenu *Mn_Corvane;
    QAction *Options1;
    QMenu *Mn_bios;
    QMenu *mnLanguage;
    QAction *mnJapaneze;
    QAction *mnUs;
    QAction *mnEuropean;
    QMenu *mnSystem;
    QAction *mnConsole;
    QAction *mnArcade;
    QAction *mnRun;

public Q_SLOTS:
    void mnJapanezeClick();
    void mnUsClick();
    void mnEuropeanClick();
    void mnConsoleClick();
    void mnArcadeClick();
    void BiosItemClick(QAction *item);

private:
    QAction *radioItem(QMenu *menu, QActionGroup *group, const QString &caption, const char *name);
    void buildLanguageMenu();
    void buildSystemMenu();
    void buildBiosMenu();

    TCorvane &m_emulator;
    QActionGroup *m_biosGroup;
};

} // namespace Lanvo
