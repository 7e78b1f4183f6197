// The document of one editing pane. For now it holds what the document model reads of
// it: the author table and current author, the palette, the revision and reference-pane
// flags and the slot of the insertion-format state; the rest of the per-pane document
// grows around these.
#pragma once
#include <cstdint>

#include "document/author_list.h"
#include "document/color_palette.h"

class CFormatState;

class CQlDoc {
public:
    CQlDoc() = default;
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

    // The insertion-format state; not created yet.
    CFormatState* GetFormatState() const { return m_formatState; }

private:
    CFormatState* m_formatState = nullptr;
    std::int32_t m_revisionsPresent = 0;
    std::int32_t m_revisionsShown = 0;
    std::int16_t m_curAuthor = 0;
    CColorPalette m_palette;
    CAuthorList m_authors;
    std::int32_t m_referencePane = 0;
};
