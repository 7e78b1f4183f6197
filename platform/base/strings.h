// UTF-16 strings and their conversions: UTF-8, code page 936 and printf-style formatting.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <initializer_list>

namespace plat {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 <-> UTF-16. Malformed input becomes U+FFFD; nothing is dropped silently.
String Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(StringView utf16);

// Code page 936 (GBK) <-> UTF-16 through iconv. Bytes that do not decode become U+FFFD.
String Cp936ToUtf16(std::string_view bytes);
// Characters that code page 936 cannot represent become '?' and set *couldNotRepresent.
std::string Utf16ToCp936(StringView text, bool* couldNotRepresent = nullptr);

// One argument of Format: integers, a character, a double or a string.
class FormatArg {
public:
    FormatArg(int v) : m_v(static_cast<long long>(v)) {}
    FormatArg(long v) : m_v(static_cast<long long>(v)) {}
    FormatArg(long long v) : m_v(v) {}
    FormatArg(unsigned v) : m_v(static_cast<long long>(v)) {}
    FormatArg(unsigned long v) : m_v(static_cast<long long>(v)) {}
    FormatArg(unsigned long long v) : m_v(static_cast<long long>(v)) {}
    FormatArg(short v) : m_v(static_cast<long long>(v)) {}
    FormatArg(unsigned short v) : m_v(static_cast<long long>(v)) {}
    FormatArg(char16_t v) : m_v(static_cast<long long>(v)) {}
    FormatArg(double v) : m_v(v) {}
    FormatArg(const char16_t* v) : m_v(StringView(v ? v : u"")) {}
    FormatArg(const String& v) : m_v(StringView(v)) {}
    FormatArg(StringView v) : m_v(v) {}

    bool IsInteger() const { return std::holds_alternative<long long>(m_v); }
    bool IsDouble() const { return std::holds_alternative<double>(m_v); }
    bool IsString() const { return std::holds_alternative<StringView>(m_v); }
    long long AsInteger() const;
    double AsDouble() const;
    StringView AsString() const;

private:
    std::variant<long long, double, StringView> m_v;
};

// printf-style formatting of UTF-16 text. Conversions: %s %d %i %ld %u %lu %x %X %c %f
// and %%, with flags '-', '0', '+', ' ', a width and a precision (%04d, %.2f, %-10s).
// A conversion without a matching argument is written as it stands.
String FormatList(StringView format, std::initializer_list<FormatArg> args);

template <class... Args>
String Format(StringView format, const Args&... args)
{
    return FormatList(format, {FormatArg(args)...});
}

// ASCII-only helpers used by parsers and tests.
String AsciiToUtf16(std::string_view ascii);
// Whether two strings are equal when ASCII letters are taken without regard to case (the
// way the registry and automation compare names); other characters must match exactly.
bool EqualsIgnoringAsciiCase(StringView a, StringView b);

} // namespace plat
