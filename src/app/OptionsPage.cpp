#include "OptionsPage.h"

#include "CaptionFit.h"
#include "Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace Lanvo {

namespace {

template<typename Control>
Control *place(QWidget *parent, const char *name, int left, int top, int width)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->move(left, top);
    control->resize(width, control->sizeHint().height());
    return control;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, int left, int top, int width)
{
    auto *box = place<QCheckBox>(parent, name, left, top, width);
    box->setText(caption);
    return box;
}

// A drop-down list has no caption of its own. Some desktops name it by its current item, so its
// purpose is also given as its description.
QComboBox *dropDown(QWidget *parent, const char *name, const QString &purpose, const QStringList &items, int left,
                    int top, int width)
{
    auto *list = place<QComboBox>(parent, name, left, top, width);
    list->addItems(items);
    list->setMaxVisibleItems(4);
    list->setEditable(false); // no typed text
    list->setCurrentIndex(-1);
    list->setAccessibleName(purpose);
    list->setAccessibleDescription(purpose);
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
    Options->setFixedHeight(77);
    Scanlines = checkBox(Options, "Scanlines", Texts::ScanlinesBox, 16, 18, 97);
    Scanlines->setChecked(true);
    CBScanlinesValue = dropDown(Options, "CBScanlinesValue", Texts::ScanlineModeList, Texts::ScanlineModes, 121, 18, 82);
    Frameskip = checkBox(Options, "Frameskip", Texts::FrameskipBox, 224, 18, 96);
    FrameskipValue = dropDown(Options, "FrameskipValue", Texts::FrameCountList, Texts::FrameCounts, 297, 18, 34);
    FrameskipValue->setEnabled(false);
    Vsync = checkBox(Options, "Vsync", Texts::VsyncBox, 16, 45, 63);
    Vsync->setChecked(true);
    Vga = checkBox(Options, "Vga", Texts::VgaBox, 86, 45, 61);
    Modex = checkBox(Options, "Modex", Texts::ModexBox, 151, 45, 64);
    Noanalyse = checkBox(Options, "Noanalyse", Texts::NoanalyseBox, 223, 45, 96);
}

void TOptionsPage::buildSnapshotsGroup()
{
    Snapshots = new QGroupBox(Texts::SnapshotsGroup, this);
    Snapshots->setObjectName(QStringLiteral("Snapshots"));
    Snapshots->setFixedHeight(65);
    ProcessShots = checkBox(Snapshots, "ProcessShots", Texts::ProcessShotsBox, 16, 21, 254);
    ProcessShots->setChecked(true);
    Delete = checkBox(Snapshots, "Delete", Texts::DeleteBox, 16, 41, 189);
    Delete->setChecked(true);
    Delete->setEnabled(false);
}

// Measuring the captions shapes their texts; the page starts behind the games list, so they are
// fitted when it is first shown rather than during the program's start.
void TOptionsPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_fitted) {
        fitCaptions();
        m_fitted = true;
    }
}

void TOptionsPage::fitCaptions()
{
    fitCaptionsInRow({Scanlines, CBScanlinesValue, Frameskip, FrameskipValue});
    fitCaptionsInRow({Vsync, Vga, Modex, Noanalyse});
    fitCaptionsInRow({ProcessShots});
    fitCaptionsInRow({Delete});
}

void TOptionsPage::setTabOrder()
{
    const QList<QWidget *> order{Scanlines, Frameskip, FrameskipValue, Noanalyse, Modex, Vsync, Vga, CBScanlinesValue};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    QWidget::setTabOrder(ProcessShots, Delete);
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
