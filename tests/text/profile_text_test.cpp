// The keys and values an INI file holds as one entry of a section.
#include <gtest/gtest.h>

#include <string>

#include "scriptdialog/profile_text.h"

using namespace torvane;

namespace {

TEST(ProfileEntries, KeysThatNameOneEntry) {
    for (const char* key : {"A", "LastFolder", "a b", "x[1]", "x;y", " A", "\x83\x5B", "\x81\x5B\x81\x40", "\x83"})
        EXPECT_TRUE(profile_key_fits(key)) << key;
    // Line breaks, "=", a section header, a comment, nothing at all; the
    // platform skips blanks before the first character.
    for (const char* key : {"", " ", "\t\x1A", "A\r\nB", "A\n", "\rA", "A=B", "=", "[Other]", "[", ";note", " [x",
                            "\t;x", "\v[x", "\x1A;", "\x83=", "\x83\r\n"})
        EXPECT_FALSE(profile_key_fits(key)) << key;
}

TEST(ProfileEntries, ValuesThatStayOnTheirLine) {
    for (const char* value : {"", "x", "a=b", "[Other]", ";", " x ", "\x83\x5C"})
        EXPECT_TRUE(profile_value_fits(value)) << value;
    for (const char* value : {"new\r\n[Other]", "x\r\nB=injected", "\n", "a\rb", "\x83\n"})
        EXPECT_FALSE(profile_value_fits(value)) << value;
}

TEST(ProfileEntries, TextsOfTheLimitOrLongerAreRefused) {
    const std::string below(kProfileTextLimit - 1, 'k'), at(kProfileTextLimit, 'k'), far(65540, 'k');
    EXPECT_EQ(32767u, kProfileTextLimit);
    EXPECT_TRUE(profile_key_fits(below));
    EXPECT_TRUE(profile_value_fits(below));
    for (const std::string* text : {&at, &far}) {
        EXPECT_FALSE(profile_key_fits(*text)) << text->size();
        EXPECT_FALSE(profile_value_fits(*text)) << text->size();
    }
}

}  // namespace
