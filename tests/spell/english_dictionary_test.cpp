// The English dictionary file: header checks, records, lookups with their case rules,
// added words, and the writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "spell/english_dictionary.h"
#include "tests/spell/spell_test_support.h"

namespace {

namespace fs = std::filesystem;
using plat::String;
using Bytes = std::vector<std::uint8_t>;

String U(const char* s) { return plat::Utf8ToUtf16(s); }

void PutString(Bytes& b, std::size_t offset, plat::StringView s)
{
    for (std::size_t k = 0; k < s.size(); ++k) {
        b[offset + 2 * k] = static_cast<std::uint8_t>(s[k]);
        b[offset + 2 * k + 1] = static_cast<std::uint8_t>(s[k] >> 8);
    }
}

void PutI32(Bytes& b, std::size_t offset, std::int32_t v)
{
    for (int k = 0; k < 4; ++k) b[offset + k] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k));
}

std::int32_t GetI32(const Bytes& b, std::size_t offset)
{
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= std::uint32_t(b[offset + k]) << (8 * k);
    return static_cast<std::int32_t>(v);
}

// The string of a field: units up to the first 0 or the field's end.
String GetString(const Bytes& b, std::size_t offset, std::size_t bytes)
{
    String s;
    for (std::size_t k = 0; k + 1 < bytes; k += 2) {
        const char16_t c = static_cast<char16_t>(b[offset + k] | (b[offset + k + 1] << 8));
        if (c == 0) break;
        s += c;
    }
    return s;
}

Bytes Header(const char16_t* tag = u"Quiln", const char16_t* secondTag = u"Quiln", std::int32_t check = 0)
{
    Bytes b(kEnglishHeaderBytes, 0);
    PutString(b, 0, tag);
    PutString(b, 732, secondTag);
    PutI32(b, 228, check);
    return b;
}

// A record as a file holds it; the key is made by the library's own rules.
void AppendRecord(Bytes& b, plat::StringView word, bool capitals)
{
    const std::size_t at = b.size();
    b.resize(at + kEnglishRecordBytes, 0);
    PutString(b, at, word);
    PutString(b, at + 38, CEnglishDictionary::PhoneticKey(word));
    PutI32(b, at + 76, capitals ? 1 : 0);
    PutI32(b, at + 80, static_cast<std::int32_t>(word.size()));
}

Bytes FileOf(std::initializer_list<const char*> words)
{
    Bytes b = Header();
    for (const char* w : words) {
        const String s = U(w);
        AppendRecord(b, s, std::any_of(s.begin(), s.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; }));
    }
    return b;
}

CEnglishDictionary Read(const Bytes& b)
{
    CEnglishDictionary d;
    EXPECT_EQ(d.Read(b.data(), b.size()), kDictOk);
    return d;
}

Bytes ReadFile(const fs::path& p)
{
    const std::string bytes = spelltest::ReadFileBytes(p);
    return Bytes(bytes.begin(), bytes.end());
}

class EnglishFiles : public testing::Test {
protected:
    void SetUp() override { m_dir = spelltest::FreshTestFolder(); }
    void TearDown() override { plat::SetClockSource({}); }
    String PathOf(const char* name) const { return plat::Utf8ToUtf16((m_dir / name).string()); }
    fs::path m_dir;
};

TEST(EnglishDictionaryRead, CountsWholeRecordsAndIgnoresTheRest)
{
    Bytes b = FileOf({"alpha", "beta", "gamma"});
    b.resize(b.size() + 40, 0xAB);
    const CEnglishDictionary d = Read(b);
    ASSERT_EQ(d.Records().size(), 3u);
    EXPECT_EQ(d.Records()[2].Word(), u"gamma");
    EXPECT_TRUE(d.Find(u"gamma"));
}

TEST(EnglishDictionaryRead, AcceptsOnlyKnownHeaders)
{
    struct Case {
        const char* what;
        Bytes bytes;
        int result;
    } cases[] = {
        {"old and new tag", Header(u"DEVUDAZU 1.0", u"Quiln"), kDictOk},
        {"new and old tag", Header(u"Quiln", u"DEVUDAZU 1.0"), kDictOk},
        {"unknown first tag", Header(u"Quilt", u"Quiln"), kDictBadHeader},
        {"missing second tag", Header(u"Quiln", u""), kDictBadHeader},
        {"tag with a suffix", Header(u"Quiln2", u"Quiln"), kDictBadHeader},
        {"non-zero check field", Header(u"Quiln", u"Quiln", 1), kDictBadHeader},
    };
    for (Case& c : cases) {
        AppendRecord(c.bytes, u"word", false);
        CEnglishDictionary d;
        EXPECT_EQ(d.Read(c.bytes.data(), c.bytes.size()), c.result) << c.what;
        EXPECT_EQ(d.Records().empty(), c.result != kDictOk) << c.what;
    }
    // Shorter than a header: refused the same way.
    const Bytes whole = Header();
    for (std::size_t size : {std::size_t(0), std::size_t(1), kEnglishHeaderBytes - 1}) {
        CEnglishDictionary d;
        EXPECT_EQ(d.Read(whole.data(), size), kDictBadHeader) << size;
    }
}

TEST(EnglishDictionaryRead, FieldsWithoutTerminatorsStayInsideTheirSlots)
{
    Bytes b = Header();
    AppendRecord(b, u"x", false);
    // Fill every string field of the record up to its end, with no 0 anywhere.
    for (std::size_t k = kEnglishHeaderBytes; k < kEnglishHeaderBytes + 76; k += 2) {
        b[k] = 'z';
        b[k + 1] = 0;
    }
    PutI32(b, kEnglishHeaderBytes + 80, -7); // a nonsense stored length
    const CEnglishDictionary d = Read(b);
    EXPECT_EQ(d.Records()[0].Word(), String(kEnglishWordUnits, u'z'));
    EXPECT_EQ(d.Records()[0].Key(), String(kEnglishKeyUnits, u'z'));
    EXPECT_FALSE(d.Find(String(kEnglishWordUnits + 1, u'z')));
    std::vector<String> list;
    d.Suggest(u"zzzzzzzzzzzzzzzzzzz", list);
    d.Suggest(u"qqq", list);
}

struct FindCase {
    const char* word;
    bool found;
};

void ExpectFinds(const CEnglishDictionary& d, std::initializer_list<FindCase> cases, const char* what)
{
    for (const FindCase& c : cases) EXPECT_EQ(d.Find(U(c.word)) != 0, c.found) << what << ": " << c.word;
}

TEST(EnglishDictionaryFind, CapitalsInARecordMustBeMatched)
{
    ExpectFinds(Read(FileOf({"Paris"})), {{"Paris", true}, {"PARIS", true}, {"paris", false}, {"pARIS", false}},
                "Paris");
    ExpectFinds(Read(FileOf({"paris"})), {{"Paris", true}, {"PARIS", true}, {"paris", true}, {"pari", false}},
                "paris");
    ExpectFinds(Read(FileOf({"nasa"})), {{"nasa", true}, {"Nasa", true}, {"NASA", true}}, "nasa");
    ExpectFinds(Read(FileOf({"McDonald"})),
                {{"McDonald", true}, {"MCDONALD", true}, {"Mcdonald", false}, {"mcdonald", false}}, "McDonald");
    // Both spellings of a word with and without capitals.
    ExpectFinds(Read(FileOf({"polish", "Polish"})), {{"polish", true}, {"Polish", true}, {"POLISH", true}},
                "polish");
    ExpectFinds(Read(FileOf({"can", "cane"})), {{"can do", true}, {"cane", true}, {"ca", false}, {"", false}},
                "can");
}

TEST(EnglishDictionaryFind, AddedRecordsMatchExactlyOrWithoutCase)
{
    CEnglishDictionary d;
    d.CreateEmpty();
    d.Add(u"Paris");
    d.Add(u"nasa");
    ExpectFinds(d, {{"Paris", true}, {"PARIS", false}, {"paris", false}, {"NASA", true}, {"Nasa", true}},
                "added");
}

TEST(EnglishDictionaryFind, UnsortedFileIsWalkedAsStored)
{
    // The walk from the letter index stops at the first record after the word, so a
    // record out of order is not reached.
    const CEnglishDictionary d = Read(FileOf({"b", "a", "c"}));
    ExpectFinds(d, {{"b", true}, {"c", true}, {"a", false}}, "unsorted");
}

TEST(EnglishDictionaryFind, SortedLookupAgreesWithTheWalk)
{
    // The same records once in writer order (looked up by halving) and once with one more
    // record out of order at the end (walked as stored): every other word is found alike.
    std::mt19937 rng(11);
    auto randomWord = [&] { return spelltest::RandomWord(rng, u"aAbBc'", 1, 5); };
    CEnglishDictionary writer;
    writer.CreateEmpty();
    for (int k = 0; k < 300; ++k) writer.Add(randomWord());
    const String path = plat::TempDir() + u"walk.riv";
    ASSERT_EQ(writer.WriteTo(path), kDictOk);
    CEnglishDictionary sorted;
    ASSERT_EQ(sorted.Open(path), kDictOk);

    Bytes unsortedBytes = ReadFile(plat::Utf16ToUtf8(path));
    AppendRecord(unsortedBytes, u"'", false);
    const CEnglishDictionary walked = Read(unsortedBytes);

    int found = 0;
    for (int k = 0; k < 3000; ++k) {
        const String w = randomWord();
        if (w == u"'") continue;
        ASSERT_EQ(sorted.Find(w), walked.Find(w)) << plat::Utf16ToUtf8(w);
        found += sorted.Find(w);
    }
    EXPECT_GT(found, 300);
}

TEST(EnglishDictionaryAdd, TrimsAndRefusesLongWords)
{
    CEnglishDictionary d;
    d.CreateEmpty();
    EXPECT_EQ(d.Add(u"  word  "), kDictOk);
    ASSERT_EQ(d.AddedRecords().size(), 1u);
    EXPECT_EQ(d.AddedRecords()[0].Word(), u"word");
    EXPECT_EQ(d.AddedRecords()[0].length, 4);
    EXPECT_EQ(d.Add(String(18, u'x')), kDictOk);
    EXPECT_EQ(d.Add(String(19, u'x')), kDictWordTooLong);
    EXPECT_EQ(d.Add(u"word"), kDictOk); // no look-up first: two records
    EXPECT_EQ(d.AddedRecords().size(), 3u);
}

TEST_F(EnglishFiles, WriterSortsMergesAndStampsTheHeader)
{
    plat::SetManualClock(std::int64_t(1796731200) * 1000); // 8 December 2026, noon UTC
    const String path = PathOf("QlUser.dic");
    {
        CEnglishDictionary d;
        d.CreateEmpty();
        d.Add(u"zeta");
        ASSERT_EQ(d.WriteTo(path), kDictOk);
    }
    CEnglishDictionary d;
    ASSERT_EQ(d.Open(path), kDictOk);
    d.Add(u"Alpha");
    ASSERT_EQ(d.Save(), kDictOk);
    EXPECT_TRUE(d.AddedRecords().empty());
    ASSERT_EQ(d.Records().size(), 2u);

    const Bytes b = ReadFile(m_dir / "QlUser.dic");
    ASSERT_EQ(b.size(), kEnglishHeaderBytes + 2 * kEnglishRecordBytes);
    EXPECT_EQ(GetString(b, 0, 40), u"Quiln");
    EXPECT_EQ(GetString(b, 40, 100), u"Quiln");
    EXPECT_EQ(GetString(b, 140, 24), u"12-08-2026");
    EXPECT_EQ(GetString(b, 164, 24), u"12-08-2026");
    EXPECT_EQ(GetString(b, 188, 40), u"English (US)");
    EXPECT_EQ(GetI32(b, 228), 0);
    EXPECT_EQ(GetString(b, 732, 40), u"Quiln");
    const std::size_t alpha = kEnglishHeaderBytes;
    const std::size_t zeta = alpha + kEnglishRecordBytes;
    EXPECT_EQ(GetString(b, alpha, 38), u"Alpha");
    EXPECT_EQ(GetString(b, alpha + 38, 18), u"LF");
    EXPECT_EQ(GetI32(b, alpha + 76), 1);
    EXPECT_EQ(GetI32(b, alpha + 80), 5);
    EXPECT_EQ(GetString(b, zeta, 38), u"zeta");
    EXPECT_EQ(GetI32(b, zeta + 76), 0);

    // A later rewrite changes the date of the last write only.
    plat::SetManualClock(std::int64_t(1800014400) * 1000); // 15 January 2027
    d.Add(u"beta");
    ASSERT_EQ(d.Save(), kDictOk);
    const Bytes again = ReadFile(m_dir / "QlUser.dic");
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 164, again.begin()));
    EXPECT_EQ(GetString(again, 164, 24), u"01-15-2027");
    EXPECT_TRUE(std::equal(b.begin() + 188, b.begin() + kEnglishHeaderBytes, again.begin() + 188));
}

TEST_F(EnglishFiles, WriterKeepsHeaderAndReservedFieldsAndClearsSlack)
{
    Bytes b = Header(u"DEVUDAZU 1.0", u"DEVUDAZU 1.0");
    PutString(b, 40, u"Their name");
    b[500] = 0x5A; // reserved header bytes are written back as read
    AppendRecord(b, u"kept", false);
    PutString(b, kEnglishHeaderBytes + 56, u"note");
    b[kEnglishHeaderBytes + 20] = 0x77; // garbage after the word's 0
    AppendRecord(b, u"", false);        // a record without a word is dropped
    const CEnglishDictionary read = Read(b);
    CEnglishDictionary d = read;
    const String path = PathOf("old.riv");
    ASSERT_EQ(d.WriteTo(path), kDictOk);

    const Bytes out = ReadFile(m_dir / "old.riv");
    ASSERT_EQ(out.size(), kEnglishHeaderBytes + kEnglishRecordBytes);
    EXPECT_EQ(GetString(out, 0, 40), u"DEVUDAZU 1.0");
    EXPECT_EQ(GetString(out, 40, 100), u"Their name");
    EXPECT_EQ(out[500], 0x5A);
    EXPECT_EQ(GetString(out, 140, 24), u""); // a header that was not all zero gets no creation date
    EXPECT_EQ(GetString(out, kEnglishHeaderBytes + 56, 20), u"note");
    const std::size_t r = kEnglishHeaderBytes;
    EXPECT_TRUE(std::all_of(out.begin() + r + 10, out.begin() + r + 38, [](std::uint8_t x) { return x == 0; }));
}

TEST_F(EnglishFiles, FailedWriteLeavesTheOldFileAndNoLeftovers)
{
    CEnglishDictionary d;
    d.CreateEmpty();
    d.Add(u"word");
    EXPECT_EQ(d.WriteTo(PathOf("missing/QlUser.dic")), kDictCannotOpen);
    // A folder where the file should be: it cannot be replaced and stays as it is.
    fs::create_directories(m_dir / "QlUser.dic" / "inside");
    EXPECT_EQ(d.WriteTo(PathOf("QlUser.dic")), kDictCannotOpen);
    EXPECT_TRUE(fs::is_directory(m_dir / "QlUser.dic" / "inside"));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"QlUser.dic"});
    // A failed Save keeps the added word in memory.
    EXPECT_EQ(d.Open(PathOf("QlUser.dic")), kDictCannotOpen);
    d.Add(u"word");
    EXPECT_EQ(d.Save(), kDictCannotOpen);
    EXPECT_TRUE(d.Find(u"word"));
}

TEST_F(EnglishFiles, OpenReportsMissingAndOversizedFilesAndKeepsThePath)
{
    CEnglishDictionary d;
    EXPECT_EQ(d.Open(PathOf("absent.riv")), kDictCannotOpen);
    EXPECT_EQ(d.Path(), PathOf("absent.riv"));
    fs::create_directories(m_dir / "folder.riv");
    EXPECT_EQ(d.Open(PathOf("folder.riv")), kDictCannotOpen);
    // A valid header followed by far more records than any dictionary holds (a sparse
    // file, so nothing is written to the disk): refused, not held in memory.
    const Bytes header = Header();
    {
        std::ofstream out(m_dir / "huge.riv", std::ios::binary);
        out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    }
    fs::resize_file(m_dir / "huge.riv", kEnglishMaxFileBytes + 1);
    EXPECT_EQ(d.Open(PathOf("huge.riv")), kDictOutOfMemory);
    EXPECT_TRUE(d.Records().empty());
}

} // namespace
