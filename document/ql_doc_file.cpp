// The document's native file: New, Open and Save, the document settings that live in the
// file header, and the password that protects the file.
#include <new>
#include <utility>

#include "document/doc_body.h"
#include "document/doc_importer.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/float_object.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "platform/file/file.h"
#include "platform/file/replacing_file.h"
#include "platform/ui/modal.h"
#include "platform/base/saturate.h"

namespace {

DocSettingsDialog& SettingsDialog()
{
    static DocSettingsDialog dialog;
    return dialog;
}

// Without an installed dialog the run is a bare modal run: whoever answers it decides
// between OK and cancel, and the values stay as they were filled in.
int RunBareSettingsDialog(CDocSettingsValues&)
{
    return plat::RunOkCancelDialog(u"文件设置");
}

bool SameSettings(const CDocHeader& a, const CDocHeader& b)
{
    return a.m_paperWidth == b.m_paperWidth && a.m_paperHeight == b.m_paperHeight &&
           a.m_marginLeft == b.m_marginLeft && a.m_marginTop == b.m_marginTop &&
           a.m_marginRight == b.m_marginRight && a.m_marginBottom == b.m_marginBottom &&
           a.m_pageNumberFace == b.m_pageNumberFace && a.m_pageNumberSize == b.m_pageNumberSize &&
           a.m_pageNumberStyle == b.m_pageNumberStyle && a.m_pageNumberOnFirst == b.m_pageNumberOnFirst &&
           a.m_headerText == b.m_headerText && a.m_headerFace == b.m_headerFace &&
           a.m_headerSize == b.m_headerSize && a.m_headerRule == b.m_headerRule &&
           a.m_headerOnFirst == b.m_headerOnFirst && a.m_defaultTextColor == b.m_defaultTextColor &&
           a.m_defaultFillColor == b.m_defaultFillColor;
}

} // namespace

int CQlDoc::FileNew()
{
    if (m_frame) {
        m_frame->StopAutosave();
        m_frame->StopIdleTimer();
    }
    Reset();
    m_authors.Append(0, plat::String());
    m_revisionsPresent = 0;
    m_revisionsShown = 0;
    m_curAuthor = static_cast<std::int16_t>(m_authors.GetLastIndex());
    if (m_frame) m_frame->ShowBars(true);
    if (m_view) m_view->RepaintCanvas();
    if (m_frame) m_frame->StartIdleTimer();
    return 1;
}

int CQlDoc::FileOpen(const plat::String& path, bool readOnly)
{
    plat::File file;
    if (!file.TryOpen(path, plat::File::kRead)) return 0;
    // A file that a registered reader of another format recognises opens through it.
    if (CDocImporter* importer = SniffImporter(file)) return OpenImported(*importer, file, readOnly);

    if (m_frame) {
        m_frame->StopAutosave();
        m_frame->StopIdleTimer();
    }
    Reset();
    m_readOnly = readOnly ? 1 : 0;

    bool accepted = false;
    bool damaged = false;
    try {
        plat::Archive ar(file, plat::Archive::kLoad);
        if (m_header->Load(ar)) {
            m_imageStore.Load(ar, false);
            m_videoStore.Load(ar, false);
            m_audioStore.Load(ar, false);
            m_palette.Load(ar);
            m_authors.Load(ar);
            m_annotations.Load(ar);
            m_body->Load(ar, kArchiveFile);
            // The body is the file's last section: there is no trailer, and bytes after it
            // would be lost by the next save without anyone seeing them.
            if (ar.Remaining() != 0)
                throw plat::ArchiveException(plat::ArchiveException::kBadSchema, "bytes after the document body");
            accepted = true;
        }
    } catch (const plat::ArchiveException&) {
        damaged = true;
    } catch (const plat::FileException&) {
        damaged = true;
    } catch (const std::bad_alloc&) {
        damaged = true;
    }

    // A refused or damaged file leaves a new empty document: what a damaged file had
    // loaded before its fault goes with a second reset.
    if (damaged) {
        Reset();
        m_readOnly = readOnly ? 1 : 0;
    }
    return FinishOpen(accepted);
}

int CQlDoc::FinishOpen(bool accepted)
{
    if (!accepted) {
        m_authors.Append(0, plat::String());
        m_curAuthor = static_cast<std::int16_t>(m_authors.GetLastIndex());
    } else {
        // The view starts at the top of what was opened.
        if (m_view) m_view->ResetScroll();
        // The record of whoever edits from now on.
        m_authors.Append(0, plat::String());
        m_curAuthor = static_cast<std::int16_t>(m_authors.GetLastIndex());
        if (!IsReferencePane()) {
            if (m_frame) m_frame->ShowBars(!IsReadOnly());
            if (!IsReadOnly()) {
                const bool several = !m_authors.IsSingleAuthor();
                m_revisionsPresent = several ? 1 : 0;
                m_revisionsShown = several ? 1 : 0;
                if (several) {
                    // The body was laid out as it loaded, with deleted text hidden, and its
                    // objects anchored to that layout; but their stored boxes are where they
                    // stood beside the deletions shown. Following their paragraphs into the
                    // layout that shows them would push each object down by the deleted text
                    // above it on every open: they anchor afresh where they stand.
                    for (int k = 0; k < m_body->GetObjectCount(); ++k) m_body->GetObject(k)->DropAnchor();
                    m_body->RecalcAllObjects();
                }
            } else if (m_frame) {
                // A read-only document is not compared with a reference.
                m_frame->HideReferencePane();
            }
        }
    }

    if (m_formatState) m_formatState->m_zoom = 1.0;
    if (m_view) {
        m_view->RepaintCanvas();
        m_view->ResetZoom();
    }
    if (m_frame) {
        m_frame->RepaintRuler();
        m_frame->StartIdleTimer();
    }
    return accepted ? 1 : 0;
}

int CQlDoc::FileSave(const plat::String& path)
{
    if (!m_header || !m_body) return 0;
    if (m_frame) {
        // The autosave timer pauses; its setting stays.
        m_frame->PauseAutosaveTimer();
        m_frame->StopIdleTimer();
        m_frame->ShowWaitCursor(true);
    }
    auto restartTimers = [this] {
        if (m_frame) {
            m_frame->ShowWaitCursor(false);
            m_frame->StartIdleTimer();
            m_frame->RestartAutosaveTimer();
        }
    };

    plat::ReplacingFile file;
    if (!file.Open(path)) {
        restartTimers();
        return 0;
    }
    bool written = false;
    try {
        plat::StdioStream stream(file.Stdio());
        plat::Archive ar(stream, plat::Archive::kStore);
        m_header->Store(ar);

        // Only the media still referenced are written.
        m_imageStore.ClearUsed();
        m_videoStore.ClearUsed();
        m_audioStore.ClearUsed();
        m_body->PrepareItems();
        m_imageStore.CountUsed();
        m_videoStore.CountUsed();
        m_audioStore.CountUsed();

        m_imageStore.Save(ar);
        m_videoStore.Save(ar);
        m_audioStore.Save(ar);
        m_palette.Save(ar);
        m_authors.Save(ar);
        m_annotations.Save(ar);
        m_body->Save(ar, kArchiveFile);
        ar.Close();
        written = file.Commit();
    } catch (const plat::ArchiveException&) {
    } catch (const plat::FileException&) {
    } catch (const std::bad_alloc&) {
    }
    if (!written) {
        file.Discard();
        restartTimers();
        return 0;
    }
    m_modified = 0;
    restartTimers();
    return 1;
}

// ---- document settings ----

void CQlDoc::SetSettingsDialog(DocSettingsDialog dialog)
{
    SettingsDialog() = std::move(dialog);
}

CDocSettingsValues CQlDoc::GetSettingsValues() const
{
    CDocSettingsValues v;
    v.page = GetPageSettings();
    v.defaultTextColor = GetDefaultTextColor();
    v.defaultFillColor = GetDefaultFillColor();
    return v;
}

int CQlDoc::FileSetup()
{
    CDocSettingsValues values = GetSettingsValues();
    const DocSettingsDialog& dialog = SettingsDialog();
    const int answer = dialog ? dialog(values) : RunBareSettingsDialog(values);
    if (answer == 1) ApplySettingsValues(values);
    return 1;
}

void CQlDoc::ApplySettingsValues(const CDocSettingsValues& values)
{
    CDocHeader& h = WritableHeader();
    const CDocHeader before(h);
    const CPageSettings& s = values.page;
    h.m_marginLeft = s.margins.left;
    h.m_marginTop = s.margins.top;
    h.m_marginRight = s.margins.right;
    h.m_marginBottom = s.margins.bottom;
    h.m_paperWidth = s.paper.cx;
    h.m_paperHeight = s.paper.cy;
    h.m_pageNumberFace = s.pageNumberFace;
    h.m_pageNumberSize = s.pageNumberSize;
    h.m_pageNumberStyle = s.pageNumberStyle;
    h.m_pageNumberOnFirst = s.pageNumberOnFirst;
    h.m_headerText = s.headerText;
    h.m_headerFace = s.headerFace;
    h.m_headerSize = s.headerSize;
    h.m_headerRule = s.headerRule;
    h.m_headerOnFirst = s.headerOnFirst;
    h.m_defaultTextColor = values.defaultTextColor & 0xFFFFFF;
    h.m_defaultFillColor = values.defaultFillColor & 0xFFFFFF;
    // The settings are saved with the file, so a change must not be lost on closing.
    if (!SameSettings(before, h)) m_modified = 1;

    if (!m_body) return;
    m_body->SetPageGeometry(h.m_marginLeft, h.m_marginTop, h.m_marginRight, h.m_marginBottom, h.m_paperWidth,
                            h.m_paperHeight);
    PullBackWideObjects();
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    RequestRepaint();
}

void CQlDoc::PullBackWideObjects()
{
    // Objects that stick out beyond the paper's right edge come back onto the page: by
    // their right edge when they fit, else to the page's left edge.
    const std::int64_t paperWidth = GetPaperSizeTwips().cx;
    const std::int64_t right = paperWidth + kDeskMargin;
    CPageObjectList& objects = m_body->GetObjectList();
    for (int k = 0; k < objects.GetCount(); ++k) {
        CFloatObject* object = objects.GetObject(k);
        if (!object || object->m_bounds.right <= right) continue;
        const std::int64_t width = std::int64_t(object->m_bounds.right) - object->m_bounds.left;
        const std::int64_t dx = width < paperWidth ? right - object->m_bounds.right : kDeskMargin - std::int64_t(object->m_bounds.left);
        object->Offset(plat::SaturateI32(dx), 0);
    }
}

// ---- password ----

bool CQlDoc::SetPassword(plat::StringView password)
{
    if (!WritableHeader().SetPassword(password)) return false;
    m_modified = 1;
    return true;
}

bool CQlDoc::RemovePassword(plat::StringView password)
{
    if (!WritableHeader().RemovePassword(password)) return false;
    m_modified = 1;
    return true;
}
