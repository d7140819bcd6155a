#include "DosboxPage.h"

#include "DosboxVersion.h"
#include "FilesUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>

namespace Lanvo {

namespace {

const QString DefaultProgram = DosboxSettings().Program;
const QString ProgramHint = QStringLiteral("The DOSBox program; empty: dosbox, looked for on PATH");
const QString ConfigHint = QStringLiteral("A DOSBox configuration file, passed with -conf; empty: your own");
const QString UseHint = QStringLiteral("Which emulator programs run through DOSBox");
const QString FullscreenHint = QStringLiteral("DOSBox starts full screen");

QString platformFileChooser(QWidget *parent, const QString &caption, const QString &startDirectory)
{
    return QFileDialog::getOpenFileName(parent, caption, startDirectory, QString(), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

// The chooser starts in the folder of the file shown when there is one, else in the current
// directory (the start directory while the dialog is open).
QString startDirectoryFor(const QString &file)
{
    const QString folder = file.isEmpty() ? QString() : QFileInfo(QDir::current(), file).absolutePath();
    return directoryExists(folder) ? folder : QDir::currentPath();
}

} // namespace

// One line of the page: caption, read-only field, browse and clear buttons.
struct TDosboxPage::FileRow
{
    QString Name;
    QString BrowseName;
    QString ClearName;
    QString Caption;
    QString Hint;
    QString AccessibleName;
    int Top;
};

TDosboxPage::TDosboxPage(const QIcon &browseIcon, QWidget *parent)
    : QWidget(parent)
    , m_chooseFile(platformFileChooser)
    , m_probe(new DosboxVersionProbe(this))
{
    setObjectName(QStringLiteral("Dosbox"));
    GroupBox = new QGroupBox(QStringLiteral("Running DOS programs"), this);
    GroupBox->setObjectName(QStringLiteral("GroupBoxDosbox"));
    GroupBox->setGeometry(m_scale(0, 0, 369, 125));

    Program = addFileRow({QStringLiteral("DosboxProgram"), QStringLiteral("BrowseProgram"),
                          QStringLiteral("ClearProgram"), QStringLiteral("Program"), ProgramHint,
                          QStringLiteral("DOSBox program"), 20},
                         browseIcon, LabelProgram, BrowseProgram, ClearProgram);
    Config = addFileRow({QStringLiteral("DosboxConfig"), QStringLiteral("BrowseConfig"),
                         QStringLiteral("ClearConfig"), QStringLiteral("Configuration file"), ConfigHint,
                         QStringLiteral("DOSBox configuration file"), 46},
                        browseIcon, LabelConfig, BrowseConfig, ClearConfig);
    addUseRow();

    Found = new QLabel(GroupBox);
    Found->setObjectName(QStringLiteral("DosboxFound"));
    Found->setGeometry(m_scale(8, 100, 353, 17));
    Found->setTextFormat(Qt::PlainText); // a program's output is never markup

    connect(BrowseProgram, &QPushButton::clicked, this,
            [this] { browseFor(Program, QStringLiteral("DOSBox program")); });
    connect(BrowseConfig, &QPushButton::clicked, this,
            [this] { browseFor(Config, QStringLiteral("DOSBox configuration file")); });
    connect(ClearProgram, &QPushButton::clicked, this, [this] { setFieldText(Program, QString()); });
    connect(ClearConfig, &QPushButton::clicked, this, [this] { setFieldText(Config, QString()); });
    connect(m_probe, &DosboxVersionProbe::answered, this, &TDosboxPage::showFound);
}

QLineEdit *TDosboxPage::addFileRow(const FileRow &row, const QIcon &browseIcon, QLabel *&label,
                                   QPushButton *&browse, QPushButton *&clear)
{
    label = new QLabel(row.Caption, GroupBox);
    label->setGeometry(m_scale(8, row.Top + 2, 104, 17));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setToolTip(row.Hint);

    auto *field = new QLineEdit(GroupBox);
    field->setObjectName(row.Name);
    field->setGeometry(m_scale(116, row.Top, 189, 21));
    field->setReadOnly(true); // only the buttons change it, as the dialog's other paths
    field->setToolTip(row.Hint);
    field->setAccessibleName(row.AccessibleName);
    field->setAccessibleDescription(row.Hint);
    label->setBuddy(field);

    browse = new QPushButton(GroupBox);
    browse->setObjectName(row.BrowseName);
    browse->setGeometry(m_scale(309, row.Top, 25, 21));
    browse->setIcon(browseIcon);
    browse->setAutoDefault(false);
    browse->setAccessibleName(QStringLiteral("Browse: ") + row.AccessibleName);
    browse->setAccessibleDescription(row.Hint);

    clear = new QPushButton(GroupBox);
    clear->setObjectName(row.ClearName);
    clear->setGeometry(m_scale(336, row.Top, 25, 21));
    clear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    clear->setAutoDefault(false);
    clear->setEnabled(false);
    clear->setAccessibleName(QStringLiteral("Clear: ") + row.AccessibleName);
    clear->setAccessibleDescription(row.Hint);
    clear->setToolTip(QStringLiteral("Clear"));
    connect(field, &QLineEdit::textChanged, clear, [clear](const QString &text) { clear->setEnabled(!text.isEmpty()); });
    return field;
}

void TDosboxPage::addUseRow()
{
    LabelUse = new QLabel(QStringLiteral("Use DOSBox"), GroupBox);
    LabelUse->setGeometry(m_scale(8, 74, 104, 17));
    LabelUse->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelUse->setToolTip(UseHint);

    // In the order of TDosboxUse.
    Use = new QComboBox(GroupBox);
    Use->setObjectName(QStringLiteral("DosboxUse"));
    Use->setGeometry(m_scale(116, 72, 142, 21));
    Use->addItems({QStringLiteral("For DOS programs"), QStringLiteral("Always"), QStringLiteral("Never")});
    Use->setToolTip(UseHint);
    Use->setAccessibleDescription(UseHint);
    LabelUse->setBuddy(Use);

    Fullscreen = new QCheckBox(QStringLiteral("Full screen"), GroupBox);
    Fullscreen->setObjectName(QStringLiteral("DosboxFullscreen"));
    Fullscreen->setGeometry(m_scale(266, 74, 95, 17));
    Fullscreen->setToolTip(FullscreenHint);
    Fullscreen->setAccessibleDescription(FullscreenHint);
}

void TDosboxPage::setChoices(const DosboxChoices &choices)
{
    Program->setText(choices.Program);
    Config->setText(choices.Config);
    Use->setCurrentIndex(int(choices.Use));
    Fullscreen->setChecked(choices.Fullscreen);
    m_probe->stop();
    m_described.reset();
}

DosboxChoices TDosboxPage::choices() const
{
    return {Program->text(), Config->text(), TDosboxUse(Use->currentIndex()), Fullscreen->isChecked()};
}

void TDosboxPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    describeDosbox();
}

// A program still asked when the page goes out of sight is ended, so that it cannot outlive the
// dialog and run beside a game; the next showing asks again.
void TDosboxPage::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_probe->isAsking()) {
        m_probe->stop();
        m_described.reset();
    }
}

void TDosboxPage::browseFor(QLineEdit *field, const QString &caption)
{
    const QString chosen = m_chooseFile(this, caption, startDirectoryFor(field->text()));
    if (!chosen.isEmpty())
        setFieldText(field, chosen);
}

void TDosboxPage::setFieldText(QLineEdit *field, const QString &text)
{
    field->setText(text);
    if (field == Program && isVisible())
        describeDosbox();
}

// Asked only while the page is seen, and once for each program.
void TDosboxPage::describeDosbox()
{
    const QString program = Program->text().isEmpty() ? DefaultProgram : Program->text();
    if (m_described == program)
        return;
    m_described = program;
    showFoundText(QStringLiteral("Looking for DOSBox..."), QString(), QString());
    m_probe->start(program);
}

void TDosboxPage::showFound(const QString &path, const QString &version)
{
    if (path.isEmpty())
        showFoundText(QStringLiteral("DOSBox not found ("), *m_described,
                      QStringLiteral("): install the dosbox package."));
    else if (version.isEmpty())
        showFoundText(QStringLiteral("Lanvo starts "), path, QStringLiteral(", which did not tell its version."));
    else
        showFoundText(QStringLiteral("Lanvo starts "), path, QStringLiteral(" (") + version + QStringLiteral(")."));
}

// One line: a path too long for it is shortened in its middle, so that what is said stays whole;
// a screen reader reads the whole text.
void TDosboxPage::showFoundText(const QString &before, const QString &path, const QString &after)
{
    const QFontMetrics metrics = Found->fontMetrics();
    const int room = Found->width() - metrics.horizontalAdvance(before + after);
    const QString shown = before + metrics.elidedText(path, Qt::ElideMiddle, std::max(room, 0)) + after;
    Found->setText(metrics.elidedText(shown, Qt::ElideRight, Found->width()));
    Found->setToolTip(before + path + after);
    Found->setAccessibleName(before + path + after);
}

} // namespace Lanvo
