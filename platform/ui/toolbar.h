// The toolbar window: a row (or rows) of image buttons and separators, as the common
// controls' toolbar offers it to the control bars above it.
//
// Each button is a record with the Windows field values (ToolbarButton). Buttons are laid
// left to right from the content origin; a button whose state carries the wrap bit ends its
// row, and a wrapped separator also leaves a gap of its own width below the row. The
// images come from one strip of equal-sized images. Clicking a button sends WM_COMMAND to
// the owner (the parent unless SetOwner names another window); pressing the arrow area of a
// drop-down button sends it WM_NOTIFY with kTbnDropDown instead. Tooltips ask the owner for
// their text with kTtnNeedText.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"

namespace plat {

class ToolTip;

// Button state bits.
enum ToolbarState : std::uint8_t {
    kTbstateChecked = 0x01,
    kTbstatePressed = 0x02,
    kTbstateEnabled = 0x04,
    kTbstateHidden = 0x08,
    kTbstateIndeterminate = 0x10,
    kTbstateWrap = 0x20,
};

// Button style bits.
enum ToolbarButtonStyle : std::uint8_t {
    kTbstyleButton = 0x00,
    kTbstyleSep = 0x01,
    kTbstyleCheck = 0x02,
    kTbstyleDropDown = 0x08,
};

// Window style bits of the toolbar window (with the common-control bits it honours).
enum ToolbarWindowStyle : unsigned {
    kCcsNoResize = 0x0004,
    kCcsNoParentAlign = 0x0008,
    kCcsAdjustable = 0x0020,
    kCcsNoDivider = 0x0040,
    kCcsNoMoveY = 0x0002,
    kTbstyleTooltips = 0x0100,
    kTbstyleFlat = 0x0800,
    kTbstyleTransparent = 0x8000,
};

// Extended style: drop-down buttons get a separate arrow area.
constexpr unsigned kTbstyleExDrawDdArrows = 0x00000001;

// Notification codes (WM_NOTIFY) with their Windows values.
enum ToolbarNotify : int {
    kTbnBeginDrag = -701,
    kTbnEndDrag = -702,
    kTbnBeginAdjust = -703,
    kTbnEndAdjust = -704,
    kTbnReset = -705,
    kTbnQueryInsert = -706,
    kTbnQueryDelete = -707,
    kTbnToolbarChange = -708,
    kTbnCustHelp = -709,
    kTbnDropDown = -710,
    kTbnGetButtonInfo = -720,
    kTtnNeedText = -530,
};

// The button record. For a separator `bitmap` is its width in pixels.
struct ToolbarButton {
    std::int32_t bitmap = 0;
    std::int32_t command = 0;
    std::uint8_t state = 0;
    std::uint8_t style = 0;
    std::uint8_t reserved[2] = {0, 0};
    std::uintptr_t data = 0;
    std::intptr_t string = -1;

    bool IsSeparator() const { return (style & kTbstyleSep) != 0; }
    bool IsHidden() const { return (state & kTbstateHidden) != 0; }
    bool operator==(const ToolbarButton&) const = default;
};

// What kTbnDropDown and the customisation notifications carry.
struct ToolbarNotification {
    NotifyHeader header;
    int item = 0;          // the command id (kTbnDropDown) or the button index
    ToolbarButton button;
    String text;
};

// kTtnNeedText: header.idFrom is the command id of the button; the owner fills text.
struct ToolTipTextRequest {
    NotifyHeader header;
    String text;
};

// One-pixel edges in the system colours: raised (highlight at top and left, shadow at
// bottom and right) or sunken.
void DrawButtonEdge(Dc& dc, const Rect& rect, bool sunken);

class ToolBar : public Control {
public:
    // What this window implies where the bars above it would probe the common controls:
    // its version (5.80: wrapped separators report their width as their height) and the
    // width of a drop-down arrow glyph.
    static constexpr int kCommonControlsVersion = 0x50050;
    static constexpr int kDropDownArrowWidth = 5;
    // The arrow area of a drop-down button with kTbstyleExDrawDdArrows.
    static constexpr int kDropDownAreaWidth = kDropDownArrowWidth + 6;

    ToolBar();
    ~ToolBar() override;

    // Where WM_COMMAND and WM_NOTIFY go (null: the parent).
    void SetOwner(Window* owner) { m_owner = owner; }
    Window* GetOwner() const { return m_owner ? m_owner : GetParent(); }

    // ---- buttons ----
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    bool AddButton(const ToolbarButton& button) { return InsertButton(GetButtonCount(), button); }
    // Before the button at index (at the end for index = count); false out of range.
    bool InsertButton(int index, const ToolbarButton& button);
    bool DeleteButton(int index);
    void DeleteAllButtons();
    // The record at index; false out of range.
    bool GetButton(int index, ToolbarButton& out) const;
    // The index of the first button with the command id; -1 when none has it.
    int CommandToIndex(int command) const;
    // Writes the record at index; only the button is repainted unless its size, place or
    // kind changed. False out of range.
    bool ReplaceButton(int index, const ToolbarButton& button);
    bool SetState(int command, std::uint8_t state);
    std::uint8_t GetState(int command) const;

    // ---- geometry ----
    bool SetButtonSize(Size size);
    Size GetButtonSize() const { return m_buttonSize; }
    bool SetBitmapSize(Size size);
    Size GetBitmapSize() const { return m_bitmapSize; }
    // Where the first button sits in the client area.
    void SetContentOrigin(Point origin);
    Point GetContentOrigin() const { return m_origin; }
    // The button's rectangle (client coordinates); false for an index out of range or a
    // hidden button (the rectangle is then empty).
    bool GetItemRect(int index, Rect& out) const;
    // The index of the button under a client point; -1 when none.
    int HitTest(Point client) const;

    // ---- images ----
    // The first strip: count images of the bitmap size, copied. False when a strip is set.
    bool AddBitmap(const Bitmap& strip, int count);
    // Replaces the strip with another of the same count (its images copied).
    bool ReplaceBitmap(const Bitmap& strip);
    int GetImageCount() const { return m_imageCount; }
    // Puts a picture of the bitmap size in place of the strip's image at index (pixels of
    // the face colour show the button's face, as in the strip). False out of range, without
    // a strip or for a picture of another size. The caller repaints the buttons showing it.
    bool ReplaceImage(int index, const Bitmap& image);
    // A copy of the image at index; null out of range or without a strip.
    std::unique_ptr<Bitmap> CopyImage(int index) const;

    unsigned GetExtendedStyle() const { return m_exStyle; }
    void SetExtendedStyle(unsigned exStyle);

    // The tooltip that shows the buttons' texts (not owned: it outlives the bar, or is set
    // back to null first); null: none.
    void SetToolTips(ToolTip* tips) { m_tips = tips; }
    ToolTip* GetToolTips() const { return m_tips; }

    // The button under the mouse, drawn raised in the flat style; -1 when none.
    int GetHotItem() const { return m_hot; }

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;
    // Before the buttons are drawn: the background of the client area.
    virtual void PaintBackground(Dc& dc);
    // A notification from the window to its owner; the window class may answer it itself
    // first (as a reflected notification): true then, with the answer in result.
    virtual bool OnReflectedNotify(NotifyHeader& /*header*/, LResult& /*result*/) { return false; }
    // Sends the notification (code, idFrom) to the owner unless reflected; the answer.
    LResult Notify(NotifyHeader& header);

private:
    int ButtonWidth(const ToolbarButton& b) const;
    void RecalcRects() const;
    void DrawButton(Dc& dc, int index);
    void DrawImage(Dc& dc, int image, Point at, bool disabled);
    void DrawDropArrow(Dc& dc, const Rect& area, bool enabled);
    bool InArrowArea(int index, Point client) const;
    void SetHot(int index);
    void UpdateToolTip(int index);
    void OnLButtonDown(Point client);
    void OnLButtonUp(Point client);

    std::vector<ToolbarButton> m_buttons;
    mutable std::vector<Rect> m_rects;
    mutable bool m_rectsValid = false;
    Size m_buttonSize{23, 22};
    Size m_bitmapSize{16, 15};
    Point m_origin;
    std::unique_ptr<Bitmap> m_strip;
    int m_imageCount = 0;
    unsigned m_exStyle = 0;
    Window* m_owner = nullptr;
    ToolTip* m_tips = nullptr;
    int m_hot = -1;
    int m_pressed = -1;   // the button held down by the left button; -1 when none
    int m_tipButton = -1; // the button the tooltip's tool stands for
};

} // namespace plat
