// The desktop's colour scheme: the colours the system paints buttons, frames and text in,
// by the indices callers know them by. One scheme for the process, the classic grey one
// until changed; changing a colour sends nothing (windows see it when they next paint).
#pragma once
#include "platform/base/geometry.h"

namespace plat {

enum SysColorIndex : int {
    kColorScrollBar = 0,
    kColorBackground = 1,
    kColorActiveCaption = 2,
    kColorInactiveCaption = 3,
    kColorMenu = 4,
    kColorWindow = 5,
    kColorWindowFrame = 6,
    kColorMenuText = 7,
    kColorWindowText = 8,
    kColorCaptionText = 9,
    kColorActiveBorder = 10,
    kColorInactiveBorder = 11,
    kColorAppWorkspace = 12,
    kColorHighlight = 13,
    kColorHighlightText = 14,
    kColorBtnFace = 15,
    kColorBtnShadow = 16,
    kColorGrayText = 17,
    kColorBtnText = 18,
    kColorInactiveCaptionText = 19,
    kColorBtnHighlight = 20,
    kColor3dDkShadow = 21,
    kColor3dLight = 22,
    kColorInfoText = 23,
    kColorInfoBk = 24,
};

// The colour of an index; black for an index outside the scheme.
ColorRef GetSysColor(int index);
// Changes one colour (an index outside the scheme is ignored) and returns the old one.
ColorRef SetSysColor(int index, ColorRef color);
// Back to the classic scheme (a test's clean-up).
void ResetSysColors();

} // namespace plat
