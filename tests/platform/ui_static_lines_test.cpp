// A label's text with line breaks shows a line of text for each line.
#include <gtest/gtest.h>

#include "platform/gfx/bitmap.h"
#include "platform/ui/static_control.h"
#include "tests/platform/ui_test_window.h"
#include "tests/support/pixel_probe.h"

namespace {

class StaticLines : public uitest::UiTest {};

} // namespace

TEST_F(StaticLines, EachLineOfTheTextHasItsOwnRow)
{
    plat::Window top;
    ASSERT_TRUE(top.Create(nullptr, plat::Rect(0, 0, 200, 80), plat::kWsPopup | plat::kWsVisible));
    plat::StaticControl label;
    label.SetWindowText(u"提示：\n    按键");
    ASSERT_TRUE(label.Create(&top, plat::Rect(0, 0, 200, 80), plat::kWsChild | plat::kWsVisible));
    const std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(top);
    const int height = 16; // 宋体 at 12 pixels, with its leading
    const testsupport::Ink first = testsupport::InkOf(*shot, plat::Rect(0, 0, 200, height - 2), testsupport::kBlack);
    const testsupport::Ink second = testsupport::InkOf(*shot, plat::Rect(0, height, 200, 2 * height + 4), testsupport::kBlack);
    EXPECT_GT(first.count, 0);
    EXPECT_GT(second.count, 0) << "the second line is drawn below the first";
    EXPECT_GT(second.box.left, first.box.left + 10) << "with its leading spaces";
    label.Destroy();
    top.Destroy();
}
