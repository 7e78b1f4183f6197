#include "control/quiln_app.h"

#include <filesystem>

#include "control/quiln_ctrl.h"
#include "control/quiln_typelib.h"
#include "io/rtf_importer.h"
#include "objects/object_kinds.h"
#include "platform/base/system.h"
#include "platform/com/registry.h"

// ---- the application object ----

CQuilnApp& CQuilnApp::Get()
{
    static CQuilnApp app;
    static const bool started = app.InitInstance();
    (void)started;
    return app;
}

CQuilnApp::~CQuilnApp()
{
    ExitInstance();
}

bool CQuilnApp::InitInstance()
{
    RegisterObjectKinds();
    RegisterRtfImporter();
    const void* here = reinterpret_cast<const void*>(&CQuilnApp::Get);
    m_modulePath = plat::ModulePath(here);
    m_moduleDir = plat::ModuleDir(here);
    return true;
}

void CQuilnApp::ExitInstance()
{
    m_mainWnd = nullptr;
}

// ---- the property page ----

const plat::Guid& CQuilnPropPage::GetClassID()
{
    return quiln::PropPageClsid();
}

plat::StringView CQuilnPropPage::Caption() const
{
    return quiln::kPropPageCaption;
}

plat::StringView CQuilnPropPage::Text() const
{
    return u"TODO: Place controls to manipulate properties of Quiln Control on this dialog.";
}

namespace quiln {

const std::vector<plat::ClassEntry>& ModuleClasses()
{
    static const std::vector<plat::ClassEntry> classes{
        {ControlClsid(), []() -> plat::Unknown* { return static_cast<plat::Dispatch*>(CQuilnCtrl::CreateObject()); }},
        {PropPageClsid(), []() -> plat::Unknown* { return CQuilnPropPage::CreateObject(); }},
    };
    return classes;
}

namespace {

using plat::String;

const String kClsidKey = u"CLSID\\";
const String kInterfaceKey = u"Interface\\";
const String kTypeLibKey = u"TypeLib\\";
// The standard marshaller of dispatch interfaces.
const String kDispatchProxyStub = u"{00020420-0000-0000-C000-000000000046}";

String VersionText()
{
    return plat::Utf8ToUtf16(std::to_string(kTypeLibMajor) + "." + std::to_string(kTypeLibMinor));
}

void SetDefault(plat::RegKey& root, const String& path, plat::StringView text)
{
    root.Create(path)->SetValue(u"", plat::RegValue::Text(text));
}

bool Edit(const std::function<bool(plat::RegKey&)>& edit)
{
    return plat::EditHive(plat::Hive::kClassesRoot, edit) == plat::RegStatus::kOk;
}

// The library's version key, and the entries of its two interfaces.
bool UpdateTypeLibRegistry(bool add, plat::StringView modulePath)
{
    const TypeLibrary& library = QuilnTypeLib();
    const String libKey = kTypeLibKey + library.id.ToString();
    const String versionKey = libKey + u"\\" + VersionText();
    bool found = true;
    const bool written = Edit([&](plat::RegKey& root) {
        if (add) {
            SetDefault(root, versionKey, library.doc);
            SetDefault(root, versionKey + u"\\0\\win32", modulePath);
            SetDefault(root, versionKey + u"\\FLAGS", u"0");
            SetDefault(root, versionKey + u"\\HELPDIR", u"");
        } else {
            found = root.Delete(versionKey);
            if (!found) return false;
            if (const plat::RegKey* lib = root.Find(libKey); lib && lib->Subkeys().empty()) root.Delete(libKey);
        }
        for (const plat::InterfaceInfo* info : library.interfaces) {
            const String key = kInterfaceKey + info->iid.ToString();
            if (!add) {
                root.Delete(key);
                continue;
            }
            SetDefault(root, key, info->name);
            SetDefault(root, key + u"\\ProxyStubClsid32", kDispatchProxyStub);
            SetDefault(root, key + u"\\TypeLib", library.id.ToString());
            root.Find(key + u"\\TypeLib")->SetValue(u"Version", plat::RegValue::Text(VersionText()));
        }
        return true;
    });
    return written && found;
}

// The control: its ProgID, and under its class id the type name, the server with its
// threading model, the ProgID, the control markers, the toolbox bitmap, the misc status
// and the type library.
bool UpdateControlRegistry(bool add, plat::StringView modulePath)
{
    const String clsidKey = kClsidKey + ControlClsid().ToString();
    const String progId = kControlProgId;
    return Edit([&](plat::RegKey& root) {
        if (!add) {
            root.Delete(clsidKey);
            root.Delete(progId);
            return true;
        }
        SetDefault(root, progId, kControlTypeName);
        SetDefault(root, progId + u"\\CLSID", ControlClsid().ToString());
        SetDefault(root, clsidKey, kControlTypeName);
        SetDefault(root, clsidKey + u"\\InprocServer32", modulePath);
        root.Find(clsidKey + u"\\InprocServer32")->SetValue(u"ThreadingModel", plat::RegValue::Text(u"Apartment"));
        SetDefault(root, clsidKey + u"\\ProgID", progId);
        root.Create(clsidKey + u"\\Insertable");
        root.Create(clsidKey + u"\\Control");
        SetDefault(root, clsidKey + u"\\ToolboxBitmap32",
                   String(modulePath) + u", " + plat::Utf8ToUtf16(std::to_string(kToolboxBitmapId)));
        SetDefault(root, clsidKey + u"\\MiscStatus", plat::Utf8ToUtf16(std::to_string(CQuilnCtrl::kMiscStatus)));
        SetDefault(root, clsidKey + u"\\TypeLib", TypeLibId().ToString());
        SetDefault(root, clsidKey + u"\\Version", VersionText());
        return true;
    });
}

// The property page: its type name and its server, with no threading model.
bool UpdatePropPageRegistry(bool add, plat::StringView modulePath)
{
    const String clsidKey = kClsidKey + PropPageClsid().ToString();
    return Edit([&](plat::RegKey& root) {
        if (!add) {
            root.Delete(clsidKey);
            return true;
        }
        SetDefault(root, clsidKey, kPropPageTypeName);
        SetDefault(root, clsidKey + u"\\InprocServer32", modulePath);
        return true;
    });
}

plat::HRESULT UpdateRegistry(bool add, plat::StringView modulePath)
{
    if (!UpdateTypeLibRegistry(add, modulePath)) return plat::SELFREG_E_TYPELIB;
    if (!UpdateControlRegistry(add, modulePath) || !UpdatePropPageRegistry(add, modulePath))
        return plat::SELFREG_E_CLASS;
    return plat::S_OK;
}

} // namespace

plat::String RegisteredModulePath(const plat::String& modulePath, plat::StringView soname)
{
    const size_t slash = modulePath.rfind(u'/');
    if (slash == plat::String::npos || soname.empty()) return modulePath;
    const plat::String link = modulePath.substr(0, slash + 1) + plat::String(soname);
    std::error_code ec;
    if (!std::filesystem::equivalent(plat::Utf16ToUtf8(link), plat::Utf16ToUtf8(modulePath), ec) || ec)
        return modulePath;
    return link;
}

plat::HRESULT RegisterServer(plat::StringView modulePath)
{
    return UpdateRegistry(true, modulePath);
}

plat::HRESULT UnregisterServer()
{
    return UpdateRegistry(false, {});
}

} // namespace quiln
