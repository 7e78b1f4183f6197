// Pictures of a document's pages as printed, for a person to look at a layout: page n
// (1-based) goes to <folder>/<name>-<n>.png.
#pragma once
#include <memory>
#include <string>

#include "document/ql_doc.h"
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"

namespace testsupport {

// False when a page cannot be drawn or written.
inline bool SavePagePictures(CQlDoc& doc, const std::string& folder, const std::string& name)
{
    for (int i = 0; i < doc.GetPageCount(); ++i) {
        const std::unique_ptr<plat::Bitmap> page = doc.RenderPageBitmap(i);
        const std::string path = folder + "/" + name + "-" + std::to_string(i + 1) + ".png";
        if (!page || !page->SavePng(plat::Utf8ToUtf16(path))) return false;
    }
    return true;
}

} // namespace testsupport
