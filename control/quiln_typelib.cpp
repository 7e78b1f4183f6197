#include "control/quiln_typelib.h"

#include "control/quiln_ctrl.h"

namespace quiln {

const plat::Guid& TypeLibId()
{
    static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F01}");
    return id;
}
const plat::Guid& DispatchIid()
{
    static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F02}");
    return id;
}
const plat::Guid& EventsIid()
{
    static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F03}");
    return id;
}
const plat::Guid& ControlClsid()
{
    static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F04}");
    return id;
}
const plat::Guid& PropPageClsid()
{
    static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F05}");
    return id;
}

const TypeLibrary& QuilnTypeLib()
{
    static const plat::InterfaceInfo events{EventsIid(), u"_DQuilnEvents", u"Event interface for Quiln Control",
                                            true, {}};
    static const plat::ClassInfo control{ControlClsid(), u"Quiln", u"Quiln Control",
                                         &CQuilnCtrl::Members().Info(), &events};
    static const TypeLibrary library{TypeLibId(), u"QUILNLib", u"Quiln ActiveX Control module",
                                     kTypeLibMajor, kTypeLibMinor,
                                     {&events, &CQuilnCtrl::Members().Info()}, {&control}};
    return library;
}

} // namespace quiln
