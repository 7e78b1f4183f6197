#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "media/external_editor.h"
#include "media/external_player.h"
#include "media/media_store.h"
#include "platform/base/process.h"
#include "platform/com/registry.h"
#include "platform/ui/timer.h"
#include "document/render_context.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/bitmap.h"
#include "tests/media/image_object_support.h"

using namespace imagetest;

namespace {

void WriteScript(const fs::path& path, const std::string& body)
{
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
}

// A fresh folder for the program folder, the registry and PATH of one test.
class OutsidePrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = Scratch() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir / "registry");
        fs::create_directories(dir / "bin");
        ::setenv("QUILN_REGISTRY_DIR", (dir / "registry").c_str(), 1);
        m_path = std::getenv("PATH");
        ::setenv("PATH", ((dir / "bin").string() + ":" + m_path).c_str(), 1);
        SetMediaProgramFolder(plat::Utf8ToUtf16(dir.string()));
        CExternalEditor::ResetRegistryAnswers();
    }
    void TearDown() override
    {
        ::setenv("PATH", m_path.c_str(), 1);
        ::unsetenv("QUILN_REGISTRY_DIR");
        SetMediaProgramFolder(u"");
        CExternalEditor::ResetRegistryAnswers();
        plat::SetClockSource({});
        plat::ResetTimers();
    }
    fs::path dir;
    std::string m_path;
};

} // namespace

TEST_F(OutsidePrograms, WithoutTheLibraryFourPictureKindsAndNoSoundsOrVideos)
{
    CExternalEditor editor;
    EXPECT_FALSE(editor.IsBound());
    const struct {
        const char16_t* ext;
        bool image;
    } cases[] = {{u".jpg", true}, {u".BMP", true}, {u".dib", true}, {u".Gif", true},
                 {u".PNG", false}, {u".TGA", false}, {u".jpeg", false}, {u"", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(editor.CanEditImage(c.ext), c.image) << plat::Utf16ToUtf8(c.ext);
        EXPECT_FALSE(editor.CanEditImageAdv(c.ext)) << "no advanced editor registered";
        EXPECT_FALSE(editor.CanEditAudio(c.ext));
        EXPECT_FALSE(editor.CanEditVideo(c.ext));
    }
    EXPECT_EQ(editor.EditAudio(u"/x.wav"), 0);
    EXPECT_EQ(editor.EditVideo(u"/x.avi"), 0);
}

TEST_F(OutsidePrograms, ALibraryWithAllEightExportsAnswersEverythingOneWithSevenIsIgnored)
{
    fs::copy_file(MORVEX_SEVEN, dir / "libMorvex.so");
    {
        CExternalEditor editor;
        EXPECT_FALSE(editor.IsBound());
        EXPECT_FALSE(editor.CanEditImage(u".PNG"));
        EXPECT_FALSE(editor.CanEditVideo(u".avi"));
    }
    fs::copy_file(MORVEX_EIGHT, dir / "libMorvex.so", fs::copy_options::overwrite_existing);
    CExternalEditor editor;
    ASSERT_TRUE(editor.IsBound());
    for (const char16_t* ext : {u".PNG", u".TGA", u".wav", u".avi"}) {
        EXPECT_TRUE(editor.CanEditImage(ext));
        EXPECT_TRUE(editor.CanEditImageAdv(ext));
        EXPECT_TRUE(editor.CanEditAudio(ext));
        EXPECT_TRUE(editor.CanEditVideo(ext));
    }
    const fs::path file = dir / "edited";
    const plat::String path = plat::Utf8ToUtf16(file.string());
    EXPECT_EQ(editor.EditImage(path), 1);
    EXPECT_EQ(editor.EditImageAdv(path), 1);
    EXPECT_EQ(editor.EditAudio(path), 1);
    EXPECT_EQ(editor.EditVideo(path), 1);
    EXPECT_EQ(Bytes(file.string()), "EditImageEditImageAdvEditAudioEditVideo");
}

TEST_F(OutsidePrograms, AnEditByThePaintProgramUpdatesThePictureAndWithoutOneNothingChanges)
{
    ShownDoc d;
    const std::string bigger = Picture("60x30.bmp", "-size 60x30 xc:blue -type TrueColor");
    CImageObject& image = d.Insert(TwoColours());
    image.SetSelected(true);
    d.doc.SetModified(false);

    // No paint program on PATH (only the test's empty folder and the system's).
    d.doc.EditObjectExternally();
    EXPECT_EQ(d.Image().GetNaturalSize(), plat::Size(40, 20));
    EXPECT_FALSE(d.doc.IsModified());

    // The test's own program under the first name: it rewrites the copy it is given, and
    // the argument arrives whole although the copy's folder name has a space.
    WriteScript(dir / "bin" / "kolourpaint", "[ $# -eq 1 ] || exit 3\ncp '" + bigger + "' \"$1\"");
    EXPECT_EQ(CExternalEditor::FindPaintProgram(), u"kolourpaint");
    d.doc.EditObjectExternally();
    EXPECT_EQ(d.Image().GetNaturalSize(), plat::Size(60, 30));
    EXPECT_TRUE(d.doc.IsModified());
    const plat::String working = d.doc.GetImageStore().GetFilePath(d.Image().m_key);
    EXPECT_EQ(Bytes(plat::Utf16ToUtf8(working)), Bytes(bigger));
    EXPECT_EQ(d.doc.GetImageStore().GetInfo(d.Image().m_key).GetSize(), std::int32_t(fs::file_size(bigger)));
    // The edit copy went from the private folder.
    for (const auto& entry : fs::directory_iterator(plat::TempDirUtf8())) {
        if (entry.is_regular_file()) {
            EXPECT_NE(entry.path().filename().string().rfind("image", 0), 0u) << entry.path();
        }
    }
}

TEST_F(OutsidePrograms, AnAdvancedEditIsTakenBackAtEachPaintAfterTheEditorSaves)
{
    // The registry is read once: a key registered after the first question is not seen.
    EXPECT_FALSE(CExternalEditor().CanEditImageAdv(u".bmp"));
    const fs::path ps = dir / "advanced editor" / "";
    fs::create_directories(ps);
    ASSERT_EQ(plat::SetValue(plat::Hive::kLocalMachine, u"SoftWare\\Adobe\\Photoshop\\9.0\\ApplicationPath", u"",
                             plat::RegValue::Text(plat::Utf8ToUtf16(ps.string()))),
              plat::RegStatus::kOk);
    EXPECT_FALSE(CExternalEditor().CanEditImageAdv(u".bmp"));
    CExternalEditor::ResetRegistryAnswers();
    EXPECT_TRUE(CExternalEditor().CanEditImageAdv(u".bmp"));
    EXPECT_FALSE(CExternalEditor().CanEditImageAdv(u".png"));

    const std::string first = Picture("60x30.bmp", "-size 60x30 xc:blue -type TrueColor");
    const std::string second = Picture("80x10.bmp", "-size 80x10 xc:red -type TrueColor");
    // Saves twice, each time when the test says so.
    auto waitForFile = [&](const char* name) {
        return "while [ ! -e '" + (dir / name).string() + "' ]; do sleep 0.02; done\n";
    };
    WriteScript(ps / "photoshop.exe", waitForFile("go0") + "cp '" + first + "' \"$1\"\n" + waitForFile("go1") +
                                          "cp '" + second + "' \"$1\"\ntouch '" + (dir / "done").string() + "'");
    ShownDoc d;
    CImageObject& image = d.Insert(TwoColours());
    image.SetSelected(true);
    d.doc.EditSelectedImage();
    auto paint = [&] {
        auto bitmap = plat::Bitmap::Create(100, 100);
        plat::MemoryDc dc;
        dc.Select(bitmap.get());
        CRenderContext rc(&d.doc, dc);
        d.Image().Draw(dc, 1.0, 0, 0, 1, rc);
        rc.Restore(dc);
    };
    paint();
    EXPECT_EQ(d.Image().GetNaturalSize(), plat::Size(40, 20)) << "nothing saved yet";
    auto waitFor = [](auto done) {
        for (int i = 0; i < 1000 && !done(); ++i) ::usleep(10000);
    };
    const plat::Size sizes[] = {{60, 30}, {80, 10}};
    for (int save = 0; save < 2; ++save) {
        std::ofstream(dir / ("go" + std::to_string(save))).put('x');
        waitFor([&] {
            paint();
            return d.Image().GetNaturalSize() == sizes[save];
        });
        EXPECT_EQ(d.Image().GetNaturalSize(), sizes[save]);
    }
    waitFor([&] { return fs::exists(dir / "done"); });
    plat::ListChildProcesses();
}

TEST_F(OutsidePrograms, TheRequestValuesAndThePosterWaitOnTheHandDrivenClock)
{
    CExternalPlayer player;
    ASSERT_TRUE(player.WriteRequest(CExternalPlayer::kPlay, u"0123456789", u""));
    plat::RegValue value;
    ASSERT_EQ(plat::QueryValue(plat::Hive::kCurrentUser, CExternalPlayer::kRequestKey, u"JpgFile", &value),
              plat::RegStatus::kOk);
    EXPECT_EQ(value.type, plat::RegType::kString);
    EXPECT_EQ(value.text.size() * 2, 0u);
    ASSERT_EQ(plat::QueryValue(plat::Hive::kCurrentUser, CExternalPlayer::kRequestKey, u"RealFile", &value),
              plat::RegStatus::kOk);
    EXPECT_EQ(value.text.size() * 2, 20u);
    EXPECT_EQ(player.ReadPlayState(), 0u);

    struct Case {
        const char* name;
        std::vector<std::uint32_t> answers; // one before each poll; the last one stays
        bool ready;
        int polls;
    };
    const Case cases[] = {
        {"2, 2, 2, 1", {2, 2, 2, 1}, true, 4},
        {"2 then 0", {2, 0}, false, 2},
        {"never", {0}, false, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::SetManualClock(1000000);
        player.WriteRequest(CExternalPlayer::kPoster, u"/clip.rm", u"/poster.jpg");
        std::size_t next = 0;
        int owner = 0;
        plat::SetTimer(&owner, 1, CExternalPlayer::kPollMs, [&] {
            plat::SetValue(plat::Hive::kCurrentUser, CExternalPlayer::kRequestKey, u"PlayState",
                           plat::RegValue::Dword(c.answers[std::min(next++, c.answers.size() - 1)]));
        });
        CHeadlessWindows frame;
        int polls = 0;
        EXPECT_EQ(player.WaitForPoster(&frame, &polls), c.ready);
        EXPECT_EQ(polls, c.polls);
        EXPECT_EQ(plat::NowMs(), 1000000 + 200 * c.polls) << "polled on the clock, 200 ms apart";
        EXPECT_EQ(frame.m_waitCursorShows, 1);
        EXPECT_FALSE(frame.m_waitCursor);
        plat::KillTimers(&owner);
    }
}

TEST_F(OutsidePrograms, TheCompanionAnswersAPosterAndOnlyOurOwnCompanionIsEnded)
{
    // A process of the companion's name that this test starts itself, not through the
    // control: it is left running.
    fs::create_directories(dir / "other");
    fs::copy_file("/bin/sleep", dir / "other" / "QuilnReal");
    const pid_t stranger = ::fork();
    if (stranger == 0) {
        ::execl((dir / "other" / "QuilnReal").c_str(), "QuilnReal", "30", nullptr);
        ::_exit(127);
    }
    ASSERT_GT(stranger, 0);

    CExternalPlayer player;
    // None installed: the launch starts nothing and the wait uses up its budget.
    player.LaunchCompanion(u"/clip.rm");
    EXPECT_TRUE(plat::ListChildProcesses().empty());

    fs::copy_file(COMPANION_PROGRAM, dir / "QuilnReal");
    const std::string poster = Picture("poster.jpg", "-size 16x8 xc:blue");
    ::setenv("QUILN_TEST_POSTER", poster.c_str(), 1);
    const fs::path jpg = dir / "poster out.jpg";
    player.WriteRequest(CExternalPlayer::kPoster, u"/clip.rm", plat::Utf8ToUtf16(jpg.string()));
    EXPECT_EQ(player.LaunchCompanion(u"/clip.rm"), 1);
    player.WaitForCompanionExit();
    int polls = 0;
    EXPECT_TRUE(player.WaitForPoster(nullptr, &polls));
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(Bytes(jpg.string()), Bytes(poster));
    ::unsetenv("QUILN_TEST_POSTER");

    EXPECT_EQ(::kill(stranger, 0), 0) << "a process the control did not start is never ended";
    ::kill(stranger, SIGKILL);
    ::waitpid(stranger, nullptr, 0);
}
