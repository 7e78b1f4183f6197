#include "control/quiln_ctrl.h"

#include "control/quiln_app.h"
#include "control/quiln_typelib.h"
#include "document/ql_doc.h"
#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "platform/gfx/pen_brush.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message_queue.h"

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

CQuilnCtrl::CQuilnCtrl() = default;

CQuilnCtrl::~CQuilnCtrl()
{
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
    // The frame's window went first, with the control's other children.
    if (CQuilnApp::Get().GetMainWnd() == m_frame.get()) CQuilnApp::Get().SetMainWnd(nullptr);
    m_frame.reset();
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
