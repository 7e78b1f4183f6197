#include "host/member_caller.h"

#include <cstdio>
#include <limits>

namespace host {

namespace {

std::string ArgumentName(std::size_t index, const plat::ParamInfo& param)
{
    return "argument " + std::to_string(index + 1) + " (" + plat::Utf16ToUtf8(param.name) + ")";
}

unsigned InvokeFlags(plat::MemberKind kind)
{
    switch (kind) {
    case plat::MemberKind::kPropertyGet: return plat::kInvokePropertyGet;
    case plat::MemberKind::kPropertyPut: return plat::kInvokePropertyPut;
    case plat::MemberKind::kMethod: break;
    }
    return plat::kInvokeMethod;
}

// The script's argument as a value of the parameter's type; false with the reason when it
// is not one.
bool ConvertArgument(const ScriptArg& arg, std::size_t index, const plat::ParamInfo& param, plat::Variant* out,
                     std::string* reason)
{
    const bool wantsString = param.type == plat::VarType::kBStr;
    if (wantsString) {
        if (arg.kind != ScriptArg::Kind::kString) {
            *reason = ArgumentName(index, param) + " must be a string in double quotes";
            return false;
        }
        *out = plat::Variant::Str(arg.text);
        return true;
    }
    if (arg.kind != ScriptArg::Kind::kNumber) {
        *reason = ArgumentName(index, param) + " must be a whole number";
        return false;
    }
    std::int64_t low = std::numeric_limits<std::int32_t>::min(), high = std::numeric_limits<std::int32_t>::max();
    if (param.type == plat::VarType::kI2) {
        low = std::numeric_limits<std::int16_t>::min();
        high = std::numeric_limits<std::int16_t>::max();
    }
    if (arg.number < low || arg.number > high) {
        *reason = ArgumentName(index, param) + " is out of the range of a " + plat::VarTypeName(param.type);
        return false;
    }
    switch (param.type) {
    case plat::VarType::kI2: *out = plat::Variant::Short(static_cast<std::int16_t>(arg.number)); return true;
    case plat::VarType::kI4: *out = plat::Variant::Long(static_cast<std::int32_t>(arg.number)); return true;
    case plat::VarType::kBool: *out = plat::Variant::Bool(arg.number != 0); return true;
    case plat::VarType::kR8: *out = plat::Variant::Double(static_cast<double>(arg.number)); return true;
    default: break;
    }
    *reason = ArgumentName(index, param) + " has a type the host cannot write (" + plat::VarTypeName(param.type) + ")";
    return false;
}

} // namespace

MemberCaller::MemberCaller(plat::Dispatch& object) : m_object(object)
{
    if (object.GetTypeInfoCount() == 0 || plat::Failed(object.GetTypeInfo(&m_info))) m_info = nullptr;
}

bool MemberCaller::Prepare(const ScriptLine& line, PreparedCall* call, std::string* reason) const
{
    std::vector<plat::DispId> ids;
    if (!m_info || plat::Failed(m_object.GetIDsOfNames({plat::Utf8ToUtf16(line.name)}, &ids)) || ids.empty()) {
        *reason = "no member named " + line.name;
        return false;
    }
    // A property may have a get and a put under one id: the one taking this many arguments.
    const plat::MemberInfo* member = nullptr;
    for (const plat::MemberInfo& candidate : m_info->members) {
        if (candidate.id != ids[0]) continue;
        if (!member || candidate.params.size() == line.args.size()) member = &candidate;
    }
    if (!member) {
        *reason = "no member named " + line.name;
        return false;
    }
    const std::string name = plat::Utf16ToUtf8(member->name);
    if (member->params.size() != line.args.size()) {
        *reason = name + " takes " + std::to_string(member->params.size()) + " argument" +
                  (member->params.size() == 1 ? "" : "s") + ", not " + std::to_string(line.args.size());
        return false;
    }
    call->member = member;
    call->args.assign(line.args.size(), plat::Variant());
    for (std::size_t i = 0; i < line.args.size(); ++i) {
        if (!ConvertArgument(line.args[i], i, member->params[i], &call->args[i], reason)) {
            *reason = name + ": " + *reason;
            return false;
        }
    }
    return true;
}

std::string MemberCaller::Call(const PreparedCall& call) const
{
    plat::Variant result;
    const plat::HRESULT hr =
        m_object.Invoke(call.member->id, InvokeFlags(call.member->kind), call.args, &result, nullptr, nullptr);
    const std::string name = plat::Utf16ToUtf8(call.member->name);
    return name + " => " + (plat::Failed(hr) ? FormatError(hr) : FormatResult(result));
}

std::string FormatResult(const plat::Variant& result)
{
    switch (result.Type()) {
    case plat::VarType::kBool: return result.AsBool() ? "TRUE" : "FALSE";
    case plat::VarType::kI2: return std::to_string(result.AsShort());
    case plat::VarType::kI4: return std::to_string(result.AsLong());
    case plat::VarType::kR8: {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", result.AsDouble());
        return text;
    }
    case plat::VarType::kBStr: return QuoteString(result.AsString());
    case plat::VarType::kEmpty:
    case plat::VarType::kError: break;
    }
    return "-";
}

std::string HexResult(plat::HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

std::string FormatError(plat::HRESULT hr)
{
    return "ERROR " + HexResult(hr);
}

} // namespace host
