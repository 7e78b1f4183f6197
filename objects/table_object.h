// A table on a page: a floating object whose content is one table grid. The object gives
// the grid its place, caption and wrap mode, follows the grid's total size, paints it, and
// is what the document's commands reach the grid through. Its record is the floating
// object's base record followed by the grid's.
#pragma once
#include <memory>
#include <span>

#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "objects/table_grid.h"

class CTableObject : public CFloatObject, public CTextHostObject, public CInsertableObject {
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

    // The cell being edited is laid out again; its column and row may grow.
    plat::Size RelayoutGrid() override;
    CCellFormatTarget* GetTableGrid() override { return m_grid.get(); }
    // The insert command's prototype: the grid comes when the creation drag sizes it.
    bool TakeSource(const CNewObjectSource& source) override;
    // A grid from the dragged size (table_create.cpp).
    bool CompleteCreation(const CCreationGesture& gesture) override;

    CTableGrid* GetGrid() const { return m_grid.get(); }
    // A new grid of the counts and widths (empty: default widths); the object takes its size.
    CTableGrid& CreateGrid(int rows, int columns, std::span<const int> widths = {});
    // The object's width and height become the grid's totals, and its box follows.
    void TakeGridSize();

private:
    std::unique_ptr<CTableGrid> m_grid;
};

// Registers the table's node type with the object factory.
void RegisterTableKind();
