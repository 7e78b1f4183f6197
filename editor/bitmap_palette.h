// A pop-up grid of picture cells under a toolbar button or menu command: the cell under the
// mouse is raised, the current choice pressed; releasing the mouse over a cell sends its
// command to the cell's owner and closes the palette, releasing it elsewhere or pressing any
// key closes it without a command.
#pragma once
#include <memory>
#include <vector>

#include "platform/base/strings.h"
#include "platform/ui/dialog.h"

class CBitmapCell {
public:
    CBitmapCell() = default;

    bool IsEmpty() const { return !m_owner || m_id == 0 || m_bitmapName.empty(); }
    // WM_COMMAND with the cell's id to its owner, at once; nothing for an empty cell.
    void Click() const;

    plat::Window* m_owner = nullptr;
    bool m_raised = false;
    unsigned m_id = 0;
    plat::String m_bitmapName;
    bool m_selected = false;
};

class CBitmapPalette : public plat::Dialog {
public:
    // The gap between cells, and the border around the grid.
    static constexpr int kCellGap = 12;
    static constexpr int kGridMargin = 6;
    static constexpr int kWindowExtra = 10;
    static constexpr int kFaceOutset = 4;

    CBitmapPalette(plat::Window* owner, int columns, int rows, int cellWidth, int cellHeight,
                   plat::Window* parent = nullptr);
    ~CBitmapPalette() override;

    // False, and nothing changed, outside the grid.
    bool SetCellAt(plat::Window* owner, unsigned id, plat::StringView bitmapName, int column, int row, bool selected,
                   bool raised);
    // Runs the palette at the screen point (0, 0: centred on its parent); the main pane's page
    // canvas has the focus afterwards when the owner is the frame. Always 1.
    int ShowAt(int x, int y);

    // The cell's rectangle in the palette's client area.
    plat::Rect CellRect(int column, int row) const;
    const CBitmapCell* GetCell(int column, int row) const;
    int GetHotColumn() const { return m_hotColumn; }
    int GetHotRow() const { return m_hotRow; }

protected:
    bool OnInitDialog() override;
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;
    bool PreTranslateMessage(plat::Message& message) override;

private:
    void OnPaint();
    void TrackHot(plat::Point client);
    void Choose(plat::Point client);
    void End();
    plat::Size GridSize() const;

    plat::Window* m_owner;
    int m_columns;
    int m_rows;
    int m_cellWidth;
    int m_cellHeight;
    int m_x = 0;
    int m_y = 0;
    int m_hotColumn = -1;
    int m_hotRow = -1;
    plat::Point m_hotOffset;
    std::vector<std::unique_ptr<CBitmapCell>> m_cells;
};
