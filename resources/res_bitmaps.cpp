#include "resources/res_bitmaps.h"

#include <algorithm>
#include <array>
#include <map>

#include "platform/base/byte_order.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/sys_colors.h"
#include "resources/res_pictures.h"

namespace {

using res_detail::PaletteEntry;
using res_detail::PictureResource;
using res_detail::PixelArt;

// The paragraph mark shown with formatting marks on: a return arrow, drawn bottom-aligned
// on the baseline after the last character of a paragraph.
constexpr PixelArt kEndPar = {9, 11,
                              "........."
                              "......#.."
                              "......#.."
                              "......#.."
                              "......#.."
                              "..#...#.."
                              ".##...#.."
                              "#######.."
                              ".##......"
                              "..#......"
                              "........."};
constexpr PaletteEntry kEndParPalette[] = {{'.', plat::Rgb(255, 255, 255)}, {'#', plat::Rgb(64, 64, 160)}};

// The face of a pressed (checked) button: white and light grey pixels in turn, tiled by a
// pattern brush.
constexpr PixelArt kPatternSelect = {8, 8,
                                     "w.w.w.w."
                                     ".w.w.w.w"
                                     "w.w.w.w."
                                     ".w.w.w.w"
                                     "w.w.w.w."
                                     ".w.w.w.w"
                                     "w.w.w.w."
                                     ".w.w.w.w"};
constexpr PaletteEntry kPatternPalette[] = {{'.', plat::Rgb(192, 192, 192)}, {'w', plat::Rgb(255, 255, 255)}};

constexpr const PixelArt* kEndParTiles[] = {&kEndPar};
constexpr const PixelArt* kPatternTiles[] = {&kPatternSelect};

constexpr PictureResource kSinglePictures[] = {
    {u"IDB_ENDPAR", kEndParPalette, kEndParTiles},
    {u"IDB_PATTERN_SELECT", kPatternPalette, kPatternTiles},
};

const PictureResource* FindPicture(plat::StringView name)
{
    for (const PictureResource& p : kSinglePictures)
        if (p.name == name) return &p;
    for (const PictureResource& p : res_detail::ToolbarStrips())
        if (p.name == name) return &p;
    for (const PictureResource& p : res_detail::MenuPictures())
        if (p.name == name) return &p;
    for (const PictureResource& p : res_detail::WrapButtonPictures())
        if (p.name == name) return &p;
    for (const PictureResource& p : res_detail::ShapePictures())
        if (p.name == name) return &p;
    return nullptr;
}

constexpr int kInfoHeaderSize = 40;
constexpr int kCoreHeaderSize = 12;
constexpr int kPictureBitCount = 4;

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) { return plat::LoadU32(&b[at]); }
unsigned ReadU16(std::span<const std::uint8_t> b, std::size_t at) { return plat::LoadU16(&b[at]); }

int CountForBits(int bitCount)
{
    return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}

// Black, grey, light grey and white, and the button colours they stand for.
struct SysColorMap {
    plat::ColorRef picture;
    int sysColor;
};
constexpr SysColorMap kButtonGreys[] = {
    {plat::Rgb(0, 0, 0), plat::kColorBtnText},
    {plat::Rgb(128, 128, 128), plat::kColorBtnShadow},
    {plat::Rgb(192, 192, 192), plat::kColorBtnFace},
    {plat::Rgb(255, 255, 255), plat::kColorBtnHighlight},
};

} // namespace

namespace res_detail {

std::vector<std::uint8_t> EncodeDib(const PictureResource& picture)
{
    int width = 0;
    const int height = picture.tiles.empty() ? 0 : picture.tiles.front()->height;
    for (const PixelArt* tile : picture.tiles) {
        if (tile->height != height) return {};
        width += tile->width;
    }
    const std::size_t entries = picture.palette.size();
    if (width <= 0 || height <= 0 || entries == 0 || entries > 16) return {};
    const std::int64_t rowBytes = ((std::int64_t(width) * kPictureBitCount + 31) / 32) * 4;
    const std::size_t tableBytes = entries * 4;
    const std::size_t bitsBytes = static_cast<std::size_t>(rowBytes * height);
    std::vector<std::uint8_t> out(kInfoHeaderSize + tableBytes + bitsBytes, 0);
    plat::StoreU32(&out[0], kInfoHeaderSize);
    plat::StoreU32(&out[4], static_cast<std::uint32_t>(width));
    plat::StoreU32(&out[8], static_cast<std::uint32_t>(height));
    plat::StoreU16(&out[12], 1);
    plat::StoreU16(&out[14], kPictureBitCount);
    plat::StoreU32(&out[20], static_cast<std::uint32_t>(bitsBytes));
    plat::StoreU32(&out[32], static_cast<std::uint32_t>(entries));
    for (std::size_t i = 0; i < entries; ++i) {
        const plat::ColorRef c = picture.palette[i].color;
        std::uint8_t* e = &out[kInfoHeaderSize + i * 4];
        e[0] = static_cast<std::uint8_t>(plat::BValue(c));
        e[1] = static_cast<std::uint8_t>(plat::GValue(c));
        e[2] = static_cast<std::uint8_t>(plat::RValue(c));
    }
    std::uint8_t* bits = &out[kInfoHeaderSize + tableBytes];
    int left = 0;
    for (const PixelArt* tile : picture.tiles) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = bits + rowBytes * (height - 1 - y); // bottom row first
            for (int x = 0; x < tile->width; ++x) {
                const char key = tile->rows[y * tile->width + x];
                const auto hit = std::find_if(picture.palette.begin(), picture.palette.end(),
                                              [key](const PaletteEntry& e) { return e.key == key; });
                if (hit == picture.palette.end()) return {};
                const auto index = static_cast<std::uint8_t>(hit - picture.palette.begin());
                const int px = left + x;
                row[px / 2] |= (px % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
            }
        }
        left += tile->width;
    }
    return out;
}

} // namespace res_detail

plat::String ResourceIdName(int id)
{
    return plat::Format(u"#%d", id);
}

std::span<const std::uint8_t> FindBitmapResource(plat::StringView name)
{
    static auto* made = new std::map<plat::String, std::vector<std::uint8_t>, std::less<>>;
    auto it = made->find(name);
    if (it != made->end()) return it->second;
    if (name == u"IDB_RESCOLOR") return made->emplace(plat::String(name), res_detail::EncodeColorField()).first->second;
    const PictureResource* picture = FindPicture(name);
    if (!picture) return {};
    return made->emplace(plat::String(name), res_detail::EncodeDib(*picture)).first->second;
}

const plat::Bitmap* LoadResBitmap(plat::StringView name)
{
    static auto* loaded = new std::map<plat::String, std::unique_ptr<plat::Bitmap>, std::less<>>;
    auto it = loaded->find(name);
    if (it != loaded->end()) return it->second.get();
    const std::span<const std::uint8_t> bytes = FindBitmapResource(name);
    if (bytes.empty()) return nullptr;
    return loaded->emplace(plat::String(name), DibToBitmap(bytes)).first->second.get();
}

std::optional<DibLayout> ReadDibLayout(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4) return std::nullopt;
    DibLayout d;
    d.headerSize = static_cast<int>(ReadU32(bytes, 0));
    if (d.headerSize == kInfoHeaderSize && bytes.size() >= kInfoHeaderSize) {
        d.width = static_cast<std::int32_t>(ReadU32(bytes, 4));
        d.height = static_cast<std::int32_t>(ReadU32(bytes, 8));
        d.bitCount = static_cast<int>(ReadU16(bytes, 14));
        if (ReadU32(bytes, 16) != 0) return std::nullopt; // compressed bits are not read
        const std::uint32_t used = ReadU32(bytes, 32);
        if (used > 256) return std::nullopt;
        d.colorsUsed = static_cast<int>(used);
        d.tableEntries = used != 0 ? d.colorsUsed : CountForBits(d.bitCount);
        d.entrySize = 4;
    } else if (d.headerSize == kCoreHeaderSize && bytes.size() >= kCoreHeaderSize) {
        d.width = static_cast<int>(ReadU16(bytes, 4));
        d.height = static_cast<int>(ReadU16(bytes, 6));
        d.bitCount = static_cast<int>(ReadU16(bytes, 10));
        d.tableEntries = CountForBits(d.bitCount);
        d.entrySize = 3;
    } else {
        return std::nullopt;
    }
    const bool knownDepth = d.bitCount == 1 || d.bitCount == 4 || d.bitCount == 8 || d.bitCount == 24 ||
                            d.bitCount == 32;
    if (!knownDepth || d.width <= 0 || d.height == 0 || d.width > plat::Bitmap::kMaxSide ||
        d.height < -plat::Bitmap::kMaxSide || d.height > plat::Bitmap::kMaxSide)
        return std::nullopt;
    const std::size_t tableBytes = static_cast<std::size_t>(d.tableEntries) * d.entrySize;
    d.bitsOffset = static_cast<std::size_t>(d.headerSize) + tableBytes;
    d.rowBytes = ((std::int64_t(d.width) * d.bitCount + 31) / 32) * 4;
    const std::int64_t rows = d.height < 0 ? -std::int64_t(d.height) : d.height;
    if (d.bitsOffset > bytes.size() || std::int64_t(bytes.size() - d.bitsOffset) < d.rowBytes * rows)
        return std::nullopt;
    d.table.assign(static_cast<std::size_t>(d.tableEntries) * 4, 0);
    for (int i = 0; i < d.tableEntries; ++i)
        std::copy_n(&bytes[d.headerSize + std::size_t(i) * d.entrySize], 3, &d.table[std::size_t(i) * 4]);
    return d;
}

plat::DibView DibLayout::View(std::span<const std::uint8_t> bytes) const
{
    plat::DibView v;
    v.width = width;
    v.height = height;
    v.bitCount = bitCount;
    v.rowBytes = rowBytes;
    v.bits = bytes.data() + bitsOffset;
    v.palette = table.data();
    v.paletteEntries = tableEntries;
    return v;
}

namespace {

std::unique_ptr<plat::Bitmap> Render(const DibLayout& layout, const plat::DibView& view)
{
    const int height = layout.height < 0 ? -layout.height : layout.height;
    auto bmp = plat::Bitmap::Create(layout.width, height);
    if (!bmp) return nullptr;
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    if (!plat::StretchDib(dc, 0, 0, layout.width, height, view, 0, 0, layout.width, height, plat::kSrcCopy))
        return nullptr;
    dc.Select(static_cast<plat::Bitmap*>(nullptr));
    return bmp;
}

} // namespace

std::unique_ptr<plat::Bitmap> DibToBitmap(std::span<const std::uint8_t> bytes)
{
    const std::optional<DibLayout> layout = ReadDibLayout(bytes);
    if (!layout) return nullptr;
    return Render(*layout, layout->View(bytes));
}

std::unique_ptr<plat::Bitmap> LoadSysColorBitmap(plat::StringView name, bool monochrome)
{
    const std::span<const std::uint8_t> bytes = FindBitmapResource(name);
    std::optional<DibLayout> layout = ReadDibLayout(bytes);
    if (!layout || layout->tableEntries == 0 || layout->tableEntries > 16) return nullptr;
    for (int i = 0; i < layout->tableEntries; ++i) {
        std::uint8_t* e = &layout->table[std::size_t(i) * 4];
        const plat::ColorRef c = plat::Rgb(e[2], e[1], e[0]);
        for (const SysColorMap& grey : kButtonGreys) {
            if (c != grey.picture) continue;
            const bool black = grey.sysColor == plat::kColorBtnText;
            const plat::ColorRef now = monochrome && !black ? plat::Rgb(255, 255, 255)
                                                            : plat::GetSysColor(grey.sysColor);
            e[0] = static_cast<std::uint8_t>(plat::BValue(now));
            e[1] = static_cast<std::uint8_t>(plat::GValue(now));
            e[2] = static_cast<std::uint8_t>(plat::RValue(now));
            break;
        }
    }
    return Render(*layout, layout->View(bytes));
}

std::unique_ptr<plat::Bitmap> LoadSysColorBitmap(int id, bool monochrome)
{
    return LoadSysColorBitmap(ResourceIdName(id), monochrome);
}
