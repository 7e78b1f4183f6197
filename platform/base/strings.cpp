#include "platform/base/strings.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>
#include <stdexcept>

namespace plat {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(String& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// An iconv descriptor opened once per direction and thread.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between code page 936 and UTF-16");
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    iconv_t Get()
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // reset the shift state
        return m_cd;
    }

private:
    iconv_t m_cd;
};

} // namespace

String Utf8ToUtf16(std::string_view s)
{
    String out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (c < 0x80) { cp = c; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; min = 0x10000; }
        else { out.push_back(kReplacement); ++i; continue; }
        size_t j = 1;
        bool ok = true;
        for (; j <= static_cast<size_t>(extra); ++j) {
            if (i + j >= s.size() || (static_cast<unsigned char>(s[i + j]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + j]) & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(kReplacement);
            i += ok ? j : std::max<size_t>(j, 1);
            continue;
        }
        AppendUtf16(out, cp);
        i += j;
    }
    return out;
}

std::string Utf16ToUtf8(StringView s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

String Cp936ToUtf16(std::string_view bytes)
{
    thread_local Iconv conv("UTF-16LE", "CP936");
    String out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char16_t buf[256];
        char* outp = reinterpret_cast<char*>(buf);
        size_t outLeft = sizeof(buf);
        size_t r = iconv(conv.Get(), &in, &inLeft, &outp, &outLeft);
        out.append(buf, (sizeof(buf) - outLeft) / 2);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: one replacement character for its lead byte.
            out.push_back(kReplacement);
            ++in;
            --inLeft;
        }
    }
    return out;
}

std::string Utf16ToCp936(StringView text, bool* couldNotRepresent)
{
    thread_local Iconv conv("CP936", "UTF-16LE");
    if (couldNotRepresent) *couldNotRepresent = false;
    std::string out;
    out.reserve(text.size() * 2);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    size_t inLeft = text.size() * 2;
    while (inLeft > 0) {
        char buf[512];
        char* outp = buf;
        size_t outLeft = sizeof(buf);
        size_t r = iconv(conv.Get(), &in, &inLeft, &outp, &outLeft);
        out.append(buf, sizeof(buf) - outLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // Not representable: the default character, and skip one UTF-16 unit
            // (both halves of a surrogate pair, which code page 936 never holds).
            out.push_back('?');
            if (couldNotRepresent) *couldNotRepresent = true;
            char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                  (static_cast<unsigned char>(in[1]) << 8));
            size_t skip = (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) ? 4 : 2;
            skip = std::min(skip, inLeft);
            in += skip;
            inLeft -= skip;
        } else if (r != static_cast<size_t>(-1) && r > 0) {
            // glibc counts irreversible conversions; code page 936 has none we accept.
            if (couldNotRepresent) *couldNotRepresent = true;
        }
    }
    return out;
}

long long FormatArg::AsInteger() const
{
    if (auto p = std::get_if<long long>(&m_v)) return *p;
    if (auto d = std::get_if<double>(&m_v)) return static_cast<long long>(*d);
    return 0;
}

double FormatArg::AsDouble() const
{
    if (auto d = std::get_if<double>(&m_v)) return *d;
    if (auto p = std::get_if<long long>(&m_v)) return static_cast<double>(*p);
    return 0.0;
}

StringView FormatArg::AsString() const
{
    if (auto s = std::get_if<StringView>(&m_v)) return *s;
    return StringView();
}

bool EqualsIgnoringAsciiCase(StringView a, StringView b)
{
    if (a.size() != b.size()) return false;
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

String AsciiToUtf16(std::string_view ascii)
{
    return String(ascii.begin(), ascii.end());
}

String FormatList(StringView fmt, std::initializer_list<FormatArg> args)
{
    String out;
    auto next = args.begin();
    size_t i = 0;
    while (i < fmt.size()) {
        char16_t c = fmt[i];
        if (c != u'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t start = i++;
        if (i < fmt.size() && fmt[i] == u'%') {
            out.push_back(u'%');
            ++i;
            continue;
        }
        std::string spec = "%";
        while (i < fmt.size() && (fmt[i] == u'-' || fmt[i] == u'0' || fmt[i] == u'+' || fmt[i] == u' ' || fmt[i] == u'#'))
            spec.push_back(static_cast<char>(fmt[i++]));
        int width = 0;
        bool leftAlign = spec.find('-') != std::string::npos;
        while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
            width = std::min(width * 10 + (fmt[i] - u'0'), 4096);
            spec.push_back(static_cast<char>(fmt[i++]));
        }
        int precision = -1;
        if (i < fmt.size() && fmt[i] == u'.') {
            spec.push_back('.');
            ++i;
            precision = 0;
            while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                precision = std::min(precision * 10 + (fmt[i] - u'0'), 4096);
                spec.push_back(static_cast<char>(fmt[i++]));
            }
        }
        while (i < fmt.size() && (fmt[i] == u'l' || fmt[i] == u'h' || fmt[i] == u'I'))
            ++i; // length modifiers: every integer is formatted at full width anyway
        if (i >= fmt.size() || next == args.end()) {
            out.append(fmt.substr(start, (i < fmt.size() ? i + 1 : i) - start));
            if (i < fmt.size()) ++i;
            continue;
        }
        char16_t conv = fmt[i++];
        const FormatArg& arg = *next++;
        char buf[8192];
        switch (conv) {
        case u'd': case u'i':
            spec += "lld";
            std::snprintf(buf, sizeof buf, spec.c_str(), arg.AsInteger());
            out += AsciiToUtf16(buf);
            break;
        case u'u': case u'x': case u'X': {
            spec += "ll";
            spec.push_back(static_cast<char>(conv));
            // 32-bit wrap, as the values formatted are 32-bit integers
            unsigned long long v = static_cast<unsigned long long>(arg.AsInteger()) & 0xFFFFFFFFull;
            std::snprintf(buf, sizeof buf, spec.c_str(), v);
            out += AsciiToUtf16(buf);
            break;
        }
        case u'f': case u'e': case u'g':
            spec.push_back(static_cast<char>(conv));
            std::snprintf(buf, sizeof buf, spec.c_str(), arg.AsDouble());
            out += AsciiToUtf16(buf);
            break;
        case u'c': case u's': {
            String piece;
            if (conv == u'c')
                piece.push_back(static_cast<char16_t>(arg.AsInteger()));
            else {
                piece = String(arg.AsString());
                if (precision >= 0 && piece.size() > static_cast<size_t>(precision))
                    piece.resize(precision);
            }
            size_t pad = piece.size() < static_cast<size_t>(width) ? width - piece.size() : 0;
            if (!leftAlign) out.append(pad, u' ');
            out += piece;
            if (leftAlign) out.append(pad, u' ');
            break;
        }
        default:
            out.append(fmt.substr(start, i - start));
            --next; // the argument was not consumed
            break;
        }
    }
    return out;
}

} // namespace plat
