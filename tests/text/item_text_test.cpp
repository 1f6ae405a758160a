// Numbers in value texts, and the default extension and dialog filter of
// file-edit items.
#include <gtest/gtest.h>

#include <climits>

#include "forms/items/item_text.h"

using namespace torvane;

TEST(ReadDecimal, ReadsLikeTheValueTextsSay) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"2", 2},
        {"  -1", -1},
        {"\t+7x", 7},
        {"12;3", 12},
        {"- 1", 0},
        {"--1", 0},
        {"0009", 9},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
        {"\x82\x50", 0},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_EQ(cases[i].value, read_decimal(cases[i].text)) << "case " << i;
    EXPECT_EQ(5, read_decimal(std::string_view("5\0"
                                               "9",
                                               3)));
}

TEST(FileFilter, DefaultExtensionIsTheFirstPattern) {
    const auto cp932 = LeadBytes::cp932();
    const struct {
        const char* filter;
        const char* extension;
    } cases[] = {
        {"", ""},
        {"Text", ""},
        {"|*.txt|", ""},
        {"Text|*.txt|", "*.txt"},
        {"Text|*.txt", "|*.txt"},
        {"Text||x", "||x"},
        {"Text|*.txt|All|*.*||", "*.txt"},
        // The trail byte 0x7C of a double-byte character is no bar.
        {"\x83\x7C|*.c|", "*.c"},
        {"\x83\x7C", ""},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_EQ(cases[i].extension, default_extension(cases[i].filter, cp932)) << "case " << i;
    // Under a single-byte code page the same byte is a bar.
    EXPECT_EQ("|", default_extension("\x83|", LeadBytes::single_byte()));
}

TEST(FileFilter, DialogFilterEndsWithTheAllFilesEntry) {
    const auto cp932 = LeadBytes::cp932();
    const std::string all = "All(*.*)|*.*||";
    EXPECT_EQ(all, dialog_filter("", all, cp932));
    EXPECT_EQ("Text|*.txt|" + all, dialog_filter("Text|*.txt|", all, cp932));
    EXPECT_EQ("Text|*.txt|" + all, dialog_filter("Text|*.txt", all, cp932));
    // A double-byte character ending in 0x7C is not a closing bar.
    EXPECT_EQ("T|\x83\x7C|" + all, dialog_filter("T|\x83\x7C", all, cp932));
    EXPECT_EQ("T|\x83|" + all, dialog_filter("T|\x83|", all, LeadBytes::single_byte()));
}

TEST(FileFilter, DialogFilterDropsALeadByteLeftAtItsEnd) {
    // The closing bar would otherwise become the second byte of a
    // double-byte character, and the all-files entry would join the last
    // pattern.
    const auto cp932 = LeadBytes::cp932();
    const std::string all = "All(*.*)|*.*||";
    EXPECT_EQ("T|*.t|" + all, dialog_filter("T|*.t\x83", all, cp932));
    EXPECT_EQ("T|*.\x83\x40|" + all, dialog_filter("T|*.\x83\x40\x91", all, cp932));
    EXPECT_EQ(all, dialog_filter("\x91", all, cp932));
    EXPECT_EQ("T|\x83|" + all, dialog_filter("T|\x83", all, LeadBytes::single_byte()));
}
