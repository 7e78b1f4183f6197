#include "spell/english_dictionary.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

#include "platform/base/byte_order.h"
#include "platform/base/system.h"
#include "spell/dictionary_io.h"
#include "spell/spell_distance.h"

namespace {

// Header fields (byte offsets and sizes).
constexpr std::size_t kTagOffset = 0;
constexpr std::size_t kTagBytes = 40;
constexpr std::size_t kNameOffset = 40;
constexpr std::size_t kNameBytes = 100;
constexpr std::size_t kCreatedOffset = 140;
constexpr std::size_t kWrittenOffset = 164;
constexpr std::size_t kDateBytes = 24;
constexpr std::size_t kLanguageOffset = 188;
constexpr std::size_t kLanguageBytes = 40;
constexpr std::size_t kMustBeZeroOffset = 228;
constexpr std::size_t kSecondTagOffset = 732;

// Record fields.
constexpr std::size_t kRecordKeyOffset = 38;
constexpr std::size_t kRecordReservedOffset = 56;
constexpr std::size_t kRecordFlagOffset = 76;
constexpr std::size_t kRecordLengthOffset = 80;

constexpr char16_t kOldTag[] = u"DEVUDAZU 1.0";
constexpr char16_t kOurTag[] = u"Quiln";
constexpr char16_t kLanguage[] = u"English (US)";

// Reads a UTF-16LE field of `units` units into out (which holds units + 1); returns the
// units before the first 0.
int ReadField(const std::uint8_t* p, int units, char16_t* out)
{
    int length = units;
    for (int k = 0; k < units; ++k) {
        out[k] = static_cast<char16_t>(plat::LoadU16(p + 2 * k));
        if (out[k] == 0 && length == units) length = k;
    }
    out[units] = 0;
    return length;
}

// Writes the string and its 0 into a field of `bytes` bytes, cut to fit.
void WriteField(std::uint8_t* p, std::size_t bytes, plat::StringView s)
{
    const std::size_t units = bytes / 2;
    std::size_t k = 0;
    for (; k < s.size() && k < units; ++k) {
        p[2 * k] = std::uint8_t(s[k]);
        p[2 * k + 1] = std::uint8_t(s[k] >> 8);
    }
    if (k < units) { p[2 * k] = 0; p[2 * k + 1] = 0; }
}

plat::StringView FieldString(const std::uint8_t* p, std::size_t bytes, char16_t* scratch)
{
    const int units = static_cast<int>(bytes / 2);
    return plat::StringView(scratch, static_cast<std::size_t>(ReadField(p, units, scratch)));
}

bool IsAcceptedTag(const std::uint8_t* p)
{
    char16_t scratch[kTagBytes / 2 + 1];
    const plat::StringView tag = FieldString(p, kTagBytes, scratch);
    return tag == kOldTag || tag == kOurTag;
}

char16_t FoldCase(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

// Order of the records: code units with A-Z taken as a-z.
int CompareNoCase(plat::StringView a, plat::StringView b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
        const char16_t x = FoldCase(a[k]);
        const char16_t y = FoldCase(b[k]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareExact(plat::StringView a, plat::StringView b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The letter-index key of a word: its first character with a-z upper-cased.
char16_t IndexKey(plat::StringView w)
{
    const char16_t c = w.empty() ? char16_t(0) : w[0];
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// The word up to its first space: a lookup never looks past it.
plat::StringView CutAtSpace(plat::StringView w)
{
    const auto space = w.find(u' ');
    return space == plat::StringView::npos ? w : w.substr(0, space);
}

plat::String TodayText()
{
    const std::time_t now = static_cast<std::time_t>(plat::Now());
    std::tm local {};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%m-%d-%Y", &local);
    return plat::AsciiToUtf16(text);
}

void DecodeRecord(const std::uint8_t* p, EnglishRecord& r)
{
    r.wordUnits = static_cast<std::uint8_t>(ReadField(p, kEnglishWordUnits, r.word));
    ReadField(p + kRecordKeyOffset, kEnglishKeyUnits, r.key);
    ReadField(p + kRecordReservedOffset, kEnglishReservedUnits, r.reserved);
    r.hasCapitals = plat::LoadI32(p + kRecordFlagOffset);
    r.length = plat::LoadI32(p + kRecordLengthOffset);
    r.letterMask = orthon::LetterMask(r.Word(), [](char16_t c) { return unsigned(c); });
}

// Zeros, then the flag, the length and each string up to its 0.
void EncodeRecord(const EnglishRecord& r, std::uint8_t* p)
{
    std::memset(p, 0, kEnglishRecordBytes);
    plat::StoreI32(p + kRecordFlagOffset, r.hasCapitals);
    plat::StoreI32(p + kRecordLengthOffset, r.length);
    WriteField(p, kEnglishWordUnits * 2, r.Word());
    WriteField(p + kRecordKeyOffset, kEnglishKeyUnits * 2, r.Key());
    WriteField(p + kRecordReservedOffset, kEnglishReservedUnits * 2,
               plat::StringView(r.reserved, std::char_traits<char16_t>::length(r.reserved)));
}

} // namespace

plat::StringView EnglishRecord::Key() const
{
    return plat::StringView(key, std::char_traits<char16_t>::length(key));
}

CEnglishDictionary::CEnglishDictionary() = default;

void CEnglishDictionary::Clear()
{
    m_header.fill(0);
    m_letterIndex.fill(0);
    std::vector<EnglishRecord>().swap(m_records);
    std::vector<EnglishRecord>().swap(m_added);
    m_sorted = true;
    m_suggestIndex.reset();
}

int CEnglishDictionary::Open(const plat::String& path)
{
    m_path = path;
    Clear();
    orthon::FileBytes bytes;
    switch (orthon::ReadWholeFile(path, bytes, kEnglishMaxFileBytes)) {
    case orthon::FileReadResult::kRead: break;
    case orthon::FileReadResult::kCannotOpen: return kDictCannotOpen;
    case orthon::FileReadResult::kTooLarge: return kDictOutOfMemory;
    }
    return Read(bytes.data.get(), bytes.size);
}

int CEnglishDictionary::Read(const std::uint8_t* data, std::size_t size)
{
    Clear();
    if (size < kEnglishHeaderBytes) return kDictBadHeader;
    const std::size_t n = (size - kEnglishHeaderBytes) / kEnglishRecordBytes;
    try {
        m_records.reserve(n + 1);
        orthon::PreferLargePages(m_records.data(), m_records.capacity() * sizeof(EnglishRecord));
        m_records.resize(n);
    } catch (const std::bad_alloc&) {
        Clear();
        return kDictOutOfMemory;
    }
    if (!IsAcceptedTag(data + kTagOffset) || !IsAcceptedTag(data + kSecondTagOffset)
        || plat::LoadI32(data + kMustBeZeroOffset) != 0) {
        Clear();
        return kDictBadHeader;
    }
    std::memcpy(m_header.data(), data, kEnglishHeaderBytes);
    const std::uint8_t* p = data + kEnglishHeaderBytes;
    for (std::size_t i = 0; i < n; ++i, p += kEnglishRecordBytes) DecodeRecord(p, m_records[i]);
    BuildLetterIndex();
    return kDictOk;
}

void CEnglishDictionary::BuildLetterIndex()
{
    m_letterIndex.fill(0);
    char16_t previous = 0;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const char16_t key = IndexKey(m_records[i].Word());
        if (key < kEnglishLetterIndexSize && key > previous)
            m_letterIndex[key] = static_cast<std::int32_t>(i);
        previous = key;
    }
    m_sorted = true;
    for (std::size_t i = 1; i < m_records.size() && m_sorted; ++i)
        m_sorted = CompareNoCase(m_records[i - 1].Word(), m_records[i].Word()) <= 0;
}

int CEnglishDictionary::CreateEmpty()
{
    Clear();
    return kDictOk;
}

int CEnglishDictionary::Find(plat::StringView word) const
{
    // The lookup copies the word into a buffer of 50 units: a longer word is not found.
    if (word.size() > static_cast<std::size_t>(kEnglishMaxLookupUnits)) return 0;
    const plat::StringView w = CutAtSpace(word);
    return (FindInRecords(w) || FindInAdded(w)) ? 1 : 0;
}

bool CEnglishDictionary::FindInRecords(plat::StringView w) const
{
    // A record with capitals accepts the word exactly, or a word that differs only by
    // capitals where the record has small letters at the first difference; a record
    // without capitals accepts the word in any case.
    const char16_t key = IndexKey(w);
    const std::size_t start = key < kEnglishLetterIndexSize
        ? static_cast<std::size_t>(m_letterIndex[key]) : 0;
    const std::size_t n = m_records.size();
    if (m_sorted) {
        // The records equal to the word without regard to case lie together; the walk
        // would reach them all and stop right after them.
        auto it = std::lower_bound(m_records.begin() + static_cast<std::ptrdiff_t>(start),
                                   m_records.end(), w,
                                   [](const EnglishRecord& r, plat::StringView x) {
                                       return CompareNoCase(r.Word(), x) < 0;
                                   });
        for (; it != m_records.end() && CompareNoCase(it->Word(), w) == 0; ++it)
            if (!it->hasCapitals || CompareExact(it->Word(), w) >= 0) return true;
        return false;
    }
    for (std::size_t pos = start; pos < n; ++pos) {
        const EnglishRecord& r = m_records[pos];
        if (r.hasCapitals) {
            const int exact = CompareExact(r.Word(), w);
            if (exact == 0) return true;
            if (exact < 0) continue;
        }
        const int folded = CompareNoCase(r.Word(), w);
        if (folded == 0) return true;
        if (folded > 0) return false;
    }
    return false;
}

bool CEnglishDictionary::FindInAdded(plat::StringView w) const
{
    for (const EnglishRecord& r : m_added) {
        if (r.hasCapitals ? CompareExact(r.Word(), w) == 0 : CompareNoCase(r.Word(), w) == 0)
            return true;
    }
    return false;
}

int CEnglishDictionary::Add(plat::StringView word)
{
    std::size_t first = 0;
    std::size_t last = word.size();
    while (first < last && IsBlank(word[first])) ++first;
    while (last > first && IsBlank(word[last - 1])) --last;
    const plat::StringView w = word.substr(first, last - first);
    if (w.size() > static_cast<std::size_t>(kEnglishMaxWordChars)) return kDictWordTooLong;
    try {
        EnglishRecord r;
        std::copy(w.begin(), w.end(), r.word);
        const auto zero = w.find(char16_t(0));
        r.wordUnits = static_cast<std::uint8_t>(zero == plat::StringView::npos ? w.size() : zero);
        r.hasCapitals = std::any_of(w.begin(), w.end(),
                                    [](char16_t c) { return c >= u'A' && c <= u'Z'; }) ? 1 : 0;
        r.length = static_cast<std::int32_t>(w.size());
        const plat::String key = PhoneticKey(w, kPhoneticKeyCodes);
        std::copy(key.begin(), key.end(), r.key);
        r.letterMask = orthon::LetterMask(r.Word(), [](char16_t c) { return unsigned(c); });
        m_added.push_back(r);
    } catch (const std::bad_alloc&) {
        return kDictOutOfMemory;
    }
    return kDictOk;
}

int CEnglishDictionary::WriteTo(const plat::String& path)
{
    std::vector<std::uint8_t> file;
    try {
        std::vector<const EnglishRecord*> collected;
        collected.reserve(m_added.size() + m_records.size() + 1);
        for (const EnglishRecord& r : m_added) collected.push_back(&r);
        for (const EnglishRecord& r : m_records)
            if (r.wordUnits > 0) collected.push_back(&r);
        std::stable_sort(collected.begin(), collected.end(),
                         [](const EnglishRecord* a, const EnglishRecord* b) {
                             return CompareNoCase(a->Word(), b->Word()) < 0;
                         });

        const plat::String today = TodayText();
        if (std::all_of(m_header.begin(), m_header.end(), [](std::uint8_t b) { return b == 0; })) {
            WriteField(&m_header[kTagOffset], kTagBytes, kOurTag);
            WriteField(&m_header[kNameOffset], kNameBytes, kOurTag);
            WriteField(&m_header[kSecondTagOffset], kTagBytes, kOurTag);
            WriteField(&m_header[kCreatedOffset], kDateBytes, today);
            WriteField(&m_header[kLanguageOffset], kLanguageBytes, kLanguage);
            plat::StoreI32(&m_header[kMustBeZeroOffset], 0);
        }
        WriteField(&m_header[kWrittenOffset], kDateBytes, today);

        file.resize(kEnglishHeaderBytes + collected.size() * kEnglishRecordBytes);
        std::memcpy(file.data(), m_header.data(), kEnglishHeaderBytes);
        std::uint8_t* p = file.data() + kEnglishHeaderBytes;
        for (const EnglishRecord* r : collected) {
            EncodeRecord(*r, p);
            p += kEnglishRecordBytes;
        }
    } catch (const std::bad_alloc&) {
        return kDictOutOfMemory;
    }
    return orthon::ReplaceFile(path, file.data(), file.size()) ? kDictOk : kDictCannotOpen;
}

int CEnglishDictionary::Save()
{
    const int result = WriteTo(m_path);
    // Reading the written file back merges the added records into the sorted ones; a
    // failed write keeps what is in memory.
    if (result == kDictOk) Open(plat::String(m_path));
    return result;
}
