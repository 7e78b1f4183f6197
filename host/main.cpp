// quiln-host: plays the part of the page or application that embeds the control. It
// registers the control's library, or finds the registered control, makes it in a host
// window and runs a script of member calls and host actions on it.
//
//   quiln-host register|unregister PATH-TO-libQuiln.so
//   quiln-host run [--window] SCRIPT        (SCRIPT "-": standard input; --window: shown in a
//                                            real window, ending with the script)
//   quiln-host window [SCRIPT|FILE]         (the script, or FILE, a native document, opened;
//                                            then the message loop until the window is
//                                            closed)
//   quiln-host window --open FILE           (FILE opened as a document whatever it holds,
//                                            never run: the desktop's way in)
//   quiln-host version
#include <cstdio>
#include <cstring>
#include <fstream>
#include <gnu/libc-version.h>
#include <iostream>
#include <string>
#include <unistd.h>

#include "host/control_loader.h"
#include "host/headless_target.h"
#include "host/member_caller.h"
#include "host/native_document.h"
#include "host/script_runner.h"
#include "host/window_target.h"
#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "platform/com/registry.h"
#include "platform/display/display.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: quiln-host register|unregister PATH-TO-libQuiln.so\n"
                 "       quiln-host run [--window] SCRIPT   (SCRIPT - reads standard input)\n"
                 "       quiln-host window [SCRIPT|FILE]   (FILE: a document to open)\n"
                 "       quiln-host window --open FILE     (FILE opened as a document, never run)\n"
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

// A window opened from the desktop when no control is registered, or the registered one
// cannot be loaded (`why`): the control installed with this program (<prefix>/lib/quiln
// beside <prefix>/bin) is registered for the user. False when there is none or it cannot
// be registered.
bool RegisterInstalledControl(const std::string& why)
{
    const std::string path = plat::Utf16ToUtf8(plat::ModuleDir()) + "/../lib/quiln/libQuiln.so.1";
    std::string reason;
    if (::access(path.c_str(), R_OK) != 0 || !host::RegisterLibrary(path, false, &reason)) return false;
    std::fprintf(stderr, "quiln-host: %s; registered %s in %s\n", why.c_str(), path.c_str(),
                 plat::RegistryDir().c_str());
    return true;
}

// Where the control is shown: nowhere (a headless run with a manual clock), or in a real
// window, after the script either ending the host or running the message loop until the
// window is closed.
enum class Screen { kNone, kWindow, kWindowThenLoop };
// What the file a window is given may be: a script or a native document, told apart by its
// header; or a document only. The desktop hands over any file it takes for ours (a name
// ending in .qln will do), and such a file must never run as a script.
enum class WindowFile { kScriptOrDocument, kDocumentOnly };

int Run(const char* scriptPath, Screen screen, WindowFile given = WindowFile::kScriptOrDocument)
{
    const char* documentPath = nullptr;
    if (given == WindowFile::kDocumentOnly ||
        (screen == Screen::kWindowThenLoop && scriptPath && std::strcmp(scriptPath, "-") != 0 &&
         host::IsNativeDocument(scriptPath))) {
        documentPath = scriptPath;
        scriptPath = nullptr;
    }
    std::ifstream file;
    std::istream* script = nullptr;
    if (scriptPath && std::strcmp(scriptPath, "-") == 0) {
        script = &std::cin;
    } else if (scriptPath) {
        file.open(scriptPath);
        if (!file) return Fail(std::string("cannot read the script ") + scriptPath);
        script = &file;
    }

    host::LoadedControl control;
    std::string reason;
    if (!host::LoadRegisteredControl(&control, &reason)) {
        if (screen != Screen::kWindowThenLoop || !RegisterInstalledControl(reason) ||
            !host::LoadRegisteredControl(&control, &reason))
            return Fail(reason);
    }
    std::unique_ptr<plat::Display> display;
    std::unique_ptr<host::HostTarget> target;
    host::WindowTarget* window = nullptr;
    if (screen == Screen::kNone) {
        target = std::make_unique<host::HeadlessTarget>(*control.window.Get());
    } else {
        display = plat::Display::Open("Quiln", plat::Size(host::kHostWidth, host::kHostHeight), &reason);
        if (!display) return Fail("cannot show the control in a window: " + reason);
        auto shown = std::make_unique<host::WindowTarget>(*control.window.Get(), *display);
        window = shown.get();
        target = std::move(shown);
    }
    if (const plat::HRESULT hr = target->Open(host::kHostWidth, host::kHostHeight); plat::Failed(hr)) {
        return Fail("the control's window could not be made: " + host::HexResult(hr));
    }
    int exitCode = host::kExitAllRan;
    if (documentPath) {
        std::cout << host::OpenDocument(*control.dispatch.Get(), documentPath) << std::endl;
    } else if (script) {
        exitCode = host::RunScript(*script, *control.dispatch.Get(), *target, std::cout, std::cerr);
    }
    if (screen == Screen::kWindowThenLoop) window->RunUntilClosed();
    target->Close();
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const std::string mode = argv[1];
    if (mode == "version" || mode == "--version") return argc == 2 ? Version() : Usage();
    if (mode == "register" || mode == "unregister") return argc == 3 ? Register(argv[2], mode == "unregister") : Usage();
    if (mode == "window") {
        if (argc == 4 && std::strcmp(argv[2], "--open") == 0)
            return Run(argv[3], Screen::kWindowThenLoop, WindowFile::kDocumentOnly);
        return argc <= 3 ? Run(argc == 3 ? argv[2] : nullptr, Screen::kWindowThenLoop) : Usage();
    }
    if (mode == "run") {
        if (argc == 4 && std::strcmp(argv[2], "--window") == 0) return Run(argv[3], Screen::kWindow);
        return argc == 3 ? Run(argv[2], Screen::kNone) : Usage();
    }
    return Usage();
}
