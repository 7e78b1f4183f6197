// The editor tests' fixture: a clean UI thread and modal service, a new document, and the
// password prompt removed after each test.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "document/doc_password.h"
#include "document/ql_doc.h"
#include "platform/base/system.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/modal.h"
#include "platform/ui/timer.h"

namespace edtest {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        m_doc.FileNew();
    }
    void TearDown() override
    {
        Clean();
        SetPasswordPrompt({});
    }
    static void Clean()
    {
        plat::ResetMessageQueue();
        plat::ResetInputState();
        plat::ClearModalAnswers();
        plat::SetModalHandler({});
        plat::ClearModalLog();
    }
    // The texts of the message boxes shown so far.
    static std::vector<plat::String> Boxes()
    {
        std::vector<plat::String> out;
        for (const plat::ModalRecord& r : plat::GetMessageBoxLog()) out.push_back(r.text);
        return out;
    }
    CQlDoc m_doc;
};

// Local time is UTC while a test runs, so that times print the same everywhere.
class UtcTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        const char* tz = std::getenv("TZ");
        m_hadTz = tz != nullptr;
        if (tz) m_tz = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz) setenv("TZ", m_tz.c_str(), 1);
        else unsetenv("TZ");
        tzset();
        EditorTest::TearDown();
    }
    bool m_hadTz = false;
    std::string m_tz;
};

} // namespace edtest
