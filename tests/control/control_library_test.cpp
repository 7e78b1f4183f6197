// libQuiln.so as a host meets it: loaded by path, registered and unregistered through its
// entry points into a private registry, its classes found by ProgID, its factory making
// the control, the control's window made in a host window, and the module's unload answer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "control/control_window.h"
#include "control/quiln_entry.h"
#include "platform/base/system.h"
#include "platform/com/dispatch.h"
#include "platform/com/library.h"
#include "platform/com/registry.h"
#include "tests/support/child_processes.h"

namespace {

using plat::Hive;
using plat::RegKey;
using plat::RegStatus;
using plat::RegValue;

const char* const kLibraryPath = QUILN_LIBRARY_PATH;
constexpr char16_t kControlProgId[] = u"QUILN.QuilnCtrl.1";

// What the registry names: the SONAME link beside the library file, which updates of the
// same major version keep.
plat::String RegisteredLibraryPath()
{
    return plat::Utf8ToUtf16((std::filesystem::weakly_canonical(kLibraryPath).parent_path() / "libQuiln.so.1").string());
}

// The library's entry points, bound by name.
struct Module {
    plat::Library library;
    quiln::DllCanUnloadNowFn canUnloadNow = nullptr;
    quiln::DllGetClassObjectFn getClassObject = nullptr;
    quiln::DllRegisterServerFn registerServer = nullptr;
    quiln::DllUnregisterServerFn unregisterServer = nullptr;

    bool Load()
    {
        if (!library.Load(plat::Utf8ToUtf16(kLibraryPath))) return false;
        canUnloadNow = library.Function<quiln::DllCanUnloadNowFn>("DllCanUnloadNow");
        getClassObject = library.Function<quiln::DllGetClassObjectFn>("DllGetClassObject");
        registerServer = library.Function<quiln::DllRegisterServerFn>("DllRegisterServer");
        unregisterServer = library.Function<quiln::DllUnregisterServerFn>("DllUnregisterServer");
        return canUnloadNow && getClassObject && registerServer && unregisterServer;
    }
};

class QuilnLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = plat::MakePrivateTempDir(plat::TempDirUtf8()) + "registry";
        ::setenv("QUILN_REGISTRY_DIR", m_dir.c_str(), 1);
        ASSERT_TRUE(m_module.library.IsLoaded()) << kLibraryPath;
    }
    void TearDown() override
    {
        ::unsetenv("QUILN_REGISTRY_DIR");
        std::filesystem::remove_all(std::filesystem::path(m_dir).parent_path());
    }

    static RegKey Hive()
    {
        RegKey root;
        EXPECT_EQ(plat::LoadHive(Hive::kClassesRoot, &root), RegStatus::kOk);
        return root;
    }
    static plat::String Text(const RegKey& root, plat::StringView path, plat::StringView name = u"")
    {
        const RegKey* key = root.Find(path);
        const RegValue* value = key ? key->Value(name) : nullptr;
        return value && value->type == plat::RegType::kString ? value->text : u"<missing>";
    }
    // The class id the registry gives for the control's ProgID.
    static plat::Guid ControlClsid(const RegKey& root)
    {
        plat::Guid clsid;
        EXPECT_TRUE(plat::Guid::Parse(Text(root, plat::String(kControlProgId) + u"\\CLSID"), &clsid));
        return clsid;
    }

    std::string m_dir;
    // Loaded once for the whole program and never unloaded: what the library's platform
    // layer keeps for the life of the process stays with it.
    Module& m_module = LoadedModule();

private:
    static Module& LoadedModule()
    {
        static Module* module = [] {
            auto* loaded = new Module();
            loaded->Load();
            return loaded;
        }();
        return *module;
    }
};

TEST_F(QuilnLibrary, RegisteringWritesTheClassesAndTheTypeLibraryOnceOver)
{
    ASSERT_EQ(m_module.registerServer(), plat::S_OK);
    const RegKey once = Hive();
    ASSERT_EQ(m_module.registerServer(), plat::S_OK);
    EXPECT_TRUE(Hive() == once) << plat::SerializeHive(Hive());

    const plat::String clsid = u"CLSID\\" + ControlClsid(once).ToString();
    const plat::String server = clsid + u"\\InprocServer32";
    EXPECT_EQ(Text(once, server), RegisteredLibraryPath());
    EXPECT_EQ(Text(once, server, u"ThreadingModel"), u"Apartment");
    EXPECT_EQ(Text(once, clsid), u"Quiln Control");
    EXPECT_EQ(Text(once, clsid + u"\\ProgID"), kControlProgId);
    EXPECT_EQ(Text(once, clsid + u"\\MiscStatus"), u"197009");
    EXPECT_EQ(Text(once, clsid + u"\\Version"), u"1.0");
    EXPECT_NE(once.Find(clsid + u"\\Insertable"), nullptr);
    EXPECT_NE(once.Find(clsid + u"\\Control"), nullptr);
    EXPECT_EQ(Text(once, clsid + u"\\ToolboxBitmap32"), RegisteredLibraryPath() + u", 1");

    // The type library the class names is registered, with both its interfaces.
    const plat::String lib = Text(once, clsid + u"\\TypeLib");
    EXPECT_EQ(Text(once, u"TypeLib\\" + lib + u"\\1.0\\0\\win32"), RegisteredLibraryPath());
    const RegKey* interfaces = once.Find(u"Interface");
    ASSERT_NE(interfaces, nullptr);
    std::vector<plat::String> names;
    for (const RegKey& key : interfaces->Subkeys()) {
        names.push_back(Text(key, u""));
        EXPECT_EQ(Text(key, u"TypeLib"), lib);
    }
    EXPECT_EQ(names, (std::vector<plat::String>{u"_DQuilnEvents", u"_DQuiln"}));

    // The property page: its name and server, and no threading model.
    const RegKey* classes = once.Find(u"CLSID");
    ASSERT_NE(classes, nullptr);
    ASSERT_EQ(classes->Subkeys().size(), 2u);
    const RegKey& page = classes->Subkeys()[0].Name() == ControlClsid(once).ToString() ? classes->Subkeys()[1]
                                                                                        : classes->Subkeys()[0];
    EXPECT_EQ(Text(page, u""), u"Quiln Property Page");
    EXPECT_EQ(Text(page, u"InprocServer32"), RegisteredLibraryPath());
    EXPECT_EQ(page.Find(u"InprocServer32")->Value(u"ThreadingModel"), nullptr);
}

TEST_F(QuilnLibrary, UnregisteringRemovesWhatRegisteringWroteAndNothingElse)
{
    ASSERT_EQ(plat::SetValue(Hive::kClassesRoot, u"CLSID\\{0000000A-0000-0000-0000-000000000000}\\InprocServer32",
                             u"", RegValue::Text(u"/other.so")),
              RegStatus::kOk);
    ASSERT_EQ(m_module.registerServer(), plat::S_OK);
    const RegKey registered = Hive();
    const plat::Guid clsid = ControlClsid(registered);
    const plat::String lib = Text(registered, u"CLSID\\" + clsid.ToString() + u"\\TypeLib");
    ASSERT_EQ(m_module.unregisterServer(), plat::S_OK);

    const RegKey after = Hive();
    EXPECT_EQ(after.Find(kControlProgId), nullptr);
    EXPECT_EQ(after.Find(u"TypeLib\\" + lib), nullptr);
    EXPECT_TRUE(after.Find(u"Interface") == nullptr || after.Find(u"Interface")->Subkeys().empty());
    // Only the other module's class is left.
    ASSERT_NE(after.Find(u"CLSID"), nullptr);
    EXPECT_EQ(after.Find(u"CLSID")->SubkeyNames(),
              (std::vector<plat::String>{u"{0000000A-0000-0000-0000-000000000000}"}));
    // A type library that is not registered cannot be unregistered.
    EXPECT_EQ(m_module.unregisterServer(), plat::SELFREG_E_TYPELIB);
}

TEST_F(QuilnLibrary, TwoProcessesRegisteringAtOnceLeaveAWholeRegistry)
{
    ASSERT_EQ(m_module.registerServer(), plat::S_OK);
    const RegKey expected = Hive();
    ASSERT_EQ(m_module.unregisterServer(), plat::S_OK);
    ASSERT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"CLSID"), RegStatus::kOk);
    ASSERT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"TypeLib"), RegStatus::kOk);
    ASSERT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"Interface"), RegStatus::kOk);

    testsupport::RunInChildProcesses(2, [this](int) {
        int failures = 0;
        for (int i = 0; i < 15; ++i) failures += m_module.registerServer() != plat::S_OK;
        return failures == 0 ? 0 : 1;
    });
    EXPECT_TRUE(Hive() == expected) << plat::SerializeHive(Hive());
}

TEST_F(QuilnLibrary, TheFactoryMakesAControlWhoseWindowHoldsTheFrame)
{
    ASSERT_EQ(m_module.registerServer(), plat::S_OK);
    const plat::Guid clsid = ControlClsid(Hive());
    EXPECT_EQ(m_module.canUnloadNow(), plat::S_OK);

    plat::Ref<plat::ClassFactory> factory;
    ASSERT_EQ(m_module.getClassObject(clsid, plat::ClassFactory::Iid(), factory.Slot()), plat::S_OK);
    plat::Ref<IControlWindow> control;
    ASSERT_EQ(factory->CreateInstance(nullptr, IControlWindow::Iid(), control.Slot()), plat::S_OK);
    factory.Reset();
    EXPECT_EQ(m_module.canUnloadNow(), plat::S_FALSE);

    plat::Rect window, frame;
    EXPECT_EQ(control->GetWindowRects(&window, &frame), plat::E_UNEXPECTED);
    ASSERT_EQ(control->CreateInHost(640, 480), plat::S_OK);
    EXPECT_EQ(control->CreateInHost(640, 480), plat::E_UNEXPECTED);
    ASSERT_EQ(control->GetWindowRects(&window, &frame), plat::S_OK);
    EXPECT_EQ(window, (plat::Rect{0, 0, 640, 480}));
    EXPECT_EQ(frame, window);
    ASSERT_EQ(control->ResizeHost(500, 320), plat::S_OK);
    ASSERT_EQ(control->GetWindowRects(&window, &frame), plat::S_OK);
    EXPECT_EQ(window, (plat::Rect{0, 0, 500, 320}));
    EXPECT_EQ(frame, window);

    // The same object answers the dispatch interface, described as _DQuiln.
    plat::Ref<plat::Dispatch> dispatch;
    ASSERT_EQ(control->QueryInterface(plat::Dispatch::Iid(), dispatch.Slot()), plat::S_OK);
    ASSERT_EQ(dispatch->GetTypeInfoCount(), 1u);
    const plat::InterfaceInfo* info = nullptr;
    ASSERT_EQ(dispatch->GetTypeInfo(&info), plat::S_OK);
    EXPECT_EQ(info->name, u"_DQuiln");

    ASSERT_EQ(control->DestroyInHost(), plat::S_OK);
    EXPECT_EQ(control->GetWindowRects(&window, &frame), plat::E_UNEXPECTED);
    EXPECT_EQ(m_module.canUnloadNow(), plat::S_FALSE);
    dispatch.Reset();
    control.Reset();
    EXPECT_EQ(m_module.canUnloadNow(), plat::S_OK);
}

TEST_F(QuilnLibrary, TheFactoryServesOnlyTheModulesClasses)
{
    ASSERT_EQ(m_module.registerServer(), plat::S_OK);
    const RegKey root = Hive();
    const RegKey* classes = root.Find(u"CLSID");
    ASSERT_NE(classes, nullptr);
    // Both registered classes make objects; a class of no one's is refused.
    for (const RegKey& key : classes->Subkeys()) {
        plat::Guid clsid;
        ASSERT_TRUE(plat::Guid::Parse(key.Name(), &clsid));
        plat::Ref<plat::ClassFactory> factory;
        ASSERT_EQ(m_module.getClassObject(clsid, plat::ClassFactory::Iid(), factory.Slot()), plat::S_OK);
        plat::Ref<plat::Unknown> object;
        EXPECT_EQ(factory->CreateInstance(nullptr, plat::Unknown::Iid(), object.Slot()), plat::S_OK);
    }
    plat::Ref<plat::ClassFactory> none;
    EXPECT_EQ(m_module.getClassObject(plat::Guid::FromText(u"{0000000B-0000-0000-0000-000000000000}"),
                                      plat::ClassFactory::Iid(), none.Slot()),
              plat::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(m_module.canUnloadNow(), plat::S_OK);
}

TEST_F(QuilnLibrary, ARegistryThatCannotBeWrittenFailsAtTheTypeLibrary)
{
    // The registry folder would have to be made inside a plain file.
    const std::string blocker = std::filesystem::path(m_dir).parent_path() / "blocker";
    { std::ofstream(blocker) << "x"; }
    ::setenv("QUILN_REGISTRY_DIR", (blocker + "/registry").c_str(), 1);
    EXPECT_EQ(m_module.registerServer(), plat::SELFREG_E_TYPELIB);
    EXPECT_EQ(m_module.unregisterServer(), plat::SELFREG_E_TYPELIB);
}

// The registry names the SONAME link only where it leads to the library registering; a
// copy without it, or beside a link to another file, names itself. Each copy is loaded in a
// child process, as a library of its own.
TEST_F(QuilnLibrary, RegistrationNamesTheSonameLinkOnlyWhenItLeadsHere)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(m_dir).parent_path() / "copies";
    struct Case {
        const char* what;
        const char* link; // where libQuiln.so.1 leads, or null for no link
        const char* registered;
    } cases[] = {
        {"the link beside it", "libQuiln.so.1.0.0", "libQuiln.so.1"},
        {"no link", nullptr, "libQuiln.so.1.0.0"},
        {"a link to another file", "other.so", "libQuiln.so.1.0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(kLibraryPath, dir / "libQuiln.so.1.0.0");
        std::ofstream(dir / "other.so") << "x";
        if (c.link) fs::create_symlink(c.link, dir / "libQuiln.so.1");
        testsupport::RunInChildProcesses(1, [&](int) {
            plat::Library copy;
            if (!copy.Load(plat::Utf8ToUtf16((dir / "libQuiln.so.1.0.0").string()))) return 1;
            const auto registerServer = copy.Function<quiln::DllRegisterServerFn>("DllRegisterServer");
            return registerServer && registerServer() == plat::S_OK ? 0 : 2;
        });
        const plat::String clsid = u"CLSID\\" + ControlClsid(Hive()).ToString();
        EXPECT_EQ(Text(Hive(), clsid + u"\\InprocServer32"),
                  plat::Utf8ToUtf16((fs::weakly_canonical(dir) / c.registered).string()));
    }
    fs::remove_all(dir);
}

} // namespace
