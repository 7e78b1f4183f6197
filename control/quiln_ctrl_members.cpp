// The dispatch interface _DQuiln of the control: one entry a member, with its member id.
#include "control/quiln_ctrl.h"
#include "control/quiln_typelib.h"

const plat::DispatchTable& CQuilnCtrl::Members()
{
    static const plat::DispatchTable table(quiln::DispatchIid(), u"_DQuiln", u"Dispatch interface for Quiln Control",
                                           {});
    return table;
}
