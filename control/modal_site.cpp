#include "control/modal_site.h"

#include <optional>

#include "control/control_window.h"
#include "control/window_io.h"
#include "platform/ui/dialog.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/modal.h"

namespace quiln {

namespace {

// What a box with no caption of its own is titled: the module's name.
constexpr char16_t kDefaultBoxCaption[] = u"Quiln";

// A running dialog as the host sees it.
class DialogOnSite final : public IModalDialog {
public:
    explicit DialogOnSite(plat::Dialog& dialog) : m_dialog(dialog) {}

    plat::HRESULT Render(std::int32_t* width, std::int32_t* height, std::uint32_t* pixels,
                         std::int32_t stride) override
    {
        return RenderWindowPixels(m_dialog, width, height, pixels, stride);
    }
    plat::HRESULT KeyInput(std::int32_t virtualKey, bool down, bool textElsewhere) override
    {
        return KeyInputToFocus(virtualKey, down, textElsewhere);
    }
    plat::HRESULT TypeText(const char16_t* text, std::int32_t length) override
    {
        return TextInputToFocus(text, length);
    }
    plat::HRESULT MouseInput(std::uint32_t message, std::int32_t x, std::int32_t y, std::uint32_t keyFlags,
                             std::int32_t wheelDelta) override
    {
        const plat::Point at = plat::Point(x, y) - ClientOffset();
        return MouseInputTo(m_dialog, message, at.x, at.y, keyFlags, wheelDelta);
    }
    plat::HRESULT Pump(std::int32_t* dispatched) override
    {
        const std::size_t ran = plat::PumpMessages();
        if (dispatched) *dispatched = static_cast<std::int32_t>(ran);
        return ran ? plat::S_OK : plat::S_FALSE;
    }
    bool IsEnded() override { return m_dialog.IsEnded() || !m_dialog.IsCreated(); }
    plat::HRESULT GetCaretRect(plat::Rect* rect) override
    {
        if (!rect) return plat::E_POINTER;
        *rect = plat::Rect{};
        const plat::CaretState caret = plat::GetCaretState();
        if (!caret.owner || !caret.visible || (caret.owner != &m_dialog && !caret.owner->IsDescendantOf(&m_dialog)))
            return plat::S_FALSE;
        *rect = ToTopClient(m_dialog, *caret.owner, caret.rect);
        const plat::Point offset = ClientOffset();
        rect->Offset(offset.x, offset.y);
        return plat::S_OK;
    }

private:
    // Where the client area starts in the dialog's picture, which holds its frame too.
    plat::Point ClientOffset() const
    {
        const plat::Rect window = m_dialog.GetWindowRect();
        return m_dialog.ClientToScreen(plat::Point{0, 0}) - plat::Point(window.left, window.top);
    }

    plat::Dialog& m_dialog;
};

std::optional<int> ShowMessageBox(IModalSite& site, const plat::String& caption, const plat::String& text,
                                  unsigned style, const std::vector<int>& buttonIds, int defaultButton)
{
    const plat::String shownCaption = caption.empty() ? plat::String(kDefaultBoxCaption) : caption;
    const std::vector<std::int32_t> buttons(buttonIds.begin(), buttonIds.end());
    const std::int32_t pressed = site.ShowMessageBox(
        shownCaption.data(), static_cast<std::int32_t>(shownCaption.size()), text.data(),
        static_cast<std::int32_t>(text.size()), style, buttons.data(), static_cast<std::int32_t>(buttons.size()),
        defaultButton);
    if (pressed <= 0) return std::nullopt;
    return pressed;
}

std::optional<int> ShowThroughSite(IModalSite& site, const plat::ModalRecord& run)
{
    switch (run.kind) {
    case plat::ModalKind::kMessageBox:
        return ShowMessageBox(site, run.caption, run.text, run.style, run.buttons, run.defaultAnswer);
    case plat::ModalKind::kDialog: {
        plat::Dialog* dialog = plat::DialogOf(run);
        if (!dialog) {
            // A dialog with no window of its own is its caption with its buttons.
            return ShowMessageBox(site, {}, run.caption, plat::kMbOkCancel,
                                  run.buttons.empty() ? std::vector<int>{plat::kIdOk, plat::kIdCancel} : run.buttons,
                                  run.defaultAnswer ? run.defaultAnswer : plat::kIdCancel);
        }
        DialogOnSite shown(*dialog);
        const plat::String& title = run.caption;
        const plat::HRESULT hr = site.RunDialog(title.data(), static_cast<std::int32_t>(title.size()), shown);
        // A dialog ended by its own button gives the loop its result.
        if (dialog->IsEnded()) return std::nullopt;
        // The user closed its window: as its close box, Cancel.
        if (hr == plat::S_FALSE) return plat::kIdCancel;
        return std::nullopt;
    }
    case plat::ModalKind::kPopupMenu:
        // The host shows no popup menus yet: the run fails as before.
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

void ConnectModalSite(IModalSite* site)
{
    if (!site) {
        plat::SetModalHandler({});
        return;
    }
    plat::SetModalHandler([site](const plat::ModalRecord& run) { return ShowThroughSite(*site, run); });
}

} // namespace quiln
