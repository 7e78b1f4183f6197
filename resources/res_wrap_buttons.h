// The four wrap-mode buttons of the object property dialogs (drawn shapes, text shapes,
// tables, images): owner-drawn picture buttons None, Left, Right, Both for wrap modes 0-3,
// the one of the current mode drawn pressed. A dialog keeps a CWrapButtons for its four
// control ids and hands it its commands and draw-item messages.
#pragma once
#include <optional>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/dc.h"
#include "platform/ui/control.h"
#include "platform/ui/dialog_template.h"

namespace plat {
class Dialog;
}

constexpr int kWrapButtonCount = 4;

// "IDB_BLEXATTR_NONE", "IDB_BLEXATTR_LEFT", "IDB_BLEXATTR_RIGHT", "IDB_BLEXATTR_BOTH" for
// modes 0-3; empty for any other mode.
plat::StringView WrapButtonBitmapName(int mode);

// One wrap button in rect: the pressed face (the selected pattern) when its mode is the
// current one, else the plain button face; then its picture stretched into the rectangle
// shrunk by 2 pixels a side.
void DrawWrapButton(plat::Dc& dc, const plat::Rect& rect, int buttonMode, int currentMode);

// The four template items: owner-drawn buttons of 21 x 21 dialog units with the texts
// "None", "Left", "Right", "Both", ids firstId … firstId + 3, the first at (left, top) and
// each next one step units to the right.
std::vector<plat::DialogItemTemplate> WrapButtonItems(int firstId, int left, int top, int step);

// The behaviour of a dialog's four wrap buttons, ids firstId … firstId + 3 for modes 0-3.
class CWrapButtons {
public:
    explicit CWrapButtons(int firstId) : m_firstId(firstId) {}

    // The mode of a control id; nullopt for an id that is not one of the four.
    std::optional<int> ModeOf(int id) const;
    // A click on one of the four: stores its mode in wrapMode and invalidates the four
    // buttons (with erase) so that the pressed look moves. False for any other id.
    bool OnCommand(plat::Dialog& dialog, int id, int& wrapMode) const;
    // Draws one of the four with DrawWrapButton in its client rectangle; false for any other
    // control (the caller gives it the default handling).
    bool OnDrawItem(const plat::DrawItem& item, int wrapMode) const;

private:
    int m_firstId;
};
