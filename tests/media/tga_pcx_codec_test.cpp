// The TGA and PCX codecs: every layout they read decodes to the pixels and alpha
// ImageMagick reads from the same file; written TGA files read back identically and
// ImageMagick accepts them; the layouts' edge cases, the mended readings (colour maps of
// every entry size, runs past a row's end, short data, 1-bit PCX in 3 planes, lines too
// short for the width) and every refusal with its message.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "media/raster_image.h"
#include "tests/media/magick.h"
#include "tests/media/tga_pcx_files.h"
#include "tests/support/fixture_walk.h"

namespace {

using magick::Bytes;
using namespace tgapcx;
namespace fs = std::filesystem;

// How closely our reading must match ImageMagick's: 5-bit channels are widened by a
// shift here and by scaling there, and a 16-bit pixel's attribute bit is alpha 0x80 here
// and opaque there, so such files are compared channel by channel within 8 and alpha
// only as clear or not.
struct Match {
    int tolerance = 0;
    bool alphaAsBit = false;
    bool withAlpha = true;
};

// ImageMagick's pixels of a file, top row first: a TGA turned the way its descriptor
// says (ImageMagick keeps a TGA's stored row order and only notes its orientation).
Bytes TheirPixels(const std::string& file, const std::string& map)
{
    Bytes out;
    const bool tga = file.size() > 4 && file.substr(file.size() - 4) == ".tga";
    magick::Run(magick::Convert(magick::Quote(file) + (tga ? " -auto-orient" : "") + " -depth 8 " + map + ":-"), &out);
    return out;
}

// With `expected` given, the file is compared with those pixels instead.
void ExpectSameAsImageMagick(const std::string& file, std::uint32_t format, Match match, const Bytes& expected = {})
{
    CRasterImage image;
    ASSERT_TRUE(image.LoadFile(plat::Utf8ToUtf16(file), format)) << image.LastError();
    const std::string map = match.withAlpha ? "rgba" : "rgb";
    Bytes ours = magick::PixelsOf(image, match.withAlpha);
    Bytes theirs = expected.empty() ? TheirPixels(file, map) : expected;
    ASSERT_EQ(ours.size(), theirs.size());
    if (match.alphaAsBit) {
        for (std::size_t i = 3; i < ours.size(); i += 4) {
            ours[i] = ours[i] ? 255 : 0;
            theirs[i] = theirs[i] ? 255 : 0;
        }
    }
    EXPECT_LE(magick::MaxDifference(ours, theirs), match.tolerance);
}

struct Variant {
    const char* name;
    Bytes data;         // made by us, or empty when made by the recipe
    const char* recipe; // ImageMagick's
    std::uint32_t format;
    Match match;
    Bytes expected = {}; // when ImageMagick's reading is not the format's
};

// Every layout of both formats, written into a pass/ folder of its own and walked like
// the fixtures: each file decodes as ImageMagick decodes it, within the walk's bound.
std::vector<Variant> Variants()
{
    const Match exact{}, fiveBit{8, true, true}, noAlpha{0, false, false}, fiveBitNoAlpha{8, false, false};
    std::vector<Variant> v = {
        {"im_type1.tga", {}, "{base} -type Palette TGA:{out}", kFormatTga, exact},
        {"im_type9.tga", {}, "{base} -type Palette -compress RLE TGA:{out}", kFormatTga, exact},
        {"im_type2.tga", {}, "{base} TGA:{out}", kFormatTga, exact},
        {"im_type10.tga", {}, "{base} -compress RLE TGA:{out}", kFormatTga, exact},
        {"im_type3.tga", {}, "{base} -colorspace Gray TGA:{out}", kFormatTga, exact},
        {"im_type11.tga", {}, "{base} -colorspace Gray -compress RLE TGA:{out}", kFormatTga, exact},
        {"im_type2_32.tga", {}, "{alpha} TGA:{out}", kFormatTga, exact},
        {"im_type10_32.tga", {}, "{alpha} -compress RLE TGA:{out}", kFormatTga, exact},
        {"im_top_down.tga", {}, "{base} -orient TopLeft TGA:{out}", kFormatTga, exact},
        {"im_8bit.pcx", {}, "{base} -colors 200 PCX:{out}", kFormatPcx, noAlpha},
        {"im_24bit.pcx", {}, "{base} PCX:{out}", kFormatPcx, noAlpha},
    };
    const struct {
        const char* name;
        TgaLayout layout;
        Match match;
    } ours[] = {
        {"type1_map24_first5.tga", {1, 8, 0, 24, 5}, noAlpha},
        {"type9_map24.tga", {9, 8, 0x20}, noAlpha},
        {"type1_map16.tga", {1, 8, 0, 16}, fiveBitNoAlpha},
        {"type9_map16_first3.tga", {9, 8, 0x20, 16, 3}, fiveBitNoAlpha},
        {"type1_map32.tga", {1, 8, 0, 32}, noAlpha},
        {"type9_map32_first7.tga", {9, 8, 0, 32, 7}, noAlpha},
        {"type2_16.tga", {2, 16, 1}, fiveBit},
        {"type10_16_top_down.tga", {10, 16, 0x21}, fiveBit},
        {"type2_15.tga", {2, 15, 0}, fiveBitNoAlpha},
        {"type2_24_right_to_left.tga", {2, 24, 0x10}, exact},
        {"type10_24_top_down.tga", {10, 24, 0x20, 24, 0, 9}, exact},
        {"type2_32_top_down.tga", {2, 32, 0x28}, exact},
        {"type10_32_both_flips.tga", {10, 32, 0x38}, exact},
        {"type3_8.tga", {3, 8, 0}, noAlpha},
        {"type11_8_top_down.tga", {11, 8, 0x20}, noAlpha},
    };
    for (const auto& o : ours) v.push_back({o.name, MakeTga(o.layout, 37, 23), nullptr, kFormatTga, o.match});
    const struct {
        const char* name;
        PcxLayout layout;
    } pcx[] = {
        {"1bit.pcx", {1, 1}},           {"1bit_2planes.pcx", {1, 2}}, {"1bit_4planes.pcx", {1, 4}},
        {"2bit.pcx", {2, 1}},           {"4bit.pcx", {4, 1}},         {"8bit.pcx", {8, 1}},
        {"24bit.pcx", {8, 3}},          {"8bit_wide_lines.pcx", {8, 1, 6}},
    };
    for (const auto& p : pcx) v.push_back({p.name, MakePcx(p.layout, 37, 23), nullptr, kFormatPcx, noAlpha});
    // ImageMagick shows a single-plane 1-bit PCX with 0 as white; in the format 0 is black.
    Bytes blackAndWhite;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) blackAndWhite.insert(blackAndWhite.end(), 3, PcxValue(x, y, 1) ? 255 : 0);
    v[v.size() - std::size(pcx)].expected = blackAndWhite;
    return v;
}

TEST(TgaPcxCodecs, EveryLayoutReadsAsImageMagickReadsIt)
{
    const std::string root = magick::Dir() + "layouts/";
    std::vector<Variant> variants = Variants();
    for (const char* format : {"tga", "pcx"}) fs::create_directories(root + format + "/pass");
    for (auto& v : variants) {
        const std::string folder = root + (v.format == kFormatTga ? "tga" : "pcx") + "/pass/";
        if (v.recipe) {
            const std::string made = magick::Make(v.name, v.recipe);
            fs::copy_file(made, folder + v.name, fs::copy_options::overwrite_existing);
        } else {
            magick::WriteFile(folder + v.name, v.data);
        }
    }
    for (const char* format : {"tga", "pcx"}) {
        testsupport::WalkFixturesUnder(root, format, std::chrono::seconds(10),
                                       [&](const fs::path& file, testsupport::FixtureKind) {
            for (const auto& v : variants)
                if (file.filename() == v.name) return ExpectSameAsImageMagick(file.string(), v.format, v.match, v.expected);
            ADD_FAILURE() << "unknown layout";
        });
    }
}

// Loads a file from memory into the image; a refusal fails the test.
void Load(CRasterImage& image, const Bytes& data, std::uint32_t format)
{
    EXPECT_TRUE(image.LoadMemory(data.data(), data.size(), format)) << image.LastError();
}

// The file is refused with the message, and the 3 × 3 picture loaded before stays.
void ExpectRefused(const Bytes& file, std::uint32_t format, const std::string& message, const char* what)
{
    CRasterImage image;
    image.Allocate(3, 3, 24, kFormatBmp);
    EXPECT_FALSE(image.LoadMemory(file.data(), file.size(), format)) << what;
    EXPECT_EQ(image.LastError(), message) << what;
    EXPECT_EQ(image.Width(), 3) << what;
}

Bytes TgaHeader(int type, int depth, int w, int h, int descriptor = 0)
{
    Bytes out{0, 0, std::uint8_t(type), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int v : {w, h}) Put16(out, v);
    out.push_back(std::uint8_t(depth));
    out.push_back(std::uint8_t(descriptor));
    return out;
}

TEST(TgaCodec, LayoutEdgeCases)
{
    // Two rows of one 24-bit pixel: the first stored row is the bottom one, unless the
    // descriptor says rows run top to bottom.
    for (int descriptor : {0, 0x20}) {
        Bytes file = TgaHeader(2, 24, 1, 2, descriptor);
        file.insert(file.end(), {1, 2, 3, 4, 5, 6});
        CRasterImage image;
        Load(image, file, kFormatTga);
        const int firstRow = descriptor ? 1 : 0; // DIB row 0 is the bottom
        EXPECT_EQ(image.PixelColorAt(0, firstRow), (ColorQuad{1, 2, 3, 0})) << descriptor;
        EXPECT_EQ(image.PixelColorAt(0, 1 - firstRow), (ColorQuad{4, 5, 6, 0})) << descriptor;
        EXPECT_FALSE(image.HasAlpha());
    }
    // Type 10 at 32 bits: 24-bit with the fourth bytes as alpha.
    {
        Bytes file = TgaHeader(10, 32, 3, 1);
        file.insert(file.end(), {0x81, 9, 8, 7, 0x44, 0x00, 1, 2, 3, 0xFE});
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.BitCount(), 24);
        EXPECT_EQ(image.ColorType(), kColorTrueAlpha);
        for (int x : {0, 1}) EXPECT_EQ(image.AlphaAt(x, 0), 0x44);
        EXPECT_EQ(image.PixelColorAt(2, 0), (ColorQuad{1, 2, 3, 0}));
        EXPECT_EQ(image.AlphaAt(2, 0), 0xFE);
    }
    // Type 1 with a 256-entry map: an 8-bit palette picture; type 3 gets the grey ramp.
    {
        Bytes file{0, 1, 1, 0, 0, 0, 1, 24, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0};
        for (int i = 0; i < 256; ++i) file.insert(file.end(), {std::uint8_t(i), 0, std::uint8_t(255 - i)});
        file.push_back(200);
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.BitCount(), 8);
        EXPECT_EQ(image.PixelIndexAt(0, 0), 200);
        EXPECT_EQ(image.PaletteEntryAt(200), (ColorQuad{200, 0, 55, 0}));
        Bytes grey = TgaHeader(3, 8, 1, 1);
        grey.push_back(77);
        CRasterImage ramp;
        Load(ramp, grey, kFormatTga);
        EXPECT_TRUE(ramp.HasGreyRamp());
        EXPECT_EQ(ramp.PixelColorAt(0, 0), (ColorQuad{77, 77, 77, 0}));
    }
    // 16 bits: the attribute bit is alpha 0x80, without it alpha 0.
    {
        Bytes file = TgaHeader(2, 16, 2, 1, 1);
        Put16(file, 0x8000 | (31 << 10) | 1);
        Put16(file, (1 << 5) | 31);
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.AlphaAt(0, 0), 0x80);
        EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{8, 0, 248, 0}));
        EXPECT_EQ(image.AlphaAt(1, 0), 0);
        EXPECT_EQ(image.PixelColorAt(1, 0), (ColorQuad{248, 8, 0, 0}));
    }
    // Right to left: mirrored, alpha with it.
    {
        Bytes file = TgaHeader(2, 32, 2, 1, 0x10);
        file.insert(file.end(), {1, 1, 1, 10, 2, 2, 2, 20});
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{2, 2, 2, 0}));
        EXPECT_EQ(image.AlphaAt(0, 0), 20);
    }
}

TEST(TgaCodec, MendedReadings)
{
    // Colour maps are read at their stored entry size from their first index, and the
    // pixels after them stay in place: 16-bit entries from index 250, 32-bit from 3.
    {
        Bytes file{0, 1, 1, 250, 0, 2, 0, 16, 0, 0, 0, 0, 2, 0, 1, 0, 8, 0};
        Put16(file, 0x8000 | (31 << 10));        // entry 250: red
        Put16(file, 31);                         // entry 251: blue
        file.insert(file.end(), {251, 250});
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{248, 0, 0, 0}));
        EXPECT_EQ(image.PixelColorAt(1, 0), (ColorQuad{0, 0, 248, 0}));
        EXPECT_EQ(image.PaletteEntryAt(0), ColorQuad{});
    }
    {
        Bytes file{0, 1, 1, 3, 0, 1, 0, 32, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0};
        file.insert(file.end(), {10, 20, 30, 40, 3});
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{10, 20, 30, 0}));
    }
    // A run reaching past the row is dropped at the row's end: the next row starts with
    // the next packet (a repeat of 4 and a raw run of 3 into rows of 2).
    {
        Bytes file = TgaHeader(11, 8, 2, 2, 0x20);
        file.insert(file.end(), {0x83, 9, 2, 5, 6, 7});
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.PixelIndexAt(0, 1), 9);
        EXPECT_EQ(image.PixelIndexAt(1, 1), 9);
        EXPECT_EQ(image.PixelIndexAt(0, 0), 5);
        EXPECT_EQ(image.PixelIndexAt(1, 0), 6);
    }
    // Data that ends inside the last row leaves the rest 0: black and clear.
    {
        Bytes file = TgaHeader(2, 32, 2, 2, 0x20);
        file.insert(file.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
        CRasterImage image;
        Load(image, file, kFormatTga);
        EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{9, 10, 11, 0}));
        EXPECT_EQ(image.AlphaAt(0, 0), 12);
        EXPECT_EQ(image.PixelColorAt(1, 0), ColorQuad{});
        EXPECT_EQ(image.AlphaAt(1, 0), 0);
        Bytes runs = TgaHeader(10, 24, 4, 1);
        runs.insert(runs.end(), {0x81, 1, 2, 3, 0x01, 4}); // a raw packet cut short
        CRasterImage cut;
        Load(cut, runs, kFormatTga);
        EXPECT_EQ(cut.PixelColorAt(1, 0), (ColorQuad{1, 2, 3, 0}));
        EXPECT_EQ(cut.PixelColorAt(2, 0), ColorQuad{});
        EXPECT_EQ(cut.PixelColorAt(3, 0), ColorQuad{});
    }
}

TEST(TgaCodec, RefusalsKeepThePreviousPicture)
{
    Bytes bigRle = TgaHeader(10, 24, 9000, 9000);
    bigRle.insert(bigRle.end(), {0xFF, 0, 0, 0});
    const struct {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"short header", Bytes(17, 0), "Not a TGA"},
        {"type 0", TgaHeader(0, 24, 1, 1), "Unknown TGA image type"},
        {"type 4", TgaHeader(4, 24, 1, 1), "Unknown TGA image type"},
        {"type 32", TgaHeader(32 + 2, 24, 1, 1), "Unknown TGA image type"},
        {"depth 12", TgaHeader(2, 12, 1, 1), "Unknown TGA image type"},
        {"depth 0", TgaHeader(10, 0, 4000, 4000), "Unknown TGA image type"},
        {"rows missing, refused before allocating", TgaHeader(10, 24, 4000, 4000), "corrupted TGA"},
        {"zero width", TgaHeader(2, 24, 0, 5), "TGA Create failed"},
        {"past the decode budget", bigRle, "TGA Create failed"},
        {"no pixels", TgaHeader(2, 24, 2, 2), "corrupted TGA"},
        {"id past the end", [] { Bytes b = TgaHeader(2, 24, 1, 1); b[0] = 40; b.push_back(0); return b; }(), "corrupted TGA"},
        {"first row only", [] { Bytes b = TgaHeader(2, 8, 2, 2); b.insert(b.end(), {1, 2}); return b; }(), "corrupted TGA"},
    };
    for (const auto& c : cases) ExpectRefused(c.file, kFormatTga, c.message, c.what);
}

TEST(TgaCodec, WrittenFilesReadBackAndImageMagickAcceptsThem)
{
    const struct {
        const char* name;
        const char* recipe;
        std::uint32_t format;
        int depth;
    } cases[] = {
        {"w8.tga", "{base} -colors 200 BMP3:{out}", kFormatBmp, 8},
        {"w24.tga", "{base} BMP3:{out}", kFormatBmp, 24},
        {"w32.tga", "{alpha} PNG32:{out}", kFormatPng, 32},
    };
    for (const auto& c : cases) {
        CRasterImage source;
        ASSERT_TRUE(source.LoadFile(plat::Utf8ToUtf16(magick::Make(std::string(c.name) + ".src", c.recipe)), c.format));
        const std::string out = magick::Dir() + c.name;
        ASSERT_TRUE(source.SaveFile(plat::Utf8ToUtf16(out), kFormatTga)) << source.LastError();
        const Bytes written = magick::ReadFile(out);
        ASSERT_GE(written.size(), 18u);
        EXPECT_EQ(written[16], c.depth) << c.name;
        if (c.depth == 8) {
            EXPECT_EQ(written[5] | written[6] << 8, 256);
            EXPECT_EQ(written.size(), 18u + 768 + 37 * 23);
        }
        EXPECT_EQ(magick::Identify("%m %w %h", out), "TGA 37 23") << c.name;
        CRasterImage again;
        ASSERT_TRUE(again.LoadFile(plat::Utf8ToUtf16(out), kFormatTga)) << again.LastError();
        EXPECT_EQ(magick::PixelsOf(again, true), magick::PixelsOf(source, true)) << c.name;
        EXPECT_EQ(TheirPixels(out, "rgb"), magick::PixelsOf(source, false)) << c.name;
    }
    // Below 8 bits nothing is written.
    CRasterImage four;
    four.Allocate(3, 3, 4, kFormatBmp);
    Bytes out;
    EXPECT_FALSE(four.SaveMemory(out, kFormatTga));
    EXPECT_EQ(four.LastError(), "Bit depth must be 8 or 24");
    // PCX is read only.
    EXPECT_FALSE(four.SaveMemory(out, kFormatPcx));
    EXPECT_EQ(four.LastError(), "Unsupported operation for this format");
}

Bytes PcxHeader(int bpp, int planes, int w, int h, int bytesPerLine)
{
    Bytes out(128, 0);
    out[0] = 10;
    out[2] = 1;
    out[3] = std::uint8_t(bpp);
    out[8] = std::uint8_t(w - 1);
    out[10] = std::uint8_t(h - 1);
    out[65] = std::uint8_t(planes);
    out[66] = std::uint8_t(bytesPerLine);
    return out;
}

TEST(PcxCodec, LayoutEdgeCasesAndMendedReadings)
{
    // 24 bits: red, green and blue planes land in their channels.
    {
        Bytes file = PcxHeader(8, 3, 1, 1, 1);
        file.insert(file.end(), {150, 100, 50});
        CRasterImage image;
        Load(image, file, kFormatPcx);
        EXPECT_EQ(image.BitCount(), 24);
        EXPECT_EQ(image.PixelColorAt(0, 0), (ColorQuad{50, 100, 150, 0}));
    }
    // 16 colours in 4 planes of 1 bit: a 4-bit picture with the header's palette.
    {
        Bytes file = MakePcx({1, 4}, 37, 23);
        CRasterImage image;
        Load(image, file, kFormatPcx);
        EXPECT_EQ(image.BitCount(), 4);
        const Rgba c = PcxHeaderColour(11);
        EXPECT_EQ(image.PaletteEntryAt(11), (ColorQuad{c.b, c.g, c.r, 0}));
        EXPECT_EQ(image.PixelIndexAt(4, 22), PcxValue(4, 0, 4)); // top row
    }
    // 1 bit in one plane is black and white whatever the header's palette holds; in two
    // planes, 2-bit values (kept in a 4-bit picture) of the header's first 4 colours.
    {
        Bytes file = PcxHeader(1, 1, 2, 1, 2);
        file[16] = 0x40;                 // colour 0 would be dark red
        file.insert(file.end(), {0x40, 0});
        CRasterImage image;
        Load(image, file, kFormatPcx);
        EXPECT_EQ(image.BitCount(), 1);
        EXPECT_EQ(image.PixelColorAt(0, 0), ColorQuad{});
        EXPECT_EQ(image.PixelColorAt(1, 0), (ColorQuad{255, 255, 255, 0}));
        Bytes planes = MakePcx({1, 2}, 37, 23);
        CRasterImage two;
        Load(two, planes, kFormatPcx);
        EXPECT_EQ(two.BitCount(), 4);
        for (int x : {0, 2, 4, 6}) EXPECT_EQ(two.PixelIndexAt(x, 22), PcxValue(x, 0, 2)) << x;
    }
    // 1 bit in 3 planes: 3-bit indices into the header's first 8 colours.
    {
        Bytes file = MakePcx({1, 3}, 37, 23);
        CRasterImage image;
        Load(image, file, kFormatPcx);
        EXPECT_EQ(image.BitCount(), 24);
        for (int x : {0, 3, 9, 36}) {
            const Rgba c = PcxHeaderColour(PcxValue(x, 5, 3));
            EXPECT_EQ(image.PixelColorAt(x, 22 - 5), (ColorQuad{c.b, c.g, c.r, 0})) << x;
        }
    }
}

TEST(PcxCodec, RefusalsKeepThePreviousPicture)
{
    const auto with = [](Bytes b, std::initializer_list<std::uint8_t> tail) {
        b.insert(b.end(), tail);
        return b;
    };
    const struct {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"short header", Bytes(100, 10), "Can't read PCX image"},
        {"manufacturer", [] { Bytes b = PcxHeader(8, 1, 1, 1, 2); b[0] = 11; return b; }(), "Error: Not a PCX file"},
        {"encoding", [] { Bytes b = PcxHeader(8, 1, 1, 1, 2); b[2] = 0; return b; }(), "PCX file has unknown encoding scheme"},
        {"5 planes of 1 bit", PcxHeader(1, 5, 8, 1, 1), "Can't handle image with more than 4 planes"},
        {"2 planes of 8 bits", PcxHeader(8, 2, 8, 1, 8), "Can't handle bits per pixel image with planes."},
        {"16 bits", PcxHeader(16, 1, 8, 1, 16), "Can't handle bits per pixel image with planes."},
        {"0 planes", PcxHeader(1, 0, 8, 1, 1), "Can't handle bits per pixel image with planes."},
        {"3 planes of 4 bits", PcxHeader(4, 3, 2, 1, 1), "Can't handle more than 1 bit per pixel"},
        {"lines too short", PcxHeader(8, 1, 9, 1, 8), "corrupted PCX"},
        {"4-bit lines too short", PcxHeader(4, 1, 9, 1, 4), "corrupted PCX"},
        {"no pixels", PcxHeader(8, 3, 2, 2, 2), "corrupted PCX"},
        {"run past the end", with(PcxHeader(8, 1, 2, 1, 2), {0xC3, 7}), "repeat count spans end of image"},
        {"no palette mark", with(PcxHeader(8, 1, 2, 1, 2), {1, 2, 11}), "bad color map signature"},
        {"palette mark missing", with(PcxHeader(8, 1, 2, 1, 2), {1, 2}), "bad color map signature"},
    };
    for (const auto& c : cases) ExpectRefused(c.file, kFormatPcx, c.message, c.what);
}

} // namespace
