// The GIF and icon codecs: ImageMagick's pictures decode to the pixels ImageMagick reads,
// what our writers produce re-reads identically and ImageMagick accepts it, and the edge
// cases of both formats, damaged files among them, as tables of hand-built files.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "media/gif_codec.h"
#include "media/icon_codec.h"
#include "media/image_stream.h"
#include "media/raster_image.h"
#include "tests/media/gif_icon_builders.h"
#include "tests/media/gif_icon_variants.h"
#include "tests/media/magick.h"

namespace {

using magick::Bytes;
using gifbuild::Frame;

std::string CaseName(const testing::TestParamInfo<GifIconVariant>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

// The palette indices of the picture, top row first.
std::vector<std::uint8_t> IndicesOf(const CRasterImage& image)
{
    std::vector<std::uint8_t> out;
    for (int r = 0; r < image.Height(); ++r)
        for (int x = 0; x < image.Width(); ++x) out.push_back(image.PixelIndexAt(x, image.Height() - 1 - r));
    return out;
}

bool Load(CRasterImage& image, const Bytes& file, std::uint32_t format, std::int32_t frame = 0)
{
    image.SetFrameIndex(frame);
    return image.LoadMemory(file.data(), file.size(), format);
}

// What ImageMagick reads of one frame, as RGBA, top row first; coalesced for animations.
Bytes MagickFrame(const std::string& file, int frame, bool coalesce)
{
    Bytes out;
    if (coalesce) {
        magick::Run(magick::Convert(magick::Quote(file) + " -coalesce -set delay 0 " +
                                    magick::Quote(file + ".coalesced.miff")));
        magick::Run(magick::Convert(magick::Quote(file + ".coalesced.miff[" + std::to_string(frame) + "]") +
                                    " -depth 8 rgba:-"),
                    &out);
    } else {
        magick::Run(magick::Convert(magick::Quote(file) + "[" + std::to_string(frame) + "] -depth 8 rgba:-"), &out);
    }
    return out;
}

// A file the reader refuses: false, no message, no picture.
struct RefusedFile {
    const char* what;
    Bytes file;
    std::int32_t frame;
};

void ExpectRefused(const std::vector<RefusedFile>& cases, std::uint32_t format)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CRasterImage image;
        EXPECT_FALSE(Load(image, c.file, format, c.frame));
        EXPECT_FALSE(image.IsValid());
        EXPECT_EQ(image.LastError(), "");
    }
}

// ---------------------------------------------------------------------------------------
// ImageMagick's pictures

class GifIconPictures : public testing::TestWithParam<GifIconVariant> {};

TEST_P(GifIconPictures, EveryFrameDecodesAsImageMagickReadsIt)
{
    const GifIconVariant& v = GetParam();
    const std::string file = magick::Make(v.name, v.recipe);
    for (int frame = 0; frame < v.frames; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        CRasterImage image(v.format);
        image.SetFrameIndex(frame);
        ASSERT_TRUE(image.LoadFile(plat::Utf8ToUtf16(file), v.format)) << image.LastError();
        EXPECT_EQ(image.FrameCount(), v.frames);
        EXPECT_EQ(image.FrameIndex(), frame);
        EXPECT_EQ(image.Format(), v.format);
        if (frame == 0) {
            EXPECT_EQ(image.BitCount(), v.bitCount);
        }
        // GIF frames after the first are drawn over the ones before: ImageMagick's
        // coalesced frame. Icon images are independent.
        const bool coalesce = v.format == kFormatGif && frame > 0;
        EXPECT_EQ(magick::PixelsOf(image, true), MagickFrame(file, frame, coalesce));
    }
    // No frame past the last one; and the count stays what the file holds.
    CRasterImage past(v.format);
    past.SetFrameIndex(v.frames);
    EXPECT_FALSE(past.LoadFile(plat::Utf8ToUtf16(file), v.format));
    EXPECT_FALSE(past.IsValid());
    EXPECT_EQ(past.LastError(), "");
}

TEST_P(GifIconPictures, WrittenFilesReadBackIdenticallyAndImageMagickAcceptsThem)
{
    const GifIconVariant& v = GetParam();
    CRasterImage image(plat::Utf8ToUtf16(magick::Make(v.name, v.recipe)), v.format);
    ASSERT_TRUE(image.IsValid());
    const std::string out = magick::Dir() + "ours-" + v.name;
    ASSERT_TRUE(image.SaveFile(plat::Utf8ToUtf16(out), v.format)) << image.LastError();
    CRasterImage back(plat::Utf8ToUtf16(out), v.format);
    ASSERT_TRUE(back.IsValid()) << out;
    EXPECT_EQ(back.BitCount(), image.BitCount());
    EXPECT_EQ(back.FrameCount(), 1);
    EXPECT_EQ(back.TransparentIndex(), image.TransparentIndex());
    EXPECT_EQ(back.HasAlpha(), image.HasAlpha());
    EXPECT_EQ(magick::PixelsOf(back, true), magick::PixelsOf(image, true));
    if (image.BitCount() <= 8) {
        EXPECT_EQ(IndicesOf(back), IndicesOf(image));
    }
    EXPECT_EQ(magick::Identify("%m %w %h\n", out), std::string(v.format == kFormatGif ? "GIF" : "ICO") + " 37 23\n");
    EXPECT_EQ(magick::Pixels(out, "rgba"), magick::PixelsOf(image, true));
}

INSTANTIATE_TEST_SUITE_P(Made, GifIconPictures, testing::ValuesIn(kGifIconVariants), CaseName);

// ---------------------------------------------------------------------------------------
// GIF reading

const std::vector<std::uint32_t> kGrey4 = {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF};

TEST(GifCodec, InterlacedLinesLandOnTheirPassRows)
{
    // Line k of the data holds index k; the rows of the picture, top first, say which
    // line landed there.
    const struct {
        int height;
        std::vector<std::uint8_t> lineOfRow;
    } kCases[] = {
        {1, {0}},
        {2, {0, 1}},
        {4, {0, 2, 1, 3}},
        {5, {0, 3, 2, 4, 1}},
        {10, {0, 5, 3, 6, 2, 7, 4, 8, 1, 9}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE("height " + std::to_string(c.height));
        Frame f;
        f.width = 2;
        f.height = c.height;
        f.codeSize = 4;
        f.interlaced = true;
        for (int line = 0; line < c.height; ++line) f.indices.insert(f.indices.end(), {std::uint8_t(line), std::uint8_t(line)});
        std::vector<std::uint32_t> table(16, 0x102030);
        CRasterImage image;
        ASSERT_TRUE(Load(image, gifbuild::Gif(2, c.height, table, {f}), kFormatGif));
        std::vector<std::uint8_t> expected;
        for (std::uint8_t line : c.lineOfRow) expected.insert(expected.end(), {line, line});
        EXPECT_EQ(IndicesOf(image), expected);
    }
}

TEST(GifCodec, ExtensionsSetTransparencyDelayCommentAndLoopCount)
{
    Bytes extensions = {0x21, 0xFE, 5, 'h', 'e', 'l', 'l', 'o', 0};
    const Bytes loop = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 7, 0, 0};
    extensions.insert(extensions.end(), loop.begin(), loop.end());
    // Other applications' blocks are passed over.
    const Bytes xmp = {0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 5, 1, 2, 3, 4, 5, 2, 9, 9, 0};
    extensions.insert(extensions.end(), xmp.begin(), xmp.end());
    Frame f;
    f.width = 3;
    f.indices = {1, 2, 3};
    f.control = true;
    f.transparent = 2;
    f.delay = 25;
    f.disposal = 2;
    const Bytes file = gifbuild::Gif(3, 1, kGrey4, {f}, extensions);

    CGifCodec codec;
    CRasterImageFile stream(file.data(), file.size());
    ASSERT_TRUE(codec.Read(stream));
    EXPECT_EQ(codec.Comment(), "hello");
    EXPECT_EQ(codec.LoopCount(), 7);
    EXPECT_EQ(codec.DisposalMethod(), 2);
    EXPECT_EQ(codec.FrameDelay(), 25u);
    EXPECT_EQ(codec.TransparentIndex(), 2);
    EXPECT_EQ(codec.FrameCount(), 1);
    EXPECT_EQ(IndicesOf(codec), (std::vector<std::uint8_t>{1, 2, 3}));
    // The table has white, so the entries past it are white too and none is changed.
    EXPECT_EQ(codec.BitCount(), 4); // 4 colours
    EXPECT_EQ(codec.PaletteEntryAt(3), (ColorQuad{255, 255, 255, 0}));
    EXPECT_EQ(codec.PaletteEntryAt(1), (ColorQuad{0x55, 0x55, 0x55, 0}));
    EXPECT_EQ(codec.PaletteEntryAt(9), (ColorQuad{255, 255, 255, 0}));

    // Without white in a transparent picture's table, entry 255 of an 8-bit one becomes white.
    std::vector<std::uint32_t> dark(256, 0x101010);
    f.codeSize = 8;
    CRasterImage image;
    ASSERT_TRUE(Load(image, gifbuild::Gif(3, 1, dark, {f}), kFormatGif));
    EXPECT_EQ(image.PaletteEntryAt(255), (ColorQuad{255, 255, 255, 0}));
    EXPECT_EQ(image.PaletteEntryAt(254), (ColorQuad{0x10, 0x10, 0x10, 0}));
}

TEST(GifCodec, RefusedFilesGiveAPlainFalseAndNoPicture)
{
    Frame one;
    one.width = 2;
    one.indices = {1, 2};
    const Bytes good = gifbuild::Gif(2, 1, kGrey4, {one});
    Bytes badControl = gifbuild::Gif(2, 1, kGrey4, {one});
    const Bytes control = {0x21, 0xF9, 5, 0, 0, 0, 0, 0, 0};
    badControl.insert(badControl.begin() + 13 + 12, control.begin(), control.end());
    Frame empty = one;
    empty.width = 0;
    ExpectRefused({
        {"not GIF8", Bytes{'G', 'I', 'F', '7', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}, 0},
        {"cut in the screen descriptor", Bytes(good.begin(), good.begin() + 10), 0},
        {"no frames", gifbuild::Gif(2, 1, kGrey4, {}), 0},
        {"negative frame index", good, -1},
        {"frame index past the last", good, 1},
        // A graphic control block of another size ends the read before any frame.
        {"graphic control of 5 bytes", badControl, 0},
        {"a frame of no pixels", gifbuild::Gif(2, 1, kGrey4, {empty}), 0},
        {"a frame past the decode budget", [] {
             Frame huge;
             huge.width = huge.height = 65535;
             huge.indices = {1};
             return gifbuild::Gif(2, 1, kGrey4, {huge});
         }(), 0},
    }, kFormatGif);
}

// Damaged data and frames off the canvas: what the reader keeps, pixel by pixel.
TEST(GifCodec, DamagedDataEndsTheFrameAndLeavesIndexZero)
{
    auto frameOf = [](int w, int h, std::vector<std::uint8_t> indices) {
        Frame f;
        f.width = w;
        f.height = h;
        f.codeSize = 3;
        f.indices = std::move(indices);
        return f;
    };
    const std::vector<std::uint32_t> table8 = {0, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777};
    // Codes of width 4: clear 8, end 9, first free slot 10.
    Frame pastFree = frameOf(4, 1, {});
    pastFree.codes = {{8, 4}, {1, 4}, {2, 4}, {15, 4}, {3, 4}, {9, 4}};
    Frame atFree = frameOf(4, 1, {});
    atFree.codes = {{8, 4}, {1, 4}, {10, 4}, {9, 4}}; // 10 is the slot being made: 1 then 1 1
    Frame noClear = frameOf(3, 1, {});
    noClear.codes = {{5, 4}, {6, 4}, {7, 4}, {9, 4}};
    Frame afterClearTooHigh = frameOf(2, 1, {});
    afterClearTooHigh.codes = {{8, 4}, {12, 4}, {3, 4}, {9, 4}};
    Frame badCodeSize = frameOf(2, 1, {4, 4});
    badCodeSize.codeSize = 1;
    Frame cut = frameOf(6, 2, {1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5});

    Bytes cutFile = gifbuild::Gif(6, 2, table8, {cut});
    cutFile.resize(13 + 24 + 10 + 1 + 3); // two bytes of data: clear, 1, 2, 3
    const struct {
        const char* what;
        Bytes file;
        std::vector<std::uint8_t> indices;
    } kCases[] = {
        {"code past the next free slot", gifbuild::Gif(4, 1, table8, {pastFree}), {1, 2, 0, 0}},
        {"code of the next free slot", gifbuild::Gif(4, 1, table8, {atFree}), {1, 1, 1, 0}},
        {"data without a first clear code", gifbuild::Gif(3, 1, table8, {noClear}), {5, 6, 7}},
        {"first code after a clear past the literals", gifbuild::Gif(2, 1, table8, {afterClearTooHigh}), {0, 3}},
        {"minimum code size 1", gifbuild::Gif(2, 1, table8, {badCodeSize}), {0, 0}},
        {"data cut off", cutFile, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        CRasterImage image;
        ASSERT_TRUE(Load(image, c.file, kFormatGif));
        EXPECT_EQ(IndicesOf(image), c.indices);
    }
}

TEST(GifCodec, FramesLeftInPlaceAreDrawnOverTheCanvasAndClippedToIt)
{
    const std::vector<std::uint32_t> table = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    Frame base;
    base.width = 4;
    base.height = 3;
    base.indices = std::vector<std::uint8_t>(12, 2);
    base.control = true;
    base.disposal = 1;
    // Reaches past the right and bottom edges; index 3 is its transparent one.
    Frame over;
    over.left = 2;
    over.top = 1;
    over.width = 3;
    over.height = 3;
    over.indices = {1, 3, 1, 0, 0, 0, 1, 1, 1};
    over.control = true;
    over.disposal = 1;
    over.transparent = 3;
    // Entirely off the canvas; in its own colours.
    Frame away = over;
    away.left = 40;
    away.top = 40;
    away.transparent = -1;
    // Its own table: index 0 is green here, which the canvas has as index 1.
    Frame local;
    local.left = 0;
    local.top = 0;
    local.width = 1;
    local.height = 1;
    local.indices = {0};
    local.localTable = {0x00FF00, 0x123456};
    const Bytes file = gifbuild::Gif(4, 3, table, {base, over, away, local});

    const struct {
        int frame;
        std::vector<std::uint8_t> indices;
    } kCases[] = {
        {0, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}},
        {1, {2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 0, 0}},
        {2, {2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 0, 0}},
        {3, {1, 2, 2, 2, 2, 2, 1, 2, 2, 2, 0, 0}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE("frame " + std::to_string(c.frame));
        CRasterImage image;
        ASSERT_TRUE(Load(image, file, kFormatGif, c.frame));
        EXPECT_EQ(image.FrameCount(), 4);
        EXPECT_EQ(image.Width(), 4);
        EXPECT_EQ(image.Height(), 3);
        EXPECT_EQ(IndicesOf(image), c.indices);
        EXPECT_EQ(image.PaletteEntryAt(2), (ColorQuad{255, 0, 0, 0})); // blue
    }
}

// A new colour of a later frame takes a canvas entry no pixel uses, widening the canvas.
TEST(GifCodec, NewColoursOfALaterFrameWidenTheCanvas)
{
    Frame base;
    base.width = 2;
    base.indices = {0, 1};
    base.control = true;
    base.disposal = 1;
    Frame next;
    next.left = 1;
    next.width = 1;
    next.indices = {1};
    next.localTable = {0x000000, 0x00FF00};
    CRasterImage image;
    ASSERT_TRUE(Load(image, gifbuild::Gif(2, 1, {0xFF0000, 0x0000FF}, {base, next}), kFormatGif, 1));
    EXPECT_EQ(image.BitCount(), 8);
    EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{0, 0, 255, 0}));
    EXPECT_EQ(image.PixelColorAt(1, 0), (ColorQuad{0, 255, 0, 0}));
}

// ---------------------------------------------------------------------------------------
// GIF writing

// A picture of random indices into a random palette.
void FillIndexed(CRasterImage& image, int w, int h, int bits, std::uint32_t seed)
{
    image.Allocate(w, h, bits, kFormatBmp);
    std::mt19937 random(seed);
    for (std::uint32_t i = 0; i < (1u << bits); ++i)
        image.PutPaletteColor(i, std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.PutPixelIndex(x, y, std::uint8_t(random() % (1u << bits)));
}

// The lengths of the data sub-blocks of the one image of a file our writer made, and the
// codes they hold, read with the code width growing as a decoder's does.
struct WrittenData {
    std::vector<int> blockLengths;
    int clearCodes = 0;
    int codes = 0;
};

WrittenData ReadWrittenData(const Bytes& file)
{
    WrittenData out;
    size_t at = 13 + 3 * (2u << (file[10] & 7)) + 8 + 10; // header, table, control, descriptor
    const int codeSize = file[at++];
    Bytes data;
    while (at < file.size() && file[at] != 0) {
        out.blockLengths.push_back(file[at]);
        data.insert(data.end(), file.begin() + static_cast<long>(at + 1), file.begin() + static_cast<long>(at + 1 + file[at]));
        at += 1 + file[at];
    }
    const int clear = 1 << codeSize;
    int width = codeSize + 1, freeSlot = clear + 2;
    bool first = true;
    size_t bit = 0;
    while (bit + width <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        ++out.codes;
        if (code == clear + 1) break;
        if (code == clear) {
            ++out.clearCodes;
            width = codeSize + 1;
            freeSlot = clear + 2;
            first = true;
            continue;
        }
        if (!first && freeSlot < 4096 && ++freeSlot == (1 << width) && width < 12) ++width;
        first = false;
    }
    return out;
}

TEST(GifWriter, HeaderFlagsCodeSizeAndSubBlocks)
{
    const struct {
        int bits, w, h;
        std::uint8_t flags;
        int codeSize;
        bool clearsAgain; // needs more than 4096 codes
    } kCases[] = {
        {1, 37, 23, 0x80, 2, false},
        {4, 37, 23, 0xB3, 4, false},
        {8, 37, 23, 0xF7, 8, false},
        {8, 300, 200, 0xF7, 8, true},
        {1, 1000, 500, 0x80, 2, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.w) + "x" + std::to_string(c.h));
        CRasterImage image;
        FillIndexed(image, c.w, c.h, c.bits, 99);
        image.SetTransparentIndex(1);
        Bytes file;
        ASSERT_TRUE(image.SaveMemory(file, kFormatGif)) << image.LastError();
        EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF87a");
        EXPECT_EQ(file[10], c.flags);
        const size_t control = 13 + 3 * (2u << (c.bits - 1));
        EXPECT_EQ(Bytes(file.begin() + static_cast<long>(control), file.begin() + static_cast<long>(control + 8)),
                  (Bytes{0x21, 0xF9, 4, 1, 0, 0, 1, 0}));
        EXPECT_EQ(file[control + 8 + 10], c.codeSize);
        EXPECT_EQ(file.back(), 0x3B);

        const WrittenData data = ReadWrittenData(file);
        for (int n : data.blockLengths) EXPECT_LE(n, 254);
        EXPECT_EQ(data.clearCodes > 1, c.clearsAgain) << data.codes << " codes";

        CRasterImage back;
        ASSERT_TRUE(Load(back, file, kFormatGif));
        EXPECT_EQ(back.BitCount(), c.bits);
        EXPECT_EQ(IndicesOf(back), IndicesOf(image));
        EXPECT_EQ(back.TransparentIndex(), 1);
        const std::string path = magick::Dir() + "written-" + std::to_string(c.bits) + "-" + std::to_string(c.w) + ".gif";
        magick::WriteFile(path, file);
        EXPECT_EQ(magick::Identify("%m %w %h", path), "GIF " + std::to_string(c.w) + " " + std::to_string(c.h));
        EXPECT_EQ(magick::Pixels(path, "rgb"), magick::PixelsOf(image, false));
    }
}

TEST(GifWriter, RefusesWhatAGifCannotHold)
{
    CRasterImage colour;
    colour.Allocate(4, 4, 24, kFormatBmp);
    CRasterImage none;
    const struct {
        const char* what;
        CRasterImage* image;
        const char* error;
    } kCases[] = {
        {"24-bit", &colour, "GIF Images must be 8 bit or less"},
        {"no picture", &none, "No image to save"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        Bytes out;
        EXPECT_FALSE(c.image->SaveMemory(out, kFormatGif));
        EXPECT_EQ(c.image->LastError(), c.error);
    }
}

// ---------------------------------------------------------------------------------------
// Icons

Bytes MaskRow(std::uint32_t bits) // one 32-pixel mask row, bit 31 first
{
    return {std::uint8_t(bits >> 24), std::uint8_t(bits >> 16), std::uint8_t(bits >> 8), std::uint8_t(bits)};
}

// A 4 × 2 icon of 16 colours: rows "0 1 2 3" and "4 5 6 7", the mask as given.
Bytes Icon4(std::uint32_t maskTop, std::uint32_t maskBottom)
{
    std::vector<std::uint32_t> palette;
    for (std::uint32_t i = 0; i < 16; ++i) palette.push_back(i * 0x101010);
    return gifbuild::IconBitmap(4, 2, 4, palette, {{0x01, 0x23, 0, 0}, {0x45, 0x67, 0, 0}},
                                {MaskRow(maskTop), MaskRow(maskBottom)});
}

// The alpha plane top row first; empty without one.
Bytes AlphaOf(const CRasterImage& image)
{
    Bytes out;
    if (!image.HasAlpha()) return out;
    for (int r = 0; r < image.Height(); ++r)
        for (int x = 0; x < image.Width(); ++x) out.push_back(image.AlphaAt(x, image.Height() - 1 - r));
    return out;
}

TEST(IconCodec, TheMaskBecomesTheAlphaPlane)
{
    // 32-bit: blue, green, red, alpha; rows bottom first.
    Bytes wide32 = gifbuild::IconBitmap(2, 2, 32, {},
                                        {{1, 2, 3, 255, 4, 5, 6, 128}, {7, 8, 9, 0, 10, 11, 12, 255}},
                                        {MaskRow(0x40000000), MaskRow(0)});
    Bytes cut32 = wide32;
    cut32.resize(40 + 8); // the bottom row only
    Bytes cutMask = Icon4(0, 0);
    cutMask.resize(cutMask.size() - 4); // the top mask row is missing
    const struct {
        const char* what;
        Bytes file;
        int bits;
        Bytes alpha; // top row first; empty: no alpha plane
        std::vector<std::uint8_t> topRowBlue;
    } kCases[] = {
        {"16 colours, no mask bits", gifbuild::Icon({{4, 2, 16, 4, Icon4(0, 0)}}), 4, {}, {}},
        {"16 colours, masked corners", gifbuild::Icon({{4, 2, 16, 4, Icon4(0x80000000, 0x10000000)}}), 4,
         {0, 255, 255, 255, 255, 255, 255, 0}, {}},
        {"32 bits: own alpha, and a mask bit forces 0", gifbuild::Icon({{2, 2, 0, 32, wide32}}), 24, {255, 0, 0, 255},
         {1, 4}},
        {"32 bits cut short: black and transparent", gifbuild::Icon({{2, 2, 0, 32, cut32}}), 24, {0, 0, 0, 0}, {0, 0}},
        {"mask cut short: the missing rows transparent", gifbuild::Icon({{4, 2, 16, 4, cutMask}}), 4,
         {0, 0, 0, 0, 255, 255, 255, 255}, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        CRasterImage image;
        ASSERT_TRUE(Load(image, c.file, kFormatIco));
        EXPECT_EQ(image.BitCount(), c.bits);
        EXPECT_EQ(image.FrameCount(), 1);
        EXPECT_EQ(AlphaOf(image), c.alpha);
        if (c.bits == 4) {
            EXPECT_EQ(IndicesOf(image), (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7}));
        } else {
            for (int x = 0; x < 2; ++x) EXPECT_EQ(image.PixelColorAt(x, 1).blue, c.topRowBlue[size_t(x)]);
        }
    }
}

TEST(IconCodec, RefusedFilesGiveAPlainFalseAndNoPicture)
{
    const Bytes bitmap = Icon4(0, 0);
    Bytes png = bitmap;
    std::memcpy(png.data(), "\x89PNG\r\n\x1a\n", 8);
    Bytes reserved = gifbuild::Icon({{4, 2, 16, 4, bitmap}});
    reserved[0] = 1;
    ExpectRefused({
        {"a cursor file", gifbuild::Icon({{4, 2, 16, 4, bitmap}}, 2), 0},
        {"reserved word not 0", reserved, 0},
        {"no images", gifbuild::Icon({}), 0},
        {"frame index past the last", gifbuild::Icon({{4, 2, 16, 4, bitmap}}), 1},
        {"negative frame index", gifbuild::Icon({{4, 2, 16, 4, bitmap}}), -1},
        {"directory cut short", Bytes{0, 0, 1, 0, 3, 0, 4, 2, 16, 0}, 0},
        {"offset past the end", gifbuild::Icon({{4, 2, 16, 4, bitmap, 100000}}), 0},
        {"size past the end", gifbuild::Icon({{4, 2, 16, 4, bitmap, -1, 100000}}), 0},
        {"offset inside the directory", gifbuild::Icon({{4, 2, 16, 4, bitmap, 8}}), 0},
        {"PNG data", gifbuild::Icon({{4, 2, 16, 4, png}}), 0},
    }, kFormatIco);
}

TEST(IconCodec, ASizeByteOf0Means256)
{
    std::vector<Bytes> rows(256, Bytes(32, 0xFF)), mask(256, Bytes(32, 0));
    rows[0][0] = 0x7F; // the top left pixel is index 0
    const Bytes file = gifbuild::Icon({{0, 0, 2, 1, gifbuild::IconBitmap(256, 256, 1, {0x000000, 0xFFFFFF}, rows, mask)}});
    CRasterImage image;
    ASSERT_TRUE(Load(image, file, kFormatIco));
    EXPECT_EQ(image.Width(), 256);
    EXPECT_EQ(image.Height(), 256);
    EXPECT_EQ(image.PixelIndexAt(0, 255), 0);
    EXPECT_EQ(image.PixelIndexAt(1, 255), 1);
    EXPECT_EQ(image.PixelIndexAt(255, 0), 1);
}

TEST(IconWriter, SizesUpTo255AndTheMaskFromAlpha)
{
    const struct {
        int w, h, bits;
        bool saves;
    } kCases[] = {
        {255, 255, 8, true},
        {256, 256, 8, false},
        {256, 10, 4, false},
        {10, 256, 24, false},
        {1, 1, 1, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        CRasterImage image;
        FillIndexed(image, c.w, c.h, c.bits == 24 ? 8 : c.bits, 5);
        if (c.bits == 24) image.Allocate(c.w, c.h, 24, kFormatBmp);
        Bytes out;
        EXPECT_EQ(image.SaveMemory(out, kFormatIco), c.saves);
        if (!c.saves) {
            EXPECT_EQ(image.LastError(), "Can't save this image as icon");
            continue;
        }
        CRasterImage back;
        ASSERT_TRUE(Load(back, out, kFormatIco));
        EXPECT_EQ(IndicesOf(back), IndicesOf(image));
        EXPECT_FALSE(back.HasAlpha());
    }

    // A palette icon's mask comes back from its alpha plane.
    CRasterImage masked;
    ASSERT_TRUE(Load(masked, gifbuild::Icon({{4, 2, 16, 4, Icon4(0x90000000, 0x20000000)}}), kFormatIco));
    Bytes saved;
    ASSERT_TRUE(masked.SaveMemory(saved, kFormatIco));
    CRasterImage reread;
    ASSERT_TRUE(Load(reread, saved, kFormatIco));
    EXPECT_EQ(AlphaOf(reread), (Bytes{0, 255, 255, 0, 255, 255, 0, 255}));
    EXPECT_EQ(IndicesOf(reread), IndicesOf(masked));

    // A 24-bit picture with alpha: 32 bits a pixel, its mask set exactly where alpha is 0.
    CRasterImage rgba;
    rgba.Allocate(33, 3, 24, kFormatBmp);
    ASSERT_TRUE(rgba.CreateAlpha());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 33; ++x) {
            rgba.PutPixelColor(x, y, ColorQuad{std::uint8_t(x), std::uint8_t(y), 7, 0});
            rgba.PutAlpha(x, y, std::uint8_t((x + y) % 3 == 0 ? 0 : 40 * y + x));
        }
    Bytes out;
    ASSERT_TRUE(rgba.SaveMemory(out, kFormatIco));
    EXPECT_EQ(out[6 + 6], 32);                // entry bit count
    EXPECT_EQ(out[22 + 14], 32);              // info header bit count
    const size_t mask = 22 + 40 + 33 * 3 * 4; // 8-byte mask rows
    ASSERT_EQ(out.size(), mask + 3 * 8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 33; ++x)
            EXPECT_EQ((out[mask + size_t(y) * 8 + size_t(x) / 8] >> (7 - x % 8)) & 1, (x + y) % 3 == 0 ? 1 : 0);
    CRasterImage back;
    ASSERT_TRUE(Load(back, out, kFormatIco));
    EXPECT_EQ(magick::PixelsOf(back, true), magick::PixelsOf(rgba, true));
    const std::string path = magick::Dir() + "written-rgba.ico";
    magick::WriteFile(path, out);
    EXPECT_EQ(magick::Identify("%m %w %h", path), "ICO 33 3");
}

} // namespace
