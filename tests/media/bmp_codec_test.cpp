// BMP files made byte by byte: header forms, run-length streams and the files the reader
// must refuse.
#include <gtest/gtest.h>

#include "media/raster_image.h"
#include "tests/media/magick.h"

using magick::Bytes;

namespace {

void Put16(Bytes& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct BmpSpec {
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bits = 8;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::int32_t pelsPerMeter = 3780;
    bool fileHeader = true;
    Bytes palette; // as stored: 4 bytes an entry
    Bytes extra;   // after the info header (bit-field masks)
    Bytes pixels;
};

Bytes Build(const BmpSpec& s)
{
    Bytes info;
    Put32(info, 40);
    Put32(info, std::uint32_t(s.width));
    Put32(info, std::uint32_t(s.height));
    Put16(info, 1);
    Put16(info, s.bits);
    Put32(info, s.compression);
    Put32(info, std::uint32_t(s.pixels.size()));
    Put32(info, std::uint32_t(s.pelsPerMeter));
    Put32(info, std::uint32_t(s.pelsPerMeter));
    Put32(info, s.colorsUsed);
    Put32(info, 0);
    Bytes out;
    const std::uint32_t offset = 14 + 40 + std::uint32_t(s.extra.size() + s.palette.size());
    if (s.fileHeader) {
        out = {'B', 'M'};
        Put32(out, std::uint32_t(offset + s.pixels.size()));
        Put32(out, 0);
        Put32(out, offset);
    }
    for (const Bytes* part : {static_cast<const Bytes*>(&info), &s.extra, &s.palette, &s.pixels}) out.insert(out.end(), part->begin(), part->end());
    return out;
}

// Palette entry i is grey i.
Bytes GreyPalette(int n)
{
    Bytes p;
    for (int i = 0; i < n; ++i) p.insert(p.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0});
    return p;
}

// Palette indices of the picture, top row first.
std::vector<int> Indices(const CRasterImage& image)
{
    std::vector<int> out;
    for (int y = image.Height() - 1; y >= 0; --y)
        for (int x = 0; x < image.Width(); ++x) out.push_back(image.PixelIndexAt(x, y));
    return out;
}

std::unique_ptr<CRasterImage> Load(const Bytes& file)
{
    auto image = std::make_unique<CRasterImage>();
    EXPECT_TRUE(image->LoadMemory(file.data(), file.size(), kFormatBmp)) << image->LastError();
    return image;
}

TEST(BmpCodec, Rle8Streams)
{
    struct Case {
        const char* what;
        Bytes stream;
        std::vector<int> indices; // 4 × 2, top row first
    } cases[] = {
        {"three bytes then end", {0x03, 0x41, 0x00, 0x00, 0x00, 0x01}, {0, 0, 0, 0, 0x41, 0x41, 0x41, 0}},
        {"literal with pad, then a run", {0x00, 0x03, 1, 2, 3, 0x00, 0x01, 9, 0x00, 0x01}, {0, 0, 0, 0, 1, 2, 3, 9}},
        {"runs past the row are clipped", {0x0A, 7, 0x00, 0x00, 0x02, 5, 0x00, 0x01}, {5, 5, 0, 0, 7, 7, 7, 7}},
        {"delta", {0x00, 0x02, 0x02, 0x01, 0x01, 6, 0x00, 0x01}, {0, 0, 6, 0, 0, 0, 0, 0}},
        {"delta past the last row ends it", {0x00, 0x02, 0x00, 0xFF, 0x04, 3}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"no end-of-bitmap code", {0x02, 8, 0x00, 0x04, 1, 2}, {0, 0, 0, 0, 8, 8, 1, 2}},
        {"literal cut short", {0x00, 0x05, 4, 4}, {0, 0, 0, 0, 4, 4, 0, 0}},
    };
    for (const Case& c : cases) {
        BmpSpec s;
        s.compression = 1;
        s.palette = GreyPalette(256);
        s.pixels = c.stream;
        auto image = Load(Build(s));
        EXPECT_EQ(Indices(*image), c.indices) << c.what;
    }
}

TEST(BmpCodec, Rle4RunsAlternateFromTheirFirstNibble)
{
    // 03 12: 1 2 1; 02 34 starts at an odd pixel: 3 4; absolute 3 pixels use 2 bytes
    // without a pad; absolute 5 pixels use 3 bytes and a pad.
    BmpSpec s;
    s.width = 13;
    s.height = 1;
    s.bits = 4;
    s.compression = 2;
    s.palette = GreyPalette(16);
    s.pixels = {0x03, 0x12, 0x02, 0x34, 0x00, 0x03, 0xAB, 0xC0, 0x00, 0x05, 0x56, 0x78, 0x90, 0x00, 0x00, 0x01};
    Bytes file = Build(s);
    auto image = Load(file);
    EXPECT_EQ(Indices(*image), (std::vector<int>{1, 2, 1, 3, 4, 0xA, 0xB, 0xC, 5, 6, 7, 8, 9}));

    // ImageMagick reads the same stream the same way.
    std::string path = magick::Dir() + "rle4.bmp";
    magick::WriteFile(path, file);
    EXPECT_EQ(magick::Pixels(path, "rgb"), magick::PixelsOf(*image, false));
}

TEST(BmpCodec, HeaderForms)
{
    // A bare DIB: no file header, pixels right after a palette of colours-used entries.
    BmpSpec bare;
    bare.fileHeader = false;
    bare.colorsUsed = 2;
    bare.palette = {0, 0, 255, 0, 255, 0, 0, 0};
    bare.pixels = {1, 0, 1, 1, 0, 1, 0, 0};
    auto image = Load(Build(bare));
    EXPECT_EQ(Indices(*image), (std::vector<int>{0, 1, 0, 0, 1, 0, 1, 1}));
    EXPECT_EQ(image->PaletteEntryAt(0), (ColorQuad{0, 0, 255, 0}));
    EXPECT_EQ(image->PaletteEntryAt(2), ColorQuad());
    EXPECT_EQ(image->XDpi(), 96);
    EXPECT_EQ(image->Header().xPelsPerMeter, 3780);

    // An OS/2 core header: 16-bit sizes and 3-byte palette entries.
    Bytes core = {'B', 'M'};
    Put32(core, 0);
    Put32(core, 0);
    Put32(core, 14 + 12 + 6);
    Put32(core, 12);
    Put16(core, 3);
    Put16(core, 1);
    Put16(core, 1);
    Put16(core, 1);
    core.insert(core.end(), {10, 20, 30, 40, 50, 60, 0xA0, 0, 0, 0});
    auto os2 = Load(core);
    EXPECT_EQ(os2->BitCount(), 1);
    EXPECT_EQ(os2->PaletteEntryAt(1), (ColorQuad{40, 50, 60, 0}));
    EXPECT_EQ(Indices(*os2), (std::vector<int>{1, 0, 1}));

    // 16-bit without masks is 5-5-5.
    BmpSpec sixteen;
    sixteen.width = 2;
    sixteen.height = 1;
    sixteen.bits = 16;
    sixteen.pixels = {0x00, 0x7C, 0xE0, 0x03};
    auto rgb555 = Load(Build(sixteen));
    EXPECT_EQ(rgb555->BitCount(), 24);
    EXPECT_EQ(rgb555->PixelColorAt(0, 0), (ColorQuad{0, 0, 0xF8, 0}));
    EXPECT_EQ(rgb555->PixelColorAt(1, 0), (ColorQuad{0, 0xF8, 0, 0}));

    // A 40-byte header followed by masks, without a file header: the pixels follow the masks.
    sixteen.fileHeader = false;
    sixteen.compression = 3;
    Bytes masks;
    for (std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) Put32(masks, m);
    sixteen.extra = masks;
    sixteen.pixels = {0xE0, 0x07, 0x1F, 0x00};
    auto rgb565 = Load(Build(sixteen));
    EXPECT_EQ(rgb565->PixelColorAt(0, 0), (ColorQuad{0, 0xFC, 0, 0}));
    EXPECT_EQ(rgb565->PixelColorAt(1, 0), (ColorQuad{0xF8, 0, 0, 0}));
}

TEST(BmpCodec, ShortPixelDataLoadsWhatIsThere)
{
    BmpSpec s;
    s.width = 2;
    s.height = 3;
    s.bits = 24;
    s.pixels = {1, 2, 3, 4, 5, 6, 0, 0}; // the first (bottom) row only
    auto image = Load(Build(s));
    EXPECT_EQ(image->PixelColorAt(1, 0), (ColorQuad{4, 5, 6, 0}));
    EXPECT_EQ(image->PixelColorAt(1, 2), ColorQuad());
}

TEST(BmpCodec, BadFilesAreRefusedWithTheirMessage)
{
    auto with = [](auto change) {
        BmpSpec s;
        s.palette = GreyPalette(256);
        s.pixels = Bytes(8, 1);
        change(s);
        return Build(s);
    };
    Bytes shortInfo = with([](BmpSpec&) {});
    shortInfo.resize(14 + 3);
    Bytes oddInfo = with([](BmpSpec&) {});
    oddInfo[14] = 20;
    Bytes noMasks = with([](BmpSpec& s) { s.bits = 16; s.compression = 3; s.palette.clear(); s.pixels.clear(); });
    struct Case {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"too short", {'B', 'M', 0, 0}, "Not a BMP"},
        {"info header cut", shortInfo, "Error reading BMP info"},
        {"unknown info header size", oddInfo, "Error reading BMP info"},
        {"zero width", with([](BmpSpec& s) { s.width = 0; }), "Error reading BMP info"},
        {"top-down", with([](BmpSpec& s) { s.height = -2; }), "Top-down bitmaps are not supported"},
        {"2-bit", with([](BmpSpec& s) { s.bits = 2; }), "bit count not supported"},
        {"RLE4 on 8-bit", with([](BmpSpec& s) { s.compression = 2; }), "compression type not supported"},
        {"bit fields on 8-bit", with([](BmpSpec& s) { s.compression = 3; }), "compression type not supported"},
        {"RLE8 on 24-bit", with([](BmpSpec& s) { s.bits = 24; s.compression = 1; }), "unknown compression"},
        {"JPEG inside", with([](BmpSpec& s) { s.bits = 32; s.compression = 4; }), "unknown compression"},
        {"huge", with([](BmpSpec& s) { s.width = 40000; s.height = 40000; s.bits = 24; }), "Can't allocate memory"},
        {"masks missing", noMasks, "Error reading BMP info"},
    };
    for (const Case& c : cases) {
        CRasterImage image;
        EXPECT_FALSE(image.LoadMemory(c.file.data(), c.file.size(), kFormatBmp)) << c.what;
        EXPECT_EQ(image.LastError(), c.message) << c.what;
        EXPECT_FALSE(image.IsValid()) << c.what;
    }
}

TEST(BmpCodec, WritesTheDibAsItStands)
{
    CRasterImage image;
    image.Allocate(3, 2, 4, kFormatBmp);
    image.PutPaletteColor(2, 1, 2, 3);
    image.PutPixelIndex(2, 1, 2);
    image.SetHorizontalDpi(96);
    Bytes out;
    ASSERT_TRUE(image.SaveMemory(out, kFormatBmp));
    ASSERT_EQ(out.size(), 14u + image.DibBytes());
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[10], 14 + 40 + 64); // pixel offset
    EXPECT_EQ(out[14 + 24], 3780 & 0xFF); // horizontal pixels per metre
    auto back = Load(out);
    EXPECT_EQ(back->PixelColorAt(2, 1), (ColorQuad{3, 2, 1, 0}));
    EXPECT_EQ(back->XDpi(), 96);
}

} // namespace
