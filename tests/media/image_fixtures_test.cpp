// The images' fixture folders, read by the codecs through the raster image (metafiles by
// the picture loader): good files load with their size, damaged ones are refused with a
// reason and no image, and files that claim huge dimensions finish quickly either way.
#include <chrono>
#include <filesystem>
#include <string>

#include "media/picture_file.h"
#include "media/raster_image.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/base/strings.h"
#include "tests/media/gif_icon_variants.h"
#include "tests/media/magick.h"
#include "tests/support/fixture_walk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FixtureKind;

std::uint32_t FormatOf(const fs::path& file)
{
    const std::string ext = file.extension().string();
    if (ext == ".bmp") return kFormatBmp;
    if (ext == ".jpg") return kFormatJpeg;
    if (ext == ".gif") return kFormatGif;
    if (ext == ".ico") return kFormatIco;
    if (ext == ".tga") return kFormatTga;
    if (ext == ".pcx") return kFormatPcx;
    return kFormatPng;
}

// The GIF and icon readers refuse with a plain false, and their files may hold frames.
bool HasFrames(std::uint32_t format)
{
    return format == kFormatGif || format == kFormatIco;
}

bool IsMetafile(const fs::path& file)
{
    const std::string ext = file.extension().string();
    return ext == ".wmf" || ext == ".emf";
}

// A metafile is read as the picture loader reads it and drawn at a page's size and at
// twice that, as zooming does: good ones load with a size, damaged ones are refused, and
// the load and the drawings together finish within the walk's bound.
void CheckMetafile(const fs::path& file, FixtureKind kind)
{
    auto picture = CPictureFile::Load(plat::Utf8ToUtf16(file.string()));
    if (kind == FixtureKind::kFail) {
        EXPECT_EQ(picture, nullptr);
        return;
    }
    if (kind == FixtureKind::kPass) {
        ASSERT_NE(picture, nullptr);
    }
    if (!picture) return;
    EXPECT_GT(picture->HimetricWidth(), 0);
    EXPECT_GT(picture->HimetricHeight(), 0);
    for (int side : {400, 800}) {
        auto page = plat::Bitmap::Create(side, side);
        ASSERT_NE(page, nullptr);
        plat::MemoryDc dc;
        dc.Select(page.get());
        picture->Render(dc, 0, 0, side, side);
    }
}

// A picture is read by its codec (a metafile by the picture loader): good ones load with a
// size, damaged ones are refused with nothing half read. A file of several frames is read
// at its first and its last frame.
void CheckRaster(const fs::path& file, FixtureKind kind)
{
    if (IsMetafile(file)) return CheckMetafile(file, kind);
    const std::uint32_t format = FormatOf(file);
    CRasterImage image;
    const bool loaded = image.LoadFile(plat::Utf8ToUtf16(file.string()), format);
    if (kind == FixtureKind::kPass) {
        ASSERT_TRUE(loaded) << image.LastError();
        EXPECT_TRUE(image.IsValid());
        EXPECT_GT(image.Width(), 0);
        EXPECT_GT(image.Height(), 0);
    } else if (kind == FixtureKind::kFail) {
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(image.IsValid());
        if (!HasFrames(format)) {
            EXPECT_FALSE(image.LastError().empty()) << "a refusal says why";
        }
    }
    if (!loaded || !HasFrames(format) || image.FrameCount() < 2) return;
    CRasterImage last;
    last.SetFrameIndex(image.FrameCount() - 1);
    const bool lastLoaded = last.LoadFile(plat::Utf8ToUtf16(file.string()), format);
    if (kind == FixtureKind::kPass) {
        ASSERT_TRUE(lastLoaded);
        EXPECT_GT(last.Width(), 0);
    }
}

TEST(ImageFixtures, PassLoadsFailIsRefusedNothingHangs)
{
    testsupport::WalkFixtures("images", std::chrono::seconds(10), CheckRaster);
    for (const char* format : {"gif", "ico"}) {
        SCOPED_TRACE(format);
        testsupport::WalkFixtures(format, std::chrono::seconds(10), CheckRaster);
    }
}

// The pictures ImageMagick writes at test time, copied into the build folder's own
// fixture folders and walked the same way.
TEST(ImageFixtures, MadeGifAndIconFilesLoadWithinTheBound)
{
    const fs::path root = fs::current_path() / "made-fixtures";
    for (const GifIconVariant& v : kGifIconVariants) {
        const fs::path folder = root / (v.format == kFormatGif ? "gif" : "ico") / "pass";
        fs::create_directories(folder);
        fs::copy_file(magick::Make(v.name, v.recipe), folder / v.name, fs::copy_options::overwrite_existing);
    }
    for (const char* format : {"gif", "ico"}) {
        SCOPED_TRACE(format);
        testsupport::WalkFixturesUnder(root, format, std::chrono::seconds(10), CheckRaster);
    }
}

TEST(ImageFixtures, EmfAndWmfFolders)
{
    for (const char* format : {"emf", "wmf"}) testsupport::WalkFixtures(format, std::chrono::seconds(5), CheckRaster);
}

TEST(ImageFixtures, TgaAndPcxFolders)
{
    for (const char* format : {"tga", "pcx"}) testsupport::WalkFixtures(format, std::chrono::seconds(5), CheckRaster);
}

} // namespace
