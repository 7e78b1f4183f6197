// The clipboard (formats, open/empty/set/get, its owner, and refusals on purpose) and scroll
// bars (clamping, the usual answer to each scroll code, and what the user's actions send).
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Rect;
using uitest::TestWindow;
using Bytes = std::vector<std::uint8_t>;

class Clipboard : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_view.Create(nullptr, Rect(0, 0, 10, 10), 0));
        ASSERT_TRUE(m_other.Create(nullptr, Rect(0, 0, 10, 10), 0));
    }
    TestWindow m_view{"view"};
    TestWindow m_other{"other"};
};

TEST_F(Clipboard, FormatsAreRegisteredOncePerNameAndKeepTheStandardNumbers)
{
    const unsigned text = plat::RegisterClipboardFormat(u"QUILN-TEXT-CLIPBOARD");
    const unsigned block = plat::RegisterClipboardFormat(u"QUILN-BLOCK-CLIPBOARD");
    EXPECT_GE(text, plat::kFirstRegisteredFormat);
    EXPECT_NE(text, block);
    EXPECT_EQ(plat::RegisterClipboardFormat(u"quiln-text-clipboard"), text) << "names ignore ASCII case";
    EXPECT_EQ(plat::GetClipboardFormatName(text), std::optional<plat::String>(u"QUILN-TEXT-CLIPBOARD"));
    EXPECT_EQ(plat::RegisterClipboardFormat(u"CF_UNICODETEXT"), 13u);
    EXPECT_EQ(plat::RegisterClipboardFormat(u"CF_TEXT"), 1u);
    EXPECT_EQ(plat::RegisterClipboardFormat(u"CF_BITMAP"), 2u);
    EXPECT_EQ(plat::GetClipboardFormatName(plat::kCfUnicodeText), std::optional<plat::String>(u"CF_UNICODETEXT"));
    EXPECT_EQ(plat::RegisterClipboardFormat(u""), 0u);
    EXPECT_EQ(plat::GetClipboardFormatName(0xBFFF), std::nullopt);
}

TEST_F(Clipboard, DataGoesOnAndComesOffAnOpenClipboard)
{
    const unsigned rtf = plat::RegisterClipboardFormat(u"Rich Text Format");
    EXPECT_FALSE(plat::SetClipboardData(rtf, Bytes{1})) << "not open";
    ASSERT_TRUE(plat::OpenClipboard(&m_view));
    EXPECT_FALSE(plat::OpenClipboard(&m_other)) << "held open by the view";
    EXPECT_FALSE(plat::OpenClipboard(&m_view)) << "not twice";
    EXPECT_EQ(plat::GetOpenClipboardWindow(), &m_view);
    ASSERT_TRUE(plat::EmptyClipboard());
    EXPECT_EQ(plat::GetClipboardOwner(), &m_view);
    EXPECT_TRUE(plat::SetClipboardData(rtf, Bytes{'{', '}'}));
    EXPECT_TRUE(plat::SetClipboardData(plat::kCfUnicodeText, Bytes{'a', 0, 0, 0}));
    EXPECT_TRUE(plat::SetClipboardData(rtf, Bytes{'{', 'x', '}'})) << "replaces";
    EXPECT_FALSE(plat::SetClipboardData(0, Bytes{1}));
    EXPECT_EQ(plat::GetClipboardFormats(), (std::vector<unsigned>{rtf, plat::kCfUnicodeText}));
    EXPECT_TRUE(plat::CloseClipboard());
    EXPECT_FALSE(plat::CloseClipboard());

    EXPECT_TRUE(plat::IsClipboardFormatAvailable(rtf)) << "asked without opening";
    EXPECT_FALSE(plat::IsClipboardFormatAvailable(plat::kCfBitmap));
    EXPECT_EQ(plat::GetClipboardData(rtf), std::nullopt) << "reading needs it open";
    ASSERT_TRUE(plat::OpenClipboard(&m_other));
    EXPECT_EQ(plat::GetClipboardData(rtf), std::optional<Bytes>(Bytes{'{', 'x', '}'}));
    EXPECT_EQ(plat::GetClipboardData(plat::kCfBitmap), std::nullopt);
    EXPECT_EQ(plat::GetClipboardOwner(), &m_view) << "opening does not take ownership; emptying does";
    ASSERT_TRUE(plat::EmptyClipboard());
    EXPECT_EQ(plat::GetClipboardOwner(), &m_other);
    EXPECT_TRUE(plat::GetClipboardFormats().empty());
    plat::CloseClipboard();
}

TEST_F(Clipboard, RefusalsOnPurposeLeaveTheDataAlone)
{
    ASSERT_TRUE(plat::OpenClipboard(&m_view));
    ASSERT_TRUE(plat::EmptyClipboard());
    ASSERT_TRUE(plat::SetClipboardData(plat::kCfText, Bytes{'h', 'i', 0}));
    plat::CloseClipboard();

    plat::SetClipboardFailures({.refuseOpen = true});
    EXPECT_FALSE(plat::OpenClipboard(&m_other));
    EXPECT_FALSE(plat::IsClipboardOpen());
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(plat::kCfText));

    plat::SetClipboardFailures({.refuseEmpty = true});
    ASSERT_TRUE(plat::OpenClipboard(&m_other));
    EXPECT_FALSE(plat::EmptyClipboard());
    EXPECT_EQ(plat::GetClipboardOwner(), &m_view);
    EXPECT_EQ(plat::GetClipboardData(plat::kCfText), std::optional<Bytes>(Bytes{'h', 'i', 0}));
    plat::CloseClipboard();

    plat::SetClipboardFailures({});
    EXPECT_TRUE(plat::OpenClipboard(&m_other));
    EXPECT_TRUE(plat::EmptyClipboard());
    plat::CloseClipboard();
}

TEST_F(Clipboard, AWindowThatGoesClosesItAndStopsOwningIt)
{
    ASSERT_TRUE(plat::OpenClipboard(&m_view));
    ASSERT_TRUE(plat::EmptyClipboard());
    ASSERT_TRUE(plat::SetClipboardData(plat::kCfText, Bytes{0}));
    m_view.Destroy();
    EXPECT_FALSE(plat::IsClipboardOpen());
    EXPECT_EQ(plat::GetClipboardOwner(), nullptr);
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(plat::kCfText)) << "the data stays";
    EXPECT_TRUE(plat::OpenClipboard(&m_other));
    plat::CloseClipboard();
}

// A desktop clipboard that another program can write to.
struct FakeDesktop : plat::DesktopClipboard {
    void Export(plat::StringView text) override
    {
        held = plat::String(text);
        ++exports;
    }
    std::optional<plat::String> Import() override
    {
        ++imports;
        return held;
    }
    std::optional<plat::String> held;
    int exports = 0;
    int imports = 0;
};

TEST_F(Clipboard, UnicodeTextIsExchangedWithTheDesktop)
{
    FakeDesktop desktop;
    plat::SetDesktopClipboard(&desktop);
    const unsigned block = plat::RegisterClipboardFormat(u"QUILN-BLOCK-CLIPBOARD");

    // Ours goes out when the clipboard closes, and only the text.
    ASSERT_TRUE(plat::OpenClipboard(&m_view));
    ASSERT_TRUE(plat::EmptyClipboard());
    ASSERT_TRUE(plat::SetClipboardData(block, Bytes{1, 2}));
    ASSERT_TRUE(plat::SetClipboardData(plat::kCfUnicodeText, plat::UnicodeTextToBytes(u"我们的 text")));
    EXPECT_EQ(desktop.exports, 0) << "not while open";
    ASSERT_TRUE(plat::CloseClipboard());
    EXPECT_EQ(desktop.held, std::optional<plat::String>(u"我们的 text"));
    // While the desktop holds what we gave it, our other formats stay.
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(block));
    EXPECT_EQ(plat::GetClipboardOwner(), &m_view);
    // Reading changes nothing and sends nothing.
    ASSERT_TRUE(plat::OpenClipboard(&m_other));
    EXPECT_TRUE(plat::GetClipboardData(block));
    ASSERT_TRUE(plat::CloseClipboard());
    EXPECT_EQ(desktop.exports, 1);

    // Another program's text replaces everything: that program owns the clipboard now.
    desktop.held = u"theirs\nline";
    EXPECT_FALSE(plat::IsClipboardFormatAvailable(block));
    EXPECT_EQ(plat::GetClipboardFormats(), (std::vector<unsigned>{plat::kCfUnicodeText}));
    EXPECT_EQ(plat::GetClipboardOwner(), nullptr);
    ASSERT_TRUE(plat::OpenClipboard(&m_view));
    EXPECT_EQ(plat::UnicodeTextFromBytes(*plat::GetClipboardData(plat::kCfUnicodeText)), u"theirs\nline");
    ASSERT_TRUE(plat::CloseClipboard());

    // A copy without text leaves the desktop's text as it is, and our block stays ours.
    ASSERT_TRUE(plat::OpenClipboard(&m_view));
    ASSERT_TRUE(plat::EmptyClipboard());
    ASSERT_TRUE(plat::SetClipboardData(block, Bytes{3}));
    ASSERT_TRUE(plat::CloseClipboard());
    EXPECT_EQ(desktop.held, std::optional<plat::String>(u"theirs\nline"));
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(block));

    // An empty desktop clipboard takes nothing away.
    desktop.held.reset();
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(block));
    plat::SetDesktopClipboard(nullptr);
    const int imports = desktop.imports;
    desktop.held = u"unseen";
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(block)) << "without a screen the clipboard is ours alone";
    EXPECT_EQ(desktop.imports, imports);
}

TEST(ClipboardText, UnicodeTextBytesEndAtTheirNul)
{
    EXPECT_EQ(plat::UnicodeTextToBytes(u"a你"), (Bytes{'a', 0, 0x60, 0x4F, 0, 0}));
    const struct {
        Bytes bytes;
        plat::String text;
    } rows[] = {
        {{}, u""},
        {{'a', 0, 'b', 0, 0, 0, 'c', 0}, u"ab"},
        {{'a', 0, 'b'}, u"a"},
        {{0x60, 0x4F}, u"你"},
    };
    for (const auto& row : rows) EXPECT_EQ(plat::UnicodeTextFromBytes(row.bytes), row.text) << row.bytes.size();
}

TEST(ScrollBars, TheUsualAnswerToEachCodeStaysInTheRange)
{
    plat::ScrollInfo info;
    info.min = 0;
    info.max = 999;
    info.page = 100;
    info.pos = 450;
    ASSERT_EQ(info.MaxPos(), 900);
    struct Row {
        unsigned code;
        int thumb;
        int pos; // -1: nothing
    };
    const Row rows[] = {
        {plat::kSbLineUp, 0, 440},        {plat::kSbLineDown, 0, 460},     {plat::kSbPageUp, 0, 350},
        {plat::kSbPageDown, 0, 550},      {plat::kSbThumbTrack, 123, 123}, {plat::kSbThumbPosition, 950, 900},
        {plat::kSbTop, 0, 0},             {plat::kSbBottom, 0, 900},       {plat::kSbEndScroll, 0, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(plat::NewScrollPos(info, r.code, r.thumb, 10).value_or(-1), r.pos) << r.code;
    info.pos = 5;
    EXPECT_EQ(plat::NewScrollPos(info, plat::kSbLineUp, 0, 10), std::optional<int>(0));
    info.pos = 850;
    EXPECT_EQ(plat::NewScrollPos(info, plat::kSbPageDown, 0, 10), std::optional<int>(900));
    // Without a page the thumb reaches max; a range smaller than the page cannot scroll.
    info.page = 0;
    EXPECT_EQ(info.MaxPos(), 999);
    info.page = 2000;
    EXPECT_EQ(info.Clamp(300), 0);
}

class ScrollingWindow : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_view.Create(nullptr, Rect(0, 0, 100, 100), plat::kWsVisible | plat::kWsVScroll));
        m_view.m_quiet = {plat::kWmPaint};
        plat::ScrollInfo info;
        info.max = 299;
        info.page = 100;
        m_view.SetScrollInfo(plat::kSbVert, info, plat::kSifRange | plat::kSifPage);
        // The window scrolls as a scroll view does: to the usual answer, 10 a line.
        m_view.m_handlers[plat::kWmVScroll] = [this](plat::WParam w, plat::LParam) {
            m_seen.push_back({plat::LoWord(w), static_cast<int>(plat::HiWord(w)),
                              m_view.GetScrollInfo(plat::kSbVert).trackPos});
            if (auto to = plat::NewScrollPos(m_view.GetScrollInfo(plat::kSbVert), plat::LoWord(w),
                                             static_cast<int>(plat::HiWord(w)), 10))
                m_view.SetScrollPos(plat::kSbVert, *to);
            return plat::LResult(0);
        };
        m_log.clear();
    }
    struct Seen {
        unsigned code;
        int pos;
        int trackPos;
        bool operator==(const Seen&) const = default;
    };
    TestWindow m_view{"view", &m_log};
    std::vector<Seen> m_seen;
};

TEST_F(ScrollingWindow, ClicksAndThumbDragsSendTheirCodesThenEndScroll)
{
    EXPECT_EQ(m_view.SetScrollPos(plat::kSbVert, 500), 0);
    EXPECT_EQ(m_view.GetScrollPos(plat::kSbVert), 200) << "clamped to max - page + 1";
    m_view.SetScrollPos(plat::kSbVert, 0);

    plat::ClickScrollBar(m_view, plat::kSbVert, plat::kSbPageDown);
    EXPECT_EQ(m_view.GetScrollPos(plat::kSbVert), 100);
    plat::DragScrollThumb(m_view, plat::kSbVert, {120, 180, 400});
    EXPECT_EQ(m_view.GetScrollPos(plat::kSbVert), 200);
    plat::ClickScrollBar(m_view, plat::kSbVert, plat::kSbTop);
    EXPECT_EQ(m_view.GetScrollPos(plat::kSbVert), 0);
    const std::vector<Seen> expected = {
        {plat::kSbPageDown, 0, 0},         {plat::kSbEndScroll, 0, 0},
        {plat::kSbThumbTrack, 120, 120},   {plat::kSbThumbTrack, 180, 180}, {plat::kSbThumbTrack, 200, 200},
        {plat::kSbThumbPosition, 200, 200}, {plat::kSbEndScroll, 0, 200},
        {plat::kSbTop, 200, 200},          {plat::kSbEndScroll, 0, 200},
    };
    EXPECT_EQ(m_seen, expected);
    EXPECT_EQ(m_view.GetScrollInfo(plat::kSbHorz), plat::ScrollInfo()) << "the other bar is untouched";
}

} // namespace
