// The document of one editing pane. For now it holds what the document model reads of
// it: the author table and current author, the palette, the revision and reference-pane
// flags, the insertion-format state, the count of blocks pasted from the reference pane,
// the page settings with the page geometry and zoom conversions derived from them, and the
// modified flag; the rest of the per-pane document grows around these.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "document/author_list.h"
#include "document/color_palette.h"
#include "document/format_state.h"
#include "document/units.h"
#include "platform/base/geometry.h"

class CCharWidthCache;

class CQlDoc {
public:
    CQlDoc() = default;
    // The format state goes first: the content it points into goes after it.
    ~CQlDoc() { m_formatState.reset(); }
    CQlDoc(const CQlDoc&) = delete;
    CQlDoc& operator=(const CQlDoc&) = delete;

    CAuthorList& GetAuthors() { return m_authors; }
    const CAuthorList& GetAuthors() const { return m_authors; }
    CColorPalette& GetPalette() { return m_palette; }
    const CColorPalette& GetPalette() const { return m_palette; }

    // The record of the author table stamped on inserted items (its last record).
    std::int16_t GetCurAuthorIndex() const { return m_curAuthor; }
    void SetCurAuthorIndex(std::int16_t index) { m_curAuthor = index; }

    // More than one author: the show/hide revisions command is enabled.
    bool HasRevisions() const { return m_revisionsPresent != 0; }
    void SetHasRevisions(bool on) { m_revisionsPresent = on ? 1 : 0; }
    // Deleted items and revision colours are shown.
    bool IsRevisionsShown() const { return m_revisionsShown != 0; }
    void SetRevisionsShown(bool on) { m_revisionsShown = on ? 1 : 0; }
    // The reference pane's document, which is never editable.
    bool IsReference() const { return m_referencePane != 0; }
    void SetReference(bool on) { m_referencePane = on ? 1 : 0; }

    // The insertion-format state; null until the document is first reset.
    CFormatState* GetFormatState() const { return m_formatState.get(); }
    // Deletes the format state and makes a fresh one (zoom 1.0, no focus text): the
    // first step of a reset.
    CFormatState& ResetFormatState()
    {
        m_formatState.reset();
        m_formatState = std::make_unique<CFormatState>(this);
        return *m_formatState;
    }

    // Blocks pasted here that were copied in the reference pane; each pasted block adds
    // its reference flag (0 or 1).
    std::int32_t GetReferencePasteCount() const { return m_referencePastes; }
    void AddReferencePaste(std::int32_t flag) { m_referencePastes += flag != 0 ? 1 : 0; }
    void SetReferencePasteCount(std::int32_t count) { m_referencePastes = count; }

    // Asks the page canvas to bring the focus text's caret into view. The window that
    // shows the document installs the request; a document without one ignores it.
    void ScrollToCaret() const
    {
        if (m_scrollToCaret) m_scrollToCaret();
    }
    void SetScrollToCaret(std::function<void()> request) { m_scrollToCaret = std::move(request); }

    // What the automatic text and fill colours resolve to (the file header's defaults).
    plat::ColorRef GetDefaultTextColor() const { return m_defaultTextColor; }
    void SetDefaultTextColor(plat::ColorRef c) { m_defaultTextColor = c & 0xFFFFFF; }
    plat::ColorRef GetDefaultFillColor() const { return m_defaultFillColor; }
    void SetDefaultFillColor(plat::ColorRef c) { m_defaultFillColor = c & 0xFFFFFF; }

    // The frame's character width cache, shared by both panes; null until a frame gives
    // one, and layout then measures with the process's own (CCharWidthCache::For).
    CCharWidthCache* GetWidthCache() const { return m_widthCache; }
    void SetWidthCache(CCharWidthCache* cache) { m_widthCache = cache; }

    // Page settings in millimetres: margins (left, top, right, bottom) and paper size.
    // The file header holds them once it exists; until then the document keeps the
    // settings of a new document here.
    plat::Rect GetMargins() const { return m_margins; }
    plat::Size GetPaperSize() const { return m_paper; }
    void SetPageSettings(const plat::Rect& margins, plat::Size paper)
    {
        m_margins = margins;
        m_paper = paper;
    }
    plat::Size GetPaperSizeTwips() const { return plat::Size(MmToTwips(m_paper.cx), MmToTwips(m_paper.cy)); }
    // Page i on the desk (a 200-twip strip above each page and left of every page) and its
    // text area, in twips.
    plat::Rect GetPageRect(int i) const
    {
        const plat::Size p = GetPaperSizeTwips();
        const std::int64_t top = std::int64_t(i) * (p.cy + 200) + 200;
        return plat::Rect(200, ClampTwips(top), ClampTwips(std::int64_t(p.cx) + 200), ClampTwips(top + p.cy));
    }
    plat::Rect GetPageTextRect(int i) const
    {
        const plat::Size p = GetPaperSizeTwips();
        const std::int64_t top = std::int64_t(i) * (p.cy + 200) + 200;
        return plat::Rect(ClampTwips(std::int64_t(MmToTwips(m_margins.left)) + 200),
                          ClampTwips(top + MmToTwips(m_margins.top)),
                          ClampTwips(std::int64_t(p.cx) - MmToTwips(m_margins.right) + 200),
                          ClampTwips(top + p.cy - MmToTwips(m_margins.bottom)));
    }
    // Int arithmetic on twips from page settings saturates instead of wrapping.
    static std::int32_t ClampTwips(std::int64_t v)
    {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    }

    // Screen pixels and twips at the view's zoom (the format state's), with the desktop's
    // horizontal resolution, read once for the process.
    double GetZoom() const { return m_formatState ? m_formatState->m_zoom : 1.0; }
    int PixelsToTwips(int pixels) const { return TruncToInt(pixels / GetZoom() * kTwipsPerInch / DesktopDpiX()); }
    int TwipsToPixels(int twips) const { return TruncToInt(double(DesktopDpiX()) * GetZoom() * twips / kTwipsPerInch); }
    plat::Point PixelsToTwipsPoint(int x, int y) const { return plat::Point(PixelsToTwips(x), PixelsToTwips(y)); }
    static int DesktopDpiX()
    {
        static const int dpi = plat::Dc().LogPixelsX();
        return dpi;
    }

    // Set by every edit, cleared by saving.
    bool IsModified() const { return m_modified != 0; }
    void SetModified(bool on = true) { m_modified = on ? 1 : 0; }
    // Asks the page canvas to repaint after an object edit; like ScrollToCaret, a document
    // without a window ignores it.
    void RequestRepaint() const
    {
        if (m_repaint) m_repaint();
    }
    void SetRepaintRequest(std::function<void()> request) { m_repaint = std::move(request); }

private:
    std::unique_ptr<CFormatState> m_formatState;
    std::int32_t m_revisionsPresent = 0;
    std::int32_t m_revisionsShown = 0;
    std::int16_t m_curAuthor = 0;
    CColorPalette m_palette;
    CAuthorList m_authors;
    std::int32_t m_referencePane = 0;
    std::int32_t m_referencePastes = 0;
    std::function<void()> m_scrollToCaret;
    plat::ColorRef m_defaultTextColor = 0;
    plat::ColorRef m_defaultFillColor = 0x00FFFF00;
    CCharWidthCache* m_widthCache = nullptr; // not owned
    plat::Rect m_margins{20, 20, 20, 20};
    plat::Size m_paper{200, 287};
    std::int32_t m_modified = 0;
    std::function<void()> m_repaint;
};
