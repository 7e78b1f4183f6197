// The RTF fixture folders and RTF written by other programs, opened through the document's
// RTF open with whatever object kinds are registered (the tests' table and picture kinds
// stand in for kinds that are not): every pass file reads to its end, every fail file
// stops, no file leaves a picture in the temporary folder, none takes long.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include "io/rtf_importer.h"
#include "document/layout_dump.h"
#include "document/page_object_list.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "platform/base/system.h"
#include "tests/io/made_documents.h"
#include "tests/io/rtf_support.h"
#include "tests/support/fixture_walk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FixtureKind;

// The real kinds where they are registered; the tests' kinds for the others.
class KindsForImport {
public:
    KindsForImport()
    {
        RegisterObjectKinds();
        CQlDoc probe;
        probe.Reset();
        for (auto [type, maker] : {std::pair{kNodeTable, &rtftest::MakeFakeTable}, std::pair{kNodeImage, &rtftest::MakeFakePicture}})
            if (!CreateDocObject(&probe, type, &probe.GetBody()->GetObjectList())) {
                RegisterDocObject(type, maker);
                m_faked.push_back(type);
            }
        RegisterRtfImporter();
    }
    ~KindsForImport()
    {
        for (std::uint16_t type : m_faked) RegisterDocObject(type, nullptr);
        UnregisterDocImporter(kRtfFormatName);
    }

private:
    std::vector<std::uint16_t> m_faked;
};

std::size_t TempFileCount()
{
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(plat::TempDirUtf8()), fs::directory_iterator()));
}

// Opens the file through the document; the reader's own result.
int OpenThroughDocument(const fs::path& file)
{
    CQlDoc doc;
    doc.Reset();
    EXPECT_EQ(doc.OpenRtf(plat::Utf8ToUtf16(file.string()), false), 1);
    return RegisterRtfImporter().GetLastResult();
}

void CheckFixture(const fs::path& file, FixtureKind kind)
{
    const std::size_t before = TempFileCount();
    const int result = OpenThroughDocument(file);
    if (kind == FixtureKind::kPass) {
        EXPECT_EQ(result, 1);
    } else if (kind == FixtureKind::kFail) {
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(TempFileCount(), before) << "a picture file was left behind";
}

TEST(RtfFixtures, PassReadsFailStopsNothingHangs)
{
    KindsForImport kinds;
    testsupport::WalkFixtures("rtf", std::chrono::seconds(10), CheckFixture);
}

// Pictures too big to keep in the project are written at test time, once per build folder.
TEST(RtfFixtures, HugePicturesFinishInTime)
{
    KindsForImport kinds;
    const fs::path root = fs::current_path() / "made-fixtures";
    const fs::path hang = root / "rtf" / "hang";
    fs::create_directories(hang);
    struct Made {
        const char* name;
        const char* word;
        std::size_t bytes;
    } const made[] = {{"huge_png.rtf", "\\pngblip", 2u << 20}, {"huge_unknown_type.rtf", "\\macpict", 2u << 20}};
    for (const Made& m : made) {
        const fs::path path = hang / m.name;
        if (fs::exists(path)) continue;
        std::ofstream out(path, std::ios::binary);
        out << "{\\rtf1{\\pict" << m.word << "\\picw10\\pich10 ";
        const std::string line(128, 'a');
        for (std::size_t n = 0; n < m.bytes * 2; n += line.size()) out << line << "\n";
        out << "}after\\par}";
    }
    testsupport::WalkFixturesUnder(root, "rtf", std::chrono::seconds(10), CheckFixture);
}

// RTF from other programs' test suites, read where it lies. Most of it is not in code page
// 936, and the reader stops where its rules say; every file must finish cleanly.
TEST(RtfFixtures, FilesOfOtherProgramsImportWithoutFault)
{
    const fs::path corpus = fs::path(QUILN_SOURCE_DIR).parent_path() / "shared" / "rtf-corpus";
    const fs::path fallback = "/work/shared/rtf-corpus";
    const fs::path dir = fs::exists(corpus) ? corpus : fallback;
    if (!fs::exists(dir)) GTEST_SKIP() << "no RTF corpus at " << dir;
    KindsForImport kinds;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() == ".rtf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    int full = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::size_t before = TempFileCount();
        const auto start = std::chrono::steady_clock::now();
        full += OpenThroughDocument(file);
        const auto spent = std::chrono::steady_clock::now() - start;
        EXPECT_LT(spent, std::chrono::seconds(10));
        EXPECT_EQ(TempFileCount(), before);
    }
    std::cout << "RTF corpus: " << full << " of " << files.size() << " files read to their end\n";
    RecordProperty("read_to_end", full);
    RecordProperty("files", static_cast<int>(files.size()));
}

} // namespace

namespace {

// The sample document written by LibreOffice Writer as RTF (made once per build folder),
// opened through the document: its Latin text and formats, the table, the pictures and
// the footnotes come in, and the layout is the one looked at and committed. LibreOffice
// writes Chinese only as \u characters with "?" as their substitute, which the reader
// takes in their place.
TEST(RtfMadeByLibreOffice, SampleImportsWithFormatsTablePicturesAndFootnotes)
{
    KindsForImport kinds;
    const fs::path dir = fs::current_path() / "made-rtf";
    fs::create_directories(dir);
    const fs::path png = dir / "picture.png", jpeg = dir / "picture.jpg";
    if (!fs::exists(png) || !fs::exists(jpeg)) {
        ASSERT_EQ(std::system((std::string(QUILN_CONVERT) + " -size 60x40 gradient:red-blue png24:'" + png.string() + "'").c_str()), 0);
        ASSERT_EQ(std::system((std::string(QUILN_CONVERT) + " -size 60x40 gradient:green-yellow '" + jpeg.string() + "'").c_str()), 0);
    }
    std::string error;
    ASSERT_TRUE(madedocs::MakeRtfFiles(
        dir, {{"sample", madedocs::SampleDocument(madedocs::ReadBytes(png), madedocs::ReadBytes(jpeg))}}, error))
        << error;

    CQlDoc doc;
    doc.Reset();
    const std::size_t before = TempFileCount();
    ASSERT_EQ(doc.OpenRtf(plat::Utf8ToUtf16((dir / "sample.rtf").string()), false), 1);
    EXPECT_EQ(RegisterRtfImporter().GetLastResult(), 1);
    // The reader's picture files are gone; what is left are the working copies the
    // document's image store keeps while the document is open, one an entry.
    EXPECT_EQ(TempFileCount(), before + static_cast<std::size_t>(doc.GetImageStore().GetCount()));

    const std::string text = rtftest::BodyText(doc);
    for (const char* part : {"Title", "Body text in Times", "bold", "italic", "right aligned", "the end."})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in:\n" << text;
    // LibreOffice writes its footnotes as starred groups, which the reader passes over.
    EXPECT_EQ(text.find("first note"), std::string::npos);
    struct Styled {
        const char* word;
        std::function<bool(const CCharFormat&)> has;
    } const styled[] = {
        {"bold", [](const CCharFormat& f) { return f.m_bold == 1; }},
        {"italic", [](const CCharFormat& f) { return f.m_italic == 1; }},
        {"under", [](const CCharFormat& f) { return f.m_underline == 1; }},
        {"double", [](const CCharFormat& f) { return f.m_underline == 2; }},
        {"dotted", [](const CCharFormat& f) { return f.m_underline == 3; }},
        {"red", [](const CCharFormat& f) { return f.m_color == 0x0000FF; }},
        {"blue", [](const CCharFormat& f) { return f.m_color == 0xFF0000; }},
    };
    CDocBody& body = *doc.GetBody();
    const plat::String all = body.GetText(0, body.GetCount());
    for (const Styled& s : styled) {
        const std::size_t at = all.find(plat::Utf8ToUtf16(s.word));
        ASSERT_NE(at, plat::String::npos) << s.word;
        EXPECT_TRUE(s.has(body.GetItem(static_cast<int>(at))->GetFormat())) << s.word;
    }
    // An alignment reaches a paragraph with the indents that come with it (LibreOffice
    // writes them for the indented paragraphs only).
    bool indented = false;
    for (const CParaEndItem* end : rtftest::ParaEnds(doc)) {
        const CParaFormat& p = end->GetParaFormat();
        if (p.m_leftIndent == 420 && p.m_firstIndent == 840 && p.m_rightIndent == 283 && p.m_align == 1) indented = true;
    }
    EXPECT_TRUE(indented);

    // The table and the three pictures, with whatever kinds are registered.
    int tables = 0, pictures = 0;
    for (int k = 0; k < body.GetObjectCount(); ++k) {
        tables += body.GetObject(k)->GetNodeType() == kNodeTable;
        pictures += body.GetObject(k)->GetNodeType() == kNodeImage;
    }
    EXPECT_EQ(tables, 1);
    EXPECT_EQ(pictures, 3);
    // The real table: a grid of the same counts whose merged first cell holds the text.
    for (auto* table : rtftest::ObjectsOf<CTableObject>(doc)) {
        const CTableGrid* grid = table->GetGrid();
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->GetRows(), 3);
        EXPECT_EQ(grid->GetColumns(), 2);
        CTableCell* first = grid->GetCell(0, 0);
        const std::string text = plat::Utf16ToUtf8(first->GetText(0, first->GetCount()));
        EXPECT_NE(text.find("merged"), std::string::npos) << text;
        EXPECT_EQ(table->m_width, grid->GetTotalWidth());
        EXPECT_EQ(table->m_height, grid->GetTotalHeight());
    }
    for (auto* table : rtftest::ObjectsOf<rtftest::CFakeTable>(doc)) {
        EXPECT_EQ(table->m_rows, 3);
        EXPECT_EQ(table->m_columns, 2);
        EXPECT_NE(plat::Utf16ToUtf8(table->CellText(0, 0)).find("merged"), std::string::npos)
            << plat::Utf16ToUtf8(table->CellText(0, 0));
    }

    // The layout, against the dump looked at once and committed (QUILN_LAYOUT_DUMP_OUT
    // writes the new one for review).
    std::string dump = DumpLayout(body);
    if (const char* out = std::getenv("QUILN_LAYOUT_DUMP_OUT")) std::ofstream(std::string(out) + "/rtf_sample.txt") << dump;
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    std::ifstream in(fs::path(root) / "layout" / "rtf_sample.txt");
    ASSERT_TRUE(in.good()) << "no expected dump rtf_sample.txt";
    const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(dump, expected);
}

} // namespace
