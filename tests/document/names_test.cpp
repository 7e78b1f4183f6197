#include <gtest/gtest.h>

#include <cstring>

#include "document/names.h"
#include "platform/base/system.h"
#include "tests/support/test_support.h"

TEST(Names, GuidAndFolders)
{
    std::string g = plat::Utf16ToUtf8(NewGuidString());
    EXPECT_TRUE(testsupport::IsGuidForm(g)) << g;
    String temp = GetTempDir();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), u'/');
    String module = GetModuleDir();
    ASSERT_FALSE(module.empty());
    EXPECT_NE(module.back(), u'/');
}

TEST(Names, Cp936BuffersAreAlwaysTerminated)
{
    struct Case { String text; int size; std::string want; };
    const Case cases[] = {
        {u"abc", 10, "abc"},
        {u"abc", 4, "abc"},
        {u"abcd", 4, "abc"},              // would fill the buffer exactly: cut by one
        {u"你好", 5, "\xC4\xE3\xBA\xC3"},
        {u"你好", 4, "\xC4\xE3"},          // never half a double-byte character
        {u"a你", 3, "a"},
        {u"x\u0E01", 8, "x?"},
        {u"", 1, ""},
    };
    for (const auto& c : cases) {
        std::vector<char> buf(c.size + 4, '#');
        int n = WideToMultiByte936(c.text, buf.data(), c.size);
        EXPECT_EQ(std::string(buf.data()), c.want) << plat::Utf16ToUtf8(c.text) << " in " << c.size;
        EXPECT_EQ(n, static_cast<int>(c.want.size()));
        EXPECT_EQ(buf[c.size], '#') << "wrote past the buffer";
        char16_t work[16];
        std::vector<char> buf2(c.size, '#');
        CopyWideToMultiByte936(c.text, work, buf2.data(), c.size);
        EXPECT_EQ(std::string(buf2.data()), c.want);
    }

    char16_t wide[8];
    const char gb[] = "\xC4\xE3\xBA\xC3xyz";
    EXPECT_EQ(MultiByte936ToWide(gb, wide, 7), 5);
    EXPECT_EQ(String(wide), u"你好xyz");
    EXPECT_EQ(MultiByte936ToWide("abcdef", wide, 3), 2); // n characters at most, terminated
    EXPECT_EQ(String(wide), u"ab");
}
