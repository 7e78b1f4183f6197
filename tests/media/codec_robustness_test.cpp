// Damaged pictures: every reader gets truncated and bit-flipped copies of real files (and
// the other formats' files) and must either load a picture that holds together or refuse
// with a message, leaving the previous picture as it was. Run under AddressSanitizer, this
// is also the check that nothing reads or writes outside its buffers.
#include <gtest/gtest.h>

#include <random>

#include "media/raster_image.h"
#include "tests/media/magick.h"

using magick::Bytes;

namespace {

struct Seed {
    const char* name;
    const char* recipe;
    std::uint32_t format;
};

const Seed kSeeds[] = {
    {"p8.bmp", "{base} -colors 200 -compress None BMP3:{out}", kFormatBmp},
    {"rle8.bmp", "{base} -colors 200 -compress RLE BMP3:{out}", kFormatBmp},
    {"b565.bmp", "{base} -define bmp:subtype=RGB565 BMP:{out}", kFormatBmp},
    {"os2_p4.bmp", "{base} -colors 16 BMP2:{out}", kFormatBmp},
    {"b32.bmp", "{alpha} -define bmp3:alpha=true BMP3:{out}", kFormatBmp},
    {"rgb.jpg", "{base} -quality 90 {out}", kFormatJpeg},
    {"progressive.jpg", "{base} -interlace Plane {out}", kFormatJpeg},
    {"cmyk.jpg", "{base} -colorspace CMYK {out}", kFormatJpeg},
    {"grey.jpg", "{base} -colorspace Gray {out}", kFormatJpeg},
    {"pal_alpha.png", "{alpha} -colors 64 -type PaletteAlpha {out}", kFormatPng},
    {"rgba_interlaced.png", "{alpha} -interlace PNG PNG32:{out}", kFormatPng},
    {"grey2.png", "{base} -colorspace Gray -define png:color-type=0 -define png:bit-depth=2 {out}", kFormatPng},
    {"rgb16.png", "{base} -depth 16 PNG48:{out}", kFormatPng},
    {"rle32.tga", "{alpha} -compress RLE TGA:{out}", kFormatTga},
    {"p8rle.tga", "{base} -type Palette -compress RLE TGA:{out}", kFormatTga},
    {"p8.pcx", "{base} -colors 200 PCX:{out}", kFormatPcx},
    {"rgb.pcx", "{base} PCX:{out}", kFormatPcx},
};

void PrintTo(const Seed& s, std::ostream* os) { *os << s.name; }

// Recomputes every chunk's CRC, so that damage inside a PNG reaches past the library's
// checksums into the data.
void FixPngChecksums(Bytes& png)
{
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = (std::uint32_t(png[at]) << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        if (length > png.size() - at - 12) return;
        std::uint32_t crc = 0xFFFFFFFFu;
        for (size_t i = at + 4; i < at + 8 + length; ++i) {
            crc ^= png[i];
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
        crc ^= 0xFFFFFFFFu;
        for (int i = 0; i < 4; ++i) png[at + 8 + length + i] = std::uint8_t(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

// One attempt on an image that already holds a 2 × 2 picture.
void TryRead(const Bytes& data, std::uint32_t format, const std::string& what)
{
    CRasterImage image;
    ASSERT_TRUE(image.Allocate(2, 2, 24, kFormatBmp));
    image.PutPixelColor(1, 1, ColorQuad{9, 8, 7, 0});
    if (image.LoadMemory(data.data(), data.size(), format)) {
        ASSERT_TRUE(image.IsValid()) << what;
        ASSERT_GE(image.Width(), 1) << what;
        ASSERT_GE(image.Height(), 1) << what;
        ASSERT_EQ(std::uint64_t(image.Header().imageSize), std::uint64_t(image.RowBytes()) * std::uint64_t(image.Height()))
            << what;
        ASSERT_EQ(image.Format(), format) << what;
        // Whatever was read can be written again.
        Bytes out;
        ASSERT_TRUE(image.SaveMemory(out, kFormatBmp)) << what;
    } else {
        ASSERT_FALSE(image.LastError().empty()) << what;
        ASSERT_EQ(image.Width(), 2) << what;
        ASSERT_EQ(image.PixelColorAt(1, 1), (ColorQuad{9, 8, 7, 0})) << what;
    }
}

class DamagedPictures : public testing::TestWithParam<Seed> {};

TEST_P(DamagedPictures, TruncatedCopiesLoadOrAreRefused)
{
    const Seed& s = GetParam();
    Bytes file = magick::ReadFile(magick::Make(s.name, s.recipe));
    ASSERT_FALSE(file.empty());
    const size_t step = std::max<size_t>(1, file.size() / 300);
    for (size_t n = 0; n < file.size(); n += (n < 128 ? 1 : step)) {
        Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(n));
        for (std::uint32_t format : {0u + kFormatBmp, 0u + kFormatJpeg, 0u + kFormatPng})
            if (format == s.format || n % 7 == 0) TryRead(cut, format, std::string(s.name) + " cut to " + std::to_string(n));
        if (HasFatalFailure()) return;
    }
}

TEST_P(DamagedPictures, BitFlippedCopiesLoadOrAreRefused)
{
    const Seed& s = GetParam();
    Bytes file = magick::ReadFile(magick::Make(s.name, s.recipe));
    ASSERT_FALSE(file.empty());
    std::mt19937 random(std::hash<std::string>()(s.name) & 0xFFFFFFFFu);
    for (int round = 0; round < 400; ++round) {
        Bytes damaged = file;
        // Half of the rounds hit the headers, where sizes, counts and masks live.
        const size_t span = (round & 1) ? std::min<size_t>(file.size(), 128) : file.size();
        const int flips = 1 + int(random() % 4);
        for (int f = 0; f < flips; ++f) {
            size_t at = random() % span;
            if (random() % 4 == 0) damaged[at] = std::uint8_t(random()); // a whole new byte
            else damaged[at] ^= std::uint8_t(1u << (random() % 8));
        }
        if (s.format == kFormatPng && round % 4 < 3) FixPngChecksums(damaged);
        TryRead(damaged, s.format, std::string(s.name) + " round " + std::to_string(round));
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DamagedPictures, testing::ValuesIn(kSeeds),
                         [](const testing::TestParamInfo<Seed>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name;
                         });

} // namespace
