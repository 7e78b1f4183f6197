#include <gtest/gtest.h>

#include "platform/ui/message_box.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ClearMessageBoxLog(); }
    void TearDown() override
    {
        plat::SetMessageBoxHandler({});
        plat::ClearMessageBoxLog();
    }
};

TEST_F(MessageBoxTest, WithoutAHandlerTheDefaultButtonAnswers)
{
    struct Case { unsigned style; int answer; };
    const Case cases[] = {
        {plat::kMbOk, plat::kIdOk},
        {plat::kMbOk | plat::kMbIconExclamation, plat::kIdOk},
        {plat::kMbOkCancel, plat::kIdOk},
        {plat::kMbOkCancel | plat::kMbDefButton2, plat::kIdCancel},
        {plat::kMbYesNo, plat::kIdYes},
        {plat::kMbYesNo | plat::kMbDefButton2 | plat::kMbIconQuestion, plat::kIdNo},
        {plat::kMbYesNoCancel | plat::kMbDefButton3, plat::kIdCancel},
        {plat::kMbYesNo | plat::kMbDefButton3, plat::kIdYes}, // no third button: the first
        {plat::kMbAbortRetryIgnore | plat::kMbDefButton2, plat::kIdRetry},
        {plat::kMbRetryCancel, plat::kIdRetry},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::MessageBox(u"问", u"", c.style), c.answer) << c.style;

    const auto log = plat::GetMessageBoxLog();
    ASSERT_EQ(log.size(), std::size(cases));
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].text, u"问");
        EXPECT_EQ(log[i].style, cases[i].style);
        EXPECT_EQ(log[i].answer, cases[i].answer);
    }
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
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, u"保存吗？");
    EXPECT_EQ(seen[0].caption, u"标题");
    EXPECT_EQ(seen[0].answer, 0) << "not yet answered when the handler sees it";
    EXPECT_EQ(seen[1].caption, u"") << "the default caption";

    const auto log = plat::GetMessageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].answer, plat::kIdNo);
    EXPECT_EQ(log[1].text, u"非法文件");
    EXPECT_EQ(log[1].answer, plat::kIdOk);
}

TEST_F(MessageBoxTest, LogKeepsTheMostRecentBoxes)
{
    for (size_t i = 0; i < plat::kMessageBoxLogSize + 10; ++i) plat::MessageBox(plat::Format(u"%d", static_cast<int>(i)));
    const auto log = plat::GetMessageBoxLog();
    ASSERT_EQ(log.size(), plat::kMessageBoxLogSize);
    EXPECT_EQ(log.front().text, u"10");
    EXPECT_EQ(log.back().text, plat::Format(u"%d", static_cast<int>(plat::kMessageBoxLogSize + 9)));
    plat::ClearMessageBoxLog();
    EXPECT_TRUE(plat::GetMessageBoxLog().empty());
}

} // namespace
