#pragma once

#include "Corvane.h"
#include "FormScale.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace Lanvo {

// The "Options" page: the emulator's switches and the snapshot settings. Every control writes
// straight into the emulator's properties; nothing is applied before the next run.
class TOptionsPage : public QWidget
{
    Q_OBJECT

public:
    TOptionsPage(TCorvane &emulator, QWidget *parent = nullptr);

    // Sets the controls from the properties without changing any property.
    void setControlsFromProperties();
    // The page became the active page.
    void pageShown();
    // The games page is active: the group boxes are hidden.
    void pageHidden();

    QGroupBox *Options;
    QGroupBox *Snapshots;
    QCheckBox *Scanlines;
    QComboBox *CBScanlinesValue;
    QCheckBox *Frameskip;
    QComboBox *FrameskipValue;
    QCheckBox *Vsync;
    QCheckBox *Vga;
    QCheckBox *Modex;
    QCheckBox *Noanalyse;
    QCheckBox *ProcessShots;
    QCheckBox *Delete;

public Q_SLOTS:
    void ScanlinesClick();
    void CBScanlinesValueChange();
    void FrameskipClick();
    void FrameskipValueChange();
    void VsyncClick();
    void VgaClick();
    void ModexClick();
    void NoanalyseClick();
    void ProcessShotsClick();
    void DeleteClick();

private:
    void buildOptionsGroup();
    void buildSnapshotsGroup();
    void setTabOrder();
    void connectHandlers();
    void setScanlinesControls();
    void setFrameskipControls();

    TCorvane &m_emulator;
    const FormScale m_scale{font()};
};

} // namespace Lanvo
