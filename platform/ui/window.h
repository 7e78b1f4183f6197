// A window of the control's window tree, headless first.
//
// Windows form trees: a top-level window and its children, each child placed in its parent's
// client area, ordered top first (the z-order), with a control id (ids may repeat), a style
// (the Windows bits), visibility and a window text. A window's behaviour is its WindowProc,
// which derived windows override, handing what they leave to DefWindowProc. The C++ object
// is not owned by the tree: whoever made a window deletes it; destroying a window (Destroy,
// or deleting it) destroys its children first, gives up the focus and the capture (with
// their messages), gets WM_DESTROY, then kills its timers, drops its queued messages and
// gives up the caret and the clipboard it held. A derived window
// that handles WM_DESTROY calls Destroy in its own destructor.
//
// Every window paints into its own image surface of its client size. Invalidation gathers an
// update region; WM_PAINT (sent by UpdateWindow, or made by the message loop when nothing else
// is queued) paints through a PaintDc clipped to that region. RenderWindowTree composes a
// tree, children over their parents, into one bitmap, which tests probe or save as PNG.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/ui/command.h"
#include "platform/ui/message.h"
#include "platform/ui/scroll_bar.h"

namespace plat {

// Window styles, with their Windows values.
enum WindowStyle : unsigned {
    kWsOverlapped = 0x00000000,
    kWsPopup = 0x80000000,
    kWsChild = 0x40000000,
    kWsVisible = 0x10000000,
    kWsDisabled = 0x08000000,
    kWsClipSiblings = 0x04000000,
    kWsClipChildren = 0x02000000,
    kWsBorder = 0x00800000,   // a one-pixel black frame
    kWsVScroll = 0x00200000,
    kWsHScroll = 0x00100000,
    kWsTabStop = 0x00010000,
};
enum WindowExStyle : unsigned {
    kWsExClientEdge = 0x00000200, // a two-pixel sunken edge
};

// ShowWindow commands.
enum ShowCommand : int {
    kSwHide = 0,
    kSwShowNormal = 1,
    kSwShowNoActivate = 4,
    kSwShow = 5,
    kSwShowNa = 8,
};

// SetWindowPos flags.
enum WindowPosFlag : unsigned {
    kSwpNoSize = 0x0001,
    kSwpNoMove = 0x0002,
    kSwpNoZOrder = 0x0004,
    kSwpNoRedraw = 0x0008,
    kSwpNoActivate = 0x0010,
    kSwpShowWindow = 0x0040,
    kSwpHideWindow = 0x0080,
};

// Cursor ids: the system's (with their Windows values) and the application's resource ids.
enum SystemCursor : int {
    kIdcArrow = 32512,
    kIdcIBeam = 32513,
    kIdcWait = 32514,
    kIdcCross = 32515,
    kIdcSizeNwse = 32642,
    kIdcSizeNesw = 32643,
    kIdcSizeWe = 32644,
    kIdcSizeNs = 32645,
    kIdcSizeAll = 32646,
    kIdcNo = 32648,
    kIdcHand = 32649,
};

class Window : public CommandTarget {
public:
    Window();
    ~Window() override;

    // A device context for measuring on the window's screen; released when destroyed.
    virtual std::unique_ptr<Dc> GetDc() const;

    // ---- creation ----
    // Creates the window as a child of parent (null: a top-level window) at rect, in the
    // parent's client coordinates (the screen's for a top-level window), on top of its
    // siblings. WM_CREATE is sent first (-1 refuses: the window is destroyed again and
    // Create returns false), then WM_SIZE and WM_MOVE. False too when already created.
    bool Create(Window* parent, const Rect& rect, unsigned style, int id = 0, unsigned exStyle = 0);
    // Children first (top of the z-order first), then this window gets WM_DESTROY.
    void Destroy();
    bool IsCreated() const { return m_created; }

    // ---- the tree ----
    Window* GetParent() const { return m_parent; }
    Window* GetTopLevel();
    // The children, top of the z-order first.
    const std::vector<Window*>& GetChildren() const { return m_children; }
    // The child with the id nearest the top of the z-order; null when none has it.
    Window* GetChild(int id) const;
    // True for this window's children, their children and so on.
    bool IsDescendantOf(const Window* ancestor) const;
    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }

    unsigned GetStyle() const { return m_style; }
    unsigned GetExStyle() const { return m_exStyle; }
    // Scroll-bar and frame bits change the client area (WM_SIZE follows when they did);
    // kWsVisible shows or hides the window as ShowWindow does.
    void ModifyStyle(unsigned remove, unsigned add);
    void ModifyExStyle(unsigned remove, unsigned add);
    void SetWindowText(StringView text) { m_text = String(text); }
    const String& GetWindowText() const { return m_text; }

    // ---- geometry ----
    // The window's rectangle in its parent's client coordinates (screen for top level).
    Rect GetRect() const { return m_rect; }
    // The window's rectangle on the screen.
    Rect GetWindowRect() const;
    // The client area: (0, 0, width, height), inside the frame and the scroll bars.
    Rect GetClientRect() const;
    Point ClientToScreen(Point p) const;
    Point ScreenToClient(Point p) const;
    Rect ClientToScreen(const Rect& r) const;
    // Moves and sizes the window (parent's client coordinates); keeps its z-order. A new
    // client size invalidates the whole window and sends WM_SIZE; a new place sends WM_MOVE.
    void MoveWindow(const Rect& rect);
    // Moves, sizes, shows or hides the window and puts it on top of its siblings unless
    // kSwpNoZOrder; the other flags as their names say.
    void SetWindowPos(const Rect& rect, unsigned flags);

    // ---- visibility and input ----
    // Returns whether the window was visible before.
    bool ShowWindow(int command);
    // The window and all its ancestors carry kWsVisible.
    bool IsWindowVisible() const;
    // Sends WM_ENABLE when the state changes.
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const { return (m_style & kWsDisabled) == 0; }
    // The colour WM_ERASEBKGND fills the client area with; none leaves it as it is.
    void SetBackground(std::optional<ColorRef> color) { m_background = color; }
    std::optional<ColorRef> GetBackground() const { return m_background; }
    // The cursor the default WM_SETCURSOR shows over the client area (the arrow at first).
    void SetClassCursor(int cursorId) { m_classCursor = cursorId; }
    int GetClassCursor() const { return m_classCursor; }

    // ---- timers (on the one clock of timer.h) ----
    // The window gets WM_TIMER with the id every periodMs; setting it again restarts it.
    void SetTimer(unsigned id, std::int64_t periodMs);
    bool KillTimer(unsigned id);
    bool IsTimerSet(unsigned id) const;

    // ---- invalidation and painting ----
    // Adds the client rectangle (cut to the client area) to the update region; erase asks
    // for WM_ERASEBKGND before the next paint.
    void InvalidateRect(const Rect& rect, bool erase = true);
    void Invalidate(bool erase = true);
    // Takes the rectangle (null: all) out of the update region.
    void ValidateRect(const Rect* rect = nullptr);
    // The update region as rectangles, and its bounding box (empty when nothing is to paint).
    const std::vector<Rect>& GetUpdateRegion() const { return m_update; }
    Rect GetUpdateRect() const;
    bool NeedsPaint() const { return !m_update.empty(); }
    // Sends WM_PAINT now when the update region is not empty and the window is visible.
    void UpdateWindow();
    // What the window painted so far: its surface, of its client size (null while empty).
    const Bitmap* GetSurface() const { return m_surface.get(); }

    // ---- scroll bars (scroll_bar.h) ----
    // Sets the fields the mask names, clamps the position and returns it.
    int SetScrollInfo(int bar, const ScrollInfo& info, unsigned mask = kSifAll);
    ScrollInfo GetScrollInfo(int bar) const;
    // Returns the previous position.
    int SetScrollPos(int bar, int pos);
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int min, int max);
    // Shows or hides the bar (the kWsHScroll / kWsVScroll style bit).
    void ShowScrollBar(int bar, bool show);

protected:
    // The window's behaviour; what it does not handle goes to DefWindowProc.
    virtual LResult WindowProc(unsigned message, WParam wParam, LParam lParam);
    // Default handling: WM_PAINT paints nothing and validates, WM_ERASEBKGND fills with the
    // background, WM_SETCURSOR asks the parent and then shows the class cursor, WM_COMMAND
    // routes the command (command.h), WM_INITMENUPOPUP runs the update handlers over the
    // menu's items, WM_CLOSE destroys the window, WM_MOUSEWHEEL goes to the parent.
    LResult DefWindowProc(unsigned message, WParam wParam, LParam lParam);
    // Called by the message loop for each message for this window or one of its descendants,
    // innermost window first; true means handled (the message is not dispatched).
    virtual bool PreTranslateMessage(Message& message);

private:
    friend LResult SendMessage(Window* window, unsigned message, WParam wParam, LParam lParam);
    friend bool PreTranslateAlongTree(Message& message);
    friend class PaintDc;
    friend std::unique_ptr<Bitmap> RenderWindowTree(Window& top);

    // The client area's offset inside the window rectangle (the frame's width).
    int FrameWidth() const;
    ScrollInfo* Bar(int bar);
    void SetRectAndNotify(const Rect& rect);
    void ResizeSurface();
    void UnlinkFromParent();
    void ComposeInto(Bitmap& target, Point origin, const Rect& clip) const;

    bool m_created = false;
    Window* m_parent = nullptr;
    std::vector<Window*> m_children;
    int m_id = 0;
    unsigned m_style = 0;
    unsigned m_exStyle = 0;
    String m_text;
    Rect m_rect;
    std::optional<ColorRef> m_background;
    int m_classCursor = kIdcArrow;
    std::vector<Rect> m_update;
    bool m_erasePending = false;
    std::unique_ptr<Bitmap> m_surface;
    ScrollInfo m_scroll[2];
};

// The windows without a parent, oldest first.
std::vector<Window*> GetTopLevelWindows();
// The deepest visible window of the tree under a screen point (a disabled child leaves the
// point to its parent); null outside the top window.
Window* WindowFromPoint(Window& top, Point screen);

// The device context of a WM_PAINT: it draws on the window's surface, clipped to the update
// region. Constructed, it sends WM_ERASEBKGND when an erase was asked for; destroyed, it
// puts what was drawn inside the region on the surface and validates the window.
class PaintDc : public MemoryDc {
public:
    explicit PaintDc(Window& window);
    ~PaintDc() override;
    // The bounding box of the region being painted (client coordinates).
    const Rect& PaintRect() const { return m_paintRect; }
    const std::vector<Rect>& PaintRegion() const { return m_region; }

private:
    Window& m_window;
    std::vector<Rect> m_region;
    Rect m_paintRect;
    std::unique_ptr<Bitmap> m_scratch;
};

// Paints what is pending in the visible windows of the tree, then composes the tree into a
// bitmap of the top window's size: frames and scroll bars, each client surface, children
// over their parents in z-order, cut to their parents' client areas. Null for an empty or
// uncreated window.
std::unique_ptr<Bitmap> RenderWindowTree(Window& top);

} // namespace plat
