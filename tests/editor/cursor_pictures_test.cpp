// The cursor set and the cursor resources agree.
#include <gtest/gtest.h>

#include "editor/cursor_set.h"
#include "platform/ui/window.h"
#include "resources/res_cursors.h"

namespace {

// Every application cursor the cursor set shows for a hit code has a picture.
TEST(CursorSetPictures, EveryApplicationCursorShownHasAPicture)
{
    int applicationCursors = 0;
    for (int code = 0; code < 256; ++code) {
        const int id = CCursorSet::GetCursor(static_cast<std::uint8_t>(code));
        if (id >= plat::kIdcArrow) continue; // a system cursor
        ++applicationCursors;
        EXPECT_NE(FindResCursor(id), nullptr) << "code " << code << " cursor " << id;
    }
    EXPECT_GT(applicationCursors, 0);
}

} // namespace
