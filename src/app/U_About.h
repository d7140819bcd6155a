#pragma once

#include <QDialog>

namespace Lanvo {

// The about dialog; created hidden at start and shown modally from the Help menu.
class TF_About : public QDialog
{
    Q_OBJECT

public:
    explicit TF_About(QWidget *parent = nullptr);
};

extern TF_About *F_About;

} // namespace Lanvo
