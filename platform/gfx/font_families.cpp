#include "platform/gfx/font_families.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

#include "platform/gfx/font_engine.h"

namespace plat {

namespace {

// Which fontconfig language stands for each character set a face is listed under.
struct ScriptCharSet {
    const char* lang;
    std::uint8_t charSet;
};

constexpr ScriptCharSet kScripts[] = {
    {"en", kAnsiCharSet},
    {"zh-cn", kGb2312CharSet},
    {"zh-tw", kChineseBig5CharSet},
    {"ja", kShiftJisCharSet},
    {"ko", kHangulCharSet},
    {"el", kGreekCharSet},
    {"tr", kTurkishCharSet},
    {"he", kHebrewCharSet},
    {"ar", kArabicCharSet},
    {"lt", kBalticCharSet},
    {"ru", kRussianCharSet},
    {"th", kThaiCharSet},
    {"pl", kEastEuropeCharSet},
};

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string StripComments(std::string_view text)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find("<!--", pos);
        if (open == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        const std::size_t close = text.find("-->", open + 4);
        if (close == std::string_view::npos) return out; // unterminated: the rest is comment
        pos = close + 3;
    }
    if (pos < text.size()) out.append(text.substr(pos));
    return out;
}

// The value of an attribute in an element's opening tag; empty when absent.
std::string_view Attribute(std::string_view tag, std::string_view name)
{
    std::size_t pos = 0;
    while ((pos = tag.find(name, pos)) != std::string_view::npos) {
        const bool startsWord = pos > 0 && (tag[pos - 1] == ' ' || tag[pos - 1] == '\t' ||
                                            tag[pos - 1] == '\n' || tag[pos - 1] == '\r');
        std::size_t at = pos + name.size();
        pos = at;
        if (!startsWord) continue;
        while (at < tag.size() && tag[at] == ' ') ++at;
        if (at >= tag.size() || tag[at] != '=') continue;
        ++at;
        while (at < tag.size() && tag[at] == ' ') ++at;
        if (at >= tag.size() || (tag[at] != '"' && tag[at] != '\'')) continue;
        const char quote = tag[at];
        const std::size_t end = tag.find(quote, at + 1);
        if (end == std::string_view::npos) return {};
        return tag.substr(at + 1, end - at - 1);
    }
    return {};
}

std::string DecodeEntities(std::string_view s)
{
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool decoded = false;
        if (s[i] == '&') {
            for (const auto& [entity, ch] : kEntities) {
                if (s.substr(i, entity.size()) == entity) {
                    out += ch;
                    i += entity.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out += s[i++];
    }
    return out;
}

// An element of the given name inside a rule: its opening tag and its content.
struct Element {
    std::string_view tag;
    std::string_view body;
};

// The elements named `name` directly or indirectly inside `text`, in order.
std::vector<Element> Elements(std::string_view text, std::string_view name)
{
    std::vector<Element> out;
    std::string open = "<";
    open.append(name);
    std::string close = "</";
    close.append(name);
    close += '>';
    std::size_t pos = 0;
    while ((pos = text.find(open, pos)) != std::string_view::npos) {
        const std::size_t after = pos + open.size();
        if (after >= text.size()) break;
        const char next = text[after];
        if (next != ' ' && next != '>' && next != '\t' && next != '\n' && next != '\r' && next != '/') {
            pos = after;
            continue;
        }
        const std::size_t tagEnd = text.find('>', after);
        if (tagEnd == std::string_view::npos) break;
        Element e;
        e.tag = text.substr(pos, tagEnd - pos);
        if (text[tagEnd - 1] == '/') { // empty element
            out.push_back(e);
            pos = tagEnd + 1;
            continue;
        }
        const std::size_t end = text.find(close, tagEnd + 1);
        if (end == std::string_view::npos) break;
        e.body = text.substr(tagEnd + 1, end - tagEnd - 1);
        out.push_back(e);
        pos = end + close.size();
    }
    return out;
}

// The text of the first <string> of an element, when it has one.
bool FirstString(std::string_view body, std::string& out)
{
    const auto strings = Elements(body, "string");
    if (strings.empty()) return false;
    out = DecodeEntities(Trim(strings.front().body));
    return !out.empty();
}

// Family names as fontconfig compares them: without regard to ASCII case or blanks.
std::string FamilyKey(std::string_view name)
{
    std::string key;
    for (char c : name) {
        if (c == ' ') continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

bool HasLang(const std::vector<std::string>& langs, std::string_view lang)
{
    return std::find(langs.begin(), langs.end(), lang) != langs.end();
}

void AppendRecords(std::vector<FontFamilyRecord>& out, const String& face, const InstalledFamily& family)
{
    for (std::uint8_t cs : FamilyCharSets(family)) out.push_back({face, cs, family.outline});
}

} // namespace

std::vector<InstalledFamily> ListInstalledFamilies(void* fcConfig)
{
    auto* config = static_cast<FcConfig*>(fcConfig);
    std::map<std::string, InstalledFamily> byName; // ordered by name
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_LANG, FC_SCALABLE, FC_FONTFORMAT, FC_SYMBOL,
                                            static_cast<char*>(nullptr));
    FcFontSet* set = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        FcChar8* name = nullptr;
        if (FcPatternGetString(font, FC_FAMILY, 0, &name) != FcResultMatch || !name || !*name) continue;
        InstalledFamily& family = byName[reinterpret_cast<const char*>(name)];
        family.name = reinterpret_cast<const char*>(name);

        FcBool scalable = FcFalse;
        FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
        FcChar8* format = nullptr;
        FcPatternGetString(font, FC_FONTFORMAT, 0, &format);
        const std::string_view fmt = format ? reinterpret_cast<const char*>(format) : "";
        if (scalable && (fmt == "TrueType" || fmt == "CFF")) family.outline = true;

        FcBool symbol = FcFalse;
        if (FcPatternGetBool(font, FC_SYMBOL, 0, &symbol) == FcResultMatch && symbol) family.symbol = true;

        FcLangSet* langs = nullptr;
        if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch && langs) {
            for (const auto& script : kScripts) {
                if (!HasLang(family.langs, script.lang) &&
                    FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(script.lang)) == FcLangEqual)
                    family.langs.push_back(script.lang);
            }
        }
    }
    if (set) FcFontSetDestroy(set);
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);

    std::vector<InstalledFamily> out;
    out.reserve(byName.size());
    for (auto& [name, family] : byName) out.push_back(std::move(family));
    return out;
}

std::vector<std::uint8_t> FamilyCharSets(const InstalledFamily& family)
{
    // A symbol font's character map is not that of any script, whatever else it claims.
    if (family.symbol) return {kSymbolCharSet};
    std::vector<std::uint8_t> out;
    for (const auto& script : kScripts)
        if (HasLang(family.langs, script.lang)) out.push_back(script.charSet);
    return out;
}

std::vector<FontAlias> ParseFontAliases(std::string_view confText)
{
    const std::string text = StripComments(confText);
    std::vector<FontAlias> out;
    for (const Element& match : Elements(text, "match")) {
        const std::string_view target = Attribute(match.tag, "target");
        if (!target.empty() && target != "pattern") continue;
        FontAlias alias;
        bool tested = false;
        for (const Element& test : Elements(match.body, "test")) {
            const std::string_view compare = Attribute(test.tag, "compare");
            if (Attribute(test.tag, "name") == "family" && (compare.empty() || compare == "eq") &&
                FirstString(test.body, alias.name)) {
                tested = true;
                break;
            }
        }
        if (!tested) continue;
        for (const Element& edit : Elements(match.body, "edit")) {
            if (Attribute(edit.tag, "name") == "family" && FirstString(edit.body, alias.family)) {
                out.push_back(alias);
                break;
            }
        }
    }
    return out;
}

std::vector<FontFamilyRecord> BuildFontFamilies(const std::vector<InstalledFamily>& installed,
                                                const std::vector<FontAlias>& aliases)
{
    std::vector<FontFamilyRecord> out;
    std::set<std::string> listed;
    for (const auto& family : installed) listed.insert(FamilyKey(family.name));
    for (const auto& alias : aliases) {
        if (listed.count(FamilyKey(alias.name))) continue;
        const std::string target = FamilyKey(alias.family);
        const auto it = std::find_if(installed.begin(), installed.end(),
                                     [&](const InstalledFamily& f) { return FamilyKey(f.name) == target; });
        if (it == installed.end()) continue; // maps onto a font this machine lacks
        listed.insert(FamilyKey(alias.name));
        AppendRecords(out, Utf8ToUtf16(alias.name), *it);
    }
    for (const auto& family : installed) AppendRecords(out, Utf8ToUtf16(family.name), family);
    return out;
}

std::vector<FontFamilyRecord> EnumScreenFontFamilies()
{
    auto& engine = gfx_detail::FontEngine::Get();
    std::vector<FontAlias> aliases;
    if (!engine.ConfigFile().empty()) {
        std::ifstream in(engine.ConfigFile(), std::ios::binary);
        aliases = ParseFontAliases(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::vector<InstalledFamily> installed;
    {
        std::lock_guard<std::mutex> guard(engine.Lock());
        installed = ListInstalledFamilies(engine.Config());
    }
    return BuildFontFamilies(installed, aliases);
}

} // namespace plat
