#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace Lanvo {

FontConfigWarmUp::FontConfigWarmUp()
    : m_thread([] { FcInit(); })
{
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    wait();
}

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace Lanvo
