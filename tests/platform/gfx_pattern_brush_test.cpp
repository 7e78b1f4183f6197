// Pattern brushes: a bitmap tiled from the device origin, so adjacent fills line up.
#include <gtest/gtest.h>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/pen_brush.h"
#include "tests/support/pixel_probe.h"

TEST(PatternBrush, TilesTheBitmapFromTheDeviceOrigin)
{
    std::unique_ptr<plat::Bitmap> pattern = plat::Bitmap::Create(3, 2);
    const plat::ColorRef colors[2][3] = {{0x0000FF, 0x00FF00, 0xFF0000}, {0x000000, 0x808080, 0x00FFFF}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) pattern->SetPixel(x, y, colors[y][x]);
    testsupport::Canvas canvas(20, 20);
    const plat::Brush brush = plat::Brush::Pattern(*pattern);
    EXPECT_EQ(brush.Style(), plat::BrushStyle::kPattern);
    // Two fills that meet, and a figure drawn with the brush selected.
    canvas.dc.FillRect(plat::Rect(1, 1, 7, 9), brush);
    canvas.dc.FillRect(plat::Rect(7, 1, 12, 9), brush);
    const plat::Brush* old = canvas.dc.Select(&brush);
    canvas.dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    canvas.dc.Rectangle(12, 10, 19, 19);
    canvas.dc.Select(old);
    struct Probe {
        int x, y;
    };
    for (const Probe p : {Probe{1, 1}, Probe{5, 4}, Probe{6, 8}, Probe{7, 1}, Probe{11, 2}, Probe{13, 12}, Probe{17, 17}}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(canvas.At(p.x, p.y), colors[p.y % 2][p.x % 3]);
    }
    EXPECT_EQ(canvas.At(0, 0), testsupport::kWhite) << "nothing outside the fills";
}
