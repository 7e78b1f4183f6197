// The context menu of a right press on the canvas: its items for each kind of document and
// selection, the spelling suggestions above them, and a chosen suggestion replacing the word.
#include <memory>
#include <string>
#include <vector>

#include "document/float_object.h"
#include "document/spell_engine.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/focus.h"
#include "platform/ui/menu.h"
#include "platform/ui/modal.h"
#include "tests/editor/editor_support.h"

namespace {

using edtest::PaneTest;

// The spelling library of bin/ with its dictionaries, loaded once.
CSpellEngine& Engine()
{
    static CSpellEngine* engine = [] {
        auto* e = new CSpellEngine;
        e->Load();
        return e;
    }();
    return *engine;
}

// An object of any node type, selected.
class KindObject : public CFloatObject {
public:
    KindObject(CDocContext* doc, std::uint16_t type) : CFloatObject(doc, nullptr, type) {}
    plat::String GetExportExt() const override { return u".png"; }
};

// Outside editors that can open everything.
class AllEditors : public CMediaEditorQuery {
public:
    bool CanEditImage(plat::StringView) const override { return true; }
    bool CanEditImageAdv(plat::StringView) const override { return true; }
    bool CanEditAudio(plat::StringView) const override { return true; }
    bool CanEditVideo(plat::StringView) const override { return true; }
};

// One item as the menu showed it: "-" for a separator, else the id with "(grey)" after a
// grayed item.
std::vector<std::string> Rows(const plat::Menu& menu)
{
    std::vector<std::string> out;
    for (int i = 0; i < menu.GetItemCount(); ++i) {
        const plat::Menu::Item* item = menu.GetItem(i);
        if (item->flags & plat::kMfSeparator) {
            out.push_back("-");
            continue;
        }
        out.push_back(std::to_string(item->id) + ((item->flags & plat::kMfGrayed) ? " (grey)" : ""));
    }
    return out;
}

class CanvasMenuTest : public PaneTest {
protected:
    // Right-clicks the canvas at the client point and returns the menu's rows; the menu is
    // answered with the command `choose` picks (0: cancelled).
    std::vector<std::string> RightClick(plat::Point client,
                                        std::function<unsigned(const plat::Menu&)> choose = {})
    {
        std::vector<std::string> rows;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            if (run.kind != plat::ModalKind::kPopupMenu || !run.menu) return std::nullopt;
            rows = Rows(*run.menu);
            return choose ? static_cast<int>(choose(*run.menu)) : 0;
        });
        plat::PostMouseInput(m_frameWindow, plat::kWmRButtonDown, canvas().ClientToScreen(client));
        plat::PumpMessages();
        return rows;
    }
    KindObject* AddObject(std::uint16_t type, int left)
    {
        auto o = std::make_unique<KindObject>(&doc(), type);
        o->m_bounds = plat::Rect(left, 3000, left + 1000, 4000);
        o->m_width = 1000;
        o->m_height = 1000;
        o->SetSelected(true);
        return static_cast<KindObject*>(body().AddObject(std::move(o)));
    }
};

TEST_F(CanvasMenuTest, ItemsFollowTheDocumentAndTheSelection)
{
    Fill(u"some text");
    const std::vector<std::string> zOrder = {"35051", "35052", "35053", "35054"};
    auto with = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<std::string> clip = {"57635 (grey)", "57634 (grey)", "57637 (grey)"};
    const std::vector<std::string> objectClip = {"57635", "57634", "57637 (grey)"};
    const std::vector<std::string> find = {"-", "57636", "57641"};
    // An object that is not editing text takes no search.
    const std::vector<std::string> noFind = {"-", "57636 (grey)", "57641 (grey)"};

    struct Row {
        const char* what;
        std::function<void()> setUp;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"no selection", [] {}, with(clip, with({"-", "35011"}, with(find, {"-", "35060", "-", "37920"})))},
        {"reference pane", [&] { doc().SetReference(true); }, {"35013", "-", "35012 (grey)"}},
        {"read-only", [&] { doc().SetReadOnly(true); }, {"35011", "-", "57634 (grey)"}},
        {"a text selection on the clipboard's text",
         [&] {
             body().SetSelection(CTextPos(0, body().GetName()), CTextPos(4, body().GetName()));
             ASSERT_TRUE(plat::OpenClipboard(nullptr));
             plat::EmptyClipboard();
             plat::SetClipboardData(plat::RegisterClipboardFormat(kTextClipboardFormat), {1, 2});
             plat::CloseClipboard();
         },
         with({"57635", "57634", "57637"}, with({"-", "35011"}, with(find, {"-", "35060", "-", "37920"})))},
        {"a drawn object", [&] { AddObject(kNodeShape, 2000); }, with(objectClip, with({"-"}, with(zOrder, {"-", "35055"})))},
        {"a table",
         [&] { AddObject(kNodeTable, 2000); },
         with({"57635", "57634", "57637 (grey)"},
              with(noFind, with({"-", "37801", "37802", "-", "37803", "37804", "-", "37807", "37808", "-"},
                              with(zOrder, {"-", "35055", "37814", "-", "35060 (grey)"}))))},
        {"a text shape", [&] { AddObject(kNodeTextShape, 2000); },
         with(objectClip, with(noFind, with({"-"}, with(zOrder, {"-", "35055", "-"}))))},
        {"an image without outside editors", [&] { AddObject(kNodeImage, 2000); },
         with(objectClip, with({"-"}, with(zOrder, {"-", "35055"})))},
        {"an image with outside editors",
         [&] {
             static const AllEditors editors;
             m_view->SetMediaEditorQuery(&editors);
             AddObject(kNodeImage, 2000);
         },
         with(objectClip, with({"-"}, with(zOrder, {"-", "35055", "-", "35056", "-", "35057"})))},
        {"a sound with outside editors",
         [&] {
             static const AllEditors editors;
             m_view->SetMediaEditorQuery(&editors);
             AddObject(kNodeAudio, 2000);
         },
         with(objectClip, with({"-"}, with(zOrder, {"-", "35055", "-", "35056"})))},
        {"a video", [&] { AddObject(kNodeVideo, 2000); }, with(objectClip, with({"-"}, with(zOrder, {"-", "35055"})))},
        {"two objects",
         [&] {
             AddObject(kNodeTable, 2000);
             AddObject(kNodeImage, 4000);
         },
         with({"57635", "57634", "57637 (grey)"}, with({"-"}, with(zOrder, {"-", "35055"})))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        doc().SetReadOnly(false);
        doc().SetReference(false);
        m_view->SetMediaEditorQuery(nullptr);
        plat::ResetClipboard();
        while (body().GetObjectCount() > 0) body().RemoveObject(body().GetObject(0));
        body().SetCaret(CTextPos(0, body().GetName()));
        r.setUp();
        EXPECT_EQ(RightClick(plat::Point(300, 300)), r.expected);
    }
    EXPECT_EQ(plat::GetCursor(), plat::kIdcArrow);
}

TEST_F(CanvasMenuTest, RightClickCancelsAPendingCreation)
{
    struct Tool : CCreationTool {
        std::uint16_t GetCreateType() const override { return kNodeShape; }
    };
    Fill(u"text");
    doc().GetFormatState()->SetCreationTracker(std::make_unique<Tool>());
    plat::SetCapture(&canvas());
    plat::ClearModalLog();
    plat::PostMouseInput(m_frameWindow, plat::kWmRButtonDown, canvas().ClientToScreen(plat::Point(100, 100)));
    plat::PumpMessages();
    EXPECT_EQ(doc().GetFormatState()->GetCreationTracker(), nullptr);
    EXPECT_EQ(plat::GetCapture(), nullptr);
    EXPECT_TRUE(plat::GetModalLog().empty()) << "no menu";
}

TEST_F(CanvasMenuTest, AChosenSuggestionReplacesTheMisspeltWord)
{
    doc().SetSpellEngine(&Engine());
    doc().SetSpellMarks(true);
    Fill(u"I recieve it");
    // The middle of the word's third letter, on the canvas.
    const CTextItem* item = body().GetItem(4);
    const plat::Point desk(doc().TwipsToPixels(item->GetLeft() + item->GetDrawnWidth() / 2),
                           doc().TwipsToPixels(item->GetTop() + item->GetHeight() / 2));
    const plat::Point offset = canvas().GetScrollOffset();
    const plat::Point client(desk.x - offset.x, desk.y - offset.y);

    std::vector<std::string> suggestions;
    const std::vector<std::string> rows = RightClick(client, [&](const plat::Menu& menu) {
        for (int i = 0; i < menu.GetItemCount(); ++i) {
            const plat::Menu::Item* it = menu.GetItem(i);
            if (it->id >= 37901 && it->id <= 37910) suggestions.push_back(plat::Utf16ToUtf8(it->text));
        }
        return menu.FindCommand(u"receive").value_or(0);
    });
    ASSERT_FALSE(suggestions.empty());
    // The suggestions lead, numbered from 37901, with a separator before the edit items.
    for (size_t k = 0; k < suggestions.size(); ++k) EXPECT_EQ(rows[k], std::to_string(37901 + k));
    EXPECT_EQ(rows[suggestions.size()], "-");
    EXPECT_EQ(rows[suggestions.size() + 1], "57635 (grey)");
    EXPECT_EQ(Text(), "I receive it");
    EXPECT_TRUE(doc().IsModified());
    doc().EditUndo();
    EXPECT_EQ(Text(), "I recieve it");
}

} // namespace
