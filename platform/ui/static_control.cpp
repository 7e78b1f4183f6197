#include "platform/ui/static_control.h"

namespace plat {

void StaticControl::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, look::kFace);
    if (GetStyle() & kSsSunken) DrawFrame(dc, client, look::kBorder);
    const int align = static_cast<int>(GetStyle() & kSsAlignMask);
    // A label sits at the top of its rectangle, a line of text for each line of its text.
    const int height = dc.GetTextMetrics().height;
    const StringView text = GetWindowText();
    int top = client.top;
    for (size_t start = 0; start <= text.size() && top < client.bottom; top += height) {
        size_t end = text.find(u'\n', start);
        if (end == StringView::npos) end = text.size();
        const Rect line(client.left, top, client.right, top + height);
        DrawTextIn(dc, line, text.substr(start, end - start), align == 3 ? 0 : align, (GetStyle() & kSsSunken) ? 2 : 0);
        start = end + 1;
    }
}

} // namespace plat
