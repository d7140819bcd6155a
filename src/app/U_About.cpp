#include "U_About.h"

#include "U_textes_An.h"

namespace Lanvo {

TF_About *F_About = nullptr;

TF_About::TF_About(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(Texts::AboutCaption);
}

} // namespace Lanvo
