#include <gtest/gtest.h>

#include "platform/ui/message_box.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ClearMessageBoxLog(); }
    void TearDown() override
    {
        plat::SetMessageBoxHandler({});
        plat::ClearModalAnswers();
        plat::ClearMessageBoxLog();
    }
};

TEST_F(MessageBoxTest, ButtonsDefaultAndEscapeOfEachStyle)
{
    struct Case {
        unsigned style;
        std::vector<int> buttons;
        int byDefault;
        int byEscape; // Esc or closing the box: Cancel, else a lone button, else none
    };
    const Case cases[] = {
        {plat::kMbOk, {plat::kIdOk}, plat::kIdOk, plat::kIdOk},
        {plat::kMbOk | plat::kMbIconExclamation, {plat::kIdOk}, plat::kIdOk, plat::kIdOk},
        {plat::kMbOkCancel, {plat::kIdOk, plat::kIdCancel}, plat::kIdOk, plat::kIdCancel},
        {plat::kMbOkCancel | plat::kMbDefButton2, {plat::kIdOk, plat::kIdCancel}, plat::kIdCancel, plat::kIdCancel},
        {plat::kMbYesNo, {plat::kIdYes, plat::kIdNo}, plat::kIdYes, 0},
        {plat::kMbYesNo | plat::kMbDefButton2 | plat::kMbIconQuestion, {plat::kIdYes, plat::kIdNo}, plat::kIdNo, 0},
        {plat::kMbYesNoCancel | plat::kMbDefButton3, {plat::kIdYes, plat::kIdNo, plat::kIdCancel}, plat::kIdCancel, plat::kIdCancel},
        {plat::kMbYesNo | plat::kMbDefButton3, {plat::kIdYes, plat::kIdNo}, plat::kIdYes, 0}, // no third: the first
        {plat::kMbAbortRetryIgnore | plat::kMbDefButton2, {plat::kIdAbort, plat::kIdRetry, plat::kIdIgnore},
         plat::kIdRetry, 0},
        {plat::kMbRetryCancel, {plat::kIdRetry, plat::kIdCancel}, plat::kIdRetry, plat::kIdCancel},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::MessageBoxButtons(c.style), c.buttons) << c.style;
        EXPECT_EQ(plat::DefaultMessageBoxAnswer(c.style), c.byDefault) << c.style;
        EXPECT_EQ(plat::EscapeMessageBoxAnswer(c.buttons), c.byEscape) << c.style;
        for (const int id : c.buttons) EXPECT_FALSE(plat::MessageBoxButtonText(id).empty()) << id;
    }
}

TEST_F(MessageBoxTest, UnansweredBoxFailsAtOnceAndIsRecorded)
{
    // Nobody answers: the box returns 0 at once (no button), and the log says so.
    EXPECT_EQ(plat::MessageBox(u"保存吗？", u"标题", plat::kMbYesNoCancel | plat::kMbDefButton2), 0);
    EXPECT_EQ(plat::MessageBox(u"非法文件"), 0);
    const auto log = plat::GetMessageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, u"保存吗？");
    EXPECT_EQ(log[0].caption, u"标题");
    EXPECT_EQ(log[0].buttons, (std::vector<int>{plat::kIdYes, plat::kIdNo, plat::kIdCancel}));
    EXPECT_FALSE(log[0].answered);
    EXPECT_EQ(log[1].buttons, std::vector<int>{plat::kIdOk});
    EXPECT_FALSE(log[1].answered);
    EXPECT_EQ(plat::UnansweredModalCount(), 2u);
}

TEST_F(MessageBoxTest, HandlerSeesTheBoxAndAnswers)
{
    std::vector<plat::MessageBoxRecord> seen;
    plat::SetMessageBoxHandler([&](const plat::MessageBoxRecord& box) {
        seen.push_back(box);
        return box.style == plat::kMbYesNo ? plat::kIdNo : plat::kIdRetry;
    });
    EXPECT_EQ(plat::MessageBox(u"保存吗？", u"标题", plat::kMbYesNo), plat::kIdNo);
    // An answer that is not one of the box's buttons counts as the default.
    EXPECT_EQ(plat::MessageBox(u"非法文件"), plat::kIdOk);
    EXPECT_EQ(plat::MessageBox(u"继续吗？", u"", plat::kMbOkCancel | plat::kMbDefButton2), plat::kIdCancel);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, u"保存吗？");
    EXPECT_EQ(seen[0].caption, u"标题");
    EXPECT_EQ(seen[0].answer, 0) << "not yet answered when the handler sees it";
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{plat::kIdYes, plat::kIdNo}));
    EXPECT_EQ(seen[1].caption, u"") << "the default caption";

    const auto log = plat::GetMessageBoxLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].answer, plat::kIdNo);
    EXPECT_EQ(log[1].text, u"非法文件");
    EXPECT_EQ(log[1].answer, plat::kIdOk);
    EXPECT_EQ(log[2].answer, plat::kIdCancel);
    for (const auto& box : log) EXPECT_TRUE(box.answered);
    EXPECT_EQ(plat::UnansweredModalCount(), 0u);
}

TEST_F(MessageBoxTest, BoxHandlerLeavesDialogsUnanswered)
{
    plat::SetMessageBoxHandler([](const plat::MessageBoxRecord&) { return plat::kIdOk; });
    plat::ModalRecord dialog;
    dialog.caption = u"查找";
    EXPECT_EQ(plat::RunModal(dialog), plat::kModalFailed);
    EXPECT_TRUE(plat::GetMessageBoxLog().empty()) << "a dialog is not a message box";
    ASSERT_EQ(plat::GetModalLog().size(), 1u);
    EXPECT_EQ(plat::GetModalLog()[0].caption, u"查找");
}

TEST_F(MessageBoxTest, LogKeepsTheMostRecentBoxes)
{
    plat::SetMessageBoxHandler([](const plat::MessageBoxRecord&) { return plat::kIdOk; });
    for (size_t i = 0; i < plat::kMessageBoxLogSize + 10; ++i) plat::MessageBox(plat::Format(u"%d", static_cast<int>(i)));
    const auto log = plat::GetMessageBoxLog();
    ASSERT_EQ(log.size(), plat::kMessageBoxLogSize);
    EXPECT_EQ(log.front().text, u"10");
    EXPECT_EQ(log.back().text, plat::Format(u"%d", static_cast<int>(plat::kMessageBoxLogSize + 9)));
    plat::ClearMessageBoxLog();
    EXPECT_TRUE(plat::GetMessageBoxLog().empty());
}

} // namespace
