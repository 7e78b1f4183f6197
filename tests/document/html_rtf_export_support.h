// A document for the HTML and RTF export tests: text appended in formats the test gives,
// and the writers' output as bytes.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "document/char_format.h"
#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/file/file.h"
#include "tests/support/headless_windows.h"

namespace exporttest {

// Black Times New Roman and 宋体 at 10.5 pt.
inline CCharFormat PlainFormat()
{
    CCharFormat f;
    f.m_westernFace = u"Times New Roman";
    f.m_chineseFace = u"宋体";
    f.m_size = 210;
    f.m_color = 0;
    return f;
}

// The plain format with another Western face, size, styles, colour and script position.
inline CCharFormat StyledFormat(const char16_t* western, int size, bool bold, bool italic, int underline,
                                plat::ColorRef color, int position = 0)
{
    CCharFormat f = PlainFormat();
    f.m_westernFace = western;
    f.m_size = static_cast<std::uint16_t>(size);
    f.m_bold = bold;
    f.m_italic = italic;
    f.m_underline = static_cast<std::uint8_t>(underline);
    f.m_color = static_cast<std::int32_t>(color);
    f.m_position = static_cast<std::uint8_t>(position);
    return f;
}

struct ExportDoc {
    CHeadlessWindows window;
    CCharWidthCache cache;
    CQlDoc doc{&window, &window};

    ExportDoc()
    {
        doc.SetWidthCache(&cache);
        doc.Reset();
        // The final paragraph end takes the plain format too.
        Body().GetItem(0)->SetFormat(PlainFormat());
        Body().SetRunningCharFormat(PlainFormat());
    }
    CDocBody& Body() { return *doc.GetBody(); }
    // Text before the final paragraph end ("\r" ends a paragraph).
    void Append(const plat::String& text, const CCharFormat& format = PlainFormat())
    {
        int at = Body().GetCount() - 1;
        Body().InsertString(at, text, format);
        Body().RelayoutWhole();
    }
    // Alignment and spacing of every paragraph.
    void SetParagraphs(std::uint8_t align, std::uint8_t spacing)
    {
        Body().SetSelection(Body().GetEndPos(), Body().GetStartPos());
        Body().SetAlignment(align);
        Body().SetLineSpacing(spacing);
        Body().SetCaret(Body().GetStartPos());
    }
    std::string Html(bool wide, const std::string& folder = "/nonexistent", const std::string& base = "page")
    {
        plat::MemFile out;
        if (wide)
            Body().ExportHtmlW(out, plat::Utf8ToUtf16(folder), plat::Utf8ToUtf16(base));
        else
            Body().ExportHtml(out, plat::Utf8ToUtf16(folder), plat::Utf8ToUtf16(base));
        return std::string(out.Data().begin(), out.Data().end());
    }
};

// UTF-16LE bytes of ASCII or other text, as the UTF-16 page holds them.
inline std::string Wide(const plat::String& text)
{
    std::string b;
    for (char16_t c : text) {
        b += static_cast<char>(c & 0xFF);
        b += static_cast<char>(c >> 8);
    }
    return b;
}

inline std::string Wide(const std::string& ascii)
{
    return Wide(plat::Utf8ToUtf16(ascii));
}

// Screen pixels of a length in twips on the 96-dpi screen.
inline int Px(int twips)
{
    return static_cast<int>(static_cast<long long>(twips) * 96 / 1440);
}

// The width in pixels of the first page's text area, as the pages' tables take it.
inline int TextWidthPx(CDocBody& body)
{
    const plat::Rect r = body.GetPageFrame(0).m_rect;
    return Px(r.right) - Px(r.left);
}

inline bool Contains(const std::string& haystack, const std::string& needle)
{
    return haystack.find(needle) != std::string::npos;
}

} // namespace exporttest
