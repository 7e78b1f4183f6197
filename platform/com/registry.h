// The registry: the hierarchical store of keys and typed values in which a component
// library records its classes and a host finds them (ProgID -> class id -> library path).
// Each hive is one file in the registry folder; reading takes the file as it is, and
// every change is a read-modify-write under an exclusive lock, the new file replacing the
// old in one step, so concurrent writers never lose each other's entries and a reader
// never sees half a file. A file that does not read back as a whole is refused, never
// taken as empty.
//
// Keys are named by paths of names joined with '\\' ("CLSID\\{...}\\InprocServer32").
// Names of keys and values compare without regard to ASCII case and keep the case they
// were created with. The empty value name is the key's default value.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/strings.h"

namespace plat {

enum class Hive { kClassesRoot, kCurrentUser, kLocalMachine };

// Value types, with the numbers the registry gives them.
enum class RegType : std::uint32_t { kString = 1, kExpandString = 2, kBinary = 3, kDword = 4 };

struct RegValue {
    RegType type = RegType::kString;
    String text;                     // kString, kExpandString
    std::uint32_t dword = 0;         // kDword
    std::vector<std::uint8_t> bytes; // kBinary

    static RegValue Text(StringView s) { return {RegType::kString, String(s), 0, {}}; }
    static RegValue ExpandString(StringView s) { return {RegType::kExpandString, String(s), 0, {}}; }
    static RegValue Dword(std::uint32_t v) { return {RegType::kDword, {}, v, {}}; }
    static RegValue Binary(std::vector<std::uint8_t> b) { return {RegType::kBinary, {}, 0, std::move(b)}; }
    friend bool operator==(const RegValue& a, const RegValue& b);
    friend bool operator!=(const RegValue& a, const RegValue& b) { return !(a == b); }
};

// One key with its values and subkeys, in the order they were made. A pointer that Find or
// Create returns stays valid until a key is made or removed beside it or above it.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(String name) : m_name(std::move(name)) {}
    const String& Name() const { return m_name; }

    // The key at a path below this one, or null. An empty path is this key.
    const RegKey* Find(StringView path) const;
    RegKey* Find(StringView path);
    // The key at the path, made with every missing key on the way; null when a name on the
    // path is empty.
    RegKey* Create(StringView path);
    // Removes the key at the path with everything below it; false when there is none (the
    // key itself, with an empty path, cannot be removed).
    bool Delete(StringView path);

    const RegValue* Value(StringView name) const;
    void SetValue(StringView name, RegValue value);
    bool DeleteValue(StringView name);

    const std::vector<RegKey>& Subkeys() const { return m_subkeys; }
    const std::vector<std::pair<String, RegValue>>& Values() const { return m_values; }
    std::vector<String> SubkeyNames() const;
    std::vector<String> ValueNames() const;

    friend bool operator==(const RegKey& a, const RegKey& b);

private:
    RegKey* Child(StringView name);
    String m_name;
    std::vector<std::pair<String, RegValue>> m_values;
    std::vector<RegKey> m_subkeys;
};

enum class RegStatus {
    kOk,
    kNotFound,   // no such key or value
    kDamaged,    // the hive file is there but is not a whole registry file
    kIoError,    // the folder or file could not be read, locked or written
    kBadPath,    // a key path with an empty name in it
};
const char* RegStatusText(RegStatus status);

// The registry folder: $QUILN_REGISTRY_DIR when set and not empty, else
// $XDG_CONFIG_HOME/quiln/registry (when that is an absolute path), else
// ~/.config/quiln/registry. No trailing '/'.
std::string RegistryDir();
// The file of a hive inside the registry folder.
std::string HivePath(Hive hive);

// The hive as a whole. A hive whose file does not exist yet is an empty root key.
RegStatus LoadHive(Hive hive, RegKey* root);
// Runs `edit` on the hive under the hive's exclusive lock and writes the result when
// `edit` returns true (a false return leaves the file as it was). Makes the folder when
// it is missing. A damaged file is refused before `edit` runs.
RegStatus EditHive(Hive hive, const std::function<bool(RegKey& root)>& edit);

// Single operations, each one read or one locked edit.
RegStatus CreateKey(Hive hive, StringView path);
RegStatus DeleteKey(Hive hive, StringView path); // with everything below it
RegStatus SetValue(Hive hive, StringView keyPath, StringView name, const RegValue& value); // makes the key
RegStatus DeleteValue(Hive hive, StringView keyPath, StringView name);
RegStatus QueryValue(Hive hive, StringView keyPath, StringView name, RegValue* out);
RegStatus EnumSubkeys(Hive hive, StringView keyPath, std::vector<String>* names);
RegStatus EnumValues(Hive hive, StringView keyPath, std::vector<String>* names);

// The text of a hive file, and back. Parse returns false for anything but a whole file.
std::string SerializeHive(const RegKey& root);
bool ParseHive(std::string_view text, RegKey* root);

} // namespace plat
