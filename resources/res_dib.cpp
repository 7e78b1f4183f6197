#include "resources/res_dib.h"

#include <algorithm>

#include "platform/gfx/raster_ops.h"
#include "platform/gfx/sys_colors.h"

CResDib::CResDib() = default;

CResDib::~CResDib()
{
    Free();
}

bool CResDib::Load(plat::StringView name)
{
    return Load(name, FindBitmapResource(name));
}

bool CResDib::Load(plat::StringView name, std::span<const std::uint8_t> bytes)
{
    std::optional<DibLayout> layout = ReadDibLayout(bytes);
    if (!layout) return false;
    Free();
    m_name = plat::String(name);
    m_bytes.assign(bytes.begin(), bytes.end());
    m_layout = std::move(*layout);
    m_width = m_layout.width;
    m_height = m_layout.height < 0 ? -m_layout.height : m_layout.height;
    // Only a header that counts the colours it uses gets a palette.
    if (m_layout.colorsUsed != 0)
        for (int i = 0; i < m_layout.tableEntries; ++i) {
            const std::uint8_t* e = &m_layout.table[std::size_t(i) * 4];
            m_palette.push_back(plat::Rgb(e[2], e[1], e[0]));
        }
    return true;
}

void CResDib::Free()
{
    m_bytes.clear();
    m_layout = DibLayout();
    m_palette.clear();
    m_width = 0;
    m_height = 0;
}

// Surfaces hold 32-bit colour, so the palette needs no realising: the colour table gives
// every pixel its exact colour.
bool CResDib::Copy(plat::Dc& dc, int x, int y, int width, int height, std::uint32_t rop) const
{
    if (IsEmpty()) return false;
    return plat::StretchDib(dc, x, y, width, height, m_layout.View(m_bytes), 0, 0, m_width, m_height, rop);
}

bool CResDib::Draw(plat::Dc& dc, int x, int y, int width, int height) const
{
    return Copy(dc, x, y, width, height, plat::kSrcCopy);
}

bool CResDib::DrawInRect(plat::Dc& dc, int left, int top, int right, int bottom) const
{
    return Draw(dc, left, top, right - left, bottom - top);
}

bool CResDib::DrawAt(plat::Dc& dc, int x, int y) const
{
    return Draw(dc, x, y, m_width, m_height);
}

bool CResDib::DrawAtOrigin(plat::Dc& dc) const
{
    return Draw(dc, 0, 0, m_width, m_height);
}

bool CResDib::StretchDraw(plat::Dc& dc, int x, int y, int width, int height) const
{
    return Copy(dc, x, y, width, height, plat::kSrcAnd);
}

bool CResDib::DrawTransparent(plat::Dc& dc, int x, int y, int width, int height, plat::ColorRef transparent) const
{
    if (IsEmpty()) return false;
    std::unique_ptr<plat::Bitmap> own = plat::Bitmap::Create(m_width, m_height);
    std::unique_ptr<plat::Bitmap> sized = plat::Bitmap::Create(width, height);
    if (!own || !sized) return false;
    plat::MemoryDc ownDc(&dc);
    ownDc.Select(own.get());
    if (!DrawAtOrigin(ownDc)) return false;
    plat::MemoryDc sizedDc(&dc);
    sizedDc.Select(sized.get());
    if (!plat::StretchBlt(sizedDc, 0, 0, width, height, &ownDc, 0, 0, m_width, m_height, plat::kSrcCopy))
        return false;
    sizedDc.Select(static_cast<plat::Bitmap*>(nullptr));
    return BlitTransparent(dc, *sized, x, y, transparent);
}

bool CResDib::BlitTransparent(plat::Dc& dc, plat::Bitmap& bitmap, int x, int y, plat::ColorRef transparent)
{
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    std::unique_ptr<plat::Bitmap> mask = plat::Bitmap::CreateMonochrome(w, h);
    if (!mask) return false;
    plat::MemoryDc source(&dc);
    source.Select(&bitmap);
    source.SetBkColor(transparent);
    plat::MemoryDc maskDc(&dc);
    maskDc.Select(mask.get());
    if (!plat::BitBlt(maskDc, 0, 0, w, h, &source, 0, 0, plat::kSrcCopy)) return false;
    maskDc.Select(static_cast<plat::Bitmap*>(nullptr));
    return plat::MaskBlt(dc, x, y, w, h, source, 0, 0, *mask, 0, 0, plat::MakeRop4(plat::kDstCopy, plat::kSrcCopy));
}

namespace {

constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kGrey = plat::Rgb(128, 128, 128);
constexpr plat::ColorRef kLightGrey = plat::Rgb(192, 192, 192);
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);

void Fill(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color)
{
    if (!rect.IsEmpty()) dc.FillRect(rect, plat::Brush::Solid(color));
}

// Column x and row y of the rectangle, each one pixel wide, in the colour.
void Column(plat::Dc& dc, const plat::Rect& r, int x, plat::ColorRef color)
{
    Fill(dc, plat::Rect(x, r.top, x + 1, r.bottom), color);
}
void Row(plat::Dc& dc, const plat::Rect& r, int y, plat::ColorRef color)
{
    Fill(dc, plat::Rect(r.left, y, r.right, y + 1), color);
}

plat::Rect Inset(const plat::Rect& r)
{
    return plat::Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
}

} // namespace

void FillButtonFace(plat::Dc& dc, const plat::Rect& rect)
{
    Fill(dc, rect, plat::GetSysColor(plat::kColorActiveBorder));
}

void DrawRaisedButton(plat::Dc& dc, const plat::Rect& rect)
{
    FillButtonFace(dc, rect);
    Column(dc, rect, rect.left, kWhite);
    Row(dc, rect, rect.top, kWhite);
    Column(dc, rect, rect.right - 2, kGrey);
    Row(dc, rect, rect.bottom - 2, kGrey);
    Column(dc, rect, rect.right - 1, kBlack);
    Row(dc, rect, rect.bottom - 1, kBlack);
}

void DrawPressedButton(plat::Dc& dc, const plat::Rect& rect)
{
    if (const plat::Bitmap* pattern = LoadResBitmap(u"IDB_PATTERN_SELECT"))
        dc.FillRect(rect, plat::Brush::Pattern(*pattern));
    Column(dc, rect, rect.left, kBlack);
    Row(dc, rect, rect.top, kBlack);
    Column(dc, rect, rect.left + 1, kGrey);
    Row(dc, rect, rect.top + 1, kGrey);
    Column(dc, rect, rect.right - 2, kLightGrey);
    Row(dc, rect, rect.bottom - 2, kLightGrey);
    Column(dc, rect, rect.right - 1, kWhite);
    Row(dc, rect, rect.bottom - 1, kWhite);
}

void DrawColourCell(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color)
{
    Fill(dc, rect, kLightGrey);
    const plat::Rect ring = Inset(rect);
    Fill(dc, ring, kBlack);
    Fill(dc, Inset(ring), color);
}

void DrawSelectedCell(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color)
{
    Fill(dc, rect, kWhite);
    const plat::Rect ring = Inset(rect);
    Fill(dc, ring, color);
    if (!ring.IsEmpty()) dc.InvertRect(ring);
    Fill(dc, Inset(ring), color);
}

void DrawFrameRect(plat::Dc& dc, plat::Rect& rect, plat::ColorRef color)
{
    if (!rect.IsEmpty()) {
        Row(dc, rect, rect.top, color);
        Row(dc, rect, rect.bottom - 1, color);
        Column(dc, rect, rect.left, color);
        Column(dc, rect, rect.right - 1, color);
    }
    rect = Inset(rect);
}
