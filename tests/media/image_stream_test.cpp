#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "media/image_stream.h"

namespace {

TEST(ImageStream, MemoryBlockGrowsInWholeSteps)
{
    CRasterImageFile one(CRasterImageFile::kMemory);
    EXPECT_EQ(one.Capacity(), 0);
    EXPECT_EQ(one.PutByte(0x1FF), 0xFF);
    EXPECT_EQ(one.Capacity(), 4096);

    std::vector<std::uint8_t> bytes(4097, 7);
    CRasterImageFile more(CRasterImageFile::kMemory);
    EXPECT_EQ(more.Write(bytes.data(), 1, bytes.size()), bytes.size());
    EXPECT_EQ(more.Capacity(), 8192);
    EXPECT_EQ(more.Size(), 4097);
    EXPECT_EQ(more.Write(bytes.data(), 0, 5), 0u);
}

TEST(ImageStream, SeekPastTheEndLeavesAZeroGap)
{
    const std::uint8_t five[5] = {1, 2, 3, 4, 5};
    CRasterImageFile s(five, 5);
    EXPECT_EQ(s.Seek(10, SEEK_END), 0);
    EXPECT_EQ(s.Tell(), 15);
    std::uint8_t b = 0xAA;
    EXPECT_EQ(s.Read(&b, 1, 1), 0u);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.PutByte(9), 9);
    EXPECT_EQ(s.Size(), 16);
    EXPECT_EQ(s.Data()[10], 0);
    EXPECT_EQ(s.Data()[15], 9);
}

TEST(ImageStream, PartialItemsAreConsumedButNotCounted)
{
    std::uint8_t ten[10];
    for (int i = 0; i < 10; ++i) ten[i] = static_cast<std::uint8_t>(i);
    CRasterImageFile s(ten, 10);
    std::uint8_t out[12] = {};
    EXPECT_EQ(s.Read(out, 4, 3), 2u);
    EXPECT_EQ(s.Tell(), 10);
    EXPECT_EQ(out[9], 9);
}

TEST(ImageStream, SeeksOutsideTheRulesAreRefused)
{
    CRasterImageFile s(CRasterImageFile::kMemory);
    EXPECT_EQ(s.Seek(0, 3), -1);
    EXPECT_EQ(s.Seek(-1, SEEK_SET), -1);
    EXPECT_EQ(s.Seek(4, SEEK_CUR), 0);
    EXPECT_EQ(s.Seek(-5, SEEK_CUR), -1);
    EXPECT_EQ(s.Tell(), 4);
    // A write that would pass the 2 GiB a memory stream can hold fails without growing.
    EXPECT_EQ(s.Seek(0x7FFFFFFF, SEEK_SET), 0);
    std::uint8_t b = 1;
    EXPECT_EQ(s.Write(&b, 1, 1), 0u);
    EXPECT_EQ(s.Capacity(), 0);
}

TEST(ImageStream, ClosedAndMovedStreamsDoNothing)
{
    CRasterImageFile a(CRasterImageFile::kMemory);
    a.PutByte(1);
    CRasterImageFile b(std::move(a));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(a.Close(), -1);
    EXPECT_EQ(a.PutByte(2), -1);
    EXPECT_EQ(b.Size(), 1);
    EXPECT_EQ(b.Close(), 0);
    std::uint8_t x;
    EXPECT_EQ(b.Read(&x, 1, 1), 0u);
    EXPECT_EQ(b.Tell(), -1);

    CRasterImageFile odd(static_cast<CRasterImageFile::Kind>(7));
    EXPECT_EQ(odd.Write(&x, 1, 1), 0u);
    EXPECT_EQ(odd.Seek(0, SEEK_SET), -1);
}

TEST(ImageStream, AFileStreamBorrowsItsFile)
{
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    {
        CRasterImageFile s(f);
        EXPECT_EQ(s.Write("abcdef", 1, 6), 6u);
        EXPECT_EQ(s.Seek(2, SEEK_SET), 0);
        char c[2];
        EXPECT_EQ(s.Read(c, 1, 2), 2u);
        EXPECT_EQ(std::memcmp(c, "cd", 2), 0);
        EXPECT_EQ(s.Tell(), 4);
        EXPECT_EQ(s.Close(), -1); // borrowed: left open
    }
    // Still usable after the stream is gone.
    EXPECT_EQ(std::fseek(f, 0, SEEK_END), 0);
    EXPECT_EQ(std::ftell(f), 6);
    std::fclose(f);
}

} // namespace
