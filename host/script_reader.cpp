#include "host/script_reader.h"

#include <cctype>

namespace host {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// UTF-8 text to UTF-16; false when the bytes are not UTF-8 (the converter's replacement
// characters outnumber the ones written as such).
bool DecodeUtf8(std::string_view bytes, plat::String* out)
{
    *out = plat::Utf8ToUtf16(bytes);
    std::size_t written = 0;
    for (std::size_t at = bytes.find(kReplacementUtf8); at != std::string_view::npos;
         at = bytes.find(kReplacementUtf8, at + kReplacementUtf8.size()))
        ++written;
    std::size_t decoded = 0;
    for (char16_t c : *out) decoded += c == u'\uFFFD';
    return decoded == written;
}

// Reads the arguments of a line, one at a time, from after its name.
class ArgReader {
public:
    ArgReader(std::string_view text, std::size_t at) : m_text(text), m_at(at) {}

    bool ReadAll(std::vector<ScriptArg>* args, std::string* reason)
    {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) return true;
            ScriptArg arg;
            const bool read = m_text[m_at] == '"' ? ReadString(&arg, reason) : ReadBare(&arg, reason);
            if (!read) return false;
            if (!AtEnd() && !IsBlank(m_text[m_at]) && m_text[m_at] != '#') {
                *reason = "argument " + std::to_string(args->size() + 1) + ": no space after it";
                return false;
            }
            args->push_back(std::move(arg));
        }
    }

private:
    bool AtEnd() const { return m_at >= m_text.size() || m_text[m_at] == '#'; }
    void SkipBlanks()
    {
        while (m_at < m_text.size() && IsBlank(m_text[m_at])) ++m_at;
    }

    bool ReadString(ScriptArg* arg, std::string* reason)
    {
        arg->kind = ScriptArg::Kind::kString;
        ++m_at; // the opening quote
        std::string run; // UTF-8 bytes not yet decoded
        auto flush = [&]() {
            plat::String decoded;
            if (!DecodeUtf8(run, &decoded)) return false;
            arg->text += decoded;
            run.clear();
            return true;
        };
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"') {
                if (flush()) return true;
                *reason = "a string that is not UTF-8 text";
                return false;
            }
            if (c != '\\') {
                run += c;
                continue;
            }
            if (m_at >= m_text.size()) break;
            const char escape = m_text[m_at++];
            if (escape == '"' || escape == '\\') {
                run += escape;
            } else if (escape == 'n') {
                run += '\n';
            } else if (escape == 'u') {
                int value = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = m_at < m_text.size() ? HexValue(m_text[m_at]) : -1;
                    if (digit < 0) {
                        *reason = "\\u needs four hexadecimal digits";
                        return false;
                    }
                    value = value * 16 + digit;
                    ++m_at;
                }
                if (!flush()) {
                    *reason = "a string that is not UTF-8 text";
                    return false;
                }
                arg->text += static_cast<char16_t>(value);
            } else {
                *reason = std::string("unknown escape \\") + escape + " in a string";
                return false;
            }
        }
        *reason = "a string without its closing quote";
        return false;
    }

    bool ReadBare(ScriptArg* arg, std::string* reason)
    {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && !IsBlank(m_text[m_at]) && m_text[m_at] != '#' && m_text[m_at] != '"') ++m_at;
        const std::string_view word = m_text.substr(start, m_at - start);
        if (m_at < m_text.size() && m_text[m_at] == '"') {
            *reason = "a quote inside the word " + std::string(word);
            return false;
        }
        if (!DecodeUtf8(word, &arg->text)) {
            *reason = "a word that is not UTF-8 text";
            return false;
        }
        std::size_t digits = word[0] == '-' || word[0] == '+' ? 1 : 0;
        if (digits == word.size()) return true; // a word
        std::int64_t value = 0;
        for (std::size_t i = digits; i < word.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(word[i]))) return true; // a word
            value = value * 10 + (word[i] - '0');
            if (value > (std::int64_t(1) << 40)) {
                *reason = "the number " + std::string(word) + " is out of range";
                return false;
            }
        }
        arg->kind = ScriptArg::Kind::kNumber;
        arg->number = word[0] == '-' ? -value : value;
        return true;
    }

    std::string_view m_text;
    std::size_t m_at;
};

} // namespace

bool ReadScriptLine(std::string_view text, ScriptLine* line, std::string* reason)
{
    *line = ScriptLine();
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size() || text[at] == '#') return true;
    const bool action = text[at] == '!';
    if (action) ++at;
    const std::size_t start = at;
    if (at < text.size() && IsNameStart(text[at])) {
        while (at < text.size() && IsNameChar(text[at])) ++at;
    }
    if (at == start || (at < text.size() && !IsBlank(text[at]) && text[at] != '#')) {
        *reason = action ? "an action name must follow '!'" : "a line must start with a member name";
        return false;
    }
    line->kind = action ? ScriptLine::Kind::kAction : ScriptLine::Kind::kCall;
    line->name = std::string(text.substr(start, at - start));
    return ArgReader(text, at).ReadAll(&line->args, reason);
}

std::string QuoteString(plat::StringView text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    plat::String plain;
    std::string out = "\"";
    auto flush = [&]() {
        out += plat::Utf16ToUtf8(plain);
        plain.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair) {
            plain += c;
            plain += text[++i];
        } else if (c == u'"' || c == u'\\') {
            plain += u'\\';
            plain += c;
        } else if (c == u'\n') {
            plain += u"\\n";
        } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) {
            // Control characters, and a surrogate without its pair, which UTF-8 cannot hold.
            flush();
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        } else {
            plain += c;
        }
    }
    flush();
    return out + "\"";
}

} // namespace host
