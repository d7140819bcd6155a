#include "OptionsPage.h"

#include "Texts.h"
#include "WheelNeedsFocus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace Lanvo {

namespace {

// Where a control goes in its group, in the form's pixels.
struct Place
{
    int Left;
    int Top;
    int Width;
};

// The rightmost control's right edge and the left margin once more: the groups are never narrower.
constexpr int DesignedWidth = 347;

template<typename Control>
Control *create(QWidget *parent, const char *name)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

// Once the control shows what it holds: the height is its own for its font and text.
void placeAt(QWidget *control, const FormScale &scale, Place at)
{
    const QRect area = scale(at.Left, at.Top, at.Width, 0);
    control->setGeometry(area.x(), area.y(), area.width(), control->sizeHint().height());
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, const FormScale &scale, Place at)
{
    auto *box = create<QCheckBox>(parent, name);
    box->setText(caption);
    placeAt(box, scale, at);
    return box;
}

// A drop-down list has no caption of its own. Some desktops name it by its current item, so its
// purpose is also given as its description.
QComboBox *dropDown(QWidget *parent, const char *name, const QString &purpose, const QStringList &items,
                    const FormScale &scale, Place at)
{
    auto *list = create<QComboBox>(parent, name);
    list->addItems(items);
    list->setMaxVisibleItems(4);
    list->setEditable(false); // no typed text
    list->setCurrentIndex(-1);
    list->setAccessibleName(purpose);
    list->setAccessibleDescription(purpose);
    placeAt(list, scale, at);
    ignoreWheelUnlessFocused(list);
    return list;
}

} // namespace

TOptionsPage::TOptionsPage(TCorvane &emulator, QWidget *parent)
    : QWidget(parent)
    , m_emulator(emulator)
{
    buildOptionsGroup();
    buildSnapshotsGroup();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Options);
    layout->addWidget(Snapshots);
    layout->addStretch();
    setTabOrder();
    connectHandlers();
}

void TOptionsPage::buildOptionsGroup()
{
    Options = new QGroupBox(Texts::OptionsGroup, this);
    Options->setObjectName(QStringLiteral("Options"));
    Options->setFixedHeight(m_scale(77));
    Options->setMinimumWidth(m_scale(DesignedWidth));
    Scanlines = checkBox(Options, "Scanlines", Texts::ScanlinesBox, m_scale, {16, 18, 97});
    Scanlines->setChecked(true);
    CBScanlinesValue = dropDown(Options, "CBScanlinesValue", Texts::ScanlineModeList, Texts::ScanlineModes, m_scale,
                                {121, 18, 82});
    Frameskip = checkBox(Options, "Frameskip", Texts::FrameskipBox, m_scale, {224, 18, 96});
    FrameskipValue =
        dropDown(Options, "FrameskipValue", Texts::FrameCountList, Texts::FrameCounts, m_scale, {297, 18, 34});
    FrameskipValue->setEnabled(false);
    Vsync = checkBox(Options, "Vsync", Texts::VsyncBox, m_scale, {16, 45, 63});
    Vsync->setChecked(true);
    Vga = checkBox(Options, "Vga", Texts::VgaBox, m_scale, {86, 45, 61});
    Modex = checkBox(Options, "Modex", Texts::ModexBox, m_scale, {151, 45, 64});
    Noanalyse = checkBox(Options, "Noanalyse", Texts::NoanalyseBox, m_scale, {223, 45, 96});
}

void TOptionsPage::buildSnapshotsGroup()
{
    Snapshots = new QGroupBox(Texts::SnapshotsGroup, this);
    Snapshots->setObjectName(QStringLiteral("Snapshots"));
    Snapshots->setFixedHeight(m_scale(65));
    Snapshots->setMinimumWidth(m_scale(DesignedWidth));
    ProcessShots = checkBox(Snapshots, "ProcessShots", Texts::ProcessShotsBox, m_scale, {16, 21, 254});
    ProcessShots->setChecked(true);
    Delete = checkBox(Snapshots, "Delete", Texts::DeleteBox, m_scale, {16, 41, 189});
    Delete->setChecked(true);
    Delete->setEnabled(false);
}

// As the controls stand: row by row, left to right.
void TOptionsPage::setTabOrder()
{
    const QList<QWidget *> order{Scanlines, CBScanlinesValue, Frameskip, FrameskipValue, Vsync,
                                 Vga,       Modex,            Noanalyse, ProcessShots,  Delete};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void TOptionsPage::connectHandlers()
{
    connect(Scanlines, &QCheckBox::clicked, this, &TOptionsPage::ScanlinesClick);
    connect(CBScanlinesValue, &QComboBox::currentIndexChanged, this, &TOptionsPage::CBScanlinesValueChange);
    connect(Frameskip, &QCheckBox::clicked, this, &TOptionsPage::FrameskipClick);
    connect(FrameskipValue, &QComboBox::currentIndexChanged, this, &TOptionsPage::FrameskipValueChange);
    connect(Vsync, &QCheckBox::clicked, this, &TOptionsPage::VsyncClick);
    connect(Vga, &QCheckBox::clicked, this, &TOptionsPage::VgaClick);
    connect(Modex, &QCheckBox::clicked, this, &TOptionsPage::ModexClick);
    connect(Noanalyse, &QCheckBox::clicked, this, &TOptionsPage::NoanalyseClick);
    connect(ProcessShots, &QCheckBox::clicked, this, &TOptionsPage::ProcessShotsClick);
    connect(Delete, &QCheckBox::clicked, this, &TOptionsPage::DeleteClick);
}

void TOptionsPage::ScanlinesClick()
{
    if (Scanlines->isChecked())
        CBScanlinesValueChange();
    else
        m_emulator.Scanlines = slOff;
    CBScanlinesValue->setEnabled(Scanlines->isChecked());
}

void TOptionsPage::CBScanlinesValueChange()
{
    if (!Scanlines->isChecked()) {
        m_emulator.Scanlines = slOff;
        return;
    }
    // "no scanlines" is the emulator's own 100% mode, not the switch being off.
    static constexpr TScanLines ByItem[] = {slOn, sl25, sl50, sl100};
    const int item = CBScanlinesValue->currentIndex();
    if (item >= 0 && item < 4)
        m_emulator.Scanlines = ByItem[item];
}

void TOptionsPage::FrameskipClick()
{
    FrameskipValue->setEnabled(Frameskip->isChecked());
    m_emulator.Frameskip = Frameskip->isChecked();
    FrameskipValueChange();
}

void TOptionsPage::FrameskipValueChange()
{
    bool ok = false;
    const int frames = FrameskipValue->currentText().toInt(&ok);
    if (ok)
        m_emulator.FrameskipValue = frames;
}

void TOptionsPage::VsyncClick()
{
    m_emulator.Vsync = Vsync->isChecked();
}

void TOptionsPage::VgaClick()
{
    m_emulator.Vga = Vga->isChecked();
}

void TOptionsPage::ModexClick()
{
    m_emulator.Modex = Modex->isChecked();
}

void TOptionsPage::NoanalyseClick()
{
    m_emulator.Noanalysis = Noanalyse->isChecked();
}

void TOptionsPage::ProcessShotsClick()
{
    m_emulator.ProcessSnapshots = ProcessShots->isChecked();
    Delete->setEnabled(ProcessShots->isChecked());
}

void TOptionsPage::DeleteClick()
{
    m_emulator.DeleteSnapshot = Delete->isChecked();
}

void TOptionsPage::setControlsFromProperties()
{
    // Setting a control raises its change signal: hold the handlers back so no property moves.
    const QSignalBlocker scanlines(CBScanlinesValue);
    const QSignalBlocker frames(FrameskipValue);
    setScanlinesControls();
    setFrameskipControls();
    Vsync->setChecked(m_emulator.Vsync);
    Vga->setChecked(m_emulator.Vga);
    Modex->setChecked(m_emulator.Modex);
    Noanalyse->setChecked(m_emulator.Noanalysis);
}

void TOptionsPage::setScanlinesControls()
{
    CBScanlinesValue->setEnabled(true);
    Scanlines->setChecked(true);
    switch (m_emulator.Scanlines) {
    case slOff:
        CBScanlinesValue->setEnabled(false);
        CBScanlinesValue->setCurrentIndex(0);
        Scanlines->setChecked(false);
        break;
    case slOn:
        CBScanlinesValue->setCurrentIndex(0);
        break;
    case sl25:
        CBScanlinesValue->setCurrentIndex(1);
        break;
    case sl50:
        CBScanlinesValue->setCurrentIndex(2);
        break;
    case sl100:
        CBScanlinesValue->setCurrentIndex(3);
        break;
    }
}

void TOptionsPage::setFrameskipControls()
{
    FrameskipValue->setEnabled(true);
    FrameskipValue->setCurrentIndex(m_emulator.FrameskipValue - 1);
    Frameskip->setChecked(m_emulator.Frameskip);
    if (!m_emulator.Frameskip)
        FrameskipValue->setEnabled(false);
}

void TOptionsPage::pageShown()
{
    ProcessShots->setChecked(m_emulator.ProcessSnapshots);
    Delete->setChecked(m_emulator.DeleteSnapshot);
    if (m_emulator.InstallType() == itHD) {
        ProcessShots->setEnabled(true);
    } else {
        // Nothing can be moved into the picture directories of a read-only medium.
        ProcessShots->setEnabled(false);
        ProcessShots->setChecked(false);
        m_emulator.ProcessSnapshots = false;
    }
    Delete->setEnabled(ProcessShots->isChecked());
    Options->show();
    Snapshots->show();
}

void TOptionsPage::pageHidden()
{
    Options->hide();
    Snapshots->hide();
}

} // namespace Lanvo
