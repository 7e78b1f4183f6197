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
};

Clipboard& Board()
{
    static Clipboard board;
    return board;
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

auto FindData(unsigned format)
{
    auto& data = Board().data;
    return std::find_if(data.begin(), data.end(), [format](const auto& d) { return d.first == format; });
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
    b.open = true;
    b.opener = window;
    return true;
}

bool CloseClipboard()
{
    Clipboard& b = Board();
    if (!b.open) return false;
    b.open = false;
    b.opener = nullptr;
    return true;
}

bool EmptyClipboard()
{
    Clipboard& b = Board();
    if (!b.open || b.failures.refuseEmpty) return false;
    b.data.clear();
    b.owner = b.opener;
    return true;
}

bool SetClipboardData(unsigned format, std::vector<std::uint8_t> bytes)
{
    Clipboard& b = Board();
    if (!b.open || format == 0) return false;
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
    return format != 0 && FindData(format) != Board().data.end();
}

std::vector<unsigned> GetClipboardFormats()
{
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
