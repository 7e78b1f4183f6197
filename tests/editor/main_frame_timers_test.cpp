// The main frame's autosave: the path probe, the countdown, what an autosave writes and
// what it leaves of the document's state; and the idle update the idle timer drives.
#include "tests/editor/main_frame_support.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "document/format_state.h"

namespace {

using frametest::MainFrameTest;

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

plat::String U16(const std::filesystem::path& path)
{
    return plat::Utf8ToUtf16(path.string());
}

TEST_F(MainFrameTest, AutosaveWritesEveryPeriodPlusOneSecondsAndKeepsTheDocumentModified)
{
    doc().InsertString(u"autosaved text");
    ASSERT_TRUE(doc().IsModified());
    const auto path = Folder() / "auto.qln";
    ASSERT_EQ(frame().SetAutoSave(U16(path), 3), 1);
    EXPECT_EQ(frame().GetAutoSaveSeconds(), 3);
    EXPECT_EQ(frame().GetAutoSavePath(), U16(path));
    std::filesystem::remove(path); // what the probe left

    // Each second the countdown runs down; a save takes the place of the tick at zero.
    std::vector<int> savedAt;
    for (int second = 1; second <= 12; ++second) {
        Run(1000);
        if (std::filesystem::exists(path)) {
            savedAt.push_back(second);
            std::filesystem::remove(path);
        }
    }
    EXPECT_EQ(savedAt, (std::vector<int>{4, 8, 12}));
    EXPECT_TRUE(doc().IsModified());

    // What was saved is the document.
    Run(4000);
    ASSERT_TRUE(std::filesystem::exists(path));
    CQlDoc reread;
    ASSERT_EQ(reread.FileOpen(U16(path), false), 1);
    std::u16string text;
    for (int i = 0; i + 1 < reread.GetBody()->GetCount(); ++i) text += reread.GetBody()->GetItem(i)->GetCode();
    EXPECT_EQ(text, u"autosaved text");
}

TEST_F(MainFrameTest, AutosaveRefusalsSwitchItOff)
{
    const auto path = Folder() / "auto.qln";
    struct Row {
        const char* what;
        std::filesystem::path path;
        int seconds;
    };
    const Row rows[] = {
        {"no seconds", path, 0},
        {"negative seconds", path, -2},
        {"missing folder", Folder() / "missing" / "auto.qln", 3},
        {"a folder for a file", Folder(), 3},
        {"empty path", std::filesystem::path(), 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ASSERT_EQ(frame().SetAutoSave(U16(path), 2), 1);
        EXPECT_EQ(frame().SetAutoSave(U16(r.path), r.seconds), 0);
        EXPECT_EQ(frame().GetAutoSaveSeconds(), 0);
        EXPECT_TRUE(frame().GetAutoSavePath().empty());
        EXPECT_FALSE(std::filesystem::exists(Folder() / "missing"));
        // The running timer finds the period gone and ends without saving.
        std::filesystem::remove(path);
        Run(10000);
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_FALSE(frame().IsTimerSet(CQlMain::kAutoSaveTimerId));
    }
}

TEST_F(MainFrameTest, AutosaveProbeKeepsAnExistingFileWhole)
{
    const auto path = Folder() / "precious.qln";
    {
        std::ofstream out(path, std::ios::binary);
        out << "the user's own file";
    }
    ASSERT_EQ(frame().SetAutoSave(U16(path), 5), 1);
    EXPECT_EQ(ReadAll(path), "the user's own file");
}

TEST_F(MainFrameTest, DocumentOperationsPauseAndRestartTheAutosave)
{
    const auto path = Folder() / "auto.qln";
    ASSERT_EQ(frame().SetAutoSave(U16(path), 3), 1);
    Run(2000);
    EXPECT_EQ(frame().GetAutoSaveCountdown(), 1);
    // A save by the user restarts the countdown from the full period.
    ASSERT_EQ(doc().FileSave(U16(Folder() / "mine.qln")), 1);
    EXPECT_EQ(frame().GetAutoSaveCountdown(), 3);
    EXPECT_TRUE(frame().IsTimerSet(CQlMain::kAutoSaveTimerId));
    EXPECT_TRUE(frame().IsTimerSet(CQlMain::kIdleTimerId));
    // Opening a document switches autosave off.
    ASSERT_EQ(doc().FileOpen(U16(Folder() / "mine.qln"), false), 1);
    EXPECT_EQ(frame().GetAutoSaveSeconds(), 0);
    EXPECT_FALSE(frame().IsTimerSet(CQlMain::kAutoSaveTimerId));
    EXPECT_TRUE(frame().IsTimerSet(CQlMain::kIdleTimerId));
}

// A creation tool that is only pending.
class PendingTool : public CCreationTool {
public:
    std::uint16_t GetCreateType() const override { return 22; }
};

// A window that counts the idle updates it gets.
class IdleCounter : public plat::Window {
public:
    ~IdleCounter() override { Destroy(); }
    int m_updates = 0;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override
    {
        if (message == plat::kWmIdleUpdateCmdUi) ++m_updates;
        return DefWindowProc(message, wParam, lParam);
    }
};

TEST_F(MainFrameTest, IdleTicksUpdateEveryWindowUnlessAnObjectIsBeingCreated)
{
    IdleCounter deep;
    ASSERT_TRUE(deep.Create(frame().GetMainView(), plat::Rect(0, 0, 5, 5), plat::kWsChild));
    Run(600);
    EXPECT_EQ(deep.m_updates, 3);
    EXPECT_TRUE(frame().IsTimerSet(CQlMain::kIdleTimerId));

    doc().GetFormatState()->SetCreationTracker(std::make_unique<PendingTool>());
    Run(600);
    EXPECT_EQ(deep.m_updates, 3);
    doc().GetFormatState()->DeleteCreationTracker();
    Run(200);
    EXPECT_EQ(deep.m_updates, 4);
}

} // namespace
