#include "LanvoDialogs.h"

#include "AboutDialog.h"
#include "Main.h"
#include "OptionsDialog.h"

namespace Lanvo {

LanvoDialogs::LanvoDialogs(TF_Lanvo &window)
    : m_window(window)
{
    window.setDialogsMaker([this] {
        m_about = std::make_unique<TF_About>(&m_window);
        F_About = m_about.get();
        m_options = std::make_unique<TF_Options>(&m_window);
        F_Options = m_options.get();
    });
}

// Nothing may reach the dialogs once they are gone.
LanvoDialogs::~LanvoDialogs()
{
    m_window.setDialogsMaker({});
    if (F_About == m_about.get())
        F_About = nullptr;
    if (F_Options == m_options.get())
        F_Options = nullptr;
}

} // namespace Lanvo
