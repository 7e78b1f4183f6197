// A flat picture button: flat until the mouse is over it, raised while it is, pressed while
// the left button is held inside; a release inside sends its command to the owner.
#pragma once
#include "resources/res_dib.h"
#include "platform/ui/window.h"

class CFlatBitmapButton : public plat::Window {
public:
    // The faces the button shows.
    enum class Face { kFlat, kHot, kDown };

    // A visible child of parent at rect with the picture of the bitmap resource; the command
    // goes to owner (null: the parent). False when the window cannot be made; a missing
    // picture leaves the face empty.
    bool Create(plat::Window* parent, const plat::Rect& rect, int id, plat::StringView imageName, int commandId,
                plat::Window* owner = nullptr);

    // The faces over the client area with the picture centred at its own size.
    void DrawFlat(plat::Dc& dc) const;
    void DrawHot(plat::Dc& dc) const;
    void DrawDown(plat::Dc& dc) const;

    bool IsHot() const { return m_hot; }
    Face GetFace() const { return m_face; }
    int GetCommandId() const { return m_commandId; }
    const CResDib& GetImage() const { return m_image; }

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    void OnMouseMove(plat::Point point);
    void OnLButtonDown();
    // Follows the cursor until a button-up waits in the queue; whether it ended inside.
    bool TrackPress();
    void ShowFace(Face face);
    // Not hot any more: capture released, the arrow back, button and parent repainted.
    void EndHot();
    bool CursorInside() const;
    void DrawImage(plat::Dc& dc) const;

    CResDib m_image;
    plat::Window* m_owner = nullptr;
    int m_commandId = 0;
    bool m_hot = false;
    Face m_face = Face::kFlat;
};
