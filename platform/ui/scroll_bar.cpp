#include "platform/ui/scroll_bar.h"

#include <algorithm>
#include <cstdint>

#include "platform/ui/message.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

namespace plat {

namespace {

unsigned ScrollMessage(int bar)
{
    return bar == kSbVert ? kWmVScroll : kWmHScroll;
}

} // namespace

int ScrollInfo::MaxPos() const
{
    const std::int64_t last = page ? std::int64_t(max) - std::int64_t(page) + 1 : std::int64_t(max);
    return static_cast<int>(std::max<std::int64_t>(last, min));
}

int ScrollInfo::Clamp(int position) const
{
    return std::clamp(position, min, MaxPos());
}

std::optional<int> NewScrollPos(const ScrollInfo& info, unsigned code, int thumbPos, int lineSize)
{
    const std::int64_t page = info.page ? info.page : 1;
    std::int64_t to = info.pos;
    switch (code) {
    case kSbLineUp: to -= lineSize; break;
    case kSbLineDown: to += lineSize; break;
    case kSbPageUp: to -= page; break;
    case kSbPageDown: to += page; break;
    case kSbThumbTrack:
    case kSbThumbPosition: to = thumbPos; break;
    case kSbTop: to = info.min; break;
    case kSbBottom: to = info.MaxPos(); break;
    default: return std::nullopt;
    }
    return info.Clamp(static_cast<int>(std::clamp<std::int64_t>(to, INT32_MIN, INT32_MAX)));
}

void ClickScrollBar(Window& window, int bar, unsigned code)
{
    const unsigned message = ScrollMessage(bar);
    SendMessage(&window, message, MakeWParam(code, static_cast<unsigned>(window.GetScrollPos(bar))));
    SendMessage(&window, message, MakeWParam(kSbEndScroll, 0));
}

void DragScrollThumb(Window& window, int bar, std::initializer_list<int> positions)
{
    if (positions.size() == 0) return;
    const unsigned message = ScrollMessage(bar);
    int last = window.GetScrollPos(bar);
    for (int p : positions) {
        last = window.GetScrollInfo(bar).Clamp(p);
        ScrollInfo track;
        track.trackPos = last;
        window.SetScrollInfo(bar, track, kSifTrackPos);
        SendMessage(&window, message, MakeWParam(kSbThumbTrack, static_cast<unsigned>(last)));
    }
    SendMessage(&window, message, MakeWParam(kSbThumbPosition, static_cast<unsigned>(last)));
    SendMessage(&window, message, MakeWParam(kSbEndScroll, 0));
}

} // namespace plat
