// Helpers of the text-model tests: pinned clock and GUIDs, archives in memory, hex bytes.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/base/system.h"
#include "platform/file/archive.h"

namespace textmodel {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kPinnedTime = 1700000000; // 0x6553F100

// The n-th pinned GUID: 00000000-0000-4000-8000-00000000000n (n in hex, 12 digits).
inline std::string PinnedGuid(int n)
{
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012x", n);
    return text;
}

// Pins the clock and the GUID source for the life of the object, then restores both.
class PinnedSources {
public:
    explicit PinnedSources(std::int64_t time = kPinnedTime)
    {
        plat::SetManualClock(std::int64_t(time) * 1000);
        plat::SetGuidSource([this] { return plat::AsciiToUtf16(PinnedGuid(++m_guids)); });
    }
    ~PinnedSources()
    {
        plat::SetClockSource({});
        plat::SetGuidSource({});
    }
    PinnedSources(const PinnedSources&) = delete;
    PinnedSources& operator=(const PinnedSources&) = delete;

private:
    int m_guids = 0;
};

inline Bytes Store(const std::function<void(plat::Archive&)>& write)
{
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        write(ar);
        ar.Close();
    }
    return mem.Data();
}

// Runs the reader over the bytes and returns how many bytes it left unread.
inline std::uint64_t LoadFrom(const Bytes& bytes, const std::function<void(plat::Archive&)>& read)
{
    plat::MemFile mem(bytes);
    plat::Archive ar(mem, plat::Archive::kLoad);
    read(ar);
    return ar.Remaining();
}

// "0A ff 12" -> bytes; spaces, newlines and '|' separators are ignored.
inline Bytes Hex(const std::string& text)
{
    Bytes out;
    int high = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

// The UTF-16LE bytes of ASCII text, as hex.
inline std::string Utf16Hex(const std::string& ascii)
{
    std::string out;
    char b[8];
    for (char c : ascii) {
        std::snprintf(b, sizeof b, "%02X 00 ", static_cast<unsigned char>(c));
        out += b;
    }
    return out;
}

inline std::string ToHex(const Bytes& bytes)
{
    std::string out;
    char b[4];
    for (std::uint8_t v : bytes) {
        std::snprintf(b, sizeof b, "%02X ", v);
        out += b;
    }
    return out;
}

inline plat::ArchiveException::Cause CauseOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const plat::ArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no archive exception";
    return plat::ArchiveException::kGeneric;
}

// Two authors (ids 5 and 7 after an anonymous first record), deleted text, an annotation
// with its anchor, paragraph ends with formats:
//   a b c d | ^ e f $     a, b by record 1, c, d and e, f by record 2; b and c deleted;
//                         e, f annotated, the anchor marks the annotation
struct SampleContainer {
    CQlDoc doc;
    std::unique_ptr<CNamedContainer> box;

    SampleContainer()
    {
        doc.GetAuthors().Append(0, u"");
        doc.GetAuthors().Append(5, u"甲");
        doc.GetAuthors().Append(7, u"乙");
        box = std::make_unique<CNamedContainer>(&doc, nullptr);
        CCharFormat f(&doc);
        int at = 0;
        doc.SetCurAuthorIndex(1);
        box->InsertString(at, u"ab", f);
        doc.SetCurAuthorIndex(2);
        f.m_bold = 1;
        box->InsertString(at, u"cd\r", f);
        box->GetItem(1)->SetDeletedBy(2);
        box->GetItem(2)->SetDeletedBy(2);
        auto anchor = std::make_unique<CAnchorItem>(box.get());
        anchor->SetAnnotation(1);
        anchor->SetTime(1234);
        box->InsertItem(at++, std::move(anchor));
        f.m_annotation = 1;
        f.m_color = 0x00C000;
        box->InsertString(at, u"ef", f);
        auto end = std::make_unique<CParaEndItem>(box.get(), kItemFinalParaEnd);
        CParaFormat p;
        p.m_align = 4;
        p.m_spacing = 2;
        p.m_firstIndent = 420;
        end->SetParaFormat(p);
        end->SetTime(99);
        box->AddItem(std::move(end));
        auto* mid = dynamic_cast<CParaEndItem*>(box->GetItem(4));
        CParaFormat centred;
        centred.m_align = 3;
        mid->SetParaFormat(centred);
        for (int i = 0; i < box->GetCount(); ++i)
            if (box->GetItem(i)->GetTime() == 0) box->GetItem(i)->SetTime(1000 + i);
    }
};

// One character an item: the code, '|' a paragraph end, '/' a page-break paragraph end,
// '$' the final paragraph end, '^' an anchor.
inline std::string Describe(const CNamedContainer& c)
{
    plat::String out;
    for (int i = 0; i < c.GetCount(); ++i) {
        const CTextItem* item = c.GetItem(i);
        switch (item->GetNodeType()) {
        case kItemParaEnd: out += u'|'; break;
        case kItemParaPageBreak: out += u'/'; break;
        case kItemFinalParaEnd: out += u'$'; break;
        case kItemAnchor: out += u'^'; break;
        default: out += item->GetCode(); break;
        }
    }
    return plat::Utf16ToUtf8(out);
}

inline Bytes SaveBox(CNamedContainer& box, int mode)
{
    return Store([&](plat::Archive& ar) {
        CCharFormat running(box.GetDoc());
        box.Save(ar, running, mode);
    });
}

} // namespace textmodel
