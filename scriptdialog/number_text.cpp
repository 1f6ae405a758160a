#include "scriptdialog/number_text.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "scriptdialog/decimal_text.h"

namespace torvane {
namespace {

// The value rounded to a 64-bit double. On the 32-bit build, x87 registers
// keep intermediate results with a longer mantissa and a wider exponent
// range; the comparisons and products here are defined on doubles.
double as_double(double x) {
    volatile double stored = x;
    return stored;
}

// The decimal digits of |value| times 10^shift, rounded half up to a whole
// number on the 17 significant digits; no leading zeros ("0" for zero).
std::string scaled_digits(const Decimal17& d, long shift) {
    const long s = d.exponent - 16 + shift;  // value = digits x 10^s
    std::string out;
    if (s >= 0) {
        out.assign(d.digits, 17);
        out.append(static_cast<std::size_t>(s), '0');
    } else if (17 + s >= 0) {
        const long keep = 17 + s;
        out.assign(d.digits, static_cast<std::size_t>(keep));
        if (keep < 17 && d.digits[keep] >= '5') {
            long i = keep - 1;
            while (i >= 0 && out[static_cast<std::size_t>(i)] == '9') out[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                out.insert(out.begin(), '1');
            else
                ++out[static_cast<std::size_t>(i)];
        }
    }
    const std::size_t first = out.find_first_not_of('0');
    if (first == std::string::npos) return "0";
    return out.substr(first);
}

std::string not_finite_text(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

}  // namespace

std::string float_text(double value, int digits) {
    if (!std::isfinite(value)) return not_finite_text(value);
    const std::string sign = std::signbit(value) ? "-" : "";
    if (digits < 0) {
        // The product with the double nearest to 10^-digits, rounded once.
        // Beyond 10^308 the power itself overflows.
        const long shift = -static_cast<long>(digits);
        if (shift <= 308) {
            const double product = exact_product(value, power_of_ten(static_cast<int>(shift)));
            if (std::isfinite(product)) return float_text(product, 0);
        }
        return sign + scaled_digits(seventeen_digits(value), shift);
    }
    std::string whole = scaled_digits(seventeen_digits(value), digits);
    if (digits == 0) return sign + whole;
    const std::size_t n = static_cast<std::size_t>(digits);
    if (whole.size() <= n) whole.insert(whole.begin(), n + 1 - whole.size(), '0');
    whole.insert(whole.size() - n, 1, '.');
    return sign + whole;
}

std::string int_text(std::int32_t value, int width) {
    const bool negative = value < 0;
    const std::string digits = std::to_string(std::llabs(static_cast<long long>(value)));
    const std::size_t length = digits.size() + (negative ? 1 : 0);
    std::string out;
    if (width >= 0) {
        const std::size_t w = static_cast<std::size_t>(width);
        out.reserve(w > length ? w : length);
        if (negative) out += '-';
        if (w > length) out.append(w - length, '0');
    } else {
        const std::size_t w = static_cast<std::size_t>(-static_cast<long>(width));
        out.reserve(w > length ? w : length);
        if (w > length) out.append(w - length, ' ');
        if (negative) out += '-';
    }
    out += digits;
    return out;
}

bool numbers_equal(double a, double b, double tolerance) {
    if (std::isnan(a) || std::isnan(b) || std::isnan(tolerance) || tolerance < 0) return false;
    if (as_double(b - tolerance) > a) return false;
    if (as_double(b + tolerance) < a) return false;
    return true;
}

bool points_equal(double x1, double y1, double x2, double y2, double tolerance) {
    const double dx = as_double(x1 - x2);
    const double dy = as_double(y1 - y2);
    const double sx = as_double(std::pow(dx, 2.0));
    const double sy = as_double(std::pow(dy, 2.0));
    const double sum = as_double(sx + sy);
    double distance = as_double(std::sqrt(sum));
    // Squares that overflow or fall below the normal range would make the
    // distance infinite or zero; the distance itself is representable.
    const bool squares_lost =
        std::isinf(sum) ? std::isfinite(dx) && std::isfinite(dy) : (sum < DBL_MIN && (dx != 0 || dy != 0));
    if (squares_lost) distance = as_double(std::hypot(dx, dy));
    return !(distance > tolerance);
}

}  // namespace torvane
