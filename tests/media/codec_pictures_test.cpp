// Pictures that ImageMagick writes decode to the pixels ImageMagick reads back from them,
// and what our writers produce re-reads identically, both by us and by ImageMagick.
#include <gtest/gtest.h>

#include "media/jpeg_file_saver.h"
#include "media/raster_image.h"
#include "tests/media/magick.h"

using magick::Bytes;

namespace {

struct PictureCase {
    const char* name;   // file name; also names the test
    const char* recipe; // ImageMagick arguments (see magick::Make)
    std::uint32_t format;
    int bitCount;       // of the loaded image
    bool alpha;         // compare alpha too (plane, palette alpha or key index)
    int tolerance;      // largest difference per sample
    int keptBits[3];    // 16-bit BMP files: bits each of red, green and blue keep
    bool highBytes = false; // 16-bit PNG files: each sample is the high byte of the file's
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

constexpr int k8[3] = {8, 8, 8};

const PictureCase kCases[] = {
    {"p1.bmp", "{base} -monochrome BMP3:{out}", kFormatBmp, 1, false, 0, {8, 8, 8}},
    {"p4.bmp", "{base} -colors 16 -compress None BMP3:{out}", kFormatBmp, 4, false, 0, {8, 8, 8}},
    {"p8.bmp", "{base} -colors 200 -compress None BMP3:{out}", kFormatBmp, 8, false, 0, {8, 8, 8}},
    {"p8_v5.bmp", "{base} -colors 200 -compress None BMP:{out}", kFormatBmp, 8, false, 0, {8, 8, 8}},
    {"rle8.bmp", "{base} -colors 200 -compress RLE BMP3:{out}", kFormatBmp, 8, false, 0, {8, 8, 8}},
    {"b24.bmp", "{base} BMP3:{out}", kFormatBmp, 24, false, 0, {8, 8, 8}},
    {"b32.bmp", "{alpha} -define bmp3:alpha=true BMP3:{out}", kFormatBmp, 24, false, 0, {8, 8, 8}},
    {"b32_fields.bmp", "{alpha} BMP:{out}", kFormatBmp, 24, false, 0, {8, 8, 8}},
    {"b565.bmp", "{base} -define bmp:subtype=RGB565 BMP:{out}", kFormatBmp, 24, false, 0, {5, 6, 5}},
    {"b555.bmp", "{base} -define bmp:subtype=RGB555 BMP:{out}", kFormatBmp, 24, false, 0, {5, 5, 5}},
    {"os2_24.bmp", "{base} BMP2:{out}", kFormatBmp, 24, false, 0, {8, 8, 8}},
    {"os2_p4.bmp", "{base} -colors 16 BMP2:{out}", kFormatBmp, 4, false, 0, {8, 8, 8}},
    {"rgb.jpg", "{base} -quality 90 {out}", kFormatJpeg, 24, false, 2, {8, 8, 8}},
    {"grey.jpg", "{base} -colorspace Gray {out}", kFormatJpeg, 8, false, 2, {8, 8, 8}},
    {"progressive.jpg", "{base} -interlace Plane {out}", kFormatJpeg, 24, false, 2, {8, 8, 8}},
    {"pal.png", "{base} -colors 200 PNG8:{out}", kFormatPng, 8, true, 0, {8, 8, 8}},
    {"pal4_interlaced.png", "{base} -colors 16 -interlace PNG -define png:bit-depth=4 PNG8:{out}", kFormatPng, 4,
     true, 0, {8, 8, 8}},
    {"pal_key.png", "{base} -colors 64 -alpha set -channel A -fx 'i>=3&&i<=12&&j>=3&&j<=8?0:1' +channel PNG8:{out}",
     kFormatPng, 8, true, 0, {8, 8, 8}},
    {"pal_alpha.png", "{alpha} -colors 64 -type PaletteAlpha {out}", kFormatPng, 8, true, 0, {8, 8, 8}},
    {"rgba.png", "{alpha} PNG32:{out}", kFormatPng, 24, true, 0, {8, 8, 8}},
    {"rgba_interlaced.png", "{alpha} -interlace PNG PNG32:{out}", kFormatPng, 24, true, 0, {8, 8, 8}},
    {"rgb_interlaced.png", "{base} -interlace PNG PNG24:{out}", kFormatPng, 24, true, 0, {8, 8, 8}},
    {"rgb16.png", "{base} -depth 16 PNG48:{out}", kFormatPng, 24, true, 0, {8, 8, 8}},
    {"grey8.png", "{base} -colorspace Gray -define png:color-type=0 -define png:bit-depth=8 {out}", kFormatPng, 8,
     true, 0, {8, 8, 8}},
    {"grey2.png", "{base} -colorspace Gray -define png:color-type=0 -define png:bit-depth=2 {out}", kFormatPng, 4,
     true, 0, {8, 8, 8}},
    {"grey2_interlaced.png",
     "{base} -colorspace Gray -interlace PNG -define png:color-type=0 -define png:bit-depth=2 {out}", kFormatPng, 4,
     true, 0, {8, 8, 8}},
    {"grey16.png", "{base} -colorspace Gray -depth 16 -define png:bit-depth=16 {out}", kFormatPng, 8, true, 0,
     {8, 8, 8}, true},
    {"grey_alpha16.png", "{alpha} -colorspace Gray -depth 16 -define png:color-type=4 {out}", kFormatPng, 24, true,
     0, {8, 8, 8}, true},
};

std::string CaseName(const testing::TestParamInfo<PictureCase>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

// Keeps the top bits of every sample of a channel, as a 16-bit BMP's decoding does.
Bytes KeepBits(const Bytes& pixels, const int kept[3])
{
    Bytes out = pixels;
    for (size_t i = 0; i < out.size(); ++i) {
        int bits = kept[i % 3];
        out[i] = static_cast<std::uint8_t>(out[i] & (0xFF << (8 - bits)));
    }
    return out;
}

class CodecPictures : public testing::TestWithParam<PictureCase> {};

TEST_P(CodecPictures, DecodesAsImageMagickReadsIt)
{
    const PictureCase& c = GetParam();
    std::string file = magick::Make(c.name, c.recipe);
    CRasterImage image(plat::Utf8ToUtf16(file), c.format);
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_EQ(image.BitCount(), c.bitCount);
    EXPECT_EQ(image.Width(), 37);
    EXPECT_EQ(image.Height(), 23);
    EXPECT_EQ(image.Format(), c.format);

    const std::string map = c.alpha ? "rgba" : "rgb";
    // 16-bit samples lose their low byte, as the library's stripping gives them.
    Bytes theirs = c.highBytes ? magick::HighBytes(magick::Pixels16(file, map)) : magick::Pixels(file, map);
    Bytes ours = magick::PixelsOf(image, c.alpha);
    if (c.keptBits[0] != 8 || c.keptBits[1] != 8 || c.keptBits[2] != 8) {
        // The low bits of a widened channel are zero; ImageMagick may fill them.
        EXPECT_EQ(ours, KeepBits(ours, c.keptBits));
        theirs = KeepBits(theirs, c.keptBits);
    }
    EXPECT_LE(magick::MaxDifference(ours, theirs), c.tolerance);
}

TEST_P(CodecPictures, WrittenBmpAndPngReadBackIdentically)
{
    const PictureCase& c = GetParam();
    CRasterImage image(plat::Utf8ToUtf16(magick::Make(c.name, c.recipe)), c.format);
    ASSERT_TRUE(image.IsValid()) << image.LastError();

    // BMP keeps the DIB as it stands: palette, bit count and rows.
    Bytes bmp;
    ASSERT_TRUE(image.SaveMemory(bmp, kFormatBmp));
    CRasterImage fromBmp;
    ASSERT_TRUE(fromBmp.LoadMemory(bmp.data(), bmp.size(), kFormatBmp)) << fromBmp.LastError();
    EXPECT_EQ(fromBmp.BitCount(), image.BitCount());
    ASSERT_EQ(fromBmp.DibBytes(), image.DibBytes());
    EXPECT_TRUE(std::equal(image.Dib() + DibHeader::kBytes, image.Dib() + image.DibBytes(),
                           fromBmp.Dib() + DibHeader::kBytes));

    // PNG keeps pixels and transparency.
    std::string pngFile = magick::Dir() + "rewritten-" + c.name + ".png";
    ASSERT_TRUE(image.SaveFile(plat::Utf8ToUtf16(pngFile), kFormatPng)) << image.LastError();
    CRasterImage fromPng(plat::Utf8ToUtf16(pngFile), kFormatPng);
    ASSERT_TRUE(fromPng.IsValid()) << fromPng.LastError();
    EXPECT_EQ(fromPng.BitCount(), image.BitCount());
    EXPECT_EQ(magick::PixelsOf(fromPng, true), magick::PixelsOf(image, true));

    // And ImageMagick reads our files as we do.
    std::string bmpFile = magick::Dir() + "rewritten-" + c.name + ".bmp";
    magick::WriteFile(bmpFile, bmp);
    EXPECT_EQ(magick::Pixels(bmpFile, "rgb"), magick::PixelsOf(image, false));
    EXPECT_EQ(magick::Pixels(pngFile, "rgba"), magick::PixelsOf(image, true));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CodecPictures, testing::ValuesIn(kCases), CaseName);

TEST(CodecPicturesJpeg, CmykFollowsTheInvertedInkFormula)
{
    std::string file = magick::Make("cmyk.jpg", "{base} -colorspace CMYK {out}");
    CRasterImage image(plat::Utf8ToUtf16(file), kFormatJpeg);
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_EQ(image.BitCount(), 24);
    // ImageMagick reports ink amounts; the file stores them inverted, and each colour
    // is the stored colour value times the stored black value / 255.
    Bytes ink = magick::Pixels(file, "cmyk");
    ASSERT_EQ(ink.size(), size_t(37 * 23 * 4));
    Bytes expected;
    for (size_t i = 0; i < ink.size(); i += 4) {
        unsigned k = 255 - ink[i + 3];
        for (int ch = 0; ch < 3; ++ch) expected.push_back(static_cast<std::uint8_t>((255 - ink[i + ch]) * k / 255));
    }
    EXPECT_LE(magick::MaxDifference(magick::PixelsOf(image, false), expected), 1);
}

TEST(CodecPicturesPng, SixteenBitAlphaIsCompositedOntoTheFileBackground)
{
    // Fully opaque or fully transparent pixels, so the composite is exact.
    std::string file = magick::Make(
        "rgba16_background.png",
        "{base} -alpha set -channel A -fx 'i<18?1:0' +channel -background '#336699' -depth 16 PNG64:{out}");
    CRasterImage image(plat::Utf8ToUtf16(file), kFormatPng);
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_FALSE(image.HasAlpha());
    Bytes theirs = magick::Pixels(file, "rgba");
    Bytes ours = magick::PixelsOf(image, false);
    ASSERT_EQ(ours.size() / 3, theirs.size() / 4);
    for (size_t p = 0; p < ours.size() / 3; ++p) {
        const std::uint8_t* t = &theirs[p * 4];
        const std::uint8_t* o = &ours[p * 3];
        if (t[3] == 255) EXPECT_TRUE(o[0] == t[0] && o[1] == t[1] && o[2] == t[2]) << "pixel " << p;
        else EXPECT_TRUE(o[0] == 0x33 && o[1] == 0x66 && o[2] == 0x99) << "pixel " << p;
    }
}

TEST(CodecPicturesPng, InterlacedFilesEqualTheirPlainTwins)
{
    CRasterImage plain(plat::Utf8ToUtf16(magick::Make("rgba.png", "{alpha} PNG32:{out}")), kFormatPng);
    CRasterImage laced(plat::Utf8ToUtf16(magick::Make("rgba_interlaced.png", "{alpha} -interlace PNG PNG32:{out}")),
                       kFormatPng);
    ASSERT_TRUE(plain.IsValid() && laced.IsValid());
    EXPECT_EQ(magick::PixelsOf(laced, true), magick::PixelsOf(plain, true));
}

// ---------------------------------------------------------------------------------------
// The JPEG saver

std::vector<std::uint32_t> Gradient(int w, int h)
{
    std::vector<std::uint32_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y) * w + x] = 0xFF000000u | (std::uint32_t(x * 255 / (w - 1)) << 16) |
                                    (std::uint32_t(y * 255 / (h - 1)) << 8) | 0x40u;
    return px;
}

TEST(JpegFileSaver, WritesA24BitColourJpegAtQuality75)
{
    const int w = 128, h = 40;
    std::vector<std::uint32_t> px = Gradient(w, h);
    std::string file = magick::Dir() + "saved.jpg";
    CJpegFileSaver saver;
    ASSERT_TRUE(saver.SavePixels(plat::Utf8ToUtf16(file), w, h, px.data(), size_t(w) * 4));
    EXPECT_EQ(magick::Identify("%Q|%[colorspace]|%z|%w|%h", file), "75|sRGB|8|128|40");

    // Top row first, red from bits 16-23: ImageMagick sees the gradient where it was.
    Bytes rgb = magick::Pixels(file, "rgb");
    ASSERT_EQ(rgb.size(), size_t(w * h * 3));
    Bytes expected;
    for (std::uint32_t p : px) expected.insert(expected.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
    EXPECT_LE(magick::MaxDifference(rgb, expected), 8);

    CRasterImage back(plat::Utf8ToUtf16(file), kFormatJpeg);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.BitCount(), 24);
    EXPECT_LE(magick::MaxDifference(magick::PixelsOf(back, false), rgb), 2);
}

TEST(JpegFileSaver, GreyRampPalettesAreSavedAsGreyscaleOthersAreRefused)
{
    CJpegFileSaver saver;
    CRasterImage grey;
    ASSERT_TRUE(grey.Allocate(20, 10, 4, kFormatBmp));
    for (std::uint32_t i = 0; i < 16; ++i) grey.PutPaletteColor(i, std::uint8_t(i), std::uint8_t(i), std::uint8_t(i));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) grey.PutPixelIndex(x, y, std::uint8_t(x % 16));
    std::string file = magick::Dir() + "grey-ramp.jpg";
    ASSERT_TRUE(saver.SaveImage(plat::Utf8ToUtf16(file), grey)) << grey.LastError();
    EXPECT_EQ(magick::Identify("%[colorspace]|%Q", file), "Gray|75");
    Bytes samples = magick::Pixels(file, "gray");
    ASSERT_EQ(samples.size(), 200u);
    EXPECT_LE(std::abs(int(samples[15]) - 15), 3); // top row, x = 15: the index is the grey level

    CRasterImage colour;
    ASSERT_TRUE(colour.Allocate(4, 4, 4, kFormatBmp));
    colour.PutPaletteColor(1, 255, 0, 0);
    // An existing file is left whole when the save is refused.
    std::string kept = magick::Dir() + "kept.jpg";
    magick::WriteFile(kept, {1, 2, 3});
    EXPECT_FALSE(saver.SaveImage(plat::Utf8ToUtf16(kept), colour));
    EXPECT_EQ(colour.LastError(), "JPEG can save only RGB or GreyScale images");
    EXPECT_EQ(magick::ReadFile(kept), (Bytes{1, 2, 3}));
}

TEST(JpegFileSaver, SavingTwiceToOnePathReplacesTheFile)
{
    CJpegFileSaver saver;
    std::string file = magick::Dir() + "twice.jpg";
    std::vector<std::uint32_t> a = Gradient(16, 16), b = Gradient(32, 8);
    ASSERT_TRUE(saver.SavePixels(plat::Utf8ToUtf16(file), 16, 16, a.data(), 64));
    ASSERT_TRUE(saver.SavePixels(plat::Utf8ToUtf16(file), 32, 8, b.data(), 128));
    EXPECT_EQ(magick::Identify("%w×%h", file), "32×8");
}

} // namespace
