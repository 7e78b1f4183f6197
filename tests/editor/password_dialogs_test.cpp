// The password dialogs: their templates, the protect dialog's OK rule, setting and removing
// the protection, and a protected file asking for its password when it is opened again.
#include <filesystem>
#include <functional>

#include "document/doc_header.h"
#include "editor/password_dialogs.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/static_control.h"
#include "resources/res_dialogs.h"
#include "tests/editor/editor_test_support.h"
#include "tests/platform/ui_test_window.h"

namespace {

namespace fs = std::filesystem;
using edtest::EditorTest;

// Answers the next dialog: the function acts on it by control id; returns nothing, so the
// buttons it pressed decide.
void WithNextDialog(std::function<void(plat::Dialog&)> act)
{
    plat::AnswerNextModal([act](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        EXPECT_NE(d, nullptr);
        if (d) act(*d);
        return std::nullopt;
    });
}

TEST_F(EditorTest, PasswordDialogsHoldTheirTemplates)
{
    struct Case {
        std::function<std::unique_ptr<plat::Dialog>()> make;
        const char16_t* caption;
        std::vector<plat::String> labels;
        std::vector<int> edits;
        std::vector<std::pair<int, plat::String>> buttons;
    };
    const Case cases[] = {
        {[] { return std::make_unique<CPasswordDlg>(); }, u"文件口令", {u"请输入口令:"}, {1414}, {{1, u"确认"}}},
        {[] { return std::make_unique<CProtectDlg>(); }, u"文件保护", {u"口令:", u"确认口令:"}, {1411, 1412},
         {{1, u"确认"}, {2, u"取消"}}},
        {[] { return std::make_unique<CUnprotectDlg>(); }, u"解除文件保护", {u"请输入口令:"}, {1413},
         {{1, u"确认"}, {2, u"取消"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(c.caption));
        std::unique_ptr<plat::Dialog> dlg = c.make();
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            EXPECT_EQ(run.caption, c.caption);
            std::vector<plat::String> labels;
            for (plat::Control* control : d->GetControls())
                if (dynamic_cast<plat::StaticControl*>(control)) labels.push_back(control->GetWindowText());
            EXPECT_EQ(labels, c.labels);
            for (int id : c.edits) {
                auto* edit = d->GetItem<plat::Edit>(id);
                EXPECT_NE(edit, nullptr) << id;
                if (!edit) continue;
                EXPECT_TRUE(edit->GetStyle() & plat::kEsPassword) << "what is typed is hidden";
                EXPECT_EQ(edit->GetLimitText(), kMaxPasswordLength);
                // Typing stops at 14 characters.
                d->TypeInto(id, u"一二三四五六七八九十abcdef");
                EXPECT_EQ(d->GetDlgItemText(id), u"一二三四五六七八九十abcd");
            }
            for (const auto& [id, text] : c.buttons) {
                auto* button = d->GetItem<plat::Button>(id);
                EXPECT_NE(button, nullptr) << id;
                if (button) {
                    EXPECT_EQ(button->GetWindowText(), text);
                }
            }
            return plat::kIdCancel;
        });
        dlg->DoModal();
    }
    EXPECT_EQ(FindDialogTemplate(12345), nullptr);
}

TEST_F(EditorTest, ProtectDialogEnablesOkOnlyForTwoEqualEntries)
{
    struct Case {
        const char16_t* first;
        const char16_t* second;
        bool enabled;
    };
    const Case cases[] = {
        {u"", u"", false}, {u"口令", u"", false}, {u"", u"口令", false}, {u"口令", u"口今", false},
        {u"口令", u"口令a", false}, {u"口令", u"口令", true}, {u"a", u"a", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(plat::String(c.first) + u"|" + c.second));
        CProtectDlg dlg;
        bool enabledAtStart = true, enabled = false, endedWhileDisabled = false;
        WithNextDialog([&](plat::Dialog& d) {
            enabledAtStart = d.IsDlgItemEnabled(plat::kIdOk);
            d.TypeInto(kIdcProtectPassword, c.first);
            d.TypeInto(kIdcProtectConfirm, c.second);
            enabled = d.IsDlgItemEnabled(plat::kIdOk);
            d.PressButton(plat::kIdOk);
            endedWhileDisabled = !enabled && d.IsEnded();
            if (!d.IsEnded()) d.PressButton(plat::kIdCancel);
        });
        EXPECT_EQ(dlg.DoModal(), c.enabled ? plat::kIdOk : plat::kIdCancel);
        EXPECT_FALSE(enabledAtStart) << "OK starts disabled";
        EXPECT_EQ(enabled, c.enabled);
        EXPECT_FALSE(endedWhileDisabled);
    }
}

TEST_F(EditorTest, SettingTheProtectionTakesTheFirstEntryAndGivesTheViewTheFocus)
{
    uitest::TestWindow view("view");
    ASSERT_TRUE(view.Create(nullptr, plat::Rect(0, 0, 400, 300), plat::kWsVisible));
    CDocHeader& header = *m_doc.GetHeader();
    ASSERT_FALSE(header.HasPassword());

    // Cancelled: nothing changes.
    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcProtectPassword, u"口令");
        d.TypeInto(kIdcProtectConfirm, u"口令");
        d.PressButton(plat::kIdCancel);
    });
    EXPECT_FALSE(SetPasswordDialog(header, &view, &view));
    EXPECT_FALSE(header.HasPassword());
    EXPECT_EQ(plat::GetFocus(), &view);

    plat::SetFocus(nullptr);
    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcProtectPassword, u"口令");
        d.TypeInto(kIdcProtectConfirm, u"口令");
        plat::PressKey(plat::kVkReturn); // Enter presses the default OK
    });
    EXPECT_TRUE(SetPasswordDialog(header, &view, &view));
    EXPECT_TRUE(header.HasPassword());
    EXPECT_TRUE(header.CheckPassword(u"口令"));
    EXPECT_FALSE(m_doc.IsModified()) << "the protection does not mark the document";
    EXPECT_EQ(plat::GetFocus(), &view);

    // Removing it: a wrong entry keeps it with the header's message, the right one removes it.
    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcUnprotectPassword, u"口今");
        d.PressButton(plat::kIdOk);
    });
    plat::AnswerNextModal(plat::kIdOk);
    EXPECT_FALSE(RemovePasswordDialog(header, &view, &view));
    EXPECT_TRUE(header.HasPassword());
    EXPECT_EQ(Boxes(), (std::vector<plat::String>{u"口令错误，无法解除保护。"}));

    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcUnprotectPassword, u"口令");
        d.PressButton(plat::kIdCancel);
    });
    EXPECT_FALSE(RemovePasswordDialog(header));
    EXPECT_TRUE(header.HasPassword()) << "cancelled";

    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcUnprotectPassword, u"口令");
        d.PressButton(plat::kIdOk);
    });
    EXPECT_TRUE(RemovePasswordDialog(header));
    EXPECT_FALSE(header.HasPassword());
}

class ProtectedFileTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        static int counter = 0;
        m_dir = fs::path(plat::TempDirUtf8()) / ("password_dialogs_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::create_directories(m_dir);
        m_path = plat::Utf8ToUtf16((m_dir / "protected.qln").string());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        EditorTest::TearDown();
    }
    // Opens the file in a new document, answering the password dialog with the entry, and
    // pressing OK (or Esc when asked).
    int OpenWith(const char16_t* entry, bool escape = false)
    {
        plat::ClearModalLog();
        WithNextDialog([entry, escape](plat::Dialog& d) {
            d.TypeInto(kIdcPassword, entry);
            plat::PressKey(escape ? plat::kVkEscape : plat::kVkReturn);
        });
        plat::AnswerNextModal(plat::kIdOk); // the refusal's box, if any
        CQlDoc doc;
        const int opened = doc.FileOpen(m_path, false);
        plat::ClearModalAnswers();
        return opened;
    }
    int DialogRuns() const
    {
        int n = 0;
        for (const plat::ModalRecord& r : plat::GetModalLog())
            if (r.kind == plat::ModalKind::kDialog && r.caption == u"文件口令") ++n;
        return n;
    }
    fs::path m_dir;
    plat::String m_path;
};

TEST_F(ProtectedFileTest, SavedProtectedFileAsksForItsPasswordAndRefusesAWrongOne)
{
    InstallPasswordDialogPrompt();
    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcProtectPassword, u"芝麻开门");
        d.TypeInto(kIdcProtectConfirm, u"芝麻开门");
        d.PressButton(plat::kIdOk);
    });
    ASSERT_TRUE(SetPasswordDialog(*m_doc.GetHeader()));
    ASSERT_EQ(m_doc.FileSave(m_path), 1);

    struct Case {
        const char16_t* entry;
        bool escape;
        int opened;
    };
    const Case cases[] = {
        {u"芝麻关门", false, 0},
        {u"", false, 0},
        {u"芝麻开门", true, 0}, // closed without confirming: the entry counts as empty
        {u"芝麻开门", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(c.entry) + (c.escape ? " Esc" : " Enter"));
        EXPECT_EQ(OpenWith(c.entry, c.escape), c.opened);
        EXPECT_EQ(DialogRuns(), 1);
        if (c.opened) {
            EXPECT_TRUE(Boxes().empty());
        } else {
            EXPECT_EQ(Boxes(), (std::vector<plat::String>{u"口令错误，无法打开文件。"}));
        }
    }

    // Removing the protection and saving again: the file opens without asking.
    WithNextDialog([](plat::Dialog& d) {
        d.TypeInto(kIdcUnprotectPassword, u"芝麻开门");
        d.PressButton(plat::kIdOk);
    });
    ASSERT_TRUE(RemovePasswordDialog(*m_doc.GetHeader()));
    ASSERT_EQ(m_doc.FileSave(m_path), 1);
    plat::ClearModalLog();
    CQlDoc doc;
    EXPECT_EQ(doc.FileOpen(m_path, false), 1);
    EXPECT_EQ(DialogRuns(), 0);
    EXPECT_FALSE(doc.GetHeader()->HasPassword());
}

} // namespace
