// The values that travel through the dispatch interface: what a VARIANT of the automation
// services holds for the types our members use (empty, 16- and 32-bit integers, double,
// BOOL, strings standing in for BSTRs), and the conversions automation makes between them
// when an argument's type differs from the parameter's.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"
#include "platform/com/hresult.h"

namespace plat {

// Type tags, with the numbers automation gives them.
enum class VarType : std::uint16_t {
    kEmpty = 0,  // no value; as a result type: the member returns nothing (void)
    kI2 = 2,     // 16-bit signed ("short")
    kI4 = 3,     // 32-bit signed ("long")
    kR8 = 5,     // double
    kBStr = 8,   // string
    kError = 10, // an argument the caller left out
    kBool = 11,  // BOOL: true is -1, false 0
};
// The name of a type as member tables are written: "short", "long", "double", "string",
// "BOOL", "void" (and "empty"/"missing" for the rest).
const char* VarTypeName(VarType type);

constexpr std::int16_t kVariantTrue = -1;
constexpr std::int16_t kVariantFalse = 0;

class Variant {
public:
    Variant() = default; // empty
    static Variant Short(std::int16_t v) { return Variant(VarType::kI2, v); }
    static Variant Long(std::int32_t v) { return Variant(VarType::kI4, v); }
    static Variant Double(double v);
    static Variant Bool(bool v) { return Variant(VarType::kBool, v ? kVariantTrue : kVariantFalse); }
    static Variant Str(StringView v);
    // An argument left out by the caller.
    static Variant Missing() { return Variant(VarType::kError, DISP_E_PARAMNOTFOUND); }

    VarType Type() const { return m_type; }
    bool IsEmpty() const { return m_type == VarType::kEmpty; }
    // The value as stored; asking for a type the variant does not hold gives 0 or "".
    std::int16_t AsShort() const { return m_type == VarType::kI2 ? static_cast<std::int16_t>(m_int) : 0; }
    std::int32_t AsLong() const { return m_type == VarType::kI4 ? static_cast<std::int32_t>(m_int) : 0; }
    double AsDouble() const { return m_type == VarType::kR8 ? m_double : 0.0; }
    bool AsBool() const { return m_type == VarType::kBool && m_int != 0; }
    const String& AsString() const { return m_text; }

    friend bool operator==(const Variant& a, const Variant& b)
    {
        return a.m_type == b.m_type && a.m_int == b.m_int && a.m_double == b.m_double && a.m_text == b.m_text;
    }
    friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }

private:
    Variant(VarType type, std::int64_t v) : m_type(type), m_int(v) {}
    VarType m_type = VarType::kEmpty;
    std::int64_t m_int = 0;
    double m_double = 0.0;
    String m_text;
};

// Converts a value to another type as automation does for arguments:
// - between short, long, double and BOOL by value (a double is rounded to the nearest
//   integer, halves to even; any non-zero number is TRUE; TRUE is -1); a value out of the
//   target's range is DISP_E_OVERFLOW;
// - a number to a string in decimal ("True"/"False" for BOOL), and a string holding a
//   whole decimal number (spaces around it allowed; "True"/"False" in any case for BOOL)
//   to a number; any other string is DISP_E_TYPEMISMATCH;
// - empty becomes 0, 0.0, FALSE or the empty string;
// - a left-out argument converts to nothing (DISP_E_TYPEMISMATCH).
// *out is set only on success.
HRESULT ChangeType(const Variant& in, VarType to, Variant* out);

} // namespace plat
