#include "editor/ql_ruler.h"

#include "platform/gfx/pen_brush.h"

namespace {
// The ruler's face, as the dialog face colour of the desktop.
constexpr plat::ColorRef kRulerFace = 0xC0C0C0;
} // namespace

plat::LResult CQlRuler::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    if (message == plat::kWmPaint) {
        plat::PaintDc dc(*this);
        dc.FillRect(GetClientRect(), plat::Brush::Solid(kRulerFace));
        return 0;
    }
    return DefWindowProc(message, wParam, lParam);
}
