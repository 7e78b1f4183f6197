#include "io/pdf_export.h"

#include <exception>
#include <vector>

#include "io/pdf_page_writer.h"
#include "media/jpeg_file_saver.h"
#include "platform/base/system.h"
#include "platform/file/file.h"

namespace {

// Removes the page pictures whatever way the export ends.
class PagePictures {
public:
    ~PagePictures()
    {
        for (const plat::String& path : m_paths) plat::File::Remove(path);
    }
    void Add(const plat::String& path) { m_paths.push_back(path); }

private:
    std::vector<plat::String> m_paths;
};

} // namespace

bool ExportPagesToPdf(const plat::String& path, std::int32_t paperWidthMm, std::int32_t paperHeightMm,
                      int pageCount, const PdfPageRenderer& renderPage)
{
    if (pageCount <= 0 || !renderPage) return false;
    // Pictures are named by the time of the export and the page number, in the process's
    // own temporary folder.
    const plat::String stamp = plat::Format(u"%d", static_cast<long long>(plat::Now()));
    const plat::String folder = plat::TempDir();

    // Declared before the writer, so the pictures outlive it on every way out.
    PagePictures pictures;
    // The writer is opened first, so an output that cannot be created is found before any
    // page is rendered.
    CPdfPageWriter writer(path, paperWidthMm, paperHeightMm);
    if (writer.Failed()) return false;
    // The pictures are read back into the PDF and removed: only the PDF is synced.
    CJpegFileSaver saver(plat::FileDurability::kScratch);
    try {
        for (int i = 0; i < pageCount; ++i) {
            std::unique_ptr<plat::Bitmap> page = renderPage(i);
            if (!page) {
                writer.Cancel();
                return false;
            }
            const plat::String picture = plat::Format(u"%s%s%03d.jpg", folder, stamp, i + 1);
            pictures.Add(picture);
            if (!saver.SaveBitmap(picture, page.get()) || !writer.AddPageImage(picture, i + 1)) {
                writer.Cancel();
                return false;
            }
        }
    } catch (const std::exception&) {
        // A page whose painting failed (a file or archive error of one of its objects).
        writer.Cancel();
        return false;
    }
    return writer.Close();
}
