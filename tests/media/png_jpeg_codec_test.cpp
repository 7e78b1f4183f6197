// What the PNG and JPEG codecs add to the libraries: transparency both ways, colour order,
// greyscale, and the libraries' errors kept as the image's last error.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "media/raster_image.h"
#include "tests/media/magick.h"

using magick::Bytes;

namespace {

std::unique_ptr<CRasterImage> Reload(const Bytes& data, std::uint32_t format)
{
    auto image = std::make_unique<CRasterImage>();
    EXPECT_TRUE(image->LoadMemory(data.data(), data.size(), format)) << image->LastError();
    return image;
}

std::string FailureOf(const Bytes& data, std::uint32_t format)
{
    CRasterImage image;
    EXPECT_FALSE(image.LoadMemory(data.data(), data.size(), format));
    EXPECT_FALSE(image.IsValid());
    return image.LastError();
}

TEST(PngCodec, APaletteKeyIsWrittenAsEntryZero)
{
    CRasterImage image;
    image.Allocate(3, 1, 8, kFormatPng);
    for (std::uint32_t i = 0; i < 256; ++i) image.PutPaletteColor(i, std::uint8_t(i), 0, 0);
    image.PutPixelIndex(0, 0, 5);
    image.PutPixelIndex(1, 0, 0);
    image.PutPixelIndex(2, 0, 9);
    image.SetTransparentIndex(5);
    Bytes png;
    ASSERT_TRUE(image.SaveMemory(png, kFormatPng));
    // The image itself now has the key as entry 0, with its pixels renumbered.
    EXPECT_EQ(image.TransparentIndex(), 0);
    EXPECT_EQ(image.PaletteEntryAt(0).red, 5);
    EXPECT_EQ(image.PixelIndexAt(0, 0), 0);
    EXPECT_EQ(image.PixelIndexAt(1, 0), 5);

    auto back = Reload(png, kFormatPng);
    EXPECT_EQ(back->TransparentIndex(), 0);
    EXPECT_FALSE(back->PaletteAlpha());
    EXPECT_EQ(magick::PixelsOf(*back, true), (Bytes{5, 0, 0, 0, 0, 0, 0, 255, 9, 0, 0, 255}));
}

TEST(PngCodec, AColourKeyBecomesAlphaZero)
{
    CRasterImage image;
    image.Allocate(2, 2, 24, kFormatPng);
    image.PutPixelColorRef(0, 0, plat::Rgb(255, 255, 255));
    image.PutPixelColorRef(1, 0, plat::Rgb(1, 2, 3));
    image.PutPixelColorRef(0, 1, plat::Rgb(255, 255, 254));
    image.PutPixelColorRef(1, 1, plat::Rgb(255, 255, 255));
    image.SetTransparentColor(CRasterImage::QuadFromColorRef(plat::Rgb(255, 255, 255)));
    image.SetTransparentIndex(0);
    Bytes png;
    ASSERT_TRUE(image.SaveMemory(png, kFormatPng));
    EXPECT_FALSE(image.HasAlpha()); // the plane made for the write is gone again
    auto back = Reload(png, kFormatPng);
    ASSERT_TRUE(back->HasAlpha());
    EXPECT_EQ(back->AlphaAt(0, 0), 0);
    EXPECT_EQ(back->AlphaAt(1, 0), 255);
    EXPECT_EQ(back->AlphaAt(0, 1), 255);
    EXPECT_EQ(back->AlphaAt(1, 1), 0);
    EXPECT_EQ(back->PixelColorAt(1, 0), (ColorQuad{3, 2, 1, 0}));

    // An existing plane keeps the change, and alphaMax scales what is written.
    image.CreateAlpha();
    image.FillAlpha(200);
    image.SetAlphaMax(128);
    ASSERT_TRUE(image.SaveMemory(png, kFormatPng));
    EXPECT_EQ(image.AlphaAt(0, 0), 0);
    EXPECT_EQ(image.AlphaAt(1, 0), 200);
    EXPECT_EQ(Reload(png, kFormatPng)->AlphaAt(1, 0), 100);
}

TEST(PngCodec, TwoBitGreyWidensToFourBits)
{
    std::string file = magick::Make(
        "grey2.png", "{base} -colorspace Gray -define png:color-type=0 -define png:bit-depth=2 {out}");
    CRasterImage image(plat::Utf8ToUtf16(file), kFormatPng);
    ASSERT_EQ(image.BitCount(), 4);
    for (std::uint32_t i = 0; i < 4; ++i) {
        std::uint8_t v = std::uint8_t(i * 85);
        EXPECT_EQ(image.PaletteEntryAt(i), (ColorQuad{v, v, v, 0}));
    }
}

TEST(PngCodec, LibraryErrorsBecomeTheLastError)
{
    Bytes good;
    {
        CRasterImage image;
        image.Allocate(20, 20, 24, kFormatPng);
        ASSERT_TRUE(image.SaveMemory(good, kFormatPng));
    }
    Bytes notPng = good;
    notPng[1] = 'X';
    EXPECT_EQ(FailureOf(notPng, kFormatPng), "Not a PNG file");
    Bytes cut(good.begin(), good.begin() + 40);
    EXPECT_EQ(FailureOf(cut, kFormatPng), "Read Error");
    Bytes badCrc = good;
    badCrc[8 + 8 + 13] ^= 1; // the header chunk's CRC
    EXPECT_EQ(FailureOf(badCrc, kFormatPng), "IHDR: CRC error");
    // A header that asks for more than a picture may hold; the CRC is fixed by hand.
    Bytes wide = good;
    const std::uint8_t ihdr[] = {'I', 'H', 'D', 'R', 0, 0x01, 0x11, 0x70, 0, 0x01, 0x11, 0x70, 8, 2, 0, 0, 0};
    std::copy(std::begin(ihdr), std::end(ihdr), wide.begin() + 12);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : ihdr) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) wide[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
    EXPECT_EQ(FailureOf(wide, kFormatPng), "Invalid IHDR data");
    EXPECT_EQ(FailureOf({}, kFormatPng), "Read Error");
}

TEST(JpegCodec, ColourComesBackInItsPlace)
{
    CRasterImage image;
    image.Allocate(16, 16, 24, kFormatJpeg);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) image.PutPixelColorRef(x, y, y < 8 ? plat::Rgb(250, 10, 10) : plat::Rgb(10, 10, 250));
    Bytes jpeg;
    ASSERT_TRUE(image.SaveMemory(jpeg, kFormatJpeg));
    auto back = Reload(jpeg, kFormatJpeg);
    EXPECT_EQ(back->BitCount(), 24);
    ColorQuad bottom = back->PixelColorAt(4, 2), top = back->PixelColorAt(4, 13);
    EXPECT_GT(bottom.red, 200);
    EXPECT_LT(bottom.blue, 60);
    EXPECT_GT(top.blue, 200);
    EXPECT_LT(top.red, 60);
}

TEST(JpegCodec, GreyStaysGrey)
{
    CRasterImage image;
    image.Allocate(9, 9, 8, kFormatJpeg);
    image.MakeGreyRamp();
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) image.PutPixelIndex(x, y, std::uint8_t(x * 20));
    Bytes jpeg;
    ASSERT_TRUE(image.SaveMemory(jpeg, kFormatJpeg));
    std::string path = magick::Dir() + "grey-written.jpg";
    magick::WriteFile(path, jpeg);
    EXPECT_EQ(magick::Identify("%[colorspace]", path), "Gray");
    auto back = Reload(jpeg, kFormatJpeg);
    EXPECT_EQ(back->BitCount(), 8);
    EXPECT_TRUE(back->HasGreyRamp());
    EXPECT_NEAR(back->PixelIndexAt(8, 4), 160, 4);
}

TEST(JpegCodec, LibraryErrorsBecomeTheLastError)
{
    EXPECT_EQ(FailureOf({}, kFormatJpeg), "Empty input file");
    EXPECT_EQ(FailureOf({'B', 'M', 1, 2, 3}, kFormatJpeg), "Not a JPEG file: starts with 0x42 0x4d");

    CRasterImage colour;
    colour.Allocate(4, 4, 4, kFormatBmp);
    colour.PutPaletteColor(1, 200, 0, 0);
    Bytes out;
    EXPECT_FALSE(colour.SaveMemory(out, kFormatJpeg));
    EXPECT_EQ(colour.LastError(), "JPEG can save only RGB or GreyScale images");
}

TEST(JpegCodec, TruncatedFilesLoadAndHugeOnesAreRefused)
{
    Bytes jpeg = magick::ReadFile(magick::Make("rgb.jpg", "{base} -quality 90 {out}"));
    ASSERT_GT(jpeg.size(), 400u);
    Bytes half(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() / 2));
    auto cut = Reload(half, kFormatJpeg);
    EXPECT_EQ(cut->Width(), 37);

    // The frame header gives height and width after its length and precision.
    Bytes marker = {0xFF, 0xC0};
    auto at = std::search(jpeg.begin(), jpeg.end(), marker.begin(), marker.end());
    ASSERT_NE(at, jpeg.end());
    at[5] = at[7] = 0xF0; // 61440 × 61440
    at[6] = at[8] = 0x00;
    EXPECT_EQ(FailureOf(jpeg, kFormatJpeg), "JPEG image too large or out of memory");
}

// Small files that declare pictures whose decoding would pass the decode budget (192 MiB
// for the picture, its alpha plane and the library's work): refused with the codec's
// message before anything is decoded, so at once.
TEST(DecodeBudget, BombsAreRefusedBeforeDecodingWithTheCodecsMessage)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    const struct {
        const char* file;
        std::uint32_t format;
        const char* message;
    } kCases[] = {
        {"jpeg_progressive_claims_9000_square.jpg", kFormatJpeg, "JPEG image too large or out of memory"},
        {"jpeg_progressive_cmyk_claims_9000_square.jpg", kFormatJpeg, "JPEG image too large or out of memory"},
        {"jpeg_progressive_grey_claims_9000_square.jpg", kFormatJpeg, "JPEG image too large or out of memory"},
        {"png_rgba_zeros_8000_square.png", kFormatPng, "PNG image too large or out of memory"},
        {"bmp_claims_9000_square_without_pixels.bmp", kFormatBmp, "Can't allocate memory"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.file);
        const Bytes file = magick::ReadFile(std::string(root) + "/images/fail/" + c.file);
        ASSERT_FALSE(file.empty());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(FailureOf(file, c.format), c.message);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    }
}

TEST(DecodeBudget, PicturesWithinTheBudgetStillLoad)
{
    // The grey progressive bomb's frame set to 3000 × 3000: 9 MB of picture beside 18 MB of
    // coefficients.
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    Bytes jpeg = magick::ReadFile(std::string(root) + "/images/fail/jpeg_progressive_grey_claims_9000_square.jpg");
    const Bytes marker = {0xFF, 0xC2};
    auto at = std::search(jpeg.begin(), jpeg.end(), marker.begin(), marker.end());
    ASSERT_NE(at, jpeg.end());
    at[5] = at[7] = 3000 >> 8;
    at[6] = at[8] = 3000 & 0xFF;
    auto image = Reload(jpeg, kFormatJpeg);
    EXPECT_EQ(image->Width(), 3000);
    EXPECT_EQ(image->Height(), 3000);

    // A 2000 × 2000 RGBA PNG, written by the codec: 12 MB of picture and 4 MB of alpha.
    CRasterImage big;
    ASSERT_TRUE(big.Allocate(2000, 2000, 24, kFormatPng));
    ASSERT_TRUE(big.CreateAlpha());
    big.FillAlpha(128);
    Bytes png;
    ASSERT_TRUE(big.SaveMemory(png, kFormatPng));
    auto back = Reload(png, kFormatPng);
    EXPECT_EQ(back->Width(), 2000);
    EXPECT_TRUE(back->HasAlpha());
}

} // namespace
