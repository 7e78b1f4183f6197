#include "objects/table_dialogs.h"

#include <array>

#include "document/ql_doc.h"
#include "document/render_context.h"
#include "platform/base/strings.h"
#include "platform/gfx/pen_brush.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/list_box.h"
#include "platform/ui/message_box.h"
#include "resources/res_dialogs.h"
#include "resources/res_dib.h"

// ---- the split-cell dialog ----

CSplitCellDlg::CSplitCellDlg(plat::Window* parent) : plat::Dialog(DialogTemplateOf(kIddSplitCell), parent) {}

namespace {

void FillChoices(plat::Dialog& dlg, int id, const std::vector<std::uint16_t>& choices)
{
    auto* list = dlg.GetItem<plat::ComboBox>(id);
    if (!list) return;
    for (std::uint16_t n : choices) list->AddString(plat::Format(u"%d", static_cast<int>(n)));
    list->SetCurSel(choices.empty() ? -1 : 0);
}

// The choice at the list's selection; the first one when nothing is selected.
std::uint16_t ChosenOf(const plat::Dialog& dlg, int id, const std::vector<std::uint16_t>& choices)
{
    const auto* list = dlg.GetItem<plat::ComboBox>(id);
    const int at = list ? list->GetCurSel() : -1;
    if (at >= 0 && at < static_cast<int>(choices.size())) return choices[static_cast<std::size_t>(at)];
    return choices.empty() ? 1 : choices.front();
}

} // namespace

bool CSplitCellDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    FillChoices(*this, kIdcSplitRows, m_rowChoices);
    FillChoices(*this, kIdcSplitColumns, m_columnChoices);
    return true;
}

void CSplitCellDlg::OnOK()
{
    m_chosenRows = ChosenOf(*this, kIdcSplitRows, m_rowChoices);
    m_chosenColumns = ChosenOf(*this, kIdcSplitColumns, m_columnChoices);
    plat::Dialog::OnOK();
}

// ---- the border dialog ----

namespace {

using LineMember = CBorderLine CBorderSet::*;

constexpr LineMember kTop = &CBorderSet::m_top;
constexpr LineMember kInnerHorizontal = &CBorderSet::m_innerHorizontal;
constexpr LineMember kBottom = &CBorderSet::m_bottom;
constexpr LineMember kLeft = &CBorderSet::m_left;
constexpr LineMember kInnerVertical = &CBorderSet::m_innerVertical;
constexpr LineMember kRight = &CBorderSet::m_right;

// A target, its button, the lines it changes (null-padded) and the line it shows.
struct TargetRow {
    int target;
    int buttonId;
    std::array<LineMember, 6> lines;
    LineMember shown;
};
constexpr TargetRow kTargets[] = {
    {CTableBorderDlg::kTargetAll, kIdcBorderAll, {kTop, kInnerHorizontal, kBottom, kLeft, kInnerVertical, kRight}, kTop},
    {CTableBorderDlg::kTargetFrame, kIdcBorderFrame, {kTop, kBottom, kLeft, kRight}, kTop},
    {CTableBorderDlg::kTargetAllHorizontal, kIdcBorderAllHorizontal, {kTop, kInnerHorizontal, kBottom}, kTop},
    {CTableBorderDlg::kTargetTopBottom, kIdcBorderTopBottom, {kTop, kBottom}, kTop},
    {CTableBorderDlg::kTargetAllVertical, kIdcBorderAllVertical, {kLeft, kInnerVertical, kRight}, kLeft},
    {CTableBorderDlg::kTargetLeftRight, kIdcBorderLeftRight, {kLeft, kRight}, kLeft},
    {CTableBorderDlg::kTargetTop, kIdcBorderTop, {kTop}, kTop},
    {CTableBorderDlg::kTargetInnerHorizontal, kIdcBorderInnerHorizontal, {kInnerHorizontal}, kInnerHorizontal},
    {CTableBorderDlg::kTargetBottom, kIdcBorderBottom, {kBottom}, kBottom},
    {CTableBorderDlg::kTargetLeft, kIdcBorderLeft, {kLeft}, kLeft},
    {CTableBorderDlg::kTargetInnerVertical, kIdcBorderInnerVertical, {kInnerVertical}, kInnerVertical},
    {CTableBorderDlg::kTargetRight, kIdcBorderRight, {kRight}, kRight},
};

const TargetRow* RowOfTarget(int target)
{
    for (const TargetRow& row : kTargets)
        if (row.target == target) return &row;
    return nullptr;
}

const TargetRow* RowOfButton(int id)
{
    for (const TargetRow& row : kTargets)
        if (row.buttonId == id) return &row;
    return nullptr;
}

// A preview button, the line it shows, which way the line runs, and the target a click on
// it selects.
struct PreviewRow {
    int id;
    LineMember line;
    bool horizontal;
    int clickTarget;
};
constexpr PreviewRow kPreviews[] = {
    {kIdcBorderPreviewTop, kTop, true, CTableBorderDlg::kTargetTop},
    {kIdcBorderPreviewTop + 1, kInnerHorizontal, true, CTableBorderDlg::kTargetInnerHorizontal},
    {kIdcBorderPreviewTop + 2, kBottom, true, CTableBorderDlg::kTargetBottom},
    {kIdcBorderPreviewTop + 3, kLeft, false, CTableBorderDlg::kTargetLeft},
    {kIdcBorderPreviewTop + 4, kRight, false, CTableBorderDlg::kTargetRight},
    {kIdcBorderPreviewTop + 5, kInnerVertical, false, CTableBorderDlg::kTargetInnerVertical},
    {kIdcBorderPreviewTop + 6, kInnerVertical, false, CTableBorderDlg::kTargetInnerVertical},
};

const PreviewRow* PreviewOf(int id)
{
    for (const PreviewRow& row : kPreviews)
        if (row.id == id) return &row;
    return nullptr;
}

// The style list's entries, one a line style in code order (the texts are never shown).
constexpr const char16_t* kStyleNames[] = {
    u"LNSTYLE_NONE", u"LNSTYLE_0", u"LNSTYLE_DASH", u"LNSTYLE_DOT", u"LNSTYLE_DASHDOT", u"LNSTYLE_DASHDOTDOT",
    u"LNSTYLE_1",    u"LNSTYLE_2", u"LNSTYLE_3",    u"LNSTYLE_4",   u"LNSTYLE_5",       u"LNSTYLE_6",
    u"LNSTYLE_7",
};
constexpr int kStyleCount = static_cast<int>(std::size(kStyleNames));

constexpr plat::ColorRef kTargetFrameColour = plat::Rgb(255, 0, 0);
constexpr plat::ColorRef kPlainFrameColour = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
// Where the colour picker opens, from the colour button's bottom-left corner.
constexpr int kPickerLeftShift = 370;
constexpr int kPickerGap = 4;

} // namespace

CTableBorderDlg::CTableBorderDlg(CQlDoc* doc, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddTableBorder), parent), m_doc(doc)
{
}

bool CTableBorderDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    const bool horizontal = m_borders.m_hasInnerHorizontal != 0;
    const bool vertical = m_borders.m_hasInnerVertical != 0;
    auto show = [this](int id, bool shown) {
        if (plat::Control* c = GetDlgItem(id)) c->ShowWindow(shown ? plat::kSwShow : plat::kSwHide);
    };
    auto enable = [this](int id, bool enabled) {
        if (plat::Control* c = GetDlgItem(id)) c->EnableWindow(enabled);
    };
    show(kIdcBorderPreviewTop + 1, horizontal);
    enable(kIdcBorderAllHorizontal, horizontal);
    enable(kIdcBorderInnerHorizontal, horizontal);
    show(kIdcBorderPreviewTop + 5, vertical);
    show(kIdcBorderPreviewTop + 6, vertical);
    enable(kIdcBorderAllVertical, vertical);
    enable(kIdcBorderInnerVertical, vertical);
    enable(kIdcBorderAll, horizontal || vertical);

    if (auto* list = GetItem<plat::ListBox>(kIdcBorderStyleList)) {
        list->SetItemHeight(kStyleEntryHeight);
        for (const char16_t* name : kStyleNames) list->AddString(name);
    }
    SetMode(horizontal || vertical ? kTargetAll : kTargetFrame);
    return true;
}

void CTableBorderDlg::SetMode(int target)
{
    const TargetRow* row = RowOfTarget(target);
    if (!row) return;
    m_mode = target;
    for (const TargetRow& r : kTargets) CheckDlgButton(r.buttonId, r.target == target ? 1 : 0);
    if (auto* list = GetItem<plat::ListBox>(kIdcBorderStyleList)) {
        const int code = GetTargetLine().m_style;
        list->SetCurSel(code >= kLineNone && code < kLineNone + kStyleCount ? code - kLineNone : -1);
    }
    RepaintAll();
}

CBorderLine& CTableBorderDlg::GetTargetLine()
{
    const TargetRow* row = RowOfTarget(m_mode);
    return m_borders.*(row ? row->shown : kTop);
}

bool CTableBorderDlg::IsTargeted(const CBorderLine CBorderSet::*line) const
{
    const TargetRow* row = RowOfTarget(m_mode);
    if (!row) return false;
    for (LineMember l : row->lines)
        if (l && l == line) return true;
    return false;
}

void CTableBorderDlg::SetTargetStyle(std::int32_t code)
{
    if (const TargetRow* row = RowOfTarget(m_mode))
        for (LineMember l : row->lines)
            if (l) (m_borders.*l).m_style = code;
}

void CTableBorderDlg::SetTargetColour(std::int32_t colour)
{
    if (const TargetRow* row = RowOfTarget(m_mode))
        for (LineMember l : row->lines)
            if (l) (m_borders.*l).m_colour = colour;
}

bool CTableBorderDlg::OnCommand(unsigned id, unsigned code, plat::Window* control)
{
    const int ctl = static_cast<int>(id);
    if (ctl == kIdcBorderStyleList) {
        if (code == plat::kLbnSelChange) OnStyleChange();
        return true;
    }
    if (code != plat::kBnClicked) return plat::Dialog::OnCommand(id, code, control);
    if (const TargetRow* row = RowOfButton(ctl)) {
        SetMode(row->target);
        return true;
    }
    if (const PreviewRow* preview = PreviewOf(ctl)) {
        SetMode(preview->clickTarget);
        return true;
    }
    if (ctl == kIdcBorderColor) {
        OnColour();
        return true;
    }
    return plat::Dialog::OnCommand(id, code, control);
}

void CTableBorderDlg::OnStyleChange()
{
    const auto* list = GetItem<plat::ListBox>(kIdcBorderStyleList);
    const int selection = list ? list->GetCurSel() : -1;
    if (selection < 0 || selection >= kStyleCount) return;
    SetTargetStyle(kLineNone + selection);
    RepaintAll();
}

void CTableBorderDlg::OnColour()
{
    const ColorPickerDialog& picker = CQlDoc::GetColorPickerDialog();
    if (!picker || !m_doc) return;
    const plat::Control* button = GetDlgItem(kIdcBorderColor);
    if (!button) return;
    const plat::Rect at = button->GetWindowRect();
    plat::ColorRef colour = static_cast<plat::ColorRef>(GetTargetLine().m_colour);
    // A cancelled picker leaves every line of the target as it was.
    if (picker(this, m_doc->GetPalette(), ColorPickerAutomatic::kShow,
               plat::Point(at.left - kPickerLeftShift, at.bottom + kPickerGap), colour) != plat::kIdOk)
        return;
    SetTargetColour(static_cast<std::int32_t>(colour));
    RepaintAll();
}

void CTableBorderDlg::RepaintAll()
{
    for (const PreviewRow& row : kPreviews)
        if (plat::Control* c = GetDlgItem(row.id)) c->Invalidate();
    for (int id : {static_cast<int>(kIdcBorderStyleList), static_cast<int>(kIdcBorderColor)})
        if (plat::Control* c = GetDlgItem(id)) c->Invalidate();
}

plat::ColorRef CTableBorderDlg::Resolve(std::int32_t colour) const
{
    return CColorRef(m_doc).Resolve(colour);
}

void CTableBorderDlg::DrawLineSample(plat::Dc& dc, plat::Point from, plat::Point to, std::int32_t code,
                                     plat::ColorRef colour)
{
    if (code == kLineNone) {
        const int oldMode = dc.SetBkMode(plat::kTransparent);
        const unsigned oldAlign = dc.SetTextAlign(plat::kTaCenter | plat::kTaTop);
        const plat::ColorRef oldColour = dc.SetTextColor(colour);
        const plat::StringView none = u"无";
        const int height = dc.GetTextExtent(none).cy;
        dc.TextOut((from.x + to.x) / 2, (from.y + to.y) / 2 - height / 2, none);
        dc.SetTextColor(oldColour);
        dc.SetTextAlign(oldAlign);
        dc.SetBkMode(oldMode);
        return;
    }
    // The screen is a 96-dpi device: a kind's width in 1/96 inch is its width in pixels.
    const LineKindStyle kind = LineKindToStyle(code);
    const plat::Pen pen(kind.style, kind.width, colour);
    const plat::Pen* old = dc.Select(&pen);
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
    dc.Select(old);
}

void CTableBorderDlg::OnDrawItem(plat::DrawItem& item)
{
    plat::Dc& dc = *item.dc;
    const plat::Rect r = item.rect;
    const int midY = (r.top + r.bottom) / 2;
    const int midX = (r.left + r.right) / 2;
    if (item.ctlId == kIdcBorderStyleList) {
        if (item.itemId < 0) return;
        dc.FillRect(r, plat::Brush::Solid(kWhite));
        DrawLineSample(dc, plat::Point(r.left + 4, midY), plat::Point(r.right - 4, midY), kLineNone + item.itemId,
                       kPlainFrameColour);
        if (item.state & plat::kOdsSelected) {
            plat::Rect frame = r;
            DrawFrameRect(dc, frame, CColorRef::GetBlue());
        }
        return;
    }
    if (const PreviewRow* preview = PreviewOf(item.ctlId)) {
        const bool targeted = IsTargeted(preview->line);
        const plat::Rect inside(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
        if (targeted)
            dc.FillRect(inside, plat::Brush::Solid(kWhite));
        else
            FillButtonFace(dc, inside);
        const CBorderLine& line = m_borders.*(preview->line);
        if (preview->horizontal)
            DrawLineSample(dc, plat::Point(inside.left + 2, midY), plat::Point(inside.right - 2, midY), line.m_style,
                           Resolve(line.m_colour));
        else
            DrawLineSample(dc, plat::Point(midX, inside.top + 2), plat::Point(midX, inside.bottom - 2), line.m_style,
                           Resolve(line.m_colour));
        // The frame last: a wide sample in a narrow preview must not hide whether it is
        // targeted.
        plat::Rect frame = r;
        DrawFrameRect(dc, frame, targeted ? kTargetFrameColour : kPlainFrameColour);
        return;
    }
    if (item.ctlId == kIdcBorderColor) {
        DrawRaisedButton(dc, r);
        DrawColourCell(dc, plat::Rect(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3),
                       Resolve(GetTargetLine().m_colour));
        return;
    }
    plat::Dialog::OnDrawItem(item);
}
