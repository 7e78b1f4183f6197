#include "editor/toolbar_images.h"

#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/render_context.h"
#include "editor/ql_main.h"
#include "resources/res_dib.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/sys_colors.h"

namespace {

constexpr const char16_t* kUnderlineNames[] = {u"IDB_UNDERLINE_UL", u"IDB_UNDERLINE_DUL", u"IDB_UNDERLINE_DOT"};
constexpr const char16_t* kLineSpacingNames[] = {u"IDB_ROWGAP_T25", u"IDB_ROWGAP_T50", u"IDB_ROWGAP_T75",
                                                 u"IDB_ROWGAP_T100", u"IDB_ROWGAP_T150"};
// Alignment codes 4, 1, 3, 2: the order of the alignment menu.
constexpr const char16_t* kAlignmentNames[] = {u"IDB_ROWFORMAT_TBOTH", u"IDB_ROWFORMAT_TLEFT",
                                               u"IDB_ROWFORMAT_TCENTER", u"IDB_ROWFORMAT_TRIGHT"};
constexpr const char16_t* kCellAlignNames[] = {u"IDB_TABLE_TUP", u"IDB_TABLE_TMIDDLE", u"IDB_TABLE_TDOWN"};
constexpr const char16_t* kLineStyleNames[CToolbarImages::kLineStyleCount] = {
    u"IDB_LNSTYLE_SOLID0", u"IDB_LNSTYLE_DASH",   u"IDB_LNSTYLE_DOT",    u"IDB_LNSTYLE_DASHDOT",
    u"IDB_LNSTYLE_DASHDOTDOT", u"IDB_LNSTYLE_SOLID1", u"IDB_LNSTYLE_SOLID2", u"IDB_LNSTYLE_SOLID3",
    u"IDB_LNSTYLE_SOLID4", u"IDB_LNSTYLE_SOLID5", u"IDB_LNSTYLE_SOLID6", u"IDB_LNSTYLE_SOLID7",
};
constexpr const char16_t* kCharColorName = u"IDB_CHAR_COLOR";
constexpr const char16_t* kLineColorName = u"IDB_GRAPH_COLOR";
constexpr const char16_t* kFillColorName = u"IDB_GRAPH_FILLCOLOR";

// The fill kind that fills nothing; its button shows a stripe of the face colour.
constexpr std::int32_t kNoFill = 1;
// The fill cache while no fill is shown: no colour value is ever this.
constexpr std::int32_t kNoFillShown = -1;

// Where an alignment code's picture sits in the table above; -1 for a code without one.
int AlignmentSlot(int alignment)
{
    switch (alignment) {
    case 4: return 0;
    case 1: return 1;
    case 3: return 2;
    case 2: return 3;
    default: return -1;
    }
}

int CellAlignSlot(int flag)
{
    switch (flag) {
    case kAlignTop: return 0;
    case kAlignMiddle: return 1;
    case kAlignBottom: return 2;
    default: return -1;
    }
}

template <typename Pictures>
const plat::Bitmap* At(const Pictures& pictures, int slot)
{
    return slot >= 0 && slot < static_cast<int>(pictures.size()) ? pictures[static_cast<size_t>(slot)].get() : nullptr;
}

} // namespace

CToolbarImages::CToolbarImages() = default;
CToolbarImages::~CToolbarImages() = default;

std::unique_ptr<plat::Bitmap> CToolbarImages::MakeMenuPicture(plat::StringView resource)
{
    CResDib dib;
    if (!dib.Load(resource)) return nullptr;
    std::unique_ptr<plat::Bitmap> picture = plat::Bitmap::Create(kPictureWidth, kPictureHeight);
    if (!picture) return nullptr;
    plat::MemoryDc dc;
    dc.Select(picture.get());
    FillButtonFace(dc, plat::Rect(0, 0, kPictureWidth, kPictureHeight));
    dib.StretchDraw(dc, 0, 0, kPictureWidth, kPictureHeight);
    return picture;
}

void CToolbarImages::Create(CQlMain* frame)
{
    m_frame = frame;
    for (size_t i = 0; i < m_underline.size(); ++i) m_underline[i] = MakeMenuPicture(kUnderlineNames[i]);
    for (size_t i = 0; i < m_lineSpacing.size(); ++i) m_lineSpacing[i] = MakeMenuPicture(kLineSpacingNames[i]);
    for (size_t i = 0; i < m_alignment.size(); ++i) m_alignment[i] = MakeMenuPicture(kAlignmentNames[i]);
    for (size_t i = 0; i < m_cellAlign.size(); ++i) m_cellAlign[i] = MakeMenuPicture(kCellAlignNames[i]);
    for (size_t i = 0; i < m_lineStyles.size(); ++i) m_lineStyles[i] = DibToBitmap(FindBitmapResource(kLineStyleNames[i]));
    for (int i = 0; i < kLineStyleCount; ++i)
        m_lineStyleMenu.AppendBitmapItem(plat::kMfString, kCmdLineStyleFirst + static_cast<unsigned>(i),
                                         m_lineStyles[static_cast<size_t>(i)].get());
}

const plat::Bitmap* CToolbarImages::GetAlignmentPicture(int alignment) const
{
    return At(m_alignment, AlignmentSlot(alignment));
}

const plat::Bitmap* CToolbarImages::GetUnderlinePicture(int kind) const
{
    return At(m_underline, kind - 1);
}

const plat::Bitmap* CToolbarImages::GetLineSpacingPicture(int code) const
{
    return At(m_lineSpacing, code - 1);
}

const plat::Bitmap* CToolbarImages::GetCellAlignPicture(int flag) const
{
    return At(m_cellAlign, CellAlignSlot(flag));
}

const plat::Bitmap* CToolbarImages::GetLineStylePicture(int style) const
{
    return At(m_lineStyles, style - 2);
}

plat::ColorRef CToolbarImages::Resolve(std::int32_t color) const
{
    return CColorRef(m_frame->GetMainDoc()).Resolve(color);
}

void CToolbarImages::ShowPicture(CToolBarEx* bar, unsigned command, int image, plat::StringView resource,
                                 std::optional<plat::ColorRef> stripe) const
{
    if (!bar) return;
    std::unique_ptr<plat::Bitmap> picture = MakeMenuPicture(resource);
    if (!picture) return;
    for (int y = kStripeTop; stripe && y < kStripeBottom; ++y)
        for (int x = 0; x < kPictureWidth; ++x) picture->SetPixel(x, y, *stripe);
    // The bar's image strip has no mask: its face-coloured pixels are the transparent ones.
    if (!bar->ReplaceImage(image, *picture)) return;
    if (!bar->IsWindowVisible()) return;
    const int index = bar->CommandToIndex(static_cast<int>(command));
    if (index < 0) return;
    plat::Rect rect;
    bar->GetItemRect(index, rect);
    bar->InvalidateRect(rect);
}

void CToolbarImages::UpdateFormatButton(unsigned command)
{
    CQlDoc* doc = m_frame ? m_frame->GetMainDoc() : nullptr;
    const CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    if (!state) return;
    CToolBarEx* bar = m_frame->GetFormatBar();
    switch (command) {
    case kCmdUnderline: {
        const std::uint8_t kind = state->m_charFormat.m_underline;
        if (kind == m_shownUnderline) return;
        m_shownUnderline = kind;
        if (kind > 3) return;
        ShowPicture(bar, command, kUnderlineImage, kUnderlineNames[kind == 0 ? 0 : kind - 1], std::nullopt);
        return;
    }
    case kCmdAlignment: {
        const std::uint8_t alignment = state->m_paraFormat.m_align;
        if (alignment == m_shownAlignment) return;
        m_shownAlignment = alignment;
        const int slot = AlignmentSlot(alignment);
        if (slot < 0) return;
        ShowPicture(bar, command, kAlignmentImage, kAlignmentNames[slot], std::nullopt);
        return;
    }
    case kCmdLineSpacing: {
        const std::uint8_t code = state->m_paraFormat.m_spacing;
        if (m_shownLineSpacing == code) return;
        m_shownLineSpacing = code;
        if (code < 1 || code > 5) return;
        ShowPicture(bar, command, kLineSpacingImage, kLineSpacingNames[code - 1], std::nullopt);
        return;
    }
    default: return;
    }
}

void CToolbarImages::UpdateCharColourButton()
{
    if (!m_frame || !m_frame->GetMainDoc()) return;
    const std::int32_t color = m_frame->GetCharColor();
    if (color == m_shownCharColor) return;
    m_shownCharColor = color;
    ShowPicture(m_frame->GetFormatBar(), kCmdCharColor, kCharColorImage, kCharColorName, Resolve(color));
}

void CToolbarImages::UpdateCellAlignButton(unsigned command)
{
    CQlDoc* doc = m_frame ? m_frame->GetMainDoc() : nullptr;
    const CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    if (!state || command != kCmdCellAlign) return;
    const std::uint8_t flag = state->m_verticalAlign;
    if (flag == m_shownCellAlign) return;
    m_shownCellAlign = flag;
    const int slot = CellAlignSlot(flag);
    if (slot < 0) return;
    const bool shortBar = m_frame->IsShortBar();
    ShowPicture(m_frame->GetExtensionBar(), command, shortBar ? kCellAlignShortImage : kCellAlignFullImage,
                kCellAlignNames[slot], std::nullopt);
}

void CToolbarImages::UpdateShapeColourButton(unsigned command)
{
    if (!m_frame || !m_frame->GetMainDoc()) return;
    CToolBarEx* bar = m_frame->GetFullExtensionBar();
    if (command == kCmdLineColor) {
        const std::int32_t color = m_frame->GetLineColor();
        if (color == m_shownLineColor) return;
        m_shownLineColor = color;
        ShowPicture(bar, command, kLineColorImage, kLineColorName, Resolve(color));
    } else if (command == kCmdFillColor) {
        const bool noFill = m_frame->GetFillPattern() == kNoFill;
        const std::int32_t shown = noFill ? kNoFillShown : m_frame->GetFillColor();
        if (shown == m_shownFillColor) return;
        m_shownFillColor = shown;
        const plat::ColorRef stripe = noFill ? plat::GetSysColor(plat::kColorActiveBorder) : Resolve(shown);
        ShowPicture(bar, command, kFillColorImage, kFillColorName, stripe);
    }
}
