// Builds a two-page sample document (Chinese and Latin text in several formats and
// alignments, written by two authors, a page break between the pages), saves it in the
// native format, opens the saved file again and exports what was read: a PDF of the pages
// and a PNG picture of each page. Prints where each file went.
//
//   quiln-example [output folder]     (default: quiln-example-out in the current folder)
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

#include "document/char_format.h"
#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/ql_doc.h"
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"

namespace {

enum Align : std::uint8_t { kLeft = 1, kRight = 2, kCentre = 3, kJustify = 4 };

// One paragraph typed at the end of the body by the current author, in the format, then
// given its alignment.
void Type(CQlDoc& doc, const plat::String& text, const CCharFormat& format, std::uint8_t align)
{
    CDocBody& body = *doc.GetBody();
    const CTextPos end = body.GetEndPos();
    body.SetSelection(end, end);
    body.SetRunningCharFormat(format);
    body.InsertItemsAtCaret(text + u"\r");
    // The paragraph just typed is selected: align it, then leave the caret at the end.
    body.SetAlignment(align);
    const CTextPos after = body.GetEndPos();
    body.SetSelection(after, after);
}

CCharFormat Format(const CCharFormat& base, int sizeTwips, bool bold, bool italic, bool underline,
                   std::int32_t color = kAutoTextColor)
{
    CCharFormat f = base;
    f.m_size = static_cast<std::uint16_t>(sizeTwips);
    f.m_bold = bold;
    f.m_italic = italic;
    f.m_underline = underline;
    f.m_color = color;
    return f;
}

void BuildSample(CQlDoc& doc)
{
    doc.Reset();
    CDocHeader& header = *doc.GetHeader();
    header.m_headerText = u"Quiln 示例文档 · Sample document";
    header.m_headerRule = CDocHeader::kDoubleRule;
    header.m_pageNumberStyle = CDocHeader::kPageOfPages;
    header.m_pageNumberOnFirst = 1;
    header.m_headerOnFirst = 1;

    // Two authors; what the second one writes shows in its revision colour.
    doc.GetAuthors().Append(1001, u"张伟 Zhang Wei");
    doc.GetAuthors().Append(1002, u"Alice Martin");
    doc.SetHasRevisions(true);
    doc.SetRevisionsShown(true);

    const CCharFormat base = doc.GetBody()->GetRunningCharFormat();
    const CCharFormat body = Format(base, 240, false, false, false);

    doc.SetCurAuthorIndex(0);
    Type(doc, u"富文本编辑器示例 Rich Text Sample", Format(base, 440, true, false, false), kCentre);
    Type(doc, u"第一作者撰写 · written by the first author", Format(base, 210, false, true, false), kCentre);
    Type(doc,
         u"这是一段左对齐的正文，中文与 English words 混排，其中包括数字 2026 和标点符号。"
         u"The editor lays out Chinese characters and Latin words on the same line, breaking "
         u"between words in Latin text and between characters in Chinese text.",
         body, kLeft);
    Type(doc,
         u"两端对齐的段落：每一行（最后一行除外）都排满整个文本区宽度。Justified text fills "
         u"each line but the last to the full width of the text area, so that both edges of "
         u"the paragraph are straight. 这一段故意写得比较长，以便能够看出两端对齐的效果。",
         body, kJustify);
    Type(doc, u"加粗 Bold", Format(base, 280, true, false, false), kLeft);
    Type(doc, u"斜体并加下划线 Italic and underlined", Format(base, 280, false, true, true), kLeft);
    Type(doc, u"右对齐的蓝色文字 Right-aligned blue text", Format(base, 240, false, false, false, 0xC04000),
         kRight);

    doc.SetCurAuthorIndex(1);
    Type(doc,
         u"第二位作者添加的段落 — a paragraph added by the second author, shown in her revision "
         u"colour while revisions are shown.",
         body, kLeft);

    // The page break, then the second page.
    CDocBody& b = *doc.GetBody();
    const CTextPos end = b.GetEndPos();
    b.SetSelection(end, end);
    b.InsertPageBreak();

    Type(doc, u"第二页 Page Two", Format(base, 400, true, false, false), kCentre);
    Type(doc,
         u"分页符之后的内容从新的一页开始。Text after a page break starts on a new page, "
         u"whatever room is left on the page before it.",
         body, kJustify);
    Type(doc, u"红色小号字 Small red text", Format(base, 180, false, false, false, 0x0000C0), kRight);
    doc.SetCurAuthorIndex(0);
    Type(doc, u"结束。The end.", Format(base, 240, true, true, false), kCentre);
    b.RelayoutWhole();
}

bool MakeFolder(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    return ::mkdir(path.c_str(), 0755) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string out = argc > 1 ? argv[1] : "quiln-example-out";
    if (!MakeFolder(out)) {
        std::fprintf(stderr, "cannot make the output folder %s\n", out.c_str());
        return 1;
    }
    const std::string native = out + "/sample.qln";
    const std::string pdf = out + "/sample.pdf";

    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    CQlDoc doc(&view, &frame);
    doc.SetWidthCache(&cache);
    BuildSample(doc);
    std::printf("built a sample document: %d pages, %d items, %d authors\n", doc.GetPageCount(),
                doc.GetBody()->GetCount(), doc.GetAuthors().GetCount());

    if (!doc.FileSave(plat::Utf8ToUtf16(native))) {
        std::fprintf(stderr, "could not save %s\n", native.c_str());
        return 1;
    }
    std::printf("saved the native file:   %s\n", native.c_str());

    // Everything from here on comes from the file just written.
    CQlDoc reopened(&view, &frame);
    reopened.SetWidthCache(&cache);
    if (!reopened.FileOpen(plat::Utf8ToUtf16(native), false)) {
        std::fprintf(stderr, "could not open %s again\n", native.c_str());
        return 1;
    }
    // Opening a file adds an author record for whoever edits it next, so the reopened
    // document has one more author than was saved.
    std::printf("opened it again:         %d pages, %d items, %d authors (%d saved + 1 added on "
                "opening for whoever edits next)\n",
                reopened.GetPageCount(), reopened.GetBody()->GetCount(), reopened.GetAuthors().GetCount(),
                reopened.GetAuthors().GetCount() - 1);

    if (!reopened.ExportPdf(plat::Utf8ToUtf16(pdf))) {
        std::fprintf(stderr, "could not export %s\n", pdf.c_str());
        return 1;
    }
    std::printf("exported the PDF:        %s\n", pdf.c_str());

    for (int i = 0; i < reopened.GetPageCount(); ++i) {
        const std::string png = out + "/page-" + std::to_string(i + 1) + ".png";
        std::unique_ptr<plat::Bitmap> page = reopened.RenderPageBitmap(i);
        if (!page || !page->SavePng(plat::Utf8ToUtf16(png))) {
            std::fprintf(stderr, "could not write %s\n", png.c_str());
            return 1;
        }
        std::printf("exported page %d as PNG:  %s\n", i + 1, png.c_str());
    }
    return 0;
}
