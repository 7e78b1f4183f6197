// Dialogs and message boxes shown through the host's site: what the site is given, what
// the user's answer does, and that queued answers and an absent site work as before.
#include <gtest/gtest.h>

#include <functional>

#include "control/quiln_ctrl.h"
#include "editor/password_dialogs.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "tests/platform/ui_test_window.h"

namespace {

// A host's site that records what it is asked to show and answers as its test says.
class RecordingSite final : public IModalSite {
public:
    struct Box {
        plat::String caption;
        plat::String text;
        std::vector<int> buttons;
        int defaultButton = 0;
    };
    std::vector<Box> boxes;
    std::vector<plat::String> dialogTitles;
    std::int32_t boxAnswer = plat::kIdOk;
    // What the user does with a dialog; returns what RunDialog returns.
    std::function<plat::HRESULT(IModalDialog&)> user;

    std::int32_t ShowMessageBox(const char16_t* caption, std::int32_t captionLength, const char16_t* text,
                                std::int32_t textLength, std::uint32_t, const std::int32_t* buttons,
                                std::int32_t count, std::int32_t defaultButton) override
    {
        boxes.push_back(Box{plat::String(caption, std::size_t(captionLength)), plat::String(text, std::size_t(textLength)),
                            std::vector<int>(buttons, buttons + count), defaultButton});
        return boxAnswer;
    }
    plat::HRESULT RunDialog(const char16_t* title, std::int32_t titleLength, IModalDialog& dialog) override
    {
        dialogTitles.emplace_back(title, std::size_t(titleLength));
        return user ? user(dialog) : plat::E_FAIL;
    }
};

class ModalSite : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_owner.Create(nullptr, plat::Rect{0, 0, 400, 300}, plat::kWsVisible));
        m_control = CQuilnCtrl::CreateObject();
        ASSERT_EQ(m_control->SetModalSite(&m_site), plat::S_OK);
    }
    void TearDown() override
    {
        m_control->SetModalSite(nullptr);
        m_control->Release();
        m_owner.Destroy();
        UiTest::TearDown();
    }

    RecordingSite m_site;
    uitest::TestWindow m_owner{"owner"};
    CQuilnCtrl* m_control = nullptr;
};

TEST_F(ModalSite, AMessageBoxIsShownWithItsCaptionTextButtonsAndDefault)
{
    m_site.boxAnswer = plat::kIdNo;
    EXPECT_EQ(plat::MessageBox(u"保存吗？", u"标题", plat::kMbYesNoCancel | plat::kMbDefButton2), plat::kIdNo);
    m_site.boxAnswer = plat::kIdOk;
    EXPECT_EQ(plat::MessageBox(u"口令错误，无法打开文件。"), plat::kIdOk);
    ASSERT_EQ(m_site.boxes.size(), 2u);
    EXPECT_EQ(m_site.boxes[0].caption, u"标题");
    EXPECT_EQ(m_site.boxes[0].text, u"保存吗？");
    EXPECT_EQ(m_site.boxes[0].buttons, (std::vector<int>{plat::kIdYes, plat::kIdNo, plat::kIdCancel}));
    EXPECT_EQ(m_site.boxes[0].defaultButton, plat::kIdNo);
    EXPECT_EQ(m_site.boxes[1].caption, u"Quiln") << "a box without a caption gets the module's name";
    EXPECT_EQ(m_site.boxes[1].buttons, (std::vector<int>{plat::kIdOk}));
    EXPECT_EQ(plat::UnansweredModalCount(), 0u);
}

TEST_F(ModalSite, AQueuedAnswerComesFirstAndWithoutASiteBoxesFailAsBefore)
{
    plat::AnswerNextModal(plat::kIdCancel);
    EXPECT_EQ(plat::MessageBox(u"继续吗？", {}, plat::kMbOkCancel), plat::kIdCancel);
    EXPECT_TRUE(m_site.boxes.empty()) << "the queued answer took the box";

    // A box the site could not show fails as one nobody answered.
    m_site.boxAnswer = 0;
    EXPECT_EQ(plat::MessageBox(u"非法文件"), 0);
    EXPECT_EQ(plat::UnansweredModalCount(), 1u);

    m_control->SetModalSite(nullptr);
    m_site.boxAnswer = plat::kIdOk;
    EXPECT_EQ(plat::MessageBox(u"非法文件"), 0);
    EXPECT_EQ(m_site.boxes.size(), 1u) << "a disconnected site is asked nothing";
    EXPECT_EQ(plat::UnansweredModalCount(), 2u);
}

// The password dialog, as the user meets it in its own window: its picture, typing and
// Enter through IModalDialog; closing its window cancels it; a dialog the site cannot show
// fails as before.
TEST_F(ModalSite, ADialogRunsWithTheUsersInputUntilItEnds)
{
    struct Case {
        const char* name;
        std::function<plat::HRESULT(IModalDialog&)> user;
        int result;
        plat::String password;
    };
    const auto typeAndPress = [](plat::StringView typed, int key) {
        return [typed = plat::String(typed), key](IModalDialog& dialog) -> plat::HRESULT {
            std::int32_t width = 0, height = 0;
            if (dialog.Render(&width, &height, nullptr, 0) != plat::S_OK || width <= 0 || height <= 0) return plat::E_FAIL;
            std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
            if (dialog.Render(&width, &height, pixels.data(), width) != plat::S_OK) return plat::E_FAIL;
            plat::Rect caret;
            EXPECT_EQ(dialog.GetCaretRect(&caret), plat::S_OK) << "the password box has the caret";
            dialog.TypeText(typed.data(), std::int32_t(typed.size()));
            dialog.KeyInput(key, true, false);
            dialog.KeyInput(key, false, false);
            for (int round = 0; round < 10 && !dialog.IsEnded(); ++round) dialog.Pump(nullptr);
            return dialog.IsEnded() ? plat::S_OK : plat::S_FALSE;
        };
    };
    // The dialog running, for a user who clicks its buttons where its picture shows them.
    plat::Dialog* running = nullptr;
    const auto typeAndClick = [&running](plat::StringView typed, int button) {
        return [&running, typed = plat::String(typed), button](IModalDialog& dialog) -> plat::HRESULT {
            dialog.TypeText(typed.data(), std::int32_t(typed.size()));
            const plat::Rect window = running->GetWindowRect();
            const plat::Rect shown = running->GetDlgItem(button)->GetWindowRect();
            const plat::Point at((shown.left + shown.right) / 2 - window.left, (shown.top + shown.bottom) / 2 - window.top);
            dialog.MouseInput(plat::kWmLButtonDown, at.x, at.y, plat::kMkLButton, 0);
            dialog.MouseInput(plat::kWmLButtonUp, at.x, at.y, 0, 0);
            for (int round = 0; round < 10 && !dialog.IsEnded(); ++round) dialog.Pump(nullptr);
            return dialog.IsEnded() ? plat::S_OK : plat::S_FALSE;
        };
    };
    const Case cases[] = {
        {"typed and Enter", typeAndPress(u"pw1234", plat::kVkReturn), plat::kIdOk, u"pw1234"},
        {"typed and OK clicked", typeAndClick(u"pw99", plat::kIdOk), plat::kIdOk, u"pw99"},
        {"Esc", typeAndPress(u"pw1234", plat::kVkEscape), plat::kIdCancel, u""},
        {"its window closed", [](IModalDialog&) { return plat::S_FALSE; }, plat::kIdCancel, u""},
        {"not shown", [](IModalDialog&) { return plat::E_FAIL; }, plat::kModalFailed, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_site.user = c.user;
        m_site.dialogTitles.clear();
        CPasswordDlg dialog(&m_owner);
        running = &dialog;
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.m_password, c.password);
        EXPECT_EQ(m_site.dialogTitles, std::vector<plat::String>{u"文件口令"});
        EXPECT_TRUE(m_owner.IsWindowEnabled()) << "the owner is enabled again";
    }
}

} // namespace
