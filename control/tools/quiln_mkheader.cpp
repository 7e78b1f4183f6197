// Build-time writer of the public header quiln.h: the template's text with the ids filled
// in from the control's own tables, so that what a host compiles against is what the
// library answers.
//   quiln-mkheader TEMPLATE OUT
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "control/control_window.h"
#include "control/quiln_ctrl.h"
#include "control/quiln_typelib.h"
#include "platform/com/dispatch.h"

namespace {

[[noreturn]] void Fail(const std::string& message)
{
    std::cerr << "quiln-mkheader: " << message << "\n";
    std::exit(1);
}

// "static const QuilnGuid NAME = {0x..., 0x..., 0x..., {0x.., ...}}; /* {text} */"
std::string GuidConstant(const char* name, const plat::Guid& id)
{
    char line[256];
    std::snprintf(line, sizeof line, "static const QuilnGuid %s = {0x%08X, 0x%04X, 0x%04X, {", name,
                  static_cast<unsigned>(id.data1), static_cast<unsigned>(id.data2), static_cast<unsigned>(id.data3));
    std::string out = line;
    for (size_t i = 0; i < id.data4.size(); ++i) {
        std::snprintf(line, sizeof line, "%s0x%02X", i ? ", " : "", static_cast<unsigned>(id.data4[i]));
        out += line;
    }
    return out + "}}; /* " + plat::Utf16ToUtf8(id.ToString()) + " */\n";
}

std::string Identities()
{
    std::string out = "/* The control's ProgID, its class id, and the interface ids a host asks for. */\n";
    out += "#define QUILN_PROGID \"" + plat::Utf16ToUtf8(quiln::kControlProgId) + "\"\n";
    out += GuidConstant("QUILN_CLSID_Quiln", quiln::ControlClsid());
    out += GuidConstant("QUILN_LIBID_QUILNLib", quiln::TypeLibId());
    out += GuidConstant("QUILN_IID_DQuiln", quiln::DispatchIid());
    out += GuidConstant("QUILN_IID_DQuilnEvents", quiln::EventsIid());
    out += GuidConstant("QUILN_IID_Unknown", plat::Unknown::Iid());
    out += GuidConstant("QUILN_IID_ClassFactory", plat::ClassFactory::Iid());
    out += GuidConstant("QUILN_IID_Dispatch", plat::Dispatch::Iid());
    out += GuidConstant("QUILN_IID_ControlWindow", IControlWindow::Iid());

    out += "\n/* The members of _DQuiln by id, each with its parameters and result. */\nenum QuilnMemberId {\n";
    std::set<plat::String> seen;
    for (const plat::MemberInfo& member : CQuilnCtrl::Members().Info().members) {
        if (!seen.insert(member.name).second) continue; // a property's get and put share the id
        out += "    /* " + plat::Utf16ToUtf8(plat::DescribeMember(member)) + " */\n";
        out += "    QUILN_DISPID_" + plat::Utf16ToUtf8(member.name) + " = " + std::to_string(member.id) + ",\n";
    }
    return out + "    QUILN_DISPID_UNKNOWN = -1\n};";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) Fail("usage: quiln-mkheader TEMPLATE OUT");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) Fail(std::string("cannot read ") + argv[1]);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string marker = "@QUILN_IDENTITIES@";
    const size_t at = text.find(marker);
    if (at == std::string::npos) Fail(std::string("no ") + marker + " in " + argv[1]);
    text.replace(at, marker.size(), Identities());

    // Written whole or not at all, so a failed run leaves no half header for the build to take.
    const std::string temp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary);
        out << text;
        if (!out.flush()) Fail("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
