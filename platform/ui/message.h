// Messages of the window tree: their numbers (the Windows values, which the system's
// message maps and tables use), the message record, and packing of the two parameters.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"

namespace plat {

class Window;

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

enum MessageId : unsigned {
    kWmNull = 0x0000,
    kWmCreate = 0x0001,          // lParam: 0; returning -1 refuses the creation
    kWmDestroy = 0x0002,
    kWmMove = 0x0003,            // lParam: client origin in the parent's client coordinates
    kWmSize = 0x0005,            // lParam: client width, height
    kWmSetFocus = 0x0007,        // wParam: the window that lost the focus (Window*) or 0
    kWmKillFocus = 0x0008,       // wParam: the window that gets the focus (Window*) or 0
    kWmPaint = 0x000F,
    kWmClose = 0x0010,
    kWmQuit = 0x0012,            // wParam: the exit code
    kWmEraseBkgnd = 0x0014,      // wParam: the Dc to erase (Dc*)
    kWmSysColorChange = 0x0015,  // the system colours changed (sys_colors.h)
    kWmShowWindow = 0x0018,      // wParam: shown (1) or hidden (0)
    kWmSetCursor = 0x0020,       // wParam: the window under the cursor; lParam: hit code, mouse message
    kWmKeyDown = 0x0100,         // wParam: virtual key; lParam: repeat count, previous-state bit 30, up bit 31
    kWmKeyUp = 0x0101,
    kWmChar = 0x0102,            // wParam: one UTF-16 unit
    kWmSysKeyDown = 0x0104,
    kWmSysKeyUp = 0x0105,
    kWmKeyLast = 0x0109,
    kWmCommand = 0x0111,         // wParam: command id, notification code; lParam: the control (Window*) or 0
    kWmTimer = 0x0113,           // wParam: timer id
    kWmHScroll = 0x0114,         // wParam: scroll code, position; lParam: the bar's control or 0
    kWmVScroll = 0x0115,
    kWmInitMenuPopup = 0x0117,   // wParam: the menu about to open (Menu*)
    kWmMouseMove = 0x0200,       // wParam: mouse key flags; lParam: client x, y
    kWmLButtonDown = 0x0201,
    kWmLButtonUp = 0x0202,
    kWmLButtonDblClk = 0x0203,
    kWmRButtonDown = 0x0204,
    kWmRButtonUp = 0x0205,
    kWmRButtonDblClk = 0x0206,
    kWmMouseWheel = 0x020A,      // wParam: key flags, signed delta (120 a notch); lParam: screen x, y
    kWmCaptureChanged = 0x0215,  // lParam: the window that takes the capture (Window*) or 0
    kWmIdleUpdateCmdUi = 0x0363, // wParam: TRUE; the idle update of bars and their buttons
    kWmUser = 0x0400,
};
constexpr unsigned kWmKeyFirst = kWmKeyDown;
constexpr unsigned kWmMouseFirst = kWmMouseMove;
constexpr unsigned kWmMouseLast = 0x020D;

// Mouse key flags of the mouse messages.
enum MouseKeyFlag : unsigned {
    kMkLButton = 0x0001,
    kMkRButton = 0x0002,
    kMkShift = 0x0004,
    kMkControl = 0x0008,
};

// The hit code of a point in a window's client area (the low word of WM_SETCURSOR's lParam).
constexpr unsigned kHtClient = 1;

// One message: the window it is for (null: for the thread, not dispatched) and its parameters.
struct Message {
    Window* window = nullptr;
    unsigned message = kWmNull;
    WParam wParam = 0;
    LParam lParam = 0;
};

constexpr unsigned LoWord(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HiWord(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
constexpr WParam MakeWParam(unsigned low, unsigned high)
{
    return static_cast<WParam>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
// Two signed 16-bit values (coordinates, sizes) in the low 32 bits.
constexpr LParam MakeLParam(int low, int high)
{
    return static_cast<LParam>(static_cast<std::uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
// The signed coordinates packed by MakeLParam.
constexpr Point PointFromLParam(LParam l)
{
    return Point(static_cast<std::int16_t>(l & 0xFFFF), static_cast<std::int16_t>((l >> 16) & 0xFFFF));
}
// The signed wheel delta of WM_MOUSEWHEEL's wParam.
constexpr int WheelDelta(WParam w) { return static_cast<std::int16_t>(HiWord(w)); }
constexpr int kWheelDelta = 120;

} // namespace plat
