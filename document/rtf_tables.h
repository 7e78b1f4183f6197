// The font and colour tables of an RTF export: filled by the collecting passes of the body
// and its text flows before any text is written, written as the file's font and colour
// table groups, then referred to by number while the text is written.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {
class Stream;
}

class CRtfFontEntry {
public:
    CRtfFontEntry(plat::String face, int charset) : m_face(std::move(face)), m_charset(charset) {}
    // One line of the font table group for font number n.
    void Write(plat::Stream& out, int n) const;

    plat::String m_face;
    int m_charset = 0;
};

class CRtfFontTable {
public:
    CRtfFontTable();
    ~CRtfFontTable();
    CRtfFontTable(const CRtfFontTable&) = delete;
    CRtfFontTable& operator=(const CRtfFontTable&) = delete;

    // Adds the pair unless it is there (faces compared exactly); returns its number.
    int AddFont(const plat::String& face, int charset);
    // The pair's font number, or -1.
    int Find(const plat::String& face, int charset) const;
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // "{\fonttbl", one entry a line, "}".
    void Write(plat::Stream& out) const;
    // "\f%d" of the pair; "\f0" when it is not in the table.
    void WriteFontRef(plat::Stream& out, const plat::String& face, int charset) const;

private:
    std::vector<std::unique_ptr<CRtfFontEntry>> m_entries;
};

class CRtfColorEntry {
public:
    explicit CRtfColorEntry(plat::ColorRef color) : m_color(color) {}
    // "\red%d\green%d\blue%d;"
    void Write(plat::Stream& out) const;

    plat::ColorRef m_color; // 0x00BBGGRR
};

class CRtfColorTable {
public:
    CRtfColorTable();
    ~CRtfColorTable();
    CRtfColorTable(const CRtfColorTable&) = delete;
    CRtfColorTable& operator=(const CRtfColorTable&) = delete;

    // Adds the colour unless it is there; returns its colour number (position + 1).
    int AddColor(plat::ColorRef color);
    // The colour's number, or 0 (the automatic colour) when it is not in the table.
    int Find(plat::ColorRef color) const;
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // "{\colortbl;", the entries, "}".
    void Write(plat::Stream& out) const;
    // "\cf%d" of the colour; "\cf0" when it is not in the table.
    void WriteColorRef(plat::Stream& out, plat::ColorRef color) const;

private:
    std::vector<std::unique_ptr<CRtfColorEntry>> m_entries;
};

// The format the RTF body writer has last written: face and character set, size (twips),
// styles, script position and colour (0x00BBGGRR).
struct CRtfRunState {
    plat::String m_face;
    int m_charset = 0;
    int m_size = 0;
    bool m_bold = false;
    bool m_italic = false;
    std::uint8_t m_underline = 0;
    plat::ColorRef m_color = 0;
};

// Bytes as lower-case hexadecimal, 100 bytes (200 characters) a line, each line ended by a
// line feed: the picture data of "\pict" groups.
void WriteRtfHexLines(plat::Stream& out, const std::vector<std::uint8_t>& bytes);
