// Number texts and comparisons. The input's bytes become doubles, 32-bit
// integers and digit counts (the 16-bit limits included) directly, so NaN,
// infinities, subnormals and the extremes all come up:
//  - float_text is "NaN"/"[-]Infinity" exactly for non-finite values, else
//    a sign, digits and (digits > 0) a point with exactly `digits` digits;
//  - read back, the text is the value to within half a unit of its last
//    place plus the 17-digit rounding of the value;
//  - seventeen_digits gives the digits of std::to_chars (scientific, 16);
//  - exact_product of finite operands is the host's (SSE) product;
//  - int_text reads back to the value, has the asked width, pads as asked;
//  - numbers_equal agrees with the plain interval test, points_equal with
//    hypot.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "scriptdialog/decimal_text.h"
#include "scriptdialog/number_text.h"

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

struct Reader {
    const std::uint8_t* p;
    std::size_t n;
    template <typename T> T take() {
        T v{};
        const std::size_t k = n < sizeof v ? n : sizeof v;
        std::memcpy(&v, p, k);
        p += k;
        n -= k;
        return v;
    }
};

bool all_digits(const std::string& s, std::size_t from, std::size_t to) {
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

void check_float(double value, int digits) {
    const std::string t = float_text(value, digits);
    if (std::isnan(value)) return check(t == "NaN");
    if (std::isinf(value)) return check(t == (value < 0 ? "-Infinity" : "Infinity"));
    std::size_t i = 0;
    check(!t.empty());
    if (t[0] == '-') {
        check(std::signbit(value));
        i = 1;
    } else {
        check(!std::signbit(value));
    }
    const std::size_t point = t.find('.');
    if (digits > 0) {
        check(point != std::string::npos && t.size() - point - 1 == static_cast<std::size_t>(digits));
        check(all_digits(t, i, point) && all_digits(t, point + 1, t.size()));
    } else {
        check(point == std::string::npos && all_digits(t, i, t.size()));
    }
    // No leading zeros before the units digit.
    check(t[i] != '0' || i + 1 == t.size() || t[i + 1] == '.');
    // Read back: within half a unit of the last place, plus the error of
    // the 17 significant digits. A negative count gives the value times
    // 10^-digits as a whole number.
    if (t.size() < 400) {
        const double back = std::strtod(t.c_str(), nullptr);
        const double expect = digits < 0 ? value * std::pow(10.0, -digits) : value;
        const double unit = digits < 0 ? 1.0 : std::pow(10.0, -digits);
        const double slack = std::fabs(expect) * 1e-15 + unit * 0.5000001;
        if (std::isfinite(back) && std::isfinite(expect)) check(std::fabs(back - expect) <= slack);
    }
}

void check_digits(double value) {
    if (!std::isfinite(value)) return;
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 16);
    const Decimal17 d = seventeen_digits(value);
    char mine[48];
    mine[0] = d.digits[0];
    mine[1] = '.';
    std::memcpy(mine + 2, d.digits + 1, 16);
    const int e = d.exponent < 0 ? -d.exponent : d.exponent;
    const int n = std::snprintf(mine + 18, sizeof mine - 18, "e%c%02d", d.exponent < 0 ? '-' : '+', e);
    check(std::string(buf, r.ptr) == std::string(mine, 18 + static_cast<std::size_t>(n)));
}

void check_product(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return;
    const double want = a * b, got = exact_product(a, b);
    check(std::memcmp(&want, &got, sizeof want) == 0);
}

void check_int(std::int32_t value, int width) {
    const std::string t = int_text(value, width);
    const std::string plain = std::to_string(static_cast<long long>(value));
    const std::size_t w =
        width >= 0 ? static_cast<std::size_t>(width) : static_cast<std::size_t>(-static_cast<long>(width));
    check(t.size() == (w > plain.size() ? w : plain.size()));
    if (width >= 0) {
        check(std::strtoll(t.c_str(), nullptr, 10) == value);
        const std::size_t pad = t.size() - plain.size();
        const std::size_t at = value < 0 ? 1 : 0;
        check(t.compare(at, pad, std::string(pad, '0')) == 0);
    } else {
        check(t.compare(t.size() - plain.size(), plain.size(), plain) == 0);
        check(t.find_first_not_of(' ') == t.size() - plain.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r{data, size};
    const std::uint8_t pick = r.take<std::uint8_t>();
    const double a = r.take<double>();
    const double b = r.take<double>();
    const double c = r.take<double>();
    const double d = r.take<double>();
    const double tol = r.take<double>();
    const std::int32_t i32 = r.take<std::int32_t>();
    const std::int16_t i16 = r.take<std::int16_t>();

    // Digit counts: any 16-bit value is allowed, but long texts are slow;
    // the extremes are tried with a small value only.
    int digits = i16;
    if (pick & 1) digits = digits % 400;
    for (double v : {a, b, c, d, tol}) check_digits(v);
    check_product(a, b);
    check_product(c, d);
    check_float(a, digits);
    check_float(b, static_cast<int>(pick % 40) - 20);

    static const std::int32_t limits[] = {0,
                                          1,
                                          -1,
                                          32767,
                                          -32768,
                                          32768,
                                          -32769,
                                          std::numeric_limits<std::int32_t>::max(),
                                          std::numeric_limits<std::int32_t>::min()};
    const int width = (pick & 2) ? i16 % 300 : static_cast<int>(pick % 24) - 12;
    check_int(i32, width);
    check_int(limits[pick % 9], width);

    const bool eq = numbers_equal(a, b, tol);
    if (std::isnan(a) || std::isnan(b) || std::isnan(tol) || tol < 0)
        check(!eq);
    else
        // Bounds that come out NaN (infinite b and tolerance) reject
        // nothing.
        check(eq == (!(b - tol > a) && !(a > b + tol)));

    const bool pt = points_equal(a, b, c, d, tol);
    // The distance as sqrt(dx^2 + dy^2) defines it: NaN when either
    // difference is NaN (hypot would answer infinity for NaN and infinity).
    const double dx = a - c, dy = b - d;
    const double distance = std::isnan(dx) || std::isnan(dy) ? dx + dy : std::hypot(dx, dy);
    if (!std::isnan(distance) && !std::isnan(tol) && std::fabs(distance - tol) > std::fabs(tol) * 1e-12)
        check(pt == (distance <= tol));
    if (std::isnan(distance) || std::isnan(tol)) check(pt);
    return 0;
}
