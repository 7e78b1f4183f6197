// The toolbar resources: their button lists, their image strips and the strips' system colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gfx/sys_colors.h"
#include "resources/res_bitmaps.h"
#include "resources/res_toolbars.h"

namespace {

constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kGrey = plat::Rgb(128, 128, 128);
constexpr plat::ColorRef kLightGrey = plat::Rgb(192, 192, 192);
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);

struct BarCase {
    int id;
    int buttons;   // separators included
    int images;    // push buttons
    std::uint16_t first;
    std::uint16_t last;
};

constexpr BarCase kBars[] = {
    {kFormatBarResource, 28, 23, 57607, 32770},
    {kExtensionBarResource, 37, 28, 32800, 32774},
    {kShortExtensionBarResource, 21, 17, 35041, 32774},
};

TEST(ToolbarResources, RecordsOfTheThreeBars)
{
    for (const BarCase& c : kBars) {
        SCOPED_TRACE(c.id);
        const ToolbarResource* bar = FindToolbarResource(c.id);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->version, 1);
        EXPECT_EQ(bar->imageWidth, 16);
        EXPECT_EQ(bar->imageHeight, 15);
        EXPECT_EQ(static_cast<int>(bar->commands.size()), c.buttons);
        EXPECT_EQ(bar->ImageCount(), c.images);
        EXPECT_EQ(bar->commands.front(), c.first);
        EXPECT_EQ(bar->commands.back(), c.last);
        // No two separators in a row, and none at either end.
        for (std::size_t i = 0; i + 1 < bar->commands.size(); ++i)
            EXPECT_FALSE(bar->commands[i] == 0 && bar->commands[i + 1] == 0) << i;
        EXPECT_NE(bar->commands.front(), 0);
        EXPECT_NE(bar->commands.back(), 0);
    }
    EXPECT_EQ(FindToolbarResource(7003), nullptr);
    EXPECT_EQ(FindToolbarResource(0), nullptr);
}

TEST(ToolbarResources, ShortExtensionBarIsTheTailOfTheFullOne)
{
    const ToolbarResource* full = FindToolbarResource(kExtensionBarResource);
    const ToolbarResource* shortBar = FindToolbarResource(kShortExtensionBarResource);
    ASSERT_TRUE(full && shortBar);
    const auto from = std::find(full->commands.begin(), full->commands.end(), 35041);
    ASSERT_NE(from, full->commands.end());
    EXPECT_TRUE(std::equal(from, full->commands.end(), shortBar->commands.begin(), shortBar->commands.end()));
}

TEST(ToolbarResources, CombosAndTheShapeButtonAreOrdinaryButtons)
{
    const ToolbarResource* format = FindToolbarResource(kFormatBarResource);
    ASSERT_NE(format, nullptr);
    for (std::uint16_t combo : {35037, 35061, 35062, 35063})
        EXPECT_NE(std::find(format->commands.begin(), format->commands.end(), combo), format->commands.end()) << combo;
    EXPECT_EQ(FindToolbarResource(kExtensionBarResource)->commands.front(), 32800);
}

// The pixels of button image `index` of a strip.
std::vector<plat::ColorRef> Tile(const plat::Bitmap& strip, int index)
{
    std::vector<plat::ColorRef> px;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) px.push_back(strip.GetPixel(index * 16 + x, y));
    return px;
}

TEST(ToolbarStrips, OneClearPicturePerButton)
{
    for (const BarCase& c : kBars) {
        SCOPED_TRACE(c.id);
        const plat::Bitmap* strip = LoadResBitmap(ResourceIdName(c.id));
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->Width(), 16 * c.images);
        EXPECT_EQ(strip->Height(), 15);
        std::vector<std::vector<plat::ColorRef>> tiles;
        for (int i = 0; i < c.images; ++i) tiles.push_back(Tile(*strip, i));
        for (int i = 0; i < c.images; ++i) {
            const auto& t = tiles[i];
            // Drawn on the light grey background, with at least a little of a picture on it.
            EXPECT_EQ(t.front(), kLightGrey) << "image " << i;
            const auto drawn = std::count_if(t.begin(), t.end(), [](plat::ColorRef p) { return p != kLightGrey; });
            EXPECT_GE(drawn, 12) << "image " << i;
            for (int j = i + 1; j < c.images; ++j) EXPECT_NE(t, tiles[j]) << "images " << i << " and " << j;
        }
    }
}

TEST(ToolbarStrips, ACommandOnTwoBarsShowsTheSamePicture)
{
    const ToolbarResource* full = FindToolbarResource(kExtensionBarResource);
    const ToolbarResource* shortBar = FindToolbarResource(kShortExtensionBarResource);
    const plat::Bitmap* fullStrip = LoadResBitmap(ResourceIdName(kExtensionBarResource));
    const plat::Bitmap* shortStrip = LoadResBitmap(ResourceIdName(kShortExtensionBarResource));
    ASSERT_TRUE(full && shortBar && fullStrip && shortStrip);
    auto imageOf = [](const ToolbarResource& bar, std::uint16_t command) {
        int image = 0;
        for (std::uint16_t c : bar.commands) {
            if (c == command) return image;
            if (c != 0) ++image;
        }
        return -1;
    };
    for (std::uint16_t command : shortBar->commands) {
        if (command == 0) continue;
        EXPECT_EQ(Tile(*shortStrip, imageOf(*shortBar, command)), Tile(*fullStrip, imageOf(*full, command)))
            << command;
    }
}

class SysColorStrip : public ::testing::Test {
protected:
    void TearDown() override { plat::ResetSysColors(); }
};

TEST_F(SysColorStrip, GreysTakeTheButtonColours)
{
    const plat::Bitmap* original = LoadResBitmap(ResourceIdName(kFormatBarResource));
    ASSERT_NE(original, nullptr);
    const plat::ColorRef face = plat::Rgb(212, 208, 200);
    const plat::ColorRef shadow = plat::Rgb(100, 90, 80);
    const plat::ColorRef text = plat::Rgb(0, 0, 90);
    const plat::ColorRef highlight = plat::Rgb(250, 250, 240);
    plat::SetSysColor(plat::kColorBtnFace, face);
    plat::SetSysColor(plat::kColorBtnShadow, shadow);
    plat::SetSysColor(plat::kColorBtnText, text);
    plat::SetSysColor(plat::kColorBtnHighlight, highlight);

    struct ModeCase {
        bool monochrome;
        plat::ColorRef black, grey, lightGrey, white;
    };
    const ModeCase modes[] = {
        {false, text, shadow, face, highlight},
        {true, text, kWhite, kWhite, kWhite},
    };
    for (const ModeCase& m : modes) {
        SCOPED_TRACE(m.monochrome);
        std::unique_ptr<plat::Bitmap> bmp = LoadSysColorBitmap(kFormatBarResource, m.monochrome);
        ASSERT_NE(bmp, nullptr);
        ASSERT_EQ(bmp->GetSize(), original->GetSize());
        const plat::ColorRef greys[4] = {kBlack, kGrey, kLightGrey, kWhite};
        const plat::ColorRef becomes[4] = {m.black, m.grey, m.lightGrey, m.white};
        int seen[4] = {};
        int wrong = 0;
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width(); ++x) {
                const plat::ColorRef was = original->GetPixel(x, y);
                const auto* grey = std::find(std::begin(greys), std::end(greys), was);
                const int k = static_cast<int>(grey - std::begin(greys));
                if (k < 4) ++seen[k];
                // Other colours stay as they are.
                const plat::ColorRef expected = k < 4 ? becomes[k] : was;
                if (bmp->GetPixel(x, y) != expected && wrong++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " was " << std::hex << was;
            }
        EXPECT_EQ(wrong, 0);
        // The strip uses all four greys, so every rule above was exercised.
        for (int n : seen) EXPECT_GT(n, 0);
    }
}

TEST_F(SysColorStrip, AFaceChangeIsSeenByTheNextLoad)
{
    EXPECT_EQ(LoadSysColorBitmap(kExtensionBarResource, false)->GetPixel(0, 0), kLightGrey);
    plat::SetSysColor(plat::kColorBtnFace, plat::Rgb(236, 233, 216));
    EXPECT_EQ(LoadSysColorBitmap(kExtensionBarResource, false)->GetPixel(0, 0), plat::Rgb(236, 233, 216));
}

TEST_F(SysColorStrip, MissingOrUnsuitableResourcesGiveNothing)
{
    EXPECT_EQ(LoadSysColorBitmap(7003, false), nullptr);
    EXPECT_EQ(LoadSysColorBitmap(u"IDB_NOSUCH", true), nullptr);
    EXPECT_TRUE(FindBitmapResource(u"IDB_NOSUCH").empty());
    EXPECT_EQ(ResourceIdName(7004), u"#7004");
}

} // namespace

namespace {

// The pictures of the drop-down menus and the buttons that follow the format: on white, with
// dark ink, each different from the others.
TEST(MenuPictures, ButtonSizedOnWhiteAndDistinct)
{
    constexpr const char16_t* kNames[] = {
        u"IDB_UNDERLINE_UL",    u"IDB_UNDERLINE_DUL",   u"IDB_UNDERLINE_DOT",     u"IDB_ROWGAP_T25",
        u"IDB_ROWGAP_T50",      u"IDB_ROWGAP_T75",      u"IDB_ROWGAP_T100",       u"IDB_ROWGAP_T150",
        u"IDB_ROWFORMAT_TBOTH", u"IDB_ROWFORMAT_TLEFT", u"IDB_ROWFORMAT_TCENTER", u"IDB_ROWFORMAT_TRIGHT",
        u"IDB_TABLE_TUP",       u"IDB_TABLE_TMIDDLE",   u"IDB_TABLE_TDOWN",       u"IDB_CHAR_COLOR",
        u"IDB_GRAPH_COLOR",     u"IDB_GRAPH_FILLCOLOR",
    };
    std::vector<const plat::Bitmap*> seen;
    for (const char16_t* name : kNames) {
        SCOPED_TRACE(plat::Utf16ToUtf8(name));
        const plat::Bitmap* picture = LoadResBitmap(name);
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(picture->GetSize(), plat::Size(16, 15));
        EXPECT_EQ(picture->GetPixel(0, 0), kWhite);
        int dark = 0, lightGrey = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) {
                dark += picture->GetPixel(x, y) == kBlack;
                lightGrey += picture->GetPixel(x, y) == kLightGrey;
            }
        EXPECT_GT(dark, 8);
        EXPECT_EQ(lightGrey, 0) << "the background is white, so that ANDing it shows the face";
        for (const plat::Bitmap* other : seen) {
            bool differs = false;
            for (int y = 0; y < 15 && !differs; ++y)
                for (int x = 0; x < 16 && !differs; ++x) differs = picture->GetPixel(x, y) != other->GetPixel(x, y);
            EXPECT_TRUE(differs);
        }
        seen.push_back(picture);
    }
}

// The toolbar picture and the menu picture of one thing have the same ink.
TEST(MenuPictures, ShareTheShapesOfTheToolbarPictures)
{
    const std::unique_ptr<plat::Bitmap> strip = LoadSysColorBitmap(kFormatBarResource, false);
    ASSERT_NE(strip, nullptr);
    // The underline button is image 15 of the format bar.
    const plat::Bitmap* menu = LoadResBitmap(u"IDB_UNDERLINE_UL");
    ASSERT_NE(menu, nullptr);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(menu->GetPixel(x, y) == kBlack,
                      strip->GetPixel(15 * 16 + x, y) == plat::GetSysColor(plat::kColorBtnText))
                << x << "," << y;
}

TEST(MenuPictures, LineStylesAreLinesAcrossTheirPicture)
{
    struct Case {
        const char16_t* name;
        int thickness;
        bool gaps;
    };
    constexpr Case kCases[] = {
        {u"IDB_LNSTYLE_SOLID0", 1, false}, {u"IDB_LNSTYLE_DASH", 1, true},   {u"IDB_LNSTYLE_DOT", 1, true},
        {u"IDB_LNSTYLE_DASHDOT", 1, true}, {u"IDB_LNSTYLE_DASHDOTDOT", 1, true}, {u"IDB_LNSTYLE_SOLID1", 2, false},
        {u"IDB_LNSTYLE_SOLID2", 3, false}, {u"IDB_LNSTYLE_SOLID3", 4, false}, {u"IDB_LNSTYLE_SOLID4", 5, false},
        {u"IDB_LNSTYLE_SOLID5", 6, false}, {u"IDB_LNSTYLE_SOLID6", 7, false}, {u"IDB_LNSTYLE_SOLID7", 8, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(c.name));
        const plat::Bitmap* picture = LoadResBitmap(c.name);
        ASSERT_NE(picture, nullptr);
        const int middle = picture->Width() / 2;
        int rows = 0, y = -1; // y: the first inked row
        for (int row = 0; row < picture->Height(); ++row) {
            bool inked = false;
            for (int x = 0; x < picture->Width(); ++x) inked = inked || picture->GetPixel(x, row) == kBlack;
            rows += inked;
            if (inked && y < 0) y = row;
        }
        EXPECT_EQ(rows, c.thickness);
        ASSERT_GE(y, 1);
        int gaps = 0;
        for (int x = 2; x < picture->Width() - 2; ++x) gaps += picture->GetPixel(x, y) != kBlack;
        EXPECT_EQ(gaps > 0, c.gaps);
        EXPECT_EQ(picture->GetPixel(0, y), kWhite);
        EXPECT_EQ(picture->GetPixel(middle, 0), kWhite);
    }
}

} // namespace
