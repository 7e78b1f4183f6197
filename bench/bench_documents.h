// Documents the benchmarks build: long bodies of mixed Chinese and Latin paragraphs.
#pragma once
#include <algorithm>

#include "document/char_format.h"
#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_header.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/base/strings.h"

namespace benchdocs {

// The middle of the paragraph that holds the middle of page `page` (1-based).
inline int MiddleOfPage(const CDocBody& body, int page)
{
    const plat::Rect text = body.GetPageFrame(page - 1).m_rect;
    const int y = (text.top + text.bottom) / 2;
    for (int i = 0; i < body.GetCount(); ++i)
        if (body.GetItem(i)->GetLineTop() >= y) return i;
    return body.GetCount() - 1;
}

// Appends paragraphs of six runs each, the runs taken in turn from a mixed set, a few of
// them in another format (bold, a larger size, superscript). `run` carries on between calls.
// The body is not laid out.
inline void AppendMixedParagraphs(CDocBody& body, int paragraphs, int& run)
{
    const plat::StringView runs[] = {
        u"汉字排版与分页测试，",
        u"Mixed Latin text with digits 3.14159 and more. ",
        u"中文与English混排的段落。",
        u"“引号”和（括号）以及……省略号",
        u"The quick brown fox jumps over the lazy dog; ",
        u"文档模型每个字符一个条目，宽度来自缓存。",
        u"Pages of a long report wrap their lines around words. ",
    };
    CCharFormat formats[4];
    formats[1].m_bold = 1;
    formats[2].m_size = 315;
    formats[3].m_position = 1;
    int at = body.GetCount() - 1;
    for (int p = 0; p < paragraphs; ++p) {
        for (int k = 0; k < 6; ++k, ++run) body.InsertString(at, runs[run % 7], formats[run % 11 == 10 ? 1 + run % 3 : 0]);
        body.InsertString(at, u"\r", formats[0]);
    }
}

// Paragraphs of AppendMixedParagraphs until the body has `pages` pages, laid out, with an
// annotation on its first character: the sample sets how many a page holds, most of the
// rest goes in one step, the last pages in small ones.
inline void AppendMixedPages(CQlDoc& doc, int pages)
{
    CDocBody& body = *doc.GetBody();
    int run = 0;
    auto append = [&](int paragraphs) {
        AppendMixedParagraphs(body, paragraphs, run);
        body.RelayoutWhole();
    };
    const int sample = std::min(200, std::max(1, pages * 2 / 5));
    append(sample);
    const double perPage = double(sample) / body.GetPageCount();
    append(std::max(0, static_cast<int>(perPage * (pages - 2)) - sample));
    while (body.GetPageCount() < pages) append(static_cast<int>(perPage / 2) + 1);
    doc.GetAnnotations().Add(0, 1700000000, u"基准测试的批注");
}

// One paragraph of about 150 characters in the running format, a fifth of them Latin words.
inline plat::String MixedParagraph(int n)
{
    const plat::StringView runs[] = {
        u"汉字排版与分页测试，",
        u"Mixed Latin text with digits 3.14159 and more. ",
        u"中文与English混排的段落。",
        u"“引号”和（括号）以及……省略号，",
        u"文档模型每个字符一个条目，宽度来自缓存。",
        u"页面绘制把每一行的字符逐个画到位图上。",
    };
    plat::String p;
    for (int k = 0; k < 7; ++k) p += runs[(n + k) % 6];
    return p + u"\r";
}

// A laid-out document of at least `pages` pages with a double header rule, the given
// header text and "共 %d 页·第 %d 页" page numbers.
struct PagedDoc {
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    CQlDoc doc{&view, &frame};

    PagedDoc(int pages, plat::StringView headerText)
    {
        doc.SetWidthCache(&cache);
        doc.Reset();
        CDocHeader& h = *doc.GetHeader();
        h.m_headerRule = CDocHeader::kDoubleRule;
        h.m_headerText = plat::String(headerText);
        h.m_pageNumberStyle = CDocHeader::kPageOfPages;
        CDocBody& body = *doc.GetBody();
        // Paragraphs per page from a sample, then nearly all the rest in one insertion and
        // one layout, then the last page's worth in small steps.
        constexpr int kSample = 100;
        Append(kSample);
        const double perPage = double(kSample) / body.GetPageCount();
        Append(static_cast<int>(perPage * (pages - 2)) - kSample);
        while (body.GetPageCount() < pages) Append(static_cast<int>(perPage / 2) + 1);
    }
    void Append(int paragraphs)
    {
        CDocBody& body = *doc.GetBody();
        plat::String text;
        for (int p = 0; p < paragraphs; ++p) text += MixedParagraph(m_paragraphs++);
        int at = body.GetCount() - 1;
        body.InsertString(at, text, body.GetRunningCharFormat());
        body.RelayoutWhole();
    }
    int m_paragraphs = 0;
};

} // namespace benchdocs
