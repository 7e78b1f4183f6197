// What the model (nodes, formats, items, layout, painting), the text flows, the page body
// and the page objects know of the document that owns them. CQlDoc implements it; the
// object kinds get the same context.
//
// State read in layout and painting loops (revisions shown, the current author, the width
// cache, the author list, the format state) lives here as plain members behind inline
// getters. What the document does on request (repainting, scrolling, page geometry, undo,
// the zoom, the spelling records, the media stores) is virtual.
#pragma once
#include <algorithm>
#include <cstdint>

#include "document/annotation.h"
#include "document/author_list.h"
#include "platform/base/geometry.h"

class CCharWidthCache;
class CDocFrame;
class CFormatState;
class CSpellEngine;
class CSpellErrorList;
class CImageStore;
class CVideoStore;
class CAudioStore;
namespace plat {
class Window;
}

class CDocContext {
public:
    CDocContext(const CDocContext&) = delete;
    CDocContext& operator=(const CDocContext&) = delete;

    // ---- state ----
    // Deleted items and revision colours are shown.
    bool IsRevisionsShown() const { return m_revisionsShown != 0; }
    void SetRevisionsShown(bool on) { m_revisionsShown = on ? 1 : 0; }
    // The record of the author table stamped on inserted items (its last record).
    std::int16_t GetCurAuthorIndex() const { return m_curAuthor; }
    void SetCurAuthorIndex(std::int16_t index) { m_curAuthor = index; }
    CAuthorList& GetAuthors() { return m_authors; }
    const CAuthorList& GetAuthors() const { return m_authors; }
    CAnnotationList& GetAnnotations() { return m_annotations; }
    const CAnnotationList& GetAnnotations() const { return m_annotations; }
    // The frame's character width cache, shared by both panes; null until a frame gives
    // one, and layout then measures with the process's own (CCharWidthCache::For).
    CCharWidthCache* GetWidthCache() const { return m_widthCache; }
    void SetWidthCache(CCharWidthCache* cache) { m_widthCache = cache; }
    // The insertion-format state; null until the document is first reset.
    CFormatState* GetFormatState() const { return m_formatState; }
    // The engine is the frame's; the document only links to it (nullptr: no marks).
    void SetSpellEngine(CSpellEngine* engine) { m_spellEngine = engine; }
    CSpellEngine* GetSpellEngine() const { return m_spellEngine; }
    // Whether the screen shows spelling marks.
    bool GetSpellMarks() const { return m_spellMarks; }

    // Annotation boxes are shown (not only the one under the mouse).
    bool IsAnnotationsShown() const { return m_annotationsShown != 0; }
    void SetAnnotationsShown(bool on) { m_annotationsShown = on ? 1 : 0; }
    // The reference pane's document, which is never editable.
    bool IsReferencePane() const { return m_referencePane != 0; }
    bool IsReference() const { return IsReferencePane(); }
    void SetReference(bool on) { m_referencePane = on ? 1 : 0; }
    // Opened read-only: every editing command refuses.
    bool IsReadOnly() const { return m_readOnly != 0; }
    void SetReadOnly(bool on) { m_readOnly = on ? 1 : 0; }
    // Set by every edit, cleared by saving.
    bool IsModified() const { return m_modified != 0; }
    void SetModified(bool on = true) { m_modified = on ? 1 : 0; }
    // Blocks pasted here that were copied in the reference pane; each pasted block adds
    // its reference flag (0 or 1).
    std::int32_t GetReferencePasteCount() const { return m_referencePastes; }
    void AddReferencePaste(std::int32_t flag) { m_referencePastes += flag != 0 ? 1 : 0; }
    void SetReferencePasteCount(std::int32_t count) { m_referencePastes = count; }

    // ---- services ----
    // The words marked as misspelt in the current pass, and which of them each marked item
    // belongs to. The records know the items they mark, so the list stays with the
    // document rather than below the items, and one document's marks never reach another.
    virtual CSpellErrorList& GetSpellErrors() = 0;
    // The canvas brings the focus text's caret into view / paints again; a document
    // without a window ignores both.
    virtual void ScrollToCaret() const = 0;
    virtual void RequestRepaint() const = 0;
    // The window the objects' own dialogs open over (the page canvas); null without one.
    virtual plat::Window* GetDialogParent() const { return nullptr; }
    // The frame window around the document's view, whose format bar and ruler follow the
    // caret; null for a document without one.
    virtual CDocFrame* GetFrame() const { return nullptr; }
    // Before an edit: an undo snapshot of the body paragraphs around two item indices
    // (-1: the caret and the selection anchor), every page object and the format state.
    virtual void PushUndoState(int p = -1, int q = -1) = 0;
    // Margins (left, top, right, bottom) and paper size of the page settings, in
    // millimetres.
    virtual plat::Rect GetMargins() const = 0;
    virtual plat::Size GetPaperSize() const = 0;
    // What the automatic text and fill colours resolve to.
    virtual plat::ColorRef GetDefaultTextColor() const = 0;
    virtual plat::ColorRef GetDefaultFillColor() const = 0;
    // The stores that pictures and clips keep their files in.
    virtual CImageStore& GetImageStore() = 0;
    virtual CVideoStore& GetVideoStore() = 0;
    virtual CAudioStore& GetAudioStore() = 0;

    // ---- units: screen pixels and twips at the view's zoom, with the desktop's
    // horizontal resolution, read once for the process ----
    virtual double GetZoom() const = 0;
    int PixelsToTwips(int pixels) const;
    int TwipsToPixels(int twips) const;
    plat::Point PixelsToTwipsPoint(int x, int y) const { return plat::Point(PixelsToTwips(x), PixelsToTwips(y)); }
    plat::Point TwipsToPixelsPoint(int x, int y) const { return plat::Point(TwipsToPixels(x), TwipsToPixels(y)); }
    plat::Rect PixelsToTwipsRect(const plat::Rect& r) const;
    plat::Rect TwipsToPixelsRect(const plat::Rect& r) const;
    static int DesktopDpiX();

    // ---- page geometry in twips ----
    // The strip of desk above each page and left of every page.
    static constexpr int kDeskMargin = 200;

protected:
    CDocContext() : m_annotations(this) {}
    virtual ~CDocContext() = default;

    std::int32_t m_revisionsShown = 0;
    std::int16_t m_curAuthor = 0;
    std::int32_t m_referencePane = 0;
    std::int32_t m_annotationsShown = 1;
    std::int32_t m_readOnly = 0;
    std::int32_t m_modified = 0;
    std::int32_t m_referencePastes = 0;
    CAuthorList m_authors;
    CAnnotationList m_annotations;
    CCharWidthCache* m_widthCache = nullptr; // not owned
    // Owned by the implementing document, which sets this whenever it makes a new one.
    CFormatState* m_formatState = nullptr;
    CSpellEngine* m_spellEngine = nullptr;   // not owned
    bool m_spellMarks = false;
};
