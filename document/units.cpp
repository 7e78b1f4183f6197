#include "document/units.h"

#include <climits>
#include <cmath>

int TruncToInt(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

int TwipsToPixels(const plat::Dc& dc, double zoom, int twips)
{
    return TruncToInt(static_cast<double>(dc.GetDeviceCaps(plat::kLogPixelsY)) * twips * zoom / kTwipsPerInch);
}

int PixelsToTwips(const plat::Dc& dc, double zoom, int pixels)
{
    return TruncToInt((pixels / zoom * kTwipsPerInch) / dc.GetDeviceCaps(plat::kLogPixelsY));
}

plat::Point TwipsToPixelsPoint(const plat::Dc& dc, double zoom, int x, int y)
{
    return {TwipsToPixels(dc, zoom, x), TwipsToPixels(dc, zoom, y)};
}

plat::Point PixelsToTwipsPoint(const plat::Dc& dc, double zoom, int x, int y)
{
    return {PixelsToTwips(dc, zoom, x), PixelsToTwips(dc, zoom, y)};
}

plat::Rect TwipsToPixelsRect(const plat::Dc& dc, double zoom, int left, int top, int right, int bottom)
{
    return {TwipsToPixels(dc, zoom, left), TwipsToPixels(dc, zoom, top),
            TwipsToPixels(dc, zoom, right), TwipsToPixels(dc, zoom, bottom)};
}

int PixelsToTwipsOnWindow(const plat::Window& window, double zoom, int pixels)
{
    return PixelsToTwips(*window.GetDc(), zoom, pixels);
}

plat::Point PixelsToTwipsPointOnWindow(const plat::Window& window, double zoom, int x, int y)
{
    return PixelsToTwipsPoint(*window.GetDc(), zoom, x, y);
}

plat::Rect TwipsToPixelsRectOnWindow(const plat::Window& window, double zoom, const plat::Rect& r)
{
    return TwipsToPixelsRect(*window.GetDc(), zoom, r.left, r.top, r.right, r.bottom);
}

int MmToTwips(int mm)
{
    return TruncToInt(mm * kTwipsPerMm);
}

int TwipsToMm(int twips)
{
    return TruncToInt(twips * kMmPerTwip);
}

plat::Point MmToTwipsPoint(int x, int y)
{
    return {MmToTwips(x), MmToTwips(y)};
}

plat::Point TwipsToMmPoint(int x, int y)
{
    return {TwipsToMm(x), TwipsToMm(y)};
}

plat::Rect MmToTwipsRect(int left, int top, int right, int bottom)
{
    return {MmToTwips(left), MmToTwips(top), MmToTwips(right), MmToTwips(bottom)};
}

int Px96ToPixels(const plat::Dc& dc, double zoom, int units)
{
    return TruncToInt(static_cast<double>(dc.GetDeviceCaps(plat::kLogPixelsY)) * units * zoom / 96.0);
}
