// A main frame for the frame tests: a top-level window standing in for the control, the
// frame over its whole client area, on a clean UI thread with the hand-driven clock. The
// main document has a new empty content, as the control gives it at start-up.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "tests/platform/ui_test_window.h"

namespace frametest {

class MainFrameTest : public uitest::UiTest {
protected:
    static constexpr plat::Rect kHostRect{0, 0, 800, 600};

    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_host.Create(nullptr, kHostRect, plat::kWsVisible));
        m_frame = std::make_unique<CQlMain>();
        ASSERT_TRUE(m_frame->Create(&m_host));
        doc().FileNew();
        plat::PumpMessages();
    }
    void TearDown() override
    {
        m_frame.reset();
        m_host.Destroy();
        UiTest::TearDown();
        if (!m_folder.empty()) std::filesystem::remove_all(m_folder);
    }

    CQlMain& frame() const { return *m_frame; }
    CQlDoc& doc() const { return *m_frame->GetMainDoc(); }
    CDocBody& body() const { return *doc().GetBody(); }
    CQlCanvas& canvas() const { return *m_frame->GetMainView()->GetCanvas(); }
    int Caret() const { return body().GetCaretPos().m_index; }
    void SetCaret(int index) { body().SetCaret(CTextPos(index, body().GetName())); }
    // The body's text without its final paragraph end, as UTF-8.
    std::string Text() const
    {
        std::u16string out;
        for (int i = 0; i + 1 < body().GetCount(); ++i) out += body().GetItem(i)->GetCode();
        return plat::Utf16ToUtf8(out);
    }
    // Lets the clock run through `ms`, the timers and the messages they make included.
    static void Run(std::int64_t ms)
    {
        plat::AdvanceClock(ms);
        plat::PumpMessages();
    }
    // A private folder for the test's files, removed afterwards.
    std::filesystem::path Folder()
    {
        if (m_folder.empty()) {
            const auto* info = testing::UnitTest::GetInstance()->current_test_info();
            m_folder = std::filesystem::temp_directory_path() /
                       ("qlmain_" + std::to_string(getpid()) + "_" + info->name());
            std::filesystem::remove_all(m_folder);
            std::filesystem::create_directories(m_folder);
        }
        return m_folder;
    }

    uitest::TestWindow m_host{"control"};
    std::unique_ptr<CQlMain> m_frame;
    std::filesystem::path m_folder;
};

} // namespace frametest
