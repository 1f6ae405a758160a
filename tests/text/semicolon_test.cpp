// Semicolon lists under a double-byte and a single-byte code page.
#include <gtest/gtest.h>

#include "forms/form/semicolon_text.h"

using torvane::LeadBytes;
using torvane::split_semicolon_list;
using List = std::vector<std::string>;

namespace {

struct Case {
    const char* text;
    List cp932;
    List cp1252;
};

// "\x83\x3B" is a double-byte character of code page 932 whose trail byte is
// the semicolon; under 1252 it is two characters, the second a separator.
const Case kCases[] = {
    {"", {}, {}},
    {";", {}, {}},
    {";;;", {}, {}},
    {"a;b", {"a", "b"}, {"a", "b"}},
    {"a;;b", {"a", "b"}, {"a", "b"}},
    {";a", {"a"}, {"a"}},
    {"a;", {"a"}, {"a"}},
    {" ; ", {" ", " "}, {" ", " "}},
    {"\x83\x3B;x", {"\x83\x3B", "x"}, {"\x83", "x"}},
    {"x\x83\x3B", {"x\x83\x3B"}, {"x\x83"}},
    // A lead byte at the very end stands alone.
    {"a;\x83", {"a", "\x83"}, {"a", "\x83"}},
};

TEST(SemicolonList, SplitsAtCharacterBoundariesOnly) {
    const LeadBytes cp932 = LeadBytes::cp932();
    const LeadBytes cp1252 = LeadBytes::single_byte();
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        EXPECT_EQ(c.cp932, split_semicolon_list(c.text, cp932)) << "case " << i << " (932)";
        EXPECT_EQ(c.cp1252, split_semicolon_list(c.text, cp1252)) << "case " << i << " (1252)";
    }
}

TEST(SemicolonList, LongListKeepsEveryEntry) {
    std::string text;
    for (int i = 0; i < 10000; ++i) text += std::to_string(i) + ";";
    const List entries = split_semicolon_list(text, LeadBytes::cp932());
    ASSERT_EQ(10000u, entries.size());
    EXPECT_EQ("9999", entries.back());
}

}  // namespace
