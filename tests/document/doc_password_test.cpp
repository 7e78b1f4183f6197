#include <gtest/gtest.h>

#include <array>
#include <string>

#include "document/doc_password.h"
#include "document/md5.h"

namespace {

// Lower-case hexadecimal, as digests are usually printed.
std::string Hex(const std::array<std::uint8_t, 16>& bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t v : bytes) out += {kDigits[v >> 4], kDigits[v & 15]};
    return out;
}

std::string Md5(const std::string& text)
{
    return Hex(CMD5::Of(text.data(), text.size()));
}

} // namespace

TEST(MD5, Rfc1321TestSuite)
{
    struct Case { const char* text; const char* digest; };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) EXPECT_EQ(Md5(c.text), c.digest) << '"' << c.text << '"';
}

TEST(MD5, PiecesAcrossBlockAndPaddingBoundaries)
{
    // Lengths around 56 and 64 bytes take the two padding paths; feeding the same data in
    // uneven pieces must give the one-shot digest.
    for (size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u}) {
        std::string data(length, '\0');
        for (size_t i = 0; i < length; ++i) data[i] = static_cast<char>(i * 7 + 3);
        const std::string whole = Md5(data);
        CMD5 md5;
        for (size_t at = 0, step = 1; at < length; at += step, step = step % 13 + 5)
            md5.Update(data.data() + at, std::min(step, length - at));
        EXPECT_EQ(Hex(md5.Final()), whole) << length;
        // Final resets: the object digests anew.
        md5.Update("abc", 3);
        EXPECT_EQ(Hex(md5.Final()), "900150983cd24fb0d6963f7d28e17f72");
    }
    std::string million(1000000, 'a');
    EXPECT_EQ(Md5(million), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(PasswordDigest, BlockAndDigestAsFilesHoldThem)
{
    struct Case { std::int16_t salt; const char16_t* password; const char* block; const char* digest; };
    // Digests worked out independently of this code (MD5 of the 16 block bytes).
    const Case cases[] = {
        {0, u"a", "20206100000000000000000000000000", "7b82fe52741f64ec1959742c7c5e9359"},
        {1234, u"secret", "2d2c7300000000000000000000000000", "4c719fd553105bd60ed61c6c2e9dac78"},
        {-1, u"中文口令", "47312d4e8765e353e44e000000000000", "7e2efc5634e9580001c63bf1ee6b070f"},
        {0, u"", "20200000000000000000000000000000", "bdf2c0ee7b2da4725998f539bdd417b7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(PasswordBlock(c.salt, c.password)), c.block) << c.salt;
        EXPECT_EQ(Hex(DigestPassword(c.salt, c.password)), c.digest) << c.salt;
    }
    // The salt -1 is read as 65535: (697 mod 94) + 32 = 71, (65535 mod 94) + 32 = 49.
    EXPECT_EQ(PasswordBlock(-1, u"")[0], 71);
    EXPECT_EQ(PasswordBlock(-1, u"")[1], 49);
}

TEST(PasswordDigest, WhatEntersTheBlock)
{
    // Only the first character of an ASCII password enters (its high byte is zero).
    EXPECT_EQ(DigestPassword(77, u"apple"), DigestPassword(77, u"avocado"));
    EXPECT_NE(DigestPassword(77, u"apple"), DigestPassword(77, u"banana"));
    // A character with a zero low byte ends the copy at once.
    EXPECT_EQ(DigestPassword(77, u"\u0100x"), DigestPassword(77, u""));
    // The salt matters.
    EXPECT_NE(DigestPassword(77, u"口令"), DigestPassword(78, u"口令"));
    // A password longer than the dialogs allow stays inside the block; only its first
    // seven two-byte characters count.
    const std::u16string longer = u"二三四五六七八九十甲乙丙丁戊己庚"; // no zero bytes
    EXPECT_EQ(DigestPassword(5, longer), DigestPassword(5, longer.substr(0, 7)));
    EXPECT_NE(DigestPassword(5, longer), DigestPassword(5, longer.substr(0, 6)));
    EXPECT_FALSE(IsNoPassword(DigestPassword(5, u"")));
    EXPECT_TRUE(IsNoPassword(PasswordDigest{}));
}

TEST(PasswordDigest, ProtectDialogAcceptsOnlyARepeatedEntry)
{
    struct Case { const char16_t* first; const char16_t* second; bool ok; };
    const Case cases[] = {
        {u"", u"", false}, {u"abc", u"abd", false}, {u"abc", u"", false},
        {u"abc", u"abc", true}, {u"口令", u"口令", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsProtectEntryAcceptable(c.first, c.second), c.ok);
}

TEST(PasswordDigest, PromptAnswersEmptyUntilInstalled)
{
    EXPECT_EQ(PromptPassword(), u"");
    SetPasswordPrompt([] { return plat::String(u"口令"); });
    EXPECT_EQ(PromptPassword(), u"口令");
    SetPasswordPrompt({});
    EXPECT_EQ(PromptPassword(), u"");
}
