// Character and paragraph formats: values copied freely, compared field by field and
// written in a compact record whose extent depends on the archive mode.
#pragma once
#include <cstddef>
#include <cstdint>

#include "document/doc_node.h"

// The document's automatic text colour.
constexpr std::int32_t kAutoTextColor = static_cast<std::int32_t>(0x80000001u);
constexpr std::int32_t kAutoFillColor = static_cast<std::int32_t>(0x80000002u);

// Field ids of SetFormatField and SetCharFormat.
enum FormatField : int {
    kFieldChineseFace = 1,
    kFieldWesternFace = 2,
    kFieldSize = 3,
    kFieldBold = 4,
    kFieldItalic = 5,
    kFieldUnderline = 6,
    kFieldColor = 7,
    kFieldPosition = 8,
};

// Underline kinds and script positions the format may hold.
constexpr std::uint8_t kUnderlineMax = 3;  // 0 none, 1 single, 2 double, 3 dotted
constexpr std::uint8_t kPositionMax = 2;   // 0 normal, 1 superscript, 2 subscript

class CCharFormat : public CDocNode {
public:
    explicit CCharFormat(CDocContext* doc = nullptr);
    // Copies every field, the revision fields included; a copy has the source's document.
    CCharFormat(const CCharFormat& other);
    // Copies every field; the document stays this format's own.
    CCharFormat& operator=(const CCharFormat& other);
    ~CCharFormat() override = default;

    CDocContext* GetDoc() const override { return m_doc; }
    void SetDoc(CDocContext* doc) { m_doc = doc; }

    // 0 when every field is equal (faces compared exactly), else 1.
    int Differs(const CCharFormat& other) const;
    bool operator==(const CCharFormat& other) const { return Differs(other) == 0; }
    // Sets the one field named by the id to its value in `values`; false for other ids.
    bool SetField(int fieldId, const CCharFormat& values);

    // Mode 3 carries no revision fields; mode 1 adds 16 reserved bytes. Loading in mode 3
    // stamps the document's current author and keeps deleted-by and annotation.
    void Load(plat::Archive& ar, int mode);
    // A mode-4 save writes the mode-1 record (nothing is saved for inserting).
    void Save(plat::Archive& ar, int mode) const;

    // What a load checks the revision fields against: the current author for mode 3 and,
    // in modes 1 and 2, how many author records the document holds (-1: not checked).
    struct LoadRules {
        std::int16_t currentAuthor = 0;
        int authorCount = -1;
    };
    static LoadRules RulesFor(const CDocContext* doc, int mode);
    void Load(plat::Archive& ar, int mode, const LoadRules& rules);

    String m_chineseFace;
    String m_westernFace;
    std::uint16_t m_size = 210;
    std::uint8_t m_bold = 0;
    std::uint8_t m_italic = 0;
    std::uint8_t m_underline = 0;
    std::int32_t m_color = kAutoTextColor;
    std::uint8_t m_position = 0;
    std::int16_t m_insertedBy = 0;
    std::int16_t m_deletedBy = 0;
    std::int16_t m_annotation = 0; // number in the annotation list + 1; 0 and -1 mean none

private:
    CDocContext* m_doc;
};

// A hash over every field Differs compares, for sharing equal formats.
std::size_t HashCharFormat(const CCharFormat& f);

// Line-spacing codes 0-5 add these gaps (twips) to the tallest character of a line.
constexpr std::uint16_t kLineSpacingGap[6] = {0, 52, 105, 157, 210, 315};
constexpr std::uint8_t kAlignMax = 4;   // 0 unset, 1 left, 2 right, 3 centre, 4 justify
constexpr std::uint8_t kSpacingMax = 5;

class CParaFormat {
public:
    CParaFormat() = default;
    CParaFormat(const CParaFormat&) = default;
    CParaFormat& operator=(const CParaFormat&) = default;
    virtual ~CParaFormat() = default;
    bool operator==(const CParaFormat&) const = default;

    // The same 14 bytes in every mode.
    void Load(plat::Archive& ar, int mode);
    void Save(plat::Archive& ar, int mode) const;

    std::uint8_t m_align = 0;
    std::uint8_t m_spacing = 0;
    std::int32_t m_firstIndent = 0;
    std::int32_t m_leftIndent = 0;
    std::int32_t m_rightIndent = 0;
};
