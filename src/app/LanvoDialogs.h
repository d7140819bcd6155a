#pragma once

#include <memory>

namespace Lanvo {

class TF_About;
class TF_Lanvo;
class TF_Options;

// The about and options dialogs of the main window: built when the window asks for them (after its
// first frame, or when one is chosen before that) and kept to the end. Made after the window and
// destroyed before it, their parent.
class LanvoDialogs
{
public:
    explicit LanvoDialogs(TF_Lanvo &window);
    ~LanvoDialogs();
    LanvoDialogs(const LanvoDialogs &) = delete;
    LanvoDialogs &operator=(const LanvoDialogs &) = delete;

private:
    TF_Lanvo &m_window;
    std::unique_ptr<TF_About> m_about;
    std::unique_ptr<TF_Options> m_options;
};

} // namespace Lanvo
