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
