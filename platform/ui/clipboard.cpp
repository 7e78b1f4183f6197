#include "platform/ui/clipboard.h"

#include <algorithm>
#include <utility>

namespace plat {

namespace {

struct StandardFormat {
    unsigned id;
    const char16_t* name;
};
constexpr StandardFormat kStandardFormats[] = {
    {kCfText, u"CF_TEXT"},
    {kCfBitmap, u"CF_BITMAP"},
    {kCfUnicodeText, u"CF_UNICODETEXT"},
};

struct Clipboard {
    std::vector<std::pair<unsigned, std::vector<std::uint8_t>>> data; // in the order put
    bool open = false;
    Window* opener = nullptr;
    Window* owner = nullptr;
    ClipboardFailures failures;
    // Data changed since the clipboard was opened: it goes out to the desktop at closing.
    bool changed = false;
    // The text last sent to or taken from the desktop's clipboard: while the desktop still
    // holds it, our own formats beside it stay ours.
    String exchanged;
};

Clipboard& Board()
{
    static Clipboard board;
    return board;
}

DesktopClipboard*& Desktop()
{
    static DesktopClipboard* desktop = nullptr;
    return desktop;
}

auto FindData(unsigned format)
{
    auto& data = Board().data;
    return std::find_if(data.begin(), data.end(), [format](const auto& d) { return d.first == format; });
}

// Text another program put on the desktop's clipboard since our last exchange replaces
// everything ours held: that program owns the clipboard now.
void TakeDesktopText()
{
    Clipboard& b = Board();
    if (!Desktop() || b.open) return;
    std::optional<String> text = Desktop()->Import();
    if (!text || *text == b.exchanged) return;
    b.exchanged = *text;
    b.data.clear();
    b.data.emplace_back(kCfUnicodeText, UnicodeTextToBytes(*text));
    b.owner = nullptr;
}

// What a window left on the clipboard goes out as text to the desktop's.
void GiveDesktopText()
{
    Clipboard& b = Board();
    if (!Desktop() || !b.changed) return;
    b.changed = false;
    auto it = FindData(kCfUnicodeText);
    if (it == b.data.end()) return;
    b.exchanged = UnicodeTextFromBytes(it->second);
    Desktop()->Export(b.exchanged);
}

std::vector<String>& RegisteredNames() // index i: format kFirstRegisteredFormat + i
{
    static std::vector<String> names;
    return names;
}

char16_t FoldAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameName(StringView a, StringView b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

} // namespace

unsigned RegisterClipboardFormat(StringView name)
{
    if (name.empty()) return 0;
    for (const StandardFormat& f : kStandardFormats)
        if (SameName(name, f.name)) return f.id;
    std::vector<String>& names = RegisteredNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameName(name, names[i])) return kFirstRegisteredFormat + static_cast<unsigned>(i);
    names.emplace_back(name);
    return kFirstRegisteredFormat + static_cast<unsigned>(names.size() - 1);
}

std::optional<String> GetClipboardFormatName(unsigned format)
{
    for (const StandardFormat& f : kStandardFormats)
        if (f.id == format) return String(f.name);
    const std::vector<String>& names = RegisteredNames();
    if (format >= kFirstRegisteredFormat && format - kFirstRegisteredFormat < names.size())
        return names[format - kFirstRegisteredFormat];
    return std::nullopt;
}

bool OpenClipboard(Window* window)
{
    Clipboard& b = Board();
    if (b.open || b.failures.refuseOpen) return false;
    TakeDesktopText();
    b.open = true;
    b.changed = false;
    b.opener = window;
    return true;
}

bool CloseClipboard()
{
    Clipboard& b = Board();
    if (!b.open) return false;
    b.open = false;
    b.opener = nullptr;
    GiveDesktopText();
    return true;
}

bool EmptyClipboard()
{
    Clipboard& b = Board();
    if (!b.open || b.failures.refuseEmpty) return false;
    b.data.clear();
    b.owner = b.opener;
    b.changed = true;
    return true;
}

bool SetClipboardData(unsigned format, std::vector<std::uint8_t> bytes)
{
    Clipboard& b = Board();
    if (!b.open || format == 0) return false;
    b.changed = true;
    auto it = FindData(format);
    if (it != b.data.end())
        it->second = std::move(bytes);
    else
        b.data.emplace_back(format, std::move(bytes));
    return true;
}

std::optional<std::vector<std::uint8_t>> GetClipboardData(unsigned format)
{
    if (!Board().open) return std::nullopt;
    auto it = FindData(format);
    if (it == Board().data.end()) return std::nullopt;
    return it->second;
}

bool IsClipboardFormatAvailable(unsigned format)
{
    TakeDesktopText();
    return format != 0 && FindData(format) != Board().data.end();
}

std::vector<unsigned> GetClipboardFormats()
{
    TakeDesktopText();
    std::vector<unsigned> formats;
    for (const auto& d : Board().data) formats.push_back(d.first);
    return formats;
}

Window* GetClipboardOwner()
{
    return Board().owner;
}

Window* GetOpenClipboardWindow()
{
    return Board().open ? Board().opener : nullptr;
}

bool IsClipboardOpen()
{
    return Board().open;
}

void SetClipboardFailures(ClipboardFailures failures)
{
    Board().failures = failures;
}

std::vector<std::uint8_t> UnicodeTextToBytes(StringView text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2 + 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

String UnicodeTextFromBytes(const std::vector<std::uint8_t>& bytes)
{
    String text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

void SetDesktopClipboard(DesktopClipboard* desktop)
{
    Desktop() = desktop;
}

void ResetClipboard()
{
    Board() = Clipboard();
}

void ForgetClipboardWindow(const Window* window)
{
    Clipboard& b = Board();
    if (b.open && b.opener == window) CloseClipboard();
    if (b.owner == window) b.owner = nullptr;
}

} // namespace plat
