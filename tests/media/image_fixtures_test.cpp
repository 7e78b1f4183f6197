// The images' fixture folders, read by the codecs through the raster image: good files
// load with their size, damaged ones are refused with a reason and no image, and files
// that claim huge dimensions finish quickly either way.
#include <chrono>
#include <filesystem>
#include <string>

#include "media/raster_image.h"
#include "platform/base/strings.h"
#include "tests/support/fixture_walk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FixtureKind;

std::uint32_t FormatOf(const fs::path& file)
{
    const std::string ext = file.extension().string();
    if (ext == ".bmp") return kFormatBmp;
    if (ext == ".jpg") return kFormatJpeg;
    return kFormatPng;
}

TEST(ImageFixtures, PassLoadsFailIsRefusedNothingHangs)
{
    testsupport::WalkFixtures("images", std::chrono::seconds(10), [](const fs::path& file, FixtureKind kind) {
        CRasterImage image;
        const bool loaded = image.LoadFile(plat::Utf8ToUtf16(file.string()), FormatOf(file));
        if (kind == FixtureKind::kPass) {
            ASSERT_TRUE(loaded) << image.LastError();
            EXPECT_TRUE(image.IsValid());
            EXPECT_GT(image.Width(), 0);
            EXPECT_GT(image.Height(), 0);
        } else if (kind == FixtureKind::kFail) {
            EXPECT_FALSE(loaded);
            EXPECT_FALSE(image.IsValid());
            EXPECT_FALSE(image.LastError().empty()) << "a refusal says why";
        }
    });
}

} // namespace
