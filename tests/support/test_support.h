// Small helpers shared by the test suites.
#pragma once
#include <string>

namespace testsupport {

// 36 lower-case hexadecimal characters in the groups 8-4-4-4-12, without braces.
inline bool IsGuidForm(const std::string& s)
{
    if (s.size() != 36) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        char c = s[i];
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

} // namespace testsupport
