// Dialogs and message boxes shown by the host: a modal handler that hands each run no
// queued answer took to the host's IModalSite (control_window.h), as plain data.
#pragma once

class IModalSite;

namespace quiln {

// Installs the handler that shows runs through the site; null removes it, and runs that
// nobody answers fail at once again.
void ConnectModalSite(IModalSite* site);

} // namespace quiln
