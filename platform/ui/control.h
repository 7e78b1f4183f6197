// The base of the standard controls that dialogs hold: the messages they share, their font,
// their text as WM_SETTEXT sets it, notifications to the parent, owner drawing, and the
// simple look they paint with.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/font.h"
#include "platform/ui/window.h"

namespace plat {

class Menu;

// Messages of dialogs and controls, with their Windows values.
enum ControlMessage : unsigned {
    kWmEnable = 0x000A,      // wParam: enabled (1) or disabled (0); sent when the state changes
    kWmSetText = 0x000C,     // lParam: the new text (const StringView*)
    kWmNextDlgCtl = 0x0028,  // wParam: 0 the next tab stop, 1 the previous
    kWmDrawItem = 0x002B,    // lParam: the item to draw (DrawItem*)
    kWmNotify = 0x004E,      // wParam: the control's id; lParam: NotifyHeader* (or a struct starting with one)
    kWmGetDlgCode = 0x0087,  // wParam: the virtual key asked about; returns DlgCode flags
    kWmInitDialog = 0x0110,
};

// Window style bit: the first control of a group (radio buttons, tab order).
constexpr unsigned kWsGroup = 0x00020000;

// What a control wants of the keys a dialog would otherwise take (WM_GETDLGCODE).
enum DlgCode : unsigned {
    kDlgcWantArrows = 0x0001,
    kDlgcWantTab = 0x0002,
    kDlgcWantAllKeys = 0x0004, // Enter, Esc and Tab too
    kDlgcHasSetSel = 0x0008,   // an edit: selected whole when tabbed to
    kDlgcDefPushButton = 0x0010,
    kDlgcUndefPushButton = 0x0020,
    kDlgcRadioButton = 0x0040,
    kDlgcWantChars = 0x0080,
    kDlgcStatic = 0x0100,
    kDlgcButton = 0x2000,
};

// Owner drawing: what WM_DRAWITEM hands the parent.
enum OwnerDrawState : unsigned {
    kOdsSelected = 0x0001,
    kOdsGrayed = 0x0002,
    kOdsDisabled = 0x0004,
    kOdsChecked = 0x0008,
    kOdsFocus = 0x0010,
    kOdsDefault = 0x0020,
};
struct DrawItem {
    int ctlId = 0;
    int itemId = -1;          // the row of a list or combo box; -1 for a button or no row
    unsigned state = 0;       // OwnerDrawState flags
    Window* item = nullptr;   // the control
    Dc* dc = nullptr;         // draw here, inside rect
    Rect rect;
    std::uintptr_t itemData = 0;
    Menu* menu = nullptr;     // a menu item's menu (itemId is then its command id)
};

// The head of every WM_NOTIFY.
struct NotifyHeader {
    Window* from = nullptr;
    int idFrom = 0;
    int code = 0;
};
// Notification codes of WM_NOTIFY common to controls.
enum CommonNotify : int {
    kNmClick = -2,
    kNmDblClk = -3,
};

// The colours of our own look.
namespace look {
constexpr ColorRef kFace = Rgb(240, 240, 240);
constexpr ColorRef kFacePushed = Rgb(204, 204, 204);
constexpr ColorRef kBorder = Rgb(122, 122, 122);
constexpr ColorRef kText = Rgb(0, 0, 0);
constexpr ColorRef kGrayText = Rgb(160, 160, 160);
constexpr ColorRef kWindow = Rgb(255, 255, 255);
constexpr ColorRef kHighlight = Rgb(0, 120, 215);
constexpr ColorRef kHighlightText = Rgb(255, 255, 255);
constexpr ColorRef kInactiveHighlight = Rgb(205, 205, 205);
constexpr ColorRef kGrid = Rgb(208, 208, 208);
constexpr ColorRef kInfoBk = Rgb(255, 255, 225); // tooltips
} // namespace look

class Control : public Window {
public:
    Control();
    ~Control() override;

    // The font the control draws with (not owned); null: the GUI font.
    void SetFont(const Font* font);
    const Font* GetFont() const;
    // Sets the text as WM_SETTEXT does (an edit then notifies EN_CHANGE).
    void SetText(StringView text);
    // The notification WM_COMMAND (id, code) to the parent, naming this control.
    void NotifyParent(unsigned code);
    // Between WM_SETFOCUS and WM_KILLFOCUS (each repaints the control).
    bool IsFocused() const { return m_focused; }

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    // WM_PAINT, with the control's font selected and the text colour set for its state.
    virtual void Paint(Dc& dc) = 0;
    // After WM_SETTEXT stored the text.
    virtual void OnTextSet() {}
    // WM_GETDLGCODE's answer.
    virtual unsigned DlgCode(int /*virtualKey*/) const { return 0; }
    // WM_NOTIFY to the parent; returns its answer.
    LResult NotifyParentEx(NotifyHeader& header);
    // WM_DRAWITEM to the owner (the parent): true when it was sent.
    bool OwnerDraw(Dc& dc, const Rect& rect, int itemId, unsigned state, std::uintptr_t data, Window* owner = nullptr,
                   int ctlId = 0);

private:
    const Font* m_font = nullptr;
    bool m_focused = false;
};

// The first visible row after a wheel turn (three rows a notch) over count rows.
int WheelScrolledTop(int top, WParam wheelParam, int count);

// Drawing helpers of the simple look.
void DrawFrame(Dc& dc, const Rect& rect, ColorRef color);
void FillSolid(Dc& dc, const Rect& rect, ColorRef color);
// Text with the current font, transparent, placed in the rectangle: align 0 left, 1 centre,
// 2 right; centred vertically. Text wider than the rectangle is cut at a whole character.
void DrawTextIn(Dc& dc, const Rect& rect, StringView text, int align = 0, int indent = 0);
// The longest leading part of the text that fits in width pixels.
size_t FitText(const Dc& dc, StringView text, int width);
// A dotted focus rectangle.
void DrawFocusRect(Dc& dc, const Rect& rect);

} // namespace plat
