// Filter lists and default extensions of the file dialogs, under a
// double-byte and a single-byte code page.
#include <gtest/gtest.h>

#include "scriptdialog/file_filter_text.h"

using namespace torvane;

namespace {

const std::string kAllFiles = "All(*.*)|*.*||";

TEST(FileFilter, AllFilesEntryIsAlwaysLast) {
    EXPECT_EQ("All(*.*)|*.*||", append_all_files_filter("", kAllFiles));
    EXPECT_EQ("Text(*.txt)|*.txt|All(*.*)|*.*||", append_all_files_filter("Text(*.txt)|*.txt", kAllFiles));
}

struct ExtCase {
    const char* filter;
    const char* cp932;
    const char* cp1252;
};

// "\x83\x7C" is a double-byte character of code page 932 (U+30DD) whose
// trail byte is "|".
const ExtCase kExtCases[] = {
    {"Text(*.txt)|*.txt|All(*.*)|*.*||", "txt", "txt"},
    {"Logs|*.txt;*.log|All(*.*)|*.*||", "log", "log"},
    {"All(*.*)|*.*||", "*", "*"},
    {"Plain", "", ""},
    {"Only|", "", ""},
    {"Nodot|*|x|*.y||", "", ""},
    {"Open end|*.abc", "abc", "abc"},
    {"a|*.tar.gz|", "gz", "gz"},
    {"|*.x|", "x", "x"},
    // The trail byte "|" is no separator under 932; under 1252 it is.
    {"\x83\x7C|*.jp|", "jp", ""},
    {"X|*.\x83\x7C|", "\x83\x7C", "\x83"},
    // A lead byte pairs with the byte after it, as the platform's stepping
    // does, so a "." right after a lead byte is no extension dot.
    {"X|*.a\x83.b|", "a\x83.b", "b"},
};

TEST(FileFilter, DefaultExtensionIsTheFirstPatternsLastDot) {
    const LeadBytes cp932 = LeadBytes::cp932();
    const LeadBytes cp1252 = LeadBytes::single_byte();
    for (std::size_t i = 0; i < std::size(kExtCases); ++i) {
        const ExtCase& c = kExtCases[i];
        EXPECT_EQ(c.cp932, filter_default_extension(c.filter, cp932)) << "case " << i << " (932)";
        EXPECT_EQ(c.cp1252, filter_default_extension(c.filter, cp1252)) << "case " << i << " (1252)";
    }
}

TEST(FileFilter, PlatformListHasZerosForSeparatorsOnly) {
    const LeadBytes cp932 = LeadBytes::cp932();
    using namespace std::string_literals;
    EXPECT_EQ("A\0*.a\0B\0*.*\0\0"s, filter_for_platform("A|*.a|B|*.*||", cp932));
    EXPECT_EQ("\x83\x7C\0*.*\0\0"s, filter_for_platform("\x83\x7C|*.*||", cp932));
    EXPECT_EQ("\x83\0\0*.*\0\0"s, filter_for_platform("\x83||*.*||", LeadBytes::single_byte()));
    EXPECT_EQ(""s, filter_for_platform("", cp932));
    // A lead byte at the very end stands alone and is kept.
    EXPECT_EQ("A\0\x83"s, filter_for_platform("A|\x83", cp932));
}

TEST(FileFilter, LongFiltersKeepEveryEntry) {
    std::string filter;
    for (int i = 0; i < 5000; ++i) filter += "N" + std::to_string(i) + "|*.e" + std::to_string(i) + "|";
    filter = append_all_files_filter(filter, kAllFiles);
    EXPECT_EQ("e0", filter_default_extension(filter, LeadBytes::cp932()));
    const std::string list = filter_for_platform(filter, LeadBytes::cp932());
    EXPECT_EQ(filter.size(), list.size());
    EXPECT_EQ(std::string::npos, list.find('|'));
}

}  // namespace
