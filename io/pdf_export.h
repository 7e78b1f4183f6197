// PDF export of a paged document: each page rendered into a bitmap, saved as a JPEG file
// in the private temporary folder, the pictures put one a page into a PDF of the paper's
// size, and the JPEG files removed afterwards.
//
// The document supplies the rendering: for page i (from 0) a bitmap of the page frame at
// the screen's resolution and zoom 1.0 (frame twips / 15 pixels, 96 dpi), white where
// nothing is drawn, the body painted into it. The picture is scaled to the paper's width,
// so the bitmap's proportions should be the paper's.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"

// Renders page `pageIndex` (0-based); nullptr when it cannot be rendered.
using PdfPageRenderer = std::function<std::unique_ptr<plat::Bitmap>(int pageIndex)>;

// Most worker threads an export starts.
constexpr int kMaxPdfExportThreads = 8;

struct PdfExportOptions {
    // Whether the renderer may be called on worker threads, for several pages at once and
    // in any order. When not, every page is rendered on the calling thread in page order
    // (and nothing after a page that failed), and the workers only save the pictures.
    bool concurrentRendering = false;
    // Worker threads; 0 takes one a core, up to kMaxPdfExportThreads.
    int threads = 0;
};

// Writes pageCount pages to the PDF at path. True when every page was rendered, saved and
// written and the file is in place; otherwise false, and an existing file at path is left
// as it was. No JPEG file of the export is left behind either way. Pages are rendered and
// saved as pictures ahead of the writer, a few pages a worker at most, and written in
// page order; the file is the same whatever the threads.
bool ExportPagesToPdf(const plat::String& path, std::int32_t paperWidthMm, std::int32_t paperHeightMm,
                      int pageCount, const PdfPageRenderer& renderPage, const PdfExportOptions& options = {});
