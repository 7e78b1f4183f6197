// The text flow's export writers: the HTML paragraph, run, character and space pieces in
// both variants, and the RTF collecting passes, run formats and space items. The body
// writers (doc_body_html.cpp, doc_body_rtf.cpp), the page objects' wrapped writers and the
// table cells put them together.
#include <algorithm>
#include <cstdio>
#include <string>

#include "document/html_export.h"
#include "document/render_context.h"
#include "document/rtf_tables.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/file/file.h"

namespace {

enum class HtmlVariant { k8Bit, kUtf16 };

// Markup text in the variant's encoding.
void Put(plat::Stream& out, HtmlVariant variant, plat::StringView text)
{
    if (variant == HtmlVariant::kUtf16)
        WriteStringW(out, text);
    else
        WriteCp936(out, text);
}

constexpr char16_t kIdeographicSpace = 0x3000;
constexpr char16_t kTrademark = 0x2122;
constexpr char16_t kDegree = 0x00B0;
constexpr int kChineseCharset = 134;
const plat::String kTimesNewRoman = u"Times New Roman";

// Codes below this are written in the Western face, the others in the Chinese one.
constexpr char16_t kWesternFaceLimit = 0x500;

bool IsAnchorOrDeleted(const CTextItem& item)
{
    return item.GetNodeType() == kItemAnchor || item.IsDeleted();
}

// The face a run of the HTML page shows the item in: a character below the limit in the
// Western face, anything else (paragraph ends included) in the Chinese one.
const plat::String& HtmlFaceOf(const CTextItem& item)
{
    const CCharFormat& f = item.GetFormat();
    return item.IsChar() && item.GetCode() < kWesternFaceLimit ? f.m_westernFace : f.m_chineseFace;
}

// A space item is written as the space it holds. Its laid-out width says nothing of which
// space that is: a blank of a wide Western face (Courier New) is wider than half its
// height, and writing it as an ideographic space would change the text.
bool IsWideSpace(const CTextItem& item)
{
    return item.GetCode() == kIdeographicSpace;
}

void OpenParagraph(const CTextFlow& flow, plat::Stream& out, HtmlVariant variant, const plat::Dc& dc,
                   const CParaFormatHtmlState& para, int firstItem)
{
    static constexpr const char16_t* kAlign[] = {u"", u"text-align:left;", u"text-align:right;",
                                                 u"text-align:center;", u"text-align:justify;"};
    const bool wide = variant == HtmlVariant::kUtf16;
    plat::String align = para.m_align <= kAlignMax ? kAlign[para.m_align] : u"";
    if (wide && !align.empty()) align += u' ';

    // The tallest character of the paragraph from the item on, deleted ones and anchors
    // passed over, up to the first paragraph end that stays.
    int height = 0;
    if (const CTextItem* first = flow.GetItem(firstItem)) height = first->GetFormat().m_size;
    for (int i = std::max(firstItem, 0); i < flow.GetCount(); ++i) {
        const CTextItem& item = *flow.GetItem(i);
        if (IsAnchorOrDeleted(item)) continue;
        height = std::max<int>(height, item.GetFormat().m_size);
        if (IsParaEndType(item.GetNodeType())) break;
    }
    if (para.m_spacing <= kSpacingMax) height += kLineSpacingGap[para.m_spacing];
    const plat::String lineHeight =
        plat::Format(wide ? u"line-height:%dpx; " : u"line-height:%dpx;", TwipsToPixels(dc, 1.0, height));

    const int first = TwipsToPixels(dc, 1.0, para.m_firstIndent);
    const int left = TwipsToPixels(dc, 1.0, para.m_leftIndent);
    const int right = TwipsToPixels(dc, 1.0, para.m_rightIndent);
    Put(out, variant,
        plat::Format(wide ? u"<div style=\"%s %s text-indent:%dpx; margin-left:%dpx; margin-right:%dpx\">\n"
                          : u"<div style='%s %s text-indent:%dpx; margin-left:%dpx; margin-right:%dpx'>\n",
                     align, lineHeight, first - left, left, right));
}

void OpenRun(const CTextFlow& flow, plat::Stream& out, HtmlVariant variant, const CTextItem& item,
             CHtmlRunState& run)
{
    const CCharFormat& f = item.GetFormat();
    run.m_face = HtmlFaceOf(item);
    run.m_size = f.m_size;
    run.m_bold = f.m_bold != 0;
    run.m_italic = f.m_italic != 0;
    run.m_underline = f.m_underline;
    run.m_color = CColorRef(flow.GetDoc()).ResolveBGR(f.m_color);
    const bool wide = variant == HtmlVariant::kUtf16;
    const double points = run.m_size * 0.05;
    if (run.m_color != 0)
        Put(out, variant,
            plat::Format(wide ? u"<span style=\"font-family:%s; font-size:%.2fpt; color:#%06x\">"
                              : u"<span style='font-family:%s; font-size:%.2fpt; color:#%06x'>",
                         run.m_face, points, run.m_color));
    else
        Put(out, variant,
            plat::Format(wide ? u"<span style=\"font-family:%s; font-size:%.2fpt\">"
                              : u"<span style='font-family:%s; font-size:%.2fpt'>",
                         run.m_face, points));
    if (run.m_bold) Put(out, variant, u"<b>");
    if (run.m_italic) Put(out, variant, u"<i>");
    if (run.m_underline != 0) Put(out, variant, u"<u>");
}

void CloseRun(plat::Stream& out, HtmlVariant variant, CHtmlRunState& run)
{
    if (run.m_bold) Put(out, variant, u"</b>");
    if (run.m_italic) Put(out, variant, u"</i>");
    if (run.m_underline != 0) Put(out, variant, u"</u>");
    run.m_bold = run.m_italic = false;
    run.m_underline = 0;
    Put(out, variant, u"</span>");
}

bool RunDiffers(const CTextFlow& flow, const CTextItem& item, const CHtmlRunState& run)
{
    const CCharFormat& f = item.GetFormat();
    return HtmlFaceOf(item) != run.m_face || (f.m_bold != 0) != run.m_bold || (f.m_italic != 0) != run.m_italic ||
           f.m_underline != run.m_underline || f.m_size != run.m_size ||
           CColorRef(flow.GetDoc()).ResolveBGR(f.m_color) != run.m_color;
}

void UpdateRun(const CTextFlow& flow, plat::Stream& out, HtmlVariant variant, const CTextItem& item,
               CHtmlRunState& run)
{
    if (!RunDiffers(flow, item, run)) return;
    CloseRun(out, variant, run);
    OpenRun(flow, out, variant, item, run);
}

void WriteChar(plat::Stream& out, HtmlVariant variant, const CTextItem& item)
{
    const std::uint8_t position = item.GetFormat().m_position;
    if (position == 1) Put(out, variant, u"<sup>");
    if (position == 2) Put(out, variant, u"<sub>");
    const char16_t c = item.GetCode();
    if (c == u'&')
        Put(out, variant, u"&amp;");
    else if (c == u'<')
        Put(out, variant, u"&lt;");
    else if (c == u'>')
        Put(out, variant, u"&gt;");
    else if (variant == HtmlVariant::kUtf16)
        WriteStringW(out, plat::StringView(&c, 1));
    else if (c < 128) {
        const char b = static_cast<char>(c);
        out.Write(&b, 1);
    } else {
        bool lost = false;
        const std::string bytes = plat::Utf16ToCp936(plat::StringView(&c, 1), &lost);
        // A character the code page lacks goes out as a character reference; its closing
        // semicolon keeps a following digit from joining the number.
        if (lost)
            WriteAscii(out, "&#" + std::to_string(int(c)) + ";");
        else
            out.Write(bytes.data(), bytes.size());
    }
    if (position == 1) Put(out, variant, u"</sup>");
    if (position == 2) Put(out, variant, u"</sub>");
}

} // namespace

// ---- shared pieces ----

size_t WriteStringW(plat::Stream& out, plat::StringView text)
{
    std::string bytes;
    bytes.resize(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    out.Write(bytes.data(), bytes.size());
    return text.size();
}

void WriteAscii(plat::Stream& out, std::string_view text)
{
    out.Write(text.data(), text.size());
}

void WriteCp936(plat::Stream& out, plat::StringView text)
{
    const std::string bytes = plat::Utf16ToCp936(text);
    out.Write(bytes.data(), bytes.size());
}

void HtmlCloseRun(plat::Stream& out, CHtmlRunState& run)
{
    CloseRun(out, HtmlVariant::k8Bit, run);
}

plat::String HtmlObjectName(const plat::String& baseName, int n)
{
    return plat::Format(u"%s-%04d", baseName, n);
}

// ---- HTML ----

void CTextFlow::HtmlOpenParagraph(plat::Stream& out, const plat::Dc& dc, const CParaFormatHtmlState& para,
                                  int firstItem) const
{
    OpenParagraph(*this, out, HtmlVariant::k8Bit, dc, para, firstItem);
}

void CTextFlow::HtmlOpenParagraphW(plat::Stream& out, const plat::Dc& dc, const CParaFormatHtmlState& para,
                                   int firstItem) const
{
    OpenParagraph(*this, out, HtmlVariant::kUtf16, dc, para, firstItem);
}

void CTextFlow::HtmlCloseParagraph(plat::Stream& out)
{
    WriteAscii(out, "</div>\n");
}

void CTextFlow::HtmlCloseParagraphW(plat::Stream& out)
{
    WriteStringW(out, u"</div>\n");
}

void CTextFlow::HtmlOpenRun(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const
{
    OpenRun(*this, out, HtmlVariant::k8Bit, item, run);
}

void CTextFlow::HtmlOpenRunW(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const
{
    OpenRun(*this, out, HtmlVariant::kUtf16, item, run);
}

void CTextFlow::HtmlUpdateRun(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const
{
    UpdateRun(*this, out, HtmlVariant::k8Bit, item, run);
}

void CTextFlow::HtmlUpdateRunW(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const
{
    UpdateRun(*this, out, HtmlVariant::kUtf16, item, run);
}

void CTextFlow::HtmlCloseRunW(plat::Stream& out, CHtmlRunState& run)
{
    CloseRun(out, HtmlVariant::kUtf16, run);
}

void CTextFlow::HtmlWriteChar(plat::Stream& out, const CTextItem& item)
{
    WriteChar(out, HtmlVariant::k8Bit, item);
}

void CTextFlow::HtmlWriteCharW(plat::Stream& out, const CTextItem& item)
{
    WriteChar(out, HtmlVariant::kUtf16, item);
}

void CTextFlow::HtmlWriteSpaceItem(plat::Stream& out, const CTextItem& item)
{
    WriteAscii(out, IsWideSpace(item) ? "\xA1\xA1" : " ");
}

void CTextFlow::HtmlWriteSpaceItemW(plat::Stream& out, const CTextItem& item)
{
    const char16_t c = IsWideSpace(item) ? kIdeographicSpace : u' ';
    WriteStringW(out, plat::StringView(&c, 1));
}

// ---- RTF ----

void CTextFlow::GetRtfFontOfItem(const CTextItem& item, plat::String& face, int& charset)
{
    const CCharFormat& f = item.GetFormat();
    const char16_t c = item.GetCode();
    if (c >= kWesternFaceLimit) {
        face = f.m_chineseFace;
        charset = kChineseCharset;
    } else {
        face = f.m_westernFace;
        charset = c >= 0x401 && c <= 0x45F ? kChineseCharset : 0;
    }
}

void CTextFlow::CollectRtfFonts(plat::Stream&, CRtfFontTable& fonts)
{
    // Runs of items share their format: a pair already added is not looked up again.
    CFormatPool::Handle last = 0;
    std::uint16_t lastType = 0;
    bool lastCyrillic = false;
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem& item = *ItemAt(i);
        const std::uint16_t type = item.GetNodeType();
        const bool cyrillic = item.GetCode() >= 0x401 && item.GetCode() <= 0x45F;
        if (i > 0 && item.FormatHandle() == last && type == lastType && cyrillic == lastCyrillic) continue;
        last = item.FormatHandle();
        lastType = type;
        lastCyrillic = cyrillic;
        const CCharFormat& f = item.GetFormat();
        if (type == kItemSpace || (type >= kItemWesternClose && type <= kItemFullStop)) {
            fonts.AddFont(f.m_westernFace, 0);
        } else if (type == kItemWestern) {
            plat::String face;
            int charset = 0;
            GetRtfFontOfItem(item, face, charset);
            fonts.AddFont(face, charset);
        } else if (type >= kItemCjk && type <= kItemCjkClose) {
            fonts.AddFont(f.m_chineseFace, kChineseCharset);
        }
    }
}

void CTextFlow::CollectRtfColors(plat::Stream&, CRtfColorTable& colors)
{
    const CColorRef resolver(GetDoc());
    CFormatPool::Handle last = 0;
    bool any = false;
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem& item = *ItemAt(i);
        const std::uint16_t type = item.GetNodeType();
        if (type < kItemSpace || type > kItemCjkClose || type == kItemUnused) continue;
        if (any && item.FormatHandle() == last) continue;
        any = true;
        last = item.FormatHandle();
        colors.AddColor(resolver.Resolve(item.GetFormat().m_color));
    }
}

void CTextFlow::WriteRtfRunFormat(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors,
                                  const CTextItem& item, CRtfRunState& run, bool newParagraph) const
{
    const CCharFormat& f = item.GetFormat();
    const plat::ColorRef color = CColorRef(GetDoc()).Resolve(f.m_color);
    plat::String face;
    int charset = 0;
    GetRtfFontOfItem(item, face, charset);
    if (newParagraph) {
        run.m_face = face;
        run.m_charset = charset;
        fonts.WriteFontRef(out, face, charset);
        run.m_color = color;
        colors.WriteColorRef(out, color);
        run.m_size = f.m_size;
        WriteAscii(out, "\\fs" + std::to_string(f.m_size / 10));
        WriteAscii(out, " \\b0 \\i0 \\ul0 ");
        run.m_bold = run.m_italic = false;
        run.m_underline = 0;
        return;
    }

    bool changed = false;
    if (face != run.m_face || charset != run.m_charset) {
        fonts.WriteFontRef(out, face, charset);
        run.m_face = face;
        run.m_charset = charset;
        changed = true;
    }
    if (color != run.m_color) {
        colors.WriteColorRef(out, color);
        run.m_color = color;
        changed = true;
    }
    if (f.m_size != run.m_size) {
        WriteAscii(out, "\\fs" + std::to_string(f.m_size / 10));
        run.m_size = f.m_size;
        changed = true;
    }
    if ((f.m_bold != 0) != run.m_bold) {
        run.m_bold = f.m_bold != 0;
        WriteAscii(out, run.m_bold ? "\\b" : "\\b0");
        changed = true;
    }
    if ((f.m_italic != 0) != run.m_italic) {
        run.m_italic = f.m_italic != 0;
        WriteAscii(out, run.m_italic ? "\\i" : "\\i0");
        changed = true;
    }
    if (f.m_underline != run.m_underline) {
        static constexpr const char* kUnderline[] = {"\\ul0", "\\ul", "\\uldb", "\\uld"};
        if (f.m_underline <= kUnderlineMax) WriteAscii(out, kUnderline[f.m_underline]);
        run.m_underline = f.m_underline;
        changed = true;
    }
    if (f.m_position == 1)
        WriteAscii(out, "\\super ");
    else if (f.m_position == 2)
        WriteAscii(out, "\\sub ");
    else if (changed)
        WriteAscii(out, " ");

    const char16_t c = item.GetCode();
    if (c < 128) {
        if (c == u'\\' || c == u'{' || c == u'}') WriteAscii(out, "\\");
        const char b = static_cast<char>(c);
        out.Write(&b, 1);
    } else {
        bool lost = false;
        const std::string bytes = plat::Utf16ToCp936(plat::StringView(&c, 1), &lost);
        if (!lost) {
            if (c == kDegree && run.m_face != f.m_chineseFace) {
                fonts.WriteFontRef(out, f.m_chineseFace, kChineseCharset);
                WriteAscii(out, " ");
                run.m_face = f.m_chineseFace;
                run.m_charset = kChineseCharset;
            }
            // A trail byte that reads as a backslash or a brace is escaped, so that no
            // reader takes it for a control word or a group.
            std::string text;
            for (size_t k = 0; k < bytes.size(); ++k) {
                const char b = bytes[k];
                if (k > 0 && (b == '\\' || b == '{' || b == '}'))
                    text += "\\'" + std::string(b == '\\' ? "5c" : b == '{' ? "7b" : "7d");
                else
                    text += b;
            }
            out.Write(text.data(), text.size());
        } else if (c <= 0xFF || c == kTrademark) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "%x", c == kTrademark ? 0x99 : int(c));
            // The blank ends the font word, so that a digit after it cannot join its number.
            WriteAscii(out, std::string("\\lang1033\\f0\\'") + hex + "\\lang2052\\f0 ");
            run.m_face = kTimesNewRoman;
        } else {
            // No code page form: a Unicode word, with "?" for readers that skip it.
            WriteAscii(out, "\\u" + std::to_string(static_cast<std::int16_t>(c)) + "?");
        }
    }
    if (f.m_position == 1 || f.m_position == 2) WriteAscii(out, "\\nosupersub ");
}

void CTextFlow::WriteRtfSpaceItem(plat::Stream& out, const CRtfFontTable& fonts, const CTextItem& item,
                                  CRtfRunState& run)
{
    const CCharFormat& f = item.GetFormat();
    const bool wide = IsWideSpace(item);
    const plat::String& face = wide ? f.m_chineseFace : f.m_westernFace;
    const int charset = wide ? kChineseCharset : 0;
    if (face != run.m_face || charset != run.m_charset) {
        fonts.WriteFontRef(out, face, charset);
        WriteAscii(out, " ");
        run.m_face = face;
        run.m_charset = charset;
    }
    WriteAscii(out, wide ? "\xA1\xA1" : " ");
}
