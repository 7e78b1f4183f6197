// The types of the library's four entry points, as a host binds them by name.
#pragma once
#include "platform/com/unknown.h"

namespace quiln {

using DllCanUnloadNowFn = plat::HRESULT (*)();
using DllGetClassObjectFn = plat::HRESULT (*)(const plat::Guid& clsid, const plat::Guid& iid, void** out);
using DllRegisterServerFn = plat::HRESULT (*)();
using DllUnregisterServerFn = plat::HRESULT (*)();

} // namespace quiln
