// The split-cell and border dialogs answered by the modal-run service: the choices the split
// offers and a split through the document's command; the border dialog's targets, styles
// and colours, and its result written into a range and into a merged cell, probed on the
// painted table; both commands undone and redone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "document/render_context.h"
#include "objects/table_dialogs.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/list_box.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "resources/res_dialogs.h"
#include "tests/objects/table_support.h"
#include "tests/support/pixel_probe.h"

using namespace tabletest;

namespace {

using Answer = std::function<void(plat::Dialog&)>;
using LineMember = CBorderLine CBorderSet::*;

// Answers the next dialog: `act` works it, then it ends with OK unless `act` ended it.
void AnswerWith(Answer act, int button = plat::kIdOk)
{
    plat::AnswerNextModal([act, button](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        if (!d) return plat::kIdCancel;
        act(*d);
        if (!d->IsEnded()) d->PressButton(button);
        return std::nullopt;
    });
}

std::vector<plat::String> Rows(const plat::Dialog& d, int id)
{
    std::vector<plat::String> rows;
    if (const auto* list = d.GetItem<plat::ComboBox>(id))
        for (int i = 0; i < list->GetCount(); ++i) rows.push_back(list->GetLBText(i));
    return rows;
}

std::vector<plat::String> Counts(std::vector<int> counts)
{
    std::vector<plat::String> out;
    for (int n : counts) out.push_back(plat::Format(u"%d", n));
    return out;
}

std::vector<int> OneTo(int last)
{
    std::vector<int> out;
    for (int n = 1; n <= last; ++n) out.push_back(n);
    return out;
}

const CBorderLine kDefaultLine;
const CBorderLine kRedDash(kLineDash, static_cast<std::int32_t>(testsupport::kRed));

class TableDialogs : public TableTest {
protected:
    void TearDown() override
    {
        CQlDoc::SetColorPickerDialog({});
        plat::ClearModalAnswers();
    }
    // The picker the editor would install: answers with the colour, recording where it
    // was asked to open and with which colour.
    void InstallPicker(plat::ColorRef answer, int result = plat::kIdOk)
    {
        CQlDoc::SetColorPickerDialog([this, answer, result](plat::Window* parent, CColorPalette&,
                                                            ColorPickerAutomatic, plat::Point at,
                                                            plat::ColorRef& colour) {
            ++pickerRuns;
            pickerAt = at;
            pickerStart = colour;
            if (auto* d = dynamic_cast<plat::Dialog*>(parent))
                if (const plat::Control* button = d->GetDlgItem(kIdcBorderColor))
                    buttonRect = button->GetWindowRect();
            if (result == plat::kIdOk) colour = answer;
            return result;
        });
    }
    // The border dialog's answer: the frame targeted, dashed, red from the picker.
    void AnswerRedDashedFrame()
    {
        InstallPicker(testsupport::kRed);
        AnswerWith([](plat::Dialog& d) {
            EXPECT_TRUE(d.PressButton(kIdcBorderFrame));
            EXPECT_TRUE(d.ChooseRow(kIdcBorderStyleList, u"LNSTYLE_DASH"));
            EXPECT_TRUE(d.PressButton(kIdcBorderColor));
        });
    }
    int pickerRuns = 0;
    plat::Point pickerAt;
    plat::ColorRef pickerStart = 0;
    plat::Rect buttonRect;
};

// ---- the split dialog ----

TEST_F(TableDialogs, TheSplitDialogOffersEveryCountTheGridAllows)
{
    struct Case {
        const char* what;
        int rows, columns;
        CCellPos mergeFrom, mergeTo; // equal: no merge
        CCellPos cell;
        std::vector<int> rowChoices, columnChoices;
    };
    const Case cases[] = {
        {"a cell spanning 6 columns", 2, 6, {0, 0}, {0, 5}, {0, 0}, OneTo(59), {1, 2, 3, 6}},
        {"a one-row cell in a 58-row table", 58, 2, {0, 0}, {0, 0}, {5, 1}, {1, 2, 3}, OneTo(19)},
        {"a cell spanning 36 rows", 36, 2, {0, 0}, {35, 0}, {0, 0}, {1, 2, 3, 4, 6, 9, 12, 18, 36}, OneTo(19)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TableTest::table = std::make_unique<CTableObject>(&doc, nullptr);
        acting = table.get();
        Make(c.rows, c.columns);
        if (c.mergeFrom != c.mergeTo) MergeRange(c.mergeFrom, c.mergeTo);
        Select(c.cell);
        std::vector<plat::String> rows, columns;
        int rowSel = -1, columnSel = -1;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            if (!d) return plat::kIdCancel;
            EXPECT_EQ(run.caption, u"拆分单元");
            rows = Rows(*d, kIdcSplitRows);
            columns = Rows(*d, kIdcSplitColumns);
            rowSel = d->GetItem<plat::ComboBox>(kIdcSplitRows)->GetCurSel();
            columnSel = d->GetItem<plat::ComboBox>(kIdcSplitColumns)->GetCurSel();
            return plat::kIdCancel;
        });
        int rowParts = 0, columnParts = 0;
        EXPECT_FALSE(Grid().AskSplitParts(rowParts, columnParts)) << "cancelled";
        EXPECT_EQ(rows, Counts(c.rowChoices));
        EXPECT_EQ(columns, Counts(c.columnChoices));
        EXPECT_EQ(rowSel, 0);
        EXPECT_EQ(columnSel, 0);
    }
}

TEST_F(TableDialogs, SplitDialogGivesTheChosenCountsAndOneByOneSplitsNothing)
{
    struct Case {
        const char16_t* rows;
        const char16_t* columns;
        bool asked;
        int rowParts, columnParts;
    };
    const Case cases[] = {{u"2", u"3", true, 2, 3}, {u"1", u"1", false, 0, 0}, {u"59", u"1", true, 59, 1}};
    Make(2, 2);
    Select(CCellPos(1, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(c.rows) + " x " + plat::Utf16ToUtf8(c.columns));
        AnswerWith([&](plat::Dialog& d) {
            EXPECT_TRUE(d.ChooseRow(kIdcSplitRows, c.rows));
            EXPECT_TRUE(d.ChooseRow(kIdcSplitColumns, c.columns));
        });
        int rowParts = 0, columnParts = 0;
        EXPECT_EQ(Grid().AskSplitParts(rowParts, columnParts), c.asked);
        EXPECT_EQ(rowParts, c.rowParts);
        EXPECT_EQ(columnParts, c.columnParts);
    }
}

TEST_F(TableDialogs, TableSeparateSplitsTheCellIntoThreeColumnsAndIsUndoneAndRedone)
{
    CTableObject& t = AddTable(3, 3);
    Select(CCellPos(1, 1));
    const int width = t.m_width;

    plat::AnswerNextModal(plat::kIdCancel);
    EXPECT_FALSE(doc.TableSeparate());
    EXPECT_FALSE(doc.CanUndo()) << "a cancelled split takes no undo step";
    EXPECT_EQ(Grid().GetColumns(), 3);

    AnswerWith([](plat::Dialog& d) { EXPECT_TRUE(d.ChooseRow(kIdcSplitColumns, u"3")); });
    ASSERT_TRUE(doc.TableSeparate());
    EXPECT_EQ(Grid().GetRows(), 3);
    EXPECT_EQ(Grid().GetColumns(), 5);
    EXPECT_TRUE(GridIsSound(Grid()));
    for (int c = 1; c <= 3; ++c) {
        const CTableCell* part = Grid().GetCell(1, c);
        EXPECT_EQ(part->m_startCol, c);
        EXPECT_EQ(part->m_endCol, c);
    }
    EXPECT_EQ(Grid().GetCell(0, 1)->m_endCol, 3) << "the row above spans the three parts";
    EXPECT_EQ(t.m_width, Grid().GetTotalWidth()) << "the table keeps the grid's size";
    EXPECT_GE(t.m_width, width);
    EXPECT_TRUE(doc.IsModified());

    doc.EditUndo();
    auto* undone = dynamic_cast<CTableObject*>(doc.GetBody()->GetObject(0));
    ASSERT_NE(undone, nullptr);
    EXPECT_EQ(undone->GetGrid()->GetColumns(), 3);
    doc.EditRedo();
    auto* redone = dynamic_cast<CTableObject*>(doc.GetBody()->GetObject(0));
    ASSERT_NE(redone, nullptr);
    EXPECT_EQ(redone->GetGrid()->GetColumns(), 5);
    EXPECT_TRUE(GridIsSound(*redone->GetGrid()));
}

// ---- the border dialog ----

TEST_F(TableDialogs, TheBorderDialogOffersOnlyTheLinesTheSelectionHas)
{
    struct Case {
        const char* what;
        int hasHorizontal, hasVertical;
        int mode;
        std::vector<int> disabled, hidden;
    };
    const Case cases[] = {
        {"one cell", 0, 0, 2, {243, 245, 247, 248, 250}, {237, 241, 242}},
        {"one row of several columns", 0, 1, 1, {245, 247}, {237}},
        {"one column of several rows", 1, 0, 1, {248, 250}, {241, 242}},
        {"rows and columns", 1, 1, 1, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnswerWith(
            [&](plat::Dialog& d) {
                EXPECT_EQ(d.GetTemplate().title, u"设置表格边框线");
                for (int id = kIdcBorderAll; id <= kIdcBorderRight; ++id) {
                    const bool off = std::find(c.disabled.begin(), c.disabled.end(), id) != c.disabled.end();
                    EXPECT_EQ(d.IsDlgItemEnabled(id), !off) << id;
                }
                for (int id = kIdcBorderPreviewTop; id <= kIdcBorderPreviewLast; ++id) {
                    const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), id) != c.hidden.end();
                    EXPECT_EQ(d.GetDlgItem(id)->IsWindowVisible(), !hidden) << id;
                }
                const int checkedId = c.mode == 1 ? kIdcBorderAll : kIdcBorderFrame;
                for (int id = kIdcBorderAll; id <= kIdcBorderRight; ++id)
                    EXPECT_EQ(d.IsDlgButtonChecked(id), id == checkedId ? 1 : 0) << id;
                EXPECT_EQ(d.GetItem<plat::ListBox>(kIdcBorderStyleList)->GetCount(), 13);
                EXPECT_EQ(d.GetItem<plat::ListBox>(kIdcBorderStyleList)->GetCurSel(), kLineThin - 1);
            },
            plat::kIdCancel);
        CTableBorderDlg dlg(&doc);
        dlg.m_borders.m_hasInnerHorizontal = c.hasHorizontal;
        dlg.m_borders.m_hasInnerVertical = c.hasVertical;
        EXPECT_EQ(dlg.DoModal(), plat::kIdCancel);
        EXPECT_EQ(dlg.m_mode, c.mode);
    }
}

// The colour of the preview's frame, read from the dialog's picture at its top-left pixel.
plat::ColorRef PreviewFrame(plat::Dialog& d, int id)
{
    const std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(d);
    const plat::Rect frame = d.GetWindowRect();
    const plat::Rect r = d.GetDlgItem(id)->GetWindowRect();
    return picture->GetPixel(r.left - frame.left, r.top - frame.top);
}

TEST_F(TableDialogs, ATargetsStyleReachesItsLinesAndFramesTheirPreviewsInRed)
{
    struct Case {
        const char* what;
        int button; // a target button or a preview
        const char16_t* style;
        int code;
        std::vector<LineMember> changed;
        std::vector<int> redPreviews;
    };
    using M = LineMember;
    const M top = &CBorderSet::m_top, ih = &CBorderSet::m_innerHorizontal, bottom = &CBorderSet::m_bottom,
            left = &CBorderSet::m_left, iv = &CBorderSet::m_innerVertical, right = &CBorderSet::m_right;
    const std::vector<M> all = {top, ih, bottom, left, iv, right};
    const Case cases[] = {
        {"all horizontal", kIdcBorderAllHorizontal, u"LNSTYLE_3", kLineSolid6, {top, ih, bottom}, {236, 237, 238}},
        {"all", kIdcBorderAll, u"LNSTYLE_DOT", kLineDot, all, {236, 237, 238, 239, 240, 241, 242}},
        {"left and right", kIdcBorderLeftRight, u"LNSTYLE_NONE", kLineNone, {left, right}, {239, 240}},
        {"a click on the inner vertical preview", kIdcBorderPreviewTop + 6, u"LNSTYLE_7", kLineSolid16, {iv},
         {241, 242}},
        {"a click on the bottom preview", kIdcBorderPreviewTop + 2, u"LNSTYLE_DASHDOTDOT", kLineDashDotDot, {bottom},
         {238}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnswerWith([&](plat::Dialog& d) {
            EXPECT_TRUE(d.PressButton(c.button));
            EXPECT_TRUE(d.ChooseRow(kIdcBorderStyleList, c.style));
            if (const char* dir = std::getenv("QUILN_TABLE_PNG_DIR"))
                plat::RenderWindowTree(d)->SavePng(
                    plat::Utf8ToUtf16(std::string(dir) + "/border_dialog_" + std::to_string(c.button) + ".png"));
            for (int id = kIdcBorderPreviewTop; id <= kIdcBorderPreviewLast; ++id) {
                const bool red = std::find(c.redPreviews.begin(), c.redPreviews.end(), id) != c.redPreviews.end();
                EXPECT_EQ(PreviewFrame(d, id), red ? testsupport::kRed : testsupport::kBlack) << id;
            }
        });
        CTableBorderDlg dlg(&doc);
        ASSERT_EQ(dlg.DoModal(), plat::kIdOk);
        for (M line : all) {
            const bool changed = std::find(c.changed.begin(), c.changed.end(), line) != c.changed.end();
            EXPECT_EQ((dlg.m_borders.*line).m_style, changed ? c.code : kLineThin);
            EXPECT_EQ((dlg.m_borders.*line).m_colour, kLineAutoColor);
        }
    }
}

TEST_F(TableDialogs, ThePickersColourReachesTheTargetAndACancelLeavesItAsItWas)
{
    struct Case {
        const char* what;
        int result;
        std::int32_t topAfter, leftAfter;
    };
    const std::int32_t blue = static_cast<std::int32_t>(testsupport::kBlue);
    const std::int32_t lime = static_cast<std::int32_t>(testsupport::kLime);
    const Case cases[] = {
        {"OK", plat::kIdOk, blue, blue},
        {"cancelled", plat::kIdCancel, kLineAutoColor, lime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallPicker(testsupport::kBlue, c.result);
        pickerRuns = 0;
        AnswerWith([](plat::Dialog& d) {
            EXPECT_TRUE(d.PressButton(kIdcBorderFrame));
            EXPECT_TRUE(d.PressButton(kIdcBorderColor));
        });
        CTableBorderDlg dlg(&doc);
        dlg.m_borders.m_left.m_colour = lime; // the frame's lines differ: a cancel keeps each
        ASSERT_EQ(dlg.DoModal(), plat::kIdOk);
        EXPECT_EQ(pickerRuns, 1);
        EXPECT_EQ(pickerStart, static_cast<plat::ColorRef>(kLineAutoColor)) << "opens with the shown line's colour";
        EXPECT_EQ(pickerAt, plat::Point(buttonRect.left - 370, buttonRect.bottom + 4));
        EXPECT_EQ(dlg.m_borders.m_top.m_colour, c.topAfter);
        EXPECT_EQ(dlg.m_borders.m_bottom.m_colour, c.topAfter);
        EXPECT_EQ(dlg.m_borders.m_right.m_colour, c.topAfter);
        EXPECT_EQ(dlg.m_borders.m_left.m_colour, c.leftAfter);
        EXPECT_EQ(dlg.m_borders.m_innerHorizontal.m_colour, kLineAutoColor) << "not in the target";
    }
}

// ---- the border driver in the grid, painted ----

// A segment's place on the painted grid, in pixels (15 twips to the pixel at zoom 1).
struct Segment {
    bool horizontal;
    int boundary, index; // boundary and column (horizontal) or row and boundary (vertical)
};

// The pixels along the segment, kept clear of its ends where other rules cross.
plat::Rect Along(const CTableGrid& g, const Segment& s)
{
    const std::vector<int> widths = g.GetColumnWidths();
    const std::vector<int> heights = g.GetRowHeights();
    auto offset = [](const std::vector<int>& sizes, int upTo) {
        int at = kTableMargin;
        for (int i = 0; i < upTo; ++i) at += sizes[static_cast<std::size_t>(i)];
        return at;
    };
    if (s.horizontal) {
        const int y = offset(heights, s.boundary) / 15;
        const int x1 = offset(widths, s.index) / 15, x2 = offset(widths, s.index + 1) / 15;
        return plat::Rect(x1 + 8, y - 1, x2 - 4, y + 2);
    }
    const int x = offset(widths, s.boundary) / 15;
    const int y1 = offset(heights, s.index) / 15, y2 = offset(heights, s.index + 1) / 15;
    return plat::Rect(x - 1, y1 + 4, x + 2, y2 - 4);
}

// Paints the grid and checks each segment: red and dashed (red with gaps), or black.
void ProbeSegments(const CTableGrid& g, CDocContext& doc, const std::vector<Segment>& red,
                   const std::vector<Segment>& black, const char* png)
{
    testsupport::Canvas canvas(260, 120);
    {
        CRenderContext rc(&doc, canvas.dc);
        const_cast<CTableGrid&>(g).Draw(canvas.dc, 1.0, 0, 0, rc);
        rc.Restore(canvas.dc);
    }
    if (const char* dir = std::getenv("QUILN_TABLE_PNG_DIR"))
        canvas.bitmap->SavePng(plat::Utf8ToUtf16(std::string(dir) + "/" + png));
    for (const Segment& s : red) {
        const plat::Rect r = Along(g, s);
        SCOPED_TRACE(std::string(s.horizontal ? "horizontal " : "vertical ") + std::to_string(s.boundary) + "/" +
                     std::to_string(s.index));
        const int length = s.horizontal ? r.Width() : r.Height();
        const int reds = testsupport::InkOf(*canvas.bitmap, r, testsupport::kRed).count;
        EXPECT_GT(reds, length / 4) << "red along the segment";
        EXPECT_LT(reds, length) << "with the gaps of a dash";
        EXPECT_EQ(testsupport::InkOf(*canvas.bitmap, r, testsupport::kBlack).count, 0);
    }
    for (const Segment& s : black) {
        const plat::Rect r = Along(g, s);
        SCOPED_TRACE(std::string(s.horizontal ? "black horizontal " : "black vertical ") +
                     std::to_string(s.boundary) + "/" + std::to_string(s.index));
        const int length = s.horizontal ? r.Width() : r.Height();
        EXPECT_GE(testsupport::InkOf(*canvas.bitmap, r, testsupport::kBlack).count, length) << "a solid thin line";
        EXPECT_EQ(testsupport::InkOf(*canvas.bitmap, r, testsupport::kRed).count, 0);
    }
}

const CBorderLine& LineOf(const CTableGrid& g, const Segment& s)
{
    return s.horizontal ? *g.GetHorizontalLine(s.boundary, s.index) : *g.GetVerticalLine(s.index, s.boundary);
}

// A red dashed frame on the top-left 2 x 2 block of a 3 x 3 table, selected as a range or
// as one merged cell: every segment along the block's edges is red and dashed, undone and
// redone; the lines inside stay as they were.
TEST_F(TableDialogs, ARedDashedFrameReachesEverySegmentOfARangeOrAMergedCell)
{
    struct Case {
        const char* what;
        bool merged;
        CCellPos current, rangeEnd;
        int innerFlags;
        std::vector<Segment> rest; // black: inside the block (where painted) and outside it
        const char* png;
    };
    const Case cases[] = {
        {"2 x 2 range", false, {0, 0}, {1, 1}, 1,
         {{true, 1, 0}, {true, 1, 1}, {false, 1, 0}, {false, 1, 1}, {true, 0, 2}, {true, 3, 0}, {true, 2, 2},
          {false, 0, 2}, {false, 2, 2}, {false, 3, 0}},
         "range_frame.png"},
        // A covered slot of the merged cell stands for it.
        {"merged cell", true, {1, 1}, {1, 1}, 0,
         {{true, 0, 2}, {true, 1, 2}, {true, 3, 0}, {false, 1, 2}, {false, 3, 0}}, "merged_frame.png"},
    };
    const std::vector<Segment> edges = {{true, 0, 0},  {true, 0, 1},  {true, 2, 0},  {true, 2, 1},
                                        {false, 0, 0}, {false, 0, 1}, {false, 2, 0}, {false, 2, 1}};
    const std::vector<Segment> inside = {{true, 1, 0}, {true, 1, 1}, {false, 1, 0}, {false, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc.GetBody()->DeselectAll();
        while (doc.GetBody()->GetObjectCount() > 0) doc.GetBody()->RemoveObject(doc.GetBody()->GetObject(0));
        doc.ClearUndo();
        AddTable(3, 3);
        if (c.merged) MergeRange(CCellPos(0, 0), CCellPos(1, 1));
        Select(c.current, c.rangeEnd);
        const CBorderSet read = Grid().GetBorderSet();
        EXPECT_EQ(read.m_hasInnerHorizontal, c.innerFlags);
        EXPECT_EQ(read.m_hasInnerVertical, c.innerFlags);

        AnswerRedDashedFrame();
        ASSERT_TRUE(doc.TableBorderLines());
        EXPECT_TRUE(doc.IsModified());
        for (const Segment& s : edges) EXPECT_EQ(LineOf(Grid(), s), kRedDash) << s.horizontal << s.boundary << s.index;
        // Also the segments hidden inside the merged cell: they are no edge.
        for (const Segment& s : inside) EXPECT_EQ(LineOf(Grid(), s), kDefaultLine);
        ProbeSegments(Grid(), doc, edges, c.rest, c.png);

        doc.EditUndo();
        acting = dynamic_cast<CTableObject*>(doc.GetBody()->GetObject(0));
        ASSERT_NE(acting, nullptr);
        for (const Segment& s : edges) EXPECT_EQ(LineOf(Grid(), s), kDefaultLine) << "undone";
        doc.EditRedo();
        acting = dynamic_cast<CTableObject*>(doc.GetBody()->GetObject(0));
        ASSERT_NE(acting, nullptr);
        for (const Segment& s : edges) EXPECT_EQ(LineOf(Grid(), s), kRedDash) << "redone";
    }
}

TEST_F(TableDialogs, TheBorderCommandTakesNoUndoStepWhenNothingChanged)
{
    struct Case {
        const char* what;
        int button;
    };
    const Case cases[] = {{"cancelled", plat::kIdCancel}, {"OK without a change", plat::kIdOk}};
    AddTable(2, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc.SetModified(false);
        AnswerWith([](plat::Dialog& d) { d.PressButton(kIdcBorderAll); }, c.button);
        EXPECT_FALSE(doc.TableBorderLines());
        EXPECT_FALSE(doc.CanUndo());
        EXPECT_FALSE(doc.IsModified());
    }
    doc.GetBody()->DeselectAll();
    EXPECT_FALSE(doc.TableBorderLines()) << "no table selected";
    EXPECT_EQ(plat::PendingModalAnswers(), 0u);
}

} // namespace
