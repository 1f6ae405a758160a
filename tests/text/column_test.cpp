// Column split, rebuilds and the entry search under a double-byte and a
// single-byte code page.
#include <gtest/gtest.h>

#include "list/column_text.h"

using namespace torvane;
using Fields = std::vector<std::string>;

namespace {

const LeadBytes kCp932 = LeadBytes::cp932();
const LeadBytes kCp1252 = LeadBytes::single_byte();

Fields split(std::string_view entry, std::string_view seps, bool skip, const LeadBytes& lead) {
    const SeparatorSet set(seps, lead);
    std::vector<std::string_view> views;
    split_columns(entry, ColumnRules{set, skip, lead}, views);
    return Fields(views.begin(), views.end());
}

struct SplitCase {
    std::string_view entry;
    std::string_view seps;
    bool skip;
    Fields cp932;
    Fields cp1252;
};

// "\x83\x5C" is a katakana character of code page 932 whose trail byte is the
// backslash; "\x81\x40" is the ideographic space, whose trail byte is "@".
const SplitCase kSplit[] = {
    {"", " \t", true, {""}, {""}},
    {"a  b", " \t", true, {"a", "b"}, {"a", "b"}},
    {"a  b", " \t", false, {"a", "", "b"}, {"a", "", "b"}},
    {"a \tb", " \t", true, {"a", "", "b"}, {"a", "", "b"}},
    {" a ,  b", ",", true, {" a ", "b"}, {" a ", "b"}},
    {",a,", ",", true, {"", "a", ""}, {"", "a", ""}},
    {"a,,b", ",", false, {"a", "", "b"}, {"a", "", "b"}},
    {"a,   ", ",", true, {"a", ""}, {"a", ""}},
    {"\x83\x5C", "\\", true, {"\x83\x5C"}, {"\x83", ""}},
    {"x\x83\x5C\\y", "\\", true, {"x\x83\x5C", "y"}, {"x\x83", "", "y"}},
    {"a\x81\x40"
     "b",
     "@",
     true,
     {"a\x81\x40"
      "b"},
     {"a\x81", "b"}},
    // A double-byte character in the set matches nothing, not even its bytes.
    {"a\x83\x5C"
     "b\\c",
     "\x83\x5C",
     true,
     {"a\x83\x5C"
      "b\\c"},
     {"a", "", "b", "c"}},
    // A lead byte at the very end stands alone and is no separator.
    {"a,\x83", ",\x83", true, {"a", "\x83"}, {"a", "", ""}},
    // The set ends at its first zero byte.
    {"a,b;c", std::string_view(",\0;", 3), true, {"a", "b;c"}, {"a", "b;c"}},
    {"abc", "", true, {"abc"}, {"abc"}},
    // Zero bytes inside an entry are ordinary characters.
    {std::string_view("a\0b c", 5), " ", true, {std::string("a\0b", 3), "c"}, {std::string("a\0b", 3), "c"}},
};

TEST(ColumnSplit, FollowsSeparatorsAtCharacterBoundaries) {
    for (std::size_t i = 0; i < std::size(kSplit); ++i) {
        const SplitCase& c = kSplit[i];
        EXPECT_EQ(c.cp932, split(c.entry, c.seps, c.skip, kCp932)) << "case " << i << " (932)";
        EXPECT_EQ(c.cp1252, split(c.entry, c.seps, c.skip, kCp1252)) << "case " << i << " (1252)";
    }
}

TEST(ColumnSplit, ColumnAtAndCountAgreeWithTheSplit) {
    const SeparatorSet set(" \t", kCp932);
    const ColumnRules rules{set, true, kCp932};
    const std::string_view entry = "a \tb  c\x83\x5C d";
    std::vector<std::string_view> fields;
    split_columns(entry, rules, fields);
    ASSERT_EQ(5u, fields.size());  // "a" "" "b" "c\x83\x5C" "d"
    EXPECT_EQ(5, count_columns(entry, rules));
    for (int col = -2; col < 6; ++col) {
        std::string_view f;
        const bool found = column_at(entry, rules, col, f);
        EXPECT_EQ(col >= 0 && col < 5, found) << col;
        if (found) EXPECT_EQ(fields[static_cast<std::size_t>(col)], f) << col;
    }
}

TEST(ColumnSplit, CountSaturatesAt32767) {
    const SeparatorSet set(",", kCp932);
    const ColumnRules rules{set, false, kCp932};
    EXPECT_EQ(32767, count_columns(std::string(40000, ','), rules));
    EXPECT_EQ(32767, count_columns(std::string(32766, ','), rules));
    EXPECT_EQ(32766, count_columns(std::string(32765, ','), rules));
}

TEST(SeparatorSet, JoinerIsTheFirstSingleByteCharacter) {
    EXPECT_EQ(" ", SeparatorSet(" \t", kCp932).joiner());
    EXPECT_EQ(",", SeparatorSet("\x83\x5C,", kCp932).joiner());
    EXPECT_EQ("\x83", SeparatorSet("\x83\x5C,", kCp1252).joiner());
    EXPECT_EQ("", SeparatorSet("\x83\x5C", kCp932).joiner());
    EXPECT_EQ("", SeparatorSet("", kCp932).joiner());
    EXPECT_TRUE(SeparatorSet("\x83\x5C", kCp932).empty());
}

struct ReplaceCase {
    std::string_view entry;
    std::string_view seps;
    bool skip;
    int column;
    std::string_view text;
    std::string_view expected;
};

const ReplaceCase kReplace[] = {
    {"a", " \t", true, 2, "x", "a  x"},
    {"a\tb", " \t", true, 0, "x", "x b"},
    {"a  b", " \t", true, 1, "x", "a x"},
    {"a  b", " \t", false, 1, "x", "a x b"},
    {"a\tb", " \t", true, -1, "x", "a b"},
    {"", " \t", true, 0, "x", "x"},
    {"", " \t", true, 1, "x", " x"},
    {"abc", "", true, 0, "x", "x"},
    {"abc", "", true, 2, "x", "abcx"},
    {"a,b", ",", true, 1, "c,d", "a,c,d"},
    {"\x83\x5C\\\x83\x5C", "\\", true, 1, "y", "\x83\x5C\\y"},
    {"p,q", "\x83\x5C,", true, 2, "r", "p,q,r"},
};

TEST(ColumnRebuild, ReplaceJoinsEveryFieldWithTheJoiner) {
    for (std::size_t i = 0; i < std::size(kReplace); ++i) {
        const ReplaceCase& c = kReplace[i];
        const SeparatorSet set(c.seps, kCp932);
        EXPECT_EQ(c.expected, replace_column(c.entry, ColumnRules{set, c.skip, kCp932}, c.column, c.text))
            << "case " << i;
    }
}

TEST(ColumnRebuild, ReplaceAtTheLastColumnNumberBuildsEveryField) {
    const SeparatorSet set(",", kCp932);
    const std::string out = replace_column("", ColumnRules{set, true, kCp932}, 32767, "z");
    EXPECT_EQ(32767u + 1u, out.size());
    EXPECT_EQ('z', out.back());
}

TEST(ColumnRebuild, RejoinDropsLeadingEmptyFieldsOnly) {
    const SeparatorSet set(" \t", kCp932);
    const ColumnRules skip{set, true, kCp932};
    const ColumnRules keep{set, false, kCp932};
    EXPECT_EQ("a,b", rejoin_columns(" a b", skip, ","));
    EXPECT_EQ("a,,b", rejoin_columns("a  b", keep, ","));
    EXPECT_EQ("a,b", rejoin_columns("a  b", skip, ","));
    EXPECT_EQ("a,,", rejoin_columns("\t\ta\t\t", keep, ","));
    EXPECT_EQ("ab", rejoin_columns("a b", skip, ""));
    EXPECT_EQ("a<->b", rejoin_columns("a b", skip, "<->"));
    EXPECT_EQ("", rejoin_columns("   ", keep, ","));
    EXPECT_EQ("\x83\x5C;x", rejoin_columns("\x83\x5C x", skip, ";"));
}

struct MatchCase {
    std::string_view subject;
    std::string_view text;
    MatchMode mode;
    bool cp932;
    bool cp1252;
};

const MatchCase kMatch[] = {
    {"", "", MatchMode::contains, false, true},
    {"", "", MatchMode::prefix, false, true},
    {"", "", MatchMode::exact, true, true},
    {"a", "", MatchMode::contains, true, true},
    {"a", "", MatchMode::prefix, true, true},
    {"a", "", MatchMode::exact, false, false},
    {"abc", "ab", MatchMode::prefix, true, true},
    {"cab", "ab", MatchMode::prefix, false, false},
    {"cab", "ab", MatchMode::contains, true, true},
    {"ab", "ab", MatchMode::exact, true, true},
    {"abc", "ab", MatchMode::exact, false, false},
    {"ab", "abc", MatchMode::prefix, false, false},
    {"AB", "ab", MatchMode::contains, false, false},
    // The trail byte 0x5C is no backslash of its own under 932.
    {"\x83\x5C", "\\", MatchMode::contains, false, true},
    {"\x83\x5C\\", "\\", MatchMode::contains, true, true},
    // A text starting inside a double-byte character does not match there.
    {"\x83\x41\x83\x41", "\x41\x83", MatchMode::contains, false, true},
    {"\x83\x41\x41\x83", "\x41\x83", MatchMode::contains, true, true},
    // A lone lead byte at the end of the text never matches half a character.
    {"\x83\x5C", "\x83", MatchMode::contains, false, true},
    {"\x83\x5C", "\x83", MatchMode::prefix, false, true},
    {"x\x83", "\x83", MatchMode::contains, true, true},
    // The first candidate is inside a character, a later one on a boundary.
    {"\x83\x41\x41", "\x41", MatchMode::contains, true, true},
    {"\x83\x41", "\x41", MatchMode::contains, false, true},
    {std::string_view("a\0b", 3), std::string_view("\0b", 2), MatchMode::contains, true, true},
    // The first byte settles these before any comparison: present only where
    // the text no longer fits, the text longer than the subject, a match at
    // the second candidate.
    {"abz", "zz", MatchMode::contains, false, false},
    {"zz", "zzz", MatchMode::contains, false, false},
    {"zz", "zzz", MatchMode::prefix, false, false},
    {"zz", "zzz", MatchMode::exact, false, false},
    {"zazb", "zb", MatchMode::contains, true, true},
    {"zb", "zb", MatchMode::exact, true, true},
};

TEST(TextMatcher, ModesAndBoundaries) {
    for (std::size_t i = 0; i < std::size(kMatch); ++i) {
        const MatchCase& c = kMatch[i];
        EXPECT_EQ(c.cp932, TextMatcher(c.text, c.mode, kCp932)(c.subject)) << "case " << i << " (932)";
        EXPECT_EQ(c.cp1252, TextMatcher(c.text, c.mode, kCp1252)(c.subject)) << "case " << i << " (1252)";
    }
}

TEST(TextMatcher, ModeNumbers) {
    EXPECT_EQ(MatchMode::contains, match_mode(0));
    EXPECT_EQ(MatchMode::prefix, match_mode(1));
    EXPECT_EQ(MatchMode::exact, match_mode(2));
    EXPECT_EQ(MatchMode::contains, match_mode(3));
    EXPECT_EQ(MatchMode::contains, match_mode(-1));
}

TEST(TextMatcher, LongSubjectOfDoubleByteCharacters) {
    // 0x83 0x83 repeated: every odd offset is inside a character.
    std::string subject;
    for (int i = 0; i < 200000; ++i) subject += "\x83\x83";
    EXPECT_FALSE(TextMatcher("\x83\x83\x83", MatchMode::contains, kCp932)(subject));
    EXPECT_TRUE(TextMatcher("\x83\x83\x83\x83", MatchMode::contains, kCp932)(subject));
    subject += "!";
    EXPECT_TRUE(TextMatcher("\x83\x83!", MatchMode::contains, kCp932)(subject));
}

}  // namespace
