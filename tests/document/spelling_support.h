// Helpers of the spelling tests: the real spelling library of bin/ bound once per
// program, a private folder holding a copy of it for tests that write user words, the
// tests' sentence checker, and flows described in a one-character-an-item notation with
// their marks.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/names.h"
#include "document/spell_engine.h"
#include "document/spell_error.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "platform/com/library.h"

namespace spelltest {

inline plat::String U(const char* utf8) { return plat::Utf8ToUtf16(utf8); }

// The library and dictionaries beside the test program, as the control finds them.
// Nothing the tests do through it writes into that folder: they add no user words there.
inline CSpellEngine& RealEngine()
{
    static CSpellEngine* engine = [] {
        auto* e = new CSpellEngine;
        e->Load();
        return e;
    }();
    return *engine;
}

// A private folder with its own copy of the library (a copy is a library of its own, with
// state of its own) and links to the standard dictionaries; user words land there.
inline plat::String PrivateLibraryFolder(const std::string& name)
{
    namespace fs = std::filesystem;
    const fs::path bin = plat::Utf16ToUtf8(GetModuleDir());
    const fs::path dir = fs::path(plat::TempDirUtf8()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string library = plat::Utf16ToUtf8(kSpellLibraryName);
    fs::copy_file(bin / library, dir / library);
    for (const char* dict : {"ViZavizivu.riv", "QlRussia.dic"}) fs::create_symlink(bin / dict, dir / dict);
    return plat::Utf8ToUtf16(dir.string());
}

inline plat::String CheckerPath() { return plat::Utf8ToUtf16(SPELLING_TEST_CHECKER); }
inline plat::String FakeOrthonFolder(const char* variant)
{
    return plat::Utf8ToUtf16(std::string(SPELLING_FAKE_ORTHON_DIR) + "/" + variant);
}

// The tests' sentence checker as loaded by the checker binder (the same library
// instance), for what it records of the calls.
struct CheckerProbe {
    CheckerProbe() { lib.Load(CheckerPath()); }
    int Calls() const { return lib.Function<int (*)()>("TestCheckerCalls")(); }
    std::int32_t Profile() const { return lib.Function<std::int32_t (*)()>("TestCheckerLastProfile")(); }
    std::string Text() const { return lib.Function<const char* (*)()>("TestCheckerLastText")(); }
    plat::String DataPath() const { return lib.Function<const char16_t* (*)()>("TestCheckerLastDataPath")(); }
    plat::Library lib;
};

// 'x' under each item that carries a mark, '.' under the others.
inline std::string Marks(const CTextFlow& flow)
{
    std::string out;
    for (int i = 0; i < flow.GetCount(); ++i) out += flow.GetItem(i)->GetMisspelt() ? 'x' : '.';
    return out;
}

} // namespace spelltest
