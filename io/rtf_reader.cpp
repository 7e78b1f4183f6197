#include "io/rtf_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "document/import_sink.h"
#include "platform/base/system.h"

namespace {

constexpr int kMaxWordLetters = 255;
constexpr int kMaxNumberDigits = 256;
constexpr std::size_t kMaxFaceBytes = 255;
constexpr std::uint16_t kGroupFontSize = 210;
constexpr std::uint16_t kFootnoteNumberSize = 158;
// A table the scan takes: fewer rows and boundaries than these.
constexpr int kScanMaxRows = 60;
constexpr std::size_t kScanMaxBoundaries = 20;

// The sizes in twips the editor offers; a size snaps to the nearest below the midpoint.
constexpr std::uint16_t kFontSizes[] = {105, 120, 140, 158, 180, 210, 240, 280, 315, 360, 420,
                                        480, 560, 630, 720, 840, 960, 1120, 1260, 1440, 1680, 1920};

bool IsLetter(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(int c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A footnote's number as the text shows it: "(n)".
std::string FootnoteMark(int number)
{
    char mark[16];
    std::snprintf(mark, sizeof mark, "(%d)", number);
    return mark;
}

std::int32_t ClampNumber(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The face rule: a Chinese font names the Chinese face; any other names the Western face,
// with a trailing "Cyr" (any case) and the blanks before it taken off.
void ApplyFaceRule(CRtfReaderFont& font, const std::string& name)
{
    const plat::String face = plat::Cp936ToUtf16(name);
    if (font.charset == 134) {
        font.chineseFace = face;
        font.westernFace = u"Times New Roman";
        return;
    }
    font.chineseFace = u"宋体";
    plat::String western = face;
    if (western.size() >= 3) {
        const plat::String tail = western.substr(western.size() - 3);
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (lower(tail[0]) == u'c' && lower(tail[1]) == u'y' && lower(tail[2]) == u'r') {
            western.resize(western.size() - 3);
            while (!western.empty() && western.back() == u' ') western.pop_back();
        }
    }
    font.westernFace = western;
}

// A byte that is no part of a code page 936 pair: the single-byte character the writers
// escape as \'hh (Latin-1, and 0x99 for the trade mark sign).
char16_t SingleByteChar(int byte)
{
    return byte == 0x99 ? u'\u2122' : static_cast<char16_t>(byte);
}

} // namespace

// ---- groups and fonts ----

bool CRtfGroupStack::Push(const CRtfGroupState& state)
{
    if (m_top + 1 >= kCapacity) return false;
    m_states[static_cast<size_t>(++m_top)] = state;
    return true;
}

bool CRtfGroupStack::Pop(CRtfGroupState& state)
{
    if (m_top < 0) return false;
    state = m_states[static_cast<size_t>(m_top--)];
    return true;
}

const CRtfReaderFont* CRtfReaderFontList::FindFont(std::int32_t number) const
{
    for (const auto& f : m_fonts)
        if (f->number == number) return f.get();
    return nullptr;
}

CRtfReader::CRtfReader() = default;

CRtfReader::~CRtfReader()
{
    if (m_file) std::fclose(m_file);
}

std::uint16_t CRtfReader::SnapFontSize(std::int64_t size)
{
    for (size_t k = 0; k + 1 < std::size(kFontSizes); ++k)
        if (size < (kFontSizes[k] + kFontSizes[k + 1]) / 2) return kFontSizes[k];
    return kFontSizes[std::size(kFontSizes) - 1];
}

// ---- reading ----

int CRtfReader::ReadFile(const std::string& path)
{
    m_file = std::fopen(path.c_str(), "r");
    if (!m_file) return 0;
    ImportPageSetup(12240, 15840, 1800, 1800, 1440, 1440);
    const int result = Parse();
    if (result) ImportFootnotes();
    std::fclose(m_file);
    m_file = nullptr;
    ImportFlush();
    return result;
}

int CRtfReader::ReadBuffer(const std::uint8_t* data, std::size_t length)
{
    m_data = data;
    m_length = data ? length : 0;
    m_pos = 0;
    const int result = Parse();
    if (result) ImportFootnotes();
    ImportFlush();
    return result;
}

int CRtfReader::ReadRawChar()
{
    if (m_file) {
        unsigned char b = 0;
        return std::fread(&b, 1, 1, m_file) == 1 ? b : 0;
    }
    return m_pos < m_length ? m_data[m_pos++] : 0;
}

int CRtfReader::ReadChar()
{
    int c;
    do c = ReadRawChar();
    while (c == '\r' || c == '\n');
    return c;
}

void CRtfReader::UngetChar(int b)
{
    if (m_file) {
        std::ungetc(b, m_file);
    } else if (m_pos > 0) {
        --m_pos;
    }
}

long CRtfReader::GetInputPos() const
{
    return m_file ? std::ftell(m_file) : static_cast<long>(m_pos);
}

void CRtfReader::SetInputPos(long pos)
{
    if (m_file)
        std::fseek(m_file, pos, SEEK_SET);
    else
        m_pos = std::min(static_cast<std::size_t>(std::max(pos, 0L)), m_length);
}

bool CRtfReader::ReadControlWord(Word& word)
{
    word = Word();
    int c = ReadRawChar();
    if (c == 0) return false;
    if (!IsLetter(c)) {
        word.name.assign(1, static_cast<char>(c));
        return true;
    }
    while (IsLetter(c)) {
        word.name.push_back(static_cast<char>(c));
        if (static_cast<int>(word.name.size()) >= kMaxWordLetters) return false;
        c = ReadRawChar();
    }
    bool negative = false;
    if (c == '-') {
        negative = true;
        c = ReadRawChar();
    }
    std::int64_t value = 0;
    int digits = 0;
    while (c >= '0' && c <= '9') {
        if (++digits > kMaxNumberDigits) return false;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), std::int64_t(1) << 40);
        c = ReadRawChar();
    }
    if (c == 0) return false;
    if (digits > 0) {
        word.hasNumber = true;
        word.number = ClampNumber(negative ? -value : value);
    }
    if (c != ' ' && c != '\r' && c != '\n') UngetChar(c);
    return true;
}

int CRtfReader::ReadToken(Word& word, int& byte, bool skipBlanks)
{
    int c = ReadChar();
    if (skipBlanks)
        while (c == ' ') c = ReadChar();
    if (c == 0) return kTokenFail;
    if (c == '{') return kTokenOpen;
    if (c == '}') return kTokenClose;
    if (c == '\\') {
        const int next = ReadRawChar();
        if (next == 0) return kTokenFail;
        UngetChar(next);
        if (next == '\'') return kTokenQuote;
        return ReadControlWord(word) ? kTokenWord : kTokenFail;
    }
    byte = c;
    return kTokenByte;
}

int CRtfReader::SkipGroup(int consumeClose)
{
    int depth = 1;
    for (;;) {
        const int c = ReadRawChar();
        if (c == 0) return 0;
        if (c == '{') ++depth;
        if (c == '}' && --depth == 0) {
            if (!consumeClose) UngetChar(c);
            return 1;
        }
    }
}

bool CRtfReader::PushGroup()
{
    if (!m_stack.Push(m_group)) return false;
    m_group.readMode = CRtfGroupState::ReadMode::kNormal;
    return true;
}

bool CRtfReader::PopGroup()
{
    return m_stack.Pop(m_group);
}

void CRtfReader::ResetRunState()
{
    m_bold = m_italic = m_underline = m_color = 0;
}

int CRtfReader::Parse()
{
    const int startTop = m_stack.Top();
    int result = 1;
    while (result) {
        if (m_stack.Top() < startTop) break;
        const int c = ReadChar();
        if (c == 0) break;
        if (c == '\\') {
            result = DoControlWord();
        } else if (c == '{') {
            if (!PushGroup()) return 0;
            ResetRunState();
            ImportSetFontSize(kGroupFontSize);
            ImportSetCharPosition(0);
        } else if (c == '}') {
            FlushLoneByte();
            if (!PopGroup()) return 0;
        } else if (m_group.readMode == CRtfGroupState::ReadMode::kNormal) {
            PutChar(c);
        } else if (!TakeHexDigit(c)) {
            return 0;
        }
    }
    return result;
}

bool CRtfReader::TakeHexDigit(int byte)
{
    const int v = HexValue(byte);
    if (v < 0) {
        // Inside a table or a footnote a bad digit drops the byte and ends the escape.
        m_hexHigh = -1;
        m_group.readMode = CRtfGroupState::ReadMode::kNormal;
        return false;
    }
    if (m_hexHigh < 0) {
        m_hexHigh = v;
    } else {
        m_group.readMode = CRtfGroupState::ReadMode::kNormal;
        PutChar(m_hexHigh * 16 + v);
        m_hexHigh = -1;
    }
    return true;
}

int CRtfReader::DoControlWord()
{
    Word word;
    if (!ReadControlWord(word)) return 0;
    return DispatchControlWord(word);
}

// ---- the character path ----

void CRtfReader::PutChar(int byte)
{
    byte &= 0xFF;
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    if (byte < 32 && byte != 8 && byte != 9 && byte != 10 && byte != 13) return;
    HandRunFormat();
    if (byte < 0x80) {
        // A lead byte cannot pair with a single-byte character: it was one itself.
        FlushLoneByte();
        const char16_t code = static_cast<char16_t>(byte);
        ImportInsertText(plat::StringView(&code, 1));
        return;
    }
    if (m_font && m_font->charset == 204) {
        // Code page 1251 letters as the GB2312 Cyrillic row (lead byte 0xA7).
        int second = 0;
        if (byte == 0xB8)
            second = 0xD7;
        else if (byte >= 0xC0 && byte <= 0xC5)
            second = byte - 0x1F;
        else if (byte >= 0xC6 && byte <= 0xDF)
            second = byte - 0x1E;
        else if (byte >= 0xE0 && byte <= 0xE5)
            second = byte - 0x0F;
        else if (byte >= 0xE6)
            second = byte - 0x0E;
        if (second == 0) return;
        const char pair[3] = {static_cast<char>(0xA7), static_cast<char>(second), 0};
        ImportInsertTextA(pair);
        return;
    }
    if (m_noLeadPending) {
        if (byte >= 0xA1) {
            m_leadByte = byte;
            m_noLeadPending = false;
        } else {
            PutUnicode(SingleByteChar(byte));
        }
        return;
    }
    const char pair[3] = {static_cast<char>(m_leadByte), static_cast<char>(byte), 0};
    m_noLeadPending = true;
    ImportInsertTextA(pair);
}

void CRtfReader::HandRunFormat()
{
    ImportSetBold(static_cast<std::uint8_t>(m_bold != 0));
    ImportSetItalic(static_cast<std::uint8_t>(m_italic != 0));
    ImportSetUnderline(static_cast<std::uint8_t>(std::clamp(m_underline, 0, 3)));
    ImportSetColor(m_color);
}

void CRtfReader::PutUnicode(char16_t code)
{
    if (code < 32 && code != 9) return;
    m_noLeadPending = true;
    HandRunFormat();
    ImportInsertText(plat::StringView(&code, 1));
}

void CRtfReader::FlushLoneByte()
{
    if (m_noLeadPending) return;
    PutUnicode(SingleByteChar(m_leadByte));
}

void CRtfReader::PutText(const char* cp936)
{
    m_noLeadPending = true;
    HandRunFormat();
    ImportInsertTextA(cp936);
}

void CRtfReader::EndParagraph()
{
    if (m_paraChanged) {
        m_firstIndent = ClampNumber(std::int64_t(m_leftIndent) + m_firstIndent);
        m_paraChanged = false;
        ImportSetParaFormat(m_firstIndent, m_leftIndent, m_rightIndent, m_alignment);
    }
    ImportEndParagraph();
}

// ---- the dispatch ----

int CRtfReader::DispatchControlWord(const Word& w)
{
    const std::string& n = w.name;
    if (n.empty()) return 1;
    const std::int32_t num = w.number;
    if (n[0] != '\'') FlushLoneByte();
    switch (n[0]) {
    case '\'':
        m_group.readMode = CRtfGroupState::ReadMode::kHex;
        m_hexHigh = -1;
        return 1;
    case '*': {
        Word next;
        if (!ReadControlWord(next)) return 0;
        if (next.Is("\\")) {
            if (!ReadControlWord(next)) return 0;
            return SkipGroup(0);
        }
        return 1;
    }
    case '\\':
    case '{':
    case '}':
        PutChar(n[0]);
        return 1;
    case '_':
        PutChar('-');
        return 1;
    case 'a':
        if (w.Is("ansicpg")) return num == 936 ? 1 : 0;
        return 1;
    case 'b':
        if (w.Is("b")) m_bold = w.hasNumber ? num : 1;
        else if (w.Is("bullet")) PutChar(0x95);
        return 1;
    case 'c':
        if (w.Is("colortbl")) return ReadColorTable();
        if (w.Is("cf")) m_color = num >= 0 && num < static_cast<std::int32_t>(m_colors.size())
                                      ? static_cast<std::int32_t>(m_colors[static_cast<size_t>(num)])
                                      : 0;
        return 1;
    case 'e':
        if (w.Is("emdash")) PutText("\xA3\xAD");
        else if (w.Is("endash")) PutChar('-');
        else if (w.Is("emspace") || w.Is("enspace")) PutChar(' ');
        return 1;
    case 'f':
        if (w.Is("fonttbl")) return ReadFontTable();
        if (w.Is("f")) {
            m_font = m_fonts.FindFont(num);
            if (m_font) ImportSetFontNames(m_font->chineseFace, m_font->westernFace);
        } else if (w.Is("fs")) {
            ImportSetFontSize(SnapFontSize(std::int64_t(num) * 10));
        } else if (w.Is("fi")) {
            m_firstIndent = num;
            m_paraChanged = true;
        } else if (w.Is("footer") || w.Is("fchars")) {
            return SkipGroup(0);
        } else if (w.Is("footnote")) {
            return m_inFootnotePass ? 1 : ReadFootnote();
        }
        return 1;
    case 'h':
        if (w.Is("header")) return SkipGroup(0);
        return 1;
    case 'i':
        if (w.Is("i")) m_italic = w.hasNumber ? num : 1;
        else if (w.Is("info")) return SkipGroup(0);
        return 1;
    case 'l':
        if (w.Is("lquote")) PutText("\xA1\xAE");
        else if (w.Is("ldblquote")) PutText("\xA1\xB0");
        else if (w.Is("li")) {
            m_leftIndent = num;
            m_paraChanged = true;
        } else if (w.Is("listtable") || w.Is("lchars")) {
            return SkipGroup(0);
        } else if (w.Is("line")) {
            EndParagraph();
        }
        return 1;
    case 'm':
        if (w.Is("margl")) ImportMarginLeft(num);
        else if (w.Is("margr")) ImportMarginRight(num);
        else if (w.Is("margt")) ImportMarginTop(num);
        else if (w.Is("margb")) ImportMarginBottom(num);
        return 1;
    case 'n':
        // The end of a raised or lowered run: the text after it is on the line again.
        if (w.Is("nosupersub")) ImportSetCharPosition(0);
        return 1;
    case 'o':
        if (w.Is("object")) return ReadObject();
        return 1;
    case 'p':
        if (w.Is("par")) {
            EndParagraph();
        } else if (w.Is("plain")) {
            ImportSetFonts(u"宋体", u"Times New Roman", kGroupFontSize, 0, 0, 0, 0, 0);
        } else if (w.Is("pard")) {
            m_firstIndent = m_leftIndent = 0;
            m_paraChanged = false;
        } else if (w.Is("page")) {
            ImportEndParagraph();
        } else if (w.Is("pict")) {
            return ReadPicture(false, 0, 0, 0, 0);
        } else if (w.Is("paperw")) {
            ImportPaperWidth(num);
        } else if (w.Is("paperh")) {
            ImportPaperHeight(num);
        } else if (w.Is("pntxta") || w.Is("pntxtb")) {
            return SkipGroup(0);
        }
        return 1;
    case 'q':
        if (w.Is("ql")) m_alignment = 1;
        else if (w.Is("qc")) m_alignment = 3;
        else if (w.Is("qr")) m_alignment = 2;
        else if (w.Is("qj")) m_alignment = 4;
        return 1;
    case 'r':
        if (w.Is("rquote")) PutText("\xA1\xAF");
        else if (w.Is("rdblquote")) PutText("\xA1\xB1");
        else if (w.Is("ri")) {
            m_rightIndent = num;
            m_paraChanged = true;
        }
        return 1;
    case 's':
        if (w.Is("stylesheet")) return SkipGroup(0);
        if (w.Is("shp")) return ReadShape();
        if (w.Is("super")) ImportSetCharPosition(1);
        else if (w.Is("sub")) ImportSetCharPosition(2);
        return 1;
    case 't':
        if (w.Is("tab")) PutChar('\t');
        else if (w.Is("trowd")) {
            if (m_nestedRows > 0) {
                --m_nestedRows;
                return 1;
            }
            return ScanTable() ? BuildTable() : 1;
        }
        return 1;
    case 'u':
        if (w.Is("ul")) m_underline = w.hasNumber && num == 0 ? 0 : 1;
        else if (w.Is("uld") || w.Is("uldash") || w.Is("uldashd") || w.Is("uldashdd")) m_underline = 3;
        else if (w.Is("uldb") || w.Is("ulwave") || w.Is("ulth") || w.Is("ulthd") || w.Is("ulthdash") ||
                 w.Is("ulthdashd") || w.Is("ulthdashdd") || w.Is("ulthldash") || w.Is("ululdbwave"))
            m_underline = 2;
        else if (w.Is("ulldash") || w.Is("ulw")) m_underline = 1;
        else if (w.Is("ulnone")) m_underline = 0;
        else if (w.Is("uc")) m_group.unicodeSkip = num;
        else if (w.Is("u") && w.hasNumber) {
            // A signed 16-bit code; the stand-in characters after it are skipped.
            PutUnicode(static_cast<char16_t>(num & 0xFFFF));
            m_unicodeSkipLeft = std::max(m_group.unicodeSkip, 0);
        }
        return 1;
    default:
        return 1;
    }
}

// ---- font and colour tables ----

int CRtfReader::ReadFontTable()
{
    int c = ReadChar();
    if (c == '\\') {
        // One entry without braces; its reading takes the table's closing brace, which the
        // main loop needs back.
        UngetChar(c);
        if (!ReadFontEntry()) return 0;
        UngetChar('}');
        return 1;
    }
    for (;;) {
        while (c != '{' && c != '}') {
            if (c == 0) return 0;
            c = ReadChar();
        }
        if (c == '}') {
            UngetChar(c);
            return 1;
        }
        if (!ReadFontEntry()) return 0;
        c = ReadChar();
    }
}

bool CRtfReader::ReadFontEntry()
{
    auto font = std::make_unique<CRtfReaderFont>();
    Word word;
    int byte = 0;
    int token = ReadToken(word, byte, true);
    if (token != kTokenWord || !word.Is("f")) return false;
    font->number = word.number;

    // The family keyword, if the second token is one.
    static const char* const kFamilies[] = {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor", "ftech", "fbidi"};
    int depth = 0;
    bool haveNameByte = false;
    token = ReadToken(word, byte, true);
    if (token == kTokenWord) {
        for (int k = 0; k < 8; ++k)
            if (word.Is(kFamilies[k])) font->family = k;
    } else if (token == kTokenByte || token == kTokenQuote) {
        haveNameByte = true;
    } else if (token == kTokenOpen) {
        ++depth;
    } else if (token == kTokenClose) {
        --depth;
    } else {
        return false;
    }
    while (!haveNameByte) {
        if (depth < 0) return false;
        token = ReadToken(word, byte, true);
        if (token == kTokenFail) return false;
        if (token == kTokenOpen) {
            ++depth;
        } else if (token == kTokenClose) {
            --depth;
        } else if (token == kTokenWord) {
            if (word.Is("fcharset")) {
                font->charset = word.number;
            } else if (word.Is("panose")) {
                const int d = ReadRawChar();
                if (d == 0) return false;
                if (d >= '0' && d <= '9') UngetChar(d);
                for (int k = 0; k < 20; ++k) {
                    const int p = ReadRawChar();
                    if (p == 0) return false;
                    if (k % 2 == 1) font->panose[static_cast<size_t>(k / 2)] = static_cast<std::uint8_t>(p);
                }
            }
        } else if (depth == 0) {
            haveNameByte = true;
        }
    }
    if (depth < 0) return false;

    // The name, from the byte that ended the tokens (a quote token left its quote in the
    // input after the backslash).
    std::string name;
    int c = token == kTokenQuote ? '\\' : byte;
    bool closed = false;
    for (;;) {
        if (c == 0) return false;
        if (c == ';') break;
        if (c == '}') {
            closed = true;
            break;
        }
        if (c == '{') {
            ++depth;
            break;
        }
        if (c == '\\') {
            const int q = ReadRawChar();
            if (q == '\'') {
                auto lowerHex = [](int h) { return (h >= '0' && h <= '9') ? h - '0' : (h >= 'a' && h <= 'f') ? h - 'a' + 10 : -1; };
                const int h1 = lowerHex(ReadRawChar());
                const int h2 = lowerHex(ReadRawChar());
                if (h1 < 0 || h2 < 0) return false;
                if (name.size() < kMaxFaceBytes) name.push_back(static_cast<char>(h1 * 16 + h2));
            } else {
                if (q == 0) return false;
                UngetChar(q);
            }
        } else if (name.size() < kMaxFaceBytes) {
            name.push_back(static_cast<char>(c));
        }
        c = ReadChar();
    }
    // The rest of the entry, up to and including its closing brace.
    if (!closed) {
        int d = depth;
        for (;;) {
            const int r = ReadRawChar();
            if (r == 0) return false;
            if (r == '{') ++d;
            if (r == '}' && --d < 0) break;
        }
    }
    ApplyFaceRule(*font, name);
    m_fonts.Add(std::move(font));
    return true;
}

int CRtfReader::ReadColorTable()
{
    for (;;) {
        int c = ReadChar();
        while (c == ' ') c = ReadChar();
        if (c == 0) return 0;
        if (c == '}') {
            UngetChar(c);
            return 1;
        }
        if (c == ';') {
            m_colors.push_back(0);
            continue;
        }
        if (c != '\\') return 0;
        bool seen[3] = {false, false, false};
        std::uint32_t rgb[3] = {0, 0, 0};
        for (;;) {
            Word word;
            if (!ReadControlWord(word) || !word.hasNumber) return 0;
            int k = word.Is("red") ? 0 : word.Is("green") ? 1 : word.Is("blue") ? 2 : -1;
            if (k < 0 || seen[k]) return 0;
            seen[k] = true;
            rgb[k] = static_cast<std::uint32_t>(std::clamp(word.number, 0, 255));
            c = ReadChar();
            if (c == ';') break;
            if (c != '\\') return 0;
        }
        if (!(seen[0] && seen[1] && seen[2])) return 0;
        m_colors.push_back(rgb[0] | rgb[1] << 8 | rgb[2] << 16);
    }
}

// ---- objects and pictures ----

int CRtfReader::ReadObject()
{
    int depth = 1;
    bool taken = false;
    for (;;) {
        Word word;
        int byte = 0;
        const int token = ReadToken(word, byte, false);
        if (token == kTokenFail) return 0;
        if (token == kTokenOpen) {
            ++depth;
            if (!PushGroup()) return 0;
        } else if (token == kTokenClose) {
            --depth;
            if (!PopGroup()) return 0;
            // The object ends with its own group; what follows it in the enclosing group
            // is read as usual.
            if (depth <= 0) return 1;
        } else if (token == kTokenWord && word.Is("pict") && !taken) {
            taken = true;
            if (!ReadPicture(false, 0, 0, 0, 0)) return 0;
        } else if (token == kTokenQuote) {
            ReadRawChar(); // the quote; its digits pass as bytes
        }
    }
}

int CRtfReader::ReadPicture(bool fromShape, std::int32_t width, std::int32_t height, std::uint8_t wrapMode,
                            std::int32_t xOffset)
{
    std::int32_t picw = 0, pich = 0;
    int type = 0;
    bool taken = false;
    for (;;) {
        const int c = ReadChar();
        if (c == 0) return 0;
        if (c == '\\') {
            Word word;
            if (!ReadControlWord(word)) return 0;
            if (word.Is("pngblip")) type = 1;
            else if (word.Is("jpegblip")) type = 2;
            else if (word.Is("wmetafile")) type = 4;
            else if (word.Is("emfblip")) type = 5;
            else if (word.Is("picw")) picw = word.number;
            else if (word.Is("pich")) pich = word.number;
        } else if (c == '{') {
            if (!SkipGroup(1)) return 0;
        } else if (c == '}') {
            if (!taken) return 0;
            UngetChar(c);
            return 1;
        } else {
            UngetChar(c);
            if (!fromShape) {
                width = picw;
                height = pich;
            }
            const int written = WritePictureFile(type, fromShape, width, height, wrapMode, xOffset);
            if (written < 0) return 0;
            if (written == 0 && !SkipGroup(0)) return 0;
            taken = true;
        }
    }
}

int CRtfReader::WritePictureFile(int type, bool fromShape, std::int32_t width, std::int32_t height,
                                 std::uint8_t wrapMode, std::int32_t xOffset)
{
    const char* ext = type == 1 ? ".png" : type == 2 ? ".jpg" : type == 4 ? ".wmf" : type == 5 ? ".emf" : nullptr;
    if (!ext) return 0;
    const std::string path = plat::TempDirUtf8() + plat::Utf16ToUtf8(plat::NewGuid()) + ext;
    std::FILE* out = std::fopen(path.c_str(), "w+b");
    if (!out) return 0;
    // A picture that cannot be finished is closed and its file removed.
    auto fail = [&](int result) {
        std::fclose(out);
        std::remove(path.c_str());
        return result;
    };
    if (type == 4) {
        const auto w16 = static_cast<std::uint16_t>(width), h16 = static_cast<std::uint16_t>(height);
        const std::uint8_t header[22] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0,
                                         static_cast<std::uint8_t>(w16), static_cast<std::uint8_t>(w16 >> 8),
                                         static_cast<std::uint8_t>(h16), static_cast<std::uint8_t>(h16 >> 8),
                                         0xEC, 0x09, 0, 0, 0, 0, 0, 0};
        if (std::fwrite(header, 1, sizeof header, out) != sizeof header) return fail(0);
    }
    std::uint8_t buffer[4096];
    std::size_t used = 0;
    int high = -1;
    for (;;) {
        const int c = ReadChar();
        if (c == 0) return fail(-1);
        if (c == '}') {
            UngetChar(c);
            break;
        }
        const int v = HexValue(c);
        if (v < 0) continue;
        if (high < 0) {
            high = v;
            continue;
        }
        buffer[used++] = static_cast<std::uint8_t>(high * 16 + v);
        high = -1;
        if (used == sizeof buffer) {
            if (std::fwrite(buffer, 1, used, out) != used) return fail(0);
            used = 0;
        }
    }
    if (high >= 0) return fail(-1);
    if (used && std::fwrite(buffer, 1, used, out) != used) return fail(0);
    std::fclose(out);
    const std::string path936 = plat::Utf16ToCp936(plat::Utf8ToUtf16(path));
    if (fromShape)
        ImportInsertPicture(path936, width, height, wrapMode, xOffset);
    else
        ImportInsertPictureFile(path936, 0, 0);
    return 1;
}

int CRtfReader::ReadShape()
{
    std::int32_t left = 0, top = 0, right = 0, bottom = 0, wrapKind = 0, wrapSide = 0;
    bool done = false;
    const int startTop = m_stack.Top();
    for (;;) {
        if (done && m_stack.Top() < startTop) return 1;
        const int c = ReadChar();
        if (c == 0) return 0;
        if (c == '\\') {
            if (done) {
                if (!SkipGroup(0)) return 0;
                continue;
            }
            Word w;
            if (!ReadControlWord(w)) return 0;
            if (w.Is("shpleft")) left = w.number;
            else if (w.Is("shptop")) top = w.number;
            else if (w.Is("shpright")) right = w.number;
            else if (w.Is("shpbottom")) bottom = w.number;
            else if (w.Is("shpwr")) wrapKind = w.number;
            else if (w.Is("shpwrk")) wrapSide = w.number;
            else if (w.Is("pict")) {
                const std::uint8_t wrap = wrapKind < 2 ? 0 : wrapSide == 1 ? 1 : wrapSide == 2 ? 2 : 3;
                ReadPicture(true, ClampNumber(std::int64_t(right) - left), ClampNumber(std::int64_t(bottom) - top), wrap,
                            left);
                done = true;
            } else if (w.Is("sn")) {
                if (!SkipGroup(0)) return 0;
            } else if (w.Is("sv")) {
                int b;
                do b = ReadChar();
                while (b != 0 && b != '\\' && b != '{' && b != '}');
                if (b == 0) return 0;
                UngetChar(b);
            } else if (w.Is("shprslt")) {
                done = true;
            }
        } else if (c == '{') {
            if (done) {
                if (!SkipGroup(1)) return 0;
            } else if (!PushGroup()) {
                return 0;
            }
        } else if (c == '}') {
            if (!PopGroup()) return 0;
        }
    }
}

// ---- tables ----

int CRtfReader::ScanTable()
{
    const long start = GetInputPos();
    // The scan opens and closes groups of its own; the real reading does them again.
    const CRtfGroupStack savedStack = m_stack;
    const CRtfGroupState savedGroup = m_group;
    auto refuse = [&] {
        SetInputPos(start);
        m_stack = savedStack;
        m_group = savedGroup;
        return 0;
    };
    m_table = std::make_unique<CRtfTableState>();
    CRtfTableState& t = *m_table;
    m_nestedRows = 0;
    int k = 0;
    std::uint8_t alignment = 4;
    bool pardSeen = false, intblSeen = false;
    auto currentRow = [&]() -> CRtfTableRow* {
        return t.currentRow >= 0 && t.currentRow < CRtfTableState::kMaxRows ? &t.row[static_cast<size_t>(t.currentRow)]
                                                                             : nullptr;
    };
    auto cellAt = [&](int index) -> CRtfTableCell* {
        CRtfTableRow* row = currentRow();
        return row && index >= 0 && index < CRtfTableRow::kMaxCells ? &row->cells[static_cast<size_t>(index)] : nullptr;
    };
    for (;;) {
        const int c = ReadChar();
        if (c == 0) return refuse();
        if (c == '\\') {
            Word w;
            if (!ReadControlWord(w)) return refuse();
            if (w.Is("cellx")) {
                auto& b = t.boundaries;
                if (static_cast<int>(b.size()) < CRtfTableState::kMaxBoundaries) {
                    auto at = std::lower_bound(b.begin(), b.end(), w.number);
                    if (at == b.end() || *at != w.number) b.insert(at, w.number);
                }
                if (CRtfTableCell* cell = cellAt(k + 1)) cell->left = w.number;
                if (k < CRtfTableRow::kMaxCells) ++k;
            } else if (w.Is("clvmrg")) {
                if (CRtfTableCell* cell = cellAt(k)) cell->mergeUp = 1;
            } else if (w.Is("ql") || w.Is("qc") || w.Is("qr") || w.Is("qj")) {
                alignment = w.Is("ql") ? 1 : w.Is("qc") ? 3 : w.Is("qr") ? 2 : 4;
            } else if (w.Is("clvertalt") || w.Is("clvertalc") || w.Is("clvertalb")) {
                if (CRtfTableCell* cell = cellAt(k)) cell->verticalAlignment = w.Is("clvertalt") ? 16 : w.Is("clvertalc") ? 32 : 64;
            } else if (w.Is("cell")) {
                if (t.currentRow >= 0 && t.currentRow < CRtfTableState::kMaxRows && t.currentCell >= 0 &&
                    t.currentCell < CRtfTableRow::kMaxCells) {
                    CRtfTableRow& row = t.row[static_cast<size_t>(t.currentRow)];
                    row.cells[static_cast<size_t>(t.currentCell)].alignment = alignment;
                    ++row.cellCount;
                }
                if (t.currentCell < CRtfTableRow::kMaxCells) ++t.currentCell;
            } else if (w.Is("pard")) {
                pardSeen = true;
            } else if (w.Is("intbl")) {
                intblSeen = true;
            } else if (w.Is("trowd")) {
                if (m_nestedRows < INT32_MAX) ++m_nestedRows;
            } else if (w.Is("irow")) {
                k = 0;
                t.currentRow = w.number;
                t.currentCell = 0;
            } else if (w.Is("row")) {
                k = 0;
                pardSeen = intblSeen = false;
                if (t.rows < INT32_MAX) ++t.rows;
                if (t.currentRow < CRtfTableState::kMaxRows) ++t.currentRow;
                t.currentCell = 0;
                m_nestedRows = 0;
                // A table of 60 rows is refused however it ends: the scan stops here, so
                // that the scans of its later rows never read a long table again and again.
                if (t.rows >= kScanMaxRows) return refuse();
            }
        } else if (c == '{') {
            if (pardSeen != intblSeen) {
                UngetChar(c);
                t.endPos = GetInputPos();
                refuse();
                // A table with no row or no cell boundary has no grid to build.
                const bool accepted = t.rows > 0 && t.rows < kScanMaxRows && t.boundaries.size() < kScanMaxBoundaries &&
                                      t.boundaries.size() > 1;
                return accepted ? 1 : 0;
            }
            if (!PushGroup()) return refuse();
        } else if (c == '}') {
            if (!PopGroup()) return refuse();
        }
    }
}

void CRtfReader::SendRowMerges(int row)
{
    const CRtfTableState& t = *m_table;
    if (row < 0 || row >= CRtfTableState::kMaxRows) return;
    const CRtfTableRow& r = t.row[static_cast<size_t>(row)];
    std::vector<std::uint8_t> flags;
    int cursor = 0;
    for (size_t j = 0; j + 1 < t.boundaries.size(); ++j) {
        if (cursor < CRtfTableRow::kMaxCells && t.boundaries[j] == r.cells[static_cast<size_t>(cursor)].left) {
            flags.push_back(0);
            ++cursor;
        } else {
            flags.push_back(1);
        }
    }
    ImportMergeRowCells(row, flags);
}

int CRtfReader::BuildTable()
{
    const CRtfTableState& t = *m_table;
    std::vector<std::int32_t> widths;
    for (size_t j = 0; j + 1 < t.boundaries.size(); ++j)
        widths.push_back(ClampNumber(std::int64_t(t.boundaries[j + 1]) - t.boundaries[j]));
    ImportBeginTable(t.rows, static_cast<int>(widths.size()), widths);
    SendRowMerges(0);
    const CRtfTableCell& first = t.row[0].cells[0];
    ImportSetTableCell(0, 0, first.alignment, first.verticalAlignment, first.mergeUp);

    int row = 0, f = 0;
    bool ended = false;
    m_hexHigh = -1;
    while (GetInputPos() < t.endPos) {
        const int c = ReadChar();
        if (c == 0) break;
        if (c == '\\') {
            Word w;
            if (!ReadControlWord(w)) return 0;
            if (w.Is("trowd") || w.Is("row")) continue;
            if (!w.Is("cell")) {
                if (!DispatchControlWord(w)) return 0;
                continue;
            }
            if (ended) continue;
            ++f;
            const int cellsInRow = row < CRtfTableState::kMaxRows ? t.row[static_cast<size_t>(row)].cellCount : 0;
            if (f >= cellsInRow) {
                ++row;
                f = 0;
                if (row >= t.rows || row >= CRtfTableState::kMaxRows) {
                    ImportEndTable();
                    ended = true;
                    continue;
                }
                SendRowMerges(row);
            }
            const CRtfTableRow& r = t.row[static_cast<size_t>(row)];
            int column = 0, cursor = 0;
            for (size_t j = 0; j + 1 < t.boundaries.size() && cursor < CRtfTableRow::kMaxCells; ++j) {
                if (t.boundaries[j] == r.cells[static_cast<size_t>(cursor)].left) {
                    if (cursor == f) {
                        column = static_cast<int>(j);
                        break;
                    }
                    ++cursor;
                }
            }
            const CRtfTableCell& cell = r.cells[static_cast<size_t>(std::min(f, CRtfTableRow::kMaxCells - 1))];
            ImportSetTableCell(row, column, cell.alignment, cell.verticalAlignment, cell.mergeUp);
        } else if (c == '{') {
            if (!PushGroup()) return 0;
            ResetRunState();
            ImportSetFontSize(kGroupFontSize);
            ImportSetCharPosition(0);
        } else if (c == '}') {
            if (!PopGroup()) return 0;
        } else {
            ReadInnerByte(c);
        }
    }
    // A table whose rows never all closed is still placed, so no table stays in progress.
    if (!ended) ImportEndTable();
    return 1;
}

void CRtfReader::ReadInnerByte(int byte)
{
    if (m_group.readMode == CRtfGroupState::ReadMode::kHex)
        TakeHexDigit(byte);
    else
        PutChar(byte);
}

// ---- footnotes ----

int CRtfReader::ReadFootnote()
{
    if (m_footnotes.count >= CRtfFootnoteTable::kMaxEntries) return SkipGroup(0);
    CRtfFootnoteTable::Entry& entry = m_footnotes.entries[static_cast<size_t>(m_footnotes.count)];
    entry = CRtfFootnoteTable::Entry();
    entry.start = GetInputPos();
    const int startTop = m_stack.Top();
    bool sizeSet = false;
    for (;;) {
        const int c = ReadChar();
        if (c == 0) return 0;
        if (c == '\\') {
            Word w;
            if (!ReadControlWord(w)) return 0;
            if (w.Is("fs") && !sizeSet) {
                entry.size = SnapFontSize(std::int64_t(w.number) * 10);
                sizeSet = true;
            }
        } else if (c == '{') {
            if (!PushGroup()) return 0;
            ResetRunState();
            ImportSetFontSize(kGroupFontSize);
            ImportSetCharPosition(0);
        } else if (c == '}') {
            if (!PopGroup()) return 0;
            if (m_stack.Top() < startTop) break;
        }
    }
    const int number = m_footnotes.count + 1;
    ImportSetCharPosition(1);
    ImportInsertTextA(FootnoteMark(number));
    ImportSetCharPosition(0);
    entry.end = GetInputPos() - 1;
    ++m_footnotes.count;
    return 1;
}

int CRtfReader::ImportFootnotes()
{
    m_inFootnotePass = true;
    for (int i = 0; i < m_footnotes.count; ++i) ImportFootnote(i);
    m_inFootnotePass = false;
    return 1;
}

void CRtfReader::ImportFootnote(int index)
{
    const CRtfFootnoteTable::Entry& entry = m_footnotes.entries[static_cast<size_t>(index)];
    SetInputPos(entry.start);
    m_group.readMode = CRtfGroupState::ReadMode::kNormal;
    m_hexHigh = -1;
    ImportEndParagraph();
    bool firstBrace = true;
    while (GetInputPos() < entry.end) {
        const int c = ReadChar();
        if (c == 0) break;
        if (c == '\\') {
            if (!DoControlWord()) break;
            ImportSetFontSize(entry.size);
            ImportSetCharPosition(0);
        } else if (c == '{') {
            PushGroup();
            ResetRunState();
            if (firstBrace) {
                firstBrace = false;
                ImportSetCharPosition(0);
                ImportSetFontSize(kFootnoteNumberSize);
                ImportInsertTextA(FootnoteMark(index + 1));
                ImportSetFontSize(entry.size);
            }
        } else if (c == '}') {
            PopGroup();
        } else {
            ReadInnerByte(c);
        }
    }
}
