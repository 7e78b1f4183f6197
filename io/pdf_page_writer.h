// The PDF of page pictures: one JPEG file a page, each shown at the paper's width on a
// page of the paper's size, its lower-left corner on the page's lower-left corner.
//
// Calling order: construct → AddPageImage for pages 1, 2, … → Close. The JPEG files must
// exist until Close, which copies them into the file.
//
// The file is written whole or not at all: when any page could not be added, or the file
// could not be written, Close reports false and an existing file at the path stays as it
// was.
#pragma once
#include <cstdint>
#include <string>

#include "io/pdf_writer.h"
#include "platform/base/strings.h"

class CPdfPageWriter {
public:
    CPdfPageWriter(const plat::String& path, std::int32_t widthMm, std::int32_t heightMm);
    // Closes the file when still open.
    virtual ~CPdfPageWriter();
    CPdfPageWriter(const CPdfPageWriter&) = delete;
    CPdfPageWriter& operator=(const CPdfPageWriter&) = delete;

    // Adds page `page` (from 1) showing the JPEG file. False when the page could not be
    // added (then Close writes nothing).
    bool AddPageImage(const plat::String& jpegPath, int page);
    // Writes the file and puts it in place. True when the whole file was written; a second
    // call gives the first one's answer and writes nothing.
    bool Close();
    // Gives up: closes without writing, leaving an existing file at the path as it was.
    void Cancel();

    // Whether the writer has failed (bad paper, output not created, a page refused, ...);
    // a failed writer takes no more pages and Close writes nothing.
    bool Failed() const { return m_failed; }
    // The page box in points, "0 0 width height".
    std::string PageBox() const;
    // The last message of the PDF writer ("" when none).
    const std::string& LastError() const { return m_lastError; }

private:
    PdfDocumentPtr m_pdf;
    std::int32_t m_widthMm;
    std::int32_t m_heightMm;
    bool m_failed = false;
    bool m_written = false;
    std::string m_lastError;
};

// Paper millimetres in points, truncated toward zero as the page boxes carry them.
int PdfMmToPoints(std::int32_t mm);
