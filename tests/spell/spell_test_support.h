// Helpers shared by the spelling tests.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "platform/base/system.h"

namespace spelltest {

// An empty folder of the current test's own inside the process's private temporary folder.
inline std::filesystem::path FreshTestFolder()
{
    const auto dir = std::filesystem::path(plat::TempDirUtf8())
        / testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A word of minLength to maxLength letters drawn from `letters`.
inline std::u16string RandomWord(std::mt19937& rng, std::u16string_view letters, int minLength, int maxLength)
{
    std::u16string w(static_cast<size_t>(std::uniform_int_distribution<int>(minLength, maxLength)(rng)), u' ');
    for (char16_t& c : w) c = letters[std::uniform_int_distribution<size_t>(0, letters.size() - 1)(rng)];
    return w;
}

} // namespace spelltest
