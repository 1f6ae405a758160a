// 'file:' address paths written by browsers (UTF-8 escapes) and by older
// programs (code-page bytes), under 932 and 1252. The conversion of UTF-8
// stands in for the platform's with the few characters used here.
#include <gtest/gtest.h>

#include <map>

#include "scriptdialog/path_text.h"
#include "scriptdialog/url_text.h"

using namespace torvane;

namespace {

const LeadBytes kCp932 = LeadBytes::cp932();
const LeadBytes kCp1252 = LeadBytes::single_byte();

// Each known character by itself; a text of several is converted piece by
// piece. Anything unknown fails the test.
Utf8ToCodePage code_page(std::map<std::string, std::string> table) {
    return [table](std::string_view utf8) {
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            bool found = false;
            for (const auto& [from, to] : table) {
                if (utf8.substr(i, from.size()) == from) {
                    out += to;
                    i += from.size();
                    found = true;
                    break;
                }
            }
            if (!found) {
                ADD_FAILURE() << "unexpected UTF-8 at " << i;
                return std::string("<?>");
            }
        }
        return out;
    };
}

// U+8868 and U+30BD, both with the trail byte 0x5C in 932; U+00E9 only in
// 1252; ASCII as itself.
const Utf8ToCodePage kTo932 = code_page({{"\xE8\xA1\xA8", "\x95\x5C"},
                                         {"\xE3\x82\xBD", "\x83\x5C"},
                                         {"\xC3\xA9", "?"},
                                         {" ", " "},
                                         {"A", "A"},
                                         {"/", "/"}});
const Utf8ToCodePage kTo1252 = code_page({{"\xE8\xA1\xA8", "?"}, {"\xC3\xA9", "\xE9"}, {" ", " "}, {"A", "A"}});

TEST(Utf8, ValidAndInvalidSequences) {
    EXPECT_TRUE(is_valid_utf8(""));
    EXPECT_TRUE(is_valid_utf8("abc"));
    EXPECT_TRUE(is_valid_utf8("\xC3\xA9"));
    EXPECT_TRUE(is_valid_utf8("\xE8\xA1\xA8"));
    EXPECT_TRUE(is_valid_utf8("\xF0\x9F\x98\x80"));  // U+1F600
    EXPECT_TRUE(is_valid_utf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_TRUE(is_valid_utf8("\xED\x9F\xBF"));      // U+D7FF
    EXPECT_FALSE(is_valid_utf8("\x95\x5C"));         // a stray continuation byte
    EXPECT_FALSE(is_valid_utf8("\xE8\xA1"));         // cut short
    EXPECT_FALSE(
        is_valid_utf8("\xE8\xA1"
                      "A"));
    EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));  // overlong "/"
    EXPECT_FALSE(is_valid_utf8("\xE0\x80\xAF"));
    EXPECT_FALSE(is_valid_utf8("\xF0\x80\x80\xAF"));
    EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(is_valid_utf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(is_valid_utf8("\xF8\x88\x80\x80\x80"));
    EXPECT_FALSE(is_valid_utf8("\xFF"));
}

struct Case {
    const char* text;
    const char* want;
};

void expect_decoded(const Case* cases, std::size_t count, const LeadBytes& lead, const Utf8ToCodePage& convert) {
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(cases[i].want, decode_local_path(cases[i].text, lead, convert).value_or("<none>")) << "case " << i;
}

TEST(AddressPath, Utf8RunsAndByteEscapesUnder932) {
    const Case cases[] = {
        {"file:///C:/%E8%A1%A8.txt", "C:\\\x95\x5C.txt"},               // as browsers write it
        {"file:///C:/%e8%a1%a8.txt", "C:\\\x95\x5C.txt"},               // lower-case digits
        {"file:///C:/%95%5C.txt", "C:\\\x95\x5C.txt"},                  // code-page bytes, as before
        {"file:///C:/%E8%A1%A8/%95%5C", "C:\\\x95\x5C\\\x95\x5C"},      // one run of each
        {"file:///C:/%E8%A1%A8%20%E3%82%BD", "C:\\\x95\x5C \x83\x5C"},  // ASCII inside a run
        {"file:///C:/%41%E8%A1%A8", "C:\\A\x95\x5C"},
        {"file:///C:/%E8%A1%A8x%95%5C", "C:\\\x95\x5Cx\x95\x5C"},  // a plain character ends a run
        // Invalid as a whole, so every escape of the run is a byte, even
        // where a part would be valid UTF-8.
        {"file:///C:/%95%E8%A1%A8", "C:\\\x95\xE8\xA1\xA8"},
        {"file:///C:/%E8%A1%A8%95", "C:\\\xE8\xA1\xA8\x95"},
        {"file:///C:/%E8%A1", "C:\\\xE8\xA1"},           // cut short
        {"file:///C:/%C0%AF", "C:\\\xC0\xAF"},           // overlong
        {"file:///C:/%E8%A1%A", "C:\\\xE8\xA1\x0A"},     // a short escape ends the run
        {"file:///C:/%E8%A1%A8%2F", "C:\\\x95\x5C/"},    // decoded "/" stays
        {"file:///C:/%41%42", "C:\\AB"},                 // ASCII alone: bytes, the same text
        {"file:///C:/a%E8%A1%A8%00b", "C:\\a\x95\x5C"},  // a zero ends the result
        {"file:///C:/a%00%E8%A1%A8", "C:\\a"},
        {"C:/%E8%A1%A8", "C:\\\x95\x5C"},
        {"C:/\x95\x5C%E8%A1%A8", "C:\\\x95\x5C\x95\x5C"},  // a literal kanji before a run
    };
    expect_decoded(cases, std::size(cases), kCp932, kTo932);
}

TEST(AddressPath, Utf8RunsUnder1252) {
    const Case cases[] = {
        {"file:///C:/caf%C3%A9.txt", "C:\\caf\xE9.txt"},
        {"file:///C:/%E8%A1%A8.txt", "C:\\?.txt"},  // what the code page lacks: its default character
        {"file:///C:/%E9t%E9", "C:\\\xE9t\xE9"},    // 1252 bytes, invalid as UTF-8
        {"file:///C:/%95%5C", "C:\\\x95\x5C"},
    };
    expect_decoded(cases, std::size(cases), kCp1252, kTo1252);
}

TEST(AddressPath, LongRunsWhole) {
    std::string text = "file:///C:/", want = "C:\\";
    for (int i = 0; i < 300; ++i) {
        text += "%E8%A1%A8";
        want += "\x95\x5C";
    }
    EXPECT_EQ(want, decode_local_path(text, kCp932, kTo932).value());
}

}  // namespace
