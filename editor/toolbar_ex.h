// The frame's toolbars: CToolBarBase, a control bar over the toolbar window that paints its
// borders and gripper and hands notifications to its owner, and CToolBarEx, which lays its
// buttons out itself (wrapping, fitting a length, keeping controls over widened
// separators in place), binds drop-down arrows to popup menus that show the current format,
// and drives its buttons' state from the owner's update handlers.
//
// The bar is the toolbar window itself. Its borders and gripper are painted in the client
// area around the buttons (the window tree has no non-client area of its own to put them
// in), so the buttons start at the inside rectangle's origin.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/command.h"
#include "platform/ui/toolbar.h"

class CFormatState;

// Control-bar style bits (the bar style word).
enum BarStyle : unsigned {
    kCbrsFloating = 0x0001,
    kCbrsSizeFixed = 0x0002,
    kCbrsSizeDynamic = 0x0004,
    kCbrsHideInPlace = 0x0008,
    kCbrsTooltips = 0x0010,
    kCbrsBorder3d = 0x0080,
    kCbrsBorderLeft = 0x0100,
    kCbrsBorderTop = 0x0200,
    kCbrsBorderRight = 0x0400,
    kCbrsBorderBottom = 0x0800,
    kCbrsBorderAny = 0x0F00,
    kCbrsAlignTop = 0x2000,
    kCbrsAlignBottom = 0x8000,
    kCbrsOrientHorz = 0xA000,
    kCbrsGripper = 0x400000,
};
// The bits a bar keeps of the style it is given.
constexpr unsigned kCbrsKeptMask = 0x0040FFFF;

// Layout modes of CalcLayout and CalcDynamicLayout.
enum LayoutMode : unsigned {
    kLmStretch = 0x01,
    kLmHorz = 0x02,
    kLmMruWidth = 0x04,
    kLmHorzDock = 0x08,
    kLmVertDock = 0x10,
    kLmLengthY = 0x20,
    kLmCommit = 0x40,
};

// The button style word: the style byte in bits 0-7, the state byte in bits 16-23 with the
// enabled bit turned into a disabled bit.
enum ButtonStyleWord : unsigned {
    kTbbsButton = 0x00,
    kTbbsSeparator = 0x01,
    kTbbsCheckBox = 0x02,
    kTbbsDropDown = 0x08,
    kTbbsChecked = 0x10000,
    kTbbsPressed = 0x20000,
    kTbbsDisabled = 0x40000,
    kTbbsHidden = 0x80000,
    kTbbsIndeterminate = 0x100000,
    kTbbsWrapped = 0x200000,
};

// The standard toolbar id; a bar with it hides in place.
constexpr int kIdwToolbar = 0xE800;

// The style word of a record and the record fields a style word sets.
unsigned ButtonStyleWordOf(const plat::ToolbarButton& button);
void ApplyButtonStyleWord(plat::ToolbarButton& button, unsigned styleWord);

class CToolBarBase : public plat::ToolBar {
public:
    CToolBarBase();
    ~CToolBarBase() override;

    // Bar style word (kept & kCbrsKeptMask); a change runs OnBarStyleChange.
    unsigned GetBarStyle() const { return m_barStyle; }
    void SetBarStyle(unsigned style);
    bool IsFloating() const { return (m_barStyle & kCbrsFloating) != 0; }
    bool IsHorizontal() const { return (m_barStyle & kCbrsOrientHorz) != 0; }

    // 1: classic one-pixel borders and one groove; 0: etched borders (default).
    void SetBorderStyle(std::uint8_t style) { m_borderStyle = style; }
    std::uint8_t GetBorderStyle() const { return m_borderStyle; }
    // 1: two grooves with end dots; 0: by the border style (default).
    void SetGripperStyle(std::uint8_t style) { m_gripperStyle = style; }
    std::uint8_t GetGripperStyle() const { return m_gripperStyle; }

    // Inner border widths beside the buttons.
    void SetBorders(int left, int top, int right, int bottom);
    plat::Rect GetBorders() const { return plat::Rect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

    // The rectangle shrunk by the borders and the gripper.
    void CalcInsideRect(plat::Rect& rect, bool horizontal) const;
    // The control bar's own fixed layout: 32767 along a stretched side, else 0.
    virtual plat::Size CalcFixedLayout(bool stretch, bool horizontal);

    // Borders and gripper over the rectangle (client coordinates).
    void DrawBorders(plat::Dc& dc, plat::Rect& rect);
    void DrawGripper(plat::Dc& dc, const plat::Rect& rect);

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;
    void PaintBackground(plat::Dc& dc) override;
    virtual void OnBarStyleChange(unsigned oldStyle, unsigned newStyle);
    // The buttons start at the inside rectangle's origin.
    void SyncContentOrigin();

    unsigned m_barStyle = 0;
    int m_cxLeftBorder = 0;
    int m_cyTopBorder = 0;
    int m_cxRightBorder = 0;
    int m_cyBottomBorder = 0;
    int m_mruFloatingWidth = 32767;
    std::uint8_t m_borderStyle = 0;
    std::uint8_t m_gripperStyle = 0;
};

// The command-update state of one toolbar button.
class CToolCmdUI {
public:
    CToolCmdUI(class CToolBarEx& bar, int index) : m_bar(bar), m_index(index) {}
    // Clears the disabled bit; turning off sets it and clears pressed.
    void Enable(bool on = true);
    // Clears checked and indeterminate, sets checked for 1, indeterminate for 2, and makes
    // the button a check box.
    void SetCheck(int check = 1);
    void SetRadio(bool on = true) { SetCheck(on ? 1 : 0); }
    // Toolbar buttons show no text.
    void SetText(plat::StringView) {}
    // Applies what an update handler set.
    void Apply(const plat::CommandUi& ui);

private:
    class CToolBarEx& m_bar;
    int m_index;
};

class CToolBarEx : public CToolBarBase {
public:
    // The owner frame's main document's insertion-format state, for the drop-down menus.
    using FormatStateSource = std::function<CFormatState*()>;

    // One button as the layout sees it: its record and its item rectangle's size.
    struct LayoutItem {
        plat::ToolbarButton button;
        plat::Size size;
    };
    using LayoutItems = std::vector<LayoutItem>;

    CToolBarEx();
    ~CToolBarEx() override;

    // ---- creation and loading ----
    virtual bool Create(plat::Window* parent, unsigned barStyle = plat::kWsChild | plat::kWsVisible | kCbrsAlignTop,
                        int id = kIdwToolbar);
    virtual bool CreateEx(plat::Window* parent, unsigned controlStyle = 0,
                          unsigned barStyle = plat::kWsChild | plat::kWsVisible | kCbrsAlignTop,
                          const plat::Rect& borders = plat::Rect(0, 0, 0, 0), int id = kIdwToolbar);
    // Buttons from the toolbar resource, sizes from its image size, images from the bitmap
    // resource of the same id. False when either is missing or a button is refused.
    bool LoadFromResource(int resourceId);
    // The bitmap resource of the id as the image strip (system colours applied).
    bool SetImageStrip(int resourceId);
    // A strip the bar takes over; the old one is freed once replaced.
    bool ReplaceImageStrip(std::unique_ptr<plat::Bitmap> strip);
    // Push buttons for the ids (0: a separator); with no ids, count blank buttons.
    bool SetButtons(const unsigned* ids, int count);
    void SetSizes(plat::Size button, plat::Size image);
    plat::Size GetButtonSizeSetting() const { return m_buttonSizeSetting; }
    plat::Size GetImageSize() const { return m_imageSize; }

    void SetOwnerFrame(plat::Window* frame, FormatStateSource formatState = {});
    plat::Window* GetOwnerFrame() const { return m_ownerFrame; }

    // ---- buttons ----
    int CommandToIndex(int command) const { return ToolBar::CommandToIndex(command); }
    int GetItemID(int index) const;
    // Runs a pending layout first; an empty rectangle for a missing button.
    virtual void GetItemRect(int index, plat::Rect& rect);
    unsigned GetButtonStyle(int index) const;
    void SetButtonStyle(int index, unsigned styleWord);
    void GetButtonInfo(int index, int& command, unsigned& styleWord, int& image) const;
    void SetButtonInfo(int index, int command, unsigned styleWord, int image);
    // Writes the record back when it differs. Its state byte is read as the style word
    // holds it: 0x04 means disabled.
    void SetButton(int index, const plat::ToolbarButton& button);
    // Binds the button's arrow to a popup menu resource; always 1.
    int SetDropDownMenu(int command, int menuId, bool setArrows);
    int GetDropDownMenu(int command) const;

    // ---- command update ----
    // Every non-separator button's update handler: the bar's own first, then the target's.
    void OnUpdateCmdUI(plat::CommandTarget* target, bool disableIfNoHandler);

    // ---- layout ----
    plat::Size CalcFixedLayout(bool stretch, bool horizontal) override;
    plat::Size CalcDynamicLayout(int length, unsigned mode);
    plat::Size CalcLayout(unsigned mode, int length = -1);
    bool IsLayoutPending() const { return m_delayedLayout; }
    void Layout();

    // The pure layout steps over a bar's items, as the bar runs them.
    using ToolBar::GetButtonSize;
    static plat::Size GetButtonSize(const LayoutItems& items, int index, bool keepDropDownWidth = false);
    static plat::Size MeasureButtons(const LayoutItems& items, bool keepDropDownWidth = false);
    static int WrapButtons(LayoutItems& items, int rowWidth, bool keepDropDownWidth = false);
    static void FitButtons(LayoutItems& items, int length, bool verticalLength, bool keepDropDownWidth = false);
    // The layout of items for a bar with the style and inside-rectangle borders; the
    // remembered floating width is read and, when committing a floating dynamic bar, set.
    struct LayoutInput {
        unsigned barStyle = 0;
        plat::Size borders;        // what the borders and gripper add to each axis
        plat::Size fixed;          // the control bar's fixed layout size
        int* mruFloatingWidth = nullptr;
        bool keepDropDownWidth = false;
    };
    static plat::Size CalcLayout(LayoutItems& items, const LayoutInput& in, unsigned mode, int length);

    // ---- drop-down ----
    // The arrow of a bound button: the first submenu of its menu resource, checked from the
    // format state, at the bottom-left of the button (screen rectangle); the colour buttons
    // send their picker command to the owner frame instead.
    virtual void OnDropDown(int command, const plat::Rect& screenRect);

protected:
    void OnBarStyleChange(unsigned oldStyle, unsigned newStyle) override;
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;
    bool OnReflectedNotify(plat::NotifyHeader& header, plat::LResult& result) override;

private:
    LayoutItems ReadItems() const;
    void MoveControlsWithSeparators();
    unsigned DelayedLayoutMode() const;

    plat::Window* m_ownerFrame = nullptr;
    FormatStateSource m_formatState;
    bool m_keepDropDownWidth = false;
    int m_stripResource = 0; // for reloading the strip
    std::unique_ptr<plat::Bitmap> m_strip;
    bool m_delayedLayout = true;
    plat::Size m_imageSize{16, 15};
    plat::Size m_buttonSizeSetting{23, 22};
    struct DropDownBinding {
        int command;
        int menuId;
    };
    std::vector<DropDownBinding> m_dropDowns; // newest first
    // Where each separator that holds a control was at the last committed layout.
    struct ControlSlot {
        int command;
        plat::Rect rect;
    };
    std::vector<ControlSlot> m_controlSlots;
    int m_buttonCount = 0;
};
