// The dispatch interface: how a host calls an object's members by name without knowing
// its class, as the automation services of the platform offer it. A class lists its
// members once in a table (member id, name, method or property get/put, parameter names
// and types, result type, and the C++ function that does the work); from that table come
// name lookup (GetIDsOfNames), calls by member id with VARIANT-like arguments (Invoke), and
// the type information that describes the interface to a host.
//
// Types in the member functions: std::int32_t is "long", std::int16_t "short", double,
// AutoBool is BOOL, plat::String (or const String&) a string, void no result.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/base/strings.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace plat {

using DispId = std::int32_t;
constexpr DispId kDispIdUnknown = -1;

// How a caller means a member: flags of Invoke, with their automation values.
constexpr unsigned kInvokeMethod = 1;
constexpr unsigned kInvokePropertyGet = 2;
constexpr unsigned kInvokePropertyPut = 4;

enum class MemberKind { kMethod, kPropertyGet, kPropertyPut };

// An automation BOOL as a result or parameter: the member computes an int, and the caller
// sees TRUE (-1) for any non-zero value and FALSE for 0.
struct AutoBool {
    AutoBool(int v = 0) : value(v) {}
    int value;
};

struct ParamInfo {
    String name;
    VarType type;
};

struct MemberInfo {
    DispId id = kDispIdUnknown;
    String name;
    MemberKind kind = MemberKind::kMethod;
    std::vector<ParamInfo> params;
    VarType result = VarType::kEmpty; // kEmpty: nothing (void)
};
// One line for a member, e.g. "2 FileOpen(string filePath, long bReadOnly) BOOL"; property
// members start with "propget " or "propput ".
String DescribeMember(const MemberInfo& member);

// A dispatch interface as type information describes it. An event (source) interface is
// described the same way and marked as such; ours have no members.
struct InterfaceInfo {
    Guid iid;
    String name;
    String doc;
    bool source = false;
    std::vector<MemberInfo> members;
};

// A creatable class: its default interface and its default event interface.
struct ClassInfo {
    Guid clsid;
    String name;
    String doc;
    const InterfaceInfo* defaultInterface = nullptr;
    const InterfaceInfo* defaultSource = nullptr;
};

// What a member that failed with an exception left for the caller (DISP_E_EXCEPTION).
struct ExceptionInfo {
    String source;
    String description;
};

class Dispatch : public Unknown {
public:
    static const Guid& Iid();
    // How many type descriptions the object offers (0 or 1), and that description.
    virtual unsigned GetTypeInfoCount() = 0;
    virtual HRESULT GetTypeInfo(const InterfaceInfo** out) = 0;
    // names[0] is a member's name, the rest names of its parameters; ids receives the
    // member id and then each parameter's position. Names compare without regard to case.
    // A name not found gives kDispIdUnknown in its place and DISP_E_UNKNOWNNAME.
    virtual HRESULT GetIDsOfNames(const std::vector<String>& names, std::vector<DispId>* ids) = 0;
    // Calls a member with its arguments in order (first parameter first), each converted
    // to its parameter's type (ChangeType). Results: DISP_E_MEMBERNOTFOUND (no such id, or
    // not of the kind the flags ask for), DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTOPTIONAL
    // (an argument left out), DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW (an argument that does
    // not convert; *argError is its position), DISP_E_EXCEPTION (the member threw;
    // *exception says why). `result`, `exception` and `argError` may be null.
    virtual HRESULT Invoke(DispId id, unsigned flags, const std::vector<Variant>& args, Variant* result,
                           ExceptionInfo* exception = nullptr, unsigned* argError = nullptr) = 0;
};

// The type of a C++ parameter or result in the dispatch interface.
template <class X>
struct AutoType;
template <>
struct AutoType<void> {
    static constexpr VarType kType = VarType::kEmpty;
};
template <>
struct AutoType<AutoBool> {
    static constexpr VarType kType = VarType::kBool;
    static AutoBool From(const Variant& v) { return AutoBool(v.AsBool() ? 1 : 0); }
    static Variant To(AutoBool v) { return Variant::Bool(v.value != 0); }
};
template <>
struct AutoType<std::int32_t> {
    static constexpr VarType kType = VarType::kI4;
    static std::int32_t From(const Variant& v) { return v.AsLong(); }
    static Variant To(std::int32_t v) { return Variant::Long(v); }
};
template <>
struct AutoType<std::int16_t> {
    static constexpr VarType kType = VarType::kI2;
    static std::int16_t From(const Variant& v) { return v.AsShort(); }
    static Variant To(std::int16_t v) { return Variant::Short(v); }
};
template <>
struct AutoType<double> {
    static constexpr VarType kType = VarType::kR8;
    static double From(const Variant& v) { return v.AsDouble(); }
    static Variant To(double v) { return Variant::Double(v); }
};
template <>
struct AutoType<String> {
    static constexpr VarType kType = VarType::kBStr;
    static const String& From(const Variant& v) { return v.AsString(); }
    static Variant To(const String& v) { return Variant::Str(v); }
};

// The members of one dispatch interface. Built once per class; a table that contradicts
// itself (an id or name used twice, parameter names that do not match the function, a
// property of the wrong shape) is a programming error and throws std::logic_error.
class DispatchTable {
public:
    // Calls the member on `self` with arguments already converted to the parameter types.
    using Call = std::function<Variant(void* self, const std::vector<Variant>& args)>;
    struct Entry {
        MemberInfo info;
        Call call;
    };

    DispatchTable(const Guid& iid, StringView name, StringView doc, std::vector<Entry> entries);
    const InterfaceInfo& Info() const { return m_info; }

    HRESULT GetIDsOfNames(const std::vector<String>& names, std::vector<DispId>* ids) const;
    HRESULT Invoke(void* self, DispId id, unsigned flags, const std::vector<Variant>& args, Variant* result,
                   ExceptionInfo* exception, unsigned* argError) const;

private:
    const Entry* Find(DispId id, unsigned flags) const;
    InterfaceInfo m_info;
    std::vector<Entry> m_entries;
};

namespace dispatch_detail {

template <class X>
using Plain = std::remove_cv_t<std::remove_reference_t<X>>;

template <class T, class Self, class R, class... A, class Fn>
DispatchTable::Entry MakeEntry(DispId id, StringView name, MemberKind kind, std::initializer_list<StringView> paramNames,
                               Fn fn)
{
    DispatchTable::Entry entry;
    entry.info.id = id;
    entry.info.name = String(name);
    entry.info.kind = kind;
    entry.info.result = AutoType<Plain<R>>::kType;
    constexpr VarType kTypes[] = {AutoType<Plain<A>>::kType..., VarType::kEmpty};
    if (paramNames.size() != sizeof...(A)) {
        throw std::logic_error("dispatch member " + Utf16ToUtf8(name) + ": parameter names do not match its function");
    }
    size_t i = 0;
    for (StringView paramName : paramNames) {
        entry.info.params.push_back({String(paramName), kTypes[i]});
        ++i;
    }
    entry.call = [fn](void* self, const std::vector<Variant>& args) -> Variant {
        return [&]<size_t... I>(std::index_sequence<I...>) -> Variant {
            Self& object = *static_cast<Self*>(self);
            if constexpr (std::is_void_v<R>) {
                (object.*fn)(AutoType<Plain<A>>::From(args[I])...);
                return Variant();
            } else {
                return AutoType<Plain<R>>::To((object.*fn)(AutoType<Plain<A>>::From(args[I])...));
            }
        }(std::index_sequence_for<A...>{});
    };
    return entry;
}

} // namespace dispatch_detail

// Table entries for a member function of T.
template <class T, class R, class... A>
DispatchTable::Entry Method(DispId id, StringView name, R (T::*fn)(A...),
                            std::initializer_list<StringView> paramNames = {})
{
    return dispatch_detail::MakeEntry<T, T, R, A...>(id, name, MemberKind::kMethod, paramNames, fn);
}
template <class T, class R, class... A>
DispatchTable::Entry Method(DispId id, StringView name, R (T::*fn)(A...) const,
                            std::initializer_list<StringView> paramNames = {})
{
    return dispatch_detail::MakeEntry<T, const T, R, A...>(id, name, MemberKind::kMethod, paramNames, fn);
}
template <class T, class R>
DispatchTable::Entry PropertyGet(DispId id, StringView name, R (T::*fn)() const)
{
    return dispatch_detail::MakeEntry<T, const T, R>(id, name, MemberKind::kPropertyGet, {}, fn);
}
template <class T, class V>
DispatchTable::Entry PropertyPut(DispId id, StringView name, void (T::*fn)(V), StringView paramName = u"value")
{
    return dispatch_detail::MakeEntry<T, T, void, V>(id, name, MemberKind::kPropertyPut, {paramName}, fn);
}

// An object whose dispatch interface is T's table: T derives from DispatchObject<T> and
// has `static const DispatchTable& Members()`. QueryInterface answers the table's own
// interface id as well as the dispatch interface's.
template <class T, class... More>
class DispatchObject : public Object<Dispatch, More...> {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) override
    {
        if (out && iid == T::Members().Info().iid) {
            *out = static_cast<Dispatch*>(this);
            this->AddRef();
            return S_OK;
        }
        return Object<Dispatch, More...>::QueryInterface(iid, out);
    }
    unsigned GetTypeInfoCount() override { return 1; }
    HRESULT GetTypeInfo(const InterfaceInfo** out) override
    {
        if (!out) return E_POINTER;
        *out = &T::Members().Info();
        return S_OK;
    }
    HRESULT GetIDsOfNames(const std::vector<String>& names, std::vector<DispId>* ids) override
    {
        return T::Members().GetIDsOfNames(names, ids);
    }
    HRESULT Invoke(DispId id, unsigned flags, const std::vector<Variant>& args, Variant* result,
                   ExceptionInfo* exception = nullptr, unsigned* argError = nullptr) override
    {
        return T::Members().Invoke(static_cast<T*>(this), id, flags, args, result, exception, argError);
    }
};

} // namespace plat
