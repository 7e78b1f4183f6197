// Painting services shared by everything that draws document content: the colour
// resolver, which turns stored colours (with the two automatic-colour values) into real
// colours, and the render context, which wraps a DC for one painting pass.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/dc.h"

class CDocContext;
class CCharFormat;
class CTextItem;

class CColorRef {
public:
    explicit CColorRef(const CDocContext* doc) : m_doc(doc) {}
    virtual ~CColorRef() = default;

    // 0x80000001 is the document's default text colour, 0x80000002 its default fill
    // colour; anything else is a colour in its low 24 bits.
    plat::ColorRef Resolve(std::int32_t value) const;
    // Resolved with red and blue exchanged (0x00RRGGBB), as HTML and RTF print colours.
    plat::ColorRef ResolveBGR(std::int32_t value) const;
    // Fixed colours of object handles and frames.
    static plat::ColorRef GetBlue() { return 0xFF0000; }
    static plat::ColorRef GetGrey() { return 0x808080; }

private:
    const CDocContext* m_doc; // not owned; null resolves the automatic colours to the defaults
};

// Line kinds 2-13: the line styles of shapes, borders, tables and underlines.
struct LineKindStyle {
    plat::PenStyle style;
    int width; // 1/96 inch
};
LineKindStyle LineKindToStyle(int kind);

// A DC for the length of one painting pass. Fonts, pens, brushes, text colour, alignment
// and background mode are set only when they change; what the DC held before is recorded
// the first time this context replaces it and put back by Restore. Construction leaves the
// DC in transparent mode with baseline-left alignment.
class CRenderContext {
public:
    CRenderContext(const CDocContext* doc, plat::Dc& dc);
    ~CRenderContext();
    CRenderContext(const CRenderContext&) = delete;
    CRenderContext& operator=(const CRenderContext&) = delete;

    const CDocContext* GetDoc() const { return m_doc; }
    // The pixel position of the desk's origin in this pass: text frames inside objects
    // paint from origins of their own, and what is placed in document coordinates (the
    // annotation boxes) is placed from this one. The page body sets it.
    void SetDocOrigin(plat::Point origin) { m_docOrigin = origin; }
    plat::Point GetDocOrigin() const { return m_docOrigin; }

    // A font of the face, the size in twips at the zoom, bold, italic, underline and
    // strike-out; a size that comes to 0 pixels still gives a font 1 pixel high.
    void SetFont(plat::Dc& dc, double zoom, const plat::String& face, int size, bool bold, bool italic,
                 bool underline, bool strikeOut);
    void SetTextAlign(plat::Dc& dc, unsigned align);
    // Text is always drawn over what is there: the mode is transparent whatever is asked.
    void SetBkMode(plat::Dc& dc, int mode);
    // The colour for a character of the format: in revision view, the colour of the
    // author who deleted it, else of the author who inserted it (where that author has
    // a revision colour); automatic colours are resolved.
    void SetTextColor(plat::Dc& dc, const CCharFormat& format, std::int32_t color);
    // A pen of a line kind (2-13; other kinds give a thin solid pen) in the colour, its
    // width scaled from 1/96 inch at the zoom and at least one pixel.
    void SetLinePen(plat::Dc& dc, double zoom, int kind, std::int32_t color);
    void SetPen(plat::Dc& dc, plat::PenStyle style, int pixelWidth, std::int32_t color);
    int GetPenWidth() const { return m_penWidth; }
    // Brush kinds: 1 none, 2 solid, 3-8 hatches; any other kind selects nothing.
    void SetBrush(plat::Dc& dc, int kind, std::int32_t color);
    void SetSolidBrush(plat::Dc& dc, std::int32_t color) { SetBrush(dc, 2, color); }

    // One character at (x, y) on the baseline in the face and drawing size; deleted
    // characters are struck out.
    void DrawChar(plat::Dc& dc, double zoom, int x, int y, char16_t ch, const plat::String& face, int size,
                  bool bold, bool italic, const CCharFormat& format, std::int32_t color);
    // The underline of the item's format at (x, y): single, double, or a dot under the
    // middle of the cell.
    void DrawUnderline(plat::Dc& dc, double zoom, const CTextItem& item, int x, int y, int cellWidth,
                       int lineWidth);
    // The red zigzag under a misspelt word, 2 pixels high, its lower points on y.
    void DrawWavyLine(plat::Dc& dc, double zoom, int x, int y, int width);

    // Puts back whatever this context replaced.
    void Restore(plat::Dc& dc);

    // Fonts made during this pass, one per distinct key.
    int GetFontCount() const { return static_cast<int>(m_fonts.size()); }

private:
    struct FontKey {
        plat::String face;
        double scaledSize = 0; // zoom x size
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        bool operator==(const FontKey&) const = default;
    };
    struct FontKeyHash {
        std::size_t operator()(const FontKey& k) const;
    };
    void SelectPen(plat::Dc& dc, const plat::Pen& pen);

    const CDocContext* m_doc; // not owned
    CColorRef m_colors;
    plat::Point m_docOrigin;

    // What the DC had before this context first replaced it.
    bool m_fontReplaced = false;
    const plat::Font* m_oldFont = nullptr;
    bool m_penReplaced = false;
    const plat::Pen* m_oldPen = nullptr;
    bool m_brushReplaced = false;
    const plat::Brush* m_oldBrush = nullptr;
    std::int64_t m_oldTextColor = -1;
    unsigned m_oldTextAlign = 0;
    bool m_alignReplaced = false;
    int m_oldBkMode = 0;

    // The objects this context made. A pass draws CJK and Western text in turn, so the
    // fonts are kept by key for the whole pass; the pen and brush are replaced in place.
    std::unordered_map<FontKey, std::unique_ptr<plat::Font>, FontKeyHash> m_fonts;
    const plat::Font* m_font = nullptr;
    FontKey m_fontKey;
    std::unique_ptr<plat::Pen> m_pen;
    std::unique_ptr<plat::Brush> m_brush;

    // Current keys.
    int m_lineKind = -1;
    std::int64_t m_lineColor = -1;
    double m_lineZoom = 0;
    bool m_rawPen = false;
    plat::PenStyle m_rawStyle = plat::kPenSolid;
    std::int64_t m_rawColor = -1;
    int m_penWidth = 0;
    int m_brushKind = 255;
    std::int64_t m_brushColor = -1;
    std::int64_t m_textColor = -1;
    unsigned m_textAlign = 0;
    int m_bkMode = 0;
};
