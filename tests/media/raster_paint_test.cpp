// Raster images on the drawing layer: painting (stretched and key-coloured), images made
// from bitmaps, JPEG files saved from bitmaps, and the picture wrapper.
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

#include "media/jpeg_file_saver.h"
#include "media/raster_image.h"
#include "media/raster_picture.h"
#include "platform/gfx/bitmap.h"
#include "tests/media/magick.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Rgb;
using namespace testsupport;

constexpr plat::ColorRef kGreen = kLime;

// A 3 × 2 palette image: the top row (as shown) blue, green, blue; the bottom row black,
// green, black. Palette 0 black, 1 blue, 2 green.
std::unique_ptr<CRasterImage> SmallPalette()
{
    auto image = std::make_unique<CRasterImage>(kFormatBmp);
    EXPECT_TRUE(image->Allocate(3, 2, 8, kFormatBmp));
    image->PutPaletteColor(1, 0, 0, 255);
    image->PutPaletteColor(2, 0, 255, 0);
    // y counts from the DIB's first row, the bottom of the picture.
    const std::uint8_t rows[2][3] = {{0, 2, 0}, {1, 2, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) image->PutPixelIndex(x, y, rows[y][x]);
    return image;
}

TEST(RasterPaint, StretchesTheWholeImageOrDrawsItAtItsOwnSize)
{
    auto image = SmallPalette();
    Canvas page(8, 6, kWhite);
    EXPECT_EQ(image->Paint(&page.dc, 1, 1, 6, 4), 1);
    EXPECT_EQ(page.At(1, 1), kBlue);
    EXPECT_EQ(page.At(2, 2), kBlue);
    EXPECT_EQ(page.At(3, 1), kGreen);
    EXPECT_EQ(page.At(6, 4), kBlack);
    EXPECT_EQ(page.At(0, 0), kWhite);
    EXPECT_EQ(page.At(7, 5), kWhite);

    Canvas natural(8, 6, kWhite);
    EXPECT_EQ(image->Paint(&natural.dc, 2, 0, -1, -1), 1);
    EXPECT_EQ(natural.At(2, 0), kBlue);
    EXPECT_EQ(natural.At(4, 1), kBlack);
    EXPECT_EQ(natural.At(5, 0), kWhite);
    EXPECT_EQ(natural.At(2, 2), kWhite);
}

TEST(RasterPaint, RefusesWhatItCannotDraw)
{
    Canvas page(4, 4, kWhite);
    CRasterImage empty(kFormatBmp);
    EXPECT_EQ(empty.Paint(&page.dc, 0, 0, 4, 4), 0);
    auto image = SmallPalette();
    EXPECT_EQ(image->Paint(nullptr, 0, 0, 4, 4), 0);
    EXPECT_EQ(image->Paint(&page.dc, 0, 0, 0, 4), 0);
    EXPECT_EQ(image->Paint(&page.dc, 0, 0, 4, 0), 0);
    image->SetEnabled(false);
    EXPECT_EQ(image->Paint(&page.dc, 0, 0, 4, 4), 0);
    EXPECT_EQ(page.At(0, 0), kWhite);
}

TEST(RasterPaint, KeyColourLeavesTheDestinationAsItWas)
{
    auto image = SmallPalette();
    image->SetTransparentIndex(2); // green
    Canvas page(6, 4, kRed);
    // Colours the caller left on the DC must neither spoil the mask nor be lost.
    page.dc.SetTextColor(kGreen);
    page.dc.SetBkColor(kBlue);
    EXPECT_EQ(image->Paint(&page.dc, 0, 0, 6, 4), 1);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(page.At(2, y), kRed) << y;
        EXPECT_EQ(page.At(3, y), kRed) << y;
    }
    EXPECT_EQ(page.At(0, 0), kBlue);
    EXPECT_EQ(page.At(5, 1), kBlue);
    EXPECT_EQ(page.At(0, 2), kBlack);
    EXPECT_EQ(page.dc.GetTextColor(), kGreen);
    EXPECT_EQ(page.dc.GetBkColor(), kBlue);

    // Off the page: drawn as far as there is anything to draw, which is nothing.
    EXPECT_EQ(image->Paint(&page.dc, 100, 100, 6, 4), 1);

    // A 24-bit image keys on its transparent colour.
    CRasterImage rgb(kFormatBmp);
    ASSERT_TRUE(rgb.FromPixels(2, 1, std::vector<std::uint32_t>{0x00FF00, 0x0000FF}.data(), 8));
    rgb.SetTransparentIndex(0);
    rgb.SetTransparentColor(ColorQuad{0, 255, 0, 0});
    Canvas strip(2, 1, kRed);
    EXPECT_EQ(rgb.Paint(&strip.dc, 0, 0, 2, 1), 1);
    EXPECT_EQ(strip.At(0, 0), kRed);
    EXPECT_EQ(strip.At(1, 0), kBlue);
}

TEST(RasterPaint, ImagesFromBitmapsKeepEveryPixel)
{
    auto bitmap = plat::Bitmap::Create(5, 3);
    bitmap->Fill(kWhite);
    bitmap->SetPixel(0, 0, kRed);
    bitmap->SetPixel(4, 2, kBlue);
    bitmap->SetPixel(2, 1, Rgb(1, 2, 3));
    CRasterImage image(kFormatPng);
    ASSERT_TRUE(image.FromBitmap(bitmap.get()));
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.Format(), kFormatBmp);
    // The DIB's first row is the bitmap's last.
    EXPECT_EQ(image.PixelColorAt(0, 2), (ColorQuad{0, 0, 255, 0}));
    EXPECT_EQ(image.PixelColorAt(4, 0), (ColorQuad{255, 0, 0, 0}));
    EXPECT_EQ(image.PixelColorAt(2, 1), (ColorQuad{3, 2, 1, 0}));
    // And back onto a page, the same.
    Canvas page(5, 3, kBlack);
    EXPECT_EQ(image.Paint(&page.dc, 0, 0, -1, -1), 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(page.At(x, y), bitmap->GetPixel(x, y)) << x << "," << y;

    EXPECT_FALSE(image.FromBitmap(nullptr));
    EXPECT_FALSE(image.IsValid());
}

TEST(RasterPaint, SavedBitmapsAreColourJpegsOfQuality75)
{
    auto bitmap = plat::Bitmap::Create(64, 40);
    plat::MemoryDc dc;
    bitmap->Fill(kWhite);
    dc.Select(bitmap.get());
    dc.FillRect(plat::Rect(8, 8, 40, 30), plat::Brush::Solid(kRed));
    const std::string path = magick::Dir() + "saved-bitmap.jpg";
    CJpegFileSaver saver;
    ASSERT_TRUE(saver.SaveBitmap(plat::Utf8ToUtf16(path), bitmap.get()));
    EXPECT_EQ(magick::Identify("%m %wx%h %[colorspace] %[channels] %z %Q", path), "JPEG 64x40 sRGB srgb 8 75");
    // Read back near enough.
    CRasterImage back(kFormatJpeg);
    ASSERT_TRUE(back.LoadFile(plat::Utf8ToUtf16(path), kFormatJpeg));
    const ColorQuad inside = back.PixelColorAt(20, 40 - 1 - 20);
    EXPECT_GT(inside.red, 230);
    EXPECT_LT(inside.green, 30);

    const std::string none = magick::Dir() + "no-bitmap.jpg";
    EXPECT_FALSE(saver.SaveBitmap(plat::Utf8ToUtf16(none), nullptr));
    struct stat st{};
    EXPECT_NE(::stat(none.c_str(), &st), 0);
}

TEST(RasterPicture, RecognisesExactlyItsSevenExtensions)
{
    const struct {
        const char* path;
        int format;
    } cases[] = {
        {"a.bmp", kFormatBmp}, {"A.GIF", kFormatGif}, {"x/y.jpg", kFormatJpeg}, {"p.JPG", kFormatJpeg},
        {"t.tga", kFormatTga}, {"q.Png", kFormatPng}, {"r.pcx", kFormatPcx},   {"i.ico", kFormatIco},
        {"photo.jpeg", -1},    {"png", -1},           {".bm", -1},             {"", -1},
        {"a.bmp ", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(CRasterPicture::FormatFromPath(c.path), c.format) << c.path;
}

TEST(RasterPicture, LoadsReplacesAndEmpties)
{
    const std::string png = magick::Make("wrapper.png", "{base} PNG24:{out}");
    const std::string bmp = magick::Make("wrapper.bmp", "-size 5x4 xc:blue BMP3:{out}");
    CRasterPicture picture;
    EXPECT_EQ(picture.Draw(nullptr, 0, 0, 1, 1), 0);
    ASSERT_EQ(picture.Load(png), 1);
    EXPECT_EQ(picture.Width(), 37);
    EXPECT_EQ(picture.Height(), 23);
    ASSERT_EQ(picture.Load(bmp), 1);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 4);

    // An unknown extension changes nothing; a known one that fails empties the wrapper.
    EXPECT_EQ(picture.Load(png + ".jpeg"), 0);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Load(magick::Dir() + "missing.png"), 0);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Image(), nullptr);

    ASSERT_EQ(picture.Load(bmp), 1);
    EXPECT_EQ(picture.Release(), 0);
    EXPECT_EQ(picture.Height(), 0);
}

TEST(RasterPicture, DrawsAtItsNaturalSizeForNegativeExtents)
{
    const std::string bmp = magick::Make("wrapper.bmp", "-size 5x4 xc:blue BMP3:{out}");
    CRasterPicture picture;
    ASSERT_EQ(picture.Load(bmp), 1);
    Canvas page(10, 10, kWhite);
    EXPECT_EQ(picture.Draw(&page.dc, 1, 1, -1, 8), 1);
    EXPECT_EQ(page.At(1, 1), kBlue);
    EXPECT_EQ(page.At(5, 8), kBlue);
    EXPECT_EQ(page.At(6, 1), kWhite);
    EXPECT_EQ(page.At(1, 9), kWhite);
    // Without a DC there is nothing to draw on, and that is not reported.
    EXPECT_EQ(picture.Draw(nullptr, 0, 0, 5, 4), 1);
}

TEST(RasterPicture, UnreadableFilesAreRefused)
{
    const std::string junk = magick::Dir() + "junk.png";
    magick::WriteFile(junk, magick::Bytes(300, 0x5A));
    CRasterPicture picture;
    EXPECT_EQ(picture.Load(junk), 0);
    EXPECT_EQ(picture.Width(), 0);
}

} // namespace
