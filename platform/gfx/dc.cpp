#include "platform/gfx/dc.h"

namespace plat {

int Dc::GetDeviceCaps(int index) const
{
    switch (index) {
    case kLogPixelsX: return m_dpiX;
    case kLogPixelsY: return m_dpiY;
    default: return 0;
    }
}

} // namespace plat
