// The reader of host scripts. A line is a member call, `MemberName arg1 arg2 ...`, or a
// host action, `!name arg ...`; `#` outside a string starts a comment. Arguments are
// strings in double quotes (with the escapes \" \\ \n and \uXXXX), whole numbers written
// in decimal, or, for actions, bare words (key names, button names, paths).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/strings.h"

namespace host {

struct ScriptArg {
    enum class Kind { kString, kNumber, kWord };
    Kind kind = Kind::kWord;
    plat::String text;       // kString: the text read; kWord: the word as written
    std::int64_t number = 0; // kNumber
};

struct ScriptLine {
    enum class Kind { kNothing, kCall, kAction };
    Kind kind = Kind::kNothing;
    std::string name; // the member, or the action without its '!'
    std::vector<ScriptArg> args;
};

// Reads one line (without its line end). False, with the reason in *reason, when the line
// cannot be read.
bool ReadScriptLine(std::string_view text, ScriptLine* line, std::string* reason);

// A string written as the reader reads it back: in double quotes, with '"', '\\' and line
// feeds escaped, and every other control character as \uXXXX.
std::string QuoteString(plat::StringView text);

} // namespace host
