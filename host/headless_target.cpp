#include "host/headless_target.h"

#include "platform/ui/message.h"

namespace host {

plat::HRESULT HeadlessTarget::Open(int width, int height)
{
    // The clock stands still before the frame starts its timers.
    if (const plat::HRESULT hr = m_control.UseManualClock(kClockStartMs); plat::Failed(hr)) return hr;
    const plat::HRESULT hr = m_control.CreateInHost(width, height);
    m_open = plat::Succeeded(hr);
    if (m_open) Settle();
    return hr;
}

void HeadlessTarget::Close()
{
    if (!m_open) return;
    m_control.DestroyInHost();
    m_open = false;
}

plat::HRESULT HeadlessTarget::TypeText(plat::StringView text)
{
    return m_control.TypeText(text.data(), static_cast<std::int32_t>(text.size()));
}

plat::HRESULT HeadlessTarget::PressKey(int virtualKey, unsigned modifiers)
{
    return m_control.PressKey(virtualKey, modifiers);
}

plat::HRESULT HeadlessTarget::Click(MouseButton button, ClickCount count, int x, int y)
{
    const bool left = button == MouseButton::kLeft;
    const unsigned down = left ? plat::kWmLButtonDown : plat::kWmRButtonDown;
    const unsigned up = left ? plat::kWmLButtonUp : plat::kWmRButtonUp;
    const unsigned twice = left ? plat::kWmLButtonDblClk : plat::kWmRButtonDblClk;
    const std::uint32_t held = left ? plat::kMkLButton : plat::kMkRButton;
    // What the window system reports for a click: the move there, then the button; the
    // second press of a double click comes as the double-click message.
    std::vector<std::pair<unsigned, std::uint32_t>> messages{{plat::kWmMouseMove, 0}, {down, held}, {up, 0}};
    if (count == ClickCount::kDouble) {
        messages.push_back({twice, held});
        messages.push_back({up, 0});
    }
    for (const auto& [message, flags] : messages) {
        if (const plat::HRESULT hr = m_control.MouseInput(message, x, y, flags, 0); plat::Failed(hr)) return hr;
    }
    return plat::S_OK;
}

plat::HRESULT HeadlessTarget::Drag(int x1, int y1, int x2, int y2)
{
    // The move there, the press, a move with the button held, the release.
    const struct {
        unsigned message;
        int x, y;
        std::uint32_t flags;
    } steps[] = {{plat::kWmMouseMove, x1, y1, 0},
                 {plat::kWmLButtonDown, x1, y1, plat::kMkLButton},
                 {plat::kWmMouseMove, x2, y2, plat::kMkLButton},
                 {plat::kWmLButtonUp, x2, y2, 0}};
    for (const auto& s : steps)
        if (const plat::HRESULT hr = m_control.MouseInput(s.message, s.x, s.y, s.flags, 0); plat::Failed(hr)) return hr;
    return plat::S_OK;
}

plat::HRESULT HeadlessTarget::AdvanceClock(std::int64_t ms)
{
    return m_control.AdvanceClock(ms);
}

plat::HRESULT HeadlessTarget::AnswerNextModal(int answer, const std::vector<plat::String>& texts)
{
    std::vector<const char16_t*> pointers;
    std::vector<std::int32_t> lengths;
    for (const plat::String& text : texts) {
        pointers.push_back(text.c_str());
        lengths.push_back(static_cast<std::int32_t>(text.size()));
    }
    return m_control.AnswerNextModal(answer, pointers.data(), lengths.data(), static_cast<std::int32_t>(texts.size()));
}

int HeadlessTarget::UnansweredModalCount()
{
    std::int32_t count = 0;
    return plat::Succeeded(m_control.GetUnansweredModalCount(&count)) ? count : 0;
}

void HeadlessTarget::Settle()
{
    m_control.Pump(nullptr);
}

std::unique_ptr<plat::Bitmap> HeadlessTarget::Picture()
{
    return PictureFrom([this](std::int32_t* width, std::int32_t* height, std::uint32_t* pixels, std::int32_t stride) {
        return m_control.RenderHost(width, height, pixels, stride);
    });
}

std::unique_ptr<plat::Bitmap> PictureFrom(const PixelSource& render)
{
    std::int32_t width = 0, height = 0;
    if (plat::Failed(render(&width, &height, nullptr, 0))) return nullptr;
    std::unique_ptr<plat::Bitmap> picture = plat::Bitmap::Create(width, height);
    if (!picture) return nullptr;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::int32_t w = width, h = height;
    if (plat::Failed(render(&w, &h, pixels.data(), width)) || w != width || h != height) return nullptr;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        std::copy(from, from + width, picture->MutableRow(y));
    }
    return picture;
}

} // namespace host
