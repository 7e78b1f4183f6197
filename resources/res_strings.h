// The module's string table: for each command the status-bar text, a line break, then the
// tooltip the bars show.
#pragma once
#include "platform/base/strings.h"

// The string of the id; empty for an id the table does not hold.
plat::String LoadResString(unsigned id);
// The part of a command string after its line break (the whole string when it has none).
plat::String GetTooltipText(plat::StringView text);
// The tooltip of the command's string; empty for an id the table does not hold.
plat::String LoadTooltip(unsigned id);
