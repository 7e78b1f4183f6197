// Run-time binding: a library loaded by path, its exports found by name, and everything
// that cannot be bound refused without harm.
#include <gtest/gtest.h>

#include <utility>

#include "platform/base/strings.h"
#include "platform/com/library.h"

namespace {

using ProbeFn = int (*)();

plat::String ProbePath() { return plat::Utf8ToUtf16(PROBE_LIBRARY); }

TEST(Library, BindsAnExportByName)
{
    plat::Library lib;
    ASSERT_TRUE(lib.Load(ProbePath()));
    EXPECT_TRUE(lib.IsLoaded());
    auto answer = lib.Function<ProbeFn>("ProbeAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(lib.Symbol("NoSuchExport"), nullptr);
    EXPECT_EQ(lib.Symbol(nullptr), nullptr);
    lib.Free();
    EXPECT_FALSE(lib.IsLoaded());
    EXPECT_EQ(lib.Symbol("ProbeAnswer"), nullptr);
}

TEST(Library, RefusesWhatCannotBeLoaded)
{
    struct Case {
        const char* what;
        plat::String path;
    };
    const Case cases[] = {
        {"empty path (the program itself)", u""},
        {"missing file", u"/nonexistent/libNothing.so"},
        {"a file that is no library", plat::Utf8ToUtf16(__FILE__)},
        {"embedded 0", ProbePath() + plat::String(1, u'\0') + u"x"},
    };
    for (const Case& c : cases) {
        plat::Library lib;
        EXPECT_FALSE(lib.Load(c.path)) << c.what;
        EXPECT_FALSE(lib.IsLoaded()) << c.what;
        EXPECT_EQ(lib.Symbol("ProbeAnswer"), nullptr) << c.what;
    }
}

TEST(Library, FailedLoadFreesTheLibraryLoadedBefore)
{
    plat::Library lib;
    ASSERT_TRUE(lib.Load(ProbePath()));
    EXPECT_FALSE(lib.Load(u"/nonexistent/libNothing.so"));
    EXPECT_EQ(lib.Symbol("ProbeAnswer"), nullptr);
}

TEST(Library, MovingHandsOverTheLibrary)
{
    plat::Library a;
    ASSERT_TRUE(a.Load(ProbePath()));
    plat::Library b(std::move(a));
    EXPECT_FALSE(a.IsLoaded());
    ASSERT_TRUE(b.IsLoaded());
    plat::Library c;
    c = std::move(b);
    EXPECT_FALSE(b.IsLoaded());
    auto answer = c.Function<ProbeFn>("ProbeAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
}

} // namespace
