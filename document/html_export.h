// What the HTML writers of the body, its text flows and the page objects share: the run
// and paragraph states, the UTF-16 string writer and the 8-bit run closing. The writers
// themselves are members of CTextFlow (text_flow_export.cpp) and CDocBody
// (doc_body_html.cpp); the page objects write themselves through their export slots.
//
// Two variants: the 8-bit page holds code page 936 bytes (its stream turns line feeds into
// CR LF), the UTF-16 page little-endian code units written by WriteStringW.
#pragma once
#include <cstddef>
#include <cstdint>

#include "document/char_format.h"
#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {
class Stream;
}

// The format of the span element that is open: face, size (twips), styles and the colour
// as 0x00RRGGBB.
struct CHtmlRunState {
    plat::String m_face;
    int m_size = 0;
    bool m_bold = false;
    bool m_italic = false;
    std::uint8_t m_underline = 0;
    plat::ColorRef m_color = 0;
};

// The paragraph format a div element is opened with.
class CParaFormatHtmlState {
public:
    void Assign(const CParaFormat& format)
    {
        m_align = format.m_align;
        m_spacing = format.m_spacing;
        m_firstIndent = format.m_firstIndent;
        m_leftIndent = format.m_leftIndent;
        m_rightIndent = format.m_rightIndent;
    }

    std::uint8_t m_align = 0;
    std::uint8_t m_spacing = 0;
    std::int32_t m_firstIndent = 0;
    std::int32_t m_leftIndent = 0;
    std::int32_t m_rightIndent = 0;
};

// Writes the text's UTF-16LE code units (no terminator, no byte-order mark); returns the
// number of characters written.
size_t WriteStringW(plat::Stream& out, plat::StringView text);
// Writes ASCII text as it is: the fixed markup of the 8-bit page.
void WriteAscii(plat::Stream& out, std::string_view text);
// Writes UTF-16 text as code page 936 bytes, unchanged (never used as a format).
void WriteCp936(plat::Stream& out, plat::StringView text);
// Closes the run of the 8-bit page: "</b>", "</i>", "</u>" for the styles that are on
// (clearing them), then "</span>".
void HtmlCloseRun(plat::Stream& out, CHtmlRunState& run);
// The name the exporters give the n-th object's picture: "%s-%04d" of the base name.
plat::String HtmlObjectName(const plat::String& baseName, int n);
