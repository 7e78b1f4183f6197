#include "editor/pane_splitter.h"

#include <algorithm>

#include "editor/ql_canvas.h"
#include "editor/ql_view.h"
#include "platform/ui/control.h"
#include "platform/ui/focus.h"

namespace {
// The mouse keeps a row at least this tall when it drags a bar.
constexpr int kMinDraggedRow = 0;
} // namespace

CPaneSplitter::CPaneSplitter()
{
    SetBackground(plat::look::kFace);
}

CPaneSplitter::~CPaneSplitter()
{
    Destroy();
}

bool CPaneSplitter::CreateStatic(plat::Window* parent, int rows, int cols, unsigned style, int id)
{
    if (rows < 1 || cols < 1 || !parent) return false;
    m_rows = m_maxRows = rows;
    m_cols = cols;
    m_rowTracks.assign(static_cast<size_t>(rows), Track{});
    m_colTracks.assign(static_cast<size_t>(cols), Track{});
    m_rowShown = 1;
    return Create(parent, parent->GetClientRect(), style, id);
}

bool CPaneSplitter::CreateView(int row, int col, CQlView& view, plat::Size initial)
{
    if (row < 0 || row >= m_maxRows || col < 0 || col >= m_cols) return false;
    m_rowTracks[static_cast<size_t>(row)].ideal = initial.cy;
    m_colTracks[static_cast<size_t>(col)].ideal = initial.cx;
    return view.CreateView(this, plat::Rect(0, 0, initial.cx, initial.cy), PaneId(row, col));
}

plat::Window* CPaneSplitter::GetPane(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols) return nullptr;
    return GetChild(PaneId(row, col));
}

void CPaneSplitter::SetRowInfo(int row, int ideal, int minimum)
{
    if (row < 0 || row >= m_maxRows) return;
    m_rowTracks[static_cast<size_t>(row)].ideal = ideal;
    m_rowTracks[static_cast<size_t>(row)].minimum = minimum;
}

int CPaneSplitter::GetRowIdeal(int row) const
{
    return row >= 0 && row < m_maxRows ? m_rowTracks[static_cast<size_t>(row)].ideal : 0;
}

int CPaneSplitter::GetRowCurrent(int row) const
{
    return row >= 0 && row < m_maxRows ? m_rowTracks[static_cast<size_t>(row)].current : 0;
}

// Every track but the last gets its ideal size while room is left; the last takes the
// rest. A bar separates neighbours.
static void LayTracks(std::vector<int>& sizes, const std::vector<int>& ideals, int total, int bar)
{
    int left = total;
    const size_t n = ideals.size();
    sizes.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        if (i + 1 == n) {
            sizes[i] = std::max(0, left);
            break;
        }
        const int size = std::clamp(ideals[i], 0, std::max(0, left - bar));
        sizes[i] = size;
        left -= size + bar;
    }
}

void CPaneSplitter::RecalcLayout()
{
    if (!IsCreated() || m_rows == 0) return;
    const plat::Rect client = GetClientRect();
    std::vector<int> ideals, heights, widths;
    for (int r = 0; r < m_rows; ++r) ideals.push_back(m_rowTracks[static_cast<size_t>(r)].ideal);
    LayTracks(heights, ideals, client.Height(), kBarSize);
    ideals.clear();
    for (int c = 0; c < m_cols; ++c) ideals.push_back(m_colTracks[static_cast<size_t>(c)].ideal);
    LayTracks(widths, ideals, client.Width(), kBarSize);

    int y = 0;
    for (int r = 0; r < m_rows; ++r) {
        const int h = heights[static_cast<size_t>(r)];
        m_rowTracks[static_cast<size_t>(r)].current = h;
        int x = 0;
        for (int c = 0; c < m_cols; ++c) {
            const int w = widths[static_cast<size_t>(c)];
            m_colTracks[static_cast<size_t>(c)].current = w;
            if (plat::Window* pane = GetPane(r, c)) pane->MoveWindow(plat::Rect(x, y, x + w, y + h));
            x += w + kBarSize;
        }
        y += h + kBarSize;
    }
    Invalidate();
}

plat::Rect CPaneSplitter::GetRowBarRect(int row) const
{
    if (row < 0 || row + 1 >= m_rows) return plat::Rect();
    int y = 0;
    for (int r = 0; r <= row; ++r) y += m_rowTracks[static_cast<size_t>(r)].current + (r < row ? kBarSize : 0);
    return plat::Rect(0, y, GetClientRect().Width(), y + kBarSize);
}

void CPaneSplitter::SetActivePane(int row, int col)
{
    if (!GetPane(row, col)) return;
    m_activeRow = row;
    m_activeCol = col;
}

plat::Window* CPaneSplitter::GetActivePane(int* row, int* col) const
{
    if (row) *row = m_activeRow;
    if (col) *col = m_activeCol;
    return GetPane(m_activeRow, m_activeCol);
}

void CPaneSplitter::ShowSecondRow(bool show)
{
    if (show == IsRowShown() || m_maxRows < 2) return;
    if (show)
        RestoreRow();
    else
        HideRow();
    m_rowShown = show ? 1 : 0;
    AfterRowChange();
}

void CPaneSplitter::HideRow()
{
    plat::Window* pane = GetPane(1, 0);
    if (!pane) return;
    pane->ShowWindow(plat::kSwHide);
    pane->SetId(kHiddenPaneId);
    m_rows = 1;
    RecalcLayout();
}

void CPaneSplitter::RestoreRow()
{
    plat::Window* pane = GetChild(kHiddenPaneId);
    if (!pane) return;
    m_rows = 2;
    pane->ShowWindow(plat::kSwShowNoActivate);
    pane->SetId(PaneId(1, 0));
    m_rowTracks[1].ideal = m_rowTracks[1].current;
    RecalcLayout();
}

void CPaneSplitter::AfterRowChange()
{
    SetActivePane(0, 0);
    auto* view = dynamic_cast<CQlView*>(GetPane(0, 0));
    if (!view) return;
    plat::SetFocus(view->GetControlWindow());
    if (CQlCanvas* canvas = view->GetCanvas()) canvas->RequestRepaint();
}

int CPaneSplitter::HitBar(plat::Point client) const
{
    for (int r = 0; r + 1 < m_rows; ++r)
        if (GetRowBarRect(r).Contains(client)) return r;
    return -1;
}

void CPaneSplitter::StartTracking(int row, plat::Point client)
{
    m_trackRow = row;
    m_trackTop = GetRowBarRect(row).top;
    m_trackOffset = client.y - m_trackTop;
    plat::SetCapture(this);
}

void CPaneSplitter::TrackTo(plat::Point client)
{
    if (m_trackRow < 0) return;
    // The bar stays between the top of its row and the bottom of the next one.
    int above = 0;
    for (int r = 0; r < m_trackRow; ++r) above += m_rowTracks[static_cast<size_t>(r)].current + kBarSize;
    const int below = above + m_rowTracks[static_cast<size_t>(m_trackRow)].current + kBarSize +
                      m_rowTracks[static_cast<size_t>(m_trackRow) + 1].current;
    m_trackTop = std::clamp(client.y - m_trackOffset, above + kMinDraggedRow, std::max(above, below - kBarSize));
    // The row above takes the bar's place at once, the row below the rest.
    const int height = m_trackTop - above;
    m_rowTracks[static_cast<size_t>(m_trackRow)].ideal = height;
    m_rowTracks[static_cast<size_t>(m_trackRow) + 1].ideal = below - m_trackTop - kBarSize;
    RecalcLayout();
}

void CPaneSplitter::StopTracking()
{
    if (m_trackRow < 0) return;
    m_trackRow = -1;
    if (plat::GetCapture() == this) plat::ReleaseCapture();
}

void CPaneSplitter::Paint()
{
    plat::PaintDc dc(*this);
    for (int r = 0; r + 1 < m_rows; ++r) {
        const plat::Rect bar = GetRowBarRect(r);
        plat::FillSolid(dc, bar, plat::look::kFace);
        plat::FillSolid(dc, plat::Rect(bar.left, bar.bottom - 1, bar.right, bar.bottom), plat::look::kBorder);
    }
}

plat::LResult CPaneSplitter::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    const plat::Point point = plat::PointFromLParam(lParam);
    switch (message) {
    case plat::kWmSize:
        RecalcLayout();
        return 0;
    case plat::kWmPaint:
        Paint();
        return 0;
    case plat::kWmLButtonDown:
        if (const int row = HitBar(point); row >= 0) StartTracking(row, point);
        return 0;
    case plat::kWmMouseMove:
        TrackTo(point);
        return 0;
    case plat::kWmLButtonUp:
        StopTracking();
        return 0;
    case plat::kWmCaptureChanged:
        if (reinterpret_cast<plat::Window*>(lParam) != this) m_trackRow = -1;
        return 0;
    case plat::kWmSetCursor:
        if (reinterpret_cast<plat::Window*>(wParam) == this) {
            plat::SetCursor(plat::kIdcSizeNs);
            return 1;
        }
        break;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}
