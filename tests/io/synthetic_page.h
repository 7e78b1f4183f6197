// Synthetic document pages drawn on bitmaps, for the PDF export's tests and benchmark:
// what the document's rendering of a page gives the export, without needing a document.
#pragma once
#include <memory>

#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pen_brush.h"

namespace pdftest {

// A synthetic page at the export's resolution: bands of grey, shapes and text that differ
// from page to page, so that a misplaced or mixed-up picture shows.
inline std::unique_ptr<plat::Bitmap> RenderPage(int index, int width, int height)
{
    auto bitmap = plat::Bitmap::Create(width, height);
    if (!bitmap) return nullptr;
    bitmap->Fill(plat::Rgb(255, 255, 255));
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    const int shift = index * 37;
    for (int band = 0; band < 8; ++band) {
        const int grey = (band * 30 + index * 50) % 220;
        const plat::Brush brush = plat::Brush::Solid(plat::Rgb(grey, grey, (grey + 60) % 256));
        const int top = (band * height) / 8;
        dc.FillRect(plat::Rect((shift + band * 40) % (width / 2 + 1), top, width - band * 30, top + height / 20), brush);
    }
    plat::Pen pen(plat::kPenSolid, 3, plat::Rgb(200, 0, 0));
    plat::Brush fill = plat::Brush::Solid(plat::Rgb(0, 90 + index * 40 % 160, 200));
    dc.Select(&pen);
    dc.Select(&fill);
    dc.Ellipse(60 + shift, height / 3, 60 + shift + width / 3, height / 3 + width / 4);
    dc.Rectangle(width / 2, height / 2 + shift, width - 40, height / 2 + shift + 120);
    dc.MoveTo(0, height - 1 - shift);
    dc.LineTo(width - 1, shift);

    plat::FontDesc latin;
    latin.face = u"Times New Roman";
    latin.height = -28;
    plat::Font latinFont(latin);
    plat::FontDesc chinese;
    chinese.face = u"宋体";
    chinese.height = -24;
    chinese.charSet = plat::kGb2312CharSet;
    plat::Font chineseFont(chinese);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextColor(plat::Rgb(0, 0, 0));
    for (int line = 0; line < 12; ++line) {
        const int y = 40 + line * ((height - 80) / 12);
        dc.Select(line % 2 ? &chineseFont : &latinFont);
        plat::String text = line % 2 ? plat::Format(u"第%d页 中文排版 第%d行", index + 1, line + 1)
                                     : plat::Format(u"Page %d, line %d: The quick brown fox", index + 1, line + 1);
        dc.TextOut(30 + (line * 17 + shift) % 120, y, text);
    }
    return bitmap;
}

// A page's bitmap size as the document renders it: the paper in twips (truncated), then
// screen pixels at zoom 1.0 (truncated).
inline int PaperPixels(int mm)
{
    const int twips = static_cast<int>(mm * 1440 / 25.4);
    return twips * plat::kScreenDpi / 1440;
}

} // namespace pdftest
