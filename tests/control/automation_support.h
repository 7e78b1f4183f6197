// The automation tests' fixture: a main frame in a host window and a dispatch object over
// it, whose members the tests call by name as a host does.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "control/quiln_ctrl_members.h"
#include "platform/com/dispatch.h"
#include "tests/editor/main_frame_support.h"

namespace automationtest {

using plat::Variant;

class AutomationTest : public frametest::MainFrameTest {
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        m_object = new CQuilnAutomation(&frame());
    }
    void TearDown() override
    {
        m_object->Release();
        MainFrameTest::TearDown();
    }

    Variant Call(const char16_t* name, std::vector<Variant> args = {})
    {
        std::vector<plat::DispId> ids;
        EXPECT_EQ(m_object->GetIDsOfNames({name}, &ids), plat::S_OK) << plat::Utf16ToUtf8(name);
        Variant result;
        EXPECT_EQ(m_object->Invoke(ids.at(0), plat::kInvokeMethod, args, &result), plat::S_OK)
            << plat::Utf16ToUtf8(name);
        return result;
    }
    bool CallBool(const char16_t* name, std::vector<Variant> args = {})
    {
        const Variant result = Call(name, std::move(args));
        EXPECT_EQ(result.Type(), plat::VarType::kBool) << plat::Utf16ToUtf8(name);
        return result.AsBool();
    }
    std::int32_t CallLong(const char16_t* name, std::vector<Variant> args = {})
    {
        const Variant result = Call(name, std::move(args));
        EXPECT_EQ(result.Type(), plat::VarType::kI4) << plat::Utf16ToUtf8(name);
        return result.AsLong();
    }
    struct Setting {
        std::int32_t value;
        bool taken;
    };
    // Sets each value in turn and reads it back: a value not taken leaves the last one taken.
    void ExpectTaken(const char16_t* setter, const char16_t* getter, std::int32_t current,
                     std::initializer_list<Setting> cases)
    {
        for (const Setting& c : cases) {
            SCOPED_TRACE(c.value);
            EXPECT_EQ(CallBool(setter, {Variant::Long(c.value)}), c.taken);
            if (c.taken) current = c.value;
            EXPECT_EQ(CallLong(getter), current);
        }
    }
    plat::String PathOf(const char* file) { return plat::Utf8ToUtf16((Folder() / file).string()); }
    // A saved document holding `text`, then a new empty one in the frame.
    plat::String SavedDocument(const char* file, const char16_t* text)
    {
        const plat::String path = PathOf(file);
        EXPECT_TRUE(CallBool(u"FileNew"));
        EXPECT_TRUE(CallBool(u"InsertString", {Variant::Str(text)}));
        EXPECT_TRUE(CallBool(u"FileSave", {Variant::Str(path)}));
        EXPECT_TRUE(CallBool(u"FileNew"));
        return path;
    }

    CQuilnAutomation* m_object = nullptr;
};

} // namespace automationtest
