// `quiln-host window FILE`: a native document given in place of a script is opened in the
// control rather than read as a script. The two are told apart by the file's first bytes,
// the native file header's magic, never by the file's name.
#pragma once
#include <string>

#include "platform/com/dispatch.h"

namespace host {

// True when the file's first bytes are the native file's magic. False for anything else,
// a file that cannot be read or is too short included (it is then read as a script, and
// refused as one if it is not).
bool IsNativeDocument(const std::string& path);

// Opens the document in the control through its FileOpen member (not read-only) and
// returns the output line, "FileOpen => TRUE", or the reason the call could not be made.
std::string OpenDocument(plat::Dispatch& control, const std::string& path);

} // namespace host
