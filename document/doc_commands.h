// What the document's insertion and formatting commands ask of the page-object kinds that
// bring their own classes: the grid model of a table, the content of a new picture, clip,
// chart or shape, and the creation tracker that sizes a new object with the mouse.
#pragma once
#include <cstdint>
#include <memory>

#include "document/char_format.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "platform/base/geometry.h"
#include "platform/base/strings.h"

class CDocContext;

// A table's grid model as the format commands use it: each setter applies to the cell
// being edited, or to every cell of the selected range.
class CCellFormatTarget {
public:
    virtual ~CCellFormatTarget() = default;
    virtual void SetCharFormat(int fieldId, const CCharFormat& values) = 0;
    virtual void SetAlignment(std::uint8_t alignment) = 0;
    virtual void SetLineSpacing(std::uint8_t spacing) = 0;
    // The grid's overall width and height, in twips.
    virtual plat::Size GetTotalSize() const = 0;
    // The table commands' operations at the current cell or the selected range; a target
    // that is no table grid has none of them.
    virtual int GetRowCount() const { return 0; }
    virtual int GetColumnCount() const { return 0; }
    virtual bool HasCellRange() const { return false; }
    virtual void InsertRow() {}
    virtual void InsertColumn() {}
    virtual void DeleteRow() {}
    virtual void DeleteColumn() {}
    virtual bool CanMerge() const { return false; }
    virtual void MergeCells() {}
    virtual bool CanSplit() const { return false; }
    // The current cell, or each cell of the range once, takes the vertical alignment
    // (16 top, 32 middle, 64 bottom) and places its text by it.
    virtual void SetVerticalAlign(std::uint8_t /*code*/) {}
};

// What a new page object is made from.
struct CNewObjectSource {
    plat::String path;            // file path or address of a picture or clip
    plat::String poster;          // a clip's poster picture
    plat::Size natural;           // a video's own size, in pixels
    std::int32_t clipLength = 0;  // a clip's length
    std::uint16_t shapeCode = 0;  // shapes and lines
    // Line ends a line command sets beside its shape code (-1: those the code gives).
    std::int16_t startLineEnd = -1;
    std::int16_t endLineEnd = -1;
    // An import's picture: the image store keeps its own copy of the file even when an
    // equal picture is stored already.
    bool noDeduplication = false;
};

// A page-object kind that the insert commands can fill. TakeSource reads the picture,
// registers the clip in its store, makes the default sample chart or sets the shape code;
// false when it cannot (a file that does not read), and the object is then thrown away.
class CInsertableObject {
public:
    virtual ~CInsertableObject() = default;
    virtual bool TakeSource(const CNewObjectSource& source) = 0;
    // After the insert command placed it (a picture keeps its placed box as its own).
    virtual void OnPlaced() {}
};

// A page object with an advanced outside edit (pictures): started without waiting; the
// object takes the editor's saves back itself. Non-zero when the edit started.
class CAdvancedEditable {
public:
    virtual ~CAdvancedEditable() = default;
    virtual int EditExternallyAdv() = 0;
};

// The pending creation of a table, text shape, shape or line: it holds the prototype until
// a drag on the canvas gives it its place and size and adds it to the body.
class CCreateTracker : public CCreationTool {
public:
    CCreateTracker(CDocContext* doc, std::unique_ptr<CFloatObject> prototype)
        : m_doc(doc), m_prototype(std::move(prototype))
    {
    }
    std::uint16_t GetCreateType() const override { return m_prototype ? m_prototype->GetNodeType() : 0; }
    CDocContext* GetDoc() const { return m_doc; }
    CFloatObject* GetPrototype() const { return m_prototype.get(); }
    // The drag that completes the creation takes the prototype over.
    std::unique_ptr<CFloatObject> TakePrototype() { return std::move(m_prototype); }

private:
    CDocContext* m_doc; // not owned
    std::unique_ptr<CFloatObject> m_prototype;
};

// What a creation command makes: the node type of the prototype, its shape code and the
// line ends it sets (-1: the shape code's own).
struct CCreateSpec {
    std::uint16_t nodeType = 0;
    CNewObjectSource source;
};
// The prototype of a shape command (32821-32834, 32841-32867, 32871-32902, 32911-32932) or
// a line command (32802-32810); false for any other id.
bool GetShapeCommandSpec(int commandId, CCreateSpec& spec);
bool GetLineCommandSpec(int commandId, CCreateSpec& spec);
