#include <gtest/gtest.h>

#include "document/units.h"

TEST(Units, ConversionsTruncateTowardZero)
{
    plat::Dc screen(96, 96);
    plat::Dc printer(600, 600);
    struct Case { const char* what; int got; int want; };
    const Case cases[] = {
        {"1440 twips at 96 dpi", TwipsToPixels(screen, 1.0, 1440), 96},
        {"14 twips truncate to 0", TwipsToPixels(screen, 1.0, 14), 0},
        {"15 twips are one pixel", TwipsToPixels(screen, 1.0, 15), 1},
        {"negative twips truncate toward zero", TwipsToPixels(screen, 1.0, -29), -1},
        {"zoom 2", TwipsToPixels(screen, 2.0, 1440), 192},
        {"zoom 0.25", TwipsToPixels(screen, 0.25, 1440), 24},
        {"zoom 1.25 of 210", TwipsToPixels(screen, 1.25, 210), 17},
        {"printer resolution", TwipsToPixels(printer, 1.0, 1440), 600},
        {"pixels to twips", PixelsToTwips(screen, 1.0, 96), 1440},
        {"pixels to twips at zoom 1.5", PixelsToTwips(screen, 1.5, 100), 1000},
        {"pixels to twips at zoom 0.75", PixelsToTwips(screen, 0.75, 7), 140},
        {"zoom 0 cannot crash", PixelsToTwips(screen, 0.0, 0), 0},
        {"mm 20", MmToTwips(20), 1133},
        {"mm 200 (paper width)", MmToTwips(200), 11338},
        {"mm 287 (paper height)", MmToTwips(287), 16270},
        {"twips to mm", TwipsToMm(11338), 199},
        {"twips 1440 to mm", TwipsToMm(1440), 25},
        {"1/96 inch at 96 dpi", Px96ToPixels(screen, 1.0, 16), 16},
        {"1/96 inch at 600 dpi", Px96ToPixels(printer, 1.0, 2), 12},
        {"1/96 inch at zoom 0.5", Px96ToPixels(screen, 0.5, 3), 1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

    EXPECT_EQ(TwipsToPixelsPoint(screen, 1.0, 150, 300), plat::Point(10, 20));
    EXPECT_EQ(PixelsToTwipsPoint(screen, 2.0, 10, 20), plat::Point(75, 150));
    EXPECT_EQ(TwipsToPixelsRect(screen, 1.0, 15, 30, 45, 60), plat::Rect(1, 2, 3, 4));
    EXPECT_EQ(MmToTwipsPoint(1, 2), plat::Point(56, 113));
    EXPECT_EQ(TwipsToMmPoint(1133, 1440), plat::Point(19, 25));
    EXPECT_EQ(MmToTwipsRect(20, 20, 180, 267), plat::Rect(1133, 1133, 10204, 15137));

    plat::Window window;
    EXPECT_EQ(PixelsToTwipsOnWindow(window, 1.0, 96), 1440);
    EXPECT_EQ(PixelsToTwipsPointOnWindow(window, 1.0, 1, 2), plat::Point(15, 30));
    EXPECT_EQ(TwipsToPixelsRectOnWindow(window, 1.0, {150, 150, 300, 1440}), plat::Rect(10, 10, 20, 96));
}
