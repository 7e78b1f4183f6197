// Text painting: how laid-out items reach a DC. Containers paint item by item on the
// interactive screen pass; full passes (pictures, print, reference pane) batch plain
// Western text into one text-out per run, centred in the width the layout gave it. The
// page body's painter applies the same rules through the helpers below.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

class CRenderContext;
class CTextItem;
class CDocContext;
namespace plat {
class Dc;
}

// The interactive screen pass: pass 1 on a document that is not the reference pane.
bool IsInteractivePass(const CDocContext* doc, int pass);

// The underline of an item and, when asked, the red zigzag of a misspelt one, 4/96 inch
// under its baseline. Only characters at the normal position carry them.
void DrawItemMarks(plat::Dc& dc, double zoom, int x0, int y0, const CTextItem& item, CRenderContext& rc,
                   bool wavy);

// Whether DrawItemMarks would draw anything for the item.
bool HasItemMarks(const CTextItem& item, bool wavy);

// What a pass's batched text is written with: the DC, the zoom, the pixel origin of the
// container and the render context.
class CTextBatch {
public:
    CTextBatch(plat::Dc& dc, double zoom, int x0, int y0, CRenderContext& rc)
        : m_dc(dc), m_zoom(zoom), m_x0(x0), m_y0(y0), m_rc(rc) {}
    CTextBatch(const CTextBatch&) = delete;
    CTextBatch& operator=(const CTextBatch&) = delete;

protected:
    ~CTextBatch() = default;
    plat::Dc& m_dc;
    double m_zoom;
    int m_x0;
    int m_y0;
    CRenderContext& m_rc;
};

// The screen pass's characters, gathered while they follow each other in one format and
// written with one Dc::TextOutEach, each at the very place and in the very font its own
// Draw gives it. Whatever else is drawn must flush them first: the order of everything
// drawn stays that of item by item drawing, and so do the pixels.
class CScreenGlyphs : private CTextBatch {
public:
    using CTextBatch::CTextBatch;

    // Takes a character item whose drawing (with marks shown) is its glyph alone, and
    // flushes first when its font or colour differs from the gathered ones. False, with
    // everything flushed, for any other item, which must draw itself.
    bool Add(const CTextItem& item);
    // Writes what was gathered.
    void Flush();

private:
    // Equal formats share a handle: one handle and face give one font and one colour.
    std::uint32_t m_handle = 0;
    bool m_western = false;
    int m_size = 0;
    std::vector<plat::Point> m_origins;
    plat::String m_codes;
};

// A run of plain Western characters (no revision or annotation mark, normal position) of
// one format on one baseline, written with one text-out.
class CWesternRun : private CTextBatch {
public:
    using CTextBatch::CTextBatch;

    // Items that may be batched at all.
    static bool IsPlain(const CTextItem& item);
    // Takes the item into the run when it can join; otherwise flushes the run and, when
    // the item is plain, starts a new run with it. False when the item was not taken and
    // must draw itself.
    bool Add(const CTextItem& item);
    // Writes the run centred in its laid-out width and empties it.
    void Flush();

private:
    const CTextItem* m_first = nullptr;
    plat::String m_text;
    int m_baseline = 0;
    int m_width = 0;
};
