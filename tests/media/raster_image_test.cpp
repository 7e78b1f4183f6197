#include <gtest/gtest.h>

#include <cstring>

#include "media/image_stream.h"
#include "media/raster_image.h"
#include "platform/base/system.h"

namespace {

TEST(RasterImage, StartsEmptyWithItsDefaults)
{
    CRasterImage image(kFormatPng);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.PixelBits(), nullptr);
    EXPECT_EQ(image.PaletteAddress(), nullptr);
    EXPECT_EQ(image.PixelIndexAt(0, 0), 0);
    EXPECT_EQ(image.Format(), kFormatPng);
    EXPECT_EQ(image.JpegQuality(), 75);
    EXPECT_EQ(image.AlphaMax(), 255);
    EXPECT_EQ(image.TransparentIndex(), -1);
    EXPECT_TRUE(image.IsEnabled());
    EXPECT_EQ(image.XDpi(), 72);
    EXPECT_EQ(image.Header().xPelsPerMeter, 2835);
    EXPECT_EQ(image.Header().size, 40u);
    EXPECT_FALSE(image.MirrorHorizontally());
}

TEST(RasterImage, AllocateRoundsTheBitCountAndPadsRows)
{
    struct Case {
        int width, bits;
        int bitCount, rowBytes, colors;
        std::uint8_t colorType;
    } cases[] = {
        {5, 0, 1, 4, 2, kColorIndexed},   {33, 1, 1, 8, 2, kColorIndexed},  {5, 2, 4, 4, 16, kColorIndexed},
        {9, 4, 4, 8, 16, kColorIndexed},  {5, 8, 8, 8, 256, kColorIndexed}, {1, 16, 24, 4, 0, kColorTrue},
        {3, 24, 24, 12, 0, kColorTrue},   {2, 32, 24, 8, 0, kColorTrue},
    };
    for (const Case& c : cases) {
        CRasterImage image;
        ASSERT_NE(image.Allocate(c.width, 3, c.bits, kFormatJpeg), nullptr);
        EXPECT_EQ(image.BitCount(), c.bitCount) << c.width << "x" << c.bits;
        EXPECT_EQ(image.RowBytes(), c.rowBytes) << c.width << "x" << c.bits;
        EXPECT_EQ(image.Header().colorsUsed, std::uint32_t(c.colors));
        EXPECT_EQ(image.ColorType(), c.colorType);
        EXPECT_EQ(image.Header().imageSize, std::uint32_t(c.rowBytes * 3));
        EXPECT_EQ(image.DibBytes(), 40u + c.colors * 4u + c.rowBytes * 3u);
        EXPECT_EQ(image.Format(), kFormatJpeg);
        EXPECT_EQ(image.PixelBits(), image.Dib() + 40 + c.colors * 4);
        // The block starts with the header as it is stored.
        EXPECT_EQ(DibHeader::Load(image.Dib()).bitCount, c.bitCount);
    }
}

TEST(RasterImage, RefusesSizesBeyondTheLimits)
{
    CRasterImage image;
    EXPECT_EQ(image.Allocate(0, 5, 8, kFormatBmp), nullptr);
    EXPECT_EQ(image.Allocate(5, -1, 8, kFormatBmp), nullptr);
    EXPECT_EQ(image.Allocate(CRasterImage::kMaxSide + 1, 1, 1, kFormatBmp), nullptr);
    EXPECT_EQ(image.Allocate(60000, 60000, 24, kFormatBmp), nullptr); // 10 GiB
    EXPECT_FALSE(image.IsValid());
    EXPECT_NE(image.Allocate(CRasterImage::kMaxSide, 1, 24, kFormatBmp), nullptr);
}

TEST(RasterImage, PixelIndicesPackAsTheDibDoes)
{
    CRasterImage one;
    one.Allocate(10, 2, 1, kFormatBmp);
    one.PutPixelIndex(0, 1, 1);
    one.PutPixelIndex(9, 1, 1);
    EXPECT_EQ(one.Row(1)[0], 0x80);
    EXPECT_EQ(one.Row(1)[1], 0x40);
    EXPECT_EQ(one.PixelIndexAt(9, 1), 1);
    EXPECT_EQ(one.PixelIndexAt(8, 1), 0);

    CRasterImage four;
    four.Allocate(3, 1, 4, kFormatBmp);
    four.PutPixelIndex(0, 0, 0xA);
    four.PutPixelIndex(1, 0, 0x5);
    four.PutPixelIndex(2, 0, 0xF);
    EXPECT_EQ(four.Row(0)[0], 0xA5);
    EXPECT_EQ(four.Row(0)[1], 0xF0);
    EXPECT_EQ(four.PixelIndexAt(1, 0), 5);

    // Outside the picture: the transparent index when there is one; writes are dropped.
    EXPECT_EQ(four.PixelIndexAt(3, 0), 0);
    four.SetTransparentIndex(7);
    EXPECT_EQ(four.PixelIndexAt(-1, 0), 7);
    four.PutPixelIndex(3, 0, 1);
    four.PutPixelIndex(0, 1, 1);
    EXPECT_EQ(four.Row(0)[1], 0xF0);
}

TEST(RasterImage, PaletteOperations)
{
    CRasterImage image;
    image.Allocate(2, 2, 4, kFormatBmp);
    image.MakeGreyRamp();
    EXPECT_EQ(image.PaletteEntryAt(1), (ColorQuad{17, 17, 17, 0}));
    EXPECT_EQ(image.PaletteEntryAt(15), (ColorQuad{255, 255, 255, 0}));
    EXPECT_FALSE(image.HasGreyRamp()); // a ramp of 17s is not the exact (i, i, i) ramp
    EXPECT_EQ(image.PaletteEntryAt(16), ColorQuad());

    const std::uint8_t red[] = {10, 20, 30};
    image.LoadPaletteChannels(3, red, nullptr, nullptr);
    EXPECT_EQ(image.PaletteEntryAt(2), (ColorQuad{30, 30, 30, 0}));
    const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6};
    image.LoadPaletteTriplets(rgb, 2);
    EXPECT_EQ(image.PaletteEntryAt(1), (ColorQuad{6, 5, 4, 0}));
    std::uint8_t r, g, b;
    EXPECT_TRUE(image.PaletteRgbAt(0, r, g, b));
    EXPECT_EQ(r * 10000 + g * 100 + b, 10203);
    EXPECT_FALSE(image.PaletteRgbAt(16, r, g, b));
    EXPECT_FALSE(image.PaletteHasAlpha());
    image.PutPaletteColor(3, 0, 0, 0, 9);
    EXPECT_TRUE(image.PaletteHasAlpha());

    // Ties keep the lower index; an exact match returns at once; nothing near gives 0.
    CRasterImage pal;
    pal.Allocate(2, 2, 8, kFormatBmp);
    for (std::uint32_t i = 0; i < 256; ++i) pal.PutPaletteColor(i, 255, 255, 255);
    pal.PutPaletteColor(4, 100, 0, 0);
    pal.PutPaletteColor(9, 100, 0, 0);
    pal.PutPaletteColor(12, 0, 0, 0);
    EXPECT_EQ(pal.NearestPaletteIndex(ColorQuad{0, 0, 101, 0}), 4);
    EXPECT_EQ(pal.NearestPaletteIndex(ColorQuad{1, 0, 0, 0}), 12);
    CRasterImage far;
    far.Allocate(1, 1, 1, kFormatBmp);
    far.PutPaletteColor(0, 255, 255, 255);
    far.PutPaletteColor(1, 255, 255, 255);
    EXPECT_EQ(far.NearestPaletteIndex(ColorQuad{0, 0, 0, 0}), 0);

    CRasterImage grey;
    grey.Allocate(2, 2, 8, kFormatBmp);
    grey.MakeGreyRamp();
    EXPECT_TRUE(grey.HasGreyRamp());
}

TEST(RasterImage, ExchangePaletteEntriesRenumbersThePixels)
{
    CRasterImage image;
    image.Allocate(3, 1, 4, kFormatBmp);
    image.PutPaletteColor(0, 1, 1, 1);
    image.PutPaletteColor(5, 5, 5, 5);
    image.PutPixelIndex(0, 0, 5);
    image.PutPixelIndex(1, 0, 0);
    image.PutPixelIndex(2, 0, 3);
    image.ExchangePaletteEntries(0, 5);
    EXPECT_EQ(image.PaletteEntryAt(0), (ColorQuad{5, 5, 5, 0}));
    EXPECT_EQ(image.PixelIndexAt(0, 0), 0);
    EXPECT_EQ(image.PixelIndexAt(1, 0), 5);
    EXPECT_EQ(image.PixelIndexAt(2, 0), 3);
    EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{5, 5, 5, 0}));
}

TEST(RasterImage, TrueColourPixels)
{
    CRasterImage image;
    image.Allocate(2, 2, 24, kFormatBmp);
    image.SetTransparentColor(ColorQuad{1, 2, 3, 77});
    image.PutPixelColorRef(1, 0, plat::Rgb(10, 20, 30));
    EXPECT_EQ(image.PixelColorAt(1, 0), (ColorQuad{30, 20, 10, 77}));
    EXPECT_EQ(image.PixelColorAt(5, 0), (ColorQuad{1, 2, 3, 77}));
    EXPECT_EQ(image.TransparentColor(), (ColorQuad{1, 2, 3, 77}));
    std::uint8_t row[7] = {1, 2, 3, 4, 5, 6, 7};
    image.SwapRedBlue(row, sizeof row); // only whole groups within the row length
    EXPECT_EQ(std::vector<std::uint8_t>(row, row + 7), (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4, 7}));

    CRasterImage pal;
    pal.Allocate(2, 2, 8, kFormatBmp);
    pal.PutPaletteColor(3, 9, 8, 7);
    pal.SetTransparentIndex(3);
    EXPECT_EQ(pal.TransparentColor(), (ColorQuad{7, 8, 9, 0}));
    pal.PutPixelColor(0, 0, ColorQuad{7, 8, 9, 0});
    EXPECT_EQ(pal.PixelIndexAt(0, 0), 3);
}

TEST(RasterImage, MirrorHorizontallyReversesRowsAndAlpha)
{
    for (int bits : {1, 4, 8, 24}) {
        CRasterImage image;
        image.Allocate(5, 2, bits, kFormatBmp);
        image.CreateAlpha();
        for (int x = 0; x < 5; ++x) {
            if (bits == 24) image.PutPixelColor(x, 1, ColorQuad{std::uint8_t(x), 0, 0, 0});
            else image.PutPixelIndex(x, 1, std::uint8_t(x == 0 ? 1 : 0));
            image.PutAlpha(x, 1, std::uint8_t(x * 10));
        }
        ASSERT_TRUE(image.MirrorHorizontally());
        if (bits == 24) EXPECT_EQ(image.PixelColorAt(0, 1).blue, 4);
        else EXPECT_EQ(image.PixelIndexAt(4, 1), 1) << bits;
        EXPECT_EQ(image.PixelIndexAt(0, 1), 0);
        EXPECT_EQ(image.AlphaAt(0, 1), 40);
        EXPECT_EQ(image.BitCount(), bits);
    }
}

TEST(RasterImage, ExpandPackedPixelsWidensInPlace)
{
    // Two 16-bit pixels a row, 5-6-5: pure red and pure blue, and a 5-5-5 white.
    CRasterImage image;
    image.Allocate(2, 2, 24, kFormatBmp);
    std::uint8_t* bits = image.PixelBits();
    const std::uint8_t packed[] = {0x00, 0xF8, 0x1F, 0x00, 0xFF, 0xFF, 0x00, 0x00};
    std::memcpy(bits, packed, 4);
    std::memcpy(bits + 4, packed + 4, 4);
    image.ExpandPackedPixels(bits, 0xF800, 0x07E0, 0x001F, 16);
    EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{0, 0, 0xF8, 0}));
    EXPECT_EQ(image.PixelColorAt(1, 0), (ColorQuad{0xF8, 0, 0, 0}));
    EXPECT_EQ(image.PixelColorAt(0, 1), (ColorQuad{0xF8, 0xFC, 0xF8, 0}));

    // Masks outside the pixel, empty or out of order give what they select, never a
    // shift past the word.
    std::memcpy(bits, packed, 4);
    std::memcpy(bits + 4, packed + 4, 4);
    image.ExpandPackedPixels(bits, 0, 0xFFFF0000u, 0x000F, 16);
    EXPECT_EQ(image.PixelColorAt(0, 1), (ColorQuad{0xF0, 0, 0, 0}));

    const std::uint8_t quads[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    image.ExpandPackedPixels(quads, 0, 0, 0, 32);
    EXPECT_EQ(image.PixelColorAt(1, 1), (ColorQuad{13, 14, 15, 0}));
}

TEST(RasterImage, AlphaPlane)
{
    CRasterImage image;
    image.Allocate(3, 2, 24, kFormatBmp);
    EXPECT_EQ(image.AlphaAt(0, 0), 0);
    ASSERT_TRUE(image.CreateAlpha());
    EXPECT_EQ(image.ColorType(), kColorTrueAlpha);
    image.FillAlpha(200);
    image.PutAlpha(2, 1, 7);
    image.PutAlpha(3, 1, 9); // outside: dropped
    EXPECT_EQ(image.AlphaAt(2, 1), 7);
    EXPECT_EQ(image.AlphaAt(0, 0), 200);
    EXPECT_EQ(image.AlphaPlane()[5], 7);
    image.DropAlpha();
    EXPECT_EQ(image.ColorType(), kColorTrue);
    EXPECT_FALSE(image.MirrorAlpha());
    image.DropSelection();
    EXPECT_EQ(image.Selection().left, 3u);
    EXPECT_EQ(image.Selection().bottom, 2u);
}

TEST(RasterImage, CopyTakeOverAndBorrow)
{
    CRasterImage source(kFormatPng);
    source.Allocate(4, 3, 8, kFormatPng);
    source.MakeGreyRamp();
    source.PutPixelIndex(1, 1, 77);
    source.CreateAlpha();
    source.PutAlpha(1, 1, 33);
    source.SetTransparentIndex(5);
    source.SetHorizontalDpi(300);

    CRasterImage full(source, true, false, true);
    EXPECT_EQ(full.PixelIndexAt(1, 1), 77);
    EXPECT_EQ(full.AlphaAt(1, 1), 33);
    EXPECT_EQ(full.TransparentIndex(), 5);
    EXPECT_EQ(full.XDpi(), 300);
    EXPECT_EQ(full.Header().xPelsPerMeter, 11811);
    EXPECT_NE(full.Dib(), source.Dib());

    CRasterImage paletteOnly(source, false, false, false);
    EXPECT_EQ(paletteOnly.PixelIndexAt(1, 1), 0);
    EXPECT_EQ(paletteOnly.PaletteEntryAt(200), (ColorQuad{200, 200, 200, 0}));
    EXPECT_FALSE(paletteOnly.HasAlpha());

    {
        CRasterImage borrower;
        borrower.BorrowFrom(full);
        EXPECT_EQ(borrower.Dib(), full.Dib());
        EXPECT_EQ(borrower.Owner(), &full);
        borrower.PutPixelIndex(0, 0, 9);
        borrower.DropAlpha(); // lets go of the owner's plane without freeing it
    }
    EXPECT_EQ(full.PixelIndexAt(0, 0), 9);
    EXPECT_EQ(full.AlphaAt(1, 1), 33);

    CRasterImage taker;
    const std::uint8_t* dib = full.Dib();
    taker.TakeOver(full);
    EXPECT_EQ(taker.Dib(), dib);
    EXPECT_FALSE(full.IsValid());
    EXPECT_EQ(full.Width(), 0);
    EXPECT_EQ(taker.AlphaAt(1, 1), 33);
}

TEST(RasterImage, FromPixelsTurnsTopDownBgraIntoA24BitDib)
{
    // Two rows of three pixels with a padded stride.
    const std::uint32_t px[] = {0xFF112233, 0xFF445566, 0x80778899, 0xDEADBEEF,
                                0xFF000000, 0xFFFFFFFF, 0xFF0000FF, 0xDEADBEEF};
    CRasterImage image;
    ASSERT_TRUE(image.FromPixels(3, 2, px, 16));
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.Format(), kFormatBmp);
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(image.PixelColorAt(0, 1), (ColorQuad{0x33, 0x22, 0x11, 0})); // top row is the last DIB row
    EXPECT_EQ(image.PixelColorAt(2, 1), (ColorQuad{0x99, 0x88, 0x77, 0}));
    EXPECT_EQ(image.PixelColorAt(2, 0), (ColorQuad{0xFF, 0, 0, 0}));
    EXPECT_FALSE(image.FromPixels(3, 2, px, 8)); // stride shorter than a row
    EXPECT_FALSE(image.IsValid());
    EXPECT_FALSE(image.FromPixels(3, 2, nullptr, 16));
    EXPECT_FALSE(image.FromPixels(3, 0, px, 16));
    EXPECT_EQ(image.LastError(), "Bad bitmap");
}

TEST(RasterImage, UnsupportedFormatsAreRefusedWithTheirMessage)
{
    CRasterImage image;
    image.Allocate(2, 2, 24, kFormatBmp);
    const std::uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    for (std::uint32_t format : {7u, 8u}) {
        EXPECT_FALSE(image.LoadMemory(gif, sizeof gif, format));
        EXPECT_EQ(image.LastError(), "Unsupported operation for this format");
        EXPECT_TRUE(image.IsValid()); // the previous picture stays
    }
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(image.SaveMemory(out, kFormatPcx));
    EXPECT_EQ(image.LastError(), "Unsupported operation for this format");
    CRasterImage empty;
    EXPECT_FALSE(empty.SaveMemory(out, kFormatBmp));
}

TEST(RasterImage, AFailedReadLeavesThePictureAndSetsOnlyTheError)
{
    CRasterImage image;
    image.Allocate(3, 3, 8, kFormatBmp);
    image.PutPixelIndex(1, 1, 42);
    const std::uint8_t junk[] = {'B', 'M', 1, 2, 3};
    EXPECT_FALSE(image.LoadMemory(junk, sizeof junk, kFormatBmp));
    EXPECT_EQ(image.LastError(), "Not a BMP");
    EXPECT_EQ(image.PixelIndexAt(1, 1), 42);
    EXPECT_EQ(image.Format(), kFormatBmp);
}

TEST(RasterImage, LoadAndSaveFiles)
{
    const std::string dir = plat::TempDirUtf8();
    CRasterImage image;
    image.Allocate(7, 5, 24, kFormatBmp);
    image.PutPixelColor(6, 4, ColorQuad{1, 2, 3, 0});
    const plat::String path = plat::Utf8ToUtf16(dir + "save-load-图.bmp");
    ASSERT_TRUE(image.SaveFile(path, kFormatBmp));
    CRasterImage back(path, kFormatBmp);
    ASSERT_TRUE(back.IsValid()) << back.LastError();
    EXPECT_EQ(back.PixelColorAt(6, 4), (ColorQuad{1, 2, 3, 0}));

    // The 8-bit form of a path is code page 936.
    CRasterImage narrow;
    std::string path936 = plat::Utf16ToCp936(path);
    EXPECT_TRUE(narrow.LoadFile(std::string_view(path936), kFormatBmp));

    CRasterImage missing;
    EXPECT_FALSE(missing.LoadFile(plat::Utf8ToUtf16(dir + "no-such.bmp"), kFormatBmp));
    EXPECT_TRUE(missing.LastError().empty());
    EXPECT_FALSE(image.SaveFile(plat::Utf8ToUtf16(dir + "no-such-folder/x.bmp"), kFormatBmp));
}

} // namespace
