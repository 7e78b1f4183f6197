// Unit conversions between twips, millimetres, 1/96-inch units and device pixels.
// Every result is truncated toward zero; intermediate arithmetic is floating point.
#pragma once
#include "platform/base/geometry.h"
#include "platform/gfx/dc.h"
#include "platform/ui/window.h"

constexpr double kTwipsPerMm = 56.69291338582677;
constexpr double kMmPerTwip = 0.017638888888888888;
constexpr int kTwipsPerInch = 1440;

// Truncates toward zero, clamped to the int range; NaN gives 0 (a zoom of 0 cannot crash).
int TruncToInt(double v);

int TwipsToPixels(const plat::Dc& dc, double zoom, int twips);
int PixelsToTwips(const plat::Dc& dc, double zoom, int pixels);
plat::Point TwipsToPixelsPoint(const plat::Dc& dc, double zoom, int x, int y);
plat::Point PixelsToTwipsPoint(const plat::Dc& dc, double zoom, int x, int y);
plat::Rect TwipsToPixelsRect(const plat::Dc& dc, double zoom, int left, int top, int right, int bottom);

int PixelsToTwipsOnWindow(const plat::Window& window, double zoom, int pixels);
plat::Point PixelsToTwipsPointOnWindow(const plat::Window& window, double zoom, int x, int y);
plat::Rect TwipsToPixelsRectOnWindow(const plat::Window& window, double zoom, const plat::Rect& twips);

int MmToTwips(int mm);
int TwipsToMm(int twips);
plat::Point MmToTwipsPoint(int x, int y);
plat::Point TwipsToMmPoint(int x, int y);
plat::Rect MmToTwipsRect(int left, int top, int right, int bottom);

int Px96ToPixels(const plat::Dc& dc, double zoom, int units);

// The 22 Chinese type sizes, by name and size in twips, smallest first: the frame's size
// combo, the settings and font dialogs and the automation's font size all take them.
struct CTypeSize {
    const char16_t* name;
    int twips;
};
constexpr CTypeSize kChineseTypeSizes[] = {
    {u"小七号", 105}, {u"七号", 120},   {u"小六号", 140}, {u"六号", 158},   {u"小五号", 180}, {u"五号", 210},
    {u"小四号", 240}, {u"四号", 280},   {u"三号", 315},   {u"小二号", 360}, {u"二号", 420},   {u"小一号", 480},
    {u"一号", 560},   {u"小初号", 630}, {u"初号", 720},   {u"小特号", 840}, {u"特号", 960},   {u"特大号", 1120},
    {u"63磅", 1260},  {u"72磅", 1440},  {u"84磅", 1680},  {u"96磅", 1920},
};
constexpr int kChineseTypeSizeCount = static_cast<int>(sizeof(kChineseTypeSizes) / sizeof(kChineseTypeSizes[0]));
static_assert(kChineseTypeSizeCount == 22);
