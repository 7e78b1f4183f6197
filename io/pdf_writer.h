// The PDF writer: one document record and free functions that build a PDF file of pages
// showing JPEG pictures, page contents compressed with Flate.
//
// Calling order: cpdf_open → pdfw_set_compression → pdfw_set_output_file → pdfw_init →
// (pdfw_begin_page, pdfw_place_image, pdfw_end_page) per page → pdfw_finish → pdfw_free.
//
// Pages and images are not limited in number: their tables grow as the document does.
// Output to a file goes to a new file beside the target, which pdfw_finish flushes and
// renames over the target only when the whole file was written; a document that fails
// or is freed unfinished leaves an existing target as it was.
//
// Errors go to the document's error handler with a level: 1 and 2 are reported and the
// operation returns its failure code, the document staying usable; negative levels are
// fatal to the document, which then writes nothing more.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/strings.h"

struct PdfDocument;

struct PdfDocumentFree {
    void operator()(PdfDocument* doc) const;
};
using PdfDocumentPtr = std::unique_ptr<PdfDocument, PdfDocumentFree>;

// (document, level, subsystem name, message). The default handler writes
// "<subsystem>: <message>.\n" to the standard error stream.
using PdfErrorHandler = std::function<void(PdfDocument*, int, std::string_view, std::string_view)>;

// Levels of the error handler.
constexpr int kPdfWarning = 1;
constexpr int kPdfError = 2;
constexpr int kPdfFatal = -1;

// Kinds of placed images.
constexpr int kPdfImageJpeg = 0;
// Flags of pdfw_place_image: the drawing is wrapped in a save and restore of the
// graphics state.
constexpr int kPdfPlaceSaveState = 1;

// Results of pdfw_place_image.
constexpr int kPdfPlaced = 0;
constexpr int kPdfCannotOpenImage = -1;
constexpr int kPdfNotJpeg = -2;
constexpr int kPdfNoOpenPage = -3;
constexpr int kPdfUnsupportedImageKind = -4;

// A new document: PDF 1.1, compression off, output in memory until a file is named.
PdfDocumentPtr cpdf_open(int mode);
// Closes the output (discarding an unfinished file), frees the record, empties the pointer.
void pdfw_free(PdfDocumentPtr& doc);

void pdfw_set_error_handler(PdfDocument* doc, PdfErrorHandler handler);
// Raises the header's version; never lowers either number.
void pdfw_raise_version(PdfDocument* doc, int major, int minor);
// Flate compression of page contents; switching it on makes the file PDF 1.2.
void pdfw_set_compression(PdfDocument* doc, bool on);
void pdfw_set_output_file(PdfDocument* doc, const plat::String& path);
// Opens the output. 0, or -1 when it cannot be opened (an error) or the document was not
// just opened (fatal).
int pdfw_init(PdfDocument* doc);

// Begins page `page` (from 1) with a rotation code (1 → 270°, 2 → 90°, else 0°) and the
// MediaBox and CropBox as four numbers ("0 0 595 841"). 0, or -1 refused. A page begun
// before becomes current again, with a warning, and gives 0.
int pdfw_begin_page(PdfDocument* doc, int page, int rotation, std::string_view mediaBox, std::string_view cropBox);
// 0, -1 a page not begun, -2 a page already finalised.
int pdfw_set_current_page(PdfDocument* doc, int page);
// Places a JPEG file on the current page at (x, y) points, turned by angle degrees.
// Width and height in points and the scales are in/out: a 0 size (or a scale of 0) is
// worked out from the others and the picture's own proportions, and handed back.
// One of the kPdf... results above.
int pdfw_place_image(PdfDocument* doc, const plat::String& path, int kind, double x, double y, double angle,
                     double* width, double* height, double* xScale, double* yScale, int flags);
// Compresses the page's contents (when compression is on) and finalises it.
void pdfw_end_page(PdfDocument* doc, int page);
// Writes the whole file and puts it in place of the target. 0, or -1 when nothing usable
// was written (the target is then left as it was).
int pdfw_finish(PdfDocument* doc);

// Whether a fatal error has stopped the document.
bool pdfw_failed(const PdfDocument* doc);
// The finished file of a document built in memory (empty until pdfw_finish).
const std::string& pdfw_memory_output(const PdfDocument* doc);
