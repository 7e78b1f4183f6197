// Runs a host script on a control: each line is read, checked and run in turn, its output
// line written, and the control left to handle what the line set going before the next.
#pragma once
#include <istream>
#include <ostream>

#include "host/host_target.h"
#include "platform/com/dispatch.h"

namespace host {

// The host's exit codes.
constexpr int kExitAllRan = 0;
constexpr int kExitFailed = 1;      // the host could not start (usage, registry, library, script file)
constexpr int kExitUnreadLines = 2; // some lines could not be read and did not run

// Runs the script's lines on the control, whose window the target has open. Results go to
// `out`, one line each; a line that cannot be read gets "line N: reason" on `err` and does
// not run. Returns kExitAllRan, or kExitUnreadLines when a line could not be read.
int RunScript(std::istream& script, plat::Dispatch& control, HostTarget& target, std::ostream& out,
              std::ostream& err);

} // namespace host
