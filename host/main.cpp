// quiln-host: for now it reports the build; the host that drives the control grows here.
#include <cstdio>
#include <gnu/libc-version.h>

#include "platform/base/strings.h"
#include "platform/base/system.h"

int main()
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
    return 0;
}
