// A window of the control's window tree.
#pragma once
#include <memory>

#include "platform/gfx/dc.h"

namespace plat {

class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // A device context for measuring on the window's screen; released when destroyed.
    virtual std::unique_ptr<Dc> GetDc() const;
};

} // namespace plat
