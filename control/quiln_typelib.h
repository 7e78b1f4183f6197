// The identities of the control module and the type library QUILNLib that describes it to
// a host: the fixed GUIDs of the library, the dispatch interface _DQuiln, the event
// interface _DQuilnEvents, the control class and the property page class. The type
// factories, the registry entries and the control itself all take their ids from here.
#pragma once
#include <vector>

#include "platform/com/dispatch.h"

namespace quiln {

inline constexpr char16_t kControlProgId[] = u"QUILN.QuilnCtrl.1";
inline constexpr char16_t kPropPageProgId[] = u"QUILN.QuilnPropPage.1";
inline constexpr char16_t kControlTypeName[] = u"Quiln Control";        // string 1
inline constexpr char16_t kPropPageTypeName[] = u"Quiln Property Page"; // string 2
inline constexpr char16_t kPropPageCaption[] = u"General";              // string 200
inline constexpr int kToolboxBitmapId = 1;
inline constexpr unsigned kTypeLibMajor = 1;
inline constexpr unsigned kTypeLibMinor = 0;

const plat::Guid& TypeLibId();
const plat::Guid& DispatchIid(); // _DQuiln
const plat::Guid& EventsIid();   // _DQuilnEvents
const plat::Guid& ControlClsid();
const plat::Guid& PropPageClsid();

// The library as a host reads it: its interfaces and its one creatable class.
struct TypeLibrary {
    plat::Guid id;
    plat::String name;
    plat::String doc;
    unsigned major = 0;
    unsigned minor = 0;
    std::vector<const plat::InterfaceInfo*> interfaces;
    std::vector<const plat::ClassInfo*> classes;
};
// QUILNLib 1.0: _DQuilnEvents (no members), _DQuiln (the control's member table) and the
// control class Quiln.
const TypeLibrary& QuilnTypeLib();

} // namespace quiln
