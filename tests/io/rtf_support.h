// What the RTF and import-sink tests share: small kinds of table and picture that record
// what the sink gives them (registered for the life of a scope under the table and image
// node types), a document to import into, and a dump of the body's text in runs of one
// format. Free of the test framework, so that the fuzz target uses it too.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/import_sink.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "platform/base/strings.h"

namespace rtftest {

// A table that keeps the grid it was asked for, one text flow per cell, the merges and
// the cells made current, in order.
class CFakeTable : public CFloatObject, public CInsertableObject, public CTextHostObject, public CTableBuildTarget {
public:
    CFakeTable(CDocContext* doc, CDocNode* parent) : CFloatObject(doc, parent, kNodeTable) {}

    bool TakeSource(const CNewObjectSource&) override { return true; }
    bool BeginGrid(int rows, int columns, std::span<const std::int32_t> widths) override
    {
        m_rows = rows;
        m_columns = columns;
        m_widths.assign(widths.begin(), widths.end());
        for (int k = 0; k < rows * columns; ++k) m_cells.push_back(std::make_unique<CTextFlow>(m_doc, this));
        return true;
    }
    void MergeRowCells(int row, std::span<const std::uint8_t> flags) override
    {
        m_merges.push_back({row, std::vector<std::uint8_t>(flags.begin(), flags.end())});
    }
    CTextFlow* SetCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                       bool mergeUp) override
    {
        m_cellCalls.push_back({row, column, alignment, verticalAlignment, mergeUp});
        if (mergeUp) return nullptr;
        return m_cells[static_cast<size_t>(row * m_columns + column)].get();
    }
    // The grid is 300 twips a row and as wide as its columns.
    plat::Size RelayoutGrid() override
    {
        int width = 0;
        for (int w : m_widths) width += w;
        return plat::Size(width, 300 * m_rows);
    }
    plat::String CellText(int row, int column) const
    {
        const CTextFlow& cell = *m_cells[static_cast<size_t>(row * m_columns + column)];
        plat::String text = cell.GetText(0, cell.GetCount());
        if (!text.empty() && text.back() == u'\n') text.pop_back();
        return text;
    }

    struct Merge {
        int row;
        std::vector<std::uint8_t> flags;
    };
    struct CellCall {
        int row, column;
        std::uint8_t alignment, verticalAlignment;
        bool mergeUp;
    };
    int m_rows = 0;
    int m_columns = 0;
    std::vector<std::int32_t> m_widths;
    std::vector<Merge> m_merges;
    std::vector<CellCall> m_cellCalls;
    std::vector<std::unique_ptr<CTextFlow>> m_cells;
};

// A picture that keeps the source it was made from; its size is what the sink sets.
class CFakePicture : public CFloatObject, public CInsertableObject {
public:
    CFakePicture(CDocContext* doc, CDocNode* parent) : CFloatObject(doc, parent, kNodeImage) {}
    bool TakeSource(const CNewObjectSource& source) override
    {
        m_source = source;
        return true;
    }
    void OnPlaced() override { m_placed = true; }
    CNewObjectSource m_source;
    bool m_placed = false;
};

inline std::unique_ptr<CFloatObject> MakeFakeTable(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CFakeTable>(doc, parent);
}
inline std::unique_ptr<CFloatObject> MakeFakePicture(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CFakePicture>(doc, parent);
}

// The fake kinds registered for the life of the scope; the kinds they replaced come back.
class CFakeKinds {
public:
    CFakeKinds()
        : m_table(RegisterDocObject(kNodeTable, &MakeFakeTable)), m_image(RegisterDocObject(kNodeImage, &MakeFakePicture))
    {
    }
    ~CFakeKinds()
    {
        RegisterDocObject(kNodeTable, m_table);
        RegisterDocObject(kNodeImage, m_image);
        ResetImportSink();
    }
    CFakeKinds(const CFakeKinds&) = delete;
    CFakeKinds& operator=(const CFakeKinds&) = delete;

private:
    DocObjectMaker m_table;
    DocObjectMaker m_image;
};

// The objects of a kind in the body, in list order.
template <class Kind>
std::vector<Kind*> ObjectsOf(CQlDoc& doc)
{
    std::vector<Kind*> found;
    for (int k = 0; k < doc.GetBody()->GetObjectCount(); ++k)
        if (auto* o = dynamic_cast<Kind*>(doc.GetBody()->GetObject(k))) found.push_back(o);
    return found;
}

// The body's text without its final paragraph end, as UTF-8; paragraph ends are "\n".
inline std::string BodyText(CQlDoc& doc)
{
    CDocBody& body = *doc.GetBody();
    return plat::Utf16ToUtf8(body.GetText(0, body.GetCount() - 1));
}

// The format of the first item of the body whose text is `ch` (UTF-8 of one character),
// or null.
inline const CCharFormat* FormatOf(CQlDoc& doc, const std::string& ch, int nth = 0)
{
    const plat::String code = plat::Utf8ToUtf16(ch);
    CDocBody& body = *doc.GetBody();
    for (int i = 0; i < body.GetCount(); ++i) {
        const CTextItem* item = body.GetItem(i);
        if (item->IsChar() && item->GetCode() == code[0] && nth-- == 0) return &item->GetFormat();
    }
    return nullptr;
}

// The paragraph ends of the body in order (the final one left out).
inline std::vector<const CParaEndItem*> ParaEnds(CQlDoc& doc)
{
    std::vector<const CParaEndItem*> ends;
    CDocBody& body = *doc.GetBody();
    for (int i = 0; i + 1 < body.GetCount(); ++i)
        if (auto* end = dynamic_cast<const CParaEndItem*>(body.GetItem(i))) ends.push_back(end);
    return ends;
}

} // namespace rtftest
