#include "resources/res_wrap_buttons.h"

#include <array>

#include "platform/ui/button.h"
#include "platform/ui/dialog.h"
#include "resources/res_dib.h"
#include "resources/res_pictures.h"

namespace res_detail {
namespace {

// The wrap pictures, 16 x 16: the object as a navy block, the text as grey lines, on white.
constexpr PaletteEntry kWrapPalette[] = {
    {'.', plat::Rgb(255, 255, 255)}, {'#', plat::Rgb(128, 128, 128)}, {'B', plat::Rgb(0, 0, 128)}};

constexpr PixelArt kWrapNone = MakeArt<16, 16>(
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".....BBBBBB....."
    ".....BBBBBB....."
    ".....BBBBBB....."
    ".....BBBBBB....."
    ".....BBBBBB....."
    ".....BBBBBB....."
    "................"
    ".##############."
    "................"
    ".##############."
    "................");
constexpr PixelArt kWrapLeft = MakeArt<16, 16>(
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".#####.BBBBBBBB."
    ".......BBBBBBBB."
    ".#####.BBBBBBBB."
    ".......BBBBBBBB."
    ".#####.BBBBBBBB."
    ".......BBBBBBBB."
    "................"
    ".##############."
    "................"
    ".##############."
    "................");
constexpr PixelArt kWrapRight = MakeArt<16, 16>(
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".BBBBBBBB.#####."
    ".BBBBBBBB......."
    ".BBBBBBBB.#####."
    ".BBBBBBBB......."
    ".BBBBBBBB.#####."
    ".BBBBBBBB......."
    "................"
    ".##############."
    "................"
    ".##############."
    "................");
constexpr PixelArt kWrapBoth = MakeArt<16, 16>(
    "................"
    ".##############."
    "................"
    ".##############."
    "................"
    ".###.BBBBBB.###."
    ".....BBBBBB....."
    ".###.BBBBBB.###."
    ".....BBBBBB....."
    ".###.BBBBBB.###."
    ".....BBBBBB....."
    "................"
    ".##############."
    "................"
    ".##############."
    "................");

constexpr const PixelArt* kWrapTiles[kWrapButtonCount] = {&kWrapNone, &kWrapLeft, &kWrapRight, &kWrapBoth};
constexpr std::u16string_view kWrapNames[kWrapButtonCount] = {
    u"IDB_BLEXATTR_NONE", u"IDB_BLEXATTR_LEFT", u"IDB_BLEXATTR_RIGHT", u"IDB_BLEXATTR_BOTH"};

} // namespace

std::span<const PictureResource> WrapButtonPictures()
{
    static const std::array<PictureResource, kWrapButtonCount> resources = [] {
        std::array<PictureResource, kWrapButtonCount> out{};
        for (int i = 0; i < kWrapButtonCount; ++i)
            out[static_cast<std::size_t>(i)] = {kWrapNames[i], kWrapPalette,
                                                std::span<const PixelArt* const>(&kWrapTiles[i], 1)};
        return out;
    }();
    return resources;
}

} // namespace res_detail

plat::StringView WrapButtonBitmapName(int mode)
{
    if (mode < 0 || mode >= kWrapButtonCount) return {};
    return res_detail::WrapButtonPictures()[static_cast<std::size_t>(mode)].name;
}

void DrawWrapButton(plat::Dc& dc, const plat::Rect& rect, int buttonMode, int currentMode)
{
    if (buttonMode == currentMode)
        DrawPressedButton(dc, rect);
    else
        FillButtonFace(dc, rect);
    CResDib dib;
    if (!dib.Load(WrapButtonBitmapName(buttonMode))) return;
    dib.DrawInRect(dc, rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
    dib.Free();
}

std::vector<plat::DialogItemTemplate> WrapButtonItems(int firstId, int left, int top, int step)
{
    static constexpr std::u16string_view kTexts[kWrapButtonCount] = {u"None", u"Left", u"Right", u"Both"};
    constexpr int kSide = 21;
    std::vector<plat::DialogItemTemplate> items;
    for (int i = 0; i < kWrapButtonCount; ++i) {
        const int x = left + i * step;
        items.push_back(plat::DialogItemTemplate{plat::String(plat::kButtonClass), firstId + i,
                                                 plat::String(kTexts[i]), plat::Rect(x, top, x + kSide, top + kSide),
                                                 plat::kBsOwnerDraw, 0});
    }
    return items;
}

std::optional<int> CWrapButtons::ModeOf(int id) const
{
    if (id < m_firstId || id >= m_firstId + kWrapButtonCount) return std::nullopt;
    return id - m_firstId;
}

bool CWrapButtons::OnCommand(plat::Dialog& dialog, int id, int& wrapMode) const
{
    const std::optional<int> mode = ModeOf(id);
    if (!mode) return false;
    wrapMode = *mode;
    for (int i = 0; i < kWrapButtonCount; ++i)
        if (plat::Control* button = dialog.GetDlgItem(m_firstId + i)) button->Invalidate(true);
    return true;
}

bool CWrapButtons::OnDrawItem(const plat::DrawItem& item, int wrapMode) const
{
    const std::optional<int> mode = ModeOf(item.ctlId);
    if (!mode || !item.dc || !item.item) return false;
    DrawWrapButton(*item.dc, item.item->GetClientRect(), *mode, wrapMode);
    return true;
}
