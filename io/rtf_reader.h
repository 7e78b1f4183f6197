// The RTF reader: reads RTF text (a file, or the clipboard's "Rich Text Format" block) and
// turns it into content through the document's import sink (document/import_sink.h):
// page setup, character and paragraph formats, text, paragraph ends, pictures, shapes,
// tables and footnotes. The caller prepares the sink for its document first, runs one
// read, and the reader flushes the sink when it is done.
//
// The reader expects 8-bit text in code page 936: a \ansicpg other than 936 ends the
// import. Bold, italic, underline, colour, size and position are not inherited through
// groups: every opening brace resets them and a closing brace does not restore them;
// faces and paragraph settings carry on.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/strings.h"

// What a group saves and restores.
struct CRtfGroupState {
    // The next two bytes are the hexadecimal digits of a \'hh byte.
    enum class ReadMode : std::uint8_t { kNormal, kHex };
    ReadMode readMode = ReadMode::kNormal;
    // The \uc value; kept with the group only.
    std::int32_t unicodeSkip = 1;
};

// The open groups: a fixed table, so deep nesting can never grow memory.
class CRtfGroupStack {
public:
    static constexpr int kCapacity = 2048;
    bool Push(const CRtfGroupState& state);
    bool Pop(CRtfGroupState& state);
    int Top() const { return m_top; }

private:
    std::array<CRtfGroupState, kCapacity> m_states{};
    int m_top = -1;
};

struct CRtfReaderFont {
    std::int32_t number = 0;
    std::int32_t family = 0;  // 0 fnil .. 7 fbidi
    std::int32_t charset = 0;
    std::array<std::uint8_t, 10> panose{};
    plat::String chineseFace;
    plat::String westernFace;
};

class CRtfReaderFontList {
public:
    void Add(std::unique_ptr<CRtfReaderFont> font) { m_fonts.push_back(std::move(font)); }
    // The first font of the number, or null.
    const CRtfReaderFont* FindFont(std::int32_t number) const;
    int GetCount() const { return static_cast<int>(m_fonts.size()); }

private:
    std::vector<std::unique_ptr<CRtfReaderFont>> m_fonts;
};

// A table's cells as the scan ahead found them.
struct CRtfTableCell {
    std::uint8_t alignment = 4;           // 1 left, 2 right, 3 centre, 4 justify
    std::uint8_t verticalAlignment = 32;  // 16 top, 32 middle, 64 bottom
    std::uint8_t mergeUp = 0;
    std::int32_t left = 0;                // twips
};

struct CRtfTableRow {
    static constexpr int kMaxCells = 100;
    std::array<CRtfTableCell, kMaxCells> cells{};
    int cellCount = 0;  // \cell words seen in the row
};

struct CRtfTableState {
    static constexpr int kMaxRows = 100;
    static constexpr int kMaxBoundaries = 99;
    int rows = 0;
    int currentRow = 0;
    int currentCell = 0;
    std::array<CRtfTableRow, kMaxRows> row{};
    std::vector<std::int32_t> boundaries{0};
    long endPos = 0;
};

struct CRtfFootnoteTable {
    static constexpr int kMaxEntries = 100;
    struct Entry {
        long start = 0;
        long end = 0;
        std::uint16_t size = 180;
    };
    std::array<Entry, kMaxEntries> entries{};
    int count = 0;
};

class CRtfReader {
public:
    CRtfReader();
    ~CRtfReader();
    CRtfReader(const CRtfReader&) = delete;
    CRtfReader& operator=(const CRtfReader&) = delete;

    // A file named in code page 936: 0 when it cannot be opened (nothing sent). Sends the
    // default page setup first. 1 when the text was read to its end, 0 when the import
    // stopped at an error (what came before stays).
    int ReadFile(const std::string& path);
    // The bytes of a clipboard block; no page setup.
    int ReadBuffer(const std::uint8_t* data, std::size_t length);

    // Size in twips (from \fs half-points times ten) snapped to the sizes the editor offers.
    static std::uint16_t SnapFontSize(std::int64_t size);

private:
    // ---- input ----
    int ReadRawChar();
    int ReadChar();
    void UngetChar(int b);
    long GetInputPos() const;
    void SetInputPos(long pos);

    // ---- tokens ----
    struct Word {
        std::string name;
        std::int32_t number = 0;
        bool hasNumber = false;
        bool Is(const char* w) const { return name == w; }
    };
    bool ReadControlWord(Word& word);
    enum Token : int { kTokenFail = -1, kTokenOpen = 1, kTokenClose = 2, kTokenWord = 3, kTokenByte = 4, kTokenQuote = 5 };
    int ReadToken(Word& word, int& byte, bool skipBlanks);
    int SkipGroup(int consumeClose);
    bool PushGroup();
    bool PopGroup();
    void ResetRunState();

    int Parse();
    int DoControlWord();
    int DispatchControlWord(const Word& word);
    // The run's bold, italic, underline and colour to the sink, before a character.
    void HandRunFormat();
    void PutChar(int byte);
    void PutText(const char* cp936);
    // One character by its code (\uN, and single bytes that are no code page 936 text).
    void PutUnicode(char16_t code);
    // A lead byte left without its second byte was a single-byte character: it goes out.
    void FlushLoneByte();
    void EndParagraph();
    // A byte in hex read mode: true when it was a digit (the byte goes out after two).
    bool TakeHexDigit(int byte);

    int ReadFontTable();
    bool ReadFontEntry();
    int ReadColorTable();

    // ---- pictures, shapes, tables, footnotes ----
    int ReadObject();
    int ReadPicture(bool fromShape, std::int32_t width, std::int32_t height, std::uint8_t wrapMode,
                    std::int32_t xOffset);
    int WritePictureFile(int type, bool fromShape, std::int32_t width, std::int32_t height, std::uint8_t wrapMode,
                         std::int32_t xOffset);
    int ReadShape();
    int ScanTable();
    int BuildTable();
    void SendRowMerges(int row);
    int ReadFootnote();
    int ImportFootnotes();
    void ImportFootnote(int index);
    // The body of a table or footnote pass: one byte of text or structure.
    void ReadInnerByte(int byte);

    // The input: a file, or a buffer.
    std::FILE* m_file = nullptr;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_length = 0;
    std::size_t m_pos = 0;

    CRtfGroupStack m_stack;
    CRtfGroupState m_group;
    CRtfReaderFontList m_fonts;
    std::vector<std::uint32_t> m_colors;
    const CRtfReaderFont* m_font = nullptr;

    // Run state, handed to the sink before every character.
    std::int32_t m_bold = 0;
    std::int32_t m_italic = 0;
    std::int32_t m_underline = 0;
    std::int32_t m_color = 0;

    // Paragraph state.
    bool m_paraChanged = false;
    std::int32_t m_firstIndent = 0;
    std::int32_t m_leftIndent = 0;
    std::int32_t m_rightIndent = 0;
    std::uint8_t m_alignment = 0;

    // The lead byte of a code page 936 pair.
    int m_leadByte = 0;
    // The first digit of a \\'hh byte read so far, or -1.
    int m_hexHigh = -1;
    bool m_noLeadPending = true;
    // Characters still to skip after \uN: its stand-in for readers without Unicode.
    std::int32_t m_unicodeSkipLeft = 0;

    std::unique_ptr<CRtfTableState> m_table;
    int m_nestedRows = 0;
    CRtfFootnoteTable m_footnotes;
    // Set while the footnote pass runs, where a footnote word is not read again.
    bool m_inFootnotePass = false;
};
