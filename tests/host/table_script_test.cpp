// Tables through quiln-host as a user meets them: a native file holding a table (written
// here) is opened, a cell clicked, and the table commands run through the automation
// members with their enable tests, undone and redone, saved and opened again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "objects/drawing_kinds.h"
#include "objects/table_object.h"
#include "platform/base/system.h"
#include "platform/gfx/bitmap.h"
#include "tests/document/doc_object_support.h"
#include "tests/host/host_run.h"
#include "tests/objects/shape_test_support.h"
#include "tests/support/pixel_probe.h"

namespace {

namespace fs = std::filesystem;

class TableScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = plat::MakePrivateTempDir(plat::TempDirUtf8());
        ::setenv("QUILN_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
        const hosttest::Outcome reg = hosttest::RunHost(m_dir, {"register", QUILN_LIBRARY_PATH});
        ASSERT_EQ(reg.status, 0) << reg.out << reg.err;
        RegisterDrawingKinds();
    }
    void TearDown() override
    {
        UnregisterDocObjects();
        ::unsetenv("QUILN_REGISTRY_DIR");
        fs::remove_all(m_dir);
    }
    int Run(const std::string& script)
    {
        std::ofstream(m_dir / "script.txt", std::ios::binary) << script;
        const hosttest::Outcome outcome = hosttest::RunHost(m_dir, {"run", "script.txt"});
        m_out = outcome.out + outcome.err;
        return outcome.status;
    }
    // A native file holding one table of the counts near the top of the first page, its
    // cells holding the texts given (row by row).
    void WriteTable(const char* name, int rows, int columns, const std::vector<plat::String>& texts = {})
    {
        doctest::ShownDoc shown;
        auto t = std::make_unique<CTableObject>(&shown.doc, nullptr);
        CTableGrid& grid = t->CreateGrid(rows, columns);
        for (size_t k = 0; k < texts.size(); ++k) {
            const int r = static_cast<int>(k) / columns, c = static_cast<int>(k) % columns;
            CTableCell* cell = grid.GetCell(r, c);
            int end = cell->GetCount() - 1;
            cell->InsertString(end, texts[k], cell->GetItem(end)->GetFormat());
            grid.RelayoutCell(r, c, 0);
        }
        if (!texts.empty()) t->TakeGridSize();
        t->m_bounds = plat::Rect(2000, 2000, 2000 + t->m_width, 2000 + t->m_height);
        t->RecalcLayout();
        shown.doc.GetBody()->AddObject(std::move(t));
        ASSERT_TRUE(shown.doc.FileSave(plat::Utf8ToUtf16((m_dir / name).string())));
    }
    // The grid counts of the file's one table.
    std::pair<int, int> CountsOf(const char* name)
    {
        doctest::ShownDoc shown;
        EXPECT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / name).string()), false)) << name;
        auto* t = shown.Body().GetObjectCount() == 1 ? dynamic_cast<CTableObject*>(shown.Body().GetObject(0)) : nullptr;
        if (!t || !t->GetGrid()) return {0, 0};
        return {t->GetGrid()->GetRows(), t->GetGrid()->GetColumns()};
    }
    // The record of the file's one table, read in this process.
    std::vector<std::uint8_t> TableRecordOf(const char* name)
    {
        doctest::ShownDoc shown;
        EXPECT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / name).string()), false)) << name;
        auto* t = shown.Body().GetObjectCount() == 1 ? dynamic_cast<CTableObject*>(shown.Body().GetObject(0)) : nullptr;
        EXPECT_NE(t, nullptr) << name;
        return t ? shapetest::RecordBytes(*t, kArchiveClipboard) : std::vector<std::uint8_t>{};
    }
    // Where the table shows in the window: the box of the black rules below the page's
    // corner marks and first paragraph.
    plat::Rect TableBox(const char* file)
    {
        EXPECT_EQ(Run(std::string("FileOpen \"") + file + "\" 0\n!png \"opened.png\"\n"), 0) << m_out;
        const auto picture = plat::Bitmap::LoadPng(plat::Utf8ToUtf16((m_dir / "opened.png").string()));
        if (!picture) return {};
        const testsupport::Ink ink = testsupport::InkOf(*picture, plat::Rect(100, 160, 700, 400), 0x000000);
        EXPECT_GT(ink.count, 100) << "the table's rules";
        return ink.box;
    }
    // Just inside the first cell and the last one.
    plat::Point FirstCell(const char* file)
    {
        const plat::Rect box = TableBox(file);
        return plat::Point(box.left + 20, box.top + 12);
    }
    static plat::Point LastCell(const plat::Rect& box) { return plat::Point(box.right - 20, box.bottom - 12); }
    static std::string Lines(std::initializer_list<const char*> lines)
    {
        std::string all;
        for (const char* l : lines) all += std::string(l) + "\n";
        return all;
    }

    fs::path m_dir;
    std::string m_out;
};

TEST_F(TableScript, RowsColumnsAndAlignmentThroughTheAutomationMembers)
{
    WriteTable("two_by_one.qln", 2, 1);
    const plat::Point cell = FirstCell("two_by_one.qln");
    std::ostringstream script;
    script << "FileOpen \"two_by_one.qln\" 0\n"
           << "CanTableInsertRow\n" // nothing selected yet
           << "!click " << cell.x << " " << cell.y << "\n"
           << "CanTableDeleteRow\n"
           << "TableDeleteRow\n"
           << "CanTableInsertCol\n"
           << "TableInsertCol\n"
           << "CanTableDeleteRow\n"
           << "TableDeleteRow\n"
           << "FileSave \"deleted.qln\"\n"
           << "EditUndo\n"
           << "FileSave \"undone.qln\"\n"
           << "EditRedo\n"
           << "FileSave \"redone.qln\"\n"
           << "SetTableUDFormat 64\n"
           << "GetTableUDFormat\n"
           << "SetTableUDFormat 7\n"
           << "GetTableUDFormat\n"
           << "!answer cancel\n"
           << "TableSeparate\n";
    ASSERT_EQ(Run(script.str()), 0) << m_out;
    EXPECT_NE(m_out.find(Lines({"CanTableInsertRow => FALSE", "!click => OK", "CanTableDeleteRow => FALSE", "TableDeleteRow => FALSE",
                                "CanTableInsertCol => TRUE", "TableInsertCol => TRUE", "CanTableDeleteRow => TRUE",
                                "TableDeleteRow => TRUE"})),
              std::string::npos)
        << m_out;
    EXPECT_NE(m_out.find(Lines({"SetTableUDFormat => TRUE", "GetTableUDFormat => 64", "SetTableUDFormat => FALSE",
                                "GetTableUDFormat => 64", "!answer => OK", "TableSeparate => FALSE"})),
              std::string::npos)
        << m_out;
    EXPECT_EQ(CountsOf("deleted.qln"), std::make_pair(1, 2));
    EXPECT_EQ(CountsOf("undone.qln"), std::make_pair(2, 2));
    EXPECT_EQ(CountsOf("redone.qln"), std::make_pair(1, 2));
}

TEST_F(TableScript, InsertRowWorksOn58RowsAndIsRefusedOn59)
{
    WriteTable("rows58.qln", 58, 2);
    const plat::Point cell = FirstCell("rows58.qln");
    std::ostringstream script;
    script << "FileOpen \"rows58.qln\" 0\n"
           << "!click " << cell.x << " " << cell.y << "\n"
           << "CanTableInsertRow\n"
           << "TableInsertRow\n"
           << "CanTableInsertRow\n"
           << "TableInsertRow\n"
           << "FileSave \"rows59.qln\"\n"
           << "EditUndo\n"
           << "CanTableInsertRow\n"
           << "FileSave \"undone.qln\"\n";
    ASSERT_EQ(Run(script.str()), 0) << m_out;
    EXPECT_NE(m_out.find(Lines({"CanTableInsertRow => TRUE", "TableInsertRow => TRUE", "CanTableInsertRow => FALSE",
                                "TableInsertRow => FALSE"})),
              std::string::npos)
        << m_out;
    EXPECT_EQ(CountsOf("rows59.qln"), std::make_pair(59, 2));
    EXPECT_EQ(CountsOf("undone.qln"), std::make_pair(58, 2));
}

TEST_F(TableScript, ACopiedTablePastesIntoANewDocumentThroughItsRtf)
{
    const std::vector<plat::String> texts = {u"左上 one", u"right", u"下", u"end 末"};
    WriteTable("table.qln", 2, 2, texts);
    const plat::Rect box = TableBox("table.qln");
    const plat::Point first(box.left + 20, box.top + 12), last = LastCell(box);
    // Every cell selected by a drag from the first to the last: the whole table is
    // copied as the object. The new document empties the object block, so the paste
    // reads the RTF the copy left beside it.
    std::ostringstream script;
    script << "FileOpen \"table.qln\" 0\n"
           << "!click " << first.x << " " << first.y << "\n"
           << "!drag " << first.x << " " << first.y << " " << last.x << " " << last.y << "\n"
           << "EditCopy\n"
           << "FileNew\n"
           << "EditPaste\n"
           << "FileSave \"pasted.qln\"\n"
           << "FileOpen \"pasted.qln\" 0\n"
           << "FileSave \"again.qln\"\n";
    ASSERT_EQ(Run(script.str()), 0) << m_out;
    EXPECT_NE(m_out.find(Lines({"EditCopy => TRUE", "FileNew => TRUE", "EditPaste => TRUE", "FileSave => TRUE"})),
              std::string::npos)
        << m_out;

    // The pasted table: the grid and the cells' text of the copied one.
    {
        doctest::ShownDoc shown;
        ASSERT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / "pasted.qln").string()), false));
        ASSERT_EQ(shown.Body().GetObjectCount(), 1);
        auto* table = dynamic_cast<CTableObject*>(shown.Body().GetObject(0));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->GetGrid()->GetRows(), 2);
        ASSERT_EQ(table->GetGrid()->GetColumns(), 2);
        for (size_t k = 0; k < texts.size(); ++k) {
            const CTableCell* cell = table->GetGrid()->GetCell(static_cast<int>(k) / 2, static_cast<int>(k) % 2);
            EXPECT_EQ(cell->GetText(0, cell->GetCount() - 1), texts[k]) << k;
        }
    }
    // Saved, opened and saved again: the same table record.
    EXPECT_EQ(TableRecordOf("again.qln"), TableRecordOf("pasted.qln"));
}

// The split dialog answered by the script: its two drop-down lists take the counts.
TEST_F(TableScript, TableSeparateSplitsTheClickedCellThroughItsDialog)
{
    WriteTable("two_by_two.qln", 2, 2);
    const plat::Point cell = FirstCell("two_by_two.qln");
    std::ostringstream script;
    script << "FileOpen \"two_by_two.qln\" 0\n"
           << "CanTableSeparate\n"
           << "!click " << cell.x << " " << cell.y << "\n"
           << "CanTableSeparate\n"
           << "!answer ok \"1\" \"3\"\n"
           << "TableSeparate\n"
           << "FileSave \"split.qln\"\n"
           << "EditUndo\n"
           << "FileSave \"undone.qln\"\n"
           << "EditRedo\n"
           << "FileSave \"redone.qln\"\n";
    ASSERT_EQ(Run(script.str()), 0) << m_out;
    EXPECT_NE(m_out.find(Lines({"CanTableSeparate => FALSE", "!click => OK", "CanTableSeparate => TRUE",
                                "!answer => OK", "TableSeparate => TRUE"})),
              std::string::npos)
        << m_out;
    EXPECT_EQ(CountsOf("split.qln"), std::make_pair(2, 4));
    EXPECT_EQ(CountsOf("undone.qln"), std::make_pair(2, 2));
    EXPECT_EQ(CountsOf("redone.qln"), std::make_pair(2, 4));
}

// A range of cells dragged over: no row or column can be inserted or deleted, the cells
// can be merged, and the merge is saved as one cell over the four.
TEST_F(TableScript, ARangeDisablesInsertAndDeleteAndMerges)
{
    WriteTable("three.qln", 3, 3);
    const plat::Rect box = TableBox("three.qln");
    const plat::Point first(box.left + 20, box.top + 12);
    const plat::Point inner(box.left + (box.right - box.left) * 2 / 3 - 20, box.top + (box.bottom - box.top) * 2 / 3 - 12);
    std::ostringstream script;
    script << "FileOpen \"three.qln\" 0\n"
           << "StatisticsTable\n"
           << "!click " << first.x << " " << first.y << "\n"
           << "CanTableMerge\n"
           << "!drag " << first.x << " " << first.y << " " << inner.x << " " << inner.y << "\n"
           << "CanTableInsertRow\n"
           << "CanTableInsertCol\n"
           << "CanTableDeleteRow\n"
           << "CanTableDeleteCol\n"
           << "CanTableMerge\n"
           << "TableMerge\n"
           << "FileSave \"merged.qln\"\n";
    ASSERT_EQ(Run(script.str()), 0) << m_out;
    EXPECT_NE(m_out.find(Lines({"StatisticsTable => 1", "!click => OK", "CanTableMerge => FALSE", "!drag => OK",
                                "CanTableInsertRow => FALSE", "CanTableInsertCol => FALSE", "CanTableDeleteRow => FALSE",
                                "CanTableDeleteCol => FALSE", "CanTableMerge => TRUE", "TableMerge => TRUE"})),
              std::string::npos)
        << m_out;
    doctest::ShownDoc shown;
    ASSERT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / "merged.qln").string()), false));
    auto* t = shown.Body().GetObjectCount() == 1 ? dynamic_cast<CTableObject*>(shown.Body().GetObject(0)) : nullptr;
    ASSERT_TRUE(t && t->GetGrid());
    const CTableGrid& grid = *t->GetGrid();
    EXPECT_EQ(grid.GetCell(1, 1), grid.GetCell(0, 0));
    EXPECT_EQ(grid.GetCell(0, 1), grid.GetCell(0, 0));
    EXPECT_NE(grid.GetCell(0, 2), grid.GetCell(0, 0));
    EXPECT_NE(grid.GetCell(2, 0), grid.GetCell(0, 0));
}

} // namespace
