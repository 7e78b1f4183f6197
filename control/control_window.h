// What a host does with the control's window, besides calling its members through the
// dispatch interface. The control's library carries its own window kernel, so everything
// that crosses between the host and the library here is plain data: sizes, rectangles,
// results. The host window itself is made by the control on the host's behalf, a plain
// top-level window standing in for the page or application window that embeds it.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/com/unknown.h"

class IControlWindow : public plat::Unknown {
public:
    // Defined here, so that a host built apart from the library knows it too.
    static const plat::Guid& Iid()
    {
        static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F10}");
        return id;
    }
    // Makes the host window of the given client size and the control's window over all of
    // it, with the editor's frame inside. E_UNEXPECTED when the window exists already,
    // E_FAIL when it cannot be made (the frame's creation failed).
    virtual plat::HRESULT CreateInHost(std::int32_t width, std::int32_t height) = 0;
    // Resizes the host window; the control's window and the frame follow it.
    virtual plat::HRESULT ResizeHost(std::int32_t width, std::int32_t height) = 0;
    // Destroys the control's window (the frame goes with it) and the host window.
    virtual plat::HRESULT DestroyInHost() = 0;
    // The client rectangles of the control's window and of the frame, in the control's
    // client coordinates; E_UNEXPECTED when there is no frame.
    virtual plat::HRESULT GetWindowRects(plat::Rect* control, plat::Rect* frame) = 0;
};
