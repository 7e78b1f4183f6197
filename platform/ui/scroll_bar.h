// Scroll bars of a window (its WS_HSCROLL and WS_VSCROLL bars): range, page, position and
// the thumb's tracking position, with the scroll codes of WM_HSCROLL and WM_VSCROLL.
//
// A bar only reports: the user's actions on it (ClickScrollBar, DragScrollThumb) send the
// window its scroll messages, and the window decides where to scroll and sets the position
// (NewScrollPos computes the usual answer to each code).
#pragma once
#include <initializer_list>
#include <optional>

namespace plat {

class Window;

enum ScrollBarKind : int {
    kSbHorz = 0,
    kSbVert = 1,
};

// Scroll codes (the low word of WM_HSCROLL / WM_VSCROLL's wParam). The horizontal names
// share the values: left = line up, right = line down, and so on.
enum ScrollCode : unsigned {
    kSbLineUp = 0,
    kSbLineDown = 1,
    kSbPageUp = 2,
    kSbPageDown = 3,
    kSbThumbPosition = 4,
    kSbThumbTrack = 5,
    kSbTop = 6,
    kSbBottom = 7,
    kSbEndScroll = 8,
    kSbLineLeft = kSbLineUp,
    kSbLineRight = kSbLineDown,
    kSbPageLeft = kSbPageUp,
    kSbPageRight = kSbPageDown,
    kSbLeft = kSbTop,
    kSbRight = kSbBottom,
};

// Which fields of a ScrollInfo SetScrollInfo takes.
enum ScrollInfoMask : unsigned {
    kSifRange = 0x1,
    kSifPage = 0x2,
    kSifPos = 0x4,
    kSifTrackPos = 0x10,
    kSifAll = kSifRange | kSifPage | kSifPos | kSifTrackPos,
};

// The width of a vertical bar and the height of a horizontal one, in pixels.
constexpr int kScrollBarSize = 17;

struct ScrollInfo {
    int min = 0;
    int max = 100;
    unsigned page = 0;  // 0: no page; the thumb then reaches max
    int pos = 0;
    int trackPos = 0;   // where the thumb is while it is dragged
    bool operator==(const ScrollInfo&) const = default;

    // The largest position: max - page + 1 with a page, else max; never below min.
    int MaxPos() const;
    int Clamp(int position) const;
};

// Where the usual scroll handling goes for a code: a line or a page on, the ends, or the
// thumb's position (given in the message); clamped to the range. Nothing for SB_ENDSCROLL.
std::optional<int> NewScrollPos(const ScrollInfo& info, unsigned code, int thumbPos, int lineSize);

// The user clicks an arrow, the track or drives the bar to an end: the window gets the
// scroll message with the code (and the current position), then SB_ENDSCROLL.
void ClickScrollBar(Window& window, int bar, unsigned code);
// The user drags the thumb through the positions and lets it go at the last one: the track
// position follows the drag and the window gets SB_THUMBTRACK at each position, then
// SB_THUMBPOSITION at the last and SB_ENDSCROLL. Positions are clamped to the range.
void DragScrollThumb(Window& window, int bar, std::initializer_list<int> positions);

} // namespace plat
