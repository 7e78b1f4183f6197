// The document of one editing pane. For now it holds what the document model reads of
// it: the author table and current author, the palette, the revision and reference-pane
// flags, the insertion-format state and the count of blocks pasted from the reference
// pane; the rest of the per-pane document grows around these.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "document/author_list.h"
#include "document/color_palette.h"
#include "document/format_state.h"

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
};
