// Calls the control's members by name through its dispatch interface, as a script line
// asks: the name is looked up with GetIDsOfNames, the arguments are checked against the
// member's type information (how many, and of which type) before anything runs, and the
// result is written as the host's output line.
#pragma once
#include <string>
#include <vector>

#include "host/script_reader.h"
#include "platform/com/dispatch.h"

namespace host {

// A call that was read and checked, ready to run.
struct PreparedCall {
    const plat::MemberInfo* member = nullptr;
    std::vector<plat::Variant> args;
};

class MemberCaller {
public:
    // The object must offer type information (GetTypeInfo).
    explicit MemberCaller(plat::Dispatch& object);
    bool HasTypeInfo() const { return m_info != nullptr; }

    // Checks the line's call; false with the reason when the line cannot be run.
    bool Prepare(const ScriptLine& line, PreparedCall* call, std::string* reason) const;
    // Runs the call and returns its output line, "MemberName => RESULT".
    std::string Call(const PreparedCall& call) const;

private:
    plat::Dispatch& m_object;
    const plat::InterfaceInfo* m_info = nullptr;
};

// How a result is written: TRUE/FALSE, a decimal, a quoted string, or "-" for none.
std::string FormatResult(const plat::Variant& result);
// A result code as the host writes it: "0xHHHHHHHH".
std::string HexResult(plat::HRESULT hr);
// A failure at the dispatch layer: "ERROR 0xHHHHHHHH".
std::string FormatError(plat::HRESULT hr);

} // namespace host
