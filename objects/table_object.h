// A table on a page: a floating object whose content is one table grid. The object gives
// the grid its place, caption and wrap mode, follows the grid's total size, paints it, and
// is what the document's commands reach the grid through. Its record is the floating
// object's base record followed by the grid's.
#pragma once
#include <memory>
#include <span>

#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "objects/table_grid.h"

class CTableObject : public CFloatObject,
                     public CTextHostObject,
                     public CInsertableObject,
                     public CRtfCellSource,
                     public CTableBuildTarget {
public:
    // Text above and below only, layer 3, no grid yet.
    CTableObject(CDocContext* doc, CDocNode* parent);
    ~CTableObject() override;

    // Base record, then the grid's. A gridless table (a creation prototype) has no record.
    void Load(plat::Archive& ar, int mode) override;
    void Save(plat::Archive& ar, int mode, int dx, int dy) override;
    void PrepareItems() override;
    // Every cell laid out; the object takes the grid's size.
    void RelayoutContent() override;
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc) override;
    int GetCreateMode() const override { return 2; }
    int OnLoaded() override { return 1; }
    void ReleaseContent() override { m_grid.reset(); }
    bool IsTable() const override { return true; }
    // The table properties dialog over the caption and the wrap mode.
    int ShowProperties() override;

    // Keys, mouse and text reach the grid (table_object_edit.cpp); points arrive in page
    // twips and go to the grid less the object's corner.
    void DrawSelection(plat::Dc& dc, double zoom, int x0, int y0) override;
    void OnKeyTab(bool shift) override;
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
    int AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink, int position,
                               CSpellError** error) override;
    std::uint8_t BeginTrack(int x, int y, bool shift, CPointList& handles) override;
    void TrackTo(int x, int y) override;
    void EndTrack(int x, int y) override;
    // One handle: the top-left corner.
    void GetHandles(CPointList& handles) override;
    bool IsEditingText() const override;
    bool HasTextFocus() const override { return true; }
    // 1 a text selection in the cell, 2 the whole table, 4 a block of cells, 0 nothing.
    int CanCopyText() const override;
    std::vector<std::uint8_t> CopyCells() override;
    bool CanPasteCells(const std::vector<std::uint8_t>& block) const override;
    void PasteCells(const std::vector<std::uint8_t>& block) override;
    int CanDeleteText() const override;
    void DeleteCells() override;
    bool CanDeleteBackward() const override;
    bool HasText() const override;
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

    // The cell being edited is laid out again; its column and row may grow.
    plat::Size RelayoutGrid() override;
    CCellFormatTarget* GetTableGrid() override { return m_grid.get(); }
    // The insert command's prototype: the grid comes when the creation drag sizes it.
    bool TakeSource(const CNewObjectSource& source) override;
    // A grid from the dragged size (table_create.cpp).
    bool CompleteCreation(const CCreationGesture& gesture) override;
    // While the creation drag goes on: the lattice of the table the drag would make, then
    // the rectangle tracker (table_create.cpp).
    void DrawTracker(plat::Dc& dc, double zoom, const CPointList& points) override;

    CTableGrid* GetGrid() const { return m_grid.get(); }
    // A new grid of the counts and widths (empty: default widths); the object takes its size.
    CTableGrid& CreateGrid(int rows, int columns, std::span<const int> widths = {});
    // The object's width and height become the grid's totals, and its box follows.
    void TakeGridSize();

    // The export slots write the grid itself (table_export.cpp): an HTML table in either
    // variant, RTF rows whether the table stands in the text or after it.
    int WriteHtml(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                  const plat::String& name, bool rightAligned) override;
    int WriteHtmlW(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                   const plat::String& name, bool rightAligned) override;
    void WriteRtfPicture(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors) override;
    void WriteRtfShape(plat::Stream& out, int originX, int originY, const CRtfFontTable& fonts,
                       const CRtfColorTable& colors) override;
    void CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts) override;
    void CollectRtfColors(plat::Stream& out, CRtfColorTable& colors) override;

    // An import builds the grid cell by cell (table_import.cpp).
    bool BeginGrid(int rows, int columns, std::span<const std::int32_t> widths) override;
    void MergeRowCells(int row, std::span<const std::uint8_t> flags) override;
    CTextFlow* SetCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                       bool mergeUp) override;

private:
    // The rows (cy) and columns (cx) a creation drag of the size (document pixels) makes.
    plat::Size CountsForDrag(int widthPixels, int heightPixels) const;

    std::unique_ptr<CTableGrid> m_grid;
};

// Registers the table's node type with the object factory.
void RegisterTableKind();
