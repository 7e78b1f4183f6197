// quiln-host as a user runs it: the control's library registered into a private registry
// folder, scripts run against it from a working folder, each output line and the exit
// status checked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/base/system.h"
#include "platform/com/registry.h"
#include "platform/gfx/bitmap.h"
#include "tests/host/host_run.h"
#include "tests/support/pixel_probe.h"

namespace {

namespace fs = std::filesystem;

using hosttest::Outcome;
using hosttest::ReadText;

class HostProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = plat::MakePrivateTempDir(plat::TempDirUtf8());
        ::setenv("QUILN_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("QUILN_REGISTRY_DIR");
        fs::remove_all(m_dir);
    }

    // Runs quiln-host with the arguments in the working folder; its outputs and status.
    Outcome Host(const std::vector<std::string>& args) { return hosttest::RunHost(m_dir, args); }
    // Writes the script into the working folder and runs it.
    Outcome Run(const std::string& script)
    {
        std::ofstream(m_dir / "script.txt", std::ios::binary) << script;
        return Host({"run", "script.txt"});
    }
    void Register() { ASSERT_EQ(Host({"register", QUILN_LIBRARY_PATH}).status, 0); }

    static plat::RegKey Hive()
    {
        plat::RegKey root;
        EXPECT_EQ(plat::LoadHive(plat::Hive::kClassesRoot, &root), plat::RegStatus::kOk);
        return root;
    }

    fs::path m_dir;
};

TEST_F(HostProgram, RegistersOnceOverAndUnregistersAgain)
{
    const Outcome first = Host({"register", QUILN_LIBRARY_PATH});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const plat::RegKey once = Hive();
    ASSERT_NE(once.Find(u"QUILN.QuilnCtrl.1\\CLSID"), nullptr);
    ASSERT_EQ(Host({"register", QUILN_LIBRARY_PATH}).status, 0);
    EXPECT_TRUE(Hive() == once) << plat::SerializeHive(Hive());
    EXPECT_EQ(Run("FileNew\n").out, "FileNew => TRUE\n");

    const Outcome removed = Host({"unregister", QUILN_LIBRARY_PATH});
    ASSERT_EQ(removed.status, 0) << removed.err;
    const plat::RegKey after = Hive();
    EXPECT_EQ(after.Find(u"QUILN.QuilnCtrl.1"), nullptr);
    EXPECT_TRUE(after.Find(u"CLSID") == nullptr || after.Find(u"CLSID")->Subkeys().empty());
    // Nothing registered: the script does not start, and says why.
    const Outcome unregistered = Run("FileNew\n");
    EXPECT_EQ(unregistered.status, 1);
    EXPECT_EQ(unregistered.out, "");
    EXPECT_NE(unregistered.err.find("register the control first"), std::string::npos) << unregistered.err;
}

TEST_F(HostProgram, RefusesWhatItCannotDo)
{
    std::ofstream(m_dir / "not-a-library.so") << "text";
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"register", "not-a-library.so"}, "cannot load not-a-library.so"},
        {{"unregister", "missing.so"}, "cannot load missing.so"},
        {{"run", "missing-script.txt"}, "cannot read the script missing-script.txt"},
        {{"run", "--window", "script.txt"}, "cannot read the script script.txt"},
        {{"window"}, "register the control first"},
        {{"run"}, "usage: quiln-host"},
        {{"paint", "x"}, "usage: quiln-host"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
        const Outcome outcome = Host(c.args);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
}

// Scripts whose every result is known, with what they print.
TEST_F(HostProgram, RunsScriptsAndPrintsEachResult)
{
    Register();
    const struct {
        const char* name;
        const char* script;
        const char* out;
    } cases[] = {
        {"members at work",
         "FileNew\n"
         "InsertString \"Hello, world 你好。\"   # ten letters, two spaces\n"
         "SetFontSize 210\n"
         "SetFontSize 200\n"
         "GetFontSize\n"
         "SetDispRatio 110\n"
         "GetDispRatio\n"
         "SetDispRatio 150\n"
         "GetDispRatio\n"
         "GetChFont\n"
         "IsFileModified\n"
         "FileSave \"saved.qln\"\n"
         "IsFileModified\n"
         "FileNew\n"
         "StatisticsAscii\n"
         "FileOpen \"saved.qln\" 0\n"
         "IsFileModified\n"
         "StatisticsChinese\nStatisticsAscii\nStatisticsSpace\nStatisticsSymbol\nStatisticsPara\n"
         "StatisticsPage\nStatisticsWord\nStatisticsImage\n"
         "!answer ok\n"
         "FileStatistics\n"
         "FileOpen \"absent.qln\" 0\n",
         "FileNew => TRUE\n"
         "InsertString => TRUE\n"
         "SetFontSize => TRUE\n"
         "SetFontSize => FALSE\n"
         "GetFontSize => 210\n"
         "SetDispRatio => FALSE\n"
         "GetDispRatio => 100\n"
         "SetDispRatio => TRUE\n"
         "GetDispRatio => 150\n"
         "GetChFont => \"宋体\"\n"
         "IsFileModified => TRUE\n"
         "FileSave => TRUE\n"
         "IsFileModified => FALSE\n"
         "FileNew => TRUE\n"
         "StatisticsAscii => 0\n"
         "FileOpen => TRUE\n"
         "IsFileModified => FALSE\n"
         "StatisticsChinese => 2\nStatisticsAscii => 10\nStatisticsSpace => 2\nStatisticsSymbol => 2\n"
         "StatisticsPara => 0\nStatisticsPage => 1\nStatisticsWord => 2\nStatisticsImage => 0\n"
         "!answer => OK\n"
         "FileStatistics => -\n"
         "FileOpen => FALSE\n"},
        {"a read-only document refuses edits",
         "InsertString \"fixed\"\n"
         "FileSave \"fixed.qln\"\n"
         "FileOpen \"fixed.qln\" 1\n"
         "CanInsertString\n"
         "InsertString \"more\"\n"
         "!type \"typed\"\n"
         "SetFontSize 210\n"
         "FileSave \"copy.qln\"\n"
         "IsFileModified\n"
         "FileOpen \"fixed.qln\" 0\n"
         "StatisticsAscii\n",
         "InsertString => TRUE\n"
         "FileSave => TRUE\n"
         "FileOpen => TRUE\n"
         "CanInsertString => FALSE\n"
         "InsertString => FALSE\n"
         "!type => OK\n"
         "SetFontSize => FALSE\n"
         "FileSave => FALSE\n"
         "IsFileModified => FALSE\n"
         "FileOpen => TRUE\n"
         "StatisticsAscii => 5\n"},
        {"typing and keys reach the document",
         "!type \"abc def\"\n"
         "!key Left Left Backspace\n"
         "StatisticsAscii\n"
         "!key Ctrl+A Delete\n"
         "StatisticsAscii\n"
         "!key Ctrl+Z\n"
         "StatisticsAscii\n"
         "!clock 1000\n",
         "!type => OK\n"
         "!key => OK\n"
         "StatisticsAscii => 5\n"
         "!key => OK\n"
         "StatisticsAscii => 0\n"
         "!key => OK\n"
         "StatisticsAscii => 5\n"
         "!clock => OK\n"},
        {"a click puts the caret where it lands",
         "!type \"hello world\"\n"
         "!click 91 146      # the start of the first line\n"
         "!key Shift+End\n"
         "!type \"Z\"\n"
         "StatisticsAscii\n"
         "!click 300 146     # right of the line's end\n"
         "!key Shift+Home\n"
         "!type \"QQ\"\n"
         "StatisticsAscii\n",
         "!type => OK\n!click => OK\n!key => OK\n!type => OK\n"
         "StatisticsAscii => 1\n"
         "!click => OK\n!key => OK\n!type => OK\n"
         "StatisticsAscii => 2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = Run(c.script);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.status, 0);
    }
    EXPECT_FALSE(fs::exists(m_dir / "copy.qln"));
}

TEST_F(HostProgram, ReportsLinesItCannotReadRunsTheRestAndExits2)
{
    Register();
    const Outcome outcome = Run("\xEF\xBB\xBF" "FileNew\n"
                                "InsertString \"unclosed\n"
                                "NoSuchMember 1\n"
                                "SetFontSize\n"
                                "SetFontSize 210 1\n"
                                "SetFontSize \"210\"\n"
                                "InsertString 42\n"
                                "InsertCharext 70000\n"
                                "InsertString \"kept\"\n"
                                "!key Ctrl+Hyper\n"
                                "!clock -5\n"
                                "!answer maybe\n"
                                "!fly\n"
                                "StatisticsAscii\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "FileNew => TRUE\n"
                           "InsertString => TRUE\n"
                           "StatisticsAscii => 4\n");
    EXPECT_EQ(outcome.err, "line 2: a string without its closing quote\n"
                           "line 3: no member named NoSuchMember\n"
                           "line 4: SetFontSize takes 1 argument, not 0\n"
                           "line 5: SetFontSize takes 1 argument, not 2\n"
                           "line 6: SetFontSize: argument 1 (fontSize) must be a whole number\n"
                           "line 7: InsertString: argument 1 (lpString) must be a string in double quotes\n"
                           "line 8: InsertCharext: argument 1 (charCode) is out of the range of a short\n"
                           "line 10: !key: no key named Ctrl+Hyper\n"
                           "line 11: !clock: takes the milliseconds to move on, from 0 to 86400000\n"
                           "line 12: !answer: no button named maybe\n"
                           "line 13: no action named !fly (!help lists them)\n");
}

// The password dialogs, the context menu and the word-count dialog the control puts up, each
// answered by the script, and one left unanswered.
TEST_F(HostProgram, AnswersDialogsAndMenus)
{
    Register();
    const Outcome outcome = Run("InsertString \"secret text\"\n"
                                "!answer ok \"pw1234\" \"pw1234\"\n"
                                "SetFilePassword\n"
                                "HasFilePassword\n"
                                "FileSave \"locked.qln\"\n"
                                "FileNew\n"
                                "!answer ok \"pw1234\"\n"
                                "FileOpen \"locked.qln\" 0\n"
                                "StatisticsAscii\n"
                                "FileNew\n"
                                "!answer cancel\n"
                                "!answer ok   # the message box that says the password is wrong\n"
                                "FileOpen \"locked.qln\" 0\n"
                                "StatisticsAscii\n"
                                // The context menu's word count, then its dialog.
                                "!answer 37920\n"
                                "!answer ok\n"
                                "!click right 300 300\n"
                                "!answer 37920\n"
                                "!click right 300 300\n");
    EXPECT_EQ(outcome.out, "InsertString => TRUE\n"
                           "!answer => OK\n"
                           "SetFilePassword => TRUE\n"
                           "HasFilePassword => TRUE\n"
                           "FileSave => TRUE\n"
                           "FileNew => TRUE\n"
                           "!answer => OK\n"
                           "FileOpen => TRUE\n"
                           "StatisticsAscii => 10\n"
                           "FileNew => TRUE\n"
                           "!answer => OK\n"
                           "!answer => OK\n"
                           "FileOpen => FALSE\n"
                           "StatisticsAscii => 0\n"
                           "!answer => OK\n!answer => OK\n!click => OK\n!answer => OK\n!click => OK\n");
    EXPECT_EQ(outcome.err, "line 19: a dialog or message box ran with no answer queued (see !answer)\n");
    EXPECT_EQ(outcome.status, 0);
}

// The HTML and RTF exports as a page calls them: paths that cannot be split are refused,
// a second export starts with an empty picture folder, and the RTF head carries the page.
TEST_F(HostProgram, ExportsHtmlAndRtf)
{
    Register();
    const Outcome first = Run("FileNew\n"
                              "InsertString \"第一段 first\\n第二段 <second>\"\n"
                              "ExportHTML \"noext\"\n"
                              "ExportHTML \"nofolder.htm\"\n"
                              "ExportHTML \"./page.htm\"\n"
                              "ExportEHTML \"./wide.htm\" \"./list.txt\"\n"
                              "ExportRTF \"./doc.rtf\"\n"
                              "ExportDoc \"./doc2.rtf\"\n"
                              "ExportRTF \"./no/such/folder/doc.rtf\"\n");
    EXPECT_EQ(first.out, "FileNew => TRUE\nInsertString => TRUE\nExportHTML => FALSE\nExportHTML => FALSE\n"
                         "ExportHTML => TRUE\nExportEHTML => TRUE\nExportRTF => TRUE\nExportDoc => TRUE\n"
                         "ExportRTF => FALSE\n");
    EXPECT_EQ(first.status, 0);
    const std::string page = ReadText(m_dir / "page.htm");
    EXPECT_NE(page.find("charset=gb2312"), std::string::npos);
    EXPECT_NE(page.find(">first</span>"), std::string::npos) << page;
    EXPECT_NE(page.find("&lt;second&gt;"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(m_dir / "page.files"));
    // No page object: the list file is empty.
    EXPECT_EQ(ReadText(m_dir / "list.txt"), "");
    const std::string rtf = ReadText(m_dir / "doc.rtf");
    EXPECT_NE(rtf.find("\\paperw11338\\paperh16270\\margl1133\\margr1133\\margt1133\\margb1133\\gutter0"),
              std::string::npos);
    EXPECT_EQ(rtf, ReadText(m_dir / "doc2.rtf"));

    // A second export clears what the folder held.
    std::ofstream(m_dir / "page.files" / "stale.jpg") << "old";
    const Outcome again = Run("FileNew\nInsertString \"x\"\nExportHTML \"./page.htm\"\n");
    EXPECT_EQ(again.out, "FileNew => TRUE\nInsertString => TRUE\nExportHTML => TRUE\n");
    EXPECT_TRUE(fs::is_empty(m_dir / "page.files"));
}

// The main job's example script, run as scripts/run runs it.
TEST_F(HostProgram, RunsTheExampleScript)
{
    Register();
    const Outcome outcome = Host({"run", QUILN_EXAMPLE_SCRIPT});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    for (const char* line : {"IsDispEditStatus => TRUE\n", "InsertNewPage => TRUE\n", "FileOpen => TRUE\n",
                             "StatisticsPage => 2\n", "StatisticsTable => 1\n", "ExportPDF => TRUE\n",
                             "ExportHTML => TRUE\n", "ExportRTF => TRUE\n", "!png => OK\n"}) {
        EXPECT_NE(outcome.out.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(outcome.out.find("ERROR"), std::string::npos) << outcome.out;
    EXPECT_EQ(ReadText(m_dir / "sample.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(ReadText(m_dir / "sample.rtf").substr(0, 5), "{\\rtf");
    // The HTML page: the table as a table of its own, the text shape and the rectangle as
    // pictures in the folder beside it.
    const std::string html = ReadText(m_dir / "sample.htm");
    EXPECT_NE(html.find("<table border=1"), std::string::npos) << "the table";
    int pictures = 0;
    for (size_t at = html.find("<img "); at != std::string::npos; at = html.find("<img ", at + 1)) ++pictures;
    EXPECT_EQ(pictures, 2);
    EXPECT_TRUE(plat::Bitmap::LoadPng(plat::Utf8ToUtf16((m_dir / "sample-page1.png").string())));
}

// Dark pixels of a picture inside a rectangle.
int DarkPixels(const plat::Bitmap& picture, const plat::Rect& area)
{
    int dark = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const plat::ColorRef c = picture.GetPixel(x, y);
            dark += plat::RValue(c) + plat::GValue(c) + plat::BValue(c) < 3 * 96;
        }
    return dark;
}

TEST_F(HostProgram, WritesAPictureOfTheWindowWithTheTypedText)
{
    Register();
    const Outcome outcome = Run("!png \"before.png\"\n"
                                "!type \"WWWW MMMM 你好\"\n"
                                "!png after.png\n"
                                "!png \"no-such-folder/x.png\"\n");
    EXPECT_EQ(outcome.out, "!png => OK\n!type => OK\n!png => OK\n!png => ERROR 0x80004005\n");
    EXPECT_EQ(outcome.status, 0);
    const std::unique_ptr<plat::Bitmap> before = plat::Bitmap::LoadPng(plat::Utf8ToUtf16((m_dir / "before.png").string()));
    const std::unique_ptr<plat::Bitmap> after = plat::Bitmap::LoadPng(plat::Utf8ToUtf16((m_dir / "after.png").string()));
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->GetSize(), plat::Size(800, 600));
    // The first line of the page, below the bars and right of the page's left margin.
    const plat::Rect firstLine{60, 120, 400, 170};
    EXPECT_GT(DarkPixels(*after, firstLine), DarkPixels(*before, firstLine) + 150);
    // The bars are painted the same before and after.
    const plat::Rect bars{0, 0, 800, 24};
    EXPECT_EQ(DarkPixels(*after, bars), DarkPixels(*before, bars));
}

// Notes made, drawn in the margin, opened with a double click on their box and answered in
// the annotation dialog, saved and reopened, hidden and shown.
TEST_F(HostProgram, AnnotatesThroughTheDialogAndShowsTheNotesInTheMargin)
{
    Register();
    // The boxes of the two notes of the first line, in the window's picture, one below the other.
    const plat::Rect firstBox{700, 142, 768, 196};
    const plat::Rect secondBox{700, 210, 768, 264};
    const Outcome outcome = Run("SetFileAuthor 1 \"First\"\n"
                                "InsertString \"Alpha \"\n"
                                "!answer ok \"第一个批注\"\n"
                                "InsertMark \"\"\n"
                                "InsertString \"beta \"\n"
                                "InsertMark \"second\"\n"
                                "!png \"shown.png\"\n"
                                "!answer ok \"改过的批注\"\n"
                                "!click double 730 170\n"
                                "FileSave \"notes.qln\"\n"
                                "FileNew\n"
                                "FileOpen \"notes.qln\" 0\n"
                                "SetFileAuthor 1 \"First\"\n"
                                "SetDispMarkStatus 0\n"
                                "IsDispMarkStatus\n"
                                "!png \"hidden.png\"\n"
                                "SetDispMarkStatus 1\n"
                                "!answer 3   # 删除批注\n"
                                "!click double 730 170\n"
                                "!png \"deleted.png\"\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("IsDispMarkStatus => FALSE\n"), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.out.find("ERROR"), std::string::npos) << outcome.out;
    auto load = [&](const char* name) { return plat::Bitmap::LoadPng(plat::Utf8ToUtf16((m_dir / name).string())); };
    const auto shown = load("shown.png");
    const auto hidden = load("hidden.png");
    const auto deleted = load("deleted.png");
    ASSERT_TRUE(shown && hidden && deleted);
    constexpr plat::ColorRef kTip = plat::Rgb(255, 255, 225);
    EXPECT_GT(testsupport::InkOf(*shown, firstBox, kTip).count, 1500);
    EXPECT_GT(testsupport::InkOf(*shown, secondBox, kTip).count, 1500);
    EXPECT_EQ(testsupport::InkOf(*hidden, firstBox, kTip).count + testsupport::InkOf(*hidden, secondBox, kTip).count, 0);
    // The first note deleted: the second one's box alone, in the first place.
    EXPECT_GT(testsupport::InkOf(*deleted, firstBox, kTip).count, 1500);
    EXPECT_EQ(testsupport::InkOf(*deleted, secondBox, kTip).count, 0);
}

} // namespace

namespace {

// A 2 x 2 picture in 24-bit BMP: red, green / blue, white.
std::string SmallBmp()
{
    const unsigned char bytes[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,     // info header
        16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,                              // bottom row: blue, white
        0, 0, 0xFF, 0, 0xFF, 0, 0, 0,                                    // top row: red, green
    };
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace

TEST_F(HostProgram, ImagesOfANativeFileAreCountedAndExportedAsTheirOwnFiles)
{
    Register();
    const std::string bmp = SmallBmp();
    std::ofstream(m_dir / "picture.BMP", std::ios::binary) << bmp;
    std::ofstream(m_dir / "second.bmp", std::ios::binary) << bmp << "trailing bytes the file keeps";
    const std::string dir = m_dir.string() + "/";
    // The test writes the native file through the control.
    const Outcome written = Run("FileNew\nInsertImage \"" + dir + "picture.BMP\" \"\" 0 0 0 0\nInsertImage \"" + dir +
                                "second.bmp\" \"图\" 0 0 0 0\nFileSave \"" + dir + "images.qln\"\n");
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "FileNew => TRUE\nInsertImage => TRUE\nInsertImage => TRUE\nFileSave => TRUE\n");
    fs::remove(m_dir / "picture.BMP");
    fs::remove(m_dir / "second.bmp");

    const Outcome read = Run("FileOpen \"" + dir + "images.qln\" 0\nStatisticsImage\nExportType 1\nExportExt 1\n"
                             "ExportFile 1 \"" + dir + "first.out\"\nExportExt 2\nExportFile 2 \"" + dir +
                             "second.out\"\n");
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out, "FileOpen => TRUE\nStatisticsImage => 2\nExportType => 2\nExportExt => \".BMP\"\n"
                        "ExportFile => TRUE\nExportExt => \".bmp\"\nExportFile => TRUE\n");
    EXPECT_EQ(ReadText(m_dir / "first.out"), bmp);
    EXPECT_EQ(ReadText(m_dir / "second.out"), bmp + "trailing bytes the file keeps");
}
