// The body's RTF writers: the collecting passes that fill the font and colour tables, the
// paragraph properties, and the walk over the items that writes paragraphs and runs, with
// the page objects met in the text as shapes and the others as pictures after it.
#include <string>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/html_export.h"
#include "document/rtf_tables.h"
#include "document/text_item.h"
#include "platform/file/file.h"

namespace {

constexpr int kChineseCharset = 134;
// Shapes are placed from this far left of the text area's edge.
constexpr int kShapeOriginInset = 400;
// The RTF line spacing of a paragraph: this plus the line gap of its spacing code.
constexpr int kRtfBaseLineSpacing = 210;

} // namespace

void CDocBody::CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts)
{
    fonts.AddFont(u"Times New Roman", 0);
    fonts.AddFont(u"宋体", kChineseCharset);
    CTextFlow::CollectRtfFonts(out, fonts);
    for (int k = 0; k < GetObjectCount(); ++k)
        if (auto* cells = dynamic_cast<CRtfCellSource*>(GetObject(k))) cells->CollectRtfFonts(out, fonts);
    fonts.Write(out);
}

void CDocBody::CollectRtfColors(plat::Stream& out, CRtfColorTable& colors)
{
    colors.AddColor(0);
    colors.AddColor(GetDoc() ? GetDoc()->GetDefaultTextColor() : 0);
    CTextFlow::CollectRtfColors(out, colors);
    for (int k = 0; k < GetObjectCount(); ++k)
        if (auto* cells = dynamic_cast<CRtfCellSource*>(GetObject(k))) cells->CollectRtfColors(out, colors);
    colors.Write(out);
}

void CDocBody::WriteRtfParagraphProps(plat::Stream& out, int index)
{
    const CParaFormat para = GetParaFormatAt(index);
    static constexpr const char* kAlign[] = {"", "\\ql", "\\qr", "\\qc", "\\qj"};
    std::string text = para.m_align <= kAlignMax ? kAlign[para.m_align] : "";
    text += "\\fi" + std::to_string(std::int64_t(para.m_firstIndent) - para.m_leftIndent);
    text += "\\li" + std::to_string(para.m_leftIndent);
    text += "\\ri" + std::to_string(para.m_rightIndent);
    const int gap = para.m_spacing <= kSpacingMax ? kLineSpacingGap[para.m_spacing] : 0;
    text += "\\sl" + std::to_string(kRtfBaseLineSpacing + gap) + "\n";
    WriteAscii(out, text);
}

void CDocBody::ExportRtf(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors)
{
    ExportRtfRange(out, fonts, colors, 0, GetCount(), false);
}

void CDocBody::ExportRtfSelection(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors)
{
    int start = 0, end = 0;
    GetSelectionRange(start, end);
    ExportRtfRange(out, fonts, colors, start, std::min(end, GetCount()), true);
}

void CDocBody::ExportRtfRange(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors,
                              int start, int end, bool selection)
{
    if (start < 0 || start >= end) return;
    CRtfRunState run;
    WriteRtfParagraphProps(out, start);
    // A selection considers only the objects below its first item.
    const int startTop = ItemAt(start)->GetTop();
    for (int k = 0; k < GetObjectCount(); ++k)
        if (CFloatObject* object = GetObject(k)) object->m_exported = selection && object->m_bounds.top <= startTop;
    WriteRtfRunFormat(out, fonts, colors, *ItemAt(start), run, true);

    const int lastPage = std::max(GetPageCount() - 1, 0);
    const int areaLeft = GetPageFrame(0).m_rect.left;
    int page = 0; // the frame holding the item; items come in page order
    CFloatObject* object = NextHtmlObject();
    for (int i = start; i < end; ++i) {
        const CTextItem& item = *ItemAt(i);
        while (page < lastPage && item.GetTop() >= GetPageFrame(page).m_rect.bottom) ++page;
        const plat::Rect& frame = GetPageFrame(page).m_rect;
        bool wroteObject = false;
        while (object && frame.Contains(plat::Point(object->m_bounds.left, object->m_bounds.top)) &&
               (object->m_bounds.top < item.GetTop() ||
                (object->m_bounds.top == item.GetTop() && object->m_bounds.left < item.GetLeft()))) {
            object->WriteRtfShape(out, frame.left + areaLeft - kShapeOriginInset, object->m_bounds.top, fonts, colors);
            object->m_exported = true;
            object = NextHtmlObject();
            wroteObject = true;
        }
        // A reader may start a group's run afresh and not take it back at the group's end
        // (ours does): the run goes on with its whole format written again.
        if (wroteObject) WriteRtfRunFormat(out, fonts, colors, item, run, true);
        if (item.IsDeleted() || item.GetNodeType() == kItemAnchor) continue;
        switch (item.GetNodeType()) {
        case kItemParaPageBreak:
        case kItemParaEnd:
            WriteAscii(out, item.GetNodeType() == kItemParaPageBreak ? "\n\\page\n" : "\n\\par\n");
            if (i + 1 < GetCount()) {
                WriteRtfParagraphProps(out, i + 1);
                WriteRtfRunFormat(out, fonts, colors, *ItemAt(i + 1), run, true);
            }
            break;
        case kItemFinalParaEnd:
            WriteAscii(out, "\n\\par\n");
            break;
        case kItemSpace:
            WriteRtfSpaceItem(out, fonts, item, run);
            break;
        default:
            WriteRtfRunFormat(out, fonts, colors, item, run, false);
            break;
        }
    }
    if (selection) return;
    while ((object = NextHtmlObject()) != nullptr) {
        object->WriteRtfPicture(out, fonts, colors);
        object->m_exported = true;
    }
}
