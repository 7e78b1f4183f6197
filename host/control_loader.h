// How the host reaches the control, as any client of the component services does: the
// library is registered and unregistered through its own entry points, and found again
// through the registry (ProgID -> class id -> InprocServer32), loaded, and asked for its
// class factory, which makes the control.
#pragma once
#include <memory>
#include <string>

#include "control/control_window.h"
#include "platform/com/dispatch.h"
#include "platform/com/library.h"

namespace host {

// Loads the library at the path and calls DllRegisterServer (or DllUnregisterServer).
// False with the reason when the library cannot be loaded or the call fails.
bool RegisterLibrary(const std::string& path, bool unregister, std::string* reason);

// A control made through the registry: its window interface and its dispatch interface.
struct LoadedControl {
    plat::Ref<IControlWindow> window;
    plat::Ref<plat::Dispatch> dispatch;
};

// Finds the registered control, loads its library and makes a control. False with the
// reason when the registry has no control, its library cannot be loaded, or the factory
// or the control refuses. The library stays loaded for the life of the process.
bool LoadRegisteredControl(LoadedControl* control, std::string* reason);

} // namespace host
