// The public header quiln.h declares, apart from the platform, the types that cross between
// a host and the library. A host compiled against it must meet the platform's objects bit for
// bit: the same layouts, values and virtual slots. Here an object of the platform is called
// only through quiln.h's interfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include <quiln.h>

#include "control/control_window.h"
#include "platform/base/geometry.h"
#include "platform/com/dispatch.h"

namespace {

template <class A, class B>
constexpr bool kSameShape = sizeof(A) == sizeof(B) && alignof(A) == alignof(B);

static_assert(kSameShape<quiln::Guid, plat::Guid>);
static_assert(kSameShape<quiln::Variant, plat::Variant>);
static_assert(kSameShape<quiln::ParamInfo, plat::ParamInfo>);
static_assert(kSameShape<quiln::MemberInfo, plat::MemberInfo>);
static_assert(kSameShape<quiln::InterfaceInfo, plat::InterfaceInfo>);
static_assert(kSameShape<quiln::ExceptionInfo, plat::ExceptionInfo>);
static_assert(kSameShape<quiln::Rect, plat::Rect>);
static_assert(kSameShape<quiln::MemberKind, plat::MemberKind>);

// Every result code quiln.h names has the platform's value.
static_assert(QUILN_S_FALSE == plat::S_FALSE && QUILN_E_NOTIMPL == plat::E_NOTIMPL &&
              QUILN_E_NOINTERFACE == plat::E_NOINTERFACE && QUILN_E_POINTER == plat::E_POINTER &&
              QUILN_E_FAIL == plat::E_FAIL && QUILN_E_UNEXPECTED == plat::E_UNEXPECTED &&
              QUILN_E_INVALIDARG == plat::E_INVALIDARG && QUILN_CLASS_E_NOAGGREGATION == plat::CLASS_E_NOAGGREGATION &&
              QUILN_CLASS_E_CLASSNOTAVAILABLE == plat::CLASS_E_CLASSNOTAVAILABLE &&
              QUILN_SELFREG_E_TYPELIB == plat::SELFREG_E_TYPELIB && QUILN_SELFREG_E_CLASS == plat::SELFREG_E_CLASS &&
              QUILN_DISP_E_MEMBERNOTFOUND == plat::DISP_E_MEMBERNOTFOUND &&
              QUILN_DISP_E_PARAMNOTFOUND == plat::DISP_E_PARAMNOTFOUND &&
              QUILN_DISP_E_TYPEMISMATCH == plat::DISP_E_TYPEMISMATCH &&
              QUILN_DISP_E_UNKNOWNNAME == plat::DISP_E_UNKNOWNNAME && QUILN_DISP_E_EXCEPTION == plat::DISP_E_EXCEPTION &&
              QUILN_DISP_E_OVERFLOW == plat::DISP_E_OVERFLOW && QUILN_DISP_E_BADPARAMCOUNT == plat::DISP_E_BADPARAMCOUNT &&
              QUILN_DISP_E_PARAMNOTOPTIONAL == plat::DISP_E_PARAMNOTOPTIONAL);
static_assert(QUILN_INVOKE_METHOD == plat::kInvokeMethod && QUILN_INVOKE_PROPERTYGET == plat::kInvokePropertyGet &&
              QUILN_INVOKE_PROPERTYPUT == plat::kInvokePropertyPut);
static_assert(int(quiln::VarType::kEmpty) == int(plat::VarType::kEmpty) &&
              int(quiln::VarType::kI2) == int(plat::VarType::kI2) && int(quiln::VarType::kI4) == int(plat::VarType::kI4) &&
              int(quiln::VarType::kR8) == int(plat::VarType::kR8) &&
              int(quiln::VarType::kBStr) == int(plat::VarType::kBStr) &&
              int(quiln::VarType::kError) == int(plat::VarType::kError) &&
              int(quiln::VarType::kBool) == int(plat::VarType::kBool));

bool SameGuid(const QuilnGuid& a, const plat::Guid& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(PublicHeader, InterfaceIdsAreThePlatforms)
{
    EXPECT_TRUE(SameGuid(QUILN_IID_Unknown, plat::Unknown::Iid()));
    EXPECT_TRUE(SameGuid(QUILN_IID_ClassFactory, plat::ClassFactory::Iid()));
    EXPECT_TRUE(SameGuid(QUILN_IID_Dispatch, plat::Dispatch::Iid()));
    EXPECT_TRUE(SameGuid(QUILN_IID_ControlWindow, IControlWindow::Iid()));
}

// An object of the platform with a member of every type that travels, and one that throws.
class Probe : public plat::DispatchObject<Probe> {
public:
    std::int32_t Add(std::int32_t a, std::int32_t b) { return a + b; }
    std::int16_t Negate(std::int16_t v) { return static_cast<std::int16_t>(-v); }
    double Half(double v) { return v / 2; }
    plat::AutoBool IsEmpty(const plat::String& text) { return text.empty() ? 1 : 0; }
    plat::String Twice(const plat::String& text) { return text + text; }
    void Fail() { throw std::runtime_error("the disk is full"); }

    static const plat::DispatchTable& Members()
    {
        static const plat::DispatchTable table(
            plat::Guid::FromText(u"{5B0E4F6C-8D1A-4E27-B3C9-1F2A3B4C5D02}"), u"_DProbe", u"Probe",
            {
                plat::Method(1, u"Add", &Probe::Add, {u"a", u"b"}),
                plat::Method(2, u"Negate", &Probe::Negate, {u"value"}),
                plat::Method(3, u"Half", &Probe::Half, {u"value"}),
                plat::Method(4, u"IsEmpty", &Probe::IsEmpty, {u"text"}),
                plat::Method(5, u"Twice", &Probe::Twice, {u"text"}),
                plat::Method(6, u"Fail", &Probe::Fail),
            });
        return table;
    }
};

TEST(PublicHeader, APlatformObjectAnswersThroughTheHostsDeclarations)
{
    plat::Dispatch* made = new Probe;
    auto* object = reinterpret_cast<quiln::Unknown*>(static_cast<plat::Unknown*>(made));

    // Unknown's slots: QueryInterface, AddRef, Release.
    quiln::Dispatch* probe = nullptr;
    ASSERT_EQ(object->QueryInterface(QUILN_IID_Dispatch, reinterpret_cast<void**>(&probe)), QUILN_S_OK);
    ASSERT_NE(probe, nullptr);
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(QUILN_IID_ClassFactory, &none), QUILN_E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(probe->AddRef(), 3u);
    EXPECT_EQ(probe->Release(), 2u);

    // Dispatch's slots and the type information's layout.
    EXPECT_EQ(probe->GetTypeInfoCount(), 1u);
    const quiln::InterfaceInfo* info = nullptr;
    ASSERT_EQ(probe->GetTypeInfo(&info), QUILN_S_OK);
    EXPECT_EQ(info->name, u"_DProbe");
    EXPECT_FALSE(info->source);
    ASSERT_EQ(info->members.size(), 6u);
    EXPECT_EQ(info->members[4].name, u"Twice");
    EXPECT_EQ(info->members[4].id, 5);
    ASSERT_EQ(info->members[4].params.size(), 1u);
    EXPECT_EQ(info->members[4].params[0].name, u"text");
    EXPECT_EQ(info->members[4].params[0].type, quiln::VarType::kBStr);
    EXPECT_EQ(info->members[4].result, quiln::VarType::kBStr);
    EXPECT_EQ(info->members[1].result, quiln::VarType::kI2);
    std::vector<quiln::DispId> ids;
    ASSERT_EQ(probe->GetIDsOfNames({u"twice", u"TEXT"}, &ids), QUILN_S_OK);
    EXPECT_EQ(ids, (std::vector<quiln::DispId>{5, 0}));

    // Values of every type both ways through Invoke.
    struct Case {
        const char* what;
        quiln::DispId id;
        std::vector<quiln::Variant> args;
        quiln::VarType type;
        std::int64_t number;
        std::u16string text;
    } cases[] = {
        {"long", 1, {quiln::Variant::Long(40), quiln::Variant::Short(2)}, quiln::VarType::kI4, 42, u""},
        {"short", 2, {quiln::Variant::Short(7)}, quiln::VarType::kI2, -7, u""},
        {"double", 3, {quiln::Variant::Double(4.0)}, quiln::VarType::kR8, 2, u""},
        {"BOOL true", 4, {quiln::Variant::Str(u"")}, quiln::VarType::kBool, 1, u""},
        {"BOOL false", 4, {quiln::Variant::Str(u"x")}, quiln::VarType::kBool, 0, u""},
        // Long enough to be kept outside the string object itself.
        {"string", 5, {quiln::Variant::Str(u"文档 document text ")}, quiln::VarType::kBStr, 0,
         u"文档 document text 文档 document text "},
        {"number as string", 5, {quiln::Variant::Long(12)}, quiln::VarType::kBStr, 0, u"1212"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        quiln::Variant result;
        ASSERT_EQ(probe->Invoke(c.id, QUILN_INVOKE_METHOD, c.args, &result), QUILN_S_OK);
        EXPECT_EQ(result.Type(), c.type);
        switch (c.type) {
        case quiln::VarType::kI4: EXPECT_EQ(result.AsLong(), c.number); break;
        case quiln::VarType::kI2: EXPECT_EQ(result.AsShort(), c.number); break;
        case quiln::VarType::kR8: EXPECT_EQ(result.AsDouble(), double(c.number)); break;
        case quiln::VarType::kBool: EXPECT_EQ(result.AsBool(), c.number != 0); break;
        default: EXPECT_EQ(result.AsString(), c.text);
        }
    }

    // Refusals fill the host's out-parameters.
    quiln::ExceptionInfo exception;
    EXPECT_EQ(probe->Invoke(6, QUILN_INVOKE_METHOD, {}, nullptr, &exception), QUILN_DISP_E_EXCEPTION);
    EXPECT_EQ(exception.source, u"_DProbe");
    EXPECT_EQ(exception.description, u"the disk is full");
    unsigned argError = 99;
    EXPECT_EQ(probe->Invoke(1, QUILN_INVOKE_METHOD, {quiln::Variant::Long(1), quiln::Variant::Str(u"two")}, nullptr,
                            nullptr, &argError),
              QUILN_DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
    EXPECT_EQ(probe->Invoke(2, QUILN_INVOKE_METHOD, {quiln::Variant::Missing()}, nullptr), QUILN_DISP_E_PARAMNOTOPTIONAL);

    EXPECT_EQ(probe->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
}

} // namespace
