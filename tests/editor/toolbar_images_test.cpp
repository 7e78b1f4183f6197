// The toolbar pictures that follow the format: which picture each value puts on which image
// of which bar, the caches that keep the idle update from redrawing, the colour stripes of
// the colour buttons, the menu pictures and the line-style menu.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/format_state.h"
#include "editor/toolbar_ex.h"
#include "editor/toolbar_images.h"
#include "platform/ui/keyboard.h"
#include "platform/gfx/sys_colors.h"
#include "tests/editor/main_frame_support.h"
#include "tests/support/pixel_probe.h"

namespace {

using frametest::MainFrameTest;

constexpr plat::ColorRef kMarker = plat::Rgb(255, 0, 255);

// A picture of one colour, to see whether a refresh replaced an image.
std::unique_ptr<plat::Bitmap> Marker()
{
    std::unique_ptr<plat::Bitmap> picture =
        plat::Bitmap::Create(CToolbarImages::kPictureWidth, CToolbarImages::kPictureHeight);
    picture->Fill(kMarker);
    return picture;
}

// The first pixel where the two differ, as "x,y"; empty when they are the same.
std::string FirstDifference(const plat::Bitmap& a, const plat::Bitmap& b)
{
    if (a.GetSize() != b.GetSize()) return "size";
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
    return {};
}

class ToolbarImagesTest : public MainFrameTest {
protected:
    CToolbarImages& images() { return frame().GetToolbarImages(); }
    CFormatState& state() { return *doc().GetFormatState(); }

    void Stamp(CToolBarEx& bar, int image) { ASSERT_TRUE(bar.ReplaceImage(image, *Marker())); }
    bool IsMarker(const CToolBarEx& bar, int image)
    {
        const std::unique_ptr<plat::Bitmap> shown = bar.CopyImage(image);
        return shown && FirstDifference(*shown, *Marker()).empty();
    }
    // Whether the bar's image is the resource's menu picture, with rows 12-14 left out when
    // a stripe is expected there (checked apart).
    ::testing::AssertionResult Shows(const CToolBarEx& bar, int image, const char16_t* resource, bool striped = false)
    {
        const std::unique_ptr<plat::Bitmap> shown = bar.CopyImage(image);
        std::unique_ptr<plat::Bitmap> expected = CToolbarImages::MakeMenuPicture(resource);
        if (!shown || !expected) return ::testing::AssertionFailure() << "no picture";
        if (striped)
            for (int y = CToolbarImages::kStripeTop; y < CToolbarImages::kStripeBottom; ++y)
                for (int x = 0; x < expected->Width(); ++x) expected->SetPixel(x, y, shown->GetPixel(x, y));
        const std::string diff = FirstDifference(*shown, *expected);
        if (diff.empty()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "image " << image << " differs from " << plat::Utf16ToUtf8(resource)
                                             << " at " << diff;
    }
    // The colour of the whole stripe; kInvalidColor when it is not of one colour.
    plat::ColorRef Stripe(const CToolBarEx& bar, int image)
    {
        const std::unique_ptr<plat::Bitmap> shown = bar.CopyImage(image);
        const plat::ColorRef first = shown->GetPixel(0, CToolbarImages::kStripeTop);
        for (int y = CToolbarImages::kStripeTop; y < CToolbarImages::kStripeBottom; ++y)
            for (int x = 0; x < shown->Width(); ++x)
                if (shown->GetPixel(x, y) != first) return plat::kInvalidColor;
        return first;
    }
};

struct FormatCase {
    unsigned command;
    int value;
    int image;
    const char16_t* resource; // null: the image is left as it was
};

void SetFormatValue(CFormatState& state, unsigned command, int value)
{
    const auto v = static_cast<std::uint8_t>(value);
    if (command == CToolbarImages::kCmdUnderline) state.m_charFormat.m_underline = v;
    if (command == CToolbarImages::kCmdAlignment) state.m_paraFormat.m_align = v;
    if (command == CToolbarImages::kCmdLineSpacing) state.m_paraFormat.m_spacing = v;
}

// Each case runs after the one before it in the same frame, so each value differs from what
// the button shows.
TEST_F(ToolbarImagesTest, FormatButtonsShowThePictureOfTheValue)
{
    constexpr FormatCase kCases[] = {
        {35067, 1, 15, u"IDB_UNDERLINE_UL"},      {35067, 2, 15, u"IDB_UNDERLINE_DUL"},
        {35067, 3, 15, u"IDB_UNDERLINE_DOT"},     {35067, 4, 15, nullptr},
        {35067, 1, 15, u"IDB_UNDERLINE_UL"},      {35067, 0, 15, u"IDB_UNDERLINE_UL"},
        {35080, 1, 17, u"IDB_ROWFORMAT_TLEFT"},   {35080, 2, 17, u"IDB_ROWFORMAT_TRIGHT"},
        {35080, 3, 17, u"IDB_ROWFORMAT_TCENTER"}, {35080, 4, 17, u"IDB_ROWFORMAT_TBOTH"},
        {35080, 0, 17, nullptr},                  {35085, 1, 18, u"IDB_ROWGAP_T25"},
        {35085, 2, 18, u"IDB_ROWGAP_T50"},        {35085, 3, 18, u"IDB_ROWGAP_T75"},
        {35085, 4, 18, u"IDB_ROWGAP_T100"},       {35085, 5, 18, u"IDB_ROWGAP_T150"},
        {35085, 6, 18, nullptr},
    };
    CToolBarEx& bar = *frame().GetFormatBar();
    for (const FormatCase& c : kCases) {
        SCOPED_TRACE(std::to_string(c.command) + " = " + std::to_string(c.value));
        Stamp(bar, c.image);
        SetFormatValue(state(), c.command, c.value);
        images().UpdateFormatButton(c.command);
        if (c.resource) EXPECT_TRUE(Shows(bar, c.image, c.resource));
        else EXPECT_TRUE(IsMarker(bar, c.image));
    }
}

TEST_F(ToolbarImagesTest, JustifyIsDrawnOnlyAfterAnotherAlignmentWasShown)
{
    CToolBarEx& bar = *frame().GetFormatBar();
    Stamp(bar, CToolbarImages::kAlignmentImage);
    state().m_paraFormat.m_align = 4;
    images().UpdateFormatButton(35080);
    EXPECT_TRUE(IsMarker(bar, CToolbarImages::kAlignmentImage)) << "justify is what the button starts with";
    state().m_paraFormat.m_align = 1;
    images().UpdateFormatButton(35080);
    EXPECT_TRUE(Shows(bar, CToolbarImages::kAlignmentImage, u"IDB_ROWFORMAT_TLEFT"));
    state().m_paraFormat.m_align = 4;
    images().UpdateFormatButton(35080);
    EXPECT_TRUE(Shows(bar, CToolbarImages::kAlignmentImage, u"IDB_ROWFORMAT_TBOTH"));
}

// A refresh with the value already shown draws nothing: the marker put over the picture
// after the first refresh survives the second.
TEST_F(ToolbarImagesTest, ASecondRefreshWithTheSameValueReplacesNothing)
{
    struct Case {
        const char* name;
        std::function<void()> set;
        std::function<void()> refresh;
        CToolBarEx* bar;
        int image;
    };
    CToolBarEx* format = frame().GetFormatBar();
    CToolBarEx* full = frame().GetFullExtensionBar();
    const std::vector<Case> cases = {
        {"underline", [&] { state().m_charFormat.m_underline = 2; }, [&] { images().UpdateFormatButton(35067); },
         format, 15},
        {"alignment", [&] { state().m_paraFormat.m_align = 3; }, [&] { images().UpdateFormatButton(35080); }, format,
         17},
        {"spacing", [&] { state().m_paraFormat.m_spacing = 5; }, [&] { images().UpdateFormatButton(35085); }, format,
         18},
        {"char colour", [&] { frame().SetCharColor(0x0000FF); }, [&] { images().UpdateCharColourButton(); }, format,
         16},
        {"cell", [&] { state().m_verticalAlign = kAlignBottom; }, [&] { images().UpdateCellAlignButton(37810); }, full,
         24},
        {"line colour", [&] { frame().SetLineColor(0x00FF00); }, [&] { images().UpdateShapeColourButton(33274); },
         full, 7},
        {"fill colour", [&] { frame().SetFillColor(0xFF0000); }, [&] { images().UpdateShapeColourButton(33276); },
         full, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stamp(*c.bar, c.image);
        c.set();
        c.refresh();
        EXPECT_FALSE(IsMarker(*c.bar, c.image)) << "the first refresh draws";
        Stamp(*c.bar, c.image);
        c.refresh();
        EXPECT_TRUE(IsMarker(*c.bar, c.image)) << "the second finds the value shown";
    }
}

TEST_F(ToolbarImagesTest, ColourButtonsShowTheColourAsAStripeUnderTheirIcon)
{
    CToolBarEx& format = *frame().GetFormatBar();
    CToolBarEx& full = *frame().GetFullExtensionBar();
    frame().SetCharColor(0x123456);
    images().UpdateCharColourButton();
    EXPECT_TRUE(Shows(format, 16, u"IDB_CHAR_COLOR", true));
    EXPECT_EQ(Stripe(format, 16), plat::ColorRef{0x123456});
    frame().SetLineColor(0x00C000);
    images().UpdateShapeColourButton(33274);
    EXPECT_TRUE(Shows(full, 7, u"IDB_GRAPH_COLOR", true));
    EXPECT_EQ(Stripe(full, 7), plat::ColorRef{0x00C000});
}

TEST_F(ToolbarImagesTest, NoFillShowsAFaceColouredStripeAndAColourAfterwardsShowsThatColour)
{
    CToolBarEx& full = *frame().GetFullExtensionBar();
    frame().SetFillColor(0x0000FF);
    frame().SetFillPattern(1);
    images().UpdateShapeColourButton(33276);
    EXPECT_TRUE(Shows(full, 8, u"IDB_GRAPH_FILLCOLOR", true));
    EXPECT_EQ(Stripe(full, 8), plat::GetSysColor(plat::kColorActiveBorder));
    // The same colour, now filled: the kind alone changed.
    frame().SetFillPattern(2);
    images().UpdateShapeColourButton(33276);
    EXPECT_EQ(Stripe(full, 8), plat::ColorRef{0x0000FF});
}

TEST_F(ToolbarImagesTest, AutomaticColoursShowTheDocumentsDefaults)
{
    doc().SetDefaultTextColor(0x204080);
    ASSERT_EQ(doc().GetDefaultTextColor(), plat::ColorRef{0x204080});
    frame().SetCharColor(CQlMain::kAutoTextColor);
    images().UpdateCharColourButton();
    EXPECT_EQ(Stripe(*frame().GetFormatBar(), 16), plat::ColorRef{0x204080});
    frame().SetLineColor(CQlMain::kAutoTextColor);
    images().UpdateShapeColourButton(33274);
    EXPECT_EQ(Stripe(*frame().GetFullExtensionBar(), 7), plat::ColorRef{0x204080});
    frame().SetFillPattern(2);
    frame().SetFillColor(CQlMain::kAutoFillColor);
    images().UpdateShapeColourButton(33276);
    EXPECT_EQ(Stripe(*frame().GetFullExtensionBar(), 8), doc().GetDefaultFillColor());
}

TEST_F(ToolbarImagesTest, CellAlignmentGoesToTheExtensionBarInUse)
{
    struct Case {
        bool shortBar;
        int image;
    };
    for (const Case c : {Case{true, 13}, Case{false, 24}}) {
        SCOPED_TRACE(c.shortBar ? "short bar" : "full bar");
        frame().SetShortBar(c.shortBar);
        CToolBarEx& inUse = *frame().GetExtensionBar();
        CToolBarEx& other = c.shortBar ? *frame().GetFullExtensionBar() : *frame().GetShortExtensionBar();
        const int otherImage = c.shortBar ? 24 : 13;
        Stamp(inUse, c.image);
        Stamp(other, otherImage);
        for (const auto& [flag, resource] : {std::pair{kAlignTop, u"IDB_TABLE_TUP"},
                                             std::pair{kAlignMiddle, u"IDB_TABLE_TMIDDLE"},
                                             std::pair{kAlignBottom, u"IDB_TABLE_TDOWN"}}) {
            state().m_verticalAlign = flag;
            images().UpdateCellAlignButton(37810);
            EXPECT_TRUE(Shows(inUse, c.image, resource));
        }
        EXPECT_TRUE(IsMarker(other, otherImage));
    }
}

TEST_F(ToolbarImagesTest, AVisibleBarRepaintsTheButtonAHiddenOneNothing)
{
    CToolBarEx& format = *frame().GetFormatBar();
    format.ValidateRect();
    state().m_charFormat.m_underline = 2;
    images().UpdateFormatButton(35067);
    plat::Rect button;
    format.GetItemRect(format.CommandToIndex(35067), button);
    EXPECT_EQ(format.GetUpdateRect(), button);

    CToolBarEx& shortBar = *frame().GetShortExtensionBar();
    ASSERT_FALSE(shortBar.IsWindowVisible());
    shortBar.ValidateRect();
    frame().SetShortBar(true);
    state().m_verticalAlign = kAlignBottom;
    images().UpdateCellAlignButton(37810);
    EXPECT_TRUE(Shows(shortBar, 13, u"IDB_TABLE_TDOWN"));
    EXPECT_FALSE(shortBar.NeedsPaint());
}

// The frame's idle update runs the refreshes of the format bar's buttons.
TEST_F(ToolbarImagesTest, TheIdleUpdateRefreshesTheFormatBarsPictures)
{
    CToolBarEx& bar = *frame().GetFormatBar();
    state().m_charFormat.m_underline = 3;
    state().m_paraFormat.m_align = 2;
    state().m_paraFormat.m_spacing = 1;
    frame().SetCharColor(0x0080FF);
    Run(CQlMain::kIdlePeriodMs);
    EXPECT_TRUE(Shows(bar, 15, u"IDB_UNDERLINE_DOT"));
    EXPECT_TRUE(Shows(bar, 17, u"IDB_ROWFORMAT_TRIGHT"));
    EXPECT_TRUE(Shows(bar, 18, u"IDB_ROWGAP_T25"));
    EXPECT_EQ(Stripe(bar, 16), plat::ColorRef{0x0080FF});
}

TEST_F(ToolbarImagesTest, MenuPicturesAreTheResourcesOnTheFace)
{
    const plat::ColorRef face = plat::GetSysColor(plat::kColorActiveBorder);
    std::vector<const plat::Bitmap*> pictures;
    for (int a = 1; a <= 4; ++a) pictures.push_back(images().GetAlignmentPicture(a));
    for (int k = 1; k <= 3; ++k) pictures.push_back(images().GetUnderlinePicture(k));
    for (int c = 1; c <= 5; ++c) pictures.push_back(images().GetLineSpacingPicture(c));
    for (int f : {16, 32, 64}) pictures.push_back(images().GetCellAlignPicture(f));
    for (size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(pictures[i], nullptr);
        EXPECT_EQ(pictures[i]->GetSize(), plat::Size(16, 15));
        EXPECT_EQ(pictures[i]->GetPixel(0, 0), face) << "the white of the resource shows the face";
        EXPECT_GT(testsupport::InkOf(*pictures[i], plat::Rect(0, 0, 16, 15), plat::Rgb(0, 0, 0)).count, 8);
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(FirstDifference(*pictures[i], *pictures[j]).empty()) << j;
    }
    EXPECT_EQ(images().GetAlignmentPicture(0), nullptr);
    EXPECT_EQ(images().GetUnderlinePicture(4), nullptr);
    EXPECT_EQ(images().GetCellAlignPicture(8), nullptr);
}

TEST_F(ToolbarImagesTest, TheLineStyleMenuHasTwelvePictureItems)
{
    const plat::Menu& menu = images().GetLineStyleMenu();
    ASSERT_EQ(menu.GetItemCount(), 12);
    const auto inkOf = [](const plat::Bitmap& b) {
        return testsupport::InkOf(b, plat::Rect(0, 0, b.Width(), b.Height()), plat::Rgb(0, 0, 0)).count;
    };
    int lastInk = 0;
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const plat::Menu::Item* item = menu.GetItem(i);
        EXPECT_EQ(item->id, 33331u + static_cast<unsigned>(i));
        EXPECT_TRUE(item->text.empty());
        ASSERT_NE(item->bitmap, nullptr);
        EXPECT_EQ(item->bitmap, images().GetLineStylePicture(i + 2));
        const int ink = inkOf(*item->bitmap);
        EXPECT_GT(ink, 0);
        // The dashed styles leave gaps in the thin line; the solid ones grow thicker.
        if (i >= 1 && i <= 4) {
            EXPECT_LT(ink, inkOf(*menu.GetItem(0)->bitmap));
        }
        if (i >= 5) {
            EXPECT_GT(ink, lastInk);
        }
        if (i == 0 || i >= 5) lastInk = ink;
    }
}

} // namespace

// The caret moving between runs of different underline kinds and colours, then between
// paragraphs of different alignments and line spacings: after an idle tick
// the format bar, as it shows in the frame's window, has the picture of the kind under the
// caret on button 35067, the stripe of the frame's character colour on 35071, and the
// paragraph's alignment and line spacing on 35080 and 35085.
TEST_F(ToolbarImagesTest, TheBarFollowsTheRunAndParagraphUnderTheCaret)
{
    doc().SetCharUnderline(2);
    doc().InsertString(u"双线");
    doc().SetCharUnderline(3);
    doc().InsertString(u"点线");
    CToolBarEx& bar = *frame().GetFormatBar();
    // The button's face in the picture of the host window, and the picture it should show.
    auto buttonShows = [&](const char16_t* resource, unsigned command = CToolbarImages::kCmdUnderline) -> ::testing::AssertionResult {
        const std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(m_host);
        if (const char* keep = std::getenv("QUILN_KEEP_PICTURES"))
            shot->SavePng(plat::Utf8ToUtf16(std::string(keep) + "/format_bar.png"));
        plat::Rect rect;
        bar.GetItemRect(bar.CommandToIndex(static_cast<int>(command)), rect);
        const plat::Point origin = bar.ClientToScreen(plat::Point(rect.left, rect.top));
        const plat::Point host = m_host.ClientToScreen(plat::Point(0, 0));
        const std::unique_ptr<plat::Bitmap> expected = CToolbarImages::MakeMenuPicture(resource);
        // The picture sits centred on the button: find it by its dark pixels.
        for (int dy = 0; dy + 15 <= rect.Height(); ++dy)
            for (int dx = 0; dx + 16 <= rect.Width(); ++dx) {
                bool same = true;
                for (int y = 0; y < 15 && same; ++y)
                    for (int x = 0; x < 16 && same; ++x) {
                        const plat::ColorRef want = expected->GetPixel(x, y);
                        if (want != plat::Rgb(0, 0, 0)) continue;
                        same = shot->GetPixel(origin.x - host.x + dx + x, origin.y - host.y + dy + y) == want;
                    }
                if (same) return ::testing::AssertionSuccess();
            }
        return ::testing::AssertionFailure() << "the button does not show " << plat::Utf16ToUtf8(resource);
    };
    // The caret moves by the arrow keys, as the user moves it.
    auto press = [&](int key, int times) {
        plat::SetFocus(&canvas());
        for (int i = 0; i < times; ++i) plat::PressKey(key);
        plat::PumpMessages();
    };
    press(plat::kVkLeft, 1);
    Run(CQlMain::kIdlePeriodMs);
    EXPECT_TRUE(buttonShows(u"IDB_UNDERLINE_DOT"));
    press(plat::kVkLeft, 2);
    Run(CQlMain::kIdlePeriodMs);
    EXPECT_TRUE(buttonShows(u"IDB_UNDERLINE_DUL"));
    EXPECT_FALSE(buttonShows(u"IDB_UNDERLINE_DOT"));

    // Paragraphs of different alignments and line spacings: the caret moved up and down
    // by the arrow keys, the alignment and line-spacing buttons follow after a tick.
    doc().InsertChar(u'\r');
    doc().SetParaFormat(3);
    doc().SetParaGap(5);
    doc().InsertString(u"居中");
    doc().InsertChar(u'\r');
    doc().SetParaFormat(2);
    doc().SetParaGap(1);
    doc().InsertString(u"右对齐");
    Run(CQlMain::kIdlePeriodMs);
    EXPECT_TRUE(buttonShows(u"IDB_ROWFORMAT_TRIGHT", CToolbarImages::kCmdAlignment));
    EXPECT_TRUE(buttonShows(u"IDB_ROWGAP_T25", CToolbarImages::kCmdLineSpacing));
    press(plat::kVkUp, 1);
    Run(CQlMain::kIdlePeriodMs);
    EXPECT_TRUE(buttonShows(u"IDB_ROWFORMAT_TCENTER", CToolbarImages::kCmdAlignment));
    EXPECT_FALSE(buttonShows(u"IDB_ROWFORMAT_TRIGHT", CToolbarImages::kCmdAlignment));
    EXPECT_TRUE(buttonShows(u"IDB_ROWGAP_T150", CToolbarImages::kCmdLineSpacing));
    EXPECT_FALSE(buttonShows(u"IDB_ROWGAP_T25", CToolbarImages::kCmdLineSpacing));
    press(plat::kVkDown, 1);
    Run(CQlMain::kIdlePeriodMs);
    EXPECT_TRUE(buttonShows(u"IDB_ROWFORMAT_TRIGHT", CToolbarImages::kCmdAlignment));
    EXPECT_TRUE(buttonShows(u"IDB_ROWGAP_T25", CToolbarImages::kCmdLineSpacing));
}
