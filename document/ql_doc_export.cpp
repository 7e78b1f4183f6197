// The document's exports: the parts the automation lists (the text and each page object),
// the text as a UTF-16 file, and the pages as a PDF of page pictures.
#include <cstdint>
#include <vector>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/html_export.h"
#include "document/ql_doc.h"
#include "document/rtf_tables.h"
#include "document/units.h"
#include "io/pdf_export.h"
#include "platform/file/file.h"
#include "platform/file/file_ops.h"
#include "platform/file/replacing_file.h"
#include "platform/file/text_mode_stream.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace {

// The text with a byte-order mark, little-endian code units, no terminator. False when
// the file could not be created or written.
bool WriteUtf16File(const plat::String& path, const plat::String& text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * (text.size() + 1));
    auto put = [&bytes](char16_t c) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    };
    put(0xFEFF);
    for (char16_t c : text) put(c);
    try {
        plat::File file(path, plat::File::kWrite | plat::File::kCreate);
        file.Write(bytes.data(), bytes.size());
        file.Close();
        return true;
    } catch (const plat::FileException&) {
        return false;
    }
}

// The path with its extension replaced by ".txt" (appended when the file name has none).
// Only a dot in the file name counts: one in a folder name is not an extension.
plat::String CaptionPath(const plat::String& path)
{
    const size_t slash = path.find_last_of(u"/\\");
    const size_t dot = path.find_last_of(u'.');
    const bool hasExt = dot != plat::String::npos && (slash == plat::String::npos || dot > slash);
    return (hasExt ? path.substr(0, dot) : path) + u".txt";
}

// While alive, the document hides deleted text (what its text reads then leaves it out).
class HiddenRevisions {
public:
    explicit HiddenRevisions(CQlDoc& doc) : m_doc(doc), m_shown(doc.IsRevisionsShown()) { doc.SetRevisionsShown(false); }
    ~HiddenRevisions() { m_doc.SetRevisionsShown(m_shown); }
    HiddenRevisions(const HiddenRevisions&) = delete;
    HiddenRevisions& operator=(const HiddenRevisions&) = delete;

private:
    CQlDoc& m_doc;
    bool m_shown;
};

// The 8-bit exports keep their paths in buffers of this many bytes of code page 936; a
// longer path is refused rather than cut, which would name another file.
constexpr size_t kMaxPath936 = 255;

bool FitsPathBuffer(const plat::String& path)
{
    return plat::Utf16ToCp936(path).size() <= kMaxPath936;
}

// A page path split for the HTML exports: the stem (up to the extension's dot), the base
// name (the stem's file name) and the folder holding the page. False without an extension
// or without a folder.
struct HtmlPagePath {
    plat::String stem;
    plat::String baseName;
    plat::String folder;
};

bool SplitHtmlPath(const plat::String& path, HtmlPagePath& parts)
{
    const size_t slash = path.find_last_of(u'/');
    const size_t dot = path.find_last_of(u'.');
    if (dot == plat::String::npos || slash == plat::String::npos || dot < slash) return false;
    parts.stem = path.substr(0, dot);
    parts.baseName = parts.stem.substr(slash + 1);
    parts.folder = path.substr(0, slash);
    return true;
}

// Writes a file through a replacing file: the writer's bytes go to a new file that takes
// the target's place only when all of them were written. False when the file could not be
// made or written completely (a full disk), or when the writer reports a failure.
template <class Writer>
bool WriteReplacing(const plat::String& path, Writer write)
{
    plat::ReplacingFile file;
    if (!file.Open(path)) return false;
    try {
        plat::StdioStream stream(file.Stdio());
        if (!write(stream)) return false;
    } catch (const plat::FileException&) {
        return false;
    }
    return file.Commit();
}

// The lines around the body of both HTML pages; each "\n" is a line end of the variant.
constexpr const char16_t* kHtmlHead[] = {
    u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n",
    u"<HTML>\n",
    u"<HEAD>\n",
    u"<META  name=\"GENERATOR\" content=\"Quiln\">\n",
};
constexpr const char16_t* kCharset8Bit = u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" >\n";
constexpr const char16_t* kCharsetUtf16 =
    u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=unicode\" >\n";
constexpr const char16_t* kHtmlTitle[] = {u"<TITLE>Document Title</TITLE>", u"</HEAD>\n", u"<body>\n"};
constexpr const char16_t* kHtmlTail[] = {u"</body>\n", u"</HTML>\n"};

template <class Put>
void WriteHtmlHead(Put put, const char16_t* charsetLine)
{
    for (const char16_t* line : kHtmlHead) put(line);
    put(charsetLine);
    for (const char16_t* line : kHtmlTitle) put(line);
}

} // namespace

int CQlDoc::ExportTotal() const
{
    return (m_body ? m_body->GetObjectCount() : 0) + 1;
}

int CQlDoc::ExportType(int part) const
{
    if (part == 0) return 1;
    const CFloatObject* object = m_body && part > 0 ? m_body->GetObject(part - 1) : nullptr;
    return object ? object->GetExportKind() : 0;
}

plat::String CQlDoc::ExportExt(int part) const
{
    if (part == 0) return u".txt";
    const CFloatObject* object = m_body && part > 0 ? m_body->GetObject(part - 1) : nullptr;
    return object ? object->GetExportExt() : plat::String();
}

plat::String CQlDoc::ExportMark(int part) const
{
    const CFloatObject* object = m_body && part > 0 ? m_body->GetObject(part - 1) : nullptr;
    return object ? object->GetCaption() : plat::String();
}

int CQlDoc::ExportFile(int part, const plat::String& path)
{
    if (!m_body) return 0;
    if (part == 0) {
        // Deleted text is left out, whatever the view shows.
        const HiddenRevisions hidden(*this);
        return WriteUtf16File(path, m_body->GetText(0, m_body->GetCount())) ? 1 : 0;
    }
    CFloatObject* object = part > 0 ? m_body->GetObject(part - 1) : nullptr;
    if (!object) return 0;
    // A failed write is reported, and only a written file is remembered as the last export.
    if (!object->ExportFile(path)) return 0;
    object->m_exportPath = path;
    return object->SaveCaptionText(CaptionPath(path)) ? 1 : 0;
}

int CQlDoc::ExportFileTitle(const plat::String& path)
{
    if (!m_body || m_body->IsEmpty()) return 0;
    const HiddenRevisions hidden(*this);
    int start = 0, end = m_body->GetCount();
    if (m_body->HasSelection()) m_body->GetSelectionRange(start, end);
    return WriteUtf16File(path, m_body->GetText(start, end)) ? 1 : 0;
}

int CQlDoc::ExportHtml(const plat::String& path)
{
    HtmlPagePath parts;
    if (!m_body || !SplitHtmlPath(path, parts) || !FitsPathBuffer(path)) return 0;
    const plat::String pictures = parts.stem + u".files";
    if (!plat::RecreateFolder(pictures)) return 0;
    const bool written = WriteReplacing(path, [&](plat::Stream& file) {
        plat::TextModeStream out(file);
        const auto put = [&out](const char16_t* line) { WriteCp936(out, line); };
        WriteHtmlHead(put, kCharset8Bit);
        m_body->ExportHtml(out, pictures, parts.baseName);
        for (const char16_t* line : kHtmlTail) put(line);
        return true;
    });
    return written ? 1 : 0;
}

int CQlDoc::ExportEHtml(const plat::String& path, const plat::String& listPath)
{
    HtmlPagePath parts;
    if (!m_body || !SplitHtmlPath(path, parts)) return 0;
    for (int k = 0; k < m_body->GetObjectCount(); ++k) m_body->GetObject(k)->m_exportName.clear();
    const bool written = WriteReplacing(path, [&](plat::Stream& out) {
        const auto put = [&out](const char16_t* line) { WriteStringW(out, line); };
        WriteStringW(out, u"\uFEFF");
        WriteHtmlHead(put, kCharsetUtf16);
        m_body->ExportHtmlW(out, parts.folder, parts.baseName);
        for (const char16_t* line : kHtmlTail) put(line);
        return true;
    });
    if (!written) return 0;
    // The list of what the page refers to for each object and the object's own last
    // export; a list that cannot be written leaves the page as it is.
    if (FitsPathBuffer(listPath)) {
        WriteReplacing(listPath, [&](plat::Stream& file) {
            plat::TextModeStream out(file);
            for (int k = 0; k < m_body->GetObjectCount(); ++k) {
                const CFloatObject* object = m_body->GetObject(k);
                WriteCp936(out, plat::Format(u"%s$$$%s\n", object->m_exportName, object->m_exportPath));
            }
            return true;
        });
    }
    return 1;
}

int CQlDoc::ExportRtf(const plat::String& path)
{
    if (!m_body || !FitsPathBuffer(path)) return 0;
    const bool written = WriteReplacing(path, [&](plat::Stream& file) {
        plat::TextModeStream out(file);
        WriteRtfDocument(out, [&](plat::Stream& s, const CRtfFontTable& fonts, const CRtfColorTable& colors) {
            m_body->ExportRtf(s, fonts, colors);
        });
        return true;
    });
    return written ? 1 : 0;
}

void CQlDoc::WriteRtfDocument(plat::Stream& out, const RtfContent& content)
{
    WriteRtfHead(out);
    CRtfFontTable fonts;
    CRtfColorTable colors;
    m_body->CollectRtfFonts(out, fonts);
    m_body->CollectRtfColors(out, colors);
    const CPageSettings page = GetPageSettings();
    WriteAscii(out, plat::Utf16ToUtf8(plat::Format(u"\\paperw%d\\paperh%d\\margl%d\\margr%d\\margt%d\\margb%d\\gutter0",
                                                   MmToTwips(page.paper.cx), MmToTwips(page.paper.cy),
                                                   MmToTwips(page.margins.left), MmToTwips(page.margins.right),
                                                   MmToTwips(page.margins.top), MmToTwips(page.margins.bottom))));
    content(out, fonts, colors);
    WriteAscii(out, "}\n");
}

void CQlDoc::WriteRtfHead(plat::Stream& out)
{
    WriteAscii(out, "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\n");
}

std::unique_ptr<plat::Bitmap> CQlDoc::RenderPageBitmap(int page)
{
    if (!m_body || page < 0 || page >= GetPageCount()) return nullptr;
    const plat::Dc screen;
    const plat::Rect frame = GetPageRect(page);
    // The size is converted as a size, so that every page gets the same one whatever its
    // place on the desk.
    const int width = ::TwipsToPixels(screen, 1.0, frame.right - frame.left);
    const int height = ::TwipsToPixels(screen, 1.0, frame.bottom - frame.top);
    std::unique_ptr<plat::Bitmap> bitmap = plat::Bitmap::Create(width, height);
    if (!bitmap) return nullptr;
    bitmap->Fill(plat::Rgb(255, 255, 255));
    plat::MemoryDc dc(&screen);
    dc.Select(bitmap.get());
    // The running head and the page number belong to the page as it is shown and printed;
    // the body paints in desk coordinates, its origin up and left of the page.
    DrawPageDecorations(dc, page, 1.0, 0, 0);
    m_body->DrawPage(dc, 1.0, -::TwipsToPixels(screen, 1.0, frame.left), -::TwipsToPixels(screen, 1.0, frame.top),
                     kDrawPrint, frame);
    dc.Select(static_cast<plat::Bitmap*>(nullptr));
    return bitmap;
}

int CQlDoc::ExportPdf(const plat::String& path)
{
    const plat::Size paper = GetPaperSize();
    const int pages = GetPageCount();
    if (pages <= 0) return 0;
    PdfExportOptions options;
    // Printing a page of text only reads the document: the items, their pooled formats, the
    // page settings and the fonts (whose engine has its own lock), each page on its own DC.
    // Several pages can then be painted at once. Floating objects may build what they draw
    // (a caption's frame, formats in the pool) the first time they are painted, so a
    // document that has any is painted on this thread, a page at a time. So is one with
    // notes: painting their boxes writes where each was drawn.
    options.concurrentRendering = m_body && m_body->GetObjectCount() == 0 && GetAnnotations().GetCount() == 0;
    // Painting resets the annotation marks, which writes only marks that are set: cleared
    // here, the painters write nothing there.
    GetAnnotations().ResetDrawn();
    return ExportPagesToPdf(path, paper.cx, paper.cy, pages, [this](int i) { return RenderPageBitmap(i); }, options)
               ? 1
               : 0;
}
