#include "media/image_object.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/format_state.h"
#include "document/names.h"
#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "document/statistics.h"
#include "document/units.h"
#include "media/external_editor.h"
#include "media/image_prop_dlg.h"
#include "media/media_store.h"
#include "objects/point_list.h"
#include "platform/base/saturate.h"
#include "platform/file/file_ops.h"
#include "platform/gfx/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/keyboard.h"

namespace {

// Native file: four reserved zeros after the mirror points.
constexpr int kReservedBytes = 16;

bool KeyboardShift()
{
    return plat::IsKeyDown(plat::kVkShift);
}
CImageObject::ShiftQuery g_shiftQuery = &KeyboardShift;

// Truncated toward zero. Angles come from LineAngle, whose π is the design's short one, so a
// quarter turn falls a hair short of it: a value within a millionth of a whole number is
// taken as that number, or a side of 1440 twips would come out 1439.
int Trunc(double v)
{
    const double nearest = std::round(v);
    if (std::fabs(v - nearest) < 1e-6) v = nearest;
    return plat::SaturateI32(static_cast<std::int64_t>(v));
}

// Local (along u, along v) offsets of the corners P0, P1, P2, P3 in a W × H rectangle.
constexpr int kCornerAlongU[4] = {0, 0, 1, 1};
constexpr int kCornerAlongV[4] = {0, 1, 0, 1};

void ReadPoint(plat::Archive& ar, plat::Point& p)
{
    p.x = ar.ReadI32();
    p.y = ar.ReadI32();
}

void WritePoint(plat::Archive& ar, plat::Point p, int dx = 0, int dy = 0)
{
    ar.WriteI32(plat::SaturateI32(std::int64_t(p.x) + dx));
    ar.WriteI32(plat::SaturateI32(std::int64_t(p.y) + dy));
}

// A clipboard record names the working copy of the document it was copied from: only a
// file in a private temporary folder of ours is taken from it.
bool IsWorkingCopyPath(const plat::String& path)
{
    const std::filesystem::path p(plat::Utf16ToUtf8(path));
    const std::string folder = p.parent_path().filename().string();
    return p.is_absolute() && folder.rfind("quiln-", 0) == 0 && std::filesystem::is_regular_file(p);
}

} // namespace

void CImageObject::SetShiftQuery(ShiftQuery query)
{
    g_shiftQuery = query ? query : &KeyboardShift;
}

CImageObject::CImageObject(CDocContext* doc, CDocNode* parent) : CFloatObject(doc, parent, kNodeImage) {}

CImageObject::CImageObject(CDocContext* doc, CDocNode* parent, const plat::String& path, int deduplicate)
    : CImageObject(doc, parent)
{
    if (path.empty() || !m_doc) return;
    m_key = m_doc->GetImageStore().AddFile(path, deduplicate);
    OnLoaded();
}

CImageObject::~CImageObject()
{
    ReleaseContent();
}

CMediaStoreEntry* CImageObject::Entry() const
{
    return m_doc && !m_key.empty() ? m_doc->GetImageStore().Find(m_key) : nullptr;
}

bool CImageObject::TakeSource(const CNewObjectSource& source)
{
    if (source.path.empty() || !m_doc) return false;
    // An import stores each picture it reads as its own entry; every other insert shares
    // the entry of an equal file already in the store.
    m_key = m_doc->GetImageStore().AddFile(source.path, source.noDeduplication ? 0 : 1);
    return OnLoaded() == 1;
}

void CImageObject::OnPlaced()
{
    const int left = m_bounds.left, top = m_bounds.top;
    const int right = plat::SaturateI32(std::int64_t(left) + m_width);
    const int bottom = plat::SaturateI32(std::int64_t(top) + m_height);
    m_corners = {plat::Point(left, top), plat::Point(left, bottom), plat::Point(right, top), plat::Point(right, bottom)};
    m_mirror1 = plat::Point(left, top);
    m_mirror2 = plat::Point(right, bottom);
}

// ---- record ----

void CImageObject::Load(plat::Archive& ar, int mode)
{
    LoadBase(ar, mode);
    plat::String key = ar.ReadString();
    std::array<plat::Point, 4> corners;
    for (plat::Point& p : corners) ReadPoint(ar, p);
    plat::Point m1, m2;
    ReadPoint(ar, m1);
    ReadPoint(ar, m2);
    std::int32_t pending = 0;
    std::int64_t time = 0, size = 0;
    plat::String editPath;
    plat::String sourcePath;
    auto readEditState = [&] {
        pending = ar.ReadI32();
        time = ar.ReadU32();
        size = ar.ReadI32();
        editPath = ar.ReadString();
    };
    switch (mode) {
    case kArchiveUndo:
        readEditState();
        break;
    case kArchiveClipboard:
        sourcePath = ar.ReadString();
        readEditState();
        break;
    default:
        for (int i = 0; i < kReservedBytes; ++i) ar.ReadU8();
        break;
    }

    // Read whole: now the object takes it.
    if (mode == kArchiveClipboard && m_doc) {
        CImageStore& store = m_doc->GetImageStore();
        // Copied from another document: its picture joins this document's store.
        if (store.GetInfo(key).IsEmpty() && IsWorkingCopyPath(sourcePath)) key = store.AddFile(sourcePath, 1);
    }
    m_key = std::move(key);
    m_corners = corners;
    m_mirror1 = m1;
    m_mirror2 = m2;
    m_editPending = pending == 1 ? 1 : 0;
    m_editTime = time;
    m_editSize = size;
    m_editPath = m_editPending ? editPath : plat::String();
    BoundsFromCorners();
    OnLoaded();
}

void CImageObject::Save(plat::Archive& ar, int mode, int dx, int dy)
{
    SaveBase(ar, mode, dx, dy);
    ar.WriteString(m_key);
    for (const plat::Point& p : m_corners) WritePoint(ar, p, dx, dy);
    WritePoint(ar, m_mirror1);
    WritePoint(ar, m_mirror2);
    auto writeEditState = [&] {
        ar.WriteI32(m_editPending);
        ar.WriteU32(static_cast<std::uint32_t>(m_editTime));
        ar.WriteI32(static_cast<std::int32_t>(m_editSize));
        ar.WriteString(m_editPath);
    };
    switch (mode) {
    case kArchiveUndo:
        writeEditState();
        break;
    case kArchiveClipboard:
        ar.WriteString(m_doc ? m_doc->GetImageStore().GetFilePath(m_key) : plat::String());
        writeEditState();
        break;
    default:
        for (int i = 0; i < kReservedBytes; ++i) ar.WriteU8(0);
        break;
    }
}

void CImageObject::PrepareItems()
{
    if (m_doc) m_doc->GetImageStore().MarkUsed(m_key);
}

int CImageObject::OnLoaded()
{
    m_picture.Release();
    const CMediaStoreEntry* entry = Entry();
    if (!entry) return 0;
    const int loaded = m_picture.Load(entry->GetFilePath());
    if (loaded == 1) {
        const plat::Size size = m_picture.GetSize();
        m_naturalWidth = size.cx;
        m_naturalHeight = size.cy;
    }
    return loaded;
}

void CImageObject::ReleaseContent()
{
    m_picture.Release();
}

// ---- geometry ----

double CImageObject::GetAngle() const
{
    return LineAngle(m_corners[kP0].x, m_corners[kP0].y, m_corners[kP2].x, m_corners[kP2].y);
}

void CImageObject::PlaceCorners(Corner anchor, int width, int height, double angle)
{
    const double ux = std::cos(angle), uy = -std::sin(angle);
    const double vx = std::sin(angle), vy = std::cos(angle);
    const plat::Point a = m_corners[anchor];
    for (int c = 0; c < 4; ++c) {
        if (c == anchor) continue;
        const double along = double(kCornerAlongU[c] - kCornerAlongU[anchor]) * width;
        const double across = double(kCornerAlongV[c] - kCornerAlongV[anchor]) * height;
        m_corners[c] = plat::Point(plat::SaturateI32(std::int64_t(a.x) + Trunc(along * ux + across * vx)),
                                   plat::SaturateI32(std::int64_t(a.y) + Trunc(along * uy + across * vy)));
    }
}

void CImageObject::BoundsFromCorners()
{
    plat::Rect box(m_corners[0].x, m_corners[0].y, m_corners[0].x, m_corners[0].y);
    for (const plat::Point& p : m_corners) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    if (box.right == box.left && box.bottom == box.top) return; // no corners yet
    m_bounds.left = box.left;
    m_bounds.top = box.top;
    const plat::Size caption = BuildCaption();
    m_bounds.right = std::max(box.right, plat::SaturateI32(std::int64_t(box.left) + caption.cx));
    m_bounds.bottom = plat::SaturateI32(std::int64_t(box.bottom) + std::int64_t(caption.cy) * 3 / 2);
}

void CImageObject::OffsetOutline(int dx, int dy)
{
    for (plat::Point& p : m_corners) {
        p.x = plat::SaturateI32(std::int64_t(p.x) + dx);
        p.y = plat::SaturateI32(std::int64_t(p.y) + dy);
    }
}

void CImageObject::GetHandles(CPointList& handles)
{
    handles.AddNode(CPointNode(m_corners[kP0].x, m_corners[kP0].y, kHitP0));
    handles.AddNode(CPointNode(m_corners[kP1].x, m_corners[kP1].y, kHitP1));
    handles.AddNode(CPointNode(m_corners[kP2].x, m_corners[kP2].y, kHitP2));
    handles.AddNode(CPointNode(m_corners[kP3].x, m_corners[kP3].y, kHitP3));
}

bool CImageObject::InsideTurnedRect(int x, int y) const
{
    const plat::Point& p0 = m_corners[kP0];
    const plat::Point& p2 = m_corners[kP2];
    if (p0.y == p2.y || p0.x == p2.x) return true; // unturned or a quarter turn: the box is the picture
    // Cut the horizontal line through the point with each edge; inside when the point
    // lies between exactly two distinct cuts.
    const int edges[4][2] = {{kP0, kP1}, {kP1, kP3}, {kP3, kP2}, {kP2, kP0}};
    std::vector<plat::Point> cuts;
    for (const auto& e : edges) {
        const plat::Point a = m_corners[e[0]], b = m_corners[e[1]];
        const plat::Point cut = LineIntersection(a.x, a.y, b.x, b.y, x, y, x + 1000, y);
        const bool onEdge = cut.x >= std::min(a.x, b.x) && cut.x <= std::max(a.x, b.x) &&
                            cut.y >= std::min(a.y, b.y) && cut.y <= std::max(a.y, b.y);
        if (onEdge && std::find(cuts.begin(), cuts.end(), cut) == cuts.end()) cuts.push_back(cut);
    }
    if (cuts.size() != 2) return false;
    return x >= std::min(cuts[0].x, cuts[1].x) && x <= std::max(cuts[0].x, cuts[1].x);
}

std::uint8_t CImageObject::HitTest(int x, int y, CPointList& handles)
{
    if (IsSelected()) {
        for (int i = 0; i < handles.GetCount(); ++i) {
            const CPointNode h = handles.GetNodeAt(i);
            if (x >= h.m_x - kHandleHalf && x < h.m_x + kHandleHalf && y >= h.m_y - kHandleHalf &&
                y < h.m_y + kHandleHalf)
                return static_cast<std::uint8_t>(h.m_code);
        }
    }
    if (x >= m_bounds.left && x < m_bounds.right && y >= m_bounds.top && y < m_bounds.bottom &&
        InsideTurnedRect(x, y))
        return kHitBody;
    return 0;
}

std::uint8_t CImageObject::BeginTrack(int x, int y, bool /*shift*/, CPointList& handles)
{
    const std::uint8_t code = HitTest(x, y, handles);
    if (code == 0 || !m_doc) return code;
    if (m_doc->GetFormatState()) m_doc->GetFormatState()->m_trackedObject = this;
    // The body records the undo step of a press on the picture; a handle's drag (resize,
    // turn) is recorded here, so that it too can be undone.
    if (code != kHitBody) m_doc->PushUndoState();
    return code;
}

void CImageObject::TrackTo(int x, int y)
{
    const CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    const std::uint8_t code = state ? state->m_tableZone : 0;
    const double angle = GetAngle();
    if (code == kHitP2) {
        PlaceCorners(kP0, m_width, m_height, LineAngle(m_corners[kP0].x, m_corners[kP0].y, x, y));
    } else if (code == kHitP0 || code == kHitP1 || code == kHitP3) {
        // The corner opposite the dragged one stays; signs: which way each side runs
        // from it.
        const Corner anchor = code == kHitP0 ? kP3 : code == kHitP1 ? kP2 : kP0;
        const int signW = code == kHitP3 ? 1 : -1;
        const int signH = code == kHitP0 ? -1 : 1;
        const double ux = std::cos(angle), uy = -std::sin(angle);
        const double vx = std::sin(angle), vy = std::cos(angle);
        const double dx = double(x) - m_corners[anchor].x, dy = double(y) - m_corners[anchor].y;
        std::int64_t w = Trunc(dx * ux + dy * uy);
        std::int64_t h = Trunc(dx * vx + dy * vy);
        w = signW > 0 ? std::max<std::int64_t>(w, kMinSide) : std::min<std::int64_t>(w, -kMinSide);
        h = signH > 0 ? std::max<std::int64_t>(h, kMinSide) : std::min<std::int64_t>(h, -kMinSide);
        // Proportional unless Shift is held. A picture with no natural width or height
        // (it did not load) has no proportions to keep: it stretches freely.
        const std::int64_t nw = m_naturalWidth, nh = m_naturalHeight;
        if (!g_shiftQuery() && nw != 0 && nh != 0) {
            if (double(h) / double(nh) > double(w) / double(nw)) {
                const std::int64_t m = std::llabs(w) * std::llabs(nh) / std::llabs(nw);
                h = h < 0 ? -m : m;
            } else {
                const std::int64_t m = std::llabs(h) * std::llabs(nw) / std::llabs(nh);
                w = w < 0 ? -m : m;
            }
            // The proportions may have taken a side below the minimum again: that side
            // goes back to it and the other follows.
            auto sign = [](std::int64_t v) { return v < 0 ? -1 : 1; };
            if (std::llabs(h) < kMinSide) {
                h = sign(h) * kMinSide;
                w = sign(w) * (kMinSide * std::llabs(nw) / std::llabs(nh));
            }
            if (std::llabs(w) < kMinSide) {
                w = sign(w) * kMinSide;
                h = sign(h) * (kMinSide * std::llabs(nh) / std::llabs(nw));
            }
        }
        m_width = plat::SaturateI32(std::llabs(w), 1, kMaxCoord);
        m_height = plat::SaturateI32(std::llabs(h), 1, kMaxCoord);
        PlaceCorners(anchor, m_width, m_height, angle);
    } else {
        m_anchorState = kAnchorNone;
        return;
    }
    BoundsFromCorners();
    m_anchorState = kAnchorNone;
}

void CImageObject::EndTrack(int, int)
{
    BoundsFromCorners();
}

// ---- painting ----

void CImageObject::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc)
{
    TakeBackEdit();
    if (Entry()) {
        const int x = TwipsToPixels(dc, zoom, m_bounds.left) + x0;
        const int y = TwipsToPixels(dc, zoom, m_bounds.top) + y0;
        m_picture.DrawTransparentMirrored(dc, x, y, TwipsToPixels(dc, zoom, m_width), TwipsToPixels(dc, zoom, m_height),
                                          m_mirror1.x, m_mirror1.y, m_mirror2.x, m_mirror2.y, GetAngle());
    }
    CFloatObject::Draw(dc, zoom, x0, y0, pass, rc);
}

void CImageObject::DrawSelection(plat::Dc& dc, double zoom, int x0, int y0)
{
    CRenderContext rc(m_doc, dc);
    rc.SetLinePen(dc, zoom, 2, static_cast<std::int32_t>(CColorRef::GetBlue()));
    rc.SetSolidBrush(dc, static_cast<std::int32_t>(CColorRef::GetBlue()));
    CPointList handles;
    GetHandles(handles);
    for (int i = 0; i < handles.GetCount(); ++i) {
        const CPointNode h = handles.GetNodeAt(i);
        plat::Rect r = TwipsToPixelsRect(dc, zoom, h.m_x - kHandleHalf, h.m_y - kHandleHalf, h.m_x + kHandleHalf,
                                         h.m_y + kHandleHalf);
        r.Offset(x0, y0);
        if (h.m_code == kHitP2) dc.Ellipse(r.left, r.top, r.right, r.bottom);
        else dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
    rc.Restore(dc);
}

// ---- export, statistics ----

plat::String CImageObject::GetExportExt() const
{
    const CMediaStoreEntry* entry = Entry();
    return entry ? entry->GetInfo().GetExt() : CFloatObject::GetExportExt();
}

bool CImageObject::ExportFile(const plat::String& path)
{
    const CMediaStoreEntry* entry = Entry();
    if (!entry) return CFloatObject::ExportFile(path);
    return plat::CopyFile(entry->GetFilePath(), path, false);
}

void CImageObject::CountStatistics(CStatistics& stats) const
{
    stats[CStatistics::kImages] += 1;
}

// ---- properties ----

int CImageObject::ShowProperties()
{
    CImagePropDlg dialog(m_doc ? m_doc->GetDialogParent() : nullptr);
    const CMediaStoreEntry* entry = Entry();
    dialog.m_note = m_caption;
    dialog.m_naturalWidth = m_naturalWidth;
    dialog.m_naturalHeight = m_naturalHeight;
    dialog.m_picturePath = entry ? entry->GetFilePath() : plat::String();
    dialog.m_wrapMode = m_wrapMode;
    if (dialog.DoModal() != plat::kIdOk) return 0;
    if (m_doc) m_doc->PushUndoState();
    SetCaption(dialog.m_note);
    m_wrapMode = static_cast<std::uint8_t>(std::clamp(dialog.m_wrapMode, 0, 3));
    RecalcLayout();
    BoundsFromCorners();
    AfterBoxChange();
    return 1;
}

// ---- outside edits ----

plat::String CImageObject::MakeEditCopy()
{
    const CMediaStoreEntry* entry = Entry();
    if (!entry) return plat::String();
    // In the private temporary folder: the control's folder may be read-only or shared by
    // every user of the machine.
    const plat::String path = GetTempDir() + u"image" + NewGuidString() + entry->GetInfo().GetExt();
    ReleaseContent();
    plat::CopyFile(entry->GetFilePath(), path, false);
    return path;
}

int CImageObject::EditExternally()
{
    CMediaStoreEntry* entry = Entry();
    if (!entry) return 0;
    const plat::String copy = MakeEditCopy();
    const int result = CExternalEditor().EditImage(copy);
    const plat::String working = entry->GetFilePath();
    plat::CopyFile(copy, working, false);
    std::error_code ignored;
    std::filesystem::remove(plat::Utf16ToUtf8(copy), ignored);
    entry->GetInfo().UpdateStatus(working);
    OnLoaded();
    return result;
}

int CImageObject::EditExternallyAdv()
{
    if (!Entry()) return 0;
    m_editPath = MakeEditCopy();
    const int result = CExternalEditor().EditImageAdv(m_editPath);
    if (result != 0) {
        m_editPending = 1;
        plat::FileStatus status;
        if (plat::GetFileStatus(m_editPath, status)) {
            m_editTime = status.modified;
            m_editSize = static_cast<std::int64_t>(status.size);
        }
    }
    OnLoaded();
    return result;
}

void CImageObject::TakeBackEdit()
{
    if (m_editPending != 1 || m_editPath.empty()) return;
    CMediaStoreEntry* entry = Entry();
    plat::FileStatus status;
    if (!entry || !plat::GetFileStatus(m_editPath, status)) return;
    const std::int64_t size = static_cast<std::int64_t>(status.size);
    // Unchanged, or emptied by a save just beginning: nothing to take back yet.
    if ((status.modified == m_editTime && size == m_editSize) || size == 0) return;
    ReleaseContent();
    const plat::String working = entry->GetFilePath();
    plat::CopyFile(m_editPath, working, false);
    // The edit copy stays (the private folder goes with the process): the editor may be
    // in the middle of writing it - a save begins by emptying the file - and deleting it
    // now would send the rest of that save into a file nobody reads. A later paint sees
    // the finished save as another change and takes that back.
    entry->GetInfo().UpdateStatus(working);
    m_editTime = status.modified;
    m_editSize = size;
    OnLoaded();
}
