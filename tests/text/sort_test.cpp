// Sort's ordering: the leading number of a text, key comparison and the
// stable order, ascending and descending.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "list/sort_text.h"

using namespace torvane;
using Order = std::vector<std::uint32_t>;

TEST(SortNumbers, LeadingNumberOfATextAndWhatIsNone) {
    struct Case {
        const char* text;
        bool number;
        double value;
    } const cases[] = {
        {"12", true, 12},       {"  -3.5kg", true, -3.5},  {"\t+7", true, 7},
        {".5", true, 0.5},      {"5.", true, 5},           {"1e3x", true, 1000},
        {"2E-2", true, 0.02},   {"4e", true, 4},           {"4e+", true, 4},
        {"007", true, 7},       {"12abc", true, 12},       {"1,234", true, 1},
        {"", false, 0},         {"abc", false, 0},         {"-", false, 0},
        {".", false, 0},        {"+.e1", false, 0},        {"x12", false, 0},
        {"\x82\x50", false, 0}, {"1e999", true, INFINITY}, {"-1e999", true, -INFINITY},
        {"1e-999", true, 0},    {"0e999", true, 0},
    };
    for (const Case& c : cases) {
        double v = -12345;
        EXPECT_EQ(c.number, leading_number(c.text, v)) << c.text;
        if (c.number) EXPECT_EQ(c.value, v) << c.text;
    }
    double v = 0;
    ASSERT_TRUE(leading_number(std::string_view("3\0"
                                                "9",
                                                3),
                               v));
    EXPECT_EQ(3, v);
}

namespace {

Order text_order(const std::vector<std::string>& keys, bool descending) {
    SortKeys k(keys.size());
    for (const auto& key : keys) k.add_text(key);
    return k.stable_order(descending);
}

}  // namespace

TEST(SortKeys, KeysCompareAsBytesAndEqualKeysKeepTheirOrder) {
    // Keys longer than the 8-byte prefix, keys that are prefixes of others,
    // zero and high bytes.
    const std::vector<std::string> keys = {"b", "abcdefghZ", "abcdefghA", "",         std::string("a\0", 2),
                                           "a", "\xFF",      "b",         "abcdefgh", "abcdefghA"};
    EXPECT_EQ((Order{3, 5, 4, 8, 2, 9, 1, 0, 7, 6}), text_order(keys, false));
    EXPECT_EQ((Order{6, 0, 7, 1, 2, 9, 8, 4, 5, 3}), text_order(keys, true));
}

TEST(SortKeys, NumbersComeBeforeTextsAndDescendingIsTheExactReverse) {
    SortKeys k;
    k.add_number(10);         // 0
    k.add_non_number("b");    // 1
    k.add_number(-2.5);       // 2
    k.add_number(10);         // 3
    k.add_non_number("a");    // 4
    k.add_number(-0.0);       // 5
    k.add_number(0);          // 6
    k.add_number(-INFINITY);  // 7
    EXPECT_EQ((Order{7, 2, 5, 6, 0, 3, 4, 1}), k.stable_order(false));
    EXPECT_EQ((Order{1, 4, 0, 3, 5, 6, 2, 7}), k.stable_order(true));
}

TEST(SortKeys, StableOverManyEqualKeysAgainstAReference) {
    std::mt19937 rng(7);
    std::vector<std::string> keys;
    for (int i = 0; i < 5000; ++i) {
        std::string key(rng() % 12, 'a');
        for (char& c : key) c = static_cast<char>('a' + rng() % 3);
        keys.push_back(key);
    }
    Order expected(keys.size());
    for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](auto a, auto b) { return keys[a] < keys[b]; });
    EXPECT_EQ(expected, text_order(keys, false));
    Order desc(keys.size());
    for (std::uint32_t i = 0; i < desc.size(); ++i) desc[i] = i;
    std::stable_sort(desc.begin(), desc.end(), [&](auto a, auto b) { return keys[b] < keys[a]; });
    EXPECT_EQ(desc, text_order(keys, true));
}

TEST(SortKeys, EmptyAndSingle) {
    EXPECT_TRUE(SortKeys().stable_order(false).empty());
    SortKeys one;
    one.add_text("x");
    EXPECT_EQ((Order{0}), one.stable_order(true));
}
