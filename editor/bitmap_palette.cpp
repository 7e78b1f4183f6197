#include "editor/bitmap_palette.h"

#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/message_box.h"
#include "resources/res_dib.h"
#include "resources/res_dialogs.h"
#include "resources/res_palette_dialogs.h"

void CBitmapCell::Click() const
{
    if (IsEmpty()) return;
    plat::SendMessage(m_owner, plat::kWmCommand, plat::MakeWParam(m_id, 0), 0);
}

CBitmapPalette::CBitmapPalette(plat::Window* owner, int columns, int rows, int cellWidth, int cellHeight,
                               plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddBitmapPalette), parent), m_owner(owner), m_columns(std::max(columns, 0)),
      m_rows(std::max(rows, 0)), m_cellWidth(cellWidth), m_cellHeight(cellHeight)
{
    m_cells.reserve(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows));
    for (int i = 0; i < m_columns * m_rows; ++i) m_cells.push_back(std::make_unique<CBitmapCell>());
}

CBitmapPalette::~CBitmapPalette()
{
    Destroy();
}

bool CBitmapPalette::SetCellAt(plat::Window* owner, unsigned id, plat::StringView bitmapName, int column, int row,
                               bool selected, bool raised)
{
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows) return false;
    CBitmapCell& cell = *m_cells[static_cast<size_t>(column + row * m_columns)];
    cell.m_owner = owner;
    cell.m_id = id;
    cell.m_bitmapName = plat::String(bitmapName);
    cell.m_selected = selected;
    cell.m_raised = raised;
    return true;
}

const CBitmapCell* CBitmapPalette::GetCell(int column, int row) const
{
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows) return nullptr;
    const size_t at = static_cast<size_t>(column + row * m_columns);
    return at < m_cells.size() ? m_cells[at].get() : nullptr;
}

plat::Rect CBitmapPalette::CellRect(int column, int row) const
{
    const int left = column * (m_cellWidth + kCellGap) + kGridMargin;
    const int top = row * (m_cellHeight + kCellGap) + kGridMargin;
    return plat::Rect(left, top, left + m_cellWidth, top + m_cellHeight);
}

plat::Size CBitmapPalette::GridSize() const
{
    return plat::Size(m_columns * (m_cellWidth + kCellGap), m_rows * (m_cellHeight + kCellGap));
}

int CBitmapPalette::ShowAt(int x, int y)
{
    m_x = x;
    m_y = y;
    DoModal();
    if (auto* frame = dynamic_cast<CQlMain*>(m_owner)) {
        if (CQlView* view = frame->GetMainView(); view && view->GetCanvas()) plat::SetFocus(view->GetCanvas());
    }
    return plat::kIdOk;
}

bool CBitmapPalette::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    const plat::Size grid = GridSize();
    const int width = grid.cx + kWindowExtra, height = grid.cy + kWindowExtra;
    plat::Point origin(m_x, m_y);
    if (m_x == 0 && m_y == 0) {
        // Keeps its centre (on the parent, where the dialog was placed).
        const plat::Rect now = GetWindowRect();
        origin = plat::Point(now.left + (now.Width() - width) / 2, now.top + (now.Height() - height) / 2);
    }
    SetWindowPos(plat::Rect(origin.x, origin.y, origin.x + width, origin.y + height), plat::kSwpNoZOrder);
    plat::SetFocus(this);
    plat::SetCapture(this);
    return false;
}

void CBitmapPalette::OnPaint()
{
    plat::PaintDc dc(*this);
    const plat::Rect client = GetClientRect();
    std::unique_ptr<plat::Bitmap> buffer = plat::Bitmap::Create(std::max(client.Width(), 1), std::max(client.Height(), 1));
    if (!buffer) return;
    plat::MemoryDc mem(&dc);
    mem.Select(buffer.get());
    mem.FillRect(client, plat::Brush::Solid(plat::GetSysColor(plat::kColorActiveBorder)));
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            const CBitmapCell* found = GetCell(column, row);
            if (!found || found->IsEmpty()) continue;
            const CBitmapCell& cell = *found;
            const plat::Rect rect = CellRect(column, row);
            const bool hot = column == m_hotColumn && row == m_hotRow;
            if (hot || cell.m_raised || cell.m_selected) {
                plat::Rect face = rect;
                face.Inflate(kFaceOutset, kFaceOutset);
                if (hot || cell.m_raised) DrawRaisedButton(mem, face);
                else DrawPressedButton(mem, face);
            }
            CResDib picture;
            // A missing picture leaves the cell blank on its face.
            if (picture.Load(cell.m_bitmapName)) picture.Draw(mem, rect.left, rect.top, rect.Width(), rect.Height());
        }
    }
    mem.Select(static_cast<plat::Bitmap*>(nullptr));
    dc.StretchBitmap(0, 0, buffer->Width(), buffer->Height(), *buffer);
}

void CBitmapPalette::TrackHot(plat::Point client)
{
    m_hotColumn = m_hotRow = -1;
    if (GetClientRect().Contains(client)) {
        for (int row = 0; row < m_rows; ++row)
            for (int column = 0; column < m_columns; ++column) {
                const plat::Rect rect = CellRect(column, row);
                const CBitmapCell* cell = GetCell(column, row);
                if (!cell || cell->IsEmpty() || !rect.Contains(client)) continue;
                m_hotColumn = column;
                m_hotRow = row;
                m_hotOffset = plat::Point(client.x - rect.left, client.y - rect.top);
            }
    }
    Invalidate(false);
}

void CBitmapPalette::Choose(plat::Point client)
{
    if (GetClientRect().Contains(client)) {
        for (int row = 0; row < m_rows; ++row)
            for (int column = 0; column < m_columns; ++column)
                if (const CBitmapCell* cell = GetCell(column, row); cell && CellRect(column, row).Contains(client))
                    cell->Click();
    }
    End();
}

void CBitmapPalette::End()
{
    if (plat::GetCapture() == this) plat::ReleaseCapture();
    EndDialog(plat::kIdOk);
}

bool CBitmapPalette::PreTranslateMessage(plat::Message& message)
{
    // Any key closes the palette, before the dialog keys could take it.
    if (message.message == plat::kWmKeyDown && (message.window == this || message.window->IsDescendantOf(this))) {
        End();
        return true;
    }
    return plat::Dialog::PreTranslateMessage(message);
}

plat::LResult CBitmapPalette::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmPaint: OnPaint(); return 0;
    case plat::kWmEraseBkgnd: return 1;
    case plat::kWmMouseMove:
    case plat::kWmLButtonDown: TrackHot(plat::PointFromLParam(lParam)); return 0;
    case plat::kWmLButtonUp: Choose(plat::PointFromLParam(lParam)); return 0;
    case plat::kWmKeyDown: End(); return 0;
    case plat::kWmDestroy:
        // The cells go with the window, last to first.
        while (!m_cells.empty()) m_cells.pop_back();
        return plat::Dialog::WindowProc(message, wParam, lParam);
    default: return plat::Dialog::WindowProc(message, wParam, lParam);
    }
}
