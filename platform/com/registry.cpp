#include "platform/com/registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/system.h"
#include "platform/file/replacing_file.h"

namespace plat {

namespace {

constexpr std::string_view kHeader = "QUILN-REGISTRY 1";

bool SameName(StringView a, StringView b) { return EqualsIgnoringAsciiCase(a, b); }

// Splits "a\\b\\c" at the first separator: the first name, and the rest (empty at the end).
StringView FirstName(StringView path, StringView* rest)
{
    const size_t cut = path.find(u'\\');
    if (cut == StringView::npos) {
        *rest = StringView();
        return path;
    }
    *rest = path.substr(cut + 1);
    return path.substr(0, cut);
}

bool PathIsWellFormed(StringView path)
{
    if (path.empty()) return false;
    while (!path.empty()) {
        StringView rest;
        if (FirstName(path, &rest).empty()) return false;
        if (rest.empty() && path.back() == u'\\') return false;
        path = rest;
    }
    return true;
}

// ---- the file's text ----

void AppendQuoted(std::string& out, StringView text)
{
    out += '"';
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            // Everything else as its UTF-16 code unit, so that any string (even one that is
            // not valid UTF-16) comes back exactly and the file stays plain ASCII.
            static const char kHex[] = "0123456789abcdef";
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        }
    }
    out += '"';
}

void AppendKey(std::string& out, const RegKey& key, const String& path)
{
    if (!path.empty()) {
        out += "key ";
        AppendQuoted(out, path);
        out += '\n';
    }
    for (const auto& [name, value] : key.Values()) {
        out += "value ";
        AppendQuoted(out, name);
        switch (value.type) {
        case RegType::kString:
            out += " sz ";
            AppendQuoted(out, value.text);
            break;
        case RegType::kExpandString:
            out += " expand ";
            AppendQuoted(out, value.text);
            break;
        case RegType::kDword:
            out += " dword ";
            out += std::to_string(value.dword);
            break;
        case RegType::kBinary: {
            static const char kHex[] = "0123456789abcdef";
            out += " binary \"";
            for (std::uint8_t b : value.bytes) {
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            }
            out += '"';
            break;
        }
        }
        out += '\n';
    }
    for (const RegKey& sub : key.Subkeys()) {
        AppendKey(out, sub, path.empty() ? sub.Name() : path + u'\\' + sub.Name());
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One line cut into words: bare words and quoted strings (with \\, \" and \uXXXX).
bool SplitLine(std::string_view line, std::vector<String>* words)
{
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        String word;
        if (line[i] != '"') {
            while (i < line.size() && line[i] != ' ') {
                if (line[i] == '"') return false;
                word += static_cast<char16_t>(static_cast<unsigned char>(line[i++]));
            }
        } else {
            ++i;
            for (;;) {
                if (i >= line.size()) return false;
                const char c = line[i++];
                if (c == '"') break;
                if (c != '\\') {
                    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) return false;
                    word += static_cast<char16_t>(c);
                    continue;
                }
                if (i >= line.size()) return false;
                const char e = line[i++];
                if (e == '"' || e == '\\') {
                    word += static_cast<char16_t>(e);
                } else if (e == 'u' && i + 4 <= line.size()) {
                    unsigned v = 0;
                    for (int k = 0; k < 4; ++k) {
                        const int d = HexValue(line[i++]);
                        if (d < 0) return false;
                        v = v << 4 | static_cast<unsigned>(d);
                    }
                    word += static_cast<char16_t>(v);
                } else {
                    return false;
                }
            }
            if (i < line.size() && line[i] != ' ') return false;
        }
        words->push_back(std::move(word));
    }
    return true;
}

bool ParseDword(const String& word, std::uint32_t* out)
{
    if (word.empty() || word.size() > 10) return false;
    std::uint64_t v = 0;
    for (char16_t c : word) {
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c - u'0');
    }
    if (v > 0xFFFFFFFFu) return false;
    *out = static_cast<std::uint32_t>(v);
    return true;
}

bool ParseValue(const std::vector<String>& w, RegValue* value)
{
    if (w.size() != 4) return false;
    if (w[2] == u"sz" || w[2] == u"expand") {
        *value = w[2] == u"sz" ? RegValue::Text(w[3]) : RegValue::ExpandString(w[3]);
        return true;
    }
    if (w[2] == u"dword") {
        std::uint32_t v = 0;
        if (!ParseDword(w[3], &v)) return false;
        *value = RegValue::Dword(v);
        return true;
    }
    if (w[2] == u"binary") {
        if (w[3].size() % 2 != 0) return false;
        std::vector<std::uint8_t> bytes;
        for (size_t i = 0; i < w[3].size(); i += 2) {
            const int hi = w[3][i] < 0x80 ? HexValue(static_cast<char>(w[3][i])) : -1;
            const int lo = w[3][i + 1] < 0x80 ? HexValue(static_cast<char>(w[3][i + 1])) : -1;
            if (hi < 0 || lo < 0) return false;
            bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
        }
        *value = RegValue::Binary(std::move(bytes));
        return true;
    }
    return false;
}

// ---- files and locks ----

// Reads a whole file; *missing when it does not exist.
bool ReadWholeFile(const std::string& path, std::string* text, bool* missing)
{
    *missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *missing = errno == ENOENT;
        return *missing;
    }
    text->clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        text->append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

RegStatus ReadHive(const std::string& path, RegKey* root)
{
    std::string text;
    bool missing = false;
    if (!ReadWholeFile(path, &text, &missing)) return RegStatus::kIoError;
    if (missing) {
        *root = RegKey();
        return RegStatus::kOk;
    }
    return ParseHive(text, root) ? RegStatus::kOk : RegStatus::kDamaged;
}

// The hive's lock: a file of its own beside it, since the hive file itself is replaced on
// every write and a lock on the old one would not hold the next writer back.
class HiveLock {
public:
    explicit HiveLock(const std::string& hivePath)
    {
        m_fd = ::open((hivePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) return;
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~HiveLock()
    {
        if (m_fd >= 0) ::close(m_fd); // closing releases the lock
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

bool WriteHive(const std::string& path, const RegKey& root)
{
    const std::string text = SerializeHive(root);
    ReplacingFile file;
    if (!file.Open(Utf8ToUtf16(path))) return false;
    if (std::fwrite(text.data(), 1, text.size(), file.Stdio()) != text.size()) return false;
    return file.Commit();
}

} // namespace

bool operator==(const RegValue& a, const RegValue& b)
{
    if (a.type != b.type) return false;
    switch (a.type) {
    case RegType::kString:
    case RegType::kExpandString: return a.text == b.text;
    case RegType::kDword: return a.dword == b.dword;
    case RegType::kBinary: return a.bytes == b.bytes;
    }
    return false;
}

bool operator==(const RegKey& a, const RegKey& b)
{
    return a.m_name == b.m_name && a.m_values == b.m_values && a.m_subkeys == b.m_subkeys;
}

RegKey* RegKey::Child(StringView name)
{
    for (RegKey& sub : m_subkeys) {
        if (SameName(sub.m_name, name)) return &sub;
    }
    return nullptr;
}

const RegKey* RegKey::Find(StringView path) const
{
    return const_cast<RegKey*>(this)->Find(path);
}

RegKey* RegKey::Find(StringView path)
{
    RegKey* key = this;
    while (key && !path.empty()) {
        StringView rest;
        key = key->Child(FirstName(path, &rest));
        path = rest;
    }
    return key;
}

RegKey* RegKey::Create(StringView path)
{
    if (path.empty()) return this;
    if (!PathIsWellFormed(path)) return nullptr;
    RegKey* key = this;
    while (!path.empty()) {
        StringView rest;
        const StringView name = FirstName(path, &rest);
        RegKey* child = key->Child(name);
        if (!child) {
            child = &key->m_subkeys.emplace_back();
            child->m_name.assign(name);
        }
        key = child;
        path = rest;
    }
    return key;
}

bool RegKey::Delete(StringView path)
{
    if (path.empty()) return false;
    const size_t cut = path.rfind(u'\\');
    RegKey* parent = cut == StringView::npos ? this : Find(path.substr(0, cut));
    if (!parent) return false;
    const StringView name = cut == StringView::npos ? path : path.substr(cut + 1);
    for (auto it = parent->m_subkeys.begin(); it != parent->m_subkeys.end(); ++it) {
        if (SameName(it->m_name, name)) {
            parent->m_subkeys.erase(it);
            return true;
        }
    }
    return false;
}

const RegValue* RegKey::Value(StringView name) const
{
    for (const auto& [n, value] : m_values) {
        if (SameName(n, name)) return &value;
    }
    return nullptr;
}

void RegKey::SetValue(StringView name, RegValue value)
{
    for (auto& [n, v] : m_values) {
        if (SameName(n, name)) {
            v = std::move(value);
            return;
        }
    }
    m_values.emplace_back(String(name), std::move(value));
}

bool RegKey::DeleteValue(StringView name)
{
    for (auto it = m_values.begin(); it != m_values.end(); ++it) {
        if (SameName(it->first, name)) {
            m_values.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<String> RegKey::SubkeyNames() const
{
    std::vector<String> names;
    for (const RegKey& sub : m_subkeys) names.push_back(sub.m_name);
    return names;
}

std::vector<String> RegKey::ValueNames() const
{
    std::vector<String> names;
    for (const auto& entry : m_values) names.push_back(entry.first);
    return names;
}

const char* RegStatusText(RegStatus status)
{
    switch (status) {
    case RegStatus::kOk: return "done";
    case RegStatus::kNotFound: return "no such key or value";
    case RegStatus::kDamaged: return "the registry file is damaged and was left as it is";
    case RegStatus::kIoError: return "the registry file could not be read or written";
    case RegStatus::kBadPath: return "a key path with an empty name";
    }
    return "unknown";
}

std::string RegistryDir()
{
    const char* own = std::getenv("QUILN_REGISTRY_DIR");
    std::string dir = own && *own ? own : XdgBaseDir("XDG_CONFIG_HOME", ".config") + "/quiln/registry";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

std::string HivePath(Hive hive)
{
    const char* file = "classes-root.reg";
    if (hive == Hive::kCurrentUser) file = "current-user.reg";
    if (hive == Hive::kLocalMachine) file = "local-machine.reg";
    return RegistryDir() + "/" + file;
}

std::string SerializeHive(const RegKey& root)
{
    std::string out(kHeader);
    out += '\n';
    AppendKey(out, root, String());
    out += "end\n";
    return out;
}

bool ParseHive(std::string_view text, RegKey* root)
{
    RegKey parsed;
    RegKey* current = &parsed;
    bool first = true;
    bool ended = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) return false; // cut off inside a line
        const std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        if (ended) return false; // nothing may follow the end
        if (first) {
            if (line != kHeader) return false;
            first = false;
            continue;
        }
        std::vector<String> words;
        if (!SplitLine(line, &words) || words.empty()) return false;
        if (words[0] == u"end" && words.size() == 1) {
            ended = true;
        } else if (words[0] == u"key" && words.size() == 2) {
            // Keys come parent first, each once.
            const String& path = words[1];
            if (!PathIsWellFormed(path) || parsed.Find(path)) return false;
            const size_t cut = path.rfind(u'\\');
            RegKey* parent = cut == String::npos ? &parsed : parsed.Find(StringView(path).substr(0, cut));
            if (!parent) return false;
            current = parent->Create(StringView(path).substr(cut == String::npos ? 0 : cut + 1));
        } else if (words[0] == u"value") {
            RegValue value;
            if (!ParseValue(words, &value) || current->Value(words[1])) return false;
            current->SetValue(words[1], std::move(value));
        } else {
            return false;
        }
    }
    if (!ended) return false;
    *root = std::move(parsed);
    return true;
}

RegStatus LoadHive(Hive hive, RegKey* root)
{
    return ReadHive(HivePath(hive), root);
}

RegStatus EditHive(Hive hive, const std::function<bool(RegKey& root)>& edit)
{
    if (!MakeFolders(RegistryDir())) return RegStatus::kIoError;
    const std::string path = HivePath(hive);
    HiveLock lock(path);
    if (!lock.Held()) return RegStatus::kIoError;
    RegKey root;
    const RegStatus read = ReadHive(path, &root);
    if (read != RegStatus::kOk) return read;
    if (!edit(root)) return RegStatus::kOk;
    return WriteHive(path, root) ? RegStatus::kOk : RegStatus::kIoError;
}

RegStatus CreateKey(Hive hive, StringView path)
{
    if (!PathIsWellFormed(path)) return RegStatus::kBadPath;
    return EditHive(hive, [&](RegKey& root) { return root.Create(path) != nullptr; });
}

RegStatus DeleteKey(Hive hive, StringView path)
{
    if (!PathIsWellFormed(path)) return RegStatus::kBadPath;
    bool found = false;
    const RegStatus status = EditHive(hive, [&](RegKey& root) { return found = root.Delete(path); });
    if (status != RegStatus::kOk) return status;
    return found ? RegStatus::kOk : RegStatus::kNotFound;
}

RegStatus SetValue(Hive hive, StringView keyPath, StringView name, const RegValue& value)
{
    if (!keyPath.empty() && !PathIsWellFormed(keyPath)) return RegStatus::kBadPath;
    return EditHive(hive, [&](RegKey& root) {
        root.Create(keyPath)->SetValue(name, value);
        return true;
    });
}

RegStatus DeleteValue(Hive hive, StringView keyPath, StringView name)
{
    bool found = false;
    const RegStatus status = EditHive(hive, [&](RegKey& root) {
        RegKey* key = root.Find(keyPath);
        return found = key && key->DeleteValue(name);
    });
    if (status != RegStatus::kOk) return status;
    return found ? RegStatus::kOk : RegStatus::kNotFound;
}

namespace {

// Reads the hive and hands the key at the path to `use`.
RegStatus WithKey(Hive hive, StringView keyPath, const std::function<RegStatus(const RegKey&)>& use)
{
    RegKey root;
    const RegStatus status = LoadHive(hive, &root);
    if (status != RegStatus::kOk) return status;
    const RegKey* key = root.Find(keyPath);
    return key ? use(*key) : RegStatus::kNotFound;
}

} // namespace

RegStatus QueryValue(Hive hive, StringView keyPath, StringView name, RegValue* out)
{
    return WithKey(hive, keyPath, [&](const RegKey& key) {
        const RegValue* value = key.Value(name);
        if (!value) return RegStatus::kNotFound;
        *out = *value;
        return RegStatus::kOk;
    });
}

RegStatus EnumSubkeys(Hive hive, StringView keyPath, std::vector<String>* names)
{
    return WithKey(hive, keyPath, [&](const RegKey& key) {
        *names = key.SubkeyNames();
        return RegStatus::kOk;
    });
}

RegStatus EnumValues(Hive hive, StringView keyPath, std::vector<String>* names)
{
    return WithKey(hive, keyPath, [&](const RegKey& key) {
        *names = key.ValueNames();
        return RegStatus::kOk;
    });
}

} // namespace plat
