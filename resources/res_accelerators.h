// The module's accelerator tables, by name: the control carries them in its code.
#pragma once
#include "platform/base/strings.h"
#include "platform/ui/keyboard.h"

// The main frame's table.
inline constexpr char16_t kMainAcceleratorsName[] = u"IDR_MAINACCEL";

// The table of a name; null for a name the module does not hold.
const plat::AcceleratorTable* FindAcceleratorTable(plat::StringView name);
