// The dispatch interface: values and their conversions, name lookup, calls by member id,
// errors as result codes, and the type information a member table gives.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/com/dispatch.h"

namespace {

using plat::AutoBool;
using plat::DispId;
using plat::HRESULT;
using plat::String;
using plat::Variant;
using plat::VarType;

// ---- values ----

TEST(Variant, ConversionsFollowAutomation)
{
    struct Case {
        Variant in;
        VarType to;
        HRESULT hr;
        Variant out;
    };
    const Case cases[] = {
        // Between numbers and BOOL.
        {Variant::Long(5), VarType::kBool, plat::S_OK, Variant::Bool(true)},
        {Variant::Long(0), VarType::kBool, plat::S_OK, Variant::Bool(false)},
        {Variant::Double(0.25), VarType::kBool, plat::S_OK, Variant::Bool(true)},
        {Variant::Bool(true), VarType::kI4, plat::S_OK, Variant::Long(-1)},
        {Variant::Bool(true), VarType::kI2, plat::S_OK, Variant::Short(-1)},
        {Variant::Short(-7), VarType::kI4, plat::S_OK, Variant::Long(-7)},
        {Variant::Long(32767), VarType::kI2, plat::S_OK, Variant::Short(32767)},
        {Variant::Long(32768), VarType::kI2, plat::DISP_E_OVERFLOW, Variant()},
        {Variant::Long(-32769), VarType::kI2, plat::DISP_E_OVERFLOW, Variant()},
        {Variant::Double(2.5), VarType::kI4, plat::S_OK, Variant::Long(2)},
        {Variant::Double(3.5), VarType::kI4, plat::S_OK, Variant::Long(4)},
        {Variant::Double(-2.6), VarType::kI4, plat::S_OK, Variant::Long(-3)},
        {Variant::Double(3e10), VarType::kI4, plat::DISP_E_OVERFLOW, Variant()},
        {Variant::Long(7), VarType::kR8, plat::S_OK, Variant::Double(7.0)},
        // Numbers and strings.
        {Variant::Long(-12), VarType::kBStr, plat::S_OK, Variant::Str(u"-12")},
        {Variant::Double(0.1), VarType::kBStr, plat::S_OK, Variant::Str(u"0.1")},
        {Variant::Double(1.0 / 3), VarType::kBStr, plat::S_OK, Variant::Str(u"0.3333333333333333")},
        {Variant::Bool(false), VarType::kBStr, plat::S_OK, Variant::Str(u"False")},
        {Variant::Str(u" 42 "), VarType::kI4, plat::S_OK, Variant::Long(42)},
        {Variant::Str(u"1e3"), VarType::kI2, plat::S_OK, Variant::Short(1000)},
        {Variant::Str(u"-4.5"), VarType::kR8, plat::S_OK, Variant::Double(-4.5)},
        {Variant::Str(u"tRUE"), VarType::kBool, plat::S_OK, Variant::Bool(true)},
        {Variant::Str(u"0"), VarType::kBool, plat::S_OK, Variant::Bool(false)},
        {Variant::Str(u"99999"), VarType::kI2, plat::DISP_E_OVERFLOW, Variant()},
        {Variant::Str(u""), VarType::kI4, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Str(u"12abc"), VarType::kI4, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Str(u"0x10"), VarType::kI4, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Str(u"-"), VarType::kI4, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Str(u"inf"), VarType::kR8, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Str(u"1e999"), VarType::kR8, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Str(u"True"), VarType::kI4, plat::DISP_E_TYPEMISMATCH, Variant()},
        // Empty and left-out.
        {Variant(), VarType::kI4, plat::S_OK, Variant::Long(0)},
        {Variant(), VarType::kBool, plat::S_OK, Variant::Bool(false)},
        {Variant(), VarType::kBStr, plat::S_OK, Variant::Str(u"")},
        {Variant::Missing(), VarType::kI4, plat::DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Long(1), VarType::kEmpty, plat::DISP_E_TYPEMISMATCH, Variant()},
    };
    int row = 0;
    for (const Case& c : cases) {
        Variant out = Variant::Str(u"untouched");
        EXPECT_EQ(plat::ChangeType(c.in, c.to, &out), c.hr) << "row " << row;
        if (c.hr == plat::S_OK) {
            EXPECT_EQ(out, c.out) << "row " << row << ": " << plat::Utf16ToUtf8(out.AsString());
        } else {
            EXPECT_EQ(out, Variant::Str(u"untouched")) << "row " << row;
        }
        ++row;
    }
    EXPECT_EQ(Variant::Bool(true).AsShort(), 0); // a BOOL is not a short, though both are 16 bits
    EXPECT_NE(Variant::Bool(true), Variant::Short(plat::kVariantTrue));
}

// ---- a small class with members of each type ----

class Sample : public plat::DispatchObject<Sample> {
public:
    static const Sample* last;
    Sample() { last = this; }
    ~Sample() override { last = nullptr; }

    std::int32_t Add(std::int32_t a, std::int32_t b) { return a + b; }
    AutoBool CountOf(const String& text) { return static_cast<int>(text.size()); }
    String Greet(const String& name, std::int16_t times)
    {
        String out;
        for (int i = 0; i < times; ++i) out += u"Hello " + name + u"! ";
        return out;
    }
    double Half(double v) const { return v / 2; }
    void Reset() { m_count = 0; }
    AutoBool SetFlag(AutoBool flag)
    {
        m_flag = flag.value;
        return 1;
    }
    void Fail() { throw std::runtime_error("the disk is full"); }
    std::int32_t GetCount() const { return m_count; }
    void SetCount(std::int32_t v) { m_count = v; }

    int Flag() const { return m_flag; }

    static const plat::DispatchTable& Members()
    {
        static const plat::DispatchTable table(
            plat::Guid::FromText(u"{5B0E4F6C-8D1A-4E27-B3C9-1F2A3B4C5D01}"), u"_DSample", u"Dispatch interface for Sample",
            {
                plat::Method(1, u"Add", &Sample::Add, {u"a", u"b"}),
                plat::Method(2, u"CountOf", &Sample::CountOf, {u"text"}),
                plat::Method(3, u"Greet", &Sample::Greet, {u"name", u"times"}),
                plat::Method(4, u"Half", &Sample::Half, {u"value"}),
                plat::Method(5, u"Reset", &Sample::Reset),
                plat::Method(6, u"SetFlag", &Sample::SetFlag, {u"bFlag"}),
                plat::Method(7, u"Fail", &Sample::Fail),
                plat::PropertyGet(8, u"Count", &Sample::GetCount),
                plat::PropertyPut(8, u"Count", &Sample::SetCount, u"newCount"),
            });
        return table;
    }

private:
    std::int32_t m_count = 3;
    int m_flag = 0;
};
const Sample* Sample::last = nullptr;

// One call through Invoke and what it should give.
struct InvokeCase {
    const char* what;
    DispId id;
    unsigned flags;
    std::vector<Variant> args;
    HRESULT hr;
    Variant result;            // when hr is S_OK
    unsigned argError = kNone; // the argument blamed, when one is
    static constexpr unsigned kNone = 99;
};

void ExpectCalls(plat::Dispatch* disp, const std::vector<InvokeCase>& cases)
{
    for (const InvokeCase& c : cases) {
        Variant result = Variant::Str(u"untouched");
        unsigned argError = InvokeCase::kNone;
        EXPECT_EQ(disp->Invoke(c.id, c.flags, c.args, &result, nullptr, &argError), c.hr) << c.what;
        EXPECT_EQ(result, c.hr == plat::S_OK ? c.result : Variant::Str(u"untouched")) << c.what;
        EXPECT_EQ(argError, c.argError) << c.what;
    }
}

class Dispatch : public ::testing::Test {
protected:
    Dispatch()
    {
        auto* object = new Sample;
        object->QueryInterface(plat::Dispatch::Iid(), m_disp.Slot());
        object->Release();
    }
    plat::Ref<plat::Dispatch> m_disp;
};

TEST_F(Dispatch, NamesGiveMemberIdsWithoutRegardToCase)
{
    std::vector<DispId> ids;
    ASSERT_EQ(m_disp->GetIDsOfNames({u"gREET"}, &ids), plat::S_OK);
    EXPECT_EQ(ids, std::vector<DispId>{3});
    ASSERT_EQ(m_disp->GetIDsOfNames({u"Greet", u"TIMES", u"name"}, &ids), plat::S_OK);
    EXPECT_EQ(ids, (std::vector<DispId>{3, 1, 0}));
    ASSERT_EQ(m_disp->GetIDsOfNames({u"count", u"newCount"}, &ids), plat::S_OK);
    EXPECT_EQ(ids, (std::vector<DispId>{8, 0}));

    EXPECT_EQ(m_disp->GetIDsOfNames({u"Greets"}, &ids), plat::DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids, std::vector<DispId>{plat::kDispIdUnknown});
    EXPECT_EQ(m_disp->GetIDsOfNames({u"Greet", u"name", u"loudly"}, &ids), plat::DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids, (std::vector<DispId>{3, 0, plat::kDispIdUnknown}));
    EXPECT_EQ(m_disp->GetIDsOfNames({}, &ids), plat::E_INVALIDARG);
    EXPECT_EQ(m_disp->GetIDsOfNames({u"Add"}, nullptr), plat::E_POINTER);
}

TEST_F(Dispatch, InvokeConvertsArgumentsAndResults)
{
    const auto ok = plat::S_OK;
    const unsigned method = plat::kInvokeMethod;
    ExpectCalls(m_disp.Get(), {
        {"longs", 1, method, {Variant::Long(40), Variant::Long(2)}, ok, Variant::Long(42)},
        {"BOOL and short where long", 1, method, {Variant::Bool(true), Variant::Short(5)}, ok, Variant::Long(4)},
        {"numeric strings where long", 1, method, {Variant::Str(u"7"), Variant::Double(1.5)}, ok, Variant::Long(9)},
        {"a count comes back as TRUE", 2, method, {Variant::Str(u"abc")}, ok, Variant::Bool(true)},
        {"zero comes back as FALSE", 2, method, {Variant::Str(u"")}, ok, Variant::Bool(false)},
        {"a number where a string is expected", 3, method, {Variant::Long(7), Variant::Long(1)}, ok,
         Variant::Str(u"Hello 7! ")},
        {"string and short", 3, method, {Variant::Str(u"\u4E2D"), Variant::Short(2)}, ok,
         Variant::Str(u"Hello \u4E2D! Hello \u4E2D! ")},
        {"const method, double", 4, method, {Variant::Long(3)}, ok, Variant::Double(1.5)},
        {"void", 5, method, {}, ok, Variant()},
        {"a method asked for as method or get", 4, method | plat::kInvokePropertyGet, {Variant::Double(1)}, ok,
         Variant::Double(0.5)},
    });
}

TEST_F(Dispatch, BoolParametersAndPropertiesReachTheObject)
{
    const Sample& sample = *Sample::last;
    Variant result;
    ASSERT_EQ(m_disp->Invoke(6, plat::kInvokeMethod, {Variant::Long(5)}, &result), plat::S_OK);
    EXPECT_EQ(result, Variant::Bool(true));
    EXPECT_EQ(sample.Flag(), 1); // the member sees 1 for TRUE, whatever number it was given
    ASSERT_EQ(m_disp->Invoke(6, plat::kInvokeMethod, {Variant::Str(u"False")}, &result), plat::S_OK);
    EXPECT_EQ(sample.Flag(), 0);

    ASSERT_EQ(m_disp->Invoke(8, plat::kInvokePropertyGet, {}, &result), plat::S_OK);
    EXPECT_EQ(result, Variant::Long(3));
    ASSERT_EQ(m_disp->Invoke(8, plat::kInvokePropertyPut, {Variant::Short(11)}, nullptr), plat::S_OK);
    ASSERT_EQ(m_disp->Invoke(8, plat::kInvokePropertyGet, {}, &result), plat::S_OK);
    EXPECT_EQ(result, Variant::Long(11));
    ASSERT_EQ(m_disp->Invoke(5, plat::kInvokeMethod, {}, nullptr), plat::S_OK);
    EXPECT_EQ(sample.GetCount(), 0);
}

TEST_F(Dispatch, FailuresComeBackAsResultCodes)
{
    const unsigned method = plat::kInvokeMethod;
    ExpectCalls(m_disp.Get(), {
        {"no such id", 42, method, {}, plat::DISP_E_MEMBERNOTFOUND, {}},
        {"a method put", 1, plat::kInvokePropertyPut, {Variant::Long(1)}, plat::DISP_E_MEMBERNOTFOUND, {}},
        {"a property called", 8, method, {}, plat::DISP_E_MEMBERNOTFOUND, {}},
        {"no flags", 1, 0, {Variant::Long(1), Variant::Long(1)}, plat::DISP_E_MEMBERNOTFOUND, {}},
        {"too few", 1, method, {Variant::Long(1)}, plat::DISP_E_BADPARAMCOUNT, {}},
        {"too many", 5, method, {Variant::Long(1)}, plat::DISP_E_BADPARAMCOUNT, {}},
        {"text where long", 1, method, {Variant::Long(1), Variant::Str(u"two")}, plat::DISP_E_TYPEMISMATCH, {}, 1},
        {"too large for short", 3, method, {Variant::Str(u"x"), Variant::Long(70000)}, plat::DISP_E_OVERFLOW, {}, 1},
        {"left out", 1, method, {Variant::Missing(), Variant::Long(1)}, plat::DISP_E_PARAMNOTOPTIONAL, {}, 0},
    });

    plat::ExceptionInfo info;
    Variant result = Variant::Long(1);
    EXPECT_EQ(m_disp->Invoke(7, plat::kInvokeMethod, {}, &result, &info), plat::DISP_E_EXCEPTION);
    EXPECT_EQ(info.description, u"the disk is full");
    EXPECT_EQ(info.source, u"_DSample");
    EXPECT_EQ(result, Variant::Long(1));
    EXPECT_EQ(m_disp->Invoke(7, plat::kInvokeMethod, {}, nullptr), plat::DISP_E_EXCEPTION);
}

TEST_F(Dispatch, TypeInformationListsTheTable)
{
    EXPECT_EQ(m_disp->GetTypeInfoCount(), 1u);
    const plat::InterfaceInfo* info = nullptr;
    ASSERT_EQ(m_disp->GetTypeInfo(&info), plat::S_OK);
    EXPECT_EQ(info->name, u"_DSample");
    EXPECT_EQ(info->doc, u"Dispatch interface for Sample");
    EXPECT_FALSE(info->source);
    std::vector<String> lines;
    for (const plat::MemberInfo& m : info->members) lines.push_back(plat::DescribeMember(m));
    const std::vector<String> expected = {
        u"1 Add(long a, long b) long",
        u"2 CountOf(string text) BOOL",
        u"3 Greet(string name, short times) string",
        u"4 Half(double value) double",
        u"5 Reset() void",
        u"6 SetFlag(BOOL bFlag) BOOL",
        u"7 Fail() void",
        u"propget 8 Count() long",
        u"propput 8 Count(long newCount) void",
    };
    EXPECT_EQ(lines, expected);

    // The interface's own id reaches the same dispatch interface.
    plat::Ref<plat::Dispatch> same;
    ASSERT_EQ(m_disp->QueryInterface(info->iid, same.Slot()), plat::S_OK);
    EXPECT_EQ(same.Get(), m_disp.Get());

    const plat::InterfaceInfo events{plat::Guid::New(), u"_DSampleEvents", u"Event interface for Sample", true, {}};
    const plat::ClassInfo cls{plat::Guid::New(), u"Sample", u"Sample Control", info, &events};
    EXPECT_EQ(cls.defaultInterface->members.size(), 9u);
    EXPECT_TRUE(cls.defaultSource->source);
    EXPECT_TRUE(cls.defaultSource->members.empty());
}

TEST(DispatchTable, ContradictionsAreRefused)
{
    const plat::Guid iid = plat::Guid::New();
    using Entries = std::vector<plat::DispatchTable::Entry>;
    struct Case {
        const char* what;
        std::function<Entries()> entries;
    };
    const Case cases[] = {
        {"id twice", [] { return Entries{plat::Method(1, u"Add", &Sample::Add, {u"a", u"b"}),
                                         plat::Method(1, u"Reset", &Sample::Reset)}; }},
        {"name twice, any case", [] { return Entries{plat::Method(1, u"Add", &Sample::Add, {u"a", u"b"}),
                                                     plat::Method(2, u"ADD", &Sample::Reset)}; }},
        {"property and method share an id",
         [] { return Entries{plat::PropertyGet(8, u"Count", &Sample::GetCount),
                             plat::Method(8, u"Count", &Sample::Reset)}; }},
        {"get twice", [] { return Entries{plat::PropertyGet(8, u"Count", &Sample::GetCount),
                                          plat::PropertyGet(8, u"Count", &Sample::GetCount)}; }},
        {"empty name", [] { return Entries{plat::Method(1, u"", &Sample::Reset)}; }},
        {"empty parameter name", [] { return Entries{plat::Method(1, u"Half", &Sample::Half, {u""})}; }},
        {"too few parameter names", [] { return Entries{plat::Method(1, u"Add", &Sample::Add, {u"a"})}; }},
        {"too many parameter names", [] { return Entries{plat::Method(1, u"Reset", &Sample::Reset, {u"a"})}; }},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(plat::DispatchTable(iid, u"_D", u"", c.entries()), std::logic_error) << c.what;
    }
    EXPECT_NO_THROW(plat::DispatchTable(iid, u"_D", u"", {}));
}

} // namespace
