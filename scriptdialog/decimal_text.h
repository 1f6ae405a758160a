#pragma once
// Exact decimal digits of doubles and exact double products, for the number
// texts. Platform-free, and integer arithmetic throughout: the answers do not
// depend on the x87 precision setting of a 32-bit host (53 or 64 bits) nor on
// the C runtime's formatting.
#include <cstdint>

namespace torvane {

// |value| (finite) correctly rounded to 17 significant digits (ties to
// even), as the digits d0 d1 ... d16 and the power of ten of d0. Zero gives
// seventeen '0' and exponent 0.
struct Decimal17 {
    char digits[17];
    int exponent;
};
Decimal17 seventeen_digits(double value);

// The double nearest to 10^n, for 0 <= n <= 308.
double power_of_ten(int n);

// a times b rounded once to the nearest double (ties to even), as IEEE
// arithmetic defines the product: no double rounding through a longer
// register, subnormal and infinite results included. Both finite.
double exact_product(double a, double b);

}  // namespace torvane
