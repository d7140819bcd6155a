#include "OptionsDialog.h"

#include "BrowseGlyph.h"
#include "DirectoryChooser.h"
#include "DosboxPage.h"
#include "FilesUtils.h"
#include "TabBarAccessible.h"
#include "Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

namespace Lanvo {

TF_Options *F_Options = nullptr;

namespace {

const QString RomPath1Hint = QStringLiteral("First path where roms are stored (zipped or not)");
const QString RomPath2Hint = QStringLiteral("Second path where roms are stored (zipped or not)");
const QString AltPathHint =
    QStringLiteral("Path used as a working directory when Lanvo is installed on a read only device.");
const QString AddParamHint = QStringLiteral("Type any additional corvane parameters");

} // namespace

// One line of the "Paths" box: caption, field and browse button.
struct TF_Options::PathRow
{
    QString Name;
    QString Caption;
    QString Hint;
    QString BrowseName;
    QString AccessibleName;
    int Top;
    int LabelHeight;
};

TF_Options::TF_Options(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , m_chooseDirectory(TDirectoryChooser::choose)
{
    installTabBarAccessibility();
    setObjectName(QStringLiteral("F_Options"));
    setWindowTitle(Texts::OptionsCaption);
    move(307, 178); // a position of its own: not centred on the main window
    setFixedSize(m_scale(392), m_scale(197));
    buildButtons();
    Onglet = new QTabWidget(this);
    Onglet->setObjectName(QStringLiteral("Onglet"));
    Onglet->setGeometry(m_scale(0, 0, 384, 157));
    buildGeneralPage();
    buildCorvanePage();
    Dosbox = new TDosboxPage(BitBtn1->icon(), Onglet);
    Onglet->addTab(Dosbox, QStringLiteral("DOSBox"));
    setTabOrder();
}

// As the controls stand: the pages' tabs, the page shown (row by row, left to right), then the buttons.
void TF_Options::setTabOrder()
{
    const QList<QWidget *> order{Onglet,         RomPath1,         BitBtn1,         RomPath2,         BitBtn2,
                                 AltPath,        BitBtn3,          AddParam,        Dosbox->Program,  Dosbox->BrowseProgram,
                                 Dosbox->ClearProgram, Dosbox->Config, Dosbox->BrowseConfig, Dosbox->ClearConfig,
                                 Dosbox->Use,    Dosbox->Fullscreen, Ok,            Cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void TF_Options::buildButtons()
{
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setGeometry(m_scale(308, 167, 75, 25));
    Cancel->setAutoDefault(false);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    Ok = new QPushButton(QStringLiteral("Ok"), this);
    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setGeometry(m_scale(214, 167, 74, 25));
    Ok->setDefault(true);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TF_Options::buildGeneralPage()
{
    General = new QWidget(Onglet);
    General->setObjectName(QStringLiteral("General"));
    Onglet->addTab(General, QStringLiteral("General"));
    GroupBox1 = new QGroupBox(QStringLiteral("Paths"), General);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(m_scale(31, 4, 321, 121));

    // One glyph for the three browse buttons, drawn once.
    const QIcon browseIcon = makeBrowseIcon();
    RomPath1 = addPathRow({QStringLiteral("RomPath1"), QStringLiteral("ROM"), RomPath1Hint,
                           QStringLiteral("BitBtn1"),
                           QStringLiteral("First ROM path"), 22, 17},
                          browseIcon, Label1, BitBtn1);
    Label1->setObjectName(QStringLiteral("Label1"));
    RomPath2 = addPathRow({QStringLiteral("RomPath2"), QStringLiteral("ROM"), RomPath2Hint,
                           QStringLiteral("BitBtn2"),
                           QStringLiteral("Second ROM path"), 54, 17},
                          browseIcon, Label4, BitBtn2);
    Label4->setObjectName(QStringLiteral("Label4"));
    AltPath = addPathRow({QStringLiteral("AltPath"), QStringLiteral("ALT"), AltPathHint,
                          QStringLiteral("BitBtn3"),
                          QStringLiteral("Alternate path"), 86, 21},
                         browseIcon, Label2, BitBtn3);
    Label2->setObjectName(QStringLiteral("Label2"));

    connect(BitBtn1, &QPushButton::clicked, this, &TF_Options::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TF_Options::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TF_Options::BitBtn3Click);
}

// On this platform names are case-sensitive: a path shown or stored lower-cased would name
// another directory, and writing it back would send the program to one that may not exist. So
// the field shows the path exactly as chosen and that exact text is what OK stores. The user
// cannot type into it (read only, still reachable by the keyboard and copyable); only the browse
// button changes it.
QLineEdit *TF_Options::addPathRow(const PathRow &row, const QIcon &browseIcon, QLabel *&label,
                                  QPushButton *&browse)
{
    label = new QLabel(row.Caption, GroupBox1);
    label->setGeometry(m_scale(8, row.Top + 2, 30, row.LabelHeight));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setToolTip(row.Hint);

    auto *field = new QLineEdit(GroupBox1);
    field->setObjectName(row.Name);
    field->setGeometry(m_scale(48, row.Top, 225, 21));
    field->setReadOnly(true);
    field->setToolTip(row.Hint);
    field->setAccessibleName(row.AccessibleName);
    field->setAccessibleDescription(row.Hint);
    label->setBuddy(field);

    browse = new QPushButton(GroupBox1);
    browse->setObjectName(row.BrowseName);
    browse->setGeometry(m_scale(280, row.Top, 25, 21));
    browse->setIcon(browseIcon);
    browse->setAutoDefault(false);
    browse->setAccessibleName(QStringLiteral("Browse: ") + row.AccessibleName);
    browse->setAccessibleDescription(row.Hint);
    return field;
}

void TF_Options::buildCorvanePage()
{
    corvane = new QWidget(Onglet);
    corvane->setObjectName(QStringLiteral("corvane"));
    Onglet->addTab(corvane, QStringLiteral("Corvane"));
    GroupBox2 = new QGroupBox(QStringLiteral("Additional corvane parameters"), corvane);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(m_scale(0, 0, 369, 57));

    Label3 = new QLabel(QStringLiteral("Corvane.exe"), GroupBox2);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(m_scale(8, 27, 81, 13));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);

    AddParam = new QLineEdit(GroupBox2);
    AddParam->setObjectName(QStringLiteral("AddParam"));
    AddParam->setGeometry(m_scale(96, 24, 265, 21));
    AddParam->setToolTip(AddParamHint);
    AddParam->setAccessibleDescription(AddParamHint);
    Label3->setBuddy(AddParam);
}

void TF_Options::setValues(const OptionsValues &values)
{
    RomPath1->setText(values.RomPath1);
    RomPath2->setText(values.RomPath2);
    AltPath->setText(values.AltPath);
    AddParam->setText(values.AddParam);
}

OptionsValues TF_Options::values() const
{
    return {RomPath1->text(), RomPath2->text(), AltPath->text(), AddParam->text()};
}

void TF_Options::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TF_Options::FormShow()
{
    Onglet->setCurrentWidget(General);
    OptionsStartDir = QDir::currentPath();
}

void TF_Options::BitBtn1Click()
{
    browseFor(RomPath1);
}

void TF_Options::BitBtn2Click()
{
    browseFor(RomPath2);
}

void TF_Options::BitBtn3Click()
{
    browseFor(AltPath);
}

// The chooser starts where the field points when that is a directory, else at the directory the
// dialog was shown in. What the user confirms is taken as it is, existing or not.
void TF_Options::browseFor(QLineEdit *field)
{
    QDir::setCurrent(OptionsStartDir);
    const QString pointed = ExpandPath(field->text(), OptionsStartDir);
    const QString start = directoryExists(pointed) ? pointed : OptionsStartDir;
    const QString chosen = m_chooseDirectory(this, start);
    if (!chosen.isEmpty())
        field->setText(chosen);
}

} // namespace Lanvo
