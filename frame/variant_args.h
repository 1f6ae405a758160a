#pragma once
// Reading the optional VARIANT parameters that members receive (code 12).
//
// A parameter is absent when its type is VT_ERROR (an omitted argument
// arrives as VT_ERROR / DISP_E_PARAMNOTFOUND) or VT_NULL. A present value is
// converted with VariantChangeType (flags 0, which reads through by-reference
// values); a failed conversion gives no value, and each member decides
// whether that means its default.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <optional>
#include <string>

namespace torvane {

// VariantChangeType (flags 0) from a value the caller keeps; the platform's
// signature lacks the const but never writes the source.
HRESULT change_type(VARIANT* out, const VARIANT& in, VARTYPE type) noexcept;

bool is_absent(const VARIANT& v) noexcept;

// nullopt when absent or not convertible.
std::optional<std::int16_t> opt_i2(const VARIANT& v) noexcept;
std::optional<std::int32_t> opt_i4(const VARIANT& v) noexcept;
std::optional<double> opt_r8(const VARIANT& v) noexcept;
// ANSI text of the value; throws std::bad_alloc only.
std::optional<std::string> opt_text(const VARIANT& v);

// Whether a present value failed to convert (as opposed to being absent).
enum class ArgState { absent, value, unconvertible };
ArgState text_arg(const VARIANT& v, std::string& out);
ArgState i2_arg(const VARIANT& v, std::int16_t& out) noexcept;
ArgState i4_arg(const VARIANT& v, std::int32_t& out) noexcept;

}  // namespace torvane
