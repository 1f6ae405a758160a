#include "scriptdialog/decimal_text.h"

#include <cstring>

namespace torvane {
namespace {

// The decimal literals are rounded to the nearest double by the compiler,
// which does it exactly; the text tests check every entry against exact
// arithmetic.
constexpr double kPowersOfTen[] = {
    1e0,   1e1,   1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,  1e14,  1e15,
    1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22,  1e23,  1e24,  1e25,  1e26,  1e27,  1e28,  1e29,  1e30,  1e31,
    1e32,  1e33,  1e34,  1e35,  1e36,  1e37,  1e38,  1e39,  1e40,  1e41,  1e42,  1e43,  1e44,  1e45,  1e46,  1e47,
    1e48,  1e49,  1e50,  1e51,  1e52,  1e53,  1e54,  1e55,  1e56,  1e57,  1e58,  1e59,  1e60,  1e61,  1e62,  1e63,
    1e64,  1e65,  1e66,  1e67,  1e68,  1e69,  1e70,  1e71,  1e72,  1e73,  1e74,  1e75,  1e76,  1e77,  1e78,  1e79,
    1e80,  1e81,  1e82,  1e83,  1e84,  1e85,  1e86,  1e87,  1e88,  1e89,  1e90,  1e91,  1e92,  1e93,  1e94,  1e95,
    1e96,  1e97,  1e98,  1e99,  1e100, 1e101, 1e102, 1e103, 1e104, 1e105, 1e106, 1e107, 1e108, 1e109, 1e110, 1e111,
    1e112, 1e113, 1e114, 1e115, 1e116, 1e117, 1e118, 1e119, 1e120, 1e121, 1e122, 1e123, 1e124, 1e125, 1e126, 1e127,
    1e128, 1e129, 1e130, 1e131, 1e132, 1e133, 1e134, 1e135, 1e136, 1e137, 1e138, 1e139, 1e140, 1e141, 1e142, 1e143,
    1e144, 1e145, 1e146, 1e147, 1e148, 1e149, 1e150, 1e151, 1e152, 1e153, 1e154, 1e155, 1e156, 1e157, 1e158, 1e159,
    1e160, 1e161, 1e162, 1e163, 1e164, 1e165, 1e166, 1e167, 1e168, 1e169, 1e170, 1e171, 1e172, 1e173, 1e174, 1e175,
    1e176, 1e177, 1e178, 1e179, 1e180, 1e181, 1e182, 1e183, 1e184, 1e185, 1e186, 1e187, 1e188, 1e189, 1e190, 1e191,
    1e192, 1e193, 1e194, 1e195, 1e196, 1e197, 1e198, 1e199, 1e200, 1e201, 1e202, 1e203, 1e204, 1e205, 1e206, 1e207,
    1e208, 1e209, 1e210, 1e211, 1e212, 1e213, 1e214, 1e215, 1e216, 1e217, 1e218, 1e219, 1e220, 1e221, 1e222, 1e223,
    1e224, 1e225, 1e226, 1e227, 1e228, 1e229, 1e230, 1e231, 1e232, 1e233, 1e234, 1e235, 1e236, 1e237, 1e238, 1e239,
    1e240, 1e241, 1e242, 1e243, 1e244, 1e245, 1e246, 1e247, 1e248, 1e249, 1e250, 1e251, 1e252, 1e253, 1e254, 1e255,
    1e256, 1e257, 1e258, 1e259, 1e260, 1e261, 1e262, 1e263, 1e264, 1e265, 1e266, 1e267, 1e268, 1e269, 1e270, 1e271,
    1e272, 1e273, 1e274, 1e275, 1e276, 1e277, 1e278, 1e279, 1e280, 1e281, 1e282, 1e283, 1e284, 1e285, 1e286, 1e287,
    1e288, 1e289, 1e290, 1e291, 1e292, 1e293, 1e294, 1e295, 1e296, 1e297, 1e298, 1e299, 1e300, 1e301, 1e302, 1e303,
    1e304, 1e305, 1e306, 1e307, 1e308,
};
static_assert(sizeof kPowersOfTen / sizeof kPowersOfTen[0] == 309, "10^0 .. 10^308");

// A finite double as m x 2^e, m < 2^53.
struct Binary {
    std::uint64_t m;
    int e;
    bool negative;
};

Binary split(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const bool negative = (bits >> 63) != 0;
    if (field == 0) return {fraction, -1074, negative};
    return {fraction | (std::uint64_t{1} << 52), field - 1075, negative};
}

int bit_length(std::uint64_t x) { return x ? 64 - __builtin_clzll(x) : 0; }

// floor(a / b) for b > 0.
int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// An unsigned integer of up to 40 32-bit words, least significant first.
// The largest value the conversion forms is below 2^1180 (a 53-bit
// mantissa times 5^340), 37 words.
class Big {
public:
    explicit Big(std::uint64_t x) {
        w_[0] = static_cast<std::uint32_t>(x);
        w_[1] = static_cast<std::uint32_t>(x >> 32);
        n_ = w_[1] ? 2 : (w_[0] ? 1 : 0);
    }

    void multiply(std::uint32_t f) {
        std::uint64_t carry = 0;
        for (int i = 0; i < n_; ++i) {
            const std::uint64_t t = static_cast<std::uint64_t>(w_[i]) * f + carry;
            w_[i] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) w_[n_++] = static_cast<std::uint32_t>(carry);
    }

    // The remainder.
    std::uint32_t divide(std::uint32_t d) {
        std::uint64_t rest = 0;
        for (int i = n_ - 1; i >= 0; --i) {
            const std::uint64_t t = (rest << 32) | w_[i];
            w_[i] = static_cast<std::uint32_t>(t / d);
            rest = t % d;
        }
        trim();
        return static_cast<std::uint32_t>(rest);
    }

    void shift_left(int bits) {
        if (n_ == 0) return;
        const int words = bits / 32, r = bits % 32;
        if (r) {
            std::uint32_t carry = 0;
            for (int i = 0; i < n_; ++i) {
                const std::uint32_t t = w_[i];
                w_[i] = (t << r) | carry;
                carry = t >> (32 - r);
            }
            if (carry) w_[n_++] = carry;
        }
        if (words) {
            for (int i = n_ - 1; i >= 0; --i) w_[i + words] = w_[i];
            for (int i = 0; i < words; ++i) w_[i] = 0;
            n_ += words;
        }
    }

    // Whether any bit shifted out was set.
    bool shift_right(int bits) {
        const int words = bits / 32, r = bits % 32;
        if (words >= n_) {
            const bool lost = n_ != 0;
            n_ = 0;
            return lost;
        }
        bool lost = false;
        for (int i = 0; i < words; ++i) lost = lost || w_[i] != 0;
        for (int i = words; i < n_; ++i) w_[i - words] = w_[i];
        n_ -= words;
        if (r) {
            lost = lost || (w_[0] & ((std::uint32_t{1} << r) - 1)) != 0;
            for (int i = 0; i < n_; ++i) w_[i] = (w_[i] >> r) | (i + 1 < n_ ? w_[i + 1] << (32 - r) : 0);
            trim();
        }
        return lost;
    }

    std::uint64_t low_64() const {
        return (n_ > 1 ? static_cast<std::uint64_t>(w_[1]) << 32 : 0) | (n_ > 0 ? w_[0] : 0);
    }

private:
    void trim() {
        while (n_ > 0 && w_[n_ - 1] == 0) --n_;
    }
    std::uint32_t w_[40];  // words from n_ on are undefined
    int n_ = 0;
};

constexpr std::uint32_t kPow5[14] = {1,     5,      25,      125,     625,      3125,      15625,
                                     78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};

// floor(2 x m x 2^e x 10^k), and whether that floor dropped anything.
std::uint64_t doubled_scaled(const Binary& b, int k, bool& inexact) {
    Big n(b.m);
    int shift = b.e + 1 + k;  // 10^k = 5^k x 2^k
    inexact = false;
    for (int f = k; f > 0; f -= 13) n.multiply(kPow5[f < 13 ? f : 13]);
    if (shift >= 0)
        n.shift_left(shift);
    else
        inexact = n.shift_right(-shift);
    for (int f = -k; f > 0; f -= 13)
        if (n.divide(kPow5[f < 13 ? f : 13]) != 0) inexact = true;
    return n.low_64();  // the caller's k leaves at most 61 bits
}

}  // namespace

Decimal17 seventeen_digits(double value) {
    constexpr std::uint64_t kLow = 10000000000000000ull;  // 10^16
    constexpr std::uint64_t kHigh = 10 * kLow;
    Decimal17 d;
    const Binary b = split(value);
    if (b.m == 0) {
        std::memset(d.digits, '0', sizeof d.digits);
        d.exponent = 0;
        return d;
    }
    // 2^top <= |value| < 2^(top+1): the decimal exponent is floor(top x
    // log10 2) or one more. The estimate below is that floor or, for some
    // negative top, one more; so it is off by one at most either way, and
    // 2 x |value| x 10^(16 - estimate) stays below 2 x 10^18 < 2^61.
    const int top = bit_length(b.m) - 1 + b.e;
    int exponent = floor_div(top * 78913, 1 << 18);
    bool inexact = false;
    std::uint64_t q2 = 0;  // twice the scaled value, floored
    for (;;) {
        q2 = doubled_scaled(b, 16 - exponent, inexact);
        if (q2 >= 2 * kLow) break;
        --exponent;  // fewer than 17 digits: one more
    }
    while (q2 >= 2 * kHigh) {
        if (q2 % 10 != 0) inexact = true;
        q2 /= 10;
        ++exponent;
    }
    std::uint64_t q = q2 >> 1;
    if ((q2 & 1) && (inexact || (q & 1))) ++q;
    if (q == kHigh) {
        q = kLow;
        ++exponent;
    }
    // In two parts of 32 bits (a 64-bit division is a library call on
    // 32-bit machines).
    std::uint32_t high = static_cast<std::uint32_t>(q / 100000000u), low = static_cast<std::uint32_t>(q % 100000000u);
    for (int i = 16; i >= 9; --i, low /= 10) d.digits[i] = static_cast<char>('0' + low % 10);
    for (int i = 8; i >= 0; --i, high /= 10) d.digits[i] = static_cast<char>('0' + high % 10);
    d.exponent = exponent;
    return d;
}

double power_of_ten(int n) { return kPowersOfTen[n]; }

double exact_product(double a, double b) {
    const Binary x = split(a), y = split(b);
    const std::uint64_t sign = static_cast<std::uint64_t>(x.negative != y.negative) << 63;
    // The product of the mantissas, hi x 2^64 + lo (at most 106 bits), from
    // 32-bit halves.
    const std::uint64_t x0 = x.m & 0xFFFFFFFFu, x1 = x.m >> 32, y0 = y.m & 0xFFFFFFFFu, y1 = y.m >> 32;
    const std::uint64_t p00 = x0 * y0, p01 = x0 * y1, p10 = x1 * y0, p11 = x1 * y1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    const std::uint64_t lo = (mid << 32) | (p00 & 0xFFFFFFFFu);
    const std::uint64_t hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    int e = x.e + y.e;
    // Keep 53 bits, or fewer where the result falls below the normal range
    // (its last bit is then 2^-1074); round the dropped ones to even.
    const int length = hi ? 64 + bit_length(hi) : bit_length(lo);
    int drop = length - 53;
    if (e + drop < -1074) drop = -1074 - e;
    std::uint64_t keep = 0;
    if (length == 0) {
        keep = 0;
    } else if (drop <= 0) {
        keep = lo << -drop;  // exact: at most 53 bits
    } else {
        if (drop > 127) drop = 127;  // all of it below half the last bit
        const auto bit = [&](int i) { return ((i >= 64 ? hi >> (i - 64) : lo >> i) & 1) != 0; };
        bool rest = false;
        for (int i = 0; i < drop - 1 && !rest; ++i) rest = bit(i);
        keep = drop >= 64 ? hi >> (drop - 64) : (lo >> drop) | (hi << (64 - drop));
        if (bit(drop - 1) && (rest || (keep & 1))) ++keep;
    }
    e += drop;
    // keep x 2^e, keep <= 2^53: put together the double's bits.
    constexpr std::uint64_t kHidden = std::uint64_t{1} << 52;
    if (keep == 2 * kHidden) {
        keep = kHidden;
        ++e;
    }
    std::uint64_t bits = 0;
    if (keep >= kHidden) {
        const int field = e + 1075;
        bits =
            field >= 2047 ? std::uint64_t{0x7FF} << 52 : (static_cast<std::uint64_t>(field) << 52) | (keep - kHidden);
    } else {
        bits = keep;  // below the normal range (e is -1074) or zero
    }
    bits |= sign;
    double result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

}  // namespace torvane
