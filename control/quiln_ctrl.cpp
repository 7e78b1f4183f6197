#include "control/quiln_ctrl.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "control/media_editors.h"
#include "control/quiln_app.h"
#include "control/quiln_typelib.h"
#include "control/modal_site.h"
#include "control/window_io.h"
#include "document/doc_body.h"
#include "document/doc_password.h"
#include "document/ql_doc.h"
#include "document/statistics.h"
#include "editor/count_dialogs.h"
#include "editor/password_dialogs.h"
#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "objects/object_prop_dlg.h"
#include "platform/gfx/pen_brush.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/base/system.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/modal.h"
#include "platform/ui/timer.h"

// The top-level window standing in for the host's window: it only keeps the control's
// window over its client area.
class CQuilnCtrl::HostWindow : public plat::Window {
public:
    explicit HostWindow(CQuilnCtrl& control) : m_control(control) {}
    ~HostWindow() override { Destroy(); }

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override
    {
        if (message == plat::kWmSize && m_control.IsCreated())
            m_control.SetWindowPos(GetClientRect(), plat::kSwpNoZOrder);
        return DefWindowProc(message, wParam, lParam);
    }

private:
    CQuilnCtrl& m_control;
};

CQuilnCtrl* CQuilnCtrl::CreateObject()
{
    CQuilnApp::Get();
    return new CQuilnCtrl();
}

CQuilnCtrl::CQuilnCtrl() : m_unansweredBefore(plat::UnansweredModalCount()) {}

// The host's desktop clipboard as the clipboard of the control's window kernel sees it.
class CQuilnCtrl::DesktopClipboard final : public plat::DesktopClipboard {
public:
    explicit DesktopClipboard(IDesktopClipboard& host) : m_host(host) {}
    void Export(plat::StringView text) override
    {
        m_host.PutText(text.data(), static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX)));
    }
    std::optional<plat::String> Import() override
    {
        // The text may change between asking its length and taking it: a few tries.
        std::int32_t length = m_host.GetText(nullptr, 0);
        for (int attempt = 0; attempt < 3 && length >= 0; ++attempt) {
            plat::String text(static_cast<std::size_t>(length), u'\0');
            const std::int32_t now = m_host.GetText(text.data(), length);
            if (now < 0) return std::nullopt;
            if (now <= length) {
                text.resize(static_cast<std::size_t>(now));
                return text;
            }
            length = now;
        }
        return std::nullopt;
    }

private:
    IDesktopClipboard& m_host;
};

CQuilnCtrl::~CQuilnCtrl()
{
    ConnectDesktopClipboard(nullptr);
    Destroy();
    m_host.reset();
}

const plat::Guid& CQuilnCtrl::GetClassID()
{
    return quiln::ControlClsid();
}

std::vector<plat::Guid> CQuilnCtrl::GetPropPageIDs()
{
    return {quiln::PropPageClsid()};
}

// ---- the window ----

bool CQuilnCtrl::CreateControl(plat::Window* parent, const plat::Rect& rect)
{
    if (IsCreated()) return false;
    return Create(parent, rect, plat::kWsChild | plat::kWsVisible | plat::kWsClipChildren) && HasFrame();
}

void CQuilnCtrl::DestroyControl()
{
    Destroy();
}

int CQuilnCtrl::OnCreate()
{
    m_frame = std::make_unique<CQlMain>();
    if (!m_frame->Create(this)) {
        m_frame.reset();
        return -1;
    }
    CQuilnApp::Get().SetMainWnd(m_frame.get());
    // The document asks for a file's password and shows its word count through the
    // dialogs over this control.
    InstallPasswordDialogPrompt(m_frame.get());
    InstallWordCountDialog(m_frame.get());
    CQlMain* frame = m_frame.get();
    CQlDoc::SetObjectLayoutDialog([frame](std::uint8_t& wrap) { return RunObjectLayoutDialog(wrap, frame); });
    InstallMediaEditors(m_frame.get());
    m_frame->GetMainDoc()->FileNew();
    return 0;
}

void CQuilnCtrl::OnSize(int width, int height)
{
    if (m_frame && m_frame->IsCreated())
        m_frame->SetWindowPos(plat::Rect{0, 0, width, height}, plat::kSwpNoZOrder);
}

void CQuilnCtrl::OnMouseWheel(plat::WParam wParam, plat::LParam lParam)
{
    if (CQlView* view = m_frame ? m_frame->GetMainView() : nullptr)
        plat::SendMessage(view, plat::kWmMouseWheel, wParam, lParam);
}

// Keys and characters act on the main document exactly as they do in the main pane's
// canvas, which takes them from here.
void CQuilnCtrl::ForwardToMainCanvas(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    CQlView* view = m_frame ? m_frame->GetMainView() : nullptr;
    if (CQlCanvas* canvas = view ? view->GetCanvas() : nullptr) plat::SendMessage(canvas, message, wParam, lParam);
}

void CQuilnCtrl::OnPaint()
{
    plat::PaintDc dc(*this);
    dc.FillRect(GetClientRect(), plat::Brush::Solid(kBackColor));
}

void CQuilnCtrl::OnDestroy()
{
    // The frame's window went first, with the control's other children; the dialogs
    // installed over it go with it.
    if (m_frame && CQuilnApp::Get().GetMainWnd() == m_frame.get()) {
        CQuilnApp::Get().SetMainWnd(nullptr);
        SetPasswordPrompt({});
        SetWordCountDialog({});
        CQlDoc::SetObjectLayoutDialog({});
    }
    m_frame.reset();
    // The host's site goes with the window it showed things over.
    if (m_modalSite) SetModalSite(nullptr);
}

plat::LResult CQuilnCtrl::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmCreate:
        return OnCreate();
    case plat::kWmSize:
        OnSize(plat::LoWord(static_cast<plat::WParam>(lParam)), plat::HiWord(static_cast<plat::WParam>(lParam)));
        return 0;
    case plat::kWmMouseWheel:
        OnMouseWheel(wParam, lParam);
        return 0;
    case plat::kWmKeyDown:
    case plat::kWmChar:
        ForwardToMainCanvas(message, wParam, lParam);
        return 0;
    case plat::kWmPaint:
        OnPaint();
        return 0;
    case plat::kWmDestroy:
        OnDestroy();
        break;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

namespace {

bool IsRoutedKey(plat::WParam key)
{
    return key == plat::kVkBack || (key >= plat::kVkPrior && key <= plat::kVkDown) || key == plat::kVkDelete;
}

} // namespace

bool CQuilnCtrl::PreTranslateMessage(plat::Message& message)
{
    if ((message.message == plat::kWmKeyDown || message.message == plat::kWmKeyUp) && IsRoutedKey(message.wParam)) {
        plat::SendMessage(this, message.message, message.wParam, message.lParam);
        return true;
    }
    // A message for a window inside the frame has been through the frame's pre-filter on
    // its way up already.
    if (!m_frame || (message.window && message.window->IsDescendantOf(m_frame.get()))) return false;
    return m_frame->PreTranslateMessage(message);
}

// ---- IControlWindow ----

plat::HRESULT CQuilnCtrl::CreateInHost(std::int32_t width, std::int32_t height)
{
    if (m_host || IsCreated()) return plat::E_UNEXPECTED;
    if (width <= 0 || height <= 0) return plat::E_INVALIDARG;
    m_host = std::make_unique<HostWindow>(*this);
    const plat::Rect rect{0, 0, width, height};
    if (!m_host->Create(nullptr, rect, plat::kWsVisible | plat::kWsClipChildren) ||
        !CreateControl(m_host.get(), m_host->GetClientRect())) {
        Destroy();
        m_host.reset();
        return plat::E_FAIL;
    }
    // A control that shows is activated at once (OLEMISC_ACTIVATEWHENVISIBLE): it takes
    // the focus, so that the host's keys and text reach it.
    plat::SetFocus(this);
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::ResizeHost(std::int32_t width, std::int32_t height)
{
    if (!m_host || !m_host->IsCreated()) return plat::E_UNEXPECTED;
    if (width <= 0 || height <= 0) return plat::E_INVALIDARG;
    m_host->SetWindowPos(plat::Rect{0, 0, width, height}, plat::kSwpNoZOrder | plat::kSwpNoMove);
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::DestroyInHost()
{
    if (!m_host) return plat::E_UNEXPECTED;
    ConnectDesktopClipboard(nullptr);
    Destroy();
    m_host.reset();
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::GetWindowRects(plat::Rect* control, plat::Rect* frame)
{
    if (!control || !frame) return plat::E_POINTER;
    if (!HasFrame()) return plat::E_UNEXPECTED;
    *control = GetClientRect();
    *frame = m_frame->GetRect();
    return plat::S_OK;
}

// ---- IControlWindow: input, running and output ----

plat::Window* CQuilnCtrl::TopWindow()
{
    if (m_host && m_host->IsCreated()) return m_host.get();
    plat::Window* top = this;
    while (top->GetParent()) top = top->GetParent();
    return top;
}

plat::HRESULT CQuilnCtrl::KeyInput(std::int32_t virtualKey, bool down, bool textElsewhere)
{
    if (!HasFrame()) return plat::E_UNEXPECTED;
    return quiln::KeyInputToFocus(virtualKey, down, textElsewhere);
}

plat::HRESULT CQuilnCtrl::PressKey(std::int32_t virtualKey, std::uint32_t modifiers)
{
    if (!HasFrame()) return plat::E_UNEXPECTED;
    if (virtualKey <= 0 || virtualKey > 0xFE || (modifiers & ~7u)) return plat::E_INVALIDARG;
    return plat::PressKey(virtualKey, modifiers) ? plat::S_OK : plat::S_FALSE;
}

plat::HRESULT CQuilnCtrl::TypeText(const char16_t* text, std::int32_t length)
{
    if (!HasFrame()) return plat::E_UNEXPECTED;
    return quiln::TextInputToFocus(text, length);
}

plat::HRESULT CQuilnCtrl::MouseInput(std::uint32_t message, std::int32_t x, std::int32_t y, std::uint32_t keyFlags,
                                     std::int32_t wheelDelta)
{
    if (!HasFrame()) return plat::E_UNEXPECTED;
    return quiln::MouseInputTo(*TopWindow(), message, x, y, keyFlags, wheelDelta);
}

plat::HRESULT CQuilnCtrl::Pump(std::int32_t* dispatched)
{
    const std::size_t ran = plat::PumpMessages();
    if (dispatched) *dispatched = static_cast<std::int32_t>(ran);
    return ran ? plat::S_OK : plat::S_FALSE;
}

plat::HRESULT CQuilnCtrl::NextTimerDelay(std::int64_t* ms)
{
    if (!ms) return plat::E_POINTER;
    const std::optional<std::int64_t> due = plat::NextTimerDue();
    *ms = due ? std::max<std::int64_t>(0, *due - plat::NowMs()) : -1;
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::UseManualClock(std::int64_t startMs)
{
    if (m_manualClock) return plat::E_UNEXPECTED;
    if (startMs < 0) return plat::E_INVALIDARG;
    plat::SetManualClock(startMs);
    m_manualClock = true;
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::AdvanceClock(std::int64_t ms)
{
    if (!m_manualClock) return plat::E_UNEXPECTED;
    if (ms < 0) return plat::E_INVALIDARG;
    plat::AdvanceClock(ms);
    plat::PumpMessages();
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::AnswerNextModal(std::int32_t answer, const char16_t* const* texts,
                                          const std::int32_t* lengths, std::int32_t count)
{
    if (count < 0 || (count > 0 && (!texts || !lengths))) return plat::E_INVALIDARG;
    std::vector<plat::String> fill;
    for (std::int32_t i = 0; i < count; ++i) {
        if (lengths[i] < 0 || (lengths[i] > 0 && !texts[i])) return plat::E_INVALIDARG;
        fill.emplace_back(texts[i], static_cast<std::size_t>(lengths[i]));
    }
    plat::AnswerNextModal([answer, fill](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* dialog = plat::DialogOf(run);
        if (!dialog) return answer;
        std::size_t next = 0;
        for (plat::Control* control : dialog->GetControls()) {
            if (next == fill.size()) break;
            // Only boxes a user could type into take a text: disabled ones only show theirs.
            // A drop-down list takes its text as the row the user picks.
            if (dynamic_cast<plat::Edit*>(control) && dialog->TypeInto(control->GetId(), fill[next])) ++next;
            else if (auto* list = dynamic_cast<plat::ComboBox*>(control);
                     list && !list->IsEditable() && list->IsWindowEnabled() && list->IsWindowVisible()) {
                dialog->ChooseRow(control->GetId(), fill[next]);
                ++next;
            }
        }
        // The dialog's own button, so that it takes in what was typed as a click would;
        // a dialog without that button (or with it disabled) ends with the answer itself.
        if (dialog->PressButton(answer)) return std::nullopt;
        return answer;
    });
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::SetModalSite(IModalSite* site)
{
    m_modalSite = site;
    quiln::ConnectModalSite(site);
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::GetUnansweredModalCount(std::int32_t* count)
{
    if (!count) return plat::E_POINTER;
    const std::size_t now = plat::UnansweredModalCount();
    *count = static_cast<std::int32_t>(now >= m_unansweredBefore ? now - m_unansweredBefore : now);
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::RenderHost(std::int32_t* width, std::int32_t* height, std::uint32_t* pixels,
                                     std::int32_t stride)
{
    if (!width || !height) return plat::E_POINTER;
    if (!HasFrame()) return plat::E_UNEXPECTED;
    return quiln::RenderWindowPixels(*TopWindow(), width, height, pixels, stride);
}

plat::HRESULT CQuilnCtrl::GetCaretRect(plat::Rect* rect)
{
    if (!rect) return plat::E_POINTER;
    *rect = plat::Rect{};
    if (!HasFrame()) return plat::E_UNEXPECTED;
    plat::Window* owner = nullptr;
    plat::Rect local;
    if (const plat::CaretState caret = plat::GetCaretState(); caret.owner && caret.visible) {
        owner = caret.owner;
        local = caret.rect;
    } else if (CQlView* view = m_frame->GetMainView(); view && view->GetCanvas() && view->GetCanvas()->GetDocument()) {
        // The page canvas paints the document's caret itself; the body keeps where it last
        // drew it, in the canvas's client coordinates (empty while a selection shows).
        CQlCanvas* canvas = view->GetCanvas();
        local = canvas->GetDocument()->GetBody()->GetCaretRect();
        if (!local.IsEmpty()) owner = canvas;
    }
    if (!owner) return plat::S_FALSE;
    *rect = quiln::ToTopClient(*TopWindow(), *owner, local);
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::GetCursorId(std::int32_t* id)
{
    if (!id) return plat::E_POINTER;
    *id = plat::GetCursor();
    return plat::S_OK;
}

plat::HRESULT CQuilnCtrl::ConnectDesktopClipboard(IDesktopClipboard* clipboard)
{
    // Nothing to undo for a control that never connected one.
    if (!clipboard && !m_desktopClipboard) return plat::S_OK;
    m_desktopClipboard = clipboard ? std::make_unique<DesktopClipboard>(*clipboard) : nullptr;
    plat::SetDesktopClipboard(m_desktopClipboard.get());
    return plat::S_OK;
}
