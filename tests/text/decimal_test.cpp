// Exact decimal digits, powers of ten and products of doubles, checked against
// std::to_chars and against exact integer arithmetic written out here. On the
// 32-bit Windows build every check runs under both x87 precision settings
// (53 bits, as script hosts set it, and 64 bits, the MinGW default).
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "scriptdialog/decimal_text.h"
#include "scriptdialog/number_text.h"

#if defined(_WIN32) && defined(__i386__)
#include <float.h>
#endif

using namespace torvane;

namespace {

void under_each_precision(const std::function<void()>& check) {
#if defined(_WIN32) && defined(__i386__)
    const unsigned saved = _controlfp(0, 0);
    for (unsigned pc : {static_cast<unsigned>(_PC_53), static_cast<unsigned>(_PC_64)}) {
        _controlfp(pc, _MCW_PC);
        SCOPED_TRACE(pc == _PC_53 ? "53-bit precision" : "64-bit precision");
        check();
    }
    _controlfp(saved, _MCW_PC);
#else
    check();
#endif
}

std::uint64_t next_random(std::uint64_t& state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

double from_bits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// ---------------------------------------------------------------------------
// An exact unsigned integer, base 2^32, least significant word first.
using Exact = std::vector<std::uint32_t>;

void trim(Exact& x) {
    while (!x.empty() && x.back() == 0) x.pop_back();
}

Exact exact(std::uint64_t v) {
    Exact x{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
    trim(x);
    return x;
}

void multiply(Exact& x, std::uint32_t f) {
    std::uint64_t carry = 0;
    for (auto& w : x) {
        const std::uint64_t t = static_cast<std::uint64_t>(w) * f + carry;
        w = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    if (carry) x.push_back(static_cast<std::uint32_t>(carry));
}

Exact shifted(Exact x, int bits) {
    for (; bits >= 16; bits -= 16) multiply(x, 1u << 16);
    if (bits > 0) multiply(x, 1u << bits);
    return x;
}

Exact sum(const Exact& a, const Exact& b) {
    Exact r(std::max(a.size(), b.size()) + 1, 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const std::uint64_t t = carry + (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        r[i] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    trim(r);
    return r;
}

int compare(const Exact& a, const Exact& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

std::string decimal(Exact x) {
    std::string out;
    while (!x.empty()) {
        std::uint64_t rest = 0;
        for (std::size_t i = x.size(); i-- > 0;) {
            const std::uint64_t t = (rest << 32) | x[i];
            x[i] = static_cast<std::uint32_t>(t / 10);
            rest = t % 10;
        }
        trim(x);
        out.insert(out.begin(), static_cast<char>('0' + rest));
    }
    return out.empty() ? "0" : out;
}

// A positive finite double as m x 2^e.
struct Parts {
    std::uint64_t m;
    int e;
};

Parts parts(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (field == 0) return {fraction, -1074};
    return {fraction | (std::uint64_t{1} << 52), field - 1075};
}

// Whether p (positive, finite) is the double nearest to x x 2^s (ties to an
// even mantissa): x x 2^s lies between the midpoints to p's neighbours.
bool is_nearest(double p, const Exact& x, int s) {
    const Parts mid = parts(p);
    const Parts low = parts(std::nextafter(p, 0.0));
    const double up = std::nextafter(p, std::numeric_limits<double>::infinity());
    const Parts high = std::isinf(up) ? Parts{std::uint64_t{1} << 53, 971} : parts(up);
    const int g = std::min({s + 1, mid.e, low.e, high.e});
    // Everything times 2^(1 - g): the midpoints become sums of neighbours.
    const Exact value = shifted(x, s + 1 - g);
    const Exact p2 = shifted(exact(mid.m), mid.e - g);
    const Exact below = sum(shifted(exact(low.m), low.e - g), p2);
    const Exact above = sum(p2, shifted(exact(high.m), high.e - g));
    const bool even = (mid.m & 1) == 0;
    const int a = compare(below, value), b = compare(value, above);
    return (a < 0 || (a == 0 && even)) && (b < 0 || (b == 0 && even));
}

Exact power_of_ten_exactly(int n) {
    Exact x = exact(1);
    for (int i = 0; i < n; ++i) multiply(x, 10);
    return x;
}

// 17 significant digits of a whole number written in decimal, rounded half
// to even, with the dropped places as zeros.
std::string rounded_17(std::string digits) {
    if (digits.size() <= 17) return digits;
    const std::string tail = digits.substr(17);
    std::string head = digits.substr(0, 17);
    const bool above_half = tail[0] > '5' || (tail[0] == '5' && tail.find_first_not_of('0', 1) != std::string::npos);
    const bool half = tail[0] == '5' && tail.find_first_not_of('0', 1) == std::string::npos;
    if (above_half || (half && (head.back() - '0') % 2 == 1)) {
        std::size_t i = head.size();
        while (i > 0 && head[i - 1] == '9') head[--i] = '0';
        if (i == 0)
            head.insert(head.begin(), '1');
        else
            ++head[i - 1];
    }
    return head + std::string(tail.size(), '0');
}

// ---------------------------------------------------------------------------
// The digits as std::to_chars gives them (the conversion used before).
Decimal17 reference_digits(double v) {
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 16);
    Decimal17 d{};
    d.digits[0] = buf[0];
    for (int i = 1; i < 17; ++i) d.digits[i] = buf[i + 1];
    int exponent = 0;
    for (const char* p = buf + 20; p < r.ptr; ++p) exponent = exponent * 10 + (*p - '0');
    d.exponent = buf[19] == '-' ? -exponent : exponent;
    return d;
}

::testing::AssertionResult same_digits(double v) {
    const Decimal17 got = seventeen_digits(v), want = reference_digits(v);
    if (std::memcmp(got.digits, want.digits, 17) == 0 && got.exponent == want.exponent)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hexfloat << v << ": " << std::string(got.digits, 17) << "e"
                                         << got.exponent << " instead of " << std::string(want.digits, 17) << "e"
                                         << want.exponent;
}

std::vector<double> edge_values() {
    std::vector<double> v = {0.0,
                             -0.0,
                             1.0,
                             0.1,
                             0.5,
                             2.5,
                             1.005,
                             9.995,
                             123456789012345678.0,
                             std::numeric_limits<double>::denorm_min(),
                             DBL_MIN,
                             DBL_MAX,
                             std::nextafter(DBL_MIN, 0.0),
                             std::nextafter(DBL_MAX, 0.0),
                             9.9999999999999995e22,
                             5e-324,
                             2.2250738585072009e-308,
                             1.7976931348623157e308};
    for (int e = -1074; e <= 1023; ++e) {
        const double p = std::ldexp(1.0, e);
        v.push_back(p);
        v.push_back(std::nextafter(p, 0.0));
        v.push_back(std::nextafter(p, 2 * p));
    }
    for (int n = -323; n <= 308; ++n) {
        const double p = std::strtod(("1e" + std::to_string(n)).c_str(), nullptr);
        v.push_back(p);
        v.push_back(std::nextafter(p, 0.0));
        v.push_back(std::nextafter(p, DBL_MAX));
    }
    // Ties at the 18th digit: m / 4 for odd m just below 2^53 has 18
    // significant digits, the last a 5.
    for (std::uint64_t k = 1; k < 400; k += 2) v.push_back(static_cast<double>((std::uint64_t{1} << 53) - k) / 4);
    // Around the 16/17-digit boundaries of whole numbers.
    for (double x = 99999999999999980.0; x <= 100000000000000030.0; x = std::nextafter(x, DBL_MAX)) v.push_back(x);
    for (double x = 9999999999999990.0; x <= 10000000000000010.0; x = std::nextafter(x, DBL_MAX)) v.push_back(x);
    return v;
}

#ifdef _WIN32
constexpr int kRandomCount = 200000;
#else
constexpr int kRandomCount = 300000;
#endif

}  // namespace

TEST(SeventeenDigits, AgreeWithToCharsOnEdgesAndRandomDoubles) {
    under_each_precision([] {
        for (double v : edge_values()) ASSERT_TRUE(same_digits(v));
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (int i = 0; i < kRandomCount; ++i) {
            const std::uint64_t bits = next_random(state);
            double v = from_bits(bits);
            if (!std::isfinite(v)) continue;
            ASSERT_TRUE(same_digits(v));
            // Values as scripts write them: a few decimal places.
            v = static_cast<double>(bits % 1000000000u) / std::pow(10.0, static_cast<int>((bits >> 40) % 12));
            ASSERT_TRUE(same_digits(v));
        }
    });
}

TEST(PowerOfTen, EveryPowerIsTheNearestDouble) {
    under_each_precision([] {
        for (int n = 0; n <= 308; ++n) EXPECT_TRUE(is_nearest(power_of_ten(n), power_of_ten_exactly(n), 0)) << n;
    });
}

TEST(ExactProduct, IsTheNearestDoubleOfTheExactProduct) {
    under_each_precision([] {
        std::uint64_t state = 0x2545F4914F6CDD1Dull;
        for (int i = 0; i < 10000; ++i) {
            // Mantissas at random; exponents that reach the subnormal range
            // and the largest doubles.
            const std::uint64_t r = next_random(state);
            const double a = std::ldexp(static_cast<double>((r >> 11) | 1), static_cast<int>(r % 1100) - 600);
            const double b = std::ldexp(static_cast<double>((next_random(state) >> 11) | 1),
                                        static_cast<int>(next_random(state) % 1200) - 1170 + (i % 2) * 560);
            const double p = exact_product(a, b);
            const Parts x = parts(a), y = parts(b);
            Exact product = exact(x.m);
            multiply(product, static_cast<std::uint32_t>(y.m));
            product = sum(product, shifted(
                                       [&] {
                                           Exact hi = exact(x.m);
                                           multiply(hi, static_cast<std::uint32_t>(y.m >> 32));
                                           return hi;
                                       }(),
                                       32));
            if (std::isinf(p)) {
                // Only beyond the largest double plus half its last unit.
                EXPECT_TRUE(compare(shifted(product, x.e + y.e - 970 + 200),
                                    shifted(exact((std::uint64_t{1} << 54) - 1), 200)) >= 0);
                continue;
            }
            if (p == 0) {
                // At most half the smallest subnormal.
                EXPECT_TRUE(compare(shifted(product, x.e + y.e + 1075 + 2000), shifted(exact(1), 2000)) <= 0);
                continue;
            }
            ASSERT_TRUE(is_nearest(p, product, x.e + y.e)) << std::hexfloat << a << " * " << b << " = " << p;
        }
        EXPECT_EQ(-0.0, exact_product(-3.0, 0.0));
        EXPECT_TRUE(std::signbit(exact_product(-3.0, 0.0)));
        EXPECT_TRUE(std::isinf(exact_product(1e300, 1e10)));
        EXPECT_EQ(-std::numeric_limits<double>::denorm_min(), exact_product(-DBL_MIN, DBL_EPSILON));
    });
}

TEST(FloatText, NegativeCountsMultiplyByTheNearestPowerOfTen) {
    under_each_precision([] {
        // The digits of the double nearest to 10^n, worked out exactly.
        for (int n = 1; n <= 308; ++n) {
            const Parts p = parts(power_of_ten(n));
            const std::string exact_digits = decimal(p.e >= 0 ? shifted(exact(p.m), p.e) : exact(p.m >> -p.e));
            EXPECT_EQ(rounded_17(exact_digits), float_text(1.0, -n)) << n;
        }
        EXPECT_EQ("1" + std::string(57, '0'), float_text(1.0, -57));
        EXPECT_EQ("1" + std::string(308, '0'), float_text(1.0, -308));
        EXPECT_EQ("99999999999999995" + std::string(16, '0'), float_text(1.0, -33));
        EXPECT_EQ("-99999999999999992" + std::string(6, '0'), float_text(-1.0, -23));
        // 7.377 x 10^27 rounded once; through a 64-bit register and then to
        // a double it would be 7.3770000000000004e27.
        EXPECT_EQ("73769999999999993" + std::string(11, '0'), float_text(7.377, -27));
        EXPECT_EQ("54316000000000006" + std::string(12, '0'), float_text(5.4316, -28));
    });
}
