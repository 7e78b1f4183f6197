#include <gtest/gtest.h>

#include "platform/base/strings.h"

using plat::String;

TEST(Utf, RoundTripsAndRepairsMalformedInput)
{
    struct Case { std::string utf8; String utf16; };
    const Case cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {"\xE4\xBD\xA0\xE5\xA5\xBD", u"你好"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"}, // surrogate pair
        {"\xD0\x9F\xD1\x80\xD0\xB8", u"При"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(plat::Utf16ToUtf8(c.utf16), c.utf8);
    }
    // Cut-off and invalid sequences become U+FFFD rather than vanishing.
    EXPECT_EQ(plat::Utf8ToUtf16("a\xE4\xBD"), u"a\uFFFD");
    EXPECT_EQ(plat::Utf8ToUtf16("\xFF" "b"), u"\uFFFDb");
    EXPECT_EQ(plat::Utf8ToUtf16("\xC0\x80"), u"\uFFFD"); // overlong
    // A lone surrogate in UTF-16 becomes U+FFFD in UTF-8.
    EXPECT_EQ(plat::Utf16ToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Cp936, RoundTripsAndFlagsWhatItCannotRepresent)
{
    struct Case { String text; std::string bytes; bool lossy; };
    const Case cases[] = {
        {u"", "", false},
        {u"Hello, 1.5", "Hello, 1.5", false},
        {u"你好", "\xC4\xE3\xBA\xC3", false},
        {u"宋体A", "\xCB\xCE\xCC\xE5" "A", false},
        {u"非法文件", "\xB7\xC7\xB7\xA8\xCE\xC4\xBC\xFE", false},
        // Thai and an emoji are not in code page 936: each becomes the default '?'.
        {u"a\u0E01b", "a?b", true},
        {u"x\U0001F600y", "x?y", true},
    };
    for (const auto& c : cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(plat::Utf16ToCp936(c.text, &lossy), c.bytes);
        EXPECT_EQ(lossy, c.lossy);
        if (!c.lossy) {
            EXPECT_EQ(plat::Cp936ToUtf16(c.bytes), c.text);
        }
    }
    // A lead byte without its trail byte decodes to a replacement, not to garbage.
    EXPECT_EQ(plat::Cp936ToUtf16("A\xC4"), u"A\uFFFD");
}

TEST(Format, ConvertsLikePrintf)
{
    struct Case { String got; String want; };
    const Case cases[] = {
        {plat::Format(u"%d", 42), u"42"},
        {plat::Format(u"%d", -7), u"-7"},
        {plat::Format(u"%04d", 7), u"0007"},
        {plat::Format(u"%ld|%u", 123456789L, 4000000000u), u"123456789|4000000000"},
        {plat::Format(u"%x %X", 255, 0xABCu), u"ff ABC"},
        {plat::Format(u"%x", -1), u"ffffffff"},
        {plat::Format(u"%.2f", 3.14159), u"3.14"},
        {plat::Format(u"%c%c", char16_t(u'你'), 65), u"你A"},
        {plat::Format(u"%s.%s", String(u"文件"), u"qln"), u"文件.qln"},
        {plat::Format(u"[%5s][%-5s]", u"ab", u"cd"), u"[   ab][cd   ]"},
        {plat::Format(u"100%%"), u"100%"},
        {plat::Format(u"共 %d 页·第 %d 页", 12, 3), u"共 12 页·第 3 页"},
        {plat::Format(u"本软件的版本号是%d.%d；该文件的版本号时%d.%d，请升级软件。", 1, 1, 2, 0),
         u"本软件的版本号是1.1；该文件的版本号时2.0，请升级软件。"},
        // Missing arguments leave the conversion as it stands.
        {plat::Format(u"%d and %s", 5), u"5 and %s"},
        {plat::Format(u"trailing %"), u"trailing %"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << plat::Utf16ToUtf8(c.want);
}

TEST(Strings, AsciiCaseIsIgnoredAndNothingElse)
{
    struct Case {
        const char16_t* a;
        const char16_t* b;
        bool equal;
    };
    const Case cases[] = {
        {u"ThreadingModel", u"threadingMODEL", true},
        {u"{ab-CD}", u"{AB-cd}", true},
        {u"", u"", true},
        {u"Quiln", u"Quil", false},
        {u"\u00C9t\u00E9", u"\u00E9T\u00E9", false}, // only ASCII letters fold
        {u"[", u"{", false},                          // '[' is 'Z' + 1, '{' is 'z' + 1
        {u"@", u"`", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << plat::Utf16ToUtf8(c.a);
        EXPECT_EQ(plat::EqualsIgnoringAsciiCase(c.b, c.a), c.equal) << plat::Utf16ToUtf8(c.b);
    }
}
