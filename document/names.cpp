#include "document/names.h"

#include <cstring>

#include "platform/base/system.h"

String NewGuidString()
{
    return plat::NewGuid();
}

bool IsGuidString(plat::StringView text)
{
    if (text.size() != 36) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-') return false;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) {
            return false;
        }
    }
    return true;
}

String GetTempDir()
{
    return plat::TempDir();
}

String GetModuleDir()
{
    return plat::ModuleDir(reinterpret_cast<const void*>(&GetModuleDir));
}

int MultiByte936ToWide(const char* bytes, char16_t* wide, int n)
{
    if (!wide || n <= 0) return 0;
    std::memset(wide, 0, sizeof(char16_t) * static_cast<size_t>(n));
    if (!bytes) return 0;
    String text = plat::Cp936ToUtf16(std::string_view(bytes, static_cast<size_t>(n)));
    size_t count = std::min(text.size(), static_cast<size_t>(n - 1));
    std::memcpy(wide, text.data(), count * sizeof(char16_t));
    return static_cast<int>(count);
}

int WideToMultiByte936(plat::StringView text, char* buffer, int n)
{
    if (!buffer || n <= 0) return 0;
    std::memset(buffer, 0, static_cast<size_t>(n));
    std::string whole = plat::Utf16ToCp936(text);
    if (whole.size() <= static_cast<size_t>(n - 1)) {
        std::memcpy(buffer, whole.data(), whole.size());
        return static_cast<int>(whole.size());
    }
    // Too long: encode character by character so that the cut never splits a
    // double-byte character.
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t len = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
        std::string piece = plat::Utf16ToCp936(text.substr(i, len));
        if (used + piece.size() > static_cast<size_t>(n - 1)) break;
        std::memcpy(buffer + used, piece.data(), piece.size());
        used += piece.size();
        i += len - 1;
    }
    return static_cast<int>(used);
}

int CopyWideToMultiByte936(const String& text, char16_t* work, char* buffer, int n)
{
    if (work) {
        std::memcpy(work, text.data(), text.size() * sizeof(char16_t));
        work[text.size()] = 0;
        return WideToMultiByte936(plat::StringView(work, text.size()), buffer, n);
    }
    return WideToMultiByte936(text, buffer, n);
}
