// The module's bitmap resources: small pictures the control carries in its own code, so
// that painting never depends on a file being found at run time.
#pragma once
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"

// The picture of a resource name ("IDB_ENDPAR"), made on first use and kept for the life
// of the process; null for a name the module does not hold. UI thread only.
const plat::Bitmap* LoadResBitmap(plat::StringView name);
