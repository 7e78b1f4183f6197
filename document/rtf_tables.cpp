#include "document/rtf_tables.h"

#include <algorithm>
#include <string>

#include "document/html_export.h"
#include "platform/file/file.h"

namespace {

// The face as code page 936 bytes with the characters that end or open a group or an
// entry escaped, so that a face holding them cannot break the table.
std::string EscapedFace(const plat::String& face)
{
    const std::string bytes = plat::Utf16ToCp936(face);
    std::string out;
    out.reserve(bytes.size());
    bool trail = false; // the byte after a lead byte is the second half of a character
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (!trail && (b == '\\' || b == '{' || b == '}' || b == ';')) {
            out += plat::Utf16ToUtf8(plat::Format(u"\\'%02x", int(u)));
        } else if (trail && (b == '\\' || b == '{' || b == '}')) {
            out += plat::Utf16ToUtf8(plat::Format(u"\\'%02x", int(u)));
        } else {
            out += b;
        }
        trail = !trail && u >= 0x81 && u <= 0xFE;
    }
    return out;
}

} // namespace

void CRtfFontEntry::Write(plat::Stream& out, int n) const
{
    const std::string face = EscapedFace(m_face);
    std::string head;
    if (m_face.find(u"Arial") != plat::String::npos)
        head = plat::Utf16ToUtf8(plat::Format(u"{\\f%d\\fswiss\\fprq6\\fcharset%d ", n, m_charset));
    else if (m_face.find(u"Courier") != plat::String::npos)
        head = plat::Utf16ToUtf8(plat::Format(u"{\\f%d\\fmodern\\fprq2\\fcharset%d ", n, m_charset));
    else if (m_charset == 134)
        head = plat::Utf16ToUtf8(plat::Format(u"{\\f%d\\fnil\\fcharset134\\fprq2 ", n));
    else
        head = plat::Utf16ToUtf8(plat::Format(u"{\\f%d\\froman\\fprq2\\fcharset%d ", n, m_charset));
    WriteAscii(out, head);
    out.Write(face.data(), face.size());
    WriteAscii(out, ";}\n");
}

CRtfFontTable::CRtfFontTable() = default;
CRtfFontTable::~CRtfFontTable() = default;

int CRtfFontTable::Find(const plat::String& face, int charset) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i]->m_charset == charset && m_entries[i]->m_face == face) return static_cast<int>(i);
    return -1;
}

int CRtfFontTable::AddFont(const plat::String& face, int charset)
{
    const int at = Find(face, charset);
    if (at >= 0) return at;
    m_entries.push_back(std::make_unique<CRtfFontEntry>(face, charset));
    return GetCount() - 1;
}

void CRtfFontTable::Write(plat::Stream& out) const
{
    WriteAscii(out, "{\\fonttbl\n");
    for (size_t i = 0; i < m_entries.size(); ++i) m_entries[i]->Write(out, static_cast<int>(i));
    WriteAscii(out, "}\n");
}

void CRtfFontTable::WriteFontRef(plat::Stream& out, const plat::String& face, int charset) const
{
    WriteAscii(out, "\\f" + std::to_string(std::max(Find(face, charset), 0)));
}

void CRtfColorEntry::Write(plat::Stream& out) const
{
    WriteAscii(out, "\\red" + std::to_string(m_color & 0xFF) + "\\green" + std::to_string((m_color >> 8) & 0xFF) +
                        "\\blue" + std::to_string((m_color >> 16) & 0xFF) + ";");
}

CRtfColorTable::CRtfColorTable() = default;
CRtfColorTable::~CRtfColorTable() = default;

int CRtfColorTable::Find(plat::ColorRef color) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i]->m_color == color) return static_cast<int>(i) + 1;
    return 0;
}

int CRtfColorTable::AddColor(plat::ColorRef color)
{
    const int at = Find(color);
    if (at > 0) return at;
    m_entries.push_back(std::make_unique<CRtfColorEntry>(color));
    return GetCount();
}

void CRtfColorTable::Write(plat::Stream& out) const
{
    WriteAscii(out, "{\\colortbl;");
    for (const auto& entry : m_entries) entry->Write(out);
    WriteAscii(out, "}\n");
}

void CRtfColorTable::WriteColorRef(plat::Stream& out, plat::ColorRef color) const
{
    WriteAscii(out, "\\cf" + std::to_string(Find(color)));
}

void WriteRtfHexLines(plat::Stream& out, const std::vector<std::uint8_t>& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    constexpr size_t kBytesPerLine = 100;
    std::string line;
    for (size_t at = 0; at < bytes.size(); at += kBytesPerLine) {
        line.clear();
        const size_t end = std::min(bytes.size(), at + kBytesPerLine);
        for (size_t k = at; k < end; ++k) {
            line += kDigits[bytes[k] >> 4];
            line += kDigits[bytes[k] & 0xF];
        }
        line += '\n';
        out.Write(line.data(), line.size());
    }
}
