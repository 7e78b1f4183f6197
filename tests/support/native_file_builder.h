// Builds whole native files section by section from record bytes, independently of the
// document's writer, so that tests can make the files no editor writes: hostile media
// links, items that do not match their characters, names that are not GUIDs, references
// out of range, bytes after the body. Items and annotations are given as the file is to
// hold them; nothing is checked or corrected here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/record_builder.h"

namespace testsupport {

// A GUID-form name that stays the same from run to run, numbered so that names differ.
inline plat::String FixedGuid(int n)
{
    std::string digits = std::to_string(n);
    digits.insert(digits.begin(), 12 - digits.size(), '0');
    return plat::AsciiToUtf16("00000000-0000-4000-8000-" + digits);
}

class NativeFileBuilder {
public:
    enum Store { kImages, kVideos, kAudio };
    // The stamp of every item and record, so that the bytes never change.
    static constexpr std::int32_t kTime = 1700000000;

    NativeFileBuilder& Link(Store store, plat::StringView key, std::int32_t kind, plat::StringView link)
    {
        RecordBuilder& r = m_stores[store];
        r.Str(key).U32(kTime).U32(kTime).I32(0).I32(kind).Str(u"").Str(u"").Str(link);
        ++m_storeCounts[store];
        return *this;
    }
    NativeFileBuilder& Author(std::int32_t id, plat::StringView name)
    {
        m_authors.I32(id).Str(name).I32(kTime);
        ++m_authorCount;
        return *this;
    }
    NativeFileBuilder& Annotation(std::int32_t author, plat::StringView text)
    {
        m_annotations.I32(author).I32(kTime).Str(text);
        ++m_annotationCount;
        return *this;
    }
    // The body's container name, and the name its stored caret and selection anchor give.
    NativeFileBuilder& BodyName(plat::StringView name)
    {
        m_bodyName = plat::String(name);
        return *this;
    }
    // One character item of the given type, in the running format.
    NativeFileBuilder& Char(std::uint16_t type, char16_t code)
    {
        Item(type).I16(static_cast<std::int16_t>(code));
        return *this;
    }
    NativeFileBuilder& Chars(std::uint16_t type, plat::StringView codes)
    {
        for (char16_t c : codes) Char(type, c);
        return *this;
    }
    // A paragraph end of the given type (0xFF12 in the middle of a flow) and name.
    NativeFileBuilder& ParaEnd(std::uint16_t type, plat::StringView name)
    {
        Item(type);
        ParaFormat(m_items).Str(name);
        return *this;
    }
    // Bytes the file holds after its body.
    NativeFileBuilder& Trailer(const Bytes& bytes)
    {
        m_trailer = bytes;
        return *this;
    }

    // Header (version 1.1, no password), the three stores, an unused palette, the author
    // table, the annotations, then the body: its flow and the final paragraph end, and no
    // objects.
    Bytes Build() const
    {
        RecordBuilder file;
        file.Raw(std::string("Quiln", 5)).Zeros(4).U8(1).U8(1).I16(0).Zeros(16).U8(1);
        file.I32(200).I32(287).I32(20).I32(20).I32(20).I32(20);
        file.Str(u"宋体").I32(180).U8(1).U8(0).Str(u"").Str(u"宋体").I32(180).U8(0).U8(0);
        file.U32(0).U32(0x00FFFF00).Zeros(64);
        for (int s = 0; s < 3; ++s) file.I32(m_storeCounts[s]).Raw(m_stores[s].Get());
        file.Zeros(2 * 31 * 4);
        file.I32(m_authorCount).Raw(m_authors.Get());
        file.I32(m_annotationCount).Raw(m_annotations.Get());

        CharFormat(file);
        ParaFormat(file);
        file.I32(0).Str(m_bodyName).I32(0).Str(m_bodyName); // caret and anchor
        RecordBuilder items(m_items);
        items.I16(static_cast<std::int16_t>(0xFF11)).U8(0).I32(kTime);
        ParaFormat(items).Str(FixedGuid(9999));
        file.Str(m_bodyName).I32(m_itemCount + 1).Raw(items.Get());
        file.I32(0); // objects
        return file.Raw(m_trailer).Get();
    }

private:
    // The entry's type, no format of its own (the running one), the time stamp.
    RecordBuilder& Item(std::uint16_t type)
    {
        ++m_itemCount;
        return m_items.I16(static_cast<std::int16_t>(type)).U8(0).I32(kTime);
    }
    // Faces, size, bold, italic, underline, colour (automatic), position, inserted-by, deleted-by,
    // annotation, reserved.
    static RecordBuilder& CharFormat(RecordBuilder& r)
    {
        return r.Str(u"宋体").Str(u"Arial").I16(210).U8(0).U8(0).U8(0).U32(0x80000001u).U8(0).I16(0).I16(0).I16(0).Zeros(16);
    }
    // Alignment, spacing, first, left and right indents.
    static RecordBuilder& ParaFormat(RecordBuilder& r) { return r.U8(0).U8(0).I32(0).I32(0).I32(0); }

    RecordBuilder m_stores[3];
    std::int32_t m_storeCounts[3] = {0, 0, 0};
    RecordBuilder m_authors;
    std::int32_t m_authorCount = 0;
    RecordBuilder m_annotations;
    std::int32_t m_annotationCount = 0;
    plat::String m_bodyName = FixedGuid(1);
    RecordBuilder m_items;
    std::int32_t m_itemCount = 0;
    Bytes m_trailer;
};

} // namespace testsupport
