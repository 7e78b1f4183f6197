// Result codes of the component layer. They stand in for the HRESULT values that the
// system's component code returns and that a host prints, so every value here is the one
// a Windows host would see: a 32-bit signed number whose top bit marks a failure.
#pragma once
#include <cstdint>

namespace plat {

using HRESULT = std::int32_t;

constexpr HRESULT MakeResult(std::uint32_t bits) { return static_cast<HRESULT>(bits); }
constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// General results.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeResult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeResult(0x80004002u);
constexpr HRESULT E_POINTER = MakeResult(0x80004003u);
constexpr HRESULT E_FAIL = MakeResult(0x80004005u);
constexpr HRESULT E_UNEXPECTED = MakeResult(0x8000FFFFu);
constexpr HRESULT E_ACCESSDENIED = MakeResult(0x80070005u);
constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057u);

// Class factories and the registration of classes.
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeResult(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeResult(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeResult(0x80040154u);
constexpr HRESULT SELFREG_E_TYPELIB = MakeResult(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = MakeResult(0x80040201u);

// The dispatch interface.
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeResult(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeResult(0x80020003u);
constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeResult(0x80020004u);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeResult(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeResult(0x80020006u);
constexpr HRESULT DISP_E_NONAMEDARGS = MakeResult(0x80020007u);
constexpr HRESULT DISP_E_BADVARTYPE = MakeResult(0x80020008u);
constexpr HRESULT DISP_E_EXCEPTION = MakeResult(0x80020009u);
constexpr HRESULT DISP_E_OVERFLOW = MakeResult(0x8002000Au);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeResult(0x8002000Eu);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeResult(0x8002000Fu);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeResult(0x8002802Bu);

} // namespace plat
