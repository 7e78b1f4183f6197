#include "platform/ui/window.h"

namespace plat {

std::unique_ptr<Dc> Window::GetDc() const
{
    return std::make_unique<Dc>(kScreenDpi, kScreenDpi);
}

} // namespace plat
