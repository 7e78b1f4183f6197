// The two dialogs of the table commands. CSplitCellDlg (7120) asks into how many rows and
// columns the current cell is split, from the choices the grid offers. CTableBorderDlg
// (213) edits the six lines of a cell or range: a target says which lines change, an
// owner-drawn list gives the style, the document's colour picker the colour, and seven
// previews show the lines with the targeted ones framed in red.
#pragma once
#include <cstdint>
#include <vector>

#include "objects/table_values.h"
#include "platform/base/geometry.h"
#include "platform/ui/dialog.h"

class CQlDoc;

class CSplitCellDlg : public plat::Dialog {
public:
    explicit CSplitCellDlg(plat::Window* parent = nullptr);

    // Filled by the caller, ascending; every count the grid allows is offered.
    std::vector<std::uint16_t> m_rowChoices{1};
    std::vector<std::uint16_t> m_columnChoices{1};
    // Read back after OK.
    std::uint16_t m_chosenRows = 1;
    std::uint16_t m_chosenColumns = 1;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};

class CTableBorderDlg : public plat::Dialog {
public:
    // The targets: which lines a change of style or colour reaches.
    enum Target : int {
        kTargetAll = 1,
        kTargetFrame = 2,
        kTargetAllHorizontal = 3,
        kTargetTopBottom = 4,
        kTargetAllVertical = 6,
        kTargetLeftRight = 7,
        kTargetTop = 10,
        kTargetInnerHorizontal = 11,
        kTargetBottom = 12,
        kTargetLeft = 13,
        kTargetInnerVertical = 14,
        kTargetRight = 15,
    };
    // Height of a style list entry, in pixels.
    static constexpr int kStyleEntryHeight = 32;

    // The document gives the colour palette and resolves the automatic colour; may be null.
    explicit CTableBorderDlg(CQlDoc* doc, plat::Window* parent = nullptr);

    // Selects the target: its button checked, the list and the previews showing its lines.
    void SetMode(int target);
    // The line whose style and colour the list and the colour button show.
    CBorderLine& GetTargetLine();
    // Every line of the current target takes the style (colour).
    void SetTargetStyle(std::int32_t code);
    void SetTargetColour(std::int32_t colour);
    // Whether the current target changes the line.
    bool IsTargeted(const CBorderLine CBorderSet::*line) const;
    // A sample of the line style from `from` to `to`: "无" for no line, else a pen of the
    // style's kind and width in the colour.
    static void DrawLineSample(plat::Dc& dc, plat::Point from, plat::Point to, std::int32_t code,
                               plat::ColorRef colour);

    CBorderSet m_borders; // copied in by the caller, read back after OK
    int m_mode = kTargetFrame;

protected:
    bool OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;
    void OnDrawItem(plat::DrawItem& item) override;

private:
    void OnStyleChange();
    void OnColour();
    void RepaintAll();
    plat::ColorRef Resolve(std::int32_t colour) const;

    CQlDoc* m_doc; // not owned
};
