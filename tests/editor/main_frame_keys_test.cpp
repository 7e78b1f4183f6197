// The main frame's keyboard: the accelerators of "IDR_MAINACCEL" through the message loop,
// and the pre-filter that gives navigation and deletion keys to the main canvas alone.
#include "tests/editor/main_frame_support.h"

#include <vector>

#include "platform/ui/combo_box.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "resources/res_accelerators.h"

namespace {

using frametest::MainFrameTest;

struct Accel {
    int key;
    unsigned modifiers;
    unsigned command;
};
const Accel kMainAccelerators[] = {
    {'A', plat::kModCtrl, 35011}, {'B', plat::kModCtrl, 35065},  {'C', plat::kModCtrl, 57634},
    {'E', plat::kModCtrl, 35083}, {'F', plat::kModCtrl, 57636},  {'H', plat::kModCtrl, 57641},
    {'I', plat::kModCtrl, 35066}, {'L', plat::kModCtrl, 35082},  {'P', plat::kModCtrl, 57607},
    {'R', plat::kModCtrl, 35084}, {'U', plat::kModCtrl, 35068},  {'V', plat::kModCtrl, 57637},
    {'X', plat::kModCtrl, 57635}, {'Y', plat::kModCtrl, 57644},  {'Z', plat::kModCtrl, 57643},
    {plat::kVkDelete, plat::kModShift, 57635}, {plat::kVkInsert, plat::kModCtrl, 57634},
    {plat::kVkInsert, plat::kModShift, 57637},
};

TEST(MainAccelerators, TableHoldsTheFrameKeys)
{
    const plat::AcceleratorTable* table = FindAcceleratorTable(u"IDR_MAINACCEL");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Entries().size(), std::size(kMainAccelerators));
    for (const Accel& a : kMainAccelerators) {
        SCOPED_TRACE(a.command);
        EXPECT_EQ(table->Lookup(a.key, a.modifiers), a.command);
    }
    EXPECT_EQ(table->Lookup('Z', 0), std::nullopt);
    EXPECT_EQ(table->Lookup('Z', plat::kModCtrl | plat::kModShift), std::nullopt);
    EXPECT_EQ(FindAcceleratorTable(u"IDR_OTHER"), nullptr);
}

class FrameKeysTest : public MainFrameTest {
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        // The main view stands first on the frame's route: what it takes shows which
        // command the frame got.
        for (const Accel& a : kMainAccelerators)
            frame().GetMainView()->OnCommand(a.command, [this](unsigned id) { m_commands.push_back(id); });
        doc().InsertString(u"abcdef");
        SetCaret(3);
        plat::SetFocus(&canvas());
        m_commands.clear();
    }
    void Press(int key, unsigned modifiers = 0)
    {
        plat::PressKey(key, modifiers);
        plat::PumpMessages();
    }
    std::vector<unsigned> m_commands;
};

TEST_F(FrameKeysTest, AcceleratorsReachTheFrameAsCommands)
{
    for (const Accel& a : kMainAccelerators) {
        // Shift+Delete stays in the table, but the pre-filter gives Delete to the canvas.
        if (a.key == plat::kVkDelete) continue;
        SCOPED_TRACE(a.command);
        m_commands.clear();
        Press(a.key, a.modifiers);
        EXPECT_EQ(m_commands, std::vector<unsigned>{a.command});
    }
    EXPECT_EQ(Text(), "abcdef");
}

TEST_F(FrameKeysTest, CtrlZUndoesTheLastEdit)
{
    frame().SetCommandRoute({&frame()}); // the frame's own undo handler, not the test's
    Press('Z', plat::kModCtrl);
    EXPECT_EQ(Text(), "");
}

TEST_F(FrameKeysTest, NavigationAndDeletionKeysGoToTheMainCanvas)
{
    struct Row {
        const char* what;
        int key;
        unsigned modifiers;
        std::string text;
        int caret;
    };
    const Row rows[] = {
        {"right", plat::kVkRight, 0, "abcdef", 4},
        {"left", plat::kVkLeft, 0, "abcdef", 2},
        {"home", plat::kVkHome, 0, "abcdef", 0},
        {"end", plat::kVkEnd, 0, "abcdef", 6},
        {"delete", plat::kVkDelete, 0, "abcef", 3},
        {"backspace", plat::kVkBack, 0, "abdef", 2},
        // Never the cut accelerator: Delete alone reaches the canvas.
        {"shift+delete", plat::kVkDelete, plat::kModShift, "abcef", 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        body().SetCaret(CTextPos(0, body().GetName()));
        doc().EditSelectAll();
        doc().InsertString(u"abcdef");
        SetCaret(3);
        m_commands.clear();
        Press(r.key, r.modifiers);
        EXPECT_EQ(Text(), r.text);
        EXPECT_EQ(Caret(), r.caret);
        EXPECT_TRUE(m_commands.empty());
    }
}

TEST_F(FrameKeysTest, FilteredKeysElsewhereInTheFrameGoNowhere)
{
    plat::ComboBox& zoom = *frame().GetZoomCombo();
    plat::SetFocus(&zoom);
    for (int key : {plat::kVkDown, plat::kVkUp, plat::kVkNext, plat::kVkDelete}) {
        Press(key);
        EXPECT_EQ(zoom.GetCurSel(), 3) << key;
    }
    EXPECT_EQ(Text(), "abcdef");
    EXPECT_EQ(Caret(), 3);
    // Other keys are the combo's.
    EXPECT_TRUE(m_commands.empty());
}

} // namespace
