// Files for the media-store tests: a scratch folder of source files outside the private
// temporary folder, and what the temporary folder holds.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/base/system.h"

namespace mediatest {

namespace fs = std::filesystem;

// A folder of its own under $TMPDIR (or /tmp), beside the private temporary folder and
// removed with its contents when the object dies.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/quiln-media-test-XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return m_path; }
    // Writes a file of the given bytes and returns its path as the document sees paths.
    plat::String Write(const std::string& name, const std::string& bytes) const
    {
        fs::path p = m_path / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return plat::Utf8ToUtf16(p.string());
    }

private:
    fs::path m_path;
};

inline std::string ReadWhole(const plat::String& path)
{
    std::ifstream in(plat::Utf16ToUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every path under the private temporary folder, relative to it.
inline std::set<std::string> TempFolderContents()
{
    std::set<std::string> names;
    const fs::path root = plat::TempDirUtf8();
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.insert(fs::relative(e.path(), root).string());
    return names;
}

} // namespace mediatest
