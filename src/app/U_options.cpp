#include "U_options.h"

#include "U_textes_An.h"

namespace Lanvo {

TF_Options *F_Options = nullptr;

TF_Options::TF_Options(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(Texts::OptionsCaption);
}

} // namespace Lanvo
