// The screen in a build without SDL2: there is none, and opening one says so.
#include "platform/display/display.h"

namespace plat {

std::unique_ptr<Display> Display::Open(const std::string&, Size, std::string* error)
{
    if (error) *error = "this build has no screen: SDL2 was not found when it was built (scripts/setup installs it)";
    return nullptr;
}

} // namespace plat
