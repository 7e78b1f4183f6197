// The insertion-format state of a document: the editing state that is not content. It
// names the focus text (the flow that holds the caret), keeps the formats in force at the
// caret for typing and for the format bar, the table cell range being edited, the mouse
// press and drag state, the pending object-creation tool and the display zoom. Undo
// snapshots carry the part of it that the content depends on.
#pragma once
#include <cstdint>
#include <memory>

#include "document/char_format.h"
#include "document/doc_node.h"
#include "objects/point_list.h"
#include "objects/table_values.h"
#include "platform/base/geometry.h"

class CTextFlow;
class CFloatObject;
namespace plat {
class Dc;
}

// What the document asks of the pending object-creation tool; the tool itself comes with
// the shapes and is owned here until its drag completes or is cancelled.
class CCreationTool {
public:
    virtual ~CCreationTool() = default;
    // Node type of the object the tool creates.
    virtual std::uint16_t GetCreateType() const = 0;
    // Draws the rubber band of the drag in progress, with (x0, y0) the pixel position of
    // the body's origin; while a tool is pending it takes the caret's place.
    virtual void Draw(plat::Dc& /*dc*/, double /*zoom*/, int /*x0*/, int /*y0*/) {}
};

// Vertical alignment of the focus text's table cell or text shape.
enum VerticalAlign : std::uint8_t {
    kAlignTop = 16,
    kAlignMiddle = 32,
    kAlignBottom = 64,
};

class CFormatState : public CDocNode {
public:
    explicit CFormatState(CDocContext* doc);
    ~CFormatState() override;

    CDocContext* GetDoc() const override { return m_doc; }

    // The state's formats become the flow's running formats; null only forgets the flow.
    void SetFocusObject(CTextFlow* flow);
    CTextFlow* GetFocusObject() const { return m_focus; }
    // Puts the format bar and the ruler in step with the formats. They belong to the
    // frame window; a document without a frame has nothing to synchronise.
    void SyncToolbar();

    CCreationTool* GetCreationTracker() const { return m_tracker.get(); }
    void SetCreationTracker(std::unique_ptr<CCreationTool> tracker) { m_tracker = std::move(tracker); }
    void DeleteCreationTracker() { m_tracker.reset(); }
    bool IsCreatingType(std::uint16_t nodeType) const
    {
        return m_tracker && m_tracker->GetCreateType() == nodeType;
    }

    // The snapshot record: formats, the two cells, vertical alignment and zoom. A refused
    // record leaves the state as it was.
    void Load(plat::Archive& ar, int mode);
    void Save(plat::Archive& ar, int mode) const;

    // The zoom factors the view offers, from the largest.
    static constexpr double kZoomMax = 2.0;
    static constexpr double kZoomMin = 0.25;

    // Set directly by the document, the body and the tables.
    std::uint8_t m_dragActive = 0;   // the left button is held after a press on the canvas
    std::uint8_t m_tableZone = 0;    // hit code of the last press (96: an annotation mark)
    plat::Point m_dragPoint;         // last press or drag point, twips
    std::int32_t m_dragBoundary = 0; // the table row or column boundary being dragged
    CPointList m_pointList;          // a dragged shape's saved points
    plat::Rect m_dragBox;            // a dragged shape's box when the drag began
    std::int32_t m_dragVertex = -1;  // a dragged shape's vertex (index in its point list)
    CCharFormat m_charFormat;        // in force at the caret
    CParaFormat m_paraFormat;        // of the caret's paragraph
    CFloatObject* m_trackedObject = nullptr; // follows the drag; not owned
    CCellPos m_currentCell;
    CCellPos m_rangeEndCell;         // the other corner of the selected cell range
    std::uint8_t m_verticalAlign = kAlignTop;
    double m_zoom = 1.0;

private:
    CDocContext* m_doc;                   // not owned
    CTextFlow* m_focus = nullptr;    // not owned
    std::unique_ptr<CCreationTool> m_tracker;
};
