#include "frame/variant_args.h"

#include "frame/raii.h"
#include "frame/text.h"

namespace torvane {
namespace {

// Converts a present value; false when absent or not convertible.
bool change(const VARIANT& in, VARTYPE type, Variant& out) noexcept {
    if (is_absent(in)) return false;
    return SUCCEEDED(change_type(out.ptr(), in, type));
}

// A present value converted to a number type, read by `read`.
template <typename T, typename Read> ArgState number_arg(const VARIANT& v, VARTYPE type, T& out, Read read) noexcept {
    if (is_absent(v)) return ArgState::absent;
    Variant c;
    if (FAILED(change_type(c.ptr(), v, type))) return ArgState::unconvertible;
    out = read(c.get());
    return ArgState::value;
}

}  // namespace

HRESULT change_type(VARIANT* out, const VARIANT& in, VARTYPE type) noexcept {
    return ::VariantChangeType(out, const_cast<VARIANT*>(&in), 0, type);
}

bool is_absent(const VARIANT& v) noexcept { return v.vt == VT_ERROR || v.vt == VT_NULL; }

std::optional<std::int16_t> opt_i2(const VARIANT& v) noexcept {
    Variant c;
    if (!change(v, VT_I2, c)) return std::nullopt;
    return c.get().iVal;
}

std::optional<std::int32_t> opt_i4(const VARIANT& v) noexcept {
    Variant c;
    if (!change(v, VT_I4, c)) return std::nullopt;
    return c.get().lVal;
}

std::optional<double> opt_r8(const VARIANT& v) noexcept {
    Variant c;
    if (!change(v, VT_R8, c)) return std::nullopt;
    return c.get().dblVal;
}

std::optional<std::string> opt_text(const VARIANT& v) {
    Variant c;
    if (!change(v, VT_BSTR, c)) return std::nullopt;
    return to_ansi(c.get().bstrVal);
}

ArgState text_arg(const VARIANT& v, std::string& out) {
    if (is_absent(v)) return ArgState::absent;
    Variant c;
    if (FAILED(change_type(c.ptr(), v, VT_BSTR))) return ArgState::unconvertible;
    out = to_ansi(c.get().bstrVal);
    return ArgState::value;
}

ArgState i2_arg(const VARIANT& v, std::int16_t& out) noexcept {
    return number_arg(v, VT_I2, out, [](const VARIANT& c) { return c.iVal; });
}

ArgState i4_arg(const VARIANT& v, std::int32_t& out) noexcept {
    return number_arg(v, VT_I4, out, [](const VARIANT& c) { return static_cast<std::int32_t>(c.lVal); });
}

}  // namespace torvane
