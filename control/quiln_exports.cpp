// The module's four entry points, the only names libQuiln.so exports (quiln.map).
#include "control/quiln_app.h"

#define QUILN_EXPORT extern "C" __attribute__((visibility("default")))

QUILN_EXPORT plat::HRESULT DllCanUnloadNow()
{
    return plat::ModuleCanUnload() ? plat::S_OK : plat::S_FALSE;
}

QUILN_EXPORT plat::HRESULT DllGetClassObject(const plat::Guid& clsid, const plat::Guid& iid, void** out)
{
    CQuilnApp::Get();
    return plat::GetClassObject(quiln::ModuleClasses(), clsid, iid, out);
}

QUILN_EXPORT plat::HRESULT DllRegisterServer()
{
    return quiln::RegisterServer(quiln::RegisteredModulePath(CQuilnApp::Get().ModulePath(), QUILN_SONAME));
}

QUILN_EXPORT plat::HRESULT DllUnregisterServer()
{
    CQuilnApp::Get();
    return quiln::UnregisterServer();
}
