#include <gtest/gtest.h>

#include "document/doc_header.h"
#include "platform/base/system.h"
#include "platform/ui/message_box.h"
#include "tests/support/record_builder.h"

using testsupport::Bytes;
using testsupport::ReadBy;
using testsupport::RecordBuilder;
using testsupport::WrittenBy;

namespace {

constexpr std::int64_t kPinnedTime = 1700000000;
// The runtime's generator seeded with kPinnedTime gives this first value.
constexpr std::int16_t kSaltOfPinnedTime = 28462;

// Pins the clock, clears the message boxes and the password prompt; restores all after.
class DocHeaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetManualClock(std::int64_t(kPinnedTime) * 1000);
        plat::ClearMessageBoxLog();
        SetPasswordPrompt({});
    }
    void TearDown() override
    {
        plat::SetClockSource({});
        plat::SetRandomSource({});
        plat::SetMessageBoxHandler({});
        plat::ClearMessageBoxLog();
        SetPasswordPrompt({});
    }

    // The record of a new document, built field by field as the file format lays it out.
    static RecordBuilder NewDocumentRecord(std::int16_t salt)
    {
        RecordBuilder r;
        r.Raw(std::string("Quiln", 5)).Zeros(4).U8(1).U8(1).I16(salt).Zeros(16).U8(1);
        r.I32(200).I32(287).I32(20).I32(20).I32(20).I32(20);
        r.Str(u"宋体").I32(180).U8(1).U8(0);
        r.Str(u"").Str(u"宋体").I32(180).U8(0).U8(0);
        r.U32(0).U32(0x00FFFF00).Zeros(64);
        return r;
    }

    // Loads the bytes into a header and returns what Load said; the header is left for
    // the caller to inspect.
    static bool LoadInto(CDocHeader& header, const Bytes& bytes)
    {
        bool ok = false;
        ReadBy(bytes, [&](plat::Archive& ar) { ok = header.Load(ar); });
        return ok;
    }

    static std::vector<plat::String> Messages()
    {
        std::vector<plat::String> texts;
        for (const auto& box : plat::GetMessageBoxLog()) {
            EXPECT_EQ(box.caption, u"") << "the default caption";
            EXPECT_EQ(box.style, plat::kMbOk);
            texts.push_back(box.text);
        }
        return texts;
    }

    static Bytes Stored(const CDocHeader& h)
    {
        return WrittenBy([&](plat::Archive& ar) { h.Store(ar); });
    }
};

TEST_F(DocHeaderTest, NewDocumentBytesArePinned)
{
    // The salt is the generator's first value after seeding with the current time.
    CDocHeader header;
    EXPECT_EQ(header.GetSalt(), kSaltOfPinnedTime);
    const Bytes expected = NewDocumentRecord(kSaltOfPinnedTime).Get();
    EXPECT_EQ(Stored(header), expected);
    // The fixed part ends where the page-number face begins.
    EXPECT_EQ(expected[54], 0xFF);
    EXPECT_EQ(header.GetFileVersion(), 257);
    EXPECT_FALSE(header.HasPassword());

    // With the random source replaced, the salt is what it gives (here a value that is
    // negative as int16).
    plat::SetRandomSource([] { return 0xBEEF; });
    CDocHeader other;
    EXPECT_EQ(Stored(other), NewDocumentRecord(static_cast<std::int16_t>(0xBEEF)).Get());
}

TEST_F(DocHeaderTest, RoundTripOfEverySetting)
{
    CDocHeader header;
    header.m_flag = 0;
    header.m_paperWidth = 287;
    header.m_paperHeight = 200;
    header.m_marginLeft = 5;
    header.m_marginTop = 6;
    header.m_marginRight = 7;
    header.m_marginBottom = 8;
    header.m_pageNumberFace = u"楷体";
    header.m_pageNumberSize = 240;
    header.m_pageNumberStyle = CDocHeader::kPageOnly;
    header.m_pageNumberOnFirst = 1;
    header.m_headerText = u"眉文 header";
    header.m_headerFace = u"黑体";
    header.m_headerSize = 315;
    header.m_headerRule = CDocHeader::kDoubleRule;
    header.m_headerOnFirst = 1;
    header.m_defaultTextColor = 0x00123456;
    header.m_defaultFillColor = 0x00FFFFFF;
    EXPECT_TRUE(header.SetPassword(u"口令"));
    const Bytes bytes = Stored(header);

    SetPasswordPrompt([] { return plat::String(u"口令"); });
    plat::SetManualClock((std::int64_t(kPinnedTime) + 99) * 1000); // another salt for the reader
    CDocHeader back;
    ASSERT_NE(back.GetSalt(), header.GetSalt());
    std::uint64_t left = 1;
    ReadBy(bytes, [&](plat::Archive& ar) {
        EXPECT_TRUE(back.Load(ar));
        left = ar.Remaining();
    });
    EXPECT_EQ(left, 0u);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(back.GetSalt(), header.GetSalt()) << "the file's salt is kept";
    EXPECT_EQ(back.GetDigest(), header.GetDigest());
    EXPECT_EQ(Stored(back), bytes);
}

TEST_F(DocHeaderTest, AcceptedVariants)
{
    // Three arbitrary bytes after the magic; version 1.0 (and 0.x) read by the same code.
    struct Case { Bytes bytes; int version; };
    Bytes anyTail = NewDocumentRecord(3).Get();
    anyTail[6] = 0xAB; anyTail[7] = 0xCD; anyTail[8] = 0xEF;
    Bytes v10 = NewDocumentRecord(3).Get();
    v10[10] = 0;
    Bytes v05 = NewDocumentRecord(3).Get();
    v05[9] = 0; v05[10] = 5;
    const Case cases[] = {{anyTail, 257}, {v10, 256}, {v05, 5}};
    for (const Case& c : cases) {
        CDocHeader header;
        EXPECT_TRUE(LoadInto(header, c.bytes));
        EXPECT_EQ(header.GetFileVersion(), c.version);
        EXPECT_EQ(header.GetSalt(), 3);
        EXPECT_EQ(Stored(header)[10], 1) << "written with this code's version";
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DocHeaderTest, RefusalsShowTheirMessageAndKeepTheHeader)
{
    CDocHeader protectedHeader;
    protectedHeader.m_paperWidth = 150;
    protectedHeader.SetPassword(u"对的");
    const Bytes protectedFile = Stored(protectedHeader);

    struct Case { const char* what; Bytes bytes; const char16_t* message; };
    auto withVersion = [](int major, int minor) {
        Bytes b = NewDocumentRecord(1).Get();
        b[9] = static_cast<std::uint8_t>(major);
        b[10] = static_cast<std::uint8_t>(minor);
        return b;
    };
    Bytes wrongMagic = NewDocumentRecord(1).Get();
    wrongMagic[4] = 'm';
    Bytes noZero = NewDocumentRecord(1).Get();
    noZero[5] = ' ';
    const Case cases[] = {
        {"wrong magic", wrongMagic, u"非法文件"},
        {"no zero after the magic", noZero, u"非法文件"},
        {"shorter than the magic", Bytes{'Q', 'u', 'i', 'l'}, u"非法文件"},
        {"empty file", Bytes{}, u"非法文件"},
        {"version 1.2", withVersion(1, 2), u"本软件的版本号是1.1；该文件的版本号时1.2，请升级软件。"},
        {"version 2.0", withVersion(2, 0), u"本软件的版本号是1.1；该文件的版本号时2.0，请升级软件。"},
        {"wrong password", protectedFile, u"口令错误，无法打开文件。"},
    };
    SetPasswordPrompt([] { return plat::String(u"错的"); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::ClearMessageBoxLog();
        CDocHeader header;
        const Bytes before = Stored(header);
        EXPECT_FALSE(LoadInto(header, c.bytes));
        EXPECT_EQ(Messages(), std::vector<plat::String>{c.message});
        EXPECT_EQ(Stored(header), before) << "a refused file changes nothing, its digest included";
        EXPECT_EQ(header.GetFileVersion(), 257);
    }

    // No prompt installed: the password is empty, and the file refused the same way.
    SetPasswordPrompt({});
    plat::ClearMessageBoxLog();
    CDocHeader header;
    EXPECT_FALSE(LoadInto(header, protectedFile));
    EXPECT_EQ(Messages(), std::vector<plat::String>{u"口令错误，无法打开文件。"});
    // The right password opens it.
    SetPasswordPrompt([] { return plat::String(u"对的"); });
    EXPECT_TRUE(LoadInto(header, protectedFile));
    EXPECT_EQ(header.m_paperWidth, 150);
    EXPECT_TRUE(header.HasPassword());
}

TEST_F(DocHeaderTest, DamagedRecordsRaiseTheArchiveErrorAndChangeNothing)
{
    const Bytes good = NewDocumentRecord(9).Get();
    // Every cut after the magic ends inside the record.
    for (size_t n = CDocHeader::kMagicSize; n < good.size(); ++n) {
        CDocHeader header;
        const Bytes before = Stored(header);
        EXPECT_THROW(LoadInto(header, Bytes(good.begin(), good.begin() + static_cast<long>(n))),
                     plat::ArchiveException) << n;
        EXPECT_EQ(Stored(header), before) << n;
    }

    // Values no page can have.
    struct Case { const char* what; size_t offset; std::int32_t value; };
    const Case cases[] = {
        {"paper width 0", 30, 0}, {"negative paper height", 34, -287},
        {"paper wider than 10 m", 30, 10001}, {"negative margin", 42, -1},
        {"margin beyond any paper", 50, 20000},
    };
    for (const Case& c : cases) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i) b[c.offset + static_cast<size_t>(i)] = static_cast<std::uint8_t>(c.value >> (8 * i));
        CDocHeader header;
        const Bytes before = Stored(header);
        try {
            LoadInto(header, b);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const plat::ArchiveException& e) {
            EXPECT_EQ(e.GetCause(), plat::ArchiveException::kBadSchema) << c.what;
        }
        EXPECT_EQ(Stored(header), before) << c.what;
    }
    // Styles beyond the three of each kind: the page-number style follows the face and
    // its size, the header rule the header face and its size.
    const size_t pageNumberStyle = 54 + 8 + 4;             // after "宋体" and the size
    const size_t headerRule = pageNumberStyle + 2 + 4 + 8 + 4; // after "", "宋体", size
    ASSERT_EQ(good[pageNumberStyle], CDocHeader::kPageOfPages);
    ASSERT_EQ(good[headerRule - 4], 180);
    for (size_t offset : {pageNumberStyle, headerRule}) {
        Bytes b = good;
        b[offset] = 3;
        CDocHeader header;
        EXPECT_THROW(LoadInto(header, b), plat::ArchiveException) << offset;
    }

    // Any single flipped bit: accepted, refused or raised, never more; and the header
    // changes only when accepted.
    for (size_t bit = 0; bit < good.size() * 8; ++bit) {
        Bytes b = good;
        b[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        CDocHeader header;
        const Bytes before = Stored(header);
        bool ok = false;
        try {
            ok = LoadInto(header, b);
        } catch (const plat::ArchiveException&) {
        }
        if (!ok) {
            EXPECT_EQ(Stored(header), before) << bit;
        }
    }
}

TEST_F(DocHeaderTest, SetCheckAndRemoveThePassword)
{
    CDocHeader header;
    EXPECT_FALSE(header.HasPassword());
    EXPECT_TRUE(header.SetPassword(u"口令"));
    EXPECT_TRUE(header.HasPassword());
    EXPECT_EQ(header.GetDigest(), DigestPassword(header.GetSalt(), u"口令"));
    const PasswordDigest first = header.GetDigest();
    header.SetPassword(u"口令");
    EXPECT_EQ(header.GetDigest(), first) << "the salt never changes for a header";
    EXPECT_TRUE(header.CheckPassword(u"口令"));
    EXPECT_FALSE(header.CheckPassword(u"别的"));

    EXPECT_FALSE(header.RemovePassword(u"别的"));
    EXPECT_TRUE(header.HasPassword());
    EXPECT_EQ(Messages(), std::vector<plat::String>{u"口令错误，无法解除保护。"});
    EXPECT_TRUE(header.RemovePassword(u"口令"));
    EXPECT_FALSE(header.HasPassword());
    EXPECT_EQ(Messages().size(), 1u);

    // Removing the protection and saving writes an all-zero digest.
    const Bytes bytes = Stored(header);
    EXPECT_EQ(Bytes(bytes.begin() + 13, bytes.begin() + 29), Bytes(16, 0));
}

} // namespace
