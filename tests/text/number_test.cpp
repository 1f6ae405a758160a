// Number texts and tolerant comparison.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scriptdialog/number_text.h"

using namespace torvane;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FloatCase {
    double value;
    int digits;
    const char* text;
};

const FloatCase kFloat[] = {
    {3.14159, 3, "3.142"},
    {3.14159, 1, "3.1"},
    {3.14159, 0, "3"},
    {2, 3, "2.000"},
    {2.5, 0, "3"},
    {-2.5, 0, "-3"},
    {0.5, 0, "1"},
    {0.125, 2, "0.13"},
    {1.005, 2, "1.00"},
    {-0.0001, 3, "-0.000"},
    {-0.0, 2, "-0.00"},
    {0.0, 0, "0"},
    {9.995, 2, "9.99"},  // 9.9949999999999992
    {9.9951, 2, "10.00"},
    {99.5, 0, "100"},
    {0.0009, 3, "0.001"},
    {0.0004, 3, "0.000"},
    {123456789012345678.0, 0, "123456789012345680"},
    {0.1, 20, "0.10000000000000001000"},
    {1e-5, 5, "0.00001"},
    {5e-6, 5, "0.00001"},
    {4e-6, 5, "0.00000"},
    {1e22, 2, "10000000000000000000000.00"},
    {1.2345, -3, "1235"},
    {-0.5, -1, "-5"},
    {1234.5678, -2, "123457"},
    {0.04, -1, "0"},
    {-0.04, -1, "-0"},
    {7, -2, "700"},
    {kInf, 3, "Infinity"},
    {-kInf, 0, "-Infinity"},
    {kNaN, 2, "NaN"},
    {kInf, -3, "Infinity"},
};

TEST(FloatText, RoundsOnSeventeenDigits) {
    for (std::size_t i = 0; i < std::size(kFloat); ++i)
        EXPECT_EQ(kFloat[i].text, float_text(kFloat[i].value, kFloat[i].digits)) << "case " << i;
}

TEST(FloatText, EveryCountFromMinus308To190) {
    for (int n = -308; n <= 190; ++n) {
        const std::string t = float_text(1.5, n);
        if (n > 0) {
            ASSERT_EQ(static_cast<std::size_t>(n) + 2, t.size()) << n;
            EXPECT_EQ("1.5", t.substr(0, 3)) << n;
            EXPECT_EQ(std::string(static_cast<std::size_t>(n) - 1, '0'), t.substr(3)) << n;
        } else if (n < 0) {
            // 1.5e|n| as a whole number; exact while the product is (|n| <= 22).
            ASSERT_EQ(static_cast<std::size_t>(-n) + 1, t.size()) << n;
            EXPECT_EQ(std::string::npos, t.find_first_not_of("0123456789")) << n;
            if (n >= -22) EXPECT_EQ("15" + std::string(static_cast<std::size_t>(-n) - 1, '0'), t) << n;
        } else {
            EXPECT_EQ("2", t);
        }
    }
    // 190 fraction digits of a tiny value: all zeros but the rounded last.
    const std::string tiny = float_text(6e-190, 190);
    EXPECT_EQ("0." + std::string(189, '0') + "6", tiny);
}

TEST(FloatText, LargestCountsHaveNoFixedLimit) {
    const std::string wide = float_text(-1.0, 32767);
    EXPECT_EQ(32767u + 3u, wide.size());
    EXPECT_EQ("-1.000", wide.substr(0, 6));
    // 10^32768 overflows; the shift is then made in decimal.
    const std::string shifted = float_text(1.25, -32768);
    EXPECT_EQ(32769u, shifted.size());
    EXPECT_EQ("125000", shifted.substr(0, 6));
    EXPECT_EQ("-3" + std::string(400, '0'), float_text(-3e-9, -409));
    EXPECT_EQ("0", float_text(0.0, -400));
    // A product that overflows a double is shifted in decimal as well.
    EXPECT_EQ("10000000000000001" + std::string(584, '0'), float_text(1e300, -300));  // 17 digits of 1e300
    EXPECT_EQ("0." + std::string(323, '0') + "5", float_text(4.9406564584124654e-324, 324));
}

struct IntCase {
    long value;
    int width;
    const char* text;
};

const IntCase kInt[] = {
    {7, 2, "07"},
    {7, 5, "00007"},
    {-7, 5, "-0007"},
    {7, -5, "    7"},
    {-7, -5, "   -7"},
    {12345, 3, "12345"},
    {5, 0, "5"},
    {-5, 3, "-05"},
    {-5, 1, "-5"},
    {0, 0, "0"},
    {0, 3, "000"},
    {-2147483647 - 1, 12, "-02147483648"},
    {2147483647, -11, " 2147483647"},
};

TEST(IntText, PadsWithZerosOrBlanks) {
    for (std::size_t i = 0; i < std::size(kInt); ++i)
        EXPECT_EQ(kInt[i].text, int_text(static_cast<std::int32_t>(kInt[i].value), kInt[i].width)) << "case " << i;
}

TEST(IntText, WidestWidths) {
    EXPECT_EQ(std::string(32766, '0') + "1", int_text(1, 32767));
    EXPECT_EQ(std::string(32767, ' ') + "1", int_text(1, -32768));
    EXPECT_EQ("-" + std::string(32765, '0') + "1", int_text(-1, 32767));
}

TEST(NumbersEqual, BoundsIncludedAndNegativeOrNaNFalse) {
    EXPECT_TRUE(numbers_equal(1.0005, 1, 0.001));
    EXPECT_FALSE(numbers_equal(1.0011, 1, 0.001));
    EXPECT_TRUE(numbers_equal(1.001, 1, 0.001));
    EXPECT_TRUE(numbers_equal(0.999, 1, 0.001));
    EXPECT_TRUE(numbers_equal(1, 1, 0));
    EXPECT_FALSE(numbers_equal(1, 1, -1));
    EXPECT_FALSE(numbers_equal(kInf, kInf, -1));
    EXPECT_TRUE(numbers_equal(kInf, kInf, 0));
    EXPECT_FALSE(numbers_equal(kNaN, 1, 1));
    EXPECT_FALSE(numbers_equal(1, kNaN, 1));
    EXPECT_FALSE(numbers_equal(1, 1, kNaN));
}

TEST(PointsEqual, DistanceAtMostTolerance) {
    EXPECT_TRUE(points_equal(0, 0, 3, 4, 5));
    EXPECT_FALSE(points_equal(0, 0, 3, 4, 4.99));
    EXPECT_TRUE(points_equal(1, 1, 1, 1, 0));
    EXPECT_FALSE(points_equal(1, 1, 1, 1, -1));
    EXPECT_TRUE(points_equal(kNaN, 0, 0, 0, 1));
    EXPECT_TRUE(points_equal(0, 0, 0, 0, kNaN));
    // Squares beyond the double range: the distance is still measured.
    EXPECT_TRUE(points_equal(0, 0, 3e200, 4e200, 5e200));
    EXPECT_FALSE(points_equal(0, 0, 3e200, 4e200, 4.9e200));
    EXPECT_FALSE(points_equal(0, 0, 3e-200, 4e-200, 4.9e-200));
    EXPECT_TRUE(points_equal(0, 0, 3e-200, 4e-200, 5e-200));
    EXPECT_FALSE(points_equal(0, 0, kInf, 0, 1e308));
}

}  // namespace
