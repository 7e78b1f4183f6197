// The sentence checker's run: which characters it takes, when it is full, and how a
// finding (a character index and a length in code page 936 bytes) maps back to items.
#include <gtest/gtest.h>

#include <string>

#include "document/check_text_buffer.h"
#include "document/names.h"
#include "tests/document/spelling_support.h"

namespace {

using spelltest::U;

TEST(CheckTextBuffer, TakesSpacesLatinLettersAndChineseOnly)
{
    struct Case {
        char16_t c;
        bool taken;
    };
    const Case cases[] = {
        {u' ', true},    {u'A', true},     {u'z', true},      {0x4E00, true},    {0x4E2D, true} /* 中 */,
        {0x9FA5, true},  {u'0', false},    {u'.', false},     {u',', false},     {u'\'', false},
        {0x00E9, false} /* é */,           {0x0416, false} /* Ж */,              {0x3002, false} /* 。 */,
        {0xFF0C, false} /* ， */,          {0x9FA6, false} /* beyond code page 936 */, {u'\n', false},
    };
    for (const Case& c : cases) {
        CCheckTextBuffer buffer;
        EXPECT_EQ(buffer.Add(c.c, 7), c.taken ? 1 : 0) << std::hex << int(c.c);
        EXPECT_EQ(buffer.GetLength(), c.taken ? 1 : 0) << std::hex << int(c.c);
    }
}

TEST(CheckTextBuffer, IsFullBelow256BytesAndTakesNothingMore)
{
    struct Case {
        char16_t c;
        int fullAfter; // characters
    };
    for (const Case& c : {Case{0x4E2D, 127}, Case{u'a', 254}}) {
        CCheckTextBuffer buffer;
        for (int i = 1; i < c.fullAfter; ++i) ASSERT_EQ(buffer.Add(c.c, i), 1) << i;
        EXPECT_EQ(buffer.Add(c.c, c.fullAfter), 0) << "full after the last one it took";
        EXPECT_EQ(buffer.GetLength(), c.fullAfter);
        EXPECT_EQ(buffer.GetByteCount(), 254);
        // Whatever the caller does next, the run stays as it is.
        EXPECT_EQ(buffer.Add(u' ', 999), 0);
        EXPECT_EQ(buffer.GetLength(), c.fullAfter);
        // And its code page 936 form fits the 256-byte block with its 0.
        char block[CCheckTextBuffer::kMaxBytes];
        EXPECT_EQ(WideToMultiByte936(buffer.GetText(), block, CCheckTextBuffer::kMaxBytes), 254);
        buffer.Reset();
        EXPECT_EQ(buffer.GetLength(), 0);
        EXPECT_EQ(buffer.GetByteCount(), 0);
        EXPECT_EQ(buffer.Add(c.c, 0), 1);
    }
}

TEST(CheckTextBuffer, MapsFindingsBackToItems)
{
    // Character i comes from item 10 + 2i, as if every other item had been left out.
    const std::u16string text = U("我们 go 中文ab");
    CCheckTextBuffer buffer;
    for (size_t i = 0; i < text.size(); ++i) ASSERT_EQ(buffer.Add(text[i], int(10 + 2 * i)), 1);
    EXPECT_EQ(buffer.GetByteCount(), 14);
    EXPECT_EQ(buffer.GetSource(3), 16);

    struct Case {
        int start;
        int bytes;
        const char* text;
        int first;
        int end;
    };
    const Case cases[] = {
        {0, 4, "我们", 10, 13},
        {0, 3, "我们", 10, 13}, // a length ending inside a character takes it whole
        {0, 1, "我", 10, 11},
        {3, 2, "go", 16, 19},
        {2, 4, " go ", 14, 21},
        {6, 4, "中文", 22, 25},
        {7, 3, "文a", 24, 27},
        {8, 100, "ab", 26, 29}, // past the run's end: to its end
        {9, 1, "b", 28, 29},
        {2, 0, "", 14, 14},     // no length, no items
        {10, 1, "", 0, 0},      // start at the length
        {-1, 2, "", 0, 0},
        {1000, 2, "", 0, 0},
    };
    for (const Case& c : cases) {
        const CCheckTextBuffer::Run run = buffer.GetRun(c.start, c.bytes);
        EXPECT_EQ(plat::Utf16ToUtf8(run.text), c.text) << c.start << "+" << c.bytes;
        EXPECT_EQ(run.start, c.first) << c.start << "+" << c.bytes;
        EXPECT_EQ(run.end, c.end) << c.start << "+" << c.bytes;
    }
}

} // namespace
