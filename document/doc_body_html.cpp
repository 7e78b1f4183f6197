// The body's HTML writers: one pass over the items in order, the page objects taken in
// reading order (top, then left) and written where the text reaches them, the others after
// the text. The 8-bit and the UTF-16 page differ only in their strings and in a few cells.
#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/html_export.h"
#include "document/page_object_list.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/file/file.h"
#include "platform/gfx/dc.h"

namespace {

// The markup of the variant: code page 936 or UTF-16.
void Put(plat::Stream& out, bool wide, plat::StringView text)
{
    if (wide)
        WriteStringW(out, text);
    else
        WriteCp936(out, text);
}

} // namespace

CFloatObject* CDocBody::NextHtmlObject() const
{
    CFloatObject* best = nullptr;
    for (int k = 0; k < GetObjectCount(); ++k) {
        CFloatObject* object = GetObject(k);
        if (!object || object->m_exported) continue;
        if (!best || object->m_bounds.top < best->m_bounds.top ||
            (object->m_bounds.top == best->m_bounds.top && object->m_bounds.left < best->m_bounds.left))
            best = object;
    }
    return best;
}

void CDocBody::ExportHtml(plat::Stream& out, const plat::String& folderPath, const plat::String& baseName)
{
    ExportHtmlBody(out, folderPath, baseName, false);
}

void CDocBody::ExportHtmlW(plat::Stream& out, const plat::String& folderPath, const plat::String& baseName)
{
    ExportHtmlBody(out, folderPath, baseName, true);
}

void CDocBody::ExportHtmlBody(plat::Stream& out, const plat::String& folderPath, const plat::String& baseName,
                              bool wide)
{
    for (int k = 0; k < GetObjectCount(); ++k)
        if (CFloatObject* object = GetObject(k)) object->m_exported = false;
    int names = 0;
    const plat::String folderRef = wide ? plat::String(u".") : plat::Format(u"./%s.files", baseName);

    plat::Dc screen;
    const plat::Rect areaTwips = GetPageFrame(0).m_rect;
    const plat::Rect areaPixels =
        TwipsToPixelsRect(screen, 1.0, areaTwips.left, areaTwips.top, areaTwips.right, areaTwips.bottom);
    const int width = areaPixels.right - areaPixels.left;

    CHtmlRunState run;
    CParaFormatHtmlState para;
    bool emptyParagraph = true; // the UTF-16 page marks a paragraph without characters
    auto openTable = [&] {
        Put(out, wide, plat::Format(u"<table border=\"0\" width=\"%dpx\">\n", width));
        if (wide) WriteStringW(out, u"<td>\n");
    };
    auto closeTable = [&](bool lineEnd) {
        if (wide) WriteStringW(out, u"</td>\n");
        Put(out, wide, lineEnd ? u"</table>\n" : u"</table>");
    };
    auto openParagraph = [&](int i) {
        para.Assign(GetParaFormatAt(i));
        if (wide) {
            HtmlOpenParagraphW(out, screen, para, i);
            HtmlOpenRunW(out, *ItemAt(i), run);
        } else {
            HtmlOpenParagraph(out, screen, para, i);
            HtmlOpenRun(out, *ItemAt(i), run);
        }
        emptyParagraph = true;
    };
    auto closeRun = [&] {
        if (wide)
            HtmlCloseRunW(out, run);
        else
            HtmlCloseRun(out, run);
    };
    auto closeParagraph = [&] {
        if (wide)
            HtmlCloseParagraphW(out);
        else
            HtmlCloseParagraph(out);
    };

    openTable();
    openParagraph(0);
    CFloatObject* object = NextHtmlObject();
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const CTextItem* item = ItemAt(i);
        if (object && (object->m_bounds.top < item->GetTop() ||
                       (object->m_bounds.top == item->GetTop() && object->m_bounds.left < item->GetLeft()))) {
            // The object and the text beside it go into a table of their own; the text
            // goes on from the first item the object's writer left.
            closeRun();
            closeParagraph();
            closeTable(true);
            int index = i;
            const plat::String name = HtmlObjectName(baseName, names++);
            if (wide)
                object->WriteHtmlWrappedW(out, folderPath, folderRef, name, *this, screen,
                                          areaTwips, areaPixels, index);
            else
                object->WriteHtmlWrapped(out, folderPath, folderRef, name, *this, screen,
                                         areaTwips, areaPixels, index);
            object->m_exported = true;
            i = std::clamp(index, i, count - 1);
            item = ItemAt(i);
            openTable();
            openParagraph(i);
            object = NextHtmlObject();
        }
        if (item->IsDeleted() || item->GetNodeType() == kItemAnchor) continue;
        switch (item->GetNodeType()) {
        case kItemFinalParaEnd:
            closeRun();
            closeParagraph();
            break;
        case kItemSpace:
            if (wide)
                HtmlWriteSpaceItemW(out, *item);
            else
                HtmlWriteSpaceItem(out, *item);
            break;
        case kItemParaEnd:
        case kItemParaPageBreak:
            if (wide && emptyParagraph) WriteStringW(out, u"&nbsp;");
            closeRun();
            closeParagraph();
            if (i + 1 < count) openParagraph(i + 1);
            break;
        default:
            if (wide) {
                HtmlUpdateRunW(out, *item, run);
                HtmlWriteCharW(out, *item);
            } else {
                HtmlUpdateRun(out, *item, run);
                HtmlWriteChar(out, *item);
            }
            emptyParagraph = false;
            break;
        }
    }
    closeTable(false);

    // The objects below the text, in reading order.
    const plat::Rect frame = GetPageFrame(0).m_rect;
    while ((object = NextHtmlObject()) != nullptr) {
        const bool right =
            (std::int64_t(object->m_bounds.left) + object->m_bounds.right) / 2 >= (frame.right - frame.left) / 2;
        const plat::String name = HtmlObjectName(baseName, names++);
        if (wide) {
            WriteStringW(out, plat::Format(u"<table border=\"0\" width=\"%dpx\">\n", width));
            WriteStringW(out, plat::Format(u"<td width=\"%dpx\" style=\"text-align:center\">\n", width - 1));
            object->WriteHtmlW(out, folderPath, folderRef, name, right);
            WriteStringW(out, u"</td>\n");
            WriteStringW(out, u"</table>");
        } else {
            object->WriteHtml(out, folderPath, folderRef, name, right);
        }
        object->m_exported = true;
    }
}
