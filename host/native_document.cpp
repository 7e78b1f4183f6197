#include "host/native_document.h"

#include <cstring>
#include <fstream>

#include "document/doc_header.h"
#include "host/member_caller.h"
#include "host/script_reader.h"

namespace host {

bool IsNativeDocument(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char first[CDocHeader::kMagicBytes] = {};
    return in.read(first, sizeof first) && std::memcmp(first, CDocHeader::kMagic, sizeof first) == 0;
}

std::string OpenDocument(plat::Dispatch& control, const std::string& path)
{
    ScriptLine line;
    line.kind = ScriptLine::Kind::kCall;
    line.name = "FileOpen";
    ScriptArg file;
    file.kind = ScriptArg::Kind::kString;
    file.text = plat::Utf8ToUtf16(path);
    ScriptArg readOnly;
    readOnly.kind = ScriptArg::Kind::kNumber;
    readOnly.number = 0;
    line.args = {file, readOnly};

    const MemberCaller caller(control);
    PreparedCall call;
    std::string reason;
    if (!caller.Prepare(line, &call, &reason)) return "FileOpen: " + reason;
    return caller.Call(call);
}

} // namespace host
