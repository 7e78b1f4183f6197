// A top-level window of the control's kernel as the host sees it across the library's
// boundary: its picture as plain pixels, input aimed at it, the caret within it. The host
// window and a dialog shown in a window of its own go through the same code.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/com/hresult.h"

namespace plat {
class Window;
}

namespace quiln {

// The window tree's picture: width and height, and when pixels is given its rows,
// `stride` pixels apart, 0x00RRGGBB. E_INVALIDARG when stride is less than the width.
plat::HRESULT RenderWindowPixels(plat::Window& top, std::int32_t* width, std::int32_t* height,
                                 std::uint32_t* pixels, std::int32_t stride);
// A key for the focus window; S_FALSE when no window took it.
plat::HRESULT KeyInputToFocus(std::int32_t virtualKey, bool down, bool textElsewhere);
// Typed text for the focus window; S_FALSE when no window took it.
plat::HRESULT TextInputToFocus(const char16_t* text, std::int32_t length);
// A mouse message at a point of the top window's client area, for the window under it.
plat::HRESULT MouseInputTo(plat::Window& top, std::uint32_t message, std::int32_t x, std::int32_t y,
                           std::uint32_t keyFlags, std::int32_t wheelDelta);
// A rectangle of `owner`'s client area in the client coordinates of `top`.
plat::Rect ToTopClient(plat::Window& top, plat::Window& owner, const plat::Rect& local);

} // namespace quiln
