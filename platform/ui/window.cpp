#include "platform/ui/window.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/clipboard.h"
#include "platform/ui/control.h"
#include "platform/ui/focus.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/timer.h"

namespace plat {

namespace {

// An update region of more rectangles than this becomes its bounding box.
constexpr std::size_t kMaxRegionRects = 32;

// Colours of the parts the tree draws itself: frames and scroll bars.
constexpr ColorRef kFrameColor = Rgb(0, 0, 0);
constexpr ColorRef kEdgeOuterDark = Rgb(160, 160, 160);
constexpr ColorRef kEdgeOuterLight = Rgb(255, 255, 255);
constexpr ColorRef kEdgeInnerDark = Rgb(105, 105, 105);
constexpr ColorRef kEdgeInnerLight = Rgb(227, 227, 227);
constexpr ColorRef kBarTrack = Rgb(240, 240, 240);
constexpr ColorRef kBarButton = Rgb(205, 205, 205);
constexpr ColorRef kBarThumb = Rgb(160, 160, 160);
constexpr ColorRef kNewSurface = Rgb(255, 255, 255);

std::vector<Window*>& TopLevels()
{
    static std::vector<Window*> windows;
    return windows;
}

Rect BoundingBox(const std::vector<Rect>& rects)
{
    Rect box;
    for (const Rect& r : rects) box = box.Union(r);
    return box;
}

// The parts of r outside cut: up to four rectangles.
void Subtract(const Rect& r, const Rect& cut, std::vector<Rect>& out)
{
    const Rect common = r.Intersect(cut);
    if (common.IsEmpty()) {
        out.push_back(r);
        return;
    }
    const Rect parts[] = {
        Rect(r.left, r.top, r.right, common.top),             // above
        Rect(r.left, common.bottom, r.right, r.bottom),       // below
        Rect(r.left, common.top, common.left, common.bottom), // left
        Rect(common.right, common.top, r.right, common.bottom),
    };
    for (const Rect& p : parts)
        if (!p.IsEmpty()) out.push_back(p);
}

// Copies the pixels of from's rectangle src to `to` at dest.
void CopyPixels(const Bitmap& from, const Rect& src, Bitmap& to, Point dest)
{
    const Rect s = src.Intersect(Rect(0, 0, from.Width(), from.Height()));
    for (int y = s.top; y < s.bottom; ++y) {
        const int ty = dest.y + (y - src.top);
        const int tx = dest.x + (s.left - src.left);
        if (ty < 0 || ty >= to.Height()) continue;
        const int x0 = std::max(0, -tx);
        const int x1 = std::min(s.Width(), to.Width() - tx);
        if (x1 <= x0) continue;
        std::memcpy(to.MutableRow(ty) + tx + x0, from.Row(y) + s.left + x0,
                    static_cast<std::size_t>(x1 - x0) * sizeof(std::uint32_t));
    }
}

// Fills a screen rectangle, cut to clip, on a bitmap whose (0, 0) is the screen's origin.
void FillScreenRect(Bitmap& target, Point origin, const Rect& clip, Rect r, ColorRef color)
{
    r = r.Intersect(clip);
    const std::uint32_t pixel = ColorToPixel(color);
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = target.MutableRow(y - origin.y);
        if (!row) continue;
        for (int x = std::max(r.left - origin.x, 0); x < std::min(r.right - origin.x, target.Width()); ++x)
            row[x] = pixel;
    }
}

// A one-pixel ring: top and left in one colour, bottom and right in the other.
void FillRing(Bitmap& target, Point origin, const Rect& clip, const Rect& r, ColorRef topLeft,
              ColorRef bottomRight)
{
    FillScreenRect(target, origin, clip, Rect(r.left, r.top, r.right, r.top + 1), topLeft);
    FillScreenRect(target, origin, clip, Rect(r.left, r.top, r.left + 1, r.bottom), topLeft);
    FillScreenRect(target, origin, clip, Rect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
    FillScreenRect(target, origin, clip, Rect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
}

// A scroll bar: arrow buttons at both ends, the track, the thumb by page and position.
void DrawScrollBar(Bitmap& target, Point origin, const Rect& clip, const Rect& bar, bool vertical,
                   const ScrollInfo& info)
{
    FillScreenRect(target, origin, clip, bar, kBarTrack);
    const int length = vertical ? bar.Height() : bar.Width();
    const int button = std::min(kScrollBarSize, length / 2);
    auto along = [&](int from, int to) {
        return vertical ? Rect(bar.left, bar.top + from, bar.right, bar.top + to)
                        : Rect(bar.left + from, bar.top, bar.left + to, bar.bottom);
    };
    FillScreenRect(target, origin, clip, along(0, button), kBarButton);
    FillScreenRect(target, origin, clip, along(length - button, length), kBarButton);
    const int track = length - 2 * button;
    const std::int64_t range = std::int64_t(info.max) - info.min + 1;
    if (track <= 0 || range <= 0) return;
    int thumb = info.page ? static_cast<int>(std::min<std::int64_t>(track, track * std::int64_t(info.page) / range))
                          : kScrollBarSize;
    thumb = std::max(thumb, std::min(8, track));
    const int travel = track - thumb;
    const std::int64_t span = std::int64_t(info.MaxPos()) - info.min;
    const int offset = span > 0 ? static_cast<int>(travel * (std::int64_t(info.pos) - info.min) / span) : 0;
    FillScreenRect(target, origin, clip, along(button + offset, button + offset + thumb), kBarThumb);
}

} // namespace

Window::Window() = default;

Window::~Window()
{
    Destroy();
}

std::unique_ptr<Dc> Window::GetDc() const
{
    return std::make_unique<Dc>(kScreenDpi, kScreenDpi);
}

bool Window::Create(Window* parent, const Rect& rect, unsigned style, int id, unsigned exStyle)
{
    if (m_created || (parent && !parent->m_created)) return false;
    m_created = true;
    m_parent = parent;
    m_id = id;
    m_style = style;
    m_exStyle = exStyle;
    m_rect = rect;
    m_rect.Normalize();
    m_update.clear();
    m_erasePending = false;
    if (parent)
        parent->m_children.insert(parent->m_children.begin(), this);
    else
        TopLevels().push_back(this);
    if (SendMessage(this, kWmCreate) == -1) {
        Destroy();
        return false;
    }
    if (!m_created) return false; // destroyed while it was being created
    ResizeSurface();
    Invalidate(true);
    const Rect client = GetClientRect();
    SendMessage(this, kWmSize, 0, MakeLParam(client.Width(), client.Height()));
    SendMessage(this, kWmMove, 0, MakeLParam(m_rect.left + FrameWidth(), m_rect.top + FrameWidth()));
    return true;
}

void Window::Destroy()
{
    if (!m_created) return;
    const std::vector<Window*> children = m_children;
    for (Window* child : children) child->Destroy();
    // The focus and the capture are given up with their messages, before WM_DESTROY.
    if (GetFocus() == this) SetFocus(nullptr);
    if (GetCapture() == this) ReleaseCapture();
    SendMessage(this, kWmDestroy);
    KillTimers(this);
    ForgetInputWindow(this);
    DropQueuedMessages(this);
    ForgetClipboardWindow(this);
    UnlinkFromParent();
    m_created = false;
    m_children.clear();
    m_update.clear();
    m_erasePending = false;
    m_surface.reset();
}

void Window::UnlinkFromParent()
{
    std::vector<Window*>& siblings = m_parent ? m_parent->m_children : TopLevels();
    std::erase(siblings, this);
    m_parent = nullptr;
}

Window* Window::GetTopLevel()
{
    Window* w = this;
    while (w->m_parent) w = w->m_parent;
    return w;
}

Window* Window::GetChild(int id) const
{
    for (Window* child : m_children)
        if (child->m_id == id) return child;
    return nullptr;
}

bool Window::IsDescendantOf(const Window* ancestor) const
{
    for (const Window* w = m_parent; w; w = w->m_parent)
        if (w == ancestor) return true;
    return false;
}

void Window::ModifyStyle(unsigned remove, unsigned add)
{
    const unsigned wanted = (m_style & ~remove) | add;
    const Rect clientBefore = GetClientRect();
    m_style = (wanted & ~kWsVisible) | (m_style & kWsVisible);
    if ((wanted & kWsVisible) != (m_style & kWsVisible)) ShowWindow((wanted & kWsVisible) ? kSwShowNa : kSwHide);
    if (m_created && GetClientRect() != clientBefore) SetRectAndNotify(m_rect);
}

void Window::ModifyExStyle(unsigned remove, unsigned add)
{
    const Rect clientBefore = GetClientRect();
    m_exStyle = (m_exStyle & ~remove) | add;
    if (m_created && GetClientRect() != clientBefore) SetRectAndNotify(m_rect);
}

int Window::FrameWidth() const
{
    return ((m_style & kWsBorder) ? 1 : 0) + ((m_exStyle & kWsExClientEdge) ? 2 : 0);
}

Rect Window::GetWindowRect() const
{
    if (!m_parent) return m_rect;
    const Point at = m_parent->ClientToScreen(Point(m_rect.left, m_rect.top));
    return Rect(at.x, at.y, at.x + m_rect.Width(), at.y + m_rect.Height());
}

Rect Window::GetClientRect() const
{
    const int frame = FrameWidth();
    const int w = m_rect.Width() - 2 * frame - ((m_style & kWsVScroll) ? kScrollBarSize : 0);
    const int h = m_rect.Height() - 2 * frame - ((m_style & kWsHScroll) ? kScrollBarSize : 0);
    return Rect(0, 0, std::max(w, 0), std::max(h, 0));
}

Point Window::ClientToScreen(Point p) const
{
    const Rect w = GetWindowRect();
    return Point(p.x + w.left + FrameWidth(), p.y + w.top + FrameWidth());
}

Point Window::ScreenToClient(Point p) const
{
    const Point origin = ClientToScreen(Point());
    return p - origin;
}

Rect Window::ClientToScreen(const Rect& r) const
{
    const Point origin = ClientToScreen(Point());
    Rect s = r;
    s.Offset(origin.x, origin.y);
    return s;
}

void Window::SetRectAndNotify(const Rect& rect)
{
    const Rect clientBefore = m_surface ? Rect(0, 0, m_surface->Width(), m_surface->Height()) : Rect();
    const Point originBefore(m_rect.left, m_rect.top);
    m_rect = rect;
    m_rect.Normalize();
    if (!m_created) return;
    const Rect client = GetClientRect();
    if (client != clientBefore) {
        ResizeSurface();
        Invalidate(true);
        SendMessage(this, kWmSize, 0, MakeLParam(client.Width(), client.Height()));
    }
    if (Point(m_rect.left, m_rect.top) != originBefore)
        SendMessage(this, kWmMove, 0, MakeLParam(m_rect.left + FrameWidth(), m_rect.top + FrameWidth()));
}

void Window::MoveWindow(const Rect& rect)
{
    SetRectAndNotify(rect);
}

void Window::SetWindowPos(const Rect& rect, unsigned flags)
{
    Rect target = m_rect;
    if (!(flags & kSwpNoMove)) target.Offset(rect.left - m_rect.left, rect.top - m_rect.top);
    if (!(flags & kSwpNoSize)) {
        target.right = target.left + std::max(rect.Width(), 0);
        target.bottom = target.top + std::max(rect.Height(), 0);
    }
    SetRectAndNotify(target);
    if (!(flags & kSwpNoZOrder)) {
        std::vector<Window*>& siblings = m_parent ? m_parent->m_children : TopLevels();
        auto it = std::find(siblings.begin(), siblings.end(), this);
        // Children keep the top first; top-level windows are listed oldest first, the top last.
        if (it != siblings.end()) {
            if (m_parent)
                std::rotate(siblings.begin(), it, it + 1);
            else
                std::rotate(it, it + 1, siblings.end());
        }
    }
    if (flags & kSwpShowWindow) ShowWindow(kSwShowNa);
    if (flags & kSwpHideWindow) ShowWindow(kSwHide);
}

bool Window::ShowWindow(int command)
{
    const bool was = (m_style & kWsVisible) != 0;
    const bool show = command != kSwHide;
    if (show == was) return was;
    m_style = show ? (m_style | kWsVisible) : (m_style & ~kWsVisible);
    if (!m_created) return was;
    SendMessage(this, kWmShowWindow, show ? 1 : 0);
    if (show) Invalidate(true);
    return was;
}

bool Window::IsWindowVisible() const
{
    if (!m_created) return false;
    for (const Window* w = this; w; w = w->m_parent)
        if (!(w->m_style & kWsVisible)) return false;
    return true;
}

void Window::EnableWindow(bool enable)
{
    const bool was = IsWindowEnabled();
    m_style = enable ? (m_style & ~kWsDisabled) : (m_style | kWsDisabled);
    // WM_ENABLE (0x000A), so that a control repaints in its new state.
    if (m_created && was != enable) SendMessage(this, 0x000A, enable ? 1 : 0);
}

void Window::SetTimer(unsigned id, std::int64_t periodMs)
{
    if (!m_created) return;
    plat::SetTimer(this, id, periodMs, [this, id] { SendMessage(this, kWmTimer, id); });
}

bool Window::KillTimer(unsigned id)
{
    return plat::KillTimer(this, id);
}

bool Window::IsTimerSet(unsigned id) const
{
    return plat::IsTimerSet(this, id);
}

void Window::InvalidateRect(const Rect& rect, bool erase)
{
    if (!m_created) return;
    Rect r = rect;
    r.Normalize();
    r = r.Intersect(GetClientRect());
    if (r.IsEmpty()) return;
    m_erasePending = m_erasePending || erase;
    for (const Rect& held : m_update)
        if (held.Intersect(r) == r) return;
    std::erase_if(m_update, [&](const Rect& held) { return r.Intersect(held) == held; });
    m_update.push_back(r);
    if (m_update.size() > kMaxRegionRects) m_update = {BoundingBox(m_update)};
}

void Window::Invalidate(bool erase)
{
    InvalidateRect(GetClientRect(), erase);
}

void Window::ValidateRect(const Rect* rect)
{
    if (!rect) {
        m_update.clear();
        m_erasePending = false;
        return;
    }
    std::vector<Rect> left;
    for (const Rect& held : m_update) Subtract(held, *rect, left);
    m_update = std::move(left);
    if (m_update.empty()) m_erasePending = false;
}

Rect Window::GetUpdateRect() const
{
    return BoundingBox(m_update);
}

void Window::UpdateWindow()
{
    if (IsWindowVisible() && NeedsPaint()) SendMessage(this, kWmPaint);
}

void Window::ResizeSurface()
{
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_surface.reset();
        return;
    }
    if (m_surface && m_surface->Width() == client.Width() && m_surface->Height() == client.Height()) return;
    std::unique_ptr<Bitmap> surface = Bitmap::Create(client.Width(), client.Height());
    if (!surface) {
        m_surface.reset();
        return;
    }
    surface->Fill(m_background.value_or(kNewSurface));
    if (m_surface) CopyPixels(*m_surface, Rect(0, 0, m_surface->Width(), m_surface->Height()), *surface, Point());
    m_surface = std::move(surface);
}

ScrollInfo* Window::Bar(int bar)
{
    return bar == kSbHorz || bar == kSbVert ? &m_scroll[bar] : nullptr;
}

int Window::SetScrollInfo(int bar, const ScrollInfo& info, unsigned mask)
{
    ScrollInfo* s = Bar(bar);
    if (!s) return 0;
    if (mask & kSifRange) {
        s->min = info.min;
        s->max = info.max;
    }
    if (mask & kSifPage) s->page = info.page;
    if (mask & kSifPos) s->pos = info.pos;
    if (mask & kSifTrackPos) s->trackPos = info.trackPos;
    s->pos = s->Clamp(s->pos);
    return s->pos;
}

ScrollInfo Window::GetScrollInfo(int bar) const
{
    return bar == kSbHorz || bar == kSbVert ? m_scroll[bar] : ScrollInfo();
}

int Window::SetScrollPos(int bar, int pos)
{
    ScrollInfo* s = Bar(bar);
    if (!s) return 0;
    const int old = s->pos;
    s->pos = s->Clamp(pos);
    return old;
}

int Window::GetScrollPos(int bar) const
{
    return GetScrollInfo(bar).pos;
}

void Window::SetScrollRange(int bar, int min, int max)
{
    ScrollInfo info;
    info.min = min;
    info.max = max;
    SetScrollInfo(bar, info, kSifRange);
}

void Window::ShowScrollBar(int bar, bool show)
{
    const unsigned bit = bar == kSbVert ? unsigned(kWsVScroll) : bar == kSbHorz ? unsigned(kWsHScroll) : 0u;
    if (bit) ModifyStyle(show ? 0 : bit, show ? bit : 0);
}

LResult Window::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    return DefWindowProc(message, wParam, lParam);
}

bool Window::PreTranslateMessage(Message&)
{
    return false;
}

LResult Window::DefWindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmPaint: {
        PaintDc dc(*this);
        return 0;
    }
    case kWmEraseBkgnd:
        if (!m_background || !wParam) return 0;
        reinterpret_cast<Dc*>(wParam)->FillRect(GetClientRect(), Brush::Solid(*m_background));
        return 1;
    case kWmSetCursor:
        if (m_parent && SendMessage(m_parent, kWmSetCursor, wParam, lParam)) return 1;
        if (reinterpret_cast<Window*>(wParam) == this && LoWord(static_cast<std::uintptr_t>(lParam)) == kHtClient)
            SetCursor(m_classCursor);
        return 0;
    case kWmCommand:
        return RouteCommand(LoWord(wParam)) ? 1 : 0;
    case kWmMeasureItem:
    case kWmDrawItem: {
        // A menu item's request goes to its menu's drawer.
        MenuDrawer* drawer = nullptr;
        if (message == kWmMeasureItem) {
            auto* m = reinterpret_cast<MeasureItem*>(lParam);
            drawer = m && m->menu ? m->menu->GetDrawer() : nullptr;
            if (drawer) drawer->MeasureItem(*m);
        } else {
            auto* d = reinterpret_cast<DrawItem*>(lParam);
            drawer = d && d->menu ? d->menu->GetDrawer() : nullptr;
            if (drawer) drawer->DrawItem(*d);
        }
        return drawer ? 1 : 0;
    }
    case kWmInitMenuPopup: {
        Menu* menu = reinterpret_cast<Menu*>(wParam);
        if (!menu) return 0;
        for (int i = 0; i < menu->GetItemCount(); ++i) {
            const Menu::Item* item = menu->GetItem(i);
            if (item->flags & (kMfSeparator | kMfPopup)) continue;
            CommandUi ui(item->id);
            if (!RouteUpdate(ui)) continue;
            if (ui.Enabled()) menu->EnableItem(item->id, *ui.Enabled());
            if (ui.Checked()) menu->CheckItem(item->id, *ui.Checked() != 0);
            if (ui.Text()) menu->SetItemText(item->id, *ui.Text());
        }
        return 0;
    }
    case kWmClose:
        Destroy();
        return 0;
    case kWmMouseWheel:
        return m_parent ? SendMessage(m_parent, message, wParam, lParam) : 0;
    default:
        return 0;
    }
}

std::vector<Window*> GetTopLevelWindows()
{
    return TopLevels();
}

Window* WindowFromPoint(Window& top, Point screen)
{
    if (!top.IsWindowVisible() || !top.GetWindowRect().Contains(screen)) return nullptr;
    if (!top.ClientToScreen(top.GetClientRect()).Contains(screen)) return &top;
    for (Window* child : top.GetChildren())
        if (Window* hit = WindowFromPoint(*child, screen)) {
            // A disabled child takes no mouse input: its parent gets it, as over a gap.
            return hit->IsWindowEnabled() ? hit : &top;
        }
    return &top;
}

PaintDc::PaintDc(Window& window) : m_window(window)
{
    m_region = window.m_update;
    m_paintRect = BoundingBox(m_region);
    const bool erase = window.m_erasePending;
    window.m_update.clear();
    window.m_erasePending = false;
    if (!window.m_surface || m_region.empty()) return;
    const Bitmap& surface = *window.m_surface;
    m_scratch = Bitmap::Create(surface.Width(), surface.Height());
    if (!m_scratch) return;
    CopyPixels(surface, Rect(0, 0, surface.Width(), surface.Height()), *m_scratch, Point());
    Select(m_scratch.get());
    if (erase) SendMessage(&window, kWmEraseBkgnd, reinterpret_cast<WParam>(static_cast<Dc*>(this)));
}

PaintDc::~PaintDc()
{
    Select(static_cast<Bitmap*>(nullptr));
    Bitmap* surface = m_window.m_surface.get();
    if (!m_scratch || !surface || surface->Width() != m_scratch->Width() || surface->Height() != m_scratch->Height())
        return;
    for (const Rect& r : m_region) CopyPixels(*m_scratch, r, *surface, Point(r.left, r.top));
}

void Window::ComposeInto(Bitmap& target, Point origin, const Rect& clip) const
{
    if (!(m_style & kWsVisible)) return;
    const Rect window = GetWindowRect();
    const Rect visible = window.Intersect(clip);
    if (visible.IsEmpty()) return;
    Rect inside = window;
    if (m_style & kWsBorder) {
        FillRing(target, origin, visible, inside, kFrameColor, kFrameColor);
        inside.Inflate(-1, -1);
    }
    if (m_exStyle & kWsExClientEdge) {
        FillRing(target, origin, visible, inside, kEdgeOuterDark, kEdgeOuterLight);
        inside.Inflate(-1, -1);
        FillRing(target, origin, visible, inside, kEdgeInnerDark, kEdgeInnerLight);
        inside.Inflate(-1, -1);
    }
    const Rect client = ClientToScreen(GetClientRect());
    const bool vbar = (m_style & kWsVScroll) != 0;
    const bool hbar = (m_style & kWsHScroll) != 0;
    if (vbar)
        DrawScrollBar(target, origin, visible, Rect(client.right, inside.top, inside.right, client.bottom), true,
                      m_scroll[kSbVert]);
    if (hbar)
        DrawScrollBar(target, origin, visible, Rect(inside.left, client.bottom, client.right, inside.bottom), false,
                      m_scroll[kSbHorz]);
    if (vbar && hbar)
        FillScreenRect(target, origin, visible, Rect(client.right, client.bottom, inside.right, inside.bottom), kBarTrack);
    const Rect shown = client.Intersect(visible);
    if (shown.IsEmpty()) return;
    if (m_surface) {
        Rect source = shown;
        source.Offset(-client.left, -client.top);
        CopyPixels(*m_surface, source, target, Point(shown.left - origin.x, shown.top - origin.y));
    }
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) (*it)->ComposeInto(target, origin, shown);
}

namespace {
void PaintPending(Window& window)
{
    if (!window.IsWindowVisible()) return;
    window.UpdateWindow();
    const std::vector<Window*> children = window.GetChildren();
    for (Window* child : children) PaintPending(*child);
}
} // namespace

std::unique_ptr<Bitmap> RenderWindowTree(Window& top)
{
    if (!top.IsCreated()) return nullptr;
    PaintPending(top);
    const Rect window = top.GetWindowRect();
    std::unique_ptr<Bitmap> bitmap = Bitmap::Create(window.Width(), window.Height());
    if (!bitmap) return nullptr;
    bitmap->Fill(kNewSurface);
    top.ComposeInto(*bitmap, Point(window.left, window.top), window);
    return bitmap;
}

} // namespace plat
