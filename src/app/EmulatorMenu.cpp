#include "EmulatorMenu.h"

#include "FilesUtils.h"
#include "Texts.h"

#include <QActionGroup>
#include <QDir>
#include <QMenu>

namespace Lanvo {

namespace {

// A directory name shown as a menu caption: "&" is not an access key there.
QString menuCaption(const QString &name)
{
    QString caption = name;
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

TEmulatorMenu::TEmulatorMenu(TCorvane &emulator, QMenu *menu)
    : QObject(menu)
    , Mn_Corvane(menu)
    , m_emulator(emulator)
{
    Options1 = Mn_Corvane->addAction(Texts::OptionsItem);
    Options1->setObjectName(QStringLiteral("Options1"));
    Mn_Corvane->addSeparator();
    Mn_bios = Mn_Corvane->addMenu(Texts::BiosMenu);
    Mn_bios->setObjectName(QStringLiteral("Mn_bios"));
    m_biosGroup = new QActionGroup(this);
    connect(m_biosGroup, &QActionGroup::triggered, this, &TEmulatorMenu::BiosItemClick);
    buildLanguageMenu();
    buildSystemMenu();
    Mn_Corvane->addSeparator();
    mnRun = Mn_Corvane->addAction(Texts::RunItem);
    mnRun->setObjectName(QStringLiteral("mnRun"));
    mnRun->setEnabled(false);
}

QAction *TEmulatorMenu::radioItem(QMenu *menu, QActionGroup *group, const QString &caption, const char *name)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(true);
    group->addAction(item);
    return item;
}

void TEmulatorMenu::buildLanguageMenu()
{
    mnLanguage = Mn_Corvane->addMenu(Texts::LanguageMenu);
    mnLanguage->setObjectName(QStringLiteral("mnLanguage"));
    auto *group = new QActionGroup(this);
    mnJapaneze = radioItem(mnLanguage, group, Texts::JapanezeItem, "mnJapaneze");
    mnUs = radioItem(mnLanguage, group, Texts::UsItem, "mnUs");
    mnEuropean = radioItem(mnLanguage, group, Texts::EuropeanItem, "mnEuropean");
    mnUs->setChecked(true);
    connect(mnJapaneze, &QAction::triggered, this, &TEmulatorMenu::mnJapanezeClick);
    connect(mnUs, &QAction::triggered, this, &TEmulatorMenu::mnUsClick);
    connect(mnEuropean, &QAction::triggered, this, &TEmulatorMenu::mnEuropeanClick);
}

void TEmulatorMenu::buildSystemMenu()
{
    mnSystem = Mn_Corvane->addMenu(Texts::SystemMenu);
    mnSystem->setObjectName(QStringLiteral("mnSystem"));
    auto *group = new QActionGroup(this);
    mnConsole = radioItem(mnSystem, group, Texts::ConsoleItem, "mnConsole");
    mnArcade = radioItem(mnSystem, group, Texts::ArcadeItem, "mnArcade");
    mnConsole->setChecked(true);
    connect(mnConsole, &QAction::triggered, this, &TEmulatorMenu::mnConsoleClick);
    connect(mnArcade, &QAction::triggered, this, &TEmulatorMenu::mnArcadeClick);
}

void TEmulatorMenu::setFromProperties()
{
    (m_emulator.System == ctArcade ? mnArcade : mnConsole)->setChecked(true);
    switch (m_emulator.Language) {
    case glUs:
        mnUs->setChecked(true);
        break;
    case glEuropean:
        mnEuropean->setChecked(true);
        break;
    case glJapaneze:
        mnJapaneze->setChecked(true);
        break;
    }
    buildBiosMenu();
}

// The sets in the order the file system lists them, directories only.
void TEmulatorMenu::buildBiosMenu()
{
    const QString biosDir = m_emulator.BiosDir();
    const QStringList entries =
        QDir(biosDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    int count = 0;
    for (const QString &name : entries) {
        if (!directoryExists(joinPath(biosDir, name)))
            continue;
        ++count;
        QAction *item = radioItem(Mn_bios, m_biosGroup, menuCaption(name), "");
        item->setObjectName(QStringLiteral("BiosFile%1").arg(count));
        item->setData(name);
        if (count == 1) {
            item->setChecked(true);
            if (m_emulator.Bios.isEmpty())
                m_emulator.Bios = name;
        }
        if (m_emulator.Bios == name)
            item->setChecked(true);
    }
    Mn_bios->setEnabled(count != 0);
}

QList<QAction *> TEmulatorMenu::biosItems() const
{
    return m_biosGroup->actions();
}

void TEmulatorMenu::mnJapanezeClick()
{
    m_emulator.Language = glJapaneze;
    mnJapaneze->setChecked(true);
}

void TEmulatorMenu::mnUsClick()
{
    m_emulator.Language = glUs;
    mnUs->setChecked(true);
}

void TEmulatorMenu::mnEuropeanClick()
{
    m_emulator.Language = glEuropean;
    mnEuropean->setChecked(true);
}

void TEmulatorMenu::mnConsoleClick()
{
    m_emulator.System = ctConsole;
    mnConsole->setChecked(true);
}

void TEmulatorMenu::mnArcadeClick()
{
    m_emulator.System = ctArcade;
    mnArcade->setChecked(true);
}

void TEmulatorMenu::BiosItemClick(QAction *item)
{
    m_emulator.Bios = item->data().toString();
    item->setChecked(true);
}

} // namespace Lanvo
