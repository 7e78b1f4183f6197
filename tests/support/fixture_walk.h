// Walks the fixture folders tests/fixtures/<format>/pass, fail and hang: every file in
// pass must be read, every file in fail refused cleanly, and every file in hang finish,
// read or refused, within a time bound. A finding of a fuzz target or a user's bad file
// becomes a file in one of them.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

enum class FixtureKind { kPass, kFail, kHang };

inline const char* FixtureFolder(FixtureKind kind)
{
    return kind == FixtureKind::kPass ? "pass" : kind == FixtureKind::kFail ? "fail" : "hang";
}

// The files of <root>/<format>/<kind>, sorted; none when the folder is missing.
inline std::vector<std::filesystem::path> FixtureFiles(const std::filesystem::path& root, const std::string& format,
                                                       FixtureKind kind)
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path dir = root / format / FixtureFolder(kind);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.is_regular_file() && entry.path().filename() != "README.md") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The files of tests/fixtures/<format>/<kind>; none when the folder is missing.
inline std::vector<std::filesystem::path> FixtureFiles(const std::string& format, FixtureKind kind)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    if (!root) return {};
    return FixtureFiles(std::filesystem::path(root), format, kind);
}

// Runs `check` on every file of <root>/<format>/pass, fail and hang: it gets the file and
// its folder's kind and asserts what that kind asks; each call must finish within the
// bound. Folders of files a test makes are walked the same way as the committed ones.
inline void WalkFixtureFolder(const std::filesystem::path& root, const std::string& format,
                              std::chrono::milliseconds bound,
                              const std::function<void(const std::filesystem::path&, FixtureKind)>& check)
{
    int walked = 0;
    for (FixtureKind kind : {FixtureKind::kPass, FixtureKind::kFail, FixtureKind::kHang}) {
        for (const auto& file : FixtureFiles(root, format, kind)) {
            SCOPED_TRACE(std::string(FixtureFolder(kind)) + "/" + file.filename().string());
            const auto start = std::chrono::steady_clock::now();
            check(file, kind);
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            EXPECT_LE(spent.count(), bound.count()) << "took too long";
            ++walked;
        }
    }
    EXPECT_GT(walked, 0) << "no fixtures found for " << format;
}

// The same over the committed fixtures, tests/fixtures/<format>.
inline void WalkFixtures(const std::string& format, std::chrono::milliseconds bound,
                         const std::function<void(const std::filesystem::path&, FixtureKind)>& check)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    WalkFixtureFolder(std::filesystem::path(root), format, bound, check);
}

} // namespace testsupport
