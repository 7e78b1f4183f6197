// The control module: its application object (start-up of the module), the classes it
// serves with their factories, the property page, and the registration of all of it.
#pragma once
#include <vector>

#include "platform/base/strings.h"
#include "platform/com/unknown.h"

class CQlMain;

// The module's application object, made on the first call into the module and gone when
// the library is unloaded.
class CQuilnApp {
public:
    // The one object, started (InitInstance) when first asked for.
    static CQuilnApp& Get();

    // The module's start-up: the object kinds of the document are registered with its
    // object factory, and the module's own folder and file are found.
    bool InitInstance();
    void ExitInstance();

    // The folder and the file of the library that holds the module.
    const plat::String& ModuleDir() const { return m_moduleDir; }
    const plat::String& ModulePath() const { return m_modulePath; }

    // The frame of the control made last, to which idle and command processing go.
    CQlMain* GetMainWnd() const { return m_mainWnd; }
    void SetMainWnd(CQlMain* frame) { m_mainWnd = frame; }

private:
    CQuilnApp() = default;
    ~CQuilnApp();
    plat::String m_moduleDir;
    plat::String m_modulePath;
    CQlMain* m_mainWnd = nullptr;
};

// The control's property page: a page captioned "General" with no input controls, so it
// edits no property.
class CQuilnPropPage : public plat::Object<plat::Unknown> {
public:
    static CQuilnPropPage* CreateObject() { return new CQuilnPropPage(); }
    static const plat::Guid& GetClassID();
    plat::StringView Caption() const;
    plat::StringView Text() const;

private:
    CQuilnPropPage() = default;
};

namespace quiln {

// The classes the module serves: the control, then its property page.
const std::vector<plat::ClassEntry>& ModuleClasses();

// The registry entries, written to and removed from the classes hive. Registering writes
// the type library's entries first, then each class's; the first failure returns at once
// (SELFREG_E_TYPELIB or SELFREG_E_CLASS) and leaves what was written. `modulePath` is the
// library file a host loads for the classes.
plat::HRESULT RegisterServer(plat::StringView modulePath);
plat::HRESULT UnregisterServer();

// The path the registry is to keep for the library file at `modulePath`: the link named
// `soname` beside it (libQuiln.so.1) when that leads to this very file, else the file
// itself. The link stays when an update replaces libQuiln.so.1.0.0 with a newer file of
// the same major version, and with it every host's registration.
plat::String RegisteredModulePath(const plat::String& modulePath, plat::StringView soname);

} // namespace quiln
