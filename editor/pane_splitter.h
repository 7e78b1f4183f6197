// The frame's static splitter: a grid of panes (the frame uses 2 rows x 1 column), each pane
// a view created as the splitter's child with the pane's id (kFirstPaneId + row * 16 + col),
// and a bar between neighbouring rows that the user drags to share the height. The second
// row can be hidden: its view is hidden, moved out of the grid's ids (kHiddenPaneId) and
// the grid lays out one row; restoring gives it back its id and its last height.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/ui/window.h"

class CQlView;

class CPaneSplitter : public plat::Window {
public:
    static constexpr int kFirstPaneId = 0xE900;
    // The id the hidden second row's view carries: outside the ids of a 2 x 1 grid.
    static constexpr int kHiddenPaneId = 0xE902;
    // The thickness of the bar between two rows, in pixels.
    static constexpr int kBarSize = 6;
    static constexpr int PaneId(int row, int col) { return kFirstPaneId + row * 16 + col; }

    CPaneSplitter();
    ~CPaneSplitter() override;

    // Creates the splitter over the parent's client area with the grid's size; the panes
    // are made afterwards by CreateView.
    bool CreateStatic(plat::Window* parent, int rows, int cols, unsigned style, int id = kFirstPaneId);
    // Makes the view of a pane with its initial size (the row's ideal height, the
    // column's ideal width); false when the view could not be created.
    bool CreateView(int row, int col, CQlView& view, plat::Size initial);

    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_cols; }
    // The window of a pane of the grid as it is now (null when it has none).
    plat::Window* GetPane(int row, int col) const;
    // A row's ideal and current heights; the ideal is what the layout gives it when room
    // is left, the current what it has.
    void SetRowInfo(int row, int ideal, int minimum);
    int GetRowIdeal(int row) const;
    int GetRowCurrent(int row) const;
    // Places the panes and the bars from the row and column sizes.
    void RecalcLayout();

    void SetActivePane(int row, int col);
    // The active pane's window; row and column when asked.
    plat::Window* GetActivePane(int* row = nullptr, int* col = nullptr) const;

    // The second row: hidden or shown (nothing when it already is so).
    void ShowSecondRow(bool show);
    void HideRow();
    void RestoreRow();
    bool IsRowShown() const { return m_rowShown != 0; }

    // The bar under the row (client coordinates); empty when the row has none.
    plat::Rect GetRowBarRect(int row) const;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    struct Track {
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    // After a row is hidden or shown: the first pane active, the keyboard on the control
    // window and the main canvas painted again.
    void AfterRowChange();
    void Paint();
    int HitBar(plat::Point client) const;
    void StartTracking(int row, plat::Point client);
    void TrackTo(plat::Point client);
    void StopTracking();

    int m_rows = 0;
    int m_cols = 0;
    int m_maxRows = 0;
    std::vector<Track> m_rowTracks;
    std::vector<Track> m_colTracks;
    int m_activeRow = 0;
    int m_activeCol = 0;
    std::int32_t m_rowShown = 1;
    // The bar being dragged (-1: none), where the drag started and where the bar is now.
    int m_trackRow = -1;
    int m_trackOffset = 0;
    int m_trackTop = 0;
};
