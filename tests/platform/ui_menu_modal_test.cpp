// Popup menus answered through the modal service, and modal loops whose answerer acts
// inside the loop.
#include "tests/platform/ui_test_window.h"

#include "platform/gfx/bitmap.h"
#include "platform/ui/menu.h"
#include "platform/ui/modal.h"

namespace {

using plat::Menu;
using plat::Rect;
using uitest::TestWindow;

class PopupMenus : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_frame.Create(nullptr, Rect(0, 0, 100, 100), plat::kWsVisible));
        m_frame.m_quiet = {plat::kWmPaint, plat::kWmInitMenuPopup};
        m_menu.AppendItem(plat::kMfString, 35011, u"全选");
        m_menu.AppendSeparator();
        m_menu.AppendItem(plat::kMfString, 57634, u"复制");
        m_menu.AppendItem(plat::kMfGrayed, 57637, u"粘贴");
        plat::Menu& order = m_menu.AppendSubmenu(u"层次");
        order.AppendItem(plat::kMfString, 35051, u"上移一层");
        plat::PumpMessages();
        m_log.clear();
    }
    TestWindow m_frame{"frame", &m_log};
    Menu m_menu;
};

TEST_F(PopupMenus, ItemsAreKeptInOrderWithTheirStates)
{
    m_menu.InsertItem(0, plat::kMfString, 37901, u"apple");
    m_menu.InsertItem(1, plat::kMfSeparator, 0, {});
    ASSERT_EQ(m_menu.GetItemCount(), 7);
    EXPECT_EQ(m_menu.GetItem(0)->text, u"apple");
    EXPECT_EQ(m_menu.GetItem(1)->flags, unsigned(plat::kMfSeparator));
    EXPECT_EQ(m_menu.FindItem(57634), 4);
    EXPECT_EQ(m_menu.FindItem(35051), -1) << "FindItem stays in this menu";
    EXPECT_TRUE(m_menu.CheckItem(35051, true)) << "state changes reach submenus";
    EXPECT_TRUE(m_menu.IsItemChecked(35051));
    EXPECT_FALSE(m_menu.IsItemEnabled(57637));
    EXPECT_FALSE(m_menu.EnableItem(99, true));
    EXPECT_EQ(m_menu.EnabledCommands(), (std::vector<unsigned>{37901, 35011, 57634, 35051}));
    EXPECT_EQ(m_menu.FindCommand(u"上移一层"), std::optional<unsigned>(35051));
    EXPECT_EQ(m_menu.FindCommand(u"粘贴"), std::nullopt) << "a greyed item cannot be chosen";
    EXPECT_TRUE(m_menu.RemoveItem(0));
    EXPECT_FALSE(m_menu.RemoveItem(10));
    EXPECT_EQ(m_menu.GetItemCount(), 6);
}

TEST_F(PopupMenus, TheAnswerIsTheChosenCommandAndArrivesAsWmCommand)
{
    plat::Point seenAt;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        seenAt = run.point;
        return static_cast<int>(*run.menu->FindCommand(u"复制"));
    });
    EXPECT_EQ(plat::TrackPopupMenu(m_menu, plat::kTpmLeftAlign, plat::Point(40, 50), &m_frame), 1);
    EXPECT_EQ(seenAt, plat::Point(40, 50));
    EXPECT_TRUE(m_log.empty()) << "the command is posted";
    plat::PumpMessages();
    ASSERT_EQ(Trace(), std::vector<std::string>{"frame:command"});
    EXPECT_EQ(plat::LoWord(m_log[0].wParam), 57634u);

    // Returning the command instead: a submenu's item can be chosen.
    plat::AnswerNextModal(35051);
    EXPECT_EQ(plat::TrackPopupMenu(m_menu, plat::kTpmReturnCmd, plat::Point(), &m_frame), 35051);
    const std::vector<plat::ModalRecord> log = plat::GetModalLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].kind, plat::ModalKind::kPopupMenu);
    EXPECT_EQ(log[1].menu, nullptr) << "the log keeps no pointer to the menu";
}

TEST_F(PopupMenus, NoAnswerOrAnAnswerThatCannotBeChosenCancels)
{
    struct Row {
        std::optional<int> answer;
        const char* why;
    };
    const Row rows[] = {
        {std::nullopt, "nobody answered"},
        {57637, "a greyed item"},
        {12345, "no such item"},
        {0, "dismissed"},
    };
    for (const Row& r : rows) {
        if (r.answer) plat::AnswerNextModal(*r.answer);
        EXPECT_EQ(plat::TrackPopupMenu(m_menu, plat::kTpmReturnCmd, plat::Point(), &m_frame), 0) << r.why;
        EXPECT_EQ(plat::TrackPopupMenu(m_menu, 0, plat::Point(), &m_frame), 0) << r.why;
    }
    plat::PumpMessages();
    EXPECT_TRUE(m_log.empty()) << "a cancelled menu sends no command";
}

class ModalLoops : public uitest::UiTest {};

TEST_F(ModalLoops, TheAnswererActsInsideAndTheWindowEndsTheLoop)
{
    TestWindow owner("owner", &m_log), palette("palette", &m_log);
    ASSERT_TRUE(owner.Create(nullptr, Rect(0, 0, 200, 200), plat::kWsVisible));
    ASSERT_TRUE(palette.Create(nullptr, Rect(50, 50, 150, 150), plat::kWsVisible));
    for (TestWindow* w : {&owner, &palette}) w->m_quiet = {plat::kWmPaint};
    // The palette acts on the first click: it ends its loop with the cell clicked.
    palette.m_handlers[plat::kWmLButtonDown] = [&](plat::WParam, plat::LParam l) {
        plat::EndModalLoop(palette, plat::PointFromLParam(l).x / 10);
        return plat::LResult(0);
    };
    bool insideWhileAnswering = false;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        insideWhileAnswering = plat::IsInModalLoop(palette);
        EXPECT_EQ(run.window, &palette);
        // The user clicks twice; only the first counts, the second waits for the outer loop.
        plat::PostMouseInput(palette, plat::kWmLButtonDown, plat::Point(85, 60));
        plat::PostMouseInput(palette, plat::kWmLButtonDown, plat::Point(65, 60));
        return std::nullopt;
    });
    plat::ModalRecord run;
    run.caption = u"palette";
    m_log.clear();
    EXPECT_EQ(plat::RunModalLoop(palette, run), 3);
    EXPECT_TRUE(insideWhileAnswering);
    EXPECT_FALSE(plat::IsInModalLoop(palette));
    EXPECT_EQ(Trace({plat::kWmLButtonDown}), std::vector<std::string>{"palette:lbuttondown"});
    EXPECT_EQ(plat::CountQueuedMessages(), 1u);
    ASSERT_EQ(plat::GetModalLog().size(), 1u);
    EXPECT_TRUE(plat::GetModalLog()[0].answered);
    EXPECT_EQ(plat::GetModalLog()[0].answer, 3);
    EXPECT_FALSE(plat::EndModalLoop(palette, 1)) << "no loop runs any more";
}

TEST_F(ModalLoops, AnAnswerEndsTheLoopAndNoAnswerFailsIt)
{
    TestWindow dialog("dialog", &m_log);
    ASSERT_TRUE(dialog.Create(nullptr, Rect(0, 0, 50, 50), plat::kWsVisible));
    plat::ModalRecord run;
    run.buttons = {1, 2};
    run.defaultAnswer = 2;
    plat::AnswerNextModal(1);
    EXPECT_EQ(plat::RunModalLoop(dialog, run), 1);
    EXPECT_EQ(plat::RunModalLoop(dialog, run), plat::kModalFailed);
    EXPECT_EQ(plat::UnansweredModalCount(), 1u);

    // Loops nest: a box shown from inside a dialog's loop ends on its own.
    TestWindow box("box", &m_log);
    ASSERT_TRUE(box.Create(nullptr, Rect(0, 0, 20, 20), plat::kWsVisible));
    int inner = 0;
    plat::SetModalHandler([&](const plat::ModalRecord& r) -> std::optional<int> {
        if (r.window == &dialog) {
            plat::ModalRecord nested;
            inner = plat::RunModalLoop(box, nested);
            plat::EndModalLoop(dialog, 7);
            return std::nullopt;
        }
        plat::EndModalLoop(box, 4);
        return std::nullopt;
    });
    EXPECT_EQ(plat::RunModalLoop(dialog, run), 2) << "7 is not one of the dialog's buttons: the default";
    EXPECT_EQ(inner, 4);
}

} // namespace

namespace {

// A picture item has no text and can be chosen like any item; a submenu's entry keeps the
// id it was given without becoming a command.
TEST_F(PopupMenus, PictureItemsAndSubmenuEntriesWithIds)
{
    auto picture = plat::Bitmap::Create(64, 12);
    Menu menu;
    menu.AppendBitmapItem(plat::kMfString, 33331, picture.get());
    menu.AppendBitmapItem(plat::kMfGrayed | plat::kMfSeparator, 33332, picture.get());
    Menu& shapes = menu.AppendSubmenu(u"线条", 32801);
    shapes.AppendItem(plat::kMfString, 32802, u"直线");
    ASSERT_EQ(menu.GetItemCount(), 3);
    EXPECT_EQ(menu.GetItem(0)->bitmap, picture.get());
    EXPECT_TRUE(menu.GetItem(0)->text.empty());
    EXPECT_EQ(menu.GetItem(1)->id, 33332u) << "a picture item is never a separator";
    EXPECT_EQ(menu.GetItem(2)->id, 32801u);
    EXPECT_EQ(menu.GetItem(2)->bitmap, nullptr);
    EXPECT_EQ(menu.EnabledCommands(), (std::vector<unsigned>{33331, 32802}));
    plat::AnswerNextModal(33331);
    EXPECT_EQ(plat::TrackPopupMenu(menu, plat::kTpmReturnCmd, plat::Point(0, 0), &m_frame), 33331);
}

} // namespace
