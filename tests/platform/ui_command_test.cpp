// Command routing: the route a frame sets up decides who sees a command first, ranges and
// single ids, update handlers that enable, check and retitle, and menus updated by their
// owner before they open.
#include "tests/platform/ui_test_window.h"

#include "platform/ui/menu.h"

namespace {

using plat::CommandTarget;
using plat::CommandUi;

// A target that records which of its handlers ran.
struct Named : CommandTarget {
    Named(std::string n, std::vector<std::string>* log) : name(std::move(n))
    {
        handled = log;
    }
    void Handles(unsigned id)
    {
        OnCommand(id, [this](unsigned got) { handled->push_back(name + ":" + std::to_string(got)); });
    }
    std::string name;
    std::vector<std::string>* handled;
};

TEST(CommandRouting, TheRouteDecidesWhoSeesACommandFirst)
{
    std::vector<std::string> log;
    Named frame("frame", &log), view("view", &log), doc("doc", &log);
    frame.Handles(1);
    view.Handles(1);
    doc.Handles(1);
    view.Handles(2);
    doc.Handles(3);
    frame.Handles(4);
    view.SetCommandRoute({&view, &doc});

    struct Row {
        std::vector<CommandTarget*> route;
        unsigned id;
        const char* expected; // empty: nobody
    };
    const Row rows[] = {
        {{}, 1, "frame:1"},                       // no route: the frame's own handlers
        {{}, 2, ""},
        {{&view, &frame}, 1, "view:1"},           // the active view first
        {{&frame, &view}, 1, "frame:1"},          // the frame's own first
        {{&view, &frame}, 3, "doc:3"},            // through the view's own route
        {{&view, &frame}, 4, "frame:4"},
        {{&view}, 4, ""},                         // the frame left itself out
        {{&frame, &frame, &view}, 2, "view:2"},
    };
    for (const Row& r : rows) {
        log.clear();
        frame.SetCommandRoute(r.route);
        const bool handled = frame.RouteCommand(r.id);
        EXPECT_EQ(handled, *r.expected != 0) << r.id;
        EXPECT_EQ(log, *r.expected ? std::vector<std::string>{r.expected} : std::vector<std::string>{}) << r.id;
    }
}

TEST(CommandRouting, RangesAndTheFirstMatchingEntry)
{
    CommandTarget target;
    std::vector<std::string> log;
    target.OnCommand(35033, [&](unsigned) { log.push_back("single"); });
    target.OnCommandRange(35030, 35036, [&](unsigned id) { log.push_back("zoom " + std::to_string(id)); });
    target.OnCommand(35036, [&](unsigned) { log.push_back("never"); });
    for (unsigned id : {35029u, 35030u, 35033u, 35036u, 35037u}) target.RouteCommand(id);
    EXPECT_EQ(log, (std::vector<std::string>{"zoom 35030", "single", "zoom 35036"}));
}

TEST(CommandRouting, ARouteLeadingBackIntoItselfEnds)
{
    CommandTarget a, b;
    a.SetCommandRoute({&b});
    b.SetCommandRoute({&b, &a});
    EXPECT_FALSE(a.RouteCommand(1));
    b.OnCommand(1, [](unsigned) {});
    EXPECT_TRUE(a.RouteCommand(1));
}

TEST(CommandRouting, CanRouteCommandAsksTheRouteWithoutRunning)
{
    std::vector<std::string> log;
    Named frame("frame", &log), view("view", &log);
    view.Handles(2);
    frame.Handles(4);
    frame.SetCommandRoute({&view, &frame});
    const struct {
        unsigned id;
        bool handled;
    } rows[] = {{2, true}, {4, true}, {3, false}};
    for (const auto& r : rows) EXPECT_EQ(frame.CanRouteCommand(r.id), r.handled) << r.id;
    EXPECT_FALSE(view.CanRouteCommand(4)) << "the view's route is its own handlers";
    EXPECT_TRUE(log.empty()) << "nothing ran";
}

TEST(CommandRouting, UpdateHandlersSetOnlyWhatTheyTouch)
{
    CommandTarget frame, view;
    frame.SetCommandRoute({&view, &frame});
    view.OnUpdate(57637, [](CommandUi& ui) { ui.Enable(false); });
    frame.OnUpdate(57637, [](CommandUi& ui) { ui.Enable(true); });
    frame.OnUpdateRange(37901, 37910, [](CommandUi& ui) {
        ui.SetCheck(ui.Id() == 37902);
        ui.SetText(u"建议");
    });

    CommandUi paste(57637);
    EXPECT_TRUE(frame.RouteUpdate(paste));
    EXPECT_EQ(paste.Enabled(), std::optional<bool>(false)) << "the view's handler came first";
    EXPECT_FALSE(paste.Checked().has_value());

    CommandUi second(37902);
    EXPECT_TRUE(frame.RouteUpdate(second));
    EXPECT_EQ(second.Checked(), std::optional<int>(1));
    EXPECT_EQ(second.Text(), std::optional<plat::String>(u"建议"));
    EXPECT_FALSE(second.Enabled().has_value());

    CommandUi none(1);
    EXPECT_FALSE(frame.RouteUpdate(none));
}

class WindowCommands : public uitest::UiTest {};

TEST_F(WindowCommands, WmCommandIsRoutedAndMenusAreUpdatedByTheirOwner)
{
    uitest::TestWindow frame("frame", &m_log);
    ASSERT_TRUE(frame.Create(nullptr, plat::Rect(0, 0, 10, 10), plat::kWsVisible));
    CommandTarget view;
    frame.SetCommandRoute({&view, &frame});
    std::vector<unsigned> ran;
    view.OnCommand(57634, [&](unsigned id) { ran.push_back(id); });
    EXPECT_EQ(plat::SendMessage(&frame, plat::kWmCommand, plat::MakeWParam(57634, 0)), 1);
    EXPECT_EQ(plat::SendMessage(&frame, plat::kWmCommand, plat::MakeWParam(1, 0)), 0);
    EXPECT_EQ(ran, std::vector<unsigned>{57634});

    // Paste is inserted greyed; the frame's update handler enables it; Copy has no handler
    // and keeps its state; a submenu's items are updated too.
    frame.OnUpdate(57637, [](CommandUi& ui) { ui.Enable(true); });
    frame.OnUpdate(37911, [](CommandUi& ui) { ui.SetCheck(1); });
    plat::Menu menu;
    menu.AppendItem(plat::kMfString, 57634, u"复制");
    menu.AppendItem(plat::kMfGrayed, 57637, u"粘贴");
    menu.AppendSeparator();
    plat::Menu& sub = menu.AppendSubmenu(u"拼写");
    sub.AppendItem(plat::kMfString, 37911, u"标记");
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        EXPECT_EQ(run.kind, plat::ModalKind::kPopupMenu);
        EXPECT_TRUE(run.menu->IsItemEnabled(57637)) << "updated before it opened";
        EXPECT_TRUE(run.menu->IsItemChecked(37911));
        EXPECT_TRUE(run.menu->IsItemEnabled(57634));
        return std::nullopt;
    });
    EXPECT_EQ(plat::TrackPopupMenu(menu, plat::kTpmReturnCmd, plat::Point(5, 5), &frame), 0);
    EXPECT_EQ(Trace({plat::kWmInitMenuPopup}), (std::vector<std::string>{"frame:initmenupopup", "frame:initmenupopup"}));
}

} // namespace
