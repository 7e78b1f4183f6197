#include "host/script_runner.h"

#include <string>

#include "host/action_runner.h"
#include "host/member_caller.h"
#include "host/script_reader.h"

namespace host {

int RunScript(std::istream& script, plat::Dispatch& control, HostTarget& target, std::ostream& out,
              std::ostream& err)
{
    const MemberCaller caller(control);
    const ActionRunner actions(target);
    int exitCode = kExitAllRan;
    int unanswered = target.UnansweredModalCount();
    std::string text;
    for (int number = 1; std::getline(script, text); ++number) {
        // Editors that mark a file as UTF-8 put a byte-order mark before its first line.
        if (number == 1 && text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
        ScriptLine line;
        std::string reason;
        PreparedCall call;
        PreparedAction action;
        const bool readable =
            ReadScriptLine(text, &line, &reason) &&
            (line.kind != ScriptLine::Kind::kCall || caller.Prepare(line, &call, &reason)) &&
            (line.kind != ScriptLine::Kind::kAction || actions.Prepare(line, &action, &reason));
        if (!readable) {
            err << "line " << number << ": " << reason << std::endl;
            exitCode = kExitUnreadLines;
            continue;
        }
        if (line.kind == ScriptLine::Kind::kNothing) continue;
        if (line.kind == ScriptLine::Kind::kCall)
            out << caller.Call(call) << '\n';
        else
            out << actions.Run(action);
        out.flush();
        target.Settle();
        // A dialog that ran with no answer queued failed at once; say so where it happened.
        if (const int now = target.UnansweredModalCount(); now > unanswered) {
            err << "line " << number << ": a dialog or message box ran with no answer queued (see !answer)"
                << std::endl;
            unanswered = now;
        }
    }
    return exitCode;
}

} // namespace host
