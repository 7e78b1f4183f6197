#include "editor/toolbar_ex.h"

#include <algorithm>

#include "document/format_state.h"
#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"
#include "resources/res_bitmaps.h"
#include "resources/res_menus.h"
#include "resources/res_toolbars.h"

namespace {

// Where the bars would probe the common controls' version, ours is fixed by the toolbar
// window: newer than 4.71, so wrapped separators report their width as their height and
// flat separators are 6 pixels wide.
static_assert(plat::ToolBar::kCommonControlsVersion > 0x40047);
constexpr int kFlatSeparatorWidth = 6;
// The widest and narrowest rows a fit tries.
constexpr int kWidestRow = 32767;
// Window style bits every bar's toolbar window gets: no parent alignment, no vertical move,
// no divider, no resizing by the window itself.
constexpr unsigned kBarWindowStyle =
    plat::kCcsNoParentAlign | plat::kCcsNoMoveY | plat::kCcsNoDivider | plat::kCcsNoResize;
// What the bar's window always is: flat and transparent.
constexpr unsigned kFlatTransparent = plat::kTbstyleFlat | plat::kTbstyleTransparent;
// The width the borders take on a bordered side.
constexpr int kBorderWidth = 2;

// The picker commands the colour buttons' arrows send, by their bound menu.
struct ColourArrow {
    int menuId;
    unsigned command;
};
constexpr ColourArrow kColourArrows[] = {
    {kIdrMenuLineColour, 33275},
    {kIdrMenuFillColour, 33277},
    {kIdrMenuCharColour, 35072},
};

// The item a drop-down menu checks for the format state; 0 for none.
unsigned CheckedItemOf(int menuId, const CFormatState& state)
{
    switch (menuId) {
    case kIdrMenuAlign:
        switch (state.m_paraFormat.m_align) {
        case 4: return 35081;
        case 1: return 35082;
        case 3: return 35083;
        case 2: return 35084;
        default: return 0;
        }
    case kIdrMenuLineSpacing: {
        const int code = state.m_paraFormat.m_spacing;
        return code >= 1 && code <= 5 ? 35085u + static_cast<unsigned>(code) : 0;
    }
    case kIdrMenuCellAlign:
        switch (state.m_verticalAlign) {
        case kAlignTop: return 37811;
        case kAlignMiddle: return 37812;
        case kAlignBottom: return 37813;
        default: return 0;
        }
    case kIdrMenuUnderline: {
        const int kind = state.m_charFormat.m_underline;
        return kind >= 1 && kind <= 3 ? 35067u + static_cast<unsigned>(kind) : 0;
    }
    default: return 0;
    }
}

bool IsPlainSeparator(const plat::ToolbarButton& b) { return b.IsSeparator() && b.command == 0 && !b.IsHidden(); }
bool HoldsControl(const plat::ToolbarButton& b) { return b.IsSeparator() && b.command != 0; }

// A 3-D rectangle: highlight at top and left, shadow at bottom and right.
void Draw3dRect(plat::Dc& dc, const plat::Rect& r)
{
    const plat::Brush light = plat::Brush::Solid(plat::GetSysColor(plat::kColorBtnHighlight));
    const plat::Brush dark = plat::Brush::Solid(plat::GetSysColor(plat::kColorBtnShadow));
    dc.FillRect(plat::Rect(r.left, r.top, r.right - 1, r.top + 1), light);
    dc.FillRect(plat::Rect(r.left, r.top, r.left + 1, r.bottom - 1), light);
    dc.FillRect(plat::Rect(r.right - 1, r.top, r.right, r.bottom), dark);
    dc.FillRect(plat::Rect(r.left, r.bottom - 1, r.right, r.bottom), dark);
}

} // namespace

unsigned ButtonStyleWordOf(const plat::ToolbarButton& button)
{
    return button.style | (static_cast<unsigned>(button.state ^ plat::kTbstateEnabled) << 16);
}

void ApplyButtonStyleWord(plat::ToolbarButton& button, unsigned styleWord)
{
    button.style = static_cast<std::uint8_t>(styleWord & 0xFF);
    button.state = static_cast<std::uint8_t>(((styleWord >> 16) & 0xFF) ^ plat::kTbstateEnabled);
}

// ---- CToolBarBase ----

CToolBarBase::CToolBarBase() = default;

CToolBarBase::~CToolBarBase() = default;

void CToolBarBase::SetBarStyle(unsigned style)
{
    const unsigned old = m_barStyle;
    m_barStyle = style & kCbrsKeptMask;
    OnBarStyleChange(old, m_barStyle);
}

void CToolBarBase::SetBorders(int left, int top, int right, int bottom)
{
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
    SyncContentOrigin();
}

void CToolBarBase::SyncContentOrigin()
{
    plat::Rect inside;
    CalcInsideRect(inside, IsHorizontal());
    SetContentOrigin(plat::Point(inside.left, inside.top));
}

void CToolBarBase::CalcInsideRect(plat::Rect& rect, bool horizontal) const
{
    const unsigned s = m_barStyle;
    if (s & kCbrsBorderLeft) rect.left += kBorderWidth;
    if (s & kCbrsBorderTop) rect.top += kBorderWidth;
    if (s & kCbrsBorderRight) rect.right -= kBorderWidth;
    if (s & kCbrsBorderBottom) rect.bottom -= kBorderWidth;
    // The gripper sits on the leading side: 7 pixels for one groove, more for two.
    int gripper = 0;
    if ((s & kCbrsGripper) && !IsFloating()) gripper = m_gripperStyle == 1 ? 10 : (m_borderStyle == 0 ? 9 : 7);
    if (horizontal) {
        rect.left += m_cxLeftBorder + gripper;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder + gripper;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

plat::Size CToolBarBase::CalcFixedLayout(bool stretch, bool horizontal)
{
    return plat::Size(stretch && horizontal ? kWidestRow : 0, stretch && !horizontal ? kWidestRow : 0);
}

void CToolBarBase::DrawBorders(plat::Dc& dc, plat::Rect& rect)
{
    const unsigned s = m_barStyle;
    const plat::Brush dark = plat::Brush::Solid(plat::GetSysColor(plat::kColorBtnShadow));
    const plat::Brush light = plat::Brush::Solid(plat::GetSysColor(plat::kColorBtnHighlight));
    const auto column = [&](int x, int top, int bottom, const plat::Brush& b) { dc.FillRect(plat::Rect(x, top, x + 1, bottom), b); };
    const auto row = [&](int y, const plat::Brush& b) { dc.FillRect(plat::Rect(rect.left, y, rect.right, y + 1), b); };
    if (m_borderStyle == 1) {
        // Classic: one dark line on each bordered side, a light one inside it with the 3-D bit.
        const bool threeD = (s & kCbrsBorder3d) != 0;
        const int top = rect.top + ((s & kCbrsBorderTop) ? kBorderWidth : 0);
        const int bottom = rect.bottom - ((s & kCbrsBorderBottom) ? kBorderWidth : 0);
        const int lastColumn = rect.right - (threeD ? 2 : 1);
        const int lastRow = rect.bottom - (threeD ? 2 : 1);
        if (s & kCbrsBorderLeft) column(rect.left, top, bottom, dark);
        if (s & kCbrsBorderRight) column(lastColumn, top, bottom, dark);
        if (s & kCbrsBorderTop) row(rect.top, dark);
        if (s & kCbrsBorderBottom) row(lastRow, dark);
        if (threeD) {
            if (s & kCbrsBorderLeft) column(rect.left + 1, top, bottom, light);
            if (s & kCbrsBorderRight) column(rect.right - 1, top, bottom, light);
            if (s & kCbrsBorderTop) row(rect.top + 1, light);
            if (s & kCbrsBorderBottom) row(rect.bottom - 1, light);
        }
        if (s & kCbrsBorderLeft) rect.left += kBorderWidth;
        if (s & kCbrsBorderTop) rect.top += kBorderWidth;
        if (s & kCbrsBorderRight) rect.right -= kBorderWidth;
        if (s & kCbrsBorderBottom) rect.bottom -= kBorderWidth;
        return;
    }
    // Etched: a dark line and a light one beside it.
    if (s & kCbrsBorderRight) {
        column(rect.right - 2, rect.top, rect.bottom - 1, dark);
        column(rect.right - 1, rect.top, rect.bottom - 1, light);
        rect.right -= 2;
    }
    if (s & kCbrsBorderBottom) {
        row(rect.bottom - 2, dark);
        row(rect.bottom - 1, light);
        rect.bottom -= 2;
    }
    if (s & kCbrsBorderTop) {
        row(rect.top, dark);
        row(rect.top + 1, light);
        row(rect.top + 2, light);
        rect.top += 2;
    }
    if (s & kCbrsBorderLeft) {
        column(rect.left, rect.top, rect.bottom, light);
        rect.left += 1;
    }
}

void CToolBarBase::DrawGripper(plat::Dc& dc, const plat::Rect& rect)
{
    if (!(m_barStyle & kCbrsGripper) || IsFloating()) return;
    const bool horizontal = IsHorizontal();
    // A groove `offset` pixels in from the leading edge, spanning the depth from `from` to `to`
    // pixels in from its two ends.
    const auto groove = [&](int offset, int from, int to) {
        if (horizontal) Draw3dRect(dc, plat::Rect(rect.left + offset, rect.top + from, rect.left + offset + 3, rect.bottom - to));
        else Draw3dRect(dc, plat::Rect(rect.left + from, rect.top + offset, rect.right - to, rect.top + offset + 3));
    };
    const auto dot = [&](int offset) {
        if (horizontal) dc.SetPixel(rect.left + offset, rect.bottom - 3, plat::GetSysColor(plat::kColorBtnHighlight));
        else dc.SetPixel(rect.right - 3, rect.top + offset, plat::GetSysColor(plat::kColorBtnHighlight));
    };
    if (m_gripperStyle == 1) {
        for (int offset : {3, 6}) {
            groove(offset, 2, 2);
            dot(offset);
        }
    } else if (m_borderStyle == 1) {
        groove(2, horizontal ? m_cyTopBorder : m_cxLeftBorder, horizontal ? m_cyBottomBorder : m_cxRightBorder);
    } else {
        groove(1, 2, 2);
        groove(5, 2, 2);
    }
}

void CToolBarBase::PaintBackground(plat::Dc& dc)
{
    ToolBar::PaintBackground(dc);
    plat::Rect rect = GetClientRect();
    DrawBorders(dc, rect);
    DrawGripper(dc, rect);
}

void CToolBarBase::OnBarStyleChange(unsigned oldStyle, unsigned newStyle)
{
    if (((oldStyle ^ newStyle) & (kCbrsBorderAny | kCbrsGripper | kCbrsOrientHorz | kCbrsFloating)) != 0) {
        SyncContentOrigin();
        if (IsCreated()) Invalidate();
    }
}

plat::LResult CToolBarBase::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmCommand:
        // The controls over the bar report to the bar's owner unless the bar takes the command.
        if (HandleOwnCommand(plat::LoWord(wParam))) return 0;
        [[fallthrough]];
    case plat::kWmNotify:
    case plat::kWmDrawItem:
        if (plat::Window* owner = GetOwner()) return plat::SendMessage(owner, message, wParam, lParam);
        return 0;
    default:
        return ToolBar::WindowProc(message, wParam, lParam);
    }
}

// ---- CToolCmdUI ----

void CToolCmdUI::Enable(bool on)
{
    unsigned style = m_bar.GetButtonStyle(m_index) & ~kTbbsDisabled;
    if (!on) style = (style | kTbbsDisabled) & ~kTbbsPressed;
    m_bar.SetButtonStyle(m_index, style);
}

void CToolCmdUI::SetCheck(int check)
{
    unsigned style = m_bar.GetButtonStyle(m_index) & ~(kTbbsChecked | kTbbsIndeterminate);
    if (check == 1) style |= kTbbsChecked;
    else if (check == 2) style |= kTbbsIndeterminate;
    m_bar.SetButtonStyle(m_index, style | kTbbsCheckBox);
}

void CToolCmdUI::Apply(const plat::CommandUi& ui)
{
    if (ui.Enabled()) Enable(*ui.Enabled());
    if (ui.Checked()) SetCheck(*ui.Checked());
}

// ---- CToolBarEx: creation ----

CToolBarEx::CToolBarEx()
{
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
    m_gripperStyle = 0;
}

CToolBarEx::~CToolBarEx()
{
    Destroy();
    m_buttonCount = 0;
}

bool CToolBarEx::Create(plat::Window* parent, unsigned barStyle, int id)
{
    return CreateEx(parent, 0, barStyle, plat::Rect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

bool CToolBarEx::CreateEx(plat::Window* parent, unsigned controlStyle, unsigned barStyle, const plat::Rect& borders, int id)
{
    if (controlStyle != 0) m_gripperStyle = 1;
    m_barStyle = barStyle & kCbrsKeptMask;
    if (id == kIdwToolbar) m_barStyle |= kCbrsHideInPlace;
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    const unsigned style = (barStyle & ~kCbrsKeptMask) | kBarWindowStyle | controlStyle | kFlatTransparent;
    if (!ToolBar::Create(parent, plat::Rect(), style, id)) return false;
    SetSizes(m_buttonSizeSetting, m_imageSize);
    return true;
}

bool CToolBarEx::LoadFromResource(int resourceId)
{
    const ToolbarResource* resource = FindToolbarResource(resourceId);
    if (!resource) return false;
    std::vector<unsigned> ids(resource->commands.begin(), resource->commands.end());
    if (!SetButtons(ids.data(), static_cast<int>(ids.size()))) return false;
    // Each button is its image plus a 3-pixel frame on one side and 4 on the other.
    const plat::Size image(resource->imageWidth, resource->imageHeight);
    SetSizes(plat::Size(image.cx + 7, image.cy + 7), image);
    return SetImageStrip(resourceId);
}

bool CToolBarEx::SetImageStrip(int resourceId)
{
    std::unique_ptr<plat::Bitmap> strip = LoadSysColorBitmap(resourceId, false);
    if (!strip || !ReplaceImageStrip(std::move(strip))) return false;
    m_stripResource = resourceId;
    return true;
}

bool CToolBarEx::ReplaceImageStrip(std::unique_ptr<plat::Bitmap> strip)
{
    if (!strip || m_imageSize.cx <= 0) return false;
    const bool done = m_strip ? ReplaceBitmap(*strip) : AddBitmap(*strip, strip->Width() / m_imageSize.cx);
    if (!done) return false;
    m_strip = std::move(strip);
    return true;
}

bool CToolBarEx::SetButtons(const unsigned* ids, int count)
{
    DeleteAllButtons();
    int image = 0;
    for (int i = 0; i < count; ++i) {
        plat::ToolbarButton b;
        b.state = plat::kTbstateEnabled;
        b.string = -1;
        if (ids && ids[i] == 0) {
            // Flat bars (ours always are) keep their separators narrow.
            b.style = plat::kTbstyleSep;
            b.bitmap = kFlatSeparatorWidth;
        } else if (ids) {
            b.command = static_cast<std::int32_t>(ids[i]);
            b.bitmap = image++;
        } else {
            b.bitmap = -1; // blank: no image until the caller gives one
        }
        if (!AddButton(b)) return false;
    }
    m_buttonCount = count;
    m_delayedLayout = true;
    return true;
}

void CToolBarEx::SetSizes(plat::Size button, plat::Size image)
{
    if (!IsCreated()) {
        m_buttonSizeSetting = button;
        m_imageSize = image;
        return;
    }
    if (SetBitmapSize(image)) m_imageSize = image;
    if (SetButtonSize(button)) m_buttonSizeSetting = button;
    Invalidate();
}

void CToolBarEx::SetOwnerFrame(plat::Window* frame, FormatStateSource formatState)
{
    m_ownerFrame = frame;
    m_formatState = std::move(formatState);
    SetOwner(frame);
}

// ---- CToolBarEx: buttons ----

int CToolBarEx::GetItemID(int index) const
{
    plat::ToolbarButton b;
    return GetButton(index, b) ? b.command : 0;
}

void CToolBarEx::GetItemRect(int index, plat::Rect& rect)
{
    if (m_delayedLayout) Layout();
    ToolBar::GetItemRect(index, rect);
}

unsigned CToolBarEx::GetButtonStyle(int index) const
{
    plat::ToolbarButton b;
    return GetButton(index, b) ? ButtonStyleWordOf(b) : 0;
}

void CToolBarEx::SetButtonStyle(int index, unsigned styleWord)
{
    plat::ToolbarButton b;
    if (!GetButton(index, b)) return;
    const unsigned old = ButtonStyleWordOf(b);
    if ((old & 0xFF00FF) == (styleWord & 0xFF00FF)) return;
    ApplyButtonStyleWord(b, styleWord);
    b.state ^= plat::kTbstateEnabled; // SetButton reads the style word's disabled bit
    SetButton(index, b);
    m_delayedLayout = true;
}

void CToolBarEx::GetButtonInfo(int index, int& command, unsigned& styleWord, int& image) const
{
    plat::ToolbarButton b;
    if (!GetButton(index, b)) {
        command = 0;
        styleWord = 0;
        image = 0;
        return;
    }
    command = b.command;
    styleWord = ButtonStyleWordOf(b);
    image = b.bitmap;
}

void CToolBarEx::SetButtonInfo(int index, int command, unsigned styleWord, int image)
{
    plat::ToolbarButton b;
    if (!GetButton(index, b)) return;
    plat::ToolbarButton next = b;
    next.command = command;
    next.bitmap = image;
    ApplyButtonStyleWord(next, styleWord);
    if (next == b) return;
    next.state ^= plat::kTbstateEnabled;
    SetButton(index, next);
    m_delayedLayout = true;
}

void CToolBarEx::SetButton(int index, const plat::ToolbarButton& button)
{
    plat::ToolbarButton next = button;
    next.state ^= plat::kTbstateEnabled;
    next.reserved[0] = next.reserved[1] = 0;
    plat::ToolbarButton current;
    if (!GetButton(index, current)) return;
    current.reserved[0] = current.reserved[1] = 0;
    // The window repaints the button alone, or the whole bar when a separator changed.
    if (next != current) ReplaceButton(index, next);
}

int CToolBarEx::SetDropDownMenu(int command, int menuId, bool setArrows)
{
    auto it = std::find_if(m_dropDowns.begin(), m_dropDowns.end(), [&](const DropDownBinding& d) { return d.command == command; });
    if (it != m_dropDowns.end()) it->menuId = menuId;
    else m_dropDowns.insert(m_dropDowns.begin(), DropDownBinding{command, menuId});
    const int index = CommandToIndex(command);
    if (index >= 0) SetButtonStyle(index, GetButtonStyle(index) | kTbbsDropDown);
    if (setArrows) SetExtendedStyle(plat::kTbstyleExDrawDdArrows);
    return 1;
}

int CToolBarEx::GetDropDownMenu(int command) const
{
    for (const DropDownBinding& d : m_dropDowns)
        if (d.command == command) return d.menuId;
    return 0;
}

// ---- CToolBarEx: command update ----

void CToolBarEx::OnUpdateCmdUI(plat::CommandTarget* target, bool disableIfNoHandler)
{
    for (int i = 0; i < GetButtonCount(); ++i) {
        plat::ToolbarButton b;
        if (!GetButton(i, b) || b.IsSeparator()) continue;
        const unsigned id = static_cast<unsigned>(b.command);
        plat::CommandUi ui(id);
        CToolCmdUI cmd(*this, i);
        if (HandleOwnUpdate(ui) || (target && target->RouteUpdate(ui))) cmd.Apply(ui);
        else if (disableIfNoHandler) cmd.Enable(CanRouteCommand(id) || (target && target->CanRouteCommand(id)));
    }
}

// ---- CToolBarEx: layout ----

plat::Size CToolBarEx::GetButtonSize(const LayoutItems& items, int index, bool keepDropDownWidth)
{
    const LayoutItem& item = items[static_cast<size_t>(index)];
    const plat::ToolbarButton& b = item.button;
    if (b.state & plat::kTbstateWrap) {
        // Our toolbar window reports a wrapped separator's height as its width, as the
        // newer common controls do.
        if (b.IsSeparator()) return plat::Size(0, item.size.cx);
        if ((b.style & plat::kTbstyleDropDown) && !keepDropDownWidth) return plat::Size(0, item.size.cy);
    }
    return item.size;
}

plat::Size CToolBarEx::MeasureButtons(const LayoutItems& items, bool keepDropDownWidth)
{
    plat::Size result;
    int rowWidth = 0, rowHeight = 0, rowTop = 0;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const plat::ToolbarButton& b = items[static_cast<size_t>(i)].button;
        if (b.IsHidden()) continue;
        const plat::Size size = GetButtonSize(items, i, keepDropDownWidth);
        rowWidth += size.cx;
        rowHeight = std::max(rowHeight, size.cy);
        result.cx = std::max(result.cx, rowWidth);
        result.cy = std::max(result.cy, rowTop + size.cy);
        if (b.state & plat::kTbstateWrap) {
            rowTop += rowHeight + (b.IsSeparator() ? size.cy : 0);
            rowWidth = rowHeight = 0;
        }
    }
    return result;
}

int CToolBarEx::WrapButtons(LayoutItems& items, int rowWidth, bool keepDropDownWidth)
{
    const int count = static_cast<int>(items.size());
    const auto at = [&](int i) -> plat::ToolbarButton& { return items[static_cast<size_t>(i)].button; };
    int wraps = 0, width = 0, lastWrap = -1;
    for (int i = 0; i < count; ++i) {
        at(i).state &= static_cast<std::uint8_t>(~plat::kTbstateWrap);
        if (at(i).IsHidden()) continue;
        width += GetButtonSize(items, i, keepDropDownWidth).cx;
        if (width <= rowWidth) continue;
        // Overflow: the row ends at its last plain separator, else before this button,
        // never at a separator that holds a control.
        int wrapAt = -1;
        for (int j = i; j > lastWrap && wrapAt < 0; --j)
            if (IsPlainSeparator(at(j))) wrapAt = j;
        for (int j = i - 1; j > lastWrap && wrapAt < 0; --j)
            if (!at(j).IsHidden() && !HoldsControl(at(j))) wrapAt = j;
        if (wrapAt < 0) continue; // nothing to break at: the row overflows
        at(wrapAt).state |= plat::kTbstateWrap;
        ++wraps;
        width = 0;
        lastWrap = wrapAt;
        i = wrapAt;
    }
    return wraps + 1;
}

void CToolBarEx::FitButtons(LayoutItems& items, int length, bool verticalLength, bool keepDropDownWidth)
{
    const auto wrap = [&](int width) { return WrapButtons(items, width, keepDropDownWidth); };
    const auto measure = [&] { return MeasureButtons(items, keepDropDownWidth); };
    if (!verticalLength) {
        // The narrowest width that keeps the rows the length gives.
        const int target = wrap(length);
        if (wrap(0) != target) {
            int lo = 0, hi = length;
            for (;;) {
                const int mid = (lo + hi) / 2;
                if (wrap(mid) == target) hi = mid;
                else if (lo == mid) {
                    wrap(hi);
                    break;
                } else lo = mid;
            }
        }
        wrap(measure().cx);
        return;
    }
    // The narrowest bar no taller than the length.
    wrap(0);
    plat::Size narrow = measure();
    wrap(kWidestRow);
    plat::Size wide = measure();
    while (narrow.cx < wide.cx) {
        wrap((narrow.cx + wide.cx) / 2);
        const plat::Size size = measure();
        if (size.cy > length) {
            if (size == narrow) {
                wrap(wide.cx);
                break;
            }
            narrow = size;
        } else if (size.cy < length) {
            // A wrap that comes out as wide as before cannot narrow any further.
            if (size == wide) break;
            wide = size;
        } else {
            break;
        }
    }
}

plat::Size CToolBarEx::CalcLayout(LayoutItems& items, const LayoutInput& in, unsigned mode, int length)
{
    const unsigned s = in.barStyle;
    const bool keep = in.keepDropDownWidth;
    const int mru = in.mruFloatingWidth ? *in.mruFloatingWidth : kWidestRow;
    if (!(s & kCbrsSizeFixed)) {
        if (s & kCbrsSizeDynamic) {
            if (mode & kLmMruWidth) FitButtons(items, mru, false, keep);
            else if (mode & kLmHorzDock) FitButtons(items, kWidestRow, false, keep);
            else if (mode & kLmVertDock) FitButtons(items, 0, false, keep);
            else if (length != -1) {
                const bool vertical = (mode & kLmLengthY) != 0;
                FitButtons(items, length - (vertical ? in.borders.cy : in.borders.cx), vertical, keep);
            } else if (s & kCbrsFloating) FitButtons(items, mru, false, keep);
        } else {
            FitButtons(items, (mode & kLmHorz) ? kWidestRow : 0, false, keep);
        }
    }
    plat::Size size = MeasureButtons(items, keep);
    if ((mode & kLmCommit) && (s & kCbrsFloating) && (s & kCbrsSizeDynamic) && in.mruFloatingWidth)
        *in.mruFloatingWidth = size.cx;
    size.cx = std::max(size.cx + in.borders.cx, in.fixed.cx);
    size.cy = std::max(size.cy + in.borders.cy, in.fixed.cy);
    return size;
}

CToolBarEx::LayoutItems CToolBarEx::ReadItems() const
{
    LayoutItems items(static_cast<size_t>(GetButtonCount()));
    for (int i = 0; i < GetButtonCount(); ++i) {
        LayoutItem& item = items[static_cast<size_t>(i)];
        GetButton(i, item.button);
        plat::Rect r;
        ToolBar::GetItemRect(i, r);
        item.size = plat::Size(r.Width(), r.Height());
    }
    return items;
}

plat::Size CToolBarEx::CalcLayout(unsigned mode, int length)
{
    LayoutItems items = ReadItems();
    const bool horizontal = (mode & kLmHorz) != 0;
    plat::Rect inside;
    CalcInsideRect(inside, horizontal);
    LayoutInput in;
    in.barStyle = m_barStyle;
    in.borders = plat::Size(-inside.Width(), -inside.Height());
    in.fixed = CToolBarBase::CalcFixedLayout((mode & kLmStretch) != 0, horizontal);
    in.mruFloatingWidth = &m_mruFloatingWidth;
    in.keepDropDownWidth = m_keepDropDownWidth;
    const plat::Size size = CalcLayout(items, in, mode, length);
    if (!(mode & kLmCommit)) return size;

    // Written back as they are: the layout is done, nothing is left pending.
    m_delayedLayout = false;
    for (int i = 0; i < GetButtonCount(); ++i) {
        plat::ToolbarButton b = items[static_cast<size_t>(i)].button;
        b.state ^= plat::kTbstateEnabled;
        SetButton(i, b);
    }
    MoveControlsWithSeparators();
    return size;
}

void CToolBarEx::MoveControlsWithSeparators()
{
    // Each control keeps its place over its separator: it moves by what the separator moved
    // since the last committed layout (a row wrapped, a separator before it widened).
    std::vector<ControlSlot> slots;
    for (int i = 0; i < GetButtonCount(); ++i) {
        plat::ToolbarButton b;
        plat::Rect now;
        if (!GetButton(i, b) || !HoldsControl(b) || !ToolBar::GetItemRect(i, now)) continue;
        slots.push_back(ControlSlot{b.command, now});
        auto was = std::find_if(m_controlSlots.begin(), m_controlSlots.end(),
                                [&](const ControlSlot& s) { return s.command == b.command; });
        plat::Window* control = GetChild(b.command);
        if (was == m_controlSlots.end() || !control) continue;
        const int dx = now.left - was->rect.left, dy = now.top - was->rect.top;
        if (dx == 0 && dy == 0) continue;
        plat::Rect r = control->GetRect();
        r.Offset(dx, dy);
        control->SetWindowPos(r, plat::kSwpNoSize | plat::kSwpNoZOrder | plat::kSwpNoActivate);
    }
    m_controlSlots = std::move(slots);
}

plat::Size CToolBarEx::CalcFixedLayout(bool stretch, bool horizontal)
{
    return CalcLayout((stretch ? kLmStretch : 0u) | (horizontal ? kLmHorz : 0u));
}

plat::Size CToolBarEx::CalcDynamicLayout(int length, unsigned mode)
{
    if (length == -1 && !(mode & (kLmMruWidth | kLmCommit)) && (mode & (kLmHorzDock | kLmVertDock)))
        return CalcFixedLayout((mode & kLmStretch) != 0, (mode & kLmHorzDock) != 0);
    return CalcLayout(mode, length);
}

unsigned CToolBarEx::DelayedLayoutMode() const
{
    if (IsFloating() && (m_barStyle & kCbrsSizeDynamic)) return kLmCommit | kLmMruWidth | kLmHorz;
    if (IsHorizontal()) return kLmCommit | kLmHorzDock | kLmHorz;
    return kLmCommit | kLmVertDock;
}

void CToolBarEx::Layout()
{
    m_delayedLayout = false;
    CalcLayout(DelayedLayoutMode());
}

void CToolBarEx::OnBarStyleChange(unsigned oldStyle, unsigned newStyle)
{
    CToolBarBase::OnBarStyleChange(oldStyle, newStyle);
    m_delayedLayout = true;
    if (oldStyle != newStyle && IsCreated()) Layout();
}

// ---- CToolBarEx: drop-down ----

void CToolBarEx::OnDropDown(int command, const plat::Rect& screenRect)
{
    const int menuId = GetDropDownMenu(command);
    if (menuId == 0) return;
    plat::Window* frame = m_ownerFrame ? m_ownerFrame : GetOwner();
    for (const ColourArrow& arrow : kColourArrows) {
        if (arrow.menuId != menuId) continue;
        if (frame) plat::SendMessage(frame, plat::kWmCommand, plat::MakeWParam(arrow.command, 0), 0);
        return;
    }
    std::unique_ptr<plat::Menu> menu = LoadMenuResource(menuId);
    if (!menu || menu->GetItemCount() == 0 || !menu->GetItem(0)->submenu) return;
    plat::Menu& popup = *menu->GetItem(0)->submenu;
    if (CFormatState* state = m_formatState ? m_formatState() : nullptr)
        if (const unsigned checked = CheckedItemOf(menuId, *state)) popup.CheckItem(checked, true);
    plat::TrackPopupMenu(popup, plat::kTpmLeftAlign | plat::kTpmVertical, plat::Point(screenRect.left, screenRect.bottom),
                         frame);
}

bool CToolBarEx::OnReflectedNotify(plat::NotifyHeader& header, plat::LResult& result)
{
    switch (header.code) {
    case plat::kTbnDropDown: {
        const int command = reinterpret_cast<plat::ToolbarNotification&>(header).item;
        plat::Rect r;
        ToolBar::GetItemRect(CommandToIndex(command), r);
        OnDropDown(command, ClientToScreen(r));
        result = 0;
        return true;
    }
    case plat::kTbnQueryInsert:
    case plat::kTbnQueryDelete:
        result = IsFloating() ? 0 : 1;
        return true;
    case plat::kTbnGetButtonInfo:
        result = 0; // no customisation table
        return true;
    case plat::kTbnBeginDrag:
    case plat::kTbnEndDrag:
    case plat::kTbnBeginAdjust:
    case plat::kTbnEndAdjust:
    case plat::kTbnReset:
    case plat::kTbnCustHelp:
        result = 0;
        return true;
    default:
        return false;
    }
}

plat::LResult CToolBarEx::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmPaint:
        if (m_delayedLayout) Layout();
        break;
    case plat::kWmSysColorChange:
        // The strip was made on the old colours: make it again on the new ones.
        if (m_stripResource != 0) SetImageStrip(m_stripResource);
        Invalidate();
        return 0;
    case plat::kWmIdleUpdateCmdUi: {
        plat::Window* target = m_ownerFrame ? m_ownerFrame : GetOwner();
        OnUpdateCmdUI(target, wParam != 0);
        return 0;
    }
    default:
        break;
    }
    return CToolBarBase::WindowProc(message, wParam, lParam);
}
