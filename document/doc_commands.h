// What the document's insertion and formatting commands ask of the page-object kinds that
// bring their own classes: the grid model of a table, the content of a new picture, clip,
// chart or shape, and the creation tracker that sizes a new object with the mouse.
#pragma once
#include <cstdint>
#include <memory>

#include "document/char_format.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "objects/point_list.h"
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
    // The split: the counts asked of the user (false when cancelled), then the split itself
    // (false, changing nothing, for counts the cell does not allow).
    virtual bool AskSplitParts(int& /*rowParts*/, int& /*columnParts*/) { return false; }
    virtual bool SplitCurrentCell(int /*rowParts*/, int /*columnParts*/) { return false; }
    // The border dialog on the current cell or the range; true when it changed lines (the
    // target took the undo step before writing them).
    virtual bool BordersDialog() { return false; }
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

// A finished creation gesture, in document pixels at the document's zoom: the points
// clicked (a two-point drag collects its press only), the press that began it, the last
// (constrained) cursor position and the last clicked point.
struct CCreationGesture {
    CPointList points;
    plat::Point start;
    plat::Point current;
    plat::Point lastClick;
};

// A page-object kind that the insert commands can fill. TakeSource reads the picture,
// registers the clip in its store, makes the default sample chart or sets the shape code;
// false when it cannot (a file that does not read), and the object is then thrown away.
class CInsertableObject {
public:
    virtual ~CInsertableObject() = default;
    virtual bool TakeSource(const CNewObjectSource& source) = 0;
    // After the insert command placed it (a picture keeps its placed box as its own; a new
    // text shape takes the typing).
    virtual void OnPlaced() {}
    // Completes a prototype from its creation gesture. The tracker has already given it the
    // box from the start point to the current point; each kind makes what it needs from
    // the gesture (a text shape its frame, a table its grid, a drawn shape its points).
    // False when the gesture makes no object.
    virtual bool CompleteCreation(const CCreationGesture& /*gesture*/) { return true; }
    // Where a creation point goes while Shift is held, with the first collected point as
    // the anchor (a line turns in steps, a rectangle stays square).
    virtual plat::Point ConstrainCreationPoint(plat::Point /*anchor*/, plat::Point point) const { return point; }
};

// A page object with an advanced outside edit (pictures): started without waiting; the
// object takes the editor's saves back itself. Non-zero when the edit started.
class CAdvancedEditable {
public:
    virtual ~CAdvancedEditable() = default;
    virtual int EditExternallyAdv() = 0;
};

// The pending creation of a table, text shape, shape or line: it holds the prototype until
// the mouse gesture on the canvas gives it its place and size (create_tracker.cpp). A
// two-point gesture is a press, a drag and a release; a point-by-point gesture collects
// clicks and ends with a double click. All points are document pixels.
class CCreateTracker : public CCreationTool {
public:
    // A point-by-point shape keeps at most this many points, the bound of a shape record;
    // further clicks are ignored.
    static constexpr int kMaxPoints = 4096;
    // A click within this many pixels of the last one adds no point.
    static constexpr int kClickSlop = 2;

    CCreateTracker(CDocContext* doc, std::unique_ptr<CFloatObject> prototype);
    ~CCreateTracker() override;

    std::uint16_t GetCreateType() const override { return m_prototype ? m_prototype->GetNodeType() : 0; }
    CDocContext* GetDoc() const { return m_doc; }
    CFloatObject* GetPrototype() const { return m_prototype.get(); }
    CFloatObject* GetObject() const { return m_prototype.get(); }
    // The caller owns the prototype from then on.
    std::unique_ptr<CFloatObject> DetachObject() { return std::move(m_prototype); }
    std::unique_ptr<CFloatObject> TakePrototype() { return DetachObject(); }
    void DeleteObject() { m_prototype.reset(); }

    // How many points the gesture collects: 2 a drag, 0 clicks ended by a double click.
    int GetCreateMode() const { return m_prototype ? m_prototype->GetCreateMode() : 2; }
    int GetPointCount() const { return m_gesture.points.GetCount(); }
    bool IsTracking() const { return m_tracking; }
    plat::Point GetCurrentPoint() const { return m_gesture.current; }

    void OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    // True when the collected points reach the creation mode.
    bool AddClickPoint(int x, int y);
    // Completes the prototype and stops tracking; false when the gesture made nothing
    // (a point-by-point shape with fewer than two points).
    bool Finish();
    // The prototype's own rubber band through the collected points and the current one.
    void DrawRubberBand(plat::Dc& dc, int dx, int dy);
    void Draw(plat::Dc& dc, double zoom, int x0, int y0) override;

private:
    plat::Point ConstrainPoint(int x, int y) const;
    void Collect(plat::Point p);

    CDocContext* m_doc; // not owned
    std::unique_ptr<CFloatObject> m_prototype;
    bool m_tracking = false;
    CCreationGesture m_gesture;
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
