#include "host/control_loader.h"

#include <deque>

#include "control/quiln_entry.h"
#include "control/quiln_typelib.h"
#include "host/member_caller.h"
#include "platform/com/registry.h"

namespace host {

namespace {

// The registry's text at a key's default value, or false with the reason.
bool ReadDefault(plat::StringView key, plat::String* text, std::string* reason)
{
    plat::RegValue value;
    const plat::RegStatus status = plat::QueryValue(plat::Hive::kClassesRoot, key, u"", &value);
    if (status != plat::RegStatus::kOk || value.type != plat::RegType::kString) {
        *reason = "the registry in " + plat::RegistryDir() + " has no " + plat::Utf16ToUtf8(key) + " (" +
                  (status == plat::RegStatus::kOk ? "not a string" : plat::RegStatusText(status)) +
                  "); register the control first";
        return false;
    }
    *text = value.text;
    return true;
}

// A loaded library is never unloaded: what its drawing and font layers leave registered
// with the system libraries for the life of the process points into it. The libraries are
// kept where the process can still reach them, never freed.
plat::Library* LoadForGood(const plat::String& path, std::string* reason)
{
    static auto* const kept = new std::deque<plat::Library>();
    plat::Library library;
    if (!library.Load(path)) {
        *reason = "cannot load " + plat::Utf16ToUtf8(path);
        return nullptr;
    }
    return &kept->emplace_back(std::move(library));
}

} // namespace

bool RegisterLibrary(const std::string& path, bool unregister, std::string* reason)
{
    plat::Library* library = LoadForGood(plat::Utf8ToUtf16(path), reason);
    if (!library) return false;
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const auto call = library->Function<quiln::DllRegisterServerFn>(entry);
    if (!call) {
        *reason = path + " has no entry point " + entry;
        return false;
    }
    const plat::HRESULT hr = call();
    if (plat::Failed(hr)) {
        *reason = std::string(entry) + " failed with " + HexResult(hr) + " (registry folder " + plat::RegistryDir() + ")";
        return false;
    }
    return true;
}

bool LoadRegisteredControl(LoadedControl* control, std::string* reason)
{
    plat::String clsidText, path;
    if (!ReadDefault(plat::String(quiln::kControlProgId) + u"\\CLSID", &clsidText, reason)) return false;
    plat::Guid clsid;
    if (!plat::Guid::Parse(clsidText, &clsid)) {
        *reason = "the registry gives the control the class id " + plat::Utf16ToUtf8(clsidText) + ", which is not one";
        return false;
    }
    if (!ReadDefault(u"CLSID\\" + clsid.ToString() + u"\\InprocServer32", &path, reason)) return false;
    plat::Library* library = LoadForGood(path, reason);
    if (!library) return false;
    const auto getClassObject = library->Function<quiln::DllGetClassObjectFn>("DllGetClassObject");
    if (!getClassObject) {
        *reason = plat::Utf16ToUtf8(path) + " has no entry point DllGetClassObject";
        return false;
    }
    plat::Ref<plat::ClassFactory> factory;
    if (const plat::HRESULT hr = getClassObject(clsid, plat::ClassFactory::Iid(), factory.Slot()); plat::Failed(hr)) {
        *reason = "DllGetClassObject failed with " + HexResult(hr);
        return false;
    }
    if (const plat::HRESULT hr = factory->CreateInstance(nullptr, IControlWindow::Iid(), control->window.Slot());
        plat::Failed(hr)) {
        *reason = "the class factory made no control: " + HexResult(hr);
        return false;
    }
    if (const plat::HRESULT hr = control->window->QueryInterface(plat::Dispatch::Iid(), control->dispatch.Slot());
        plat::Failed(hr)) {
        control->window.Reset();
        *reason = "the control has no dispatch interface: " + HexResult(hr);
        return false;
    }
    return true;
}

} // namespace host
