#include "editor/cursor_set.h"

#include "platform/ui/focus.h"
#include "platform/ui/window.h"

int CCursorSet::GetCursor(std::uint8_t code)
{
    switch (code) {
    case 16: case 17: case 18: case 19: case 26: case 28: case 43: return plat::kIdcSizeAll;
    case 33: case 40: return plat::kIdcSizeNwse;
    case 35: case 38: return plat::kIdcSizeNesw;
    case 34: case 39: return plat::kIdcSizeWe;
    case 36: case 37: return plat::kIdcSizeNs;
    case 49: return 7060;
    case 50: return 7061;
    case 51: return 7059;
    case 52: return 7058;
    case 53: return 7056;
    case 54: return 7055;
    case 69: case 93: return 7050;
    case 70: return 7063;
    case 90: case 94: case 95: return 7053;
    case 91: case 92: return 7057;
    default: return plat::kIdcArrow;
    }
}

bool CCursorSet::SetCursorFor(std::uint8_t code, bool force)
{
    const bool differs = code != m_last;
    if (differs || force || code == 1) {
        m_last = code;
        plat::SetCursor(GetCursor(code));
    }
    return differs;
}
