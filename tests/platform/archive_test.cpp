#include <gtest/gtest.h>

#include <random>

#include "platform/base/system.h"
#include "platform/file/archive.h"

using plat::Archive;
using plat::ArchiveException;
using plat::MemFile;
using plat::String;
using Bytes = std::vector<std::uint8_t>;

namespace {

template <class F>
Bytes Store(F&& write)
{
    MemFile mem;
    {
        Archive ar(mem, Archive::kStore);
        write(ar);
        ar.Close();
    }
    return mem.Data();
}

ArchiveException::Cause LoadCause(const Bytes& data, const std::function<void(Archive&)>& read)
{
    MemFile mem(data);
    Archive ar(mem, Archive::kLoad);
    try {
        read(ar);
    } catch (const ArchiveException& e) {
        return e.GetCause();
    }
    return ArchiveException::Cause(0);
}

Bytes Prefix(const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + n); }

} // namespace

TEST(Archive, IntegersAreLittleEndian)
{
    Bytes b = Store([](Archive& ar) {
        ar << std::uint8_t(0xAB) << std::int16_t(-2) << std::uint16_t(0x1234)
           << std::int32_t(-1) << std::uint32_t(0x01020304) << 1.5;
    });
    Bytes want = {0xAB, 0xFE, 0xFF, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01,
                  0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
    EXPECT_EQ(b, want);

    MemFile mem(b);
    Archive ar(mem, Archive::kLoad);
    std::uint8_t u8; std::int16_t i16; std::uint16_t u16; std::int32_t i32; std::uint32_t u32; double d;
    ar >> u8 >> i16 >> u16 >> i32 >> u32 >> d;
    EXPECT_EQ(u8, 0xAB); EXPECT_EQ(i16, -2); EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i32, -1); EXPECT_EQ(u32, 0x01020304u); EXPECT_EQ(d, 1.5);
    EXPECT_EQ(LoadCause(b, [](Archive& a) { a.Read(nullptr, 0); a.ReadU8(); a.ReadU8(); }), 0);
}

TEST(Archive, StringLengthFormsArePinned)
{
    // marker FF FE FF, then the length in the shortest form that can hold it
    struct Case { size_t length; Bytes head; };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {1, {0xFF, 0xFE, 0xFF, 0x01}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        String s(c.length, u'\0');
        for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char16_t>(u'你' + (i % 7));
        Bytes b = Store([&](Archive& ar) { ar << s; });
        ASSERT_EQ(b.size(), c.head.size() + 2 * c.length) << c.length;
        EXPECT_EQ(Prefix(b, c.head.size()), c.head) << c.length;
        if (c.length) {
            EXPECT_EQ(b[c.head.size()], 0x60); // 你 = U+4F60, low byte first
            EXPECT_EQ(b[c.head.size() + 1], 0x4F);
        }
        MemFile mem(b);
        Archive ar(mem, Archive::kLoad);
        EXPECT_EQ(ar.ReadString(), s) << c.length;
        EXPECT_EQ(ar.Remaining(), 0u);
    }
}

TEST(Archive, ReadsTheUnmarked8BitForm)
{
    struct Case { Bytes data; String want; };
    const Case cases[] = {
        {{0x00}, u""},
        {{0x03, 'a', 'b', 'c'}, u"abc"},
        {{0x04, 0xC4, 0xE3, 0xBA, 0xC3}, u"你好"},
        {{0xFF, 0x02, 0x00, 'h', 'i'}, u"hi"},                    // uint16 length
        {{0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 'z'}, u"z"},  // uint32 length
    };
    for (const auto& c : cases) {
        MemFile mem(c.data);
        Archive ar(mem, Archive::kLoad);
        EXPECT_EQ(ar.ReadString(), c.want);
    }
}

TEST(Archive, TruncatedDataRaisesEndOfFile)
{
    Bytes b = Store([](Archive& ar) {
        ar << std::int32_t(7) << String(u"名字") << std::uint16_t(3) << 2.0 << String(300, u'x');
    });
    auto readAll = [](Archive& ar) {
        ar.ReadI32(); ar.ReadString(); ar.ReadU16(); ar.ReadDouble(); ar.ReadString();
    };
    EXPECT_EQ(LoadCause(b, readAll), 0);
    for (size_t n = 0; n < b.size(); ++n)
        EXPECT_EQ(LoadCause(Prefix(b, n), readAll), ArchiveException::kEndOfFile) << "cut at " << n;
}

TEST(Archive, HugeLengthsAreRefusedBeforeAllocating)
{
    // A uint32 length of 0x7FFFFFFF characters in a 12-byte file.
    Bytes bad = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0};
    EXPECT_EQ(LoadCause(bad, [](Archive& ar) { ar.ReadString(); }), ArchiveException::kEndOfFile);
    // A repeated marker is not a string.
    Bytes twice = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00};
    EXPECT_EQ(LoadCause(twice, [](Archive& ar) { ar.ReadString(); }), ArchiveException::kBadSchema);
    MemFile mem(Bytes(10));
    Archive ar(mem, Archive::kLoad);
    EXPECT_NO_THROW(ar.Require(10));
    EXPECT_THROW(ar.Require(11), ArchiveException);
}

TEST(Archive, WrongDirectionIsRefused)
{
    MemFile mem;
    Archive store(mem, Archive::kStore);
    EXPECT_THROW(store.ReadU8(), ArchiveException);
    MemFile mem2(Bytes{1, 2});
    Archive load(mem2, Archive::kLoad);
    EXPECT_THROW(load.WriteU8(1), ArchiveException);
}

TEST(Archive, CrossesBufferBoundariesAndFilesRoundTrip)
{
    // Values that straddle the 4096-byte buffer, written to a real file and read back.
    std::mt19937 rng(7);
    std::vector<String> strings;
    std::vector<std::uint32_t> numbers;
    for (int i = 0; i < 400; ++i) {
        String s(rng() % 600, u'a');
        for (auto& ch : s) ch = static_cast<char16_t>(0x20 + rng() % 0x9000);
        strings.push_back(s);
        numbers.push_back(rng());
    }
    String path = plat::TempDir() + u"archive-roundtrip.bin";
    {
        plat::File f(path, plat::File::kWrite | plat::File::kCreate);
        Archive ar(f, Archive::kStore);
        for (size_t i = 0; i < strings.size(); ++i) ar << numbers[i] << strings[i] << std::uint8_t(i);
        std::vector<std::uint8_t> big(10000, 0x5A);
        ar.Write(big.data(), big.size());
        ar.Close();
    }
    plat::File f(path, plat::File::kRead);
    Archive ar(f, Archive::kLoad);
    for (size_t i = 0; i < strings.size(); ++i) {
        ASSERT_EQ(ar.ReadU32(), numbers[i]);
        ASSERT_EQ(ar.ReadString(), strings[i]);
        ASSERT_EQ(ar.ReadU8(), std::uint8_t(i));
    }
    std::vector<std::uint8_t> big(10000);
    ar.Read(big.data(), big.size());
    EXPECT_EQ(big, std::vector<std::uint8_t>(10000, 0x5A));
    EXPECT_EQ(ar.Remaining(), 0u);
    EXPECT_THROW(ar.ReadU8(), ArchiveException);
    EXPECT_TRUE(plat::File::Remove(path));
}

TEST(Files, OpenFailuresAndMemoryFiles)
{
    plat::File f;
    plat::FileException::Cause cause{};
    EXPECT_FALSE(f.TryOpen(u"/nonexistent-folder/x.qln", plat::File::kRead, &cause));
    EXPECT_EQ(cause, plat::FileException::kFileNotFound);
    EXPECT_THROW(plat::File(plat::TempDir(), plat::File::kRead), plat::FileException);

    MemFile mem;
    mem.Seek(5, plat::Stream::kBegin);
    mem.Write("ab", 2);
    EXPECT_EQ(mem.GetLength(), 7u);
    EXPECT_EQ(mem.Data()[5], 'a');
    mem.Seek(0, plat::Stream::kBegin);
    char buf[10];
    EXPECT_EQ(mem.Read(buf, 10), 7u);
    EXPECT_THROW(mem.Seek(-1, plat::Stream::kBegin), plat::FileException);
}
