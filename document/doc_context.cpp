#include "document/doc_context.h"

#include "document/units.h"

int CDocContext::DesktopDpiX()
{
    static const int dpi = plat::Dc().LogPixelsX();
    return dpi;
}

int CDocContext::PixelsToTwips(int pixels) const
{
    return TruncToInt(pixels / GetZoom() * kTwipsPerInch / DesktopDpiX());
}

int CDocContext::TwipsToPixels(int twips) const
{
    return TruncToInt(double(DesktopDpiX()) * GetZoom() * twips / kTwipsPerInch);
}

plat::Rect CDocContext::PixelsToTwipsRect(const plat::Rect& r) const
{
    return plat::Rect(PixelsToTwips(r.left), PixelsToTwips(r.top), PixelsToTwips(r.right), PixelsToTwips(r.bottom));
}

plat::Rect CDocContext::TwipsToPixelsRect(const plat::Rect& r) const
{
    return plat::Rect(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.right), TwipsToPixels(r.bottom));
}
