#pragma once
// Fixed-point texts of numbers and tolerant comparison, for FloatS, IntS,
// IsEqual and IsPointEqual. Platform-free.
//
// Number texts use a full stop as the decimal point and no digit grouping.
// Decimal digits come from the value's 17 significant digits (correctly
// rounded); a text cut after a digit is rounded half up on those digits, so
// 2.5 gives "3" and 1.005 (1.0049999999999999) with 2 digits gives "1.00".
// Texts have no length limit: any 16-bit digit count or width works.
#include <cstdint>
#include <string>

namespace torvane {

// The value with `digits` fraction digits (no decimal point when 0). A
// negative count shifts the point |digits| places right and gives a whole
// number (the value times the double nearest to 10^-digits, the product
// rounded once to a double, whatever the x87 precision setting). A
// product too large for a double is shifted in decimal instead, so only an
// infinite or NaN value gives "Infinity", "-Infinity" or "NaN". A negative
// value keeps its sign even when its text rounds to zero.
std::string float_text(double value, int digits);

// The value in decimal. width >= 0: padded with "0" after the sign to at least
// width characters; width < 0: padded on the left with blanks to at least
// -width characters.
std::string int_text(std::int32_t value, int width);

// b - tolerance <= a <= b + tolerance; FALSE for a NaN operand or a negative
// tolerance.
bool numbers_equal(double a, double b, double tolerance);

// The distance of (x1, y1) and (x2, y2) is at most the tolerance. A NaN
// distance or tolerance compares as equal (the test is "not farther than").
bool points_equal(double x1, double y1, double x2, double y2, double tolerance);

}  // namespace torvane
