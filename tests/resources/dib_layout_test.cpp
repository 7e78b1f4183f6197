// Reading the header of a bitmap resource: the two header forms, colour counts and refusals.
#include <gtest/gtest.h>

#include "resources/res_bitmaps.h"
#include "tests/support/dib_bytes.h"

namespace {

using test_support::DibSpec;
using test_support::MakeDib;

std::vector<plat::ColorRef> Greys(int n)
{
    std::vector<plat::ColorRef> t;
    for (int i = 0; i < n; ++i) t.push_back(plat::Rgb(i, i, i));
    return t;
}

TEST(DibLayout, ColourCountByHeaderForm)
{
    struct Case {
        const char* name;
        int headerSize;
        int bitCount;
        std::uint32_t colorsUsed;
        int tableEntries;
    };
    const Case cases[] = {
        {"info, 8 bits, used 0", 40, 8, 0, 256},
        {"info, 8 bits, used 5", 40, 8, 5, 5},
        {"info, 4 bits, used 0", 40, 4, 0, 16},
        {"info, 1 bit, used 0", 40, 1, 0, 2},
        {"info, 24 bits", 40, 24, 0, 0},
        {"core, 4 bits", 12, 4, 0, 16},
        {"core, 8 bits", 12, 8, 0, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibSpec s{c.headerSize, 3, 2, c.bitCount, c.colorsUsed, Greys(c.tableEntries), {{1, 2, 3}, {3, 2, 1}}};
        const auto bytes = MakeDib(s);
        const auto layout = ReadDibLayout(bytes);
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(layout->tableEntries, c.tableEntries);
        EXPECT_EQ(layout->colorsUsed, static_cast<int>(c.colorsUsed));
        EXPECT_EQ(layout->entrySize, c.headerSize == 40 ? 4 : 3);
        EXPECT_EQ(layout->bitsOffset, static_cast<std::size_t>(c.headerSize + c.tableEntries * layout->entrySize));
        EXPECT_EQ(layout->width, 3);
        EXPECT_EQ(layout->height, 2);
    }
}

TEST(DibLayout, CoreTableEntriesAreWidenedAndPixelsRead)
{
    DibSpec s{12, 2, 2, 4, 0, Greys(16), {{0, 1}, {2, 3}}};
    s.table[1] = plat::Rgb(10, 20, 30);
    s.table[3] = plat::Rgb(200, 100, 50);
    const auto bytes = MakeDib(s);
    const auto bmp = DibToBitmap(bytes);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->GetPixel(0, 0), plat::Rgb(0, 0, 0));
    EXPECT_EQ(bmp->GetPixel(1, 0), plat::Rgb(10, 20, 30));
    EXPECT_EQ(bmp->GetPixel(0, 1), plat::Rgb(2, 2, 2));
    EXPECT_EQ(bmp->GetPixel(1, 1), plat::Rgb(200, 100, 50));
}

TEST(DibLayout, RefusesWhatDoesNotHold)
{
    const auto good = MakeDib({40, 4, 4, 8, 2, Greys(2), {{0, 1, 0, 1}, {1, 0, 1, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}}});
    ASSERT_TRUE(ReadDibLayout(good).has_value());

    const std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
    auto oddHeader = good;
    oddHeader[0] = 20;
    auto badDepth = good;
    badDepth[14] = 3;
    auto tooManyColours = good;
    tooManyColours[32] = 0x01;
    tooManyColours[33] = 0x01; // 257
    auto compressed = good;
    compressed[16] = 1;
    auto noWidth = good;
    noWidth[4] = 0;
    const std::vector<std::uint8_t>* bad[] = {&truncated, &oddHeader, &badDepth, &tooManyColours, &compressed, &noWidth};
    for (std::size_t i = 0; i < std::size(bad); ++i) EXPECT_FALSE(ReadDibLayout(*bad[i]).has_value()) << i;
    EXPECT_FALSE(ReadDibLayout({}).has_value());
    EXPECT_EQ(DibToBitmap(truncated), nullptr);
}

TEST(DibLayout, ResourcePicturesAreFourBitWithTheirPalette)
{
    const auto bytes = FindBitmapResource(u"IDB_ENDPAR");
    const auto layout = ReadDibLayout(bytes);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->headerSize, 40);
    EXPECT_EQ(layout->bitCount, 4);
    EXPECT_EQ(layout->colorsUsed, 2);
    EXPECT_EQ(layout->width, 9);
    EXPECT_EQ(layout->height, 11);
    const auto strip = ReadDibLayout(FindBitmapResource(ResourceIdName(7004)));
    ASSERT_TRUE(strip.has_value());
    EXPECT_EQ(strip->colorsUsed, 16);
}

} // namespace
