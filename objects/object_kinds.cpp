#include "objects/object_kinds.h"

#include "media/media_kinds.h"
#include "objects/drawing_kinds.h"

// Each kind library (shapes and tables here, image and clip objects in media/, charts in
// charts/) has one function that registers its node types; they are called from here,
// one line a library, and quiln_object_kinds links those libraries.
void RegisterObjectKinds() {
    RegisterDrawingKinds();
    RegisterMediaKinds();
}
