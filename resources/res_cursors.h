// The module's cursor resources: small black-and-white pictures with a hot spot, for the
// parts of objects and tables the mouse is over (the frame's cursor set names them by id).
#pragma once
#include "platform/base/geometry.h"
#include "platform/gfx/bitmap.h"

struct ResCursor {
    int id;
    plat::Point hotSpot;        // the pixel that is the mouse position
    const plat::Bitmap* image;  // drawn pixels black or white; black where transparent
    const plat::Bitmap* mask;   // white where transparent, black where drawn
};

// Drawn the usual way for cursors: the destination ANDed with the mask, then XORed with the
// image. Made on first use and kept for the life of the process; null for an id the module
// has no picture for. Ids 7050, 7053, 7055-7061 and 7063 have pictures; 7051, 7052, 7054,
// 7062 and 7064, which the cursor set loads but never shows, have none. UI thread only.
const ResCursor* FindResCursor(int id);
