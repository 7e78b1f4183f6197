#include "editor/flat_bitmap_button.h"

#include "platform/ui/focus.h"
#include "platform/ui/message_queue.h"

bool CFlatBitmapButton::Create(plat::Window* parent, const plat::Rect& rect, int id, plat::StringView imageName,
                               int commandId, plat::Window* owner)
{
    m_image.Load(imageName);
    m_owner = owner ? owner : parent;
    m_commandId = commandId;
    return plat::Window::Create(parent, rect, plat::kWsChild | plat::kWsVisible, id);
}

void CFlatBitmapButton::DrawImage(plat::Dc& dc) const
{
    const plat::Rect client = GetClientRect();
    m_image.DrawAt(dc, (client.Width() - m_image.Width()) / 2, (client.Height() - m_image.Height()) / 2);
}

void CFlatBitmapButton::DrawFlat(plat::Dc& dc) const
{
    FillButtonFace(dc, GetClientRect());
    DrawImage(dc);
}

void CFlatBitmapButton::DrawHot(plat::Dc& dc) const
{
    DrawRaisedButton(dc, GetClientRect());
    DrawImage(dc);
}

void CFlatBitmapButton::DrawDown(plat::Dc& dc) const
{
    DrawPressedButton(dc, GetClientRect());
    DrawImage(dc);
}

// Windows draw only while painting here, so a face is shown by repainting with it.
void CFlatBitmapButton::ShowFace(Face face)
{
    if (m_face == face) return;
    m_face = face;
    Invalidate(false);
    UpdateWindow();
}

bool CFlatBitmapButton::CursorInside() const
{
    return GetClientRect().Contains(ScreenToClient(plat::GetCursorPos()));
}

void CFlatBitmapButton::EndHot()
{
    plat::ReleaseCapture();
    plat::SetCursor(plat::kIdcArrow);
    m_hot = false;
    m_face = Face::kFlat;
    Invalidate();
    if (plat::Window* parent = GetParent()) parent->Invalidate();
}

void CFlatBitmapButton::OnMouseMove(plat::Point point)
{
    if (GetClientRect().Contains(point)) {
        plat::SetCursor(plat::kIdcCross);
        m_hot = true;
        ShowFace(Face::kHot);
        if (plat::GetCapture() != this) plat::SetCapture(this);
    } else if (m_hot) {
        EndHot();
    }
}

bool CFlatBitmapButton::TrackPress()
{
    const plat::MessageFilter buttonUp{this, plat::kWmLButtonUp, plat::kWmLButtonUp};
    bool inside = true;
    while (!plat::PeekMessage(buttonUp, false)) {
        const bool now = CursorInside();
        if (now == inside) continue;
        inside = now;
        ShowFace(inside ? Face::kDown : Face::kFlat);
        if (plat::Window* parent = GetParent()) parent->Invalidate();
    }
    return CursorInside();
}

void CFlatBitmapButton::OnLButtonDown()
{
    plat::SetCursor(plat::kIdcCross);
    plat::SetCapture(this);
    ShowFace(Face::kDown);
    if (TrackPress()) plat::SendMessage(m_owner, plat::kWmCommand, static_cast<plat::WParam>(m_commandId), 0);
    EndHot();
}

plat::LResult CFlatBitmapButton::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmPaint: {
        plat::PaintDc dc(*this);
        switch (m_face) {
        case Face::kFlat: DrawFlat(dc); break;
        case Face::kHot: DrawHot(dc); break;
        case Face::kDown: DrawDown(dc); break;
        }
        return 0;
    }
    case plat::kWmMouseMove:
        OnMouseMove(plat::PointFromLParam(lParam));
        return 0;
    case plat::kWmLButtonDown:
        if (GetClientRect().Contains(plat::PointFromLParam(lParam))) OnLButtonDown();
        return 0;
    default:
        return plat::Window::WindowProc(message, wParam, lParam);
    }
}
