// A sentence checker of the tests' own, built as a library with the two exports the
// control binds. It finds fixed misspellings in the code page 936 text and reports each
// as the character index where it starts, its text and up to five suggestions. A call
// whose fixed arguments are not the agreed ones finds nothing, so a caller that breaks
// the calling convention fails the tests. Extra exports let the tests see the calls.
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#define CHECKER_API extern "C" __attribute__((visibility("default")))

namespace {

struct Rule {
    const char* text;        // code page 936
    int suggestionSlots[5];  // index into kWords, -1 for an empty slot
};

// Suggestion texts, code page 936.
const char* const kWords[] = {
    "the", "ten", "receive", "\xd2\xd1\xbe\xad" /* 已经 */, "s1", "s3",
};

const Rule kRules[] = {
    {"teh", {0, 1, -1, -1, -1}},
    {"recieve", {2, -1, -1, -1, -1}},
    {"\xd2\xd4\xbe\xad" /* 以经 */, {3, -1, -1, -1, -1}},
    {"twoslots", {-1, 4, -1, 5, -1}},
    {"bare", {-1, -1, -1, -1, -1}}, // a finding without suggestions
};

struct Finding {
    std::int32_t start = 0; // character index
    std::string text;
    const Rule* rule = nullptr;
    bool outside = false;
};

std::vector<Finding> g_findings;
int g_calls = 0;
std::int32_t g_profile = 0;
std::string g_text;
std::u16string g_dataPath;

// Characters of code page 936 text before byte offset n.
std::int32_t CharsBefore(const std::string& s, size_t n)
{
    std::int32_t chars = 0;
    for (size_t i = 0; i < n; ++chars) i += static_cast<unsigned char>(s[i]) >= 0x81 ? 2 : 1;
    return chars;
}

} // namespace

CHECKER_API int CheckSentence(std::int32_t profile, const char* text, int a, int b, int c, int d, int e, int f,
                              int g, const char16_t* dataPath, int h)
{
    ++g_calls;
    g_findings.clear();
    g_profile = profile;
    g_text = text ? text : "";
    g_dataPath = dataPath ? dataPath : u"";
    if (a != 1 || b != 1 || c != 2 || d != 1 || e != 1 || f != 1 || g != 0 || h != 1) return -1;
    // "flood" claims more findings than anyone could fetch; "outside" reports a start past
    // the run.
    if (g_text.find("flood") != std::string::npos) return 0x7FFFFFFF;
    if (g_text.find("outside") != std::string::npos) {
        Finding out;
        out.start = 100000;
        out.text = "outside";
        out.rule = &kRules[0];
        g_findings.push_back(out);
    }
    // Findings in the order of the text; a two-byte character is never split.
    for (size_t i = 0; i < g_text.size(); i += static_cast<unsigned char>(g_text[i]) >= 0x81 ? 2 : 1) {
        for (const Rule& r : kRules) {
            if (g_text.compare(i, std::strlen(r.text), r.text) != 0) continue;
            Finding fd;
            fd.start = CharsBefore(g_text, i);
            fd.text = r.text;
            fd.rule = &r;
            g_findings.push_back(fd);
        }
    }
    return static_cast<int>(g_findings.size());
}

CHECKER_API int FetchCheckResult(int index, unsigned char* block)
{
    if (index < 0 || static_cast<size_t>(index) >= g_findings.size()) return 0;
    const Finding& fd = g_findings[static_cast<size_t>(index)];
    std::memcpy(block, &fd.start, 4);
    std::memcpy(block + 8, fd.text.data(), std::min<size_t>(fd.text.size(), 32));
    for (int s = 0; s < 5; ++s) {
        const int w = fd.rule->suggestionSlots[s];
        if (w >= 0) std::memcpy(block + 40 + 32 * s, kWords[w], std::strlen(kWords[w]));
    }
    return 1;
}

// What the tests read back: calls so far, and the last call's profile, text and data path.
CHECKER_API int TestCheckerCalls() { return g_calls; }
CHECKER_API std::int32_t TestCheckerLastProfile() { return g_profile; }
CHECKER_API const char* TestCheckerLastText() { return g_text.c_str(); }
CHECKER_API const char16_t* TestCheckerLastDataPath() { return g_dataPath.c_str(); }
