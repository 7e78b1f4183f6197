// An outside C++ host built against an installed Quiln with pkg-config and quiln.h alone:
// registers the control through its entry point, finds it again through the registry
// (ProgID -> class id -> library path), creates it through the class factory, makes its
// window, and runs FileNew, InsertString and FileSave through the dispatch interface.
//   embed_host LIBRARY REGISTRY-FOLDER SAVE-PATH
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <quiln.h>

namespace {

int g_failures = 0;

void Expect(bool ok, const std::string& what)
{
    if (!ok) {
        std::fprintf(stderr, "embed_host: %s\n", what.c_str());
        ++g_failures;
    }
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "embed_host: %s\n", what.c_str());
    std::exit(1);
}

std::string Hex(quiln::HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

// The library's four entry points, bound by name.
struct Module {
    void* handle = nullptr;
    QuilnDllCanUnloadNowFn canUnloadNow = nullptr;
    QuilnDllGetClassObjectFn getClassObject = nullptr;
    QuilnDllRegisterServerFn registerServer = nullptr;

    explicit Module(const std::string& path)
    {
        handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) Fail(::dlerror());
        canUnloadNow = reinterpret_cast<QuilnDllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
        getClassObject = reinterpret_cast<QuilnDllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
        registerServer = reinterpret_cast<QuilnDllRegisterServerFn>(::dlsym(handle, "DllRegisterServer"));
        if (!canUnloadNow || !getClassObject || !registerServer) Fail("an entry point is missing in " + path);
    }
};

// The default values of the classes hive, by key path, read from the registry's text file:
// lines `key "PATH"` and `value "NAME" sz "TEXT"`, strings quoted with \\ and \" escapes.
std::map<std::string, std::string> ReadDefaults(const std::string& hiveFile)
{
    std::ifstream in(hiveFile);
    if (!in) Fail("no registry file " + hiveFile);
    auto unquote = [](const std::string& line, size_t& pos) {
        std::string out;
        if (pos >= line.size() || line[pos] != '"') return out;
        for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
            if (line[pos] == '\\' && pos + 1 < line.size()) ++pos;
            out += line[pos];
        }
        ++pos;
        return out;
    };
    std::map<std::string, std::string> defaults;
    std::string key, line;
    while (std::getline(in, line)) {
        size_t pos = 0;
        if (line.rfind("key ", 0) == 0) {
            pos = 4;
            key = unquote(line, pos);
        } else if (line.rfind("value \"\" sz ", 0) == 0) {
            pos = 12;
            defaults[key] = unquote(line, pos);
        }
    }
    return defaults;
}

bool ParseGuid(const std::string& text, quiln::Guid* out)
{
    unsigned d[11];
    if (std::sscanf(text.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &d[0], &d[1], &d[2], &d[3], &d[4], &d[5],
                    &d[6], &d[7], &d[8], &d[9], &d[10]) != 11)
        return false;
    out->data1 = d[0];
    out->data2 = static_cast<std::uint16_t>(d[1]);
    out->data3 = static_cast<std::uint16_t>(d[2]);
    for (int i = 0; i < 8; ++i) out->data4[i] = static_cast<std::uint8_t>(d[3 + i]);
    return true;
}

// One call of a member by id, with its result.
quiln::Variant Call(quiln::Dispatch* control, quiln::DispId id, std::vector<quiln::Variant> args, const char* name)
{
    quiln::Variant result;
    const quiln::HRESULT hr = control->Invoke(id, QUILN_INVOKE_METHOD, args, &result);
    Expect(hr == QUILN_S_OK, std::string(name) + " failed with " + Hex(hr));
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: embed_host LIBRARY REGISTRY-FOLDER SAVE-PATH\n");
        return 2;
    }
    ::setenv("QUILN_REGISTRY_DIR", argv[2], 1);

    // Register the installed library, then find it again as any host would.
    {
        Module installed(argv[1]);
        const quiln::HRESULT hr = installed.registerServer();
        if (hr != QUILN_S_OK) Fail("DllRegisterServer failed with " + Hex(hr));
    }
    std::map<std::string, std::string> defaults = ReadDefaults(std::string(argv[2]) + "/classes-root.reg");
    const std::string clsidText = defaults[std::string(QUILN_PROGID) + "\\CLSID"];
    quiln::Guid clsid{};
    if (!ParseGuid(clsidText, &clsid)) Fail("the ProgID names no class id: \"" + clsidText + "\"");
    Expect(clsid == QUILN_CLSID_Quiln, "the registered class id is not quiln.h's " + clsidText);
    const std::string server = defaults["CLSID\\" + clsidText + "\\InprocServer32"];
    if (server.empty()) Fail("the class has no InprocServer32");

    Module module(server);
    quiln::ClassFactory* factory = nullptr;
    quiln::HRESULT hr = module.getClassObject(&clsid, &QUILN_IID_ClassFactory, reinterpret_cast<void**>(&factory));
    if (hr != QUILN_S_OK || !factory) Fail("DllGetClassObject failed with " + Hex(hr));
    quiln::IControlWindow* window = nullptr;
    hr = factory->CreateInstance(nullptr, QUILN_IID_ControlWindow, reinterpret_cast<void**>(&window));
    factory->Release();
    if (hr != QUILN_S_OK || !window) Fail("CreateInstance failed with " + Hex(hr));
    Expect(window->CreateInHost(800, 600) == QUILN_S_OK, "the control's window was not made");

    quiln::Dispatch* control = nullptr;
    hr = window->QueryInterface(QUILN_IID_DQuiln, reinterpret_cast<void**>(&control));
    if (hr != QUILN_S_OK || !control) Fail("no _DQuiln: " + Hex(hr));
    const quiln::InterfaceInfo* info = nullptr;
    Expect(control->GetTypeInfo(&info) == QUILN_S_OK && info && info->name == u"_DQuiln", "no type information");

    // The names and quiln.h's ids agree.
    std::vector<quiln::DispId> ids;
    Expect(control->GetIDsOfNames({u"FileNew"}, &ids) == QUILN_S_OK && ids.size() == 1 &&
               ids[0] == QUILN_DISPID_FileNew,
           "FileNew's id is not quiln.h's");
    Expect(control->GetIDsOfNames({u"NoSuchMember"}, &ids) == QUILN_DISP_E_UNKNOWNNAME, "an unknown name was found");

    Expect(Call(control, QUILN_DISPID_FileNew, {}, "FileNew").AsBool(), "FileNew refused");
    Expect(Call(control, QUILN_DISPID_InsertString, {quiln::Variant::Str(u"嵌入 Quiln")}, "InsertString").AsBool(),
           "InsertString refused");
    Expect(Call(control, QUILN_DISPID_IsFileModified, {}, "IsFileModified").AsBool(), "the document is not modified");
    std::u16string savePath;
    for (const char* c = argv[3]; *c; ++c) savePath += static_cast<char16_t>(static_cast<unsigned char>(*c));
    Expect(Call(control, QUILN_DISPID_FileSave, {quiln::Variant::Str(savePath)}, "FileSave").AsBool(),
           "FileSave refused");
    // Wrong argument types come back as the dispatch layer's refusal, not a crash.
    quiln::Variant ignored;
    unsigned argError = 99;
    Expect(control->Invoke(QUILN_DISPID_FileSave, QUILN_INVOKE_METHOD, {}, &ignored, nullptr, &argError) ==
               QUILN_DISP_E_BADPARAMCOUNT,
           "FileSave without its argument was not refused");

    std::ifstream saved(argv[3], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    Expect(bytes.size() > 6 && bytes.compare(0, 6, std::string("Quiln\0", 6)) == 0, "the saved file is not a native file");

    Expect(window->DestroyInHost() == QUILN_S_OK, "the control's window was not destroyed");
    control->Release();
    window->Release();
    Expect(module.canUnloadNow() == QUILN_S_OK, "objects are left alive");
    if (g_failures == 0) std::printf("embed_host: ok\n");
    return g_failures ? 1 : 0;
}
