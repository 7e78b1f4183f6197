#include "platform/com/variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace plat {

namespace {

bool IsNumeric(VarType t) { return t == VarType::kI2 || t == VarType::kI4 || t == VarType::kR8 || t == VarType::kBool; }

double NumberOf(const Variant& v)
{
    switch (v.Type()) {
    case VarType::kI2: return v.AsShort();
    case VarType::kI4: return v.AsLong();
    case VarType::kR8: return v.AsDouble();
    case VarType::kBool: return v.AsBool() ? kVariantTrue : kVariantFalse;
    default: return 0.0;
    }
}

String NumberText(const Variant& v)
{
    switch (v.Type()) {
    case VarType::kI2: return Format(u"%d", v.AsShort());
    case VarType::kI4: return Format(u"%d", v.AsLong());
    case VarType::kBool: return v.AsBool() ? u"True" : u"False";
    default: break;
    }
    // The shortest text that reads back as the same double.
    char buffer[40];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, v.AsDouble());
        if (std::strtod(buffer, nullptr) == v.AsDouble()) break;
    }
    return AsciiToUtf16(buffer);
}

// A decimal number (optional sign, digits, optional fraction and exponent) filling the
// whole text but for spaces around it.
bool ParseNumber(StringView text, double* out)
{
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return false;
    std::string ascii;
    bool digits = false;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            digits = true;
        } else if (c != u'+' && c != u'-' && c != u'.' && c != u'e' && c != u'E') {
            return false;
        }
        ascii += static_cast<char>(c);
    }
    if (!digits) return false;
    char* end = nullptr;
    const double v = std::strtod(ascii.c_str(), &end);
    if (end != ascii.c_str() + ascii.size() || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

HRESULT ToInteger(double v, double low, double high, std::int64_t* out)
{
    const double rounded = std::nearbyint(v); // the default rounding: halves to even
    if (!(rounded >= low && rounded <= high)) return DISP_E_OVERFLOW;
    *out = static_cast<std::int64_t>(rounded);
    return S_OK;
}

} // namespace

const char* VarTypeName(VarType type)
{
    switch (type) {
    case VarType::kEmpty: return "void";
    case VarType::kI2: return "short";
    case VarType::kI4: return "long";
    case VarType::kR8: return "double";
    case VarType::kBStr: return "string";
    case VarType::kError: return "missing";
    case VarType::kBool: return "BOOL";
    }
    return "unknown";
}

Variant Variant::Double(double v)
{
    Variant r;
    r.m_type = VarType::kR8;
    r.m_double = v;
    return r;
}

Variant Variant::Str(StringView v)
{
    Variant r;
    r.m_type = VarType::kBStr;
    r.m_text = String(v);
    return r;
}

HRESULT ChangeType(const Variant& in, VarType to, Variant* out)
{
    if (in.Type() == to) {
        *out = in;
        return S_OK;
    }
    if (in.Type() == VarType::kError || to == VarType::kError || to == VarType::kEmpty) return DISP_E_TYPEMISMATCH;

    double number = 0.0;
    if (in.Type() == VarType::kBStr) {
        if (to == VarType::kBool && EqualsIgnoringAsciiCase(in.AsString(), u"true")) {
            *out = Variant::Bool(true);
            return S_OK;
        }
        if (to == VarType::kBool && EqualsIgnoringAsciiCase(in.AsString(), u"false")) {
            *out = Variant::Bool(false);
            return S_OK;
        }
        if (!ParseNumber(in.AsString(), &number)) return DISP_E_TYPEMISMATCH;
    } else if (IsNumeric(in.Type())) {
        number = NumberOf(in);
    } else if (in.Type() != VarType::kEmpty) {
        return DISP_E_BADVARTYPE;
    }

    switch (to) {
    case VarType::kBStr:
        *out = Variant::Str(in.IsEmpty() ? String() : NumberText(in));
        return S_OK;
    case VarType::kBool:
        *out = Variant::Bool(number != 0.0);
        return S_OK;
    case VarType::kR8:
        *out = Variant::Double(number);
        return S_OK;
    case VarType::kI2:
    case VarType::kI4: {
        const bool isShort = to == VarType::kI2;
        std::int64_t v = 0;
        const HRESULT hr = isShort ? ToInteger(number, std::numeric_limits<std::int16_t>::min(),
                                               std::numeric_limits<std::int16_t>::max(), &v)
                                   : ToInteger(number, std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::int32_t>::max(), &v);
        if (Failed(hr)) return hr;
        *out = isShort ? Variant::Short(static_cast<std::int16_t>(v)) : Variant::Long(static_cast<std::int32_t>(v));
        return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
    }
}

} // namespace plat
