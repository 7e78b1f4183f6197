// The picture cache: loading by extension with the sizes the platform's picture loader
// reports, refusing what it cannot read, and drawing plain, white-keyed, turned and
// mirrored; metafiles included, damaged ones too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <functional>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <random>
#include <sys/stat.h>
#include <thread>

#include "media/image_cache.h"
#include "media/metafile_playback.h"
#include "media/picture_file.h"
#include "media/raster_image.h"
#include "tests/media/magick.h"
#include "tests/support/fifo_open.h"
#include "tests/support/pixel_probe.h"

namespace {

// Drawings made while it lives wait for their playings as long as a playing may take, so
// that a busy machine shows a test what was played at the size it asked for rather than
// the picture played before.
class PatientPlayings {
public:
    PatientPlayings() : m_old(GetMetafileWaits())
    {
        const std::chrono::milliseconds all = std::chrono::seconds(CMetafilePlayback::kPlaySeconds);
        SetMetafileWaits({all, all});
    }
    ~PatientPlayings() { SetMetafileWaits(m_old); }
    PatientPlayings(const PatientPlayings&) = delete;
    PatientPlayings& operator=(const PatientPlayings&) = delete;

private:
    MetafileWaits m_old;
};

using magick::Bytes;
using plat::ColorRef;
using plat::Rgb;
using namespace testsupport;

plat::String Wide(const std::string& path) { return plat::Utf8ToUtf16(path); }

void Put16(Bytes& b, int v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, static_cast<int>(v & 0xFFFF));
    Put16(b, static_cast<int>(v >> 16));
}

// A placeable metafile of w × h units at unitsPerInch: a white page with a blue square
// over its left half, drawn without an outline.
Bytes MakeWmf(int w, int h, int unitsPerInch, int type = 1)
{
    Bytes records;
    auto record = [&](int function, std::initializer_list<int> params) {
        Put32(records, static_cast<std::uint32_t>(3 + params.size()));
        Put16(records, function);
        for (int p : params) Put16(records, p);
    };
    record(0x020B, {0, 0});                            // window origin y, x
    record(0x020C, {h, w});                            // window extent y, x
    record(0x02FC, {0, 0x0000, 0x00FF, 0});            // solid brush, COLORREF blue
    record(0x012D, {0});                               // select it
    record(0x02FA, {5, 0, 0, 0, 0});                   // null pen
    record(0x012D, {1});
    record(0x041B, {h, w / 2, 0, 0});                  // rectangle bottom, right, top, left
    record(0x0000, {});                                // end

    Bytes out;
    Put32(out, 0x9AC6CDD7);
    Put16(out, 0);
    for (int v : {0, 0, w, h}) Put16(out, v);
    Put16(out, unitsPerInch);
    Put32(out, 0);
    int checksum = 0;
    for (size_t i = 0; i < out.size(); i += 2) checksum ^= out[i] | (out[i + 1] << 8);
    Put16(out, checksum);
    Put16(out, type);
    Put16(out, 9);
    Put16(out, 0x0300);
    Put32(out, static_cast<std::uint32_t>((18 + records.size()) / 2));
    Put16(out, 2);
    Put32(out, 8);
    Put16(out, 0);
    out.insert(out.end(), records.begin(), records.end());
    return out;
}

// An enhanced metafile: its header with the frame in HIMETRIC units, and the end record.
Bytes MakeEmf(int frameLeft, int frameTop, int frameRight, int frameBottom, std::uint32_t signature = 0x464D4520)
{
    Bytes out;
    Put32(out, 1);
    Put32(out, 88);
    for (int v : {0, 0, 95, 47}) Put32(out, static_cast<std::uint32_t>(v));
    for (int v : {frameLeft, frameTop, frameRight, frameBottom}) Put32(out, static_cast<std::uint32_t>(v));
    Put32(out, signature);
    Put32(out, 0x10000);
    Put32(out, 88 + 20);
    Put32(out, 2);
    Put16(out, 1);
    Put16(out, 0);
    for (int i = 0; i < 3; ++i) Put32(out, 0);
    for (int v : {1024, 768, 320, 240}) Put32(out, static_cast<std::uint32_t>(v));
    // EMR_EOF
    for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) Put32(out, v);
    return out;
}

// An enhanced metafile of 100 × 50 logical units on a reference device of one pixel to
// the millimetre (a frame of 10,000 × 5,000 HIMETRIC units): a blue rectangle over the
// top-left quarter, a red ellipse in the right half, a green polyline 6 units wide along
// the bottom-left, and a line of black text, each record as the format lays it out.
Bytes MakeEmfDrawing()
{
    Bytes records;
    int count = 0;
    auto record = [&](std::uint32_t type, std::initializer_list<std::uint32_t> words) {
        Put32(records, type);
        Put32(records, static_cast<std::uint32_t>(8 + 4 * words.size()));
        for (std::uint32_t w : words) Put32(records, w);
        ++count;
    };
    const std::uint32_t kNullPen = 0x80000008;
    record(18, {1});                                  // SETBKMODE transparent
    record(39, {1, 0, 0x00FF0000, 0});                // CREATEBRUSHINDIRECT 1: solid blue
    record(37, {1});                                  // SELECTOBJECT
    record(37, {kNullPen});
    record(43, {0, 0, 50, 25});                       // RECTANGLE
    record(39, {2, 0, 0x000000FF, 0});                // brush 2: solid red
    record(37, {2});
    record(42, {60, 5, 95, 45});                      // ELLIPSE
    record(38, {3, 0, 6, 0, 0x0000FF00});             // CREATEPEN 3: solid green, 6 wide
    record(37, {3});
    // POLYLINE16: bounds, two points (5, 40) and (45, 40).
    record(87, {5, 39, 45, 41, 2, 5 | (40u << 16), 45 | (40u << 16)});
    // EXTCREATEFONTINDIRECTW 4: a bold Arial 16 units high (a LOGFONTW of 92 bytes).
    record(82, {4, std::uint32_t(-16), 0, 0, 0, 700, 0, 0, 'A' | ('r' << 16), 'i' | ('a' << 16), 'l', 0, 0, 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0, 0});
    record(37, {4});
    // EXTTEXTOUTW "HH" at (10, 28): bounds, graphics mode, scales, then the text record
    // (reference point, count, string offset, options, clip box, spacing offset).
    const float one = 1.0f;
    std::uint32_t scale;
    std::memcpy(&scale, &one, 4);
    record(84, {10, 28, 40, 48, 1, scale, scale, 10, 28, 2, 76, 0, 0, 0, 0, 0, 80,
                'H' | ('H' << 16), 12, 12});
    record(14, {0, 16, 20});                          // EOF

    Bytes out;
    Put32(out, 1);
    Put32(out, 88);
    for (int v : {0, 0, 100, 50}) Put32(out, static_cast<std::uint32_t>(v));     // bounds, device units
    for (int v : {0, 0, 10000, 5000}) Put32(out, static_cast<std::uint32_t>(v));  // frame, HIMETRIC
    Put32(out, 0x464D4520);
    Put32(out, 0x10000);
    Put32(out, static_cast<std::uint32_t>(88 + records.size()));
    Put32(out, static_cast<std::uint32_t>(count + 1));
    Put16(out, 4);
    Put16(out, 0);
    for (int i = 0; i < 3; ++i) Put32(out, 0);
    for (int v : {1000, 1000, 1000, 1000}) Put32(out, static_cast<std::uint32_t>(v));
    out.insert(out.end(), records.begin(), records.end());
    return out;
}

std::string WriteFixture(const std::string& name, const Bytes& data)
{
    const std::string path = magick::Dir() + name;
    magick::WriteFile(path, data);
    return path;
}

std::string Folder(const std::string& name)
{
    const std::string path = magick::Dir() + name;
    ::mkdir(path.c_str(), 0700);
    return path;
}

// 40 × 20, white, with a blue band and a white hole inside it.
const char kHoleRecipe[] =
    "-size 40x20 xc:white -fill blue -draw 'rectangle 5,5 34,14' -fill white -draw 'rectangle 15,8 24,11' ";
// 20 × 10 in four quarters: blue, lime / black, yellow.
const char kQuartersRecipe[] =
    "-size 20x10 xc:blue -fill lime -draw 'rectangle 10,0 19,4' -fill black -draw 'rectangle 0,5 9,9' "
    "-fill yellow -draw 'rectangle 10,5 19,9' ";

TEST(ImageCache, TypesComeFromTheLastFourCharacters)
{
    const struct {
        const char16_t* path;
        std::int32_t type;
    } cases[] = {
        {u"a.bmp", kPictureBmp}, {u"a.GIF", kPictureGif}, {u"a.wmf", kPictureWmf}, {u"a.Emf", kPictureEmf},
        {u"a.jpg", kPictureJpg}, {u"a.JPG", kPictureJpg}, {u"a.tga", kPictureTga}, {u"a.pcx", kPicturePcx},
        {u"a.png", kPicturePng}, {u"a.ico", kPictureIco}, {u"a.jpeg", kPictureNone}, {u"jpg", kPictureNone},
        {u"图片.PNG", kPicturePng}, {u"", kPictureNone},
    };
    for (const auto& c : cases) EXPECT_EQ(CImageCache::TypeFromPath(c.path), c.type) << plat::Utf16ToUtf8(c.path);
}

TEST(ImageCache, HimetricBecomesPixelsRoundedToTheNearest)
{
    const struct {
        std::int64_t himetric;
        int dpi;
        std::int32_t pixels;
    } cases[] = {{2540, 96, 96}, {1270, 96, 48}, {1, 96, 0}, {13, 96, 0}, {14, 96, 1}, {0, 96, 0}, {2540, 120, 120}};
    for (const auto& c : cases) EXPECT_EQ(HimetricToPixels(c.himetric, c.dpi), c.pixels) << c.himetric;
    EXPECT_EQ(PixelsToHimetric(37, 96), 979);
    EXPECT_EQ(PixelsToHimetric(96, 96), 2540);
}

TEST(ImageCache, LoadsByExtensionWithTheLoadersSizes)
{
    const std::string bmp = magick::Make("cache.bmp", "{base} BMP3:{out}");
    const std::string jpg = magick::Make("cache.jpg", "{base} -quality 90 {out}");
    const std::string upper = magick::Make("cache-upper.JPG", "{base} JPEG:{out}");
    const std::string png = magick::Make("cache.png", "{base} PNG24:{out}");
    // The loader goes by what the file holds: a BMP named .jpg is read as a BMP.
    const std::string disguised = magick::Make("bmp-inside.jpg", "{base} BMP3:{out}");
    const std::string wmf = WriteFixture("frame.wmf", MakeWmf(1440, 720, 1440));
    const std::string wmfInches = WriteFixture("inches.wmf", MakeWmf(2, 1, 1));
    const std::string emf = WriteFixture("frame.emf", MakeEmf(100, 200, 2640, 1470));
    const struct {
        std::string path;
        std::int32_t type;
        int width, height;
        std::int32_t himetricWidth, himetricHeight;
    } cases[] = {
        {bmp, kPictureBmp, 37, 23, 979, 609},       {jpg, kPictureJpg, 37, 23, 979, 609},
        {upper, kPictureJpg, 37, 23, 979, 609},     {disguised, kPictureJpg, 37, 23, 979, 609},
        {png, kPicturePng, 37, 23, 0, 0},           {wmf, kPictureWmf, 96, 48, 2540, 1270},
        {wmfInches, kPictureWmf, 192, 96, 5080, 2540}, {emf, kPictureEmf, 96, 48, 2540, 1270},
    };
    for (const auto& c : cases) {
        CImageCache cache;
        EXPECT_EQ(cache.GetSize(), plat::Size(1, 1));
        ASSERT_EQ(cache.Load(Wide(c.path)), 1) << c.path;
        EXPECT_TRUE(cache.HasPicture());
        EXPECT_EQ(cache.Type(), c.type) << c.path;
        EXPECT_EQ(cache.GetSize(), plat::Size(c.width, c.height)) << c.path;
        EXPECT_EQ(cache.HimetricWidth(), c.himetricWidth) << c.path;
        EXPECT_EQ(cache.HimetricHeight(), c.himetricHeight) << c.path;
        cache.Release();
        EXPECT_FALSE(cache.HasPicture());
        EXPECT_EQ(cache.GetSize(), plat::Size(c.width, c.height)) << c.path;
    }
}

TEST(ImageCache, RefusesWhatItCannotReadAndKeepsTheOldSize)
{
    const std::string good = magick::Make("cache.bmp", "{base} BMP3:{out}");
    Bytes truncated = magick::ReadFile(magick::Make("cache.jpg", "{base} -quality 90 {out}"));
    truncated.resize(60); // inside the headers
    Bytes badWmfType = MakeWmf(1440, 720, 1440, 7);
    const std::vector<std::string> refused = {
        magick::Dir() + "missing.bmp",
        magick::Dir() + "photo.jpeg",
        Folder("folder.bmp"),
        WriteFixture("junk.bmp", Bytes(500, 0x42)),
        WriteFixture("truncated.jpg", truncated),
        magick::Make("png-inside.jpg", "{base} PNG:{out}"),
        WriteFixture("no-inch.wmf", MakeWmf(1440, 720, 0)),
        WriteFixture("no-width.wmf", MakeWmf(0, 720, 1440)),
        WriteFixture("bad-type.wmf", badWmfType),
        WriteFixture("short.wmf", Bytes(badWmfType.begin(), badWmfType.begin() + 30)),
        // Without the placeable header, of a type that is neither memory nor disk.
        WriteFixture("plain.wmf", Bytes(badWmfType.begin() + 22, badWmfType.end())),
        WriteFixture("signature.emf", MakeEmf(0, 0, 2540, 1270, 0x12345678)),
        WriteFixture("upside-down.emf", MakeEmf(0, 1270, 2540, 0)),
        WriteFixture("short.emf", Bytes(40, 1)),
    };
    CImageCache cache;
    ASSERT_EQ(cache.Load(Wide(good)), 1);
    for (const std::string& path : refused) {
        EXPECT_EQ(cache.Load(Wide(path)), 0) << path;
        EXPECT_FALSE(cache.HasPicture()) << path;
        EXPECT_EQ(cache.GetSize(), plat::Size(37, 23)) << path;
    }
    // Drawing with nothing loaded draws nothing.
    Canvas page(10, 10, kRed);
    cache.Draw(page.dc, 0, 0, 10, 10);
    cache.DrawTransparent(page.dc, 0, 0, 10, 10, 0.5);
    EXPECT_EQ(page.At(5, 5), kRed);
}

// Every loader that opens a picture by name refuses a FIFO at once, with or without a
// writer, as it refuses a file it cannot read; devices are refused alike.
TEST(ImageCache, PipesAndDevicesAreRefusedWithoutWaiting)
{
    struct Case {
        const char* what;
        std::function<bool(const plat::String&)> load;
    } cases[] = {
        {"CRasterImage::LoadFile BMP", [](const plat::String& p) { return CRasterImage().LoadFile(p, kFormatBmp); }},
        {"CRasterImage::LoadFile JPEG", [](const plat::String& p) { return CRasterImage().LoadFile(p, kFormatJpeg); }},
        {"CRasterImage::LoadFile PNG", [](const plat::String& p) { return CRasterImage().LoadFile(p, kFormatPng); }},
        {"CPictureFile::Load", [](const plat::String& p) { return CPictureFile::Load(p) != nullptr; }},
        {"CImageCache::Load", [](const plat::String& p) { return CImageCache().Load(p) != 0; }},
    };
    for (const char* name : {"pipe.bmp", "pipe.jpg", "pipe.png", "pipe.wmf"}) {
        const std::string fifo = magick::Dir() + name;
        ::unlink(fifo.c_str());
        ASSERT_TRUE(MakeFifo(fifo));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " " + name);
            for (FifoWriter writer : {FifoWriter::kNone, FifoWriter::kHeldOpen})
                EXPECT_FALSE(OpensWithoutWaiting(fifo, writer, [&] { return c.load(Wide(fifo)); }));
            EXPECT_FALSE(c.load(u"/dev/zero"));
        }
        ::unlink(fifo.c_str());
    }
}

// The hole picture of kHoleRecipe loaded by the cache and drawn white-keyed on a red
// page, 1:1 and stretched: the margin and the hole show the page.
void ExpectHoleDrawnWhiteKeyed(const std::string& path)
{
    CImageCache cache;
    ASSERT_EQ(cache.Load(Wide(path)), 1) << path;
    Canvas page(60, 40, kRed);
    cache.DrawTransparent(page.dc, 10, 10, 40, 20, 0);
    EXPECT_EQ(page.At(11, 11), kRed) << path;   // white margin
    EXPECT_EQ(page.At(16, 16), kBlue) << path;  // band
    EXPECT_EQ(page.At(27, 19), kRed) << path;   // white hole inside the band
    EXPECT_EQ(page.At(44, 24), kBlue) << path;  // band's far corner
    EXPECT_EQ(page.At(45, 25), kRed) << path;
    EXPECT_EQ(page.At(5, 5), kRed) << path;     // outside the picture

    // Stretched to twice the size.
    Canvas big(100, 60, kRed);
    cache.DrawTransparent(big.dc, 0, 0, 80, 40, 0);
    EXPECT_EQ(big.At(12, 12), kBlue) << path;
    EXPECT_EQ(big.At(38, 20), kRed) << path;
    EXPECT_EQ(big.At(69, 29), kBlue) << path;
}

TEST(ImageCache, WhiteIsTransparentOutsideAndInsideThePicture)
{
    const std::string bmp = magick::Make("hole.bmp", std::string(kHoleRecipe) + "BMP3:{out}");
    const std::string png = magick::Make("hole.png", std::string(kHoleRecipe) + "PNG24:{out}");
    const std::string gif = magick::Make("hole.gif", std::string(kHoleRecipe) + "GIF:{out}");
    const std::string ico = magick::Make("hole.ico", std::string(kHoleRecipe) + "ICO:{out}");
    for (const std::string& path : {bmp, png, gif, ico}) ExpectHoleDrawnWhiteKeyed(path);
}

// A GIF's transparent pixels show the page whatever their colour; an icon is drawn from
// its colour rows, stretched, black included.
TEST(ImageCache, GifTransparencyAndIconsDrawKeyedOnThePage)
{
    const std::string gif = magick::Make(
        "keyed.gif", std::string(kHoleRecipe) + "-fill lime -draw 'rectangle 0,0 4,4' -transparent lime GIF:{out}");
    CImageCache cache;
    ASSERT_EQ(cache.Load(Wide(gif)), 1);
    EXPECT_EQ(cache.GetSize(), plat::Size(40, 20));
    Canvas page(60, 40, kRed);
    cache.DrawTransparent(page.dc, 10, 10, 40, 20, 0);
    EXPECT_EQ(page.At(12, 12), kRed);  // transparent corner
    EXPECT_EQ(page.At(16, 12), kRed);  // white margin
    EXPECT_EQ(page.At(16, 16), kBlue); // band
    EXPECT_EQ(page.At(27, 19), kRed);  // hole
    // Drawn plainly, the transparent corner leaves the page as it was too.
    Canvas plain(40, 20, kYellow);
    cache.Draw(plain.dc, 0, 0, 40, 20);
    EXPECT_EQ(plain.At(2, 2), kYellow);
    EXPECT_EQ(plain.At(6, 2), kWhite);
    EXPECT_EQ(plain.At(6, 6), kBlue);
    // Mirrored by a negative width, as BMP and JPEG pictures are: the corner on the right.
    Canvas mirrored(40, 20, kYellow);
    cache.Draw(mirrored.dc, 40, 0, -40, 20);
    EXPECT_EQ(mirrored.At(2, 2), kWhite);
    EXPECT_NE(mirrored.At(37, 2), kWhite);
    EXPECT_EQ(mirrored.At(33, 6), kBlue);

    const std::string ico = magick::Make(
        "quarters.ico", std::string(kQuartersRecipe) + "ICO:{out}");
    CImageCache icon;
    ASSERT_EQ(icon.Load(Wide(ico)), 1);
    EXPECT_EQ(icon.GetSize(), plat::Size(20, 10));
    Canvas iconPage(40, 30, kRed);
    icon.DrawTransparent(iconPage.dc, 10, 10, 40, 20, 0); // twice the size
    EXPECT_EQ(iconPage.At(35, 14), kLime);
    EXPECT_EQ(iconPage.At(35, 24), kYellow);
    EXPECT_EQ(iconPage.At(14, 24), kBlack);
    EXPECT_EQ(iconPage.At(5, 5), kRed);
}

// The picture drawn at width × height on white is the placeholder: a frame of one colour
// round the edge, white inside off its diagonals.
void ExpectPlaceholder(CImageCache& picture, int width, int height)
{
    Canvas page(width, height, kWhite);
    picture.Draw(page.dc, 0, 0, width, height);
    const ColorRef frame = page.At(0, 0);
    EXPECT_NE(frame, kWhite);
    EXPECT_EQ(page.At(width - 1, height - 1), frame);
    EXPECT_EQ(page.At(width / 2, 0), frame);
    EXPECT_EQ(page.At(width / 2, height * 3 / 10), kWhite);
}

TEST(ImageCache, MetafilesDrawThroughTheirPlayers)
{
    const PatientPlayings patient;
    CImageCache wmf;
    ASSERT_EQ(wmf.Load(Wide(WriteFixture("frame.wmf", MakeWmf(1440, 720, 1440)))), 1);
    Canvas page(120, 60, kRed);
    wmf.DrawTransparent(page.dc, 0, 0, 96, 48, 0);
    EXPECT_EQ(page.At(10, 10), kBlue);
    EXPECT_EQ(page.At(46, 46), kBlue);
    EXPECT_EQ(page.At(52, 10), kRed); // the white right half
    EXPECT_EQ(page.At(100, 10), kRed);
    // Played again at the size asked for.
    Canvas big(200, 100, kWhite);
    wmf.Draw(big.dc, 0, 0, 192, 96);
    EXPECT_EQ(big.At(90, 90), kBlue);
    EXPECT_EQ(big.At(100, 10), kWhite);
    // Mirrored by a negative width: the blue half on the right.
    Canvas flipped(96, 48, kRed);
    wmf.Draw(flipped.dc, 96, 0, -96, 48);
    EXPECT_EQ(flipped.At(10, 10), kWhite);
    EXPECT_EQ(flipped.At(90, 10), kBlue);

    // An EMF of nothing but its header plays as a blank page.
    CImageCache emf;
    ASSERT_EQ(emf.Load(Wide(WriteFixture("frame.emf", MakeEmf(0, 0, 2540, 1270)))), 1);
    Canvas blank(96, 48, kRed);
    emf.Draw(blank.dc, 0, 0, 96, 48);
    for (int x : {0, 48, 95}) EXPECT_EQ(blank.At(x, 24), kWhite) << x;
}

TEST(ImageCache, MetafileNaturalSizesAreClampedToTheLargestPage)
{
    // The longer side at 10 m (1,000,000 HIMETRIC units, 37,795 pixels), the other in
    // proportion; sizes a page can hold are reported as declared.
    const struct {
        const char* name;
        Bytes file;
        std::int32_t himetricWidth, himetricHeight, width, height;
    } kCases[] = {
        {"huge-square.emf", MakeEmf(0, 0, 1984375000, 1984375000), 1000000, 1000000, 37795, 37795},
        {"huge-wide.emf", MakeEmf(-1000000000, 0, 1000000000, 500000000), 1000000, 250000, 37795, 9449},
        {"page-sized.emf", MakeEmf(0, 0, 1000000, 21000), 1000000, 21000, 37795, 794},
        {"huge-square.wmf", MakeWmf(32767, 32767, 1), 1000000, 1000000, 37795, 37795},
        {"huge-tall.wmf", MakeWmf(8000, 32000, 1), 250000, 1000000, 9449, 37795},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CImageCache cache;
        ASSERT_EQ(cache.Load(Wide(WriteFixture(c.name, c.file))), 1);
        EXPECT_EQ(cache.HimetricWidth(), c.himetricWidth);
        EXPECT_EQ(cache.HimetricHeight(), c.himetricHeight);
        EXPECT_EQ(cache.GetSize(), plat::Size(c.width, c.height));
    }
}

// Counts the children that end (each playing of a metafile is one), leaving them to be
// waited for by the player.
std::atomic<int> g_childrenEnded{0};

TEST(ImageCache, SmallerZoomsReuseTheLargestPlaying)
{
    struct sigaction count{}, old{};
    count.sa_handler = [](int) { ++g_childrenEnded; };
    sigemptyset(&count.sa_mask);
    count.sa_flags = SA_RESTART;
    ASSERT_EQ(sigaction(SIGCHLD, &count, &old), 0);
    // How many playings have ended once at least `expected` have: a child's signal may
    // come a moment after the player saw it end, and on a busy machine a playing that
    // outlasts the drawing's wait ends later still.
    const auto playings = [](int expected) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (g_childrenEnded.load() < expected && std::chrono::steady_clock::now() < giveUp);
        return g_childrenEnded.load();
    };

    CImageCache wmf;
    ASSERT_EQ(wmf.Load(Wide(WriteFixture("zoom.wmf", MakeWmf(1440, 720, 1440)))), 1);
    Canvas page(400, 200, kRed);
    wmf.Draw(page.dc, 0, 0, 96, 48); // the size it was played at when loaded
    const int atLoad = playings(1);
    EXPECT_GE(atLoad, 1);
    wmf.Draw(page.dc, 0, 0, 192, 96);
    EXPECT_EQ(playings(atLoad + 1), atLoad + 1);
    EXPECT_EQ(page.At(90, 90), kBlue);
    EXPECT_EQ(page.At(100, 10), kWhite);
    // Every smaller drawing, mirrored ones too, is the 192 × 96 playing stretched.
    for (const auto& [cx, cy] : {std::pair{96, 48}, {150, 75}, {-96, 48}, {40, 90}}) {
        Canvas small(200, 100, kRed);
        wmf.Draw(small.dc, cx < 0 ? 96 : 0, 0, cx, cy);
        EXPECT_EQ(small.At(cx < 0 ? 90 : 5, 5), kBlue) << cx << " x " << cy;
    }
    EXPECT_EQ(playings(atLoad + 1), atLoad + 1);
    // A larger one plays it again.
    wmf.Draw(page.dc, 0, 0, 384, 192);
    EXPECT_EQ(playings(atLoad + 2), atLoad + 2);
    EXPECT_EQ(page.At(380, 10), kWhite);
    EXPECT_EQ(page.At(10, 180), kBlue);
    sigaction(SIGCHLD, &old, nullptr);
}

// The metafiles of the images' hang folder take libwmf seconds to play at each size (one
// never finishes within the child's time): loading and drawing them at new sizes, as
// zooming does, never waits for them that long; a picture with nothing played yet shows
// the placeholder frame.
TEST(ImageCache, SlowMetafilesAreShownWithoutWaitingForThem)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    using Clock = std::chrono::steady_clock;
    for (const char* name : {"wmf_30000_characters.wmf", "wmf_300000_rectangles.wmf"}) {
        SCOPED_TRACE(name);
        CImageCache wmf;
        auto start = Clock::now();
        ASSERT_EQ(wmf.Load(Wide(std::string(root) + "/images/hang/" + name)), 1);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000)) << "load";
        for (int side : {400, 800, 1200, 600, 300}) {
            Canvas page(side, side, kWhite);
            start = Clock::now();
            wmf.Draw(page.dc, 0, 0, side, side);
            EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500)) << side;
        }
    }
    // 30,000 characters of large text: nothing played within the wait, so the frame.
    CImageCache text;
    ASSERT_EQ(text.Load(Wide(std::string(root) + "/images/hang/wmf_30000_characters.wmf")), 1);
    ExpectPlaceholder(text, 200, 100);
}

TEST(ImageCache, MetafilesPlayWhateverTheHostDoesWithSignals)
{
    const PatientPlayings patient;
    // Metafiles are played in a child process: a host that ignores SIGCHLD, blocks
    // SIGALRM or handles it must not lose its pictures to that.
    auto* oldChild = std::signal(SIGCHLD, SIG_IGN);
    auto* oldAlarm = std::signal(SIGALRM, [](int) {});
    sigset_t alarmOnly, oldMask;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    sigprocmask(SIG_BLOCK, &alarmOnly, &oldMask);
    CImageCache wmf;
    const int loaded = wmf.Load(Wide(WriteFixture("signals.wmf", MakeWmf(1440, 720, 1440))));
    Canvas page(96, 48, kRed);
    if (loaded) wmf.Draw(page.dc, 0, 0, 96, 48);
    sigprocmask(SIG_SETMASK, &oldMask, nullptr);
    std::signal(SIGALRM, oldAlarm);
    std::signal(SIGCHLD, oldChild);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(page.At(10, 10), kBlue);
    EXPECT_EQ(page.At(80, 10), kWhite);
}

TEST(ImageCache, RotatingAHundredByFiftyByAQuarterTurn)
{
    auto source = plat::Bitmap::Create(100, 50);
    source->Fill(kBlue);
    source->SetPixel(0, 0, kRed);
    source->SetPixel(99, 0, kLime);
    source->SetPixel(0, 49, kYellow);
    auto turned = RotateBitmap(*source, std::numbers::pi_v<float> / 2, kWhite);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->Width(), 64);
    EXPECT_EQ(turned->Height(), 100);
    // Counter-clockwise: the top edge becomes the left one, read upwards.
    EXPECT_EQ(turned->GetPixel(0, 99), kRed);
    EXPECT_EQ(turned->GetPixel(0, 0), kLime);
    EXPECT_EQ(turned->GetPixel(49, 99), kYellow);
    EXPECT_EQ(turned->GetPixel(25, 50), kBlue);
    EXPECT_EQ(turned->GetPixel(55, 50), kWhite); // the rounding to 32
    // The source is left as it was.
    EXPECT_EQ(source->GetPixel(0, 0), kRed);
    EXPECT_EQ(source->Width(), 100);

    auto unturned = RotateBitmap(*source, 0.0f, kWhite);
    ASSERT_TRUE(unturned);
    EXPECT_EQ(unturned->Width(), 128);
    EXPECT_EQ(unturned->Height(), 50);
    EXPECT_EQ(unturned->GetPixel(99, 0), kLime);
    EXPECT_EQ(RotateBitmap(*source, std::nanf(""), kWhite), nullptr);
}

TEST(ImageCache, TurnedPicturesShowThePageInTheUncoveredCorners)
{
    const std::string png = magick::Make("hole.png", std::string(kHoleRecipe) + "PNG24:{out}");
    CImageCache cache;
    ASSERT_EQ(cache.Load(Wide(png)), 1);
    Canvas page(60, 60, kRed);
    cache.DrawTransparent(page.dc, 5, 5, 40, 20, std::numbers::pi / 2);
    // Picture pixel (u, v) lands at (5 + v, 5 + 39 - u).
    EXPECT_EQ(page.At(5 + 6, 5 + 39 - 6), kBlue);
    EXPECT_EQ(page.At(5 + 13, 5 + 39 - 33), kBlue);
    EXPECT_EQ(page.At(5 + 9, 5 + 39 - 17), kRed);  // the hole
    EXPECT_EQ(page.At(5 + 1, 5 + 39 - 1), kRed);   // the margin
    EXPECT_EQ(page.At(5 + 25, 5 + 20), kRed);      // past the turned picture, inside its box
}

TEST(ImageCache, MirroredDrawsFlipEveryKindOfPicture)
{
    const std::string bmp = magick::Make("quarters.bmp", std::string(kQuartersRecipe) + "BMP3:{out}");
    const std::string png = magick::Make("quarters.png", std::string(kQuartersRecipe) + "PNG24:{out}");
    const struct {
        const char* name;
        int x1, y1, x2, y2;
        ColorRef topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {"as it is", 0, 0, 10, 10, kBlue, kLime, kBlack, kYellow},
        {"x1 = x2", 5, 0, 5, 10, kLime, kBlue, kYellow, kBlack},
        {"y1 > y2", 0, 10, 10, 0, kBlack, kYellow, kBlue, kLime},
        {"both", 10, 10, 0, 0, kYellow, kBlack, kLime, kBlue},
    };
    for (const std::string& path : {bmp, png}) {
        CImageCache cache;
        ASSERT_EQ(cache.Load(Wide(path)), 1);
        for (const auto& c : cases) {
            Canvas page(40, 20, kRed);
            cache.DrawTransparentMirrored(page.dc, 0, 0, 40, 20, c.x1, c.y1, c.x2, c.y2, 0);
            EXPECT_EQ(page.At(2, 2), c.topLeft) << path << " " << c.name;
            EXPECT_EQ(page.At(37, 2), c.topRight) << path << " " << c.name;
            EXPECT_EQ(page.At(2, 17), c.bottomLeft) << path << " " << c.name;
            EXPECT_EQ(page.At(37, 17), c.bottomRight) << path << " " << c.name;
        }
    }
}

TEST(ImageCache, NegativeSizesMirrorLoaderPicturesAndMeanNaturalSizeForTheOthers)
{
    const std::string bmp = magick::Make("quarters.bmp", std::string(kQuartersRecipe) + "BMP3:{out}");
    const std::string png = magick::Make("quarters.png", std::string(kQuartersRecipe) + "PNG24:{out}");
    CImageCache loader, raster;
    ASSERT_EQ(loader.Load(Wide(bmp)), 1);
    ASSERT_EQ(raster.Load(Wide(png)), 1);

    Canvas a(40, 20, kRed);
    loader.Draw(a.dc, 40, 0, -40, 20);
    EXPECT_EQ(a.At(2, 2), kLime);
    EXPECT_EQ(a.At(37, 17), kBlack);

    Canvas b(40, 20, kRed);
    raster.Draw(b.dc, 0, 0, -40, 20);
    EXPECT_EQ(b.At(2, 2), kBlue);
    EXPECT_EQ(b.At(15, 2), kLime);
    EXPECT_EQ(b.At(25, 2), kRed); // drawn 20 wide, its own width
}

TEST(ImageCache, TransparentBitmapsLeaveTheirKeyColourOut)
{
    auto bitmap = plat::Bitmap::Create(3, 2);
    bitmap->Fill(kWhite);
    bitmap->SetPixel(1, 0, kBlue);
    bitmap->SetPixel(2, 1, Rgb(254, 255, 255)); // nearly white is drawn
    Canvas page(6, 4, kRed);
    DrawTransparentBitmap(page.dc, *bitmap, 2, 1, kWhite);
    EXPECT_EQ(page.At(2, 1), kRed);
    EXPECT_EQ(page.At(3, 1), kBlue);
    EXPECT_EQ(page.At(4, 2), Rgb(254, 255, 255));
    EXPECT_EQ(page.At(3, 2), kRed);
    EXPECT_EQ(page.At(5, 1), kRed);

    // Any colour can be the key.
    Canvas other(3, 2, kRed);
    DrawTransparentBitmap(other.dc, *bitmap, 0, 0, kBlue);
    EXPECT_EQ(other.At(0, 0), kWhite);
    EXPECT_EQ(other.At(1, 0), kRed);
}

TEST(ImageCache, DamagedMetafilesAreReadOrRefusedWithoutHarm)
{
    const Bytes wmf = MakeWmf(1440, 720, 1440);
    const Bytes seeds[] = {wmf, MakeEmf(0, 0, 2540, 1270), MakeEmfDrawing(), Bytes(wmf.begin() + 22, wmf.end())};
    const char* names[] = {"damaged.wmf", "damaged.emf", "damaged-drawing.emf", "damaged-plain.wmf"};
    std::mt19937 random(11);
    for (int s = 0; s < 4; ++s) {
        const Bytes& seed = seeds[s];
        for (int round = 0; round < 24; ++round) {
            Bytes data = seed;
            if (round % 3 == 0) {
                data.resize(random() % data.size());
            } else {
                for (int flips = 1 + round % 4; flips > 0; --flips)
                    data[random() % data.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            }
            const std::string path = WriteFixture(names[s], data);
            CImageCache cache;
            if (cache.Load(Wide(path))) {
                Canvas page(50, 30, kRed);
                cache.DrawTransparent(page.dc, 0, 0, 50, 30, 0.3);
                EXPECT_GE(cache.GetSize().cx, 0);
            }
        }
    }
}

TEST(ImageCache, TgaAndPcxPicturesAreDrawnWhiteKeyed)
{
    // Run-length TGA with its rows top to bottom, a palette PCX and a 24-bit one.
    ExpectHoleDrawnWhiteKeyed(magick::Make("hole.tga", std::string(kHoleRecipe) + "-orient TopLeft -compress RLE TGA:{out}"));
    ExpectHoleDrawnWhiteKeyed(magick::Make("hole.pcx", std::string(kHoleRecipe) + "-type Palette PCX:{out}"));
    ExpectHoleDrawnWhiteKeyed(magick::Make("hole24.pcx", std::string(kHoleRecipe) + "-type TrueColor PCX:{out}"));
}

// The colour at (x, y) of MakeEmfDrawing's picture drawn into 200 × 100, had it been
// drawn mirrored in x, in y, or both.
struct EmfProbe {
    int x, y;
    ColorRef colour;
};
const EmfProbe kEmfProbes[] = {
    {10, 10, kBlue},   {90, 40, kBlue},    // the rectangle, 0..100 × 0..50
    {155, 50, kRed},   {130, 50, kRed},    // the ellipse, 120..190 × 10..90
    {80, 80, kLime},   {12, 80, kLime},    // the polyline along y = 80
    {110, 10, kWhite}, {122, 12, kWhite},  // between them, and outside the ellipse's curve
    {110, 95, kWhite}, {195, 95, kWhite},
};

// Dark pixels of the text inside (x0, y0)-(x1, y1).
int DarkPixels(const Canvas& page, int x0, int y0, int x1, int y1)
{
    int dark = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const ColorRef c = page.At(x, y);
            if (plat::RValue(c) < 96 && plat::GValue(c) < 96 && plat::BValue(c) < 96) ++dark;
        }
    return dark;
}

TEST(ImageCache, EmfRecordsDrawWhereTheyPutThem)
{
    const PatientPlayings patient;
    CImageCache emf;
    ASSERT_EQ(emf.Load(Wide(WriteFixture("drawing.emf", MakeEmfDrawing()))), 1);
    EXPECT_EQ(emf.HimetricWidth(), 10000);
    EXPECT_EQ(emf.HimetricHeight(), 5000);
    const struct {
        const char* name;
        int x, y, cx, cy;
        bool mirrorX, mirrorY;
    } draws[] = {
        {"as it is", 0, 0, 200, 100, false, false},
        {"mirrored left to right", 200, 0, -200, 100, true, false},
        {"mirrored top to bottom", 0, 100, 200, -100, false, true},
        {"both", 200, 100, -200, -100, true, true},
    };
    for (const auto& d : draws) {
        Canvas page(200, 100, kRed);
        emf.Draw(page.dc, d.x, d.y, d.cx, d.cy);
        const auto at = [&](int x, int y) { return page.At(d.mirrorX ? 199 - x : x, d.mirrorY ? 99 - y : y); };
        for (const auto& p : kEmfProbes) EXPECT_EQ(at(p.x, p.y), p.colour) << d.name << " at " << p.x << ", " << p.y;
        // The text, 16 units high from (10, 28): dark strokes below the rectangle, none
        // right of it.
        const int x0 = d.mirrorX ? 200 - 70 : 15, y0 = d.mirrorY ? 100 - 76 : 52;
        EXPECT_GT(DarkPixels(page, x0, y0, x0 + 55, y0 + 24), 40) << d.name;
        EXPECT_EQ(DarkPixels(page, d.mirrorX ? 0 : 100, 0, d.mirrorX ? 100 : 200, 100), 0) << d.name;
    }
    // Stretched to four units a pixel across and two down, white-keyed on a red page at
    // an offset: the rectangle now 200 wide, the ellipse 240..380 across.
    Canvas wide(420, 110, kRed);
    emf.DrawTransparent(wide.dc, 10, 5, 400, 100, 0);
    const auto at = [&](int x, int y) { return wide.At(10 + x, 5 + y); };
    EXPECT_EQ(at(190, 40), kBlue);
    EXPECT_EQ(at(5, 5), kBlue);
    EXPECT_EQ(at(160, 80), kLime);
    EXPECT_EQ(at(215, 10), kRed); // white left out
    EXPECT_EQ(at(395, 95), kRed);
    EXPECT_GT(DarkPixels(wide, 10 + 30, 5 + 52, 10 + 150, 5 + 76), 80);
}

TEST(ImageCache, WmfWithoutThePlaceableHeaderDrawsLikeTheOriginal)
{
    const PatientPlayings patient;
    const Bytes original = MakeWmf(1440, 720, 1440);
    CImageCache placeable, plain;
    ASSERT_EQ(placeable.Load(Wide(WriteFixture("original.wmf", original))), 1);
    ASSERT_EQ(plain.Load(Wide(WriteFixture("stripped.wmf", Bytes(original.begin() + 22, original.end())))), 1);
    // Sized by the window extent, 1440 × 720 at 1440 units to the inch.
    EXPECT_EQ(plain.HimetricWidth(), placeable.HimetricWidth());
    EXPECT_EQ(plain.HimetricHeight(), placeable.HimetricHeight());
    EXPECT_EQ(plain.GetSize(), placeable.GetSize());
    for (int scale : {1, 2}) {
        Canvas a(96 * scale, 48 * scale, kRed), b(96 * scale, 48 * scale, kRed);
        placeable.Draw(a.dc, 0, 0, 96 * scale, 48 * scale);
        plain.Draw(b.dc, 0, 0, 96 * scale, 48 * scale);
        EXPECT_EQ(b.At(10, 10), kBlue);
        EXPECT_EQ(b.At(90 * scale, 10), kWhite);
        int differ = 0;
        for (int y = 0; y < 48 * scale; ++y)
            for (int x = 0; x < 96 * scale; ++x) differ += a.At(x, y) != b.At(x, y);
        EXPECT_EQ(differ, 0) << scale;
    }
    // Without a window extent nothing gives it a size: refused.
    Bytes noExtent(original.begin() + 22, original.end());
    noExtent[18 + 10 + 4] = 0x0B; // the extent record becomes a second origin record
    CImageCache none;
    EXPECT_EQ(none.Load(Wide(WriteFixture("no-extent.wmf", noExtent))), 0);
}

} // namespace
