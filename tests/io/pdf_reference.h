// The PDF export done the plain way, for the tests to compare the export with: on the
// calling thread, one page after another, each page rendered, saved as a JPEG file (synced
// like any other file), added to the page writer; the pictures removed at the end.
#pragma once
#include <string>
#include <vector>

#include "io/pdf_export.h"
#include "io/pdf_page_writer.h"
#include "media/jpeg_file_saver.h"
#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "platform/file/file.h"
#include "tests/support/test_support.h"

namespace pdftest {

// Stops the process's clock for the life of the object, so that two exports stamp the same
// creation date.
struct StoppedClock {
    StoppedClock() { plat::SetManualClock(std::int64_t(1700000000) * 1000); }
    ~StoppedClock() { plat::SetClockSource(nullptr); }
    StoppedClock(const StoppedClock&) = delete;
    StoppedClock& operator=(const StoppedClock&) = delete;
};

// The bytes of the PDF of `pages` pages; empty when any step failed. `folder` (ending in
// a separator) takes the pictures and the file.
inline testsupport::Bytes ExportOnePageAtATime(const std::string& folder, std::int32_t widthMm,
                                               std::int32_t heightMm, int pages, const PdfPageRenderer& render)
{
    const std::string pdf = folder + "reference.pdf";
    std::vector<plat::String> pictures;
    bool ok = true;
    {
        CPdfPageWriter writer(plat::Utf8ToUtf16(pdf), widthMm, heightMm);
        CJpegFileSaver saver;
        for (int i = 0; i < pages && ok; ++i) {
            pictures.push_back(plat::Utf8ToUtf16(folder + "reference-" + std::to_string(i + 1) + ".jpg"));
            std::unique_ptr<plat::Bitmap> page = render(i);
            ok = page && saver.SaveBitmap(pictures.back(), page.get()) && writer.AddPageImage(pictures.back(), i + 1);
        }
        if (!ok) writer.Cancel();
        ok = writer.Close() && ok;
    }
    for (const plat::String& picture : pictures) plat::File::Remove(picture);
    if (!ok) return {};
    testsupport::Bytes bytes = testsupport::ReadFile(pdf);
    plat::File::Remove(plat::Utf8ToUtf16(pdf));
    return bytes;
}

} // namespace pdftest
