// The document's commands that add page objects: pictures, clips and charts placed below
// the caret, and the creation trackers of tables, text shapes, shapes and lines.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/float_object.h"
#include "document/page_object_list.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/base/saturate.h"

namespace {

// A document shown in no window places objects as if on a canvas of this size (pixels).
constexpr plat::Size kWindowlessCanvas{1024, 768};
// New objects keep this far below the caret's line or the selected object.
constexpr int kPlacementGap = 105;

struct CommandRange {
    int first, last, subtrahend;
};
// Shape command ids and what is subtracted from each to give its shape code.
constexpr CommandRange kShapeCommands[] = {
    {32821, 32834, 27700}, // 0x1401-0x140E
    {32841, 32867, 28232}, // 0x1201-0x121B
    {32871, 32902, 28006}, // 0x1301-0x1320
    {32911, 32932, 27534}, // 0x1501-0x1516
};

struct LineCommand {
    int id;
    std::uint16_t code;
    std::int16_t startEnd, endEnd;
};
constexpr std::int16_t kArrowEnd = 4;
constexpr LineCommand kLineCommands[] = {
    {32802, 0x1101, -1, -1},        {32803, 0x1101, -1, kArrowEnd}, {32804, 0x1101, kArrowEnd, kArrowEnd},
    {32805, 0x1102, -1, -1},        {32806, 0x1103, -1, -1},        {32807, 0x1104, -1, -1},
    {32808, 0x1105, -1, -1},        {32809, 0x1106, -1, -1},        {32810, 0x1108, -1, -1},
};

} // namespace

bool GetShapeCommandSpec(int commandId, CCreateSpec& spec)
{
    for (const CommandRange& r : kShapeCommands) {
        if (commandId < r.first || commandId > r.last) continue;
        spec = CCreateSpec();
        spec.nodeType = kNodeShape;
        spec.source.shapeCode = static_cast<std::uint16_t>(commandId - r.subtrahend);
        return true;
    }
    return false;
}

bool GetLineCommandSpec(int commandId, CCreateSpec& spec)
{
    for (const LineCommand& c : kLineCommands) {
        if (c.id != commandId) continue;
        spec = CCreateSpec();
        spec.nodeType = kNodeShape;
        spec.source.shapeCode = c.code;
        spec.source.startLineEnd = c.startEnd;
        spec.source.endLineEnd = c.endEnd;
        return true;
    }
    return false;
}

std::unique_ptr<CFloatObject> CQlDoc::MakeObject(std::uint16_t type, const CNewObjectSource& source)
{
    std::unique_ptr<CFloatObject> object = CreateDocObject(this, type, &m_body->GetObjectList());
    if (!object) return nullptr;
    auto* insertable = dynamic_cast<CInsertableObject*>(object.get());
    if (!insertable || !insertable->TakeSource(source)) return nullptr;
    return object;
}

void CQlDoc::PlaceNewObject(plat::Size natural, CFloatObject& object, int x, int y, int width, int height)
{
    // The natural size in twips at zoom 1.0.
    const double twipsPerPixel = double(kTwipsPerInch) / DesktopDpiX();
    const int naturalW = std::max(1, TruncToInt(std::max(natural.cx, 1) * twipsPerPixel));
    const int naturalH = std::max(1, TruncToInt(std::max(natural.cy, 1) * twipsPerPixel));

    // The largest box: what the canvas shows, and two thirds of the text area.
    const plat::Size client = m_view ? m_view->GetCanvasClientSize() : kWindowlessCanvas;
    const plat::Size area = GetTextAreaSize();
    const int boxW = std::max(1, std::min(PixelsToTwips(client.cx), area.cx * 2 / 3));
    const int boxH = std::max(1, std::min(PixelsToTwips(client.cy), area.cy * 2 / 3));
    int w = naturalW, h = naturalH;
    if (naturalW <= boxW && naturalH <= boxH) {
        // It fits as it is.
    } else if (std::int64_t(naturalW) * boxH == std::int64_t(naturalH) * boxW) {
        w = boxW;
        h = boxH;
    } else if (std::int64_t(naturalH) * boxW < std::int64_t(naturalW) * boxH) {
        w = boxW;
        h = std::max<int>(1, static_cast<int>(std::int64_t(naturalH) * boxW / naturalW));
    } else {
        h = boxH;
        w = std::max<int>(1, static_cast<int>(std::int64_t(naturalW) * boxH / naturalH));
    }

    // At the left margin of the page: where the text of the first page starts.
    int left = GetPageTextRect(0).left;
    const plat::Point scroll = m_view ? m_view->GetScrollPosition() : plat::Point();
    int top = plat::SaturateI32(std::int64_t(PixelsToTwips(scroll.y)) + (boxH - h) / 2);
    if (x > 0 && y > 0 && width > 0 && height > 0) {
        left = x;
        top = y;
        w = width;
        h = height;
    }
    // Below the caret's line, or below the one selected object.
    const int selected = m_body->GetSelectedCount();
    if (selected == 0) {
        if (const CTextItem* item = m_body->GetItem(m_body->GetCaretPos().m_index))
            top = plat::SaturateI32(std::int64_t(item->GetTop()) + item->GetHeight() + kPlacementGap);
    } else if (selected == 1) {
        top = plat::SaturateI32(std::int64_t(m_body->GetSelectedObject(0)->m_bounds.bottom) + kPlacementGap);
    }

    object.m_bounds = plat::Rect(left, top, plat::SaturateI32(std::int64_t(left) + w), plat::SaturateI32(std::int64_t(top) + h));
    object.m_width = w;
    object.m_height = h;
    object.RecalcLayout();
}

CFloatObject* CQlDoc::AddNewObject(std::unique_ptr<CFloatObject> object)
{
    if (!IsEditable() || !object) return nullptr;
    PushUndoState();
    m_body->DeselectAll();
    object->SetSelected(true);
    CFloatObject* added = m_body->AddObject(std::move(object));
    m_body->BuildPageRegions();
    m_body->RelayoutWhole();
    SetModified(true);
    if (m_view) {
        const plat::Rect& b = added->m_bounds;
        m_view->ScrollToPoint(TwipsToPixelsPoint(b.left, b.top));
        m_view->ScrollToPoint(TwipsToPixelsPoint(b.right, b.bottom));
    }
    RequestRepaint();
    return added;
}

int CQlDoc::InsertMadeObject(std::uint16_t type, const CNewObjectSource& source, const plat::String& caption,
                             bool clip, plat::Size natural, int x, int y, int width, int height)
{
    if (!IsEditable()) return 0;
    std::unique_ptr<CFloatObject> object = MakeObject(type, source);
    if (!object) return 0;
    object->SetCaption(caption);
    if (clip) object->OnLoaded();
    if (natural.cx <= 0 || natural.cy <= 0) natural = object->GetNaturalSize();
    PlaceNewObject(natural, *object, x, y, width, height);
    dynamic_cast<CInsertableObject&>(*object).OnPlaced();
    return AddNewObject(std::move(object)) ? 1 : 0;
}

int CQlDoc::InsertImage(const plat::String& path, const plat::String& caption, int x, int y, int width, int height)
{
    CNewObjectSource source;
    source.path = path;
    return InsertMadeObject(kNodeImage, source, caption, false, plat::Size(), x, y, width, height);
}

int CQlDoc::InsertVideo(const plat::String& path, int naturalWidth, int naturalHeight, std::int32_t clipLength,
                        const plat::String& poster, const plat::String& caption, int x, int y, int width, int height)
{
    CNewObjectSource source;
    source.path = path;
    source.poster = poster;
    source.natural = plat::Size(naturalWidth, naturalHeight);
    source.clipLength = clipLength;
    // The clip is placed at the size the caller gives as its own.
    return InsertMadeObject(kNodeVideo, source, caption, true, plat::Size(width, height), x, y, width, height);
}

int CQlDoc::InsertRealMedia(const plat::String& path, const plat::String& poster, const plat::String& caption, int x,
                            int y, int width, int height)
{
    CNewObjectSource source;
    source.path = path;
    source.poster = poster;
    return InsertMadeObject(kNodeRealMedia, source, caption, true, plat::Size(), x, y, width, height);
}

int CQlDoc::InsertWmv(const plat::String& path, const plat::String& poster, const plat::String& caption, int x, int y,
                      int width, int height)
{
    CNewObjectSource source;
    source.path = path;
    source.poster = poster;
    return InsertMadeObject(kNodeWmv, source, caption, true, plat::Size(), x, y, width, height);
}

int CQlDoc::InsertFlash(const plat::String& path, const plat::String& poster, const plat::String& caption, int x,
                        int y, int width, int height)
{
    CNewObjectSource source;
    source.path = path;
    source.poster = poster;
    return InsertMadeObject(kNodeFlash, source, caption, true, plat::Size(), x, y, width, height);
}

int CQlDoc::InsertAudio(const plat::String& path, std::int32_t clipLength, const plat::String& caption, int x, int y,
                        int width, int height)
{
    CNewObjectSource source;
    source.path = path;
    source.clipLength = clipLength;
    return InsertMadeObject(kNodeAudio, source, caption, false, plat::Size(), x, y, width, height);
}

int CQlDoc::InsertChart()
{
    // Half the canvas, in pixels; the chart takes its default sample chart.
    const plat::Size client = m_view ? m_view->GetCanvasClientSize() : kWindowlessCanvas;
    return InsertMadeObject(kNodeChart, CNewObjectSource(), plat::String(), false,
                            plat::Size(std::max(1, client.cx / 2), std::max(1, client.cy / 2)), 0, 0, 0, 0);
}

// ---- interactive creation ----

CCreationTool* CQlDoc::BeginCreate(std::uint16_t type, const CNewObjectSource& source)
{
    if (!IsEditable()) return nullptr;
    std::unique_ptr<CFloatObject> prototype = MakeObject(type, source);
    if (!prototype) return nullptr;
    m_formatState->DeleteCreationTracker();
    auto tracker = std::make_unique<CCreateTracker>(this, std::move(prototype));
    CCreationTool* pending = tracker.get();
    m_formatState->SetCreationTracker(std::move(tracker));
    return pending;
}

CCreationTool* CQlDoc::BeginInsertTable()
{
    return BeginCreate(kNodeTable, CNewObjectSource());
}

CCreationTool* CQlDoc::BeginInsertText()
{
    return BeginCreate(kNodeTextShape, CNewObjectSource());
}

CCreationTool* CQlDoc::BeginInsertShape(std::uint16_t shapeCode)
{
    CNewObjectSource source;
    source.shapeCode = shapeCode;
    return BeginCreate(kNodeShape, source);
}

CCreationTool* CQlDoc::BeginInsertShapeCommand(int commandId)
{
    CCreateSpec spec;
    if (!GetShapeCommandSpec(commandId, spec)) return nullptr;
    return BeginCreate(spec.nodeType, spec.source);
}

CCreationTool* CQlDoc::BeginInsertLine(int commandId)
{
    CCreateSpec spec;
    if (!GetLineCommandSpec(commandId, spec)) return nullptr;
    return BeginCreate(spec.nodeType, spec.source);
}

// ---- the creation tool's mouse gesture ----

CCreateTracker* CQlDoc::PendingCreateTracker() const
{
    return m_formatState ? dynamic_cast<CCreateTracker*>(m_formatState->GetCreationTracker()) : nullptr;
}

void CQlDoc::CompleteCreate(CCreateTracker& tracker)
{
    const bool made = tracker.Finish();
    std::unique_ptr<CFloatObject> object = made ? tracker.DetachObject() : nullptr;
    m_formatState->DeleteCreationTracker(); // the tracker is gone from here on
    if (!object) {
        RequestRepaint();
        return;
    }
    auto* insertable = dynamic_cast<CInsertableObject*>(object.get());
    if (CFloatObject* added = AddNewObject(std::move(object)); added && insertable) insertable->OnPlaced();
}

CQlDoc::CreateMouse CQlDoc::CreatePress(plat::Point point)
{
    CCreateTracker* tracker = PendingCreateTracker();
    if (!tracker) return CreateMouse::kNone;
    if (!tracker->IsTracking()) {
        tracker->OnLButtonDown(point.x, point.y);
        RequestRepaint();
        return CreateMouse::kCapture;
    }
    if (tracker->GetCreateMode() == 2 || tracker->AddClickPoint(point.x, point.y)) {
        CompleteCreate(*tracker);
        return CreateMouse::kRelease;
    }
    RequestRepaint();
    return CreateMouse::kKeep;
}

CQlDoc::CreateMouse CQlDoc::CreateMove(plat::Point point)
{
    CCreateTracker* tracker = PendingCreateTracker();
    if (!tracker) return CreateMouse::kNone;
    if (!tracker->IsTracking()) return CreateMouse::kKeep;
    tracker->OnMouseMove(point.x, point.y);
    RequestRepaint();
    return CreateMouse::kKeep;
}

CQlDoc::CreateMouse CQlDoc::CreateRelease(plat::Point point)
{
    CCreateTracker* tracker = PendingCreateTracker();
    if (!tracker) return CreateMouse::kNone;
    if (!tracker->IsTracking() || tracker->GetCreateMode() != 2) return CreateMouse::kKeep;
    tracker->OnMouseMove(point.x, point.y);
    CompleteCreate(*tracker);
    return CreateMouse::kRelease;
}

CQlDoc::CreateMouse CQlDoc::CreateDoubleClick(plat::Point /*point*/)
{
    CCreateTracker* tracker = PendingCreateTracker();
    if (!tracker) return CreateMouse::kNone;
    if (!tracker->IsTracking() || tracker->GetCreateMode() != 0) return CreateMouse::kKeep;
    if (tracker->GetPointCount() > 1) {
        CompleteCreate(*tracker);
    } else {
        // Too few points: the gesture ends and the creation is dropped.
        tracker->Finish();
        m_formatState->DeleteCreationTracker();
        RequestRepaint();
    }
    return CreateMouse::kRelease;
}

CQlDoc::CreateMouse CQlDoc::CreateCancel()
{
    if (!m_formatState || !m_formatState->GetCreationTracker()) return CreateMouse::kNone;
    m_formatState->DeleteCreationTracker();
    RequestRepaint();
    return CreateMouse::kRelease;
}
