// The host without a screen: input, the clock, the answers to dialogs and the picture all
// go through the control's IControlWindow. The clock is a manual one from a fixed start,
// so that a script runs the same every time.
#pragma once
#include <functional>

#include "control/control_window.h"
#include "host/host_target.h"

namespace host {

class HeadlessTarget : public HostTarget {
public:
    // 2000-01-01 00:00:00 UTC, where the manual clock starts.
    static constexpr std::int64_t kClockStartMs = 946684800000;

    explicit HeadlessTarget(IControlWindow& control) : m_control(control) {}
    ~HeadlessTarget() override { Close(); }

    plat::HRESULT Open(int width, int height) override;
    void Close() override;
    plat::HRESULT TypeText(plat::StringView text) override;
    plat::HRESULT PressKey(int virtualKey, unsigned modifiers) override;
    plat::HRESULT Click(MouseButton button, ClickCount count, int x, int y) override;
    plat::HRESULT Drag(int x1, int y1, int x2, int y2) override;
    plat::HRESULT AdvanceClock(std::int64_t ms) override;
    plat::HRESULT AnswerNextModal(int answer, const std::vector<plat::String>& texts) override;
    int UnansweredModalCount() override;
    void Settle() override;
    std::unique_ptr<plat::Bitmap> Picture() override;

private:
    IControlWindow& m_control;
    bool m_open = false;
};

// A window's picture as the control renders it (IControlWindow::RenderHost,
// IModalDialog::Render); null when it cannot.
using PixelSource = std::function<plat::HRESULT(std::int32_t* width, std::int32_t* height, std::uint32_t* pixels,
                                                std::int32_t stride)>;
std::unique_ptr<plat::Bitmap> PictureFrom(const PixelSource& render);

} // namespace host
