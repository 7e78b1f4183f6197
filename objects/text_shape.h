// Text shapes: a page object (node type 26) that carries its own paragraphs in an inner
// text frame and paints one of 21 border kinds around them (text_shape_border.cpp). Every
// border kind has a text rectangle inside the box; the frame is sized to it and placed in
// it by the vertical alignment. The user types into the frame in place, drags the size
// handle and the one or two adjust handles (shadow direction, callout tip, leader points).
#pragma once
#include <cstdint>
#include <memory>

#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "document/text_frame.h"
#include "platform/base/geometry.h"

class CTextShapeObject;

// Hit codes of a text shape's handles and text.
enum TextShapeHitCode : std::uint8_t {
    kTextShapeHitSize = 40,
    kTextShapeHitMove = 70,
    kTextShapeHitText = 93,
    kTextShapeHitAdjust1 = 94,
    kTextShapeHitAdjust2 = 95,
};

// The inner frame of a text shape: its page coordinates start at the shape's box corner
// plus the text origin, so the caret, the selection and the body's hit tests find it.
class CTextShapeFrame : public CTextFrameObj {
public:
    CTextShapeFrame(CDocContext* doc, CTextShapeObject* shape, int width, int height, std::uint8_t alignment);
    ~CTextShapeFrame() override;
    // An interactive check selects the shape before it shows an error in its text.
    void FocusForSpellCheck() override;
    CTextShapeObject* GetShape() const;

protected:
    plat::Point GetPageOrigin() const override;
};

class CTextShapeObject : public CFloatObject,
                         public CInsertableObject,
                         public CTextHostObject,
                         public CReplaceAllTarget {
public:
    static constexpr std::uint8_t kDefaultBorder = 2;
    static constexpr std::uint8_t kNoFill = 1;
    static constexpr std::int32_t kAutoLineColor = static_cast<std::int32_t>(0x80000001u);
    static constexpr std::int32_t kAutoFillColor = static_cast<std::int32_t>(0x80000002u);
    // The least width and height the size handle leaves (twips).
    static constexpr int kLeastSize = 200;
    // Half the side of a handle's square: the move handle's and the others' (twips).
    static constexpr int kMoveHandleSlop = 80;
    static constexpr int kHandleSlop = 60;
    // The last border kind the painter draws; the palette offers 1 to this.
    static constexpr std::uint8_t kLastBorderKind = 21;
    // A new text shape is at least this many pixels wide and high when both sides of the
    // creation drag are smaller.
    static constexpr int kLeastCreatePixels = 20;

    CTextShapeObject(CDocContext* doc, CDocNode* parent);
    ~CTextShapeObject() override;

    // ---- geometry of the text ----
    // The text rectangle of the border kind, relative to the box's top-left corner.
    plat::Rect GetTextRect() const;
    // The inner frame takes the text rectangle's size; it relays out when that changed.
    void FitTextFrame();
    // The text origin by the vertical alignment.
    void AlignTextFrame();
    // The default adjust points of the border kind.
    void ResetAdjustPoints();
    // Paints the outline and the fill of the border kind (text_shape_border.cpp).
    void DrawBorder(plat::Dc& dc, double zoom, int dx, int dy, CRenderContext& rc);
    // Completes a new shape from its creation drag: the box (document pixels, normalised),
    // then a fresh inner frame of the text rectangle, centred, placed in the shape.
    void CompleteFromPixels(const plat::Rect& pixels);

    // ---- the floating-object slots ----
    void Load(plat::Archive& ar, int mode) override;
    void Save(plat::Archive& ar, int mode, int dx, int dy) override;
    void PrepareItems() override;
    void RelayoutContent() override;
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc) override;
    void DrawSelection(plat::Dc& dc, double zoom, int x0, int y0) override;
    int GetCreateMode() const override { return 2; }
    int OnLoaded() override { return 1; }
    void ReleaseContent() override { m_frame.reset(); }
    bool IsTextShape() const override { return true; }
    int ShowProperties() override;
    void OnKeyCtrlHome(bool shift) override;
    void OnKeyCtrlEnd(bool shift) override;
    void OnKeyHome(bool shift) override;
    void OnKeyEnd(bool shift) override;
    void OnKeyLeft(bool shift) override;
    void OnKeyRight(bool shift) override;
    void OnKeyUp(bool shift) override;
    void OnKeyDown(bool shift) override;
    std::uint8_t HitTest(int x, int y, CPointList& handles) override;
    CTextItem* TextItemAtPoint(int x, int y) override;
    std::uint8_t BeginTrack(int x, int y, bool shift, CPointList& handles) override;
    void TrackTo(int x, int y) override;
    void EndTrack(int x, int y) override;
    void GetHandles(CPointList& handles) override;
    int AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink, int position,
                               CSpellError** error) override;
    bool IsEditingText() const override { return HasTextFocus(); }
    bool HasTextFocus() const override;
    int CanCopyText() const override;
    std::vector<std::uint8_t> CopyCells() override { return {}; }
    void PasteCells(const std::vector<std::uint8_t>&) override {}
    int CanDeleteText() const override;
    void DeleteCells() override {}
    bool CanDeleteBackward() const override;
    bool HasText() const override { return m_frame && m_frame->IsNotEmpty(); }
    int SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos) override;
    int SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos) override;
    void ClearSpellMarks() override;
    void MarkSpelling() override;
    void MarkSentenceErrors(CSentenceChecker& checker) override;
    void RemoveAnnotationMark(std::int16_t annotation) override;
    void ConvertCyrillic(int mode) override;
    bool IsTextBearing() const override { return true; }
    void CountStatistics(CStatistics& stats) const override;
    bool FindNext(CFindState& state) override;

    // ---- the document's interfaces ----
    bool TakeSource(const CNewObjectSource& source) override;
    // The box from the first point to the current one, then a fresh centred frame.
    bool CompleteCreation(const CCreationGesture& gesture) override;
    // A new shape takes the typing: its frame becomes the focus text.
    void OnPlaced() override;
    void RealignText() override { AlignTextFrame(); }
    bool ReplaceAllText(CFindState& state) override;

    CTextShapeFrame* GetFrame() const { return m_frame.get(); }
    // A fresh empty frame of the size and paragraph alignment (a creation or a test).
    CTextShapeFrame& CreateFrame(int width, int height, std::uint8_t alignment);
    // Sets the border kind and refits the text to it, as the border commands do.
    void SetBorderKind(std::uint8_t kind);
    // The box's size; the right and bottom edges follow.
    void SetSize(int width, int height);

    std::uint8_t m_borderKind = kDefaultBorder;
    std::int32_t m_lineColor = kAutoLineColor;
    std::uint8_t m_fillPattern = kNoFill;
    std::int32_t m_fillColor = kAutoFillColor;
    plat::Point m_textOrigin;
    plat::Point m_adjust1;
    plat::Point m_adjust2;
    std::uint8_t m_verticalAlign = kAlignMiddle;

private:
    // A point of the page (twips) in the inner frame's coordinates.
    plat::Point ToFrame(int x, int y) const;
    // The border's figures (text_shape_border.cpp).
    void DrawCallout(plat::Dc& dc, double zoom, int dx, int dy, bool rounded);
    void DrawEllipseCallout(plat::Dc& dc, double zoom, int dx, int dy);
    void DrawLineCallout(plat::Dc& dc, double zoom, int dx, int dy, CRenderContext& rc);
    void FillBox(plat::Dc& dc, double zoom, int dx, int dy, CRenderContext& rc);

    std::unique_ptr<CTextShapeFrame> m_frame;
};

// Registers the text shape's node type with the object factory.
void RegisterTextShapeKind();
