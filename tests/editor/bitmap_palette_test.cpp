// The bitmap palette driven by the mouse and the keyboard: its geometry, the hot cell, the
// pressed look of the current choice, and the command a click sends to the cell's owner.
#include <functional>

#include "editor/bitmap_palette.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"
#include "tests/editor/editor_test_support.h"

namespace {

// Keeps the commands it is sent.
class CommandSink : public plat::Window {
public:
    std::vector<unsigned> commands;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override
    {
        if (message == plat::kWmCommand) commands.push_back(plat::LoWord(wParam));
        return plat::Window::WindowProc(message, wParam, lParam);
    }
};

constexpr int kColumns = 4;
constexpr int kRows = 2;
constexpr int kCellWidth = 32;
constexpr int kCellHeight = 28;

class BitmapPaletteTest : public edtest::EditorTest {
protected:
    void SetUp() override
    {
        edtest::EditorTest::SetUp();
        m_owner.commands.clear();
        m_owner.Create(nullptr, plat::Rect(0, 0, 10, 10), plat::kWsPopup);
        m_palette = std::make_unique<CBitmapPalette>(&m_owner, kColumns, kRows, kCellWidth, kCellHeight);
        // Row 0: three cells, the second the current choice; (3, 0) stays empty. Row 1: one.
        m_palette->SetCellAt(&m_owner, 101, u"IDB_UNDERLINE_UL", 0, 0, false, false);
        m_palette->SetCellAt(&m_owner, 102, u"IDB_UNDERLINE_DUL", 1, 0, true, false);
        m_palette->SetCellAt(&m_owner, 103, u"IDB_UNDERLINE_DOT", 2, 0, false, false);
        m_palette->SetCellAt(&m_owner, 105, u"IDB_ROWGAP_T50", 0, 1, false, false);
    }
    void TearDown() override
    {
        m_palette.reset();
        m_owner.Destroy();
        edtest::EditorTest::TearDown();
    }
    // Shows the palette at (200, 100); `act` drives it with client points.
    int Show(std::function<void(plat::Dialog&)> act)
    {
        plat::AnswerNextModal([act](const plat::ModalRecord& run) -> std::optional<int> {
            if (plat::Dialog* d = plat::DialogOf(run)) act(*d);
            return std::nullopt;
        });
        return m_palette->ShowAt(200, 100);
    }
    static void Mouse(plat::Dialog& d, unsigned message, plat::Point client)
    {
        plat::PostMouseInput(d, message, d.ClientToScreen(client));
        plat::PumpMessages();
    }
    plat::Point Centre(int column, int row) const
    {
        const plat::Rect r = m_palette->CellRect(column, row);
        return plat::Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    CommandSink m_owner;
    std::unique_ptr<CBitmapPalette> m_palette;
};

} // namespace

TEST_F(BitmapPaletteTest, GeometryAndCellsOutsideTheGrid)
{
    EXPECT_EQ(m_palette->CellRect(2, 1), plat::Rect(94, 46, 126, 74));
    EXPECT_FALSE(m_palette->SetCellAt(&m_owner, 1, u"IDB_ROWGAP_T50", kColumns, 0, false, false));
    EXPECT_FALSE(m_palette->SetCellAt(&m_owner, 1, u"IDB_ROWGAP_T50", 0, -1, false, false));
    Show([&](plat::Dialog& d) {
        EXPECT_EQ(d.GetWindowRect(), plat::Rect(200, 100, 200 + 4 * 44 + 10, 100 + 2 * 40 + 10));
        Mouse(d, plat::kWmLButtonUp, plat::Point(-20, -20));
    });
}

TEST_F(BitmapPaletteTest, HotTrackingLeavesGapsAndEmptyCellsCold)
{
    struct Case {
        const char* what;
        plat::Point at;
        int column, row;
    };
    const Case cases[] = {
        {"a cell", Centre(2, 0), 2, 0},
        {"the gap to its right", plat::Point(m_palette->CellRect(2, 0).right + 6, Centre(2, 0).y), -1, -1},
        {"an empty cell", Centre(3, 0), -1, -1},
        {"the last cell", Centre(0, 1), 0, 1},
        {"the gap between rows", plat::Point(Centre(0, 0).x, m_palette->CellRect(0, 0).bottom + 6), -1, -1},
        {"outside", plat::Point(-30, 5), -1, -1},
    };
    Show([&](plat::Dialog& d) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            Mouse(d, plat::kWmMouseMove, c.at);
            EXPECT_EQ(m_palette->GetHotColumn(), c.column);
            EXPECT_EQ(m_palette->GetHotRow(), c.row);
        }
        Mouse(d, plat::kWmLButtonUp, plat::Point(-30, 5));
    });
    EXPECT_TRUE(m_owner.commands.empty());
}

TEST_F(BitmapPaletteTest, TheEndingDecidesTheCommand)
{
    struct Case {
        const char* what;
        std::function<void(plat::Dialog&)> act;
        std::vector<unsigned> commands;
    };
    const Case cases[] = {
        {"release over a cell", [&](plat::Dialog& d) { Mouse(d, plat::kWmLButtonDown, Centre(2, 0));
                                                        Mouse(d, plat::kWmLButtonUp, Centre(2, 0)); }, {103}},
        {"release over an empty cell", [&](plat::Dialog& d) { Mouse(d, plat::kWmLButtonUp, Centre(3, 0)); }, {}},
        {"release outside", [&](plat::Dialog& d) { Mouse(d, plat::kWmLButtonUp, plat::Point(500, 500)); }, {}},
        {"a key", [&](plat::Dialog& d) { plat::PostMessage(&d, plat::kWmKeyDown, 'A', 0); plat::PumpMessages(); }, {}},
        {"escape", [&](plat::Dialog& d) { plat::PostMessage(&d, plat::kWmKeyDown, plat::kVkEscape, 0);
                                           plat::PumpMessages(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        bool ended = false;
        EXPECT_EQ(Show([&](plat::Dialog& d) {
                      c.act(d);
                      ended = d.IsEnded();
                  }),
                  1);
        EXPECT_TRUE(ended) << "the palette ends at once";
        EXPECT_EQ(m_owner.commands, c.commands);
        EXPECT_EQ(plat::GetCapture(), nullptr);
        TearDown();
    }
}

// The current choice is pressed (black first row of its face) until the mouse is over it,
// then raised (white first row); a hot cell is raised too.
TEST_F(BitmapPaletteTest, TheSelectedCellIsPressedUntilTheMouseIsOverIt)
{
    Show([&](plat::Dialog& d) {
        auto faceTop = [&](int column) {
            std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(d);
            const plat::Rect r = m_palette->CellRect(column, 0);
            return shot->GetPixel(r.left + 2, r.top - CBitmapPalette::kFaceOutset);
        };
        const plat::ColorRef background = [&] {
            std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(d);
            return shot->GetPixel(1, 1);
        }();
        EXPECT_EQ(faceTop(1), plat::Rgb(0, 0, 0)) << "pressed";
        EXPECT_EQ(faceTop(0), background) << "a plain cell has no face";
        Mouse(d, plat::kWmMouseMove, Centre(1, 0));
        EXPECT_EQ(faceTop(1), plat::Rgb(255, 255, 255)) << "raised under the mouse";
        Mouse(d, plat::kWmMouseMove, Centre(0, 0));
        EXPECT_EQ(faceTop(0), plat::Rgb(255, 255, 255)) << "the hot cell is raised";
        EXPECT_EQ(faceTop(1), plat::Rgb(0, 0, 0)) << "pressed again";
        plat::PostMessage(&d, plat::kWmKeyDown, 'A', 0);
        plat::PumpMessages();
    });
}
