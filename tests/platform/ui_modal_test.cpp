#include <gtest/gtest.h>

#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/window.h"

namespace {

using plat::ModalKind;
using plat::ModalRecord;

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        plat::SetModalHandler({});
        plat::ClearModalAnswers();
        plat::ClearModalLog();
    }
    static ModalRecord Dialog(plat::String caption)
    {
        ModalRecord run;
        run.caption = std::move(caption);
        return run;
    }
};

TEST_F(ModalTest, UnansweredRunFailsAndIsCounted)
{
    EXPECT_EQ(plat::RunModal(Dialog(u"字体")), plat::kModalFailed);
    // A handler may look and decline: the run still fails.
    int looked = 0;
    plat::SetModalHandler([&](const ModalRecord&) -> std::optional<int> {
        ++looked;
        return std::nullopt;
    });
    EXPECT_EQ(plat::RunModal(Dialog(u"替换")), plat::kModalFailed);
    EXPECT_EQ(looked, 1);
    const auto log = plat::GetModalLog();
    ASSERT_EQ(log.size(), 2u);
    for (const auto& run : log) {
        EXPECT_FALSE(run.answered);
        EXPECT_EQ(run.answer, plat::kModalFailed);
        EXPECT_EQ(run.kind, ModalKind::kDialog);
    }
    EXPECT_EQ(plat::UnansweredModalCount(), 2u);
    plat::ClearModalLog();
    EXPECT_EQ(plat::UnansweredModalCount(), 0u);
}

TEST_F(ModalTest, QueuedAnswersGoOldestFirstBeforeTheHandler)
{
    plat::SetModalHandler([](const ModalRecord&) -> std::optional<int> { return 99; });
    plat::AnswerNextModal(plat::kIdOk);
    plat::AnswerNextModal([](const ModalRecord& run) -> std::optional<int> {
        return run.caption == u"查找" ? std::optional<int>(plat::kIdCancel) : std::nullopt;
    });
    plat::AnswerNextModal([](const ModalRecord&) -> std::optional<int> { return std::nullopt; });
    EXPECT_EQ(plat::PendingModalAnswers(), 3u);

    EXPECT_EQ(plat::RunModal(Dialog(u"字体")), plat::kIdOk);
    EXPECT_EQ(plat::RunModal(Dialog(u"查找")), plat::kIdCancel);
    // The third queued answerer declines; the handler answers; the queue is used up.
    EXPECT_EQ(plat::RunModal(Dialog(u"关于")), 99);
    EXPECT_EQ(plat::PendingModalAnswers(), 0u);
    EXPECT_EQ(plat::RunModal(Dialog(u"关于")), 99);
    EXPECT_EQ(plat::UnansweredModalCount(), 0u);
}

TEST_F(ModalTest, QueuedAnswersAnswerMessageBoxesToo)
{
    plat::AnswerNextModal(plat::kIdNo);
    plat::AnswerNextModal(plat::kIdAbort); // not a button of the box: its default
    EXPECT_EQ(plat::MessageBox(u"保存吗？", u"", plat::kMbYesNoCancel), plat::kIdNo);
    EXPECT_EQ(plat::MessageBox(u"保存吗？", u"", plat::kMbYesNoCancel | plat::kMbDefButton3), plat::kIdCancel);
    // Nothing queued any more: the next box fails.
    EXPECT_EQ(plat::MessageBox(u"替换完成。"), 0);
    const auto log = plat::GetModalLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, ModalKind::kMessageBox);
    EXPECT_EQ(log[1].answer, plat::kIdCancel);
    EXPECT_FALSE(log[2].answered);
}

TEST_F(ModalTest, AnswererReachesTheDialogWindowWhichTheLogForgets)
{
    plat::Window dialogWindow;
    const plat::Window* seen = nullptr;
    plat::AnswerNextModal([&](const ModalRecord& run) -> std::optional<int> {
        seen = run.window;
        return plat::kIdOk;
    });
    ModalRecord run = Dialog(u"页面设置");
    run.window = &dialogWindow;
    EXPECT_EQ(plat::RunModal(run), plat::kIdOk);
    EXPECT_EQ(seen, &dialogWindow);
    ASSERT_EQ(plat::GetModalLog().size(), 1u);
    EXPECT_EQ(plat::GetModalLog()[0].window, nullptr);
}

TEST_F(ModalTest, AnswererMayRunANestedModal)
{
    // A dialog whose answerer shows a box (as a dialog's OK handler might): no dead lock,
    // both recorded, the inner one first since it ends first.
    plat::SetModalHandler([](const ModalRecord& run) -> std::optional<int> {
        if (run.kind == ModalKind::kDialog) plat::MessageBox(u"口令错误，无法解除保护。");
        return plat::kIdOk;
    });
    EXPECT_EQ(plat::RunModal(Dialog(u"解除保护")), plat::kIdOk);
    const auto log = plat::GetModalLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, u"口令错误，无法解除保护。");
    EXPECT_EQ(log[1].caption, u"解除保护");
}

} // namespace
