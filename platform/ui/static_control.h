// Static controls: a label, left, centred or right in its rectangle, on the dialog face.
#pragma once
#include "platform/ui/control.h"

namespace plat {

// Static styles, with their Windows values.
constexpr unsigned kSsLeft = 0x0;
constexpr unsigned kSsCenter = 0x1;
constexpr unsigned kSsRight = 0x2;
constexpr unsigned kSsAlignMask = 0x3;
constexpr unsigned kSsSunken = 0x1000; // a frame around the label

class StaticControl : public Control {
protected:
    void Paint(Dc& dc) override;
    unsigned DlgCode(int) const override { return kDlgcStatic; }
};

} // namespace plat
