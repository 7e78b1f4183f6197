#include "document/float_object.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/format_state.h"
#include "document/line_layout.h"
#include "document/render_context.h"
#include "document/text_frame.h"
#include "document/units.h"
#include "media/jpeg_file_saver.h"
#include "objects/point_list.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/base/saturate.h"

namespace {

using plat::ArchiveException;

constexpr plat::ColorRef kWhite = 0xFFFFFF;
// The caption is laid out this much narrower than the object and drawn half of it in.
constexpr int kCaptionMargin = 200;
// Tracker geometry, in pixels: the hatched band and the handles lie outside the box.
constexpr int kTrackerBand = 4;
constexpr int kTrackerHandle = 5;


std::int32_t Saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::int32_t ReadCoord(plat::Archive& ar, const char* what)
{
    std::int32_t v = ar.ReadI32();
    if (v < -CFloatObject::kMaxCoord || v > CFloatObject::kMaxCoord)
        throw ArchiveException(ArchiveException::kBadSchema, what);
    return v;
}

// The factory's table: the node types that have an object class.
constexpr std::array<std::uint16_t, 10> kObjectTypes = {kNodeAudio, kNodeImage,    kNodeVideo,     kNodeTable,
                                                        kNodeShape, kNodeRealMedia, kNodeTextShape, kNodeWmv,
                                                        kNodeFlash, kNodeChart};

std::array<DocObjectMaker, kObjectTypes.size()>& Makers()
{
    static std::array<DocObjectMaker, kObjectTypes.size()> makers{};
    return makers;
}

int TableIndex(std::uint16_t type)
{
    auto it = std::find(kObjectTypes.begin(), kObjectTypes.end(), type);
    return it == kObjectTypes.end() ? -1 : static_cast<int>(it - kObjectTypes.begin());
}

} // namespace

// ---- construction ----

CFloatObject::CFloatObject(CDocContext* doc, CDocNode* parent, std::uint16_t type) : CDocNode(parent, type), m_doc(doc)
{
}

CFloatObject::~CFloatObject()
{
    // The format state follows a dragged object without owning it.
    if (CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr)
        if (state->m_trackedObject == this) state->m_trackedObject = nullptr;
}

CDocBody* CFloatObject::GetBody() const
{
    return m_parent ? dynamic_cast<CDocBody*>(m_parent->GetParent()) : nullptr;
}

// ---- record ----

void CFloatObject::LoadBase(plat::Archive& ar, int mode)
{
    const std::uint8_t wrap = ar.ReadU8();
    const std::uint8_t layer = ar.ReadU8();
    // Values the system never writes: the layer picks a drawing pass and the wrap mode the
    // sides text may use, so anything else would make the object vanish or float oddly.
    if (wrap > kWrapBoth) throw ArchiveException(ArchiveException::kBadSchema, "wrap mode");
    if (layer > kTopLayer) throw ArchiveException(ArchiveException::kBadSchema, "layer");
    // Right and bottom are rebuilt from the size and the caption; what the rest of the
    // box is placed and sized from stays where sums of two cannot overflow.
    plat::Rect bounds;
    bounds.left = ReadCoord(ar, "object box");
    bounds.top = ReadCoord(ar, "object box");
    bounds.right = ar.ReadI32();
    bounds.bottom = ar.ReadI32();
    const std::int32_t width = ReadCoord(ar, "object size");
    const std::int32_t height = ReadCoord(ar, "object size");
    plat::String caption = ar.ReadString();
    std::uint8_t selected = 0;
    std::uint8_t anchorState = kAnchorNone;
    plat::String anchorName;
    std::int32_t anchorOffset = 0;
    std::int32_t targetTop = 0;
    if (mode == kArchiveUndo) {
        selected = ar.ReadU8();
        anchorState = ar.ReadU8();
        if (anchorState > kAnchorMustMove) throw ArchiveException(ArchiveException::kBadSchema, "anchor state");
        anchorName = ar.ReadString();
        anchorOffset = ar.ReadI32();
        targetTop = ar.ReadI32();
    }
    m_wrapMode = wrap;
    m_layer = layer;
    m_bounds = bounds;
    m_width = width;
    m_height = height;
    m_caption = std::move(caption);
    if (mode == kArchiveUndo) {
        m_selected = selected;
        m_anchorState = anchorState;
        m_anchorName = std::move(anchorName);
        m_anchorOffset = anchorOffset;
        m_targetTop = targetTop;
    }
}

void CFloatObject::SaveBase(plat::Archive& ar, int mode, int dx, int dy) const
{
    ar.WriteU8(m_wrapMode);
    ar.WriteU8(m_layer);
    ar.WriteI32(plat::SaturateI32(std::int64_t(m_bounds.left) + dx, -CFloatObject::kMaxCoord, CFloatObject::kMaxCoord));
    ar.WriteI32(plat::SaturateI32(std::int64_t(m_bounds.top) + dy, -CFloatObject::kMaxCoord, CFloatObject::kMaxCoord));
    ar.WriteI32(Saturate(std::int64_t(m_bounds.right) + dx));
    ar.WriteI32(Saturate(std::int64_t(m_bounds.bottom) + dy));
    ar.WriteI32(m_width);
    ar.WriteI32(m_height);
    ar.WriteString(m_caption);
    if (mode == kArchiveUndo) {
        ar.WriteU8(m_selected);
        ar.WriteU8(m_anchorState);
        ar.WriteString(m_anchorName);
        ar.WriteI32(m_anchorOffset);
        ar.WriteI32(m_targetTop);
    }
}

void CFloatObject::Load(plat::Archive& ar, int mode)
{
    LoadBase(ar, mode);
    RecalcLayout();
}

void CFloatObject::Save(plat::Archive& ar, int mode, int dx, int dy)
{
    SaveBase(ar, mode, dx, dy);
}

// ---- caption and box ----

plat::Size CFloatObject::BuildCaption()
{
    if (m_caption.empty()) {
        m_captionFrame.reset();
        return plat::Size(0, 0);
    }
    m_captionFrame.reset();
    // An object narrower than the margins still gets a frame of some width, so that the
    // caption has its paragraph end and is laid out (a character a line).
    const int width = std::max(1, m_width - kCaptionMargin);
    m_captionFrame = std::make_unique<CCaptionText>(m_doc, this, m_caption, width, 0, kAlignCentre);
    return plat::Size(m_width, m_captionFrame->GetContentHeight());
}

int CFloatObject::RecalcLayout()
{
    const plat::Size caption = BuildCaption();
    m_bounds.right = Saturate(std::int64_t(m_bounds.left) + std::max(m_width, caption.cx));
    m_bounds.bottom = Saturate(std::int64_t(m_bounds.top) + m_height + std::int64_t(caption.cy) * 3 / 2);
    return m_bounds.bottom;
}

plat::Rect CFloatObject::GetBounds()
{
    BuildCaption();
    return plat::Rect(m_bounds.left, m_bounds.top, Saturate(std::int64_t(m_bounds.left) + m_width),
                      Saturate(std::int64_t(m_bounds.top) + m_height));
}

plat::Rect CFloatObject::GetPointBounds(const CPointList& points)
{
    const int n = points.GetCount();
    if (n == 0) return plat::Rect();
    plat::Point p = points.GetPoint(0);
    plat::Rect r(p.x, p.y, p.x, p.y);
    for (int i = 1; i < n; ++i) {
        p = points.GetPoint(i);
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

bool CFloatObject::SaveCaptionText(const plat::String& path) const
{
    if (m_caption.empty()) return true;
    try {
        plat::File file(path, plat::File::kWrite | plat::File::kCreate);
        std::vector<std::uint8_t> bytes;
        bytes.reserve(2 * (m_caption.size() + 1));
        auto put = [&bytes](char16_t c) {
            bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        };
        put(0xFEFF);
        for (char16_t c : m_caption) put(c);
        file.Write(bytes.data(), bytes.size());
        file.Close();
        return true;
    } catch (const plat::FileException&) {
        return false;
    }
}

void CFloatObject::Offset(int dx, int dy)
{
    // Both edges move by what the top-left corner could move, so the size never changes.
    const std::int32_t ax = plat::SaturateI32(std::int64_t(m_bounds.left) + dx, -CFloatObject::kMaxCoord, CFloatObject::kMaxCoord) - m_bounds.left;
    const std::int32_t ay = plat::SaturateI32(std::int64_t(m_bounds.top) + dy, -CFloatObject::kMaxCoord, CFloatObject::kMaxCoord) - m_bounds.top;
    m_bounds.left += ax;
    m_bounds.right = Saturate(std::int64_t(m_bounds.right) + ax);
    m_bounds.top += ay;
    m_bounds.bottom = Saturate(std::int64_t(m_bounds.bottom) + ay);
    if (IsImage()) OffsetOutline(ax, ay);
}

void CFloatObject::DropAnchor()
{
    m_anchorState = kAnchorNone;
    m_anchorName.clear();
    m_anchorOffset = 0;
    m_targetTop = 0;
}

plat::Point CFloatObject::GetCaptionOrigin() const
{
    return plat::Point(Saturate(std::int64_t(m_bounds.left) + kCaptionMargin / 2),
                       Saturate(std::int64_t(m_bounds.top) + m_height));
}

// ---- painting ----

void CFloatObject::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc)
{
    if (m_caption.empty()) return;
    if (!m_captionFrame) BuildCaption();
    if (!m_captionFrame) return;
    const plat::Point origin = GetCaptionOrigin();
    m_captionFrame->Draw(dc, zoom, x0 + TwipsToPixels(dc, zoom, origin.x), y0 + TwipsToPixels(dc, zoom, origin.y),
                         pass, rc, true);
}

void CFloatObject::DrawTracker(plat::Dc& dc, double /*zoom*/, const CPointList& points)
{
    if (points.GetCount() == 0) return;
    const plat::Rect r = GetPointBounds(points);
    const plat::Pen* oldPen = dc.Select(plat::StockPen(plat::StockObject::kBlackPen));
    const plat::Brush* oldBrush = dc.Select(plat::StockBrush(plat::StockObject::kNullBrush));
    const int oldMode = dc.SetBkMode(plat::kTransparent);

    // The hatched band around the box, one strip a side.
    const plat::Brush hatch = plat::Brush::Hatched(plat::kHatchBDiagonal, 0);
    const int b = kTrackerBand;
    dc.FillRect(plat::Rect(r.left - b, r.top - b, r.right + b, r.top), hatch);
    dc.FillRect(plat::Rect(r.left - b, r.bottom, r.right + b, r.bottom + b), hatch);
    dc.FillRect(plat::Rect(r.left - b, r.top, r.left, r.bottom), hatch);
    dc.FillRect(plat::Rect(r.right, r.top, r.right + b, r.bottom), hatch);
    // The solid line on the box's edge.
    dc.Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
    // Eight resize handles just outside the box: corners and edge middles.
    const plat::Brush solid = plat::Brush::Solid(0);
    const int h = kTrackerHandle;
    const int xs[3] = {r.left - h, (r.left + r.right - h) / 2, r.right + 1};
    const int ys[3] = {r.top - h, (r.top + r.bottom - h) / 2, r.bottom + 1};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1) dc.FillRect(plat::Rect(xs[i], ys[j], xs[i] + h, ys[j] + h), solid);

    dc.SetBkMode(oldMode);
    dc.Select(oldBrush);
    dc.Select(oldPen);
}

std::unique_ptr<plat::Bitmap> CFloatObject::RenderBitmap(int width, int height, int pass)
{
    plat::Dc desktop;
    plat::MemoryDc mem(&desktop);
    const plat::Rect box = GetBounds();
    const plat::Rect px = TwipsToPixelsRect(desktop, 1.0, box.left, box.top, box.right, box.bottom);
    std::unique_ptr<plat::Bitmap> bitmap = plat::Bitmap::Create(width, height);
    if (!bitmap) return nullptr;
    plat::Bitmap* old = mem.Select(bitmap.get());
    bitmap->Fill(kWhite);
    {
        CRenderContext rc(m_doc, mem);
        Draw(mem, 1.0, -px.left, -px.top, pass, rc);
        rc.Restore(mem);
    }
    mem.Select(old);
    return bitmap;
}

bool CFloatObject::ExportFile(const plat::String& path)
{
    plat::Dc desktop;
    const plat::Rect box = GetBounds();
    const plat::Rect px = TwipsToPixelsRect(desktop, 1.0, box.left, box.top, box.right, box.bottom);
    // Rows of the picture are a whole number of 32-pixel blocks wide.
    const std::int64_t width = (std::int64_t(px.right) - px.left + 31) / 32 * 32;
    const std::int64_t height = std::int64_t(px.bottom) - px.top;
    if (width <= 0 || height <= 0 || width > plat::Bitmap::kMaxSide || height > plat::Bitmap::kMaxSide) return false;
    std::unique_ptr<plat::Bitmap> bitmap = RenderBitmap(static_cast<int>(width), static_cast<int>(height), 4);
    return bitmap && CJpegFileSaver().SaveBitmap(path, bitmap.get());
}

// ---- keys, moves and stacking ----

void CFloatObject::AfterStackingKey()
{
    if (!m_doc) return;
    m_doc->SetModified(true);
    m_doc->RequestRepaint();
}

void CFloatObject::OnKeyCtrlHome(bool)
{
    BringToFront();
    AfterStackingKey();
}

void CFloatObject::OnKeyCtrlEnd(bool)
{
    SendToBack();
    AfterStackingKey();
}

void CFloatObject::OnKeyHome(bool)
{
    BringForward();
    AfterStackingKey();
}

void CFloatObject::OnKeyEnd(bool)
{
    SendBackward();
    AfterStackingKey();
}

void CFloatObject::MoveBy(bool /*shift*/, int dx, int dy)
{
    if (m_doc) {
        const plat::Point d = m_doc->PixelsToTwipsPoint(dx, dy);
        Offset(d.x, d.y);
    } else {
        Offset(dx * kTwipsPerInch / plat::kScreenDpi, dy * kTwipsPerInch / plat::kScreenDpi);
    }
    // The object stays where it was put: it anchors afresh to the paragraph beside it,
    // rather than being pulled back to the paragraph it followed before.
    m_anchorState = kAnchorNone;
    AfterBoxChange();
}

void CFloatObject::AfterBoxChange()
{
    if (CDocBody* body = GetBody()) {
        body->BuildPageRegions();
        body->RelayoutWhole();
    }
    if (m_doc) {
        m_doc->SetModified(true);
        m_doc->RequestRepaint();
    }
}

void CFloatObject::Reappend()
{
    auto* list = dynamic_cast<CNodeList*>(m_parent);
    if (!list) return;
    std::unique_ptr<CDocNode> self = list->Remove(this);
    if (self) list->Add(std::move(self));
}

void CFloatObject::BringForward()
{
    m_layer = static_cast<std::uint8_t>(std::min<int>(m_layer + 1, kTopLayer));
    Reappend();
}

void CFloatObject::SendBackward()
{
    m_layer = static_cast<std::uint8_t>(std::max<int>(m_layer - 1, 0));
    Reappend();
}

void CFloatObject::BringToFront()
{
    m_layer = kTopLayer;
    Reappend();
}

void CFloatObject::SendToBack()
{
    m_layer = 0;
    Reappend();
}

void CFloatObject::EndTrack(int, int)
{
    RecalcLayout();
}

// ---- factory ----

std::unique_ptr<CFloatObject> CreateDocObject(CDocContext* doc, std::uint16_t type, CDocNode* parent)
{
    const int index = TableIndex(type);
    if (index < 0) return nullptr;
    DocObjectMaker maker = Makers()[static_cast<size_t>(index)];
    return maker ? maker(doc, parent) : nullptr;
}

void UnregisterDocObjects()
{
    Makers().fill(nullptr);
}

DocObjectMaker RegisterDocObject(std::uint16_t type, DocObjectMaker maker)
{
    const int index = TableIndex(type);
    if (index < 0) throw std::invalid_argument("RegisterDocObject: no object class has this node type");
    return std::exchange(Makers()[static_cast<size_t>(index)], maker);
}
