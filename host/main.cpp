// quiln-host: plays the part of the page or application that embeds the control. It
// registers the control's library, or finds the registered control, makes it in a host
// window and runs a script of member calls and host actions on it.
//
//   quiln-host register|unregister PATH-TO-libQuiln.so
//   quiln-host run [--window] SCRIPT        (SCRIPT "-": standard input)
//   quiln-host window [SCRIPT]
//   quiln-host version
#include <cstdio>
#include <cstring>
#include <fstream>
#include <gnu/libc-version.h>
#include <iostream>
#include <string>

#include "host/control_loader.h"
#include "host/headless_target.h"
#include "host/member_caller.h"
#include "host/script_runner.h"
#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "platform/com/registry.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: quiln-host register|unregister PATH-TO-libQuiln.so\n"
                 "       quiln-host run [--window] SCRIPT   (SCRIPT - reads standard input)\n"
                 "       quiln-host window [SCRIPT]\n"
                 "       quiln-host version\n"
                 "A script has one member call a line (MemberName arg ...) or a host action (!help lists them).\n");
    return host::kExitFailed;
}

int Version()
{
    std::printf("Quiln %s\n", QUILN_VERSION);
    std::printf("built with: %s %s, glibc %s (iconv, dladdr), libuuid\n",
#if defined(__clang__)
                "clang", __clang_version__,
#else
                "g++", __VERSION__,
#endif
                gnu_get_libc_version());
    std::printf("module folder: %s\n", plat::Utf16ToUtf8(plat::ModuleDir()).c_str());
    return host::kExitAllRan;
}

int Fail(const std::string& why)
{
    std::fprintf(stderr, "quiln-host: %s\n", why.c_str());
    return host::kExitFailed;
}

int Register(const std::string& path, bool unregister)
{
    std::string reason;
    if (!host::RegisterLibrary(path, unregister, &reason)) return Fail(reason);
    std::printf("%s %s in %s\n", unregister ? "unregistered" : "registered", path.c_str(),
                plat::RegistryDir().c_str());
    return host::kExitAllRan;
}

int RunHeadless(const std::string& scriptPath)
{
    std::ifstream file;
    if (scriptPath != "-") {
        file.open(scriptPath);
        if (!file) return Fail("cannot read the script " + scriptPath);
    }
    std::istream& script = scriptPath == "-" ? std::cin : file;

    host::LoadedControl control;
    std::string reason;
    if (!host::LoadRegisteredControl(&control, &reason)) return Fail(reason);
    host::HeadlessTarget target(*control.window.Get());
    if (const plat::HRESULT hr = target.Open(host::kHostWidth, host::kHostHeight); plat::Failed(hr)) {
        return Fail("the control's window could not be made: " + host::HexResult(hr));
    }
    const int exitCode = host::RunScript(script, *control.dispatch.Get(), target, std::cout, std::cerr);
    target.Close();
    return exitCode;
}

int NeedsDisplay()
{
    return Fail("showing the control in a real window needs a display build of quiln-host");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const std::string mode = argv[1];
    if (mode == "version" || mode == "--version") return argc == 2 ? Version() : Usage();
    if (mode == "register" || mode == "unregister") return argc == 3 ? Register(argv[2], mode == "unregister") : Usage();
    if (mode == "window") return argc <= 3 ? NeedsDisplay() : Usage();
    if (mode == "run") {
        if (argc == 4 && std::strcmp(argv[2], "--window") == 0) return NeedsDisplay();
        return argc == 3 ? RunHeadless(argv[2]) : Usage();
    }
    return Usage();
}
