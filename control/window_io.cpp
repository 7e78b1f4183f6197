#include "control/window_io.h"

#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"

namespace quiln {

plat::HRESULT RenderWindowPixels(plat::Window& top, std::int32_t* width, std::int32_t* height,
                                 std::uint32_t* pixels, std::int32_t stride)
{
    if (!width || !height) return plat::E_POINTER;
    const std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(top);
    if (!picture) return plat::E_FAIL;
    *width = picture->Width();
    *height = picture->Height();
    if (!pixels) return plat::S_OK;
    if (stride < picture->Width()) return plat::E_INVALIDARG;
    for (int y = 0; y < picture->Height(); ++y) {
        const std::uint32_t* row = picture->Row(y);
        std::uint32_t* out = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < picture->Width(); ++x) out[x] = row[x] & 0x00FFFFFFu;
    }
    return plat::S_OK;
}

plat::HRESULT KeyInputToFocus(std::int32_t virtualKey, bool down, bool textElsewhere)
{
    if (virtualKey <= 0 || virtualKey > 0xFE) return plat::E_INVALIDARG;
    return plat::KeyInput(virtualKey, down, textElsewhere) ? plat::S_OK : plat::S_FALSE;
}

plat::HRESULT TextInputToFocus(const char16_t* text, std::int32_t length)
{
    if (length < 0 || (length > 0 && !text)) return plat::E_INVALIDARG;
    return plat::TypeText(plat::StringView(text, static_cast<std::size_t>(length))) ? plat::S_OK : plat::S_FALSE;
}

plat::HRESULT MouseInputTo(plat::Window& top, std::uint32_t message, std::int32_t x, std::int32_t y,
                           std::uint32_t keyFlags, std::int32_t wheelDelta)
{
    if (message < plat::kWmMouseFirst || message > plat::kWmMouseWheel) return plat::E_INVALIDARG;
    const plat::Point screen = top.ClientToScreen(plat::Point{x, y});
    return plat::PostMouseInput(top, message, screen, keyFlags, wheelDelta) ? plat::S_OK : plat::S_FALSE;
}

plat::Rect ToTopClient(plat::Window& top, plat::Window& owner, const plat::Rect& local)
{
    plat::Rect rect = owner.ClientToScreen(local);
    const plat::Point origin = top.ClientToScreen(plat::Point{0, 0});
    rect.Offset(-origin.x, -origin.y);
    return rect;
}

} // namespace quiln
