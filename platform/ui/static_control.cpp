#include "platform/ui/static_control.h"

namespace plat {

void StaticControl::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, look::kFace);
    if (GetStyle() & kSsSunken) DrawFrame(dc, client, look::kBorder);
    const int align = static_cast<int>(GetStyle() & kSsAlignMask);
    // A label sits at the top of its rectangle, as a line of text.
    const Rect line(client.left, client.top, client.right, client.top + dc.GetTextMetrics().height);
    DrawTextIn(dc, line, GetWindowText(), align == 3 ? 0 : align, (GetStyle() & kSsSunken) ? 2 : 0);
}

} // namespace plat
