// Helpers of the floating-object, page-object-list and page-body tests: the tests' object
// kind, archives in memory and pixel probes.
#pragma once
#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/document/test_object.h"
#include "tests/document/text_model_support.h"

namespace objtest {

using textmodel::Bytes;
using textmodel::LoadFrom;
using textmodel::Store;

// A white memory DC of the given size.
struct Canvas {
    plat::MemoryDc dc;
    std::unique_ptr<plat::Bitmap> bitmap;
    Canvas(int w, int h) : bitmap(plat::Bitmap::Create(w, h))
    {
        bitmap->Fill(0xFFFFFF);
        dc.Select(bitmap.get());
    }
    plat::ColorRef At(int x, int y) const { return bitmap->GetPixel(x, y); }
};

} // namespace objtest
