#pragma once

#include <QDialog>

namespace Lanvo {

// The options dialog; created hidden at start and shown modally from the emulator menu.
class TF_Options : public QDialog
{
    Q_OBJECT

public:
    explicit TF_Options(QWidget *parent = nullptr);
};

extern TF_Options *F_Options;

} // namespace Lanvo
