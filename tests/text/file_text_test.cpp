// Text files of List entries: encoding names, detection, UTF-8 checks,
// decoding to ANSI, line splitting and encoding for writing. The conversions
// between UTF-16 and the code page are stand-ins here: a tiny code page that
// maps U+3042 (hiragana a) to 0x82 0xA0 as 932 does, and everything else
// beyond ASCII to '?'.
#include <gtest/gtest.h>

#include "list/file_text.h"

using namespace torvane;
using Lines = std::vector<std::string>;

namespace {

const LeadBytes kCp932 = LeadBytes::cp932();

void fake_to_ansi(std::u16string_view wide, std::string& out) {
    for (char16_t c : wide) {
        if (c < 0x80)
            out.push_back(static_cast<char>(c));
        else if (c == 0x3042)
            out.append("\x82\xA0");
        else
            out.push_back('?');
    }
}
void fake_to_wide(std::string_view ansi, std::u16string& out) {
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(ansi[i]);
        if (c == 0x82 && i + 1 < ansi.size() && static_cast<unsigned char>(ansi[i + 1]) == 0xA0) {
            out.push_back(0x3042);
            ++i;
        } else {
            out.push_back(c < 0x80 ? c : u'\x30FB');
        }
    }
}
const WideToAnsi kToAnsi = fake_to_ansi;
const AnsiToWide kToWide = fake_to_wide;

Lines lines_of(std::string_view text, const LeadBytes& lead = kCp932) {
    Lines out;
    split_lines(text, lead, [&](std::string_view l) { out.emplace_back(l); });
    return out;
}

std::string encode(Encoding e, const Lines& entries, std::string_view end = "\r\n") {
    TextEncoder enc(e, end, kToWide);
    std::string out;
    enc.start(out);
    for (const auto& entry : entries) enc.add_line(entry, out);
    return out;
}

}  // namespace

TEST(FileText, EncodingNames) {
    EXPECT_EQ(Encoding::utf8, encoding_named("UTF-8"));
    EXPECT_EQ(Encoding::utf8_bom, encoding_named("utf-8-BOM"));
    EXPECT_EQ(Encoding::utf16le, encoding_named("utf-16le"));
    EXPECT_EQ(Encoding::utf16be, encoding_named("Utf-16BE"));
    EXPECT_EQ(Encoding::ansi, encoding_named("ANSI"));
    for (const char* bad : {"", "utf8", "utf-16", "sjis", "utf-8 "})
        EXPECT_FALSE(encoding_named(bad).has_value()) << bad;
    EXPECT_FALSE(encoding_named(std::string_view("ansi\0", 5)).has_value());
}

TEST(FileText, DetectionByMarkThenValidUtf8) {
    EXPECT_EQ(Encoding::utf8_bom, detect_encoding("\xEF\xBB\xBFx"));
    EXPECT_EQ(Encoding::utf16le, detect_encoding("\xFF\xFEx\0"));
    EXPECT_EQ(Encoding::utf16be, detect_encoding("\xFE\xFF\0x"));
    EXPECT_EQ(Encoding::utf8, detect_encoding("a\xE3\x81\x82"));    // valid, non-ASCII
    EXPECT_EQ(Encoding::ansi, detect_encoding("plain ascii\r\n"));  // valid but ASCII only
    EXPECT_EQ(Encoding::ansi, detect_encoding(""));
    EXPECT_EQ(Encoding::ansi, detect_encoding("\x82\xA0\x82\xA2"));  // code page 932 text
    EXPECT_EQ(Encoding::ansi, detect_encoding("a\xE3\x81"));         // cut off at the end
    EXPECT_EQ(Encoding::ansi, detect_encoding("\xEF\xBB"));          // half a mark
}

TEST(FileText, ValidUtf8IsStrict) {
    EXPECT_TRUE(is_valid_utf8(""));
    EXPECT_TRUE(is_valid_utf8("0123456789abcdef\xC2\x80\xDF\xBF\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"));
    for (const char* bad : {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\xFF", "\xC2", "\xE3\x81", "\xC2\x41", "abcdefgh\xE3\x81"})
        EXPECT_FALSE(is_valid_utf8(bad)) << bad;
}

TEST(FileText, DecodingEachEncodingSkipsItsMark) {
    EXPECT_EQ("a\x82\xA0\r\nb", decode_to_ansi("\xEF\xBB\xBF"
                                               "a\xE3\x81\x82\r\nb",
                                               Encoding::utf8, kToAnsi));
    EXPECT_EQ("a\x82\xA0", decode_to_ansi("a\xE3\x81\x82", Encoding::utf8_bom, kToAnsi));
    EXPECT_EQ("a\x82\xA0\n", decode_to_ansi(std::string("\xFF\xFE"
                                                        "a\0\x42\x30\n\0",
                                                        8),
                                            Encoding::utf16le, kToAnsi));
    EXPECT_EQ("a\x82\xA0", decode_to_ansi(std::string("\xFE\xFF\0a\x30\x42", 6), Encoding::utf16be, kToAnsi));
    // A mark of another encoding is text; ANSI bytes are taken as they are.
    EXPECT_EQ("\xEF\xBB\xBFx", decode_to_ansi("\xEF\xBB\xBFx", Encoding::ansi, kToAnsi));
    // Malformed UTF-8, and a lone last byte of UTF-16, become U+FFFD ('?' here).
    EXPECT_EQ("?a??", decode_to_ansi("\xC0"
                                     "a\xE3\x81",
                                     Encoding::utf8, kToAnsi));
    EXPECT_EQ("a?", decode_to_ansi(std::string("a\0b", 3), Encoding::utf16le, kToAnsi));
    EXPECT_EQ(std::string("a\0b", 3), decode_to_ansi(std::string("a\0b", 3), Encoding::utf8, kToAnsi));
}

TEST(FileText, LongTextsAreConvertedInPiecesOfWholeCharacters) {
    // U+1F600 in UTF-8 as a pair of surrogates: no piece may end between them.
    std::string utf8, utf16;
    for (int i = 0; i < 40000; ++i) utf8 += i % 3 ? "x" : "\xF0\x9F\x98\x80";
    std::size_t pieces = 0, pairs = 0;
    const WideToAnsi check = [&](std::u16string_view w, std::string& out) {
        ++pieces;
        EXPECT_FALSE(w.back() >= 0xD800 && w.back() <= 0xDBFF);
        for (std::size_t i = 0; i + 1 < w.size(); ++i) pairs += w[i] >= 0xD800 && w[i] <= 0xDBFF;
        out.append(w.size(), 'w');
    };
    const std::string out = decode_to_ansi(utf8, Encoding::utf8, check);
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(13334u, pairs);
    EXPECT_EQ(40000u + 13334u, out.size());
}

TEST(FileText, LinesEndAtCrLfLfOrCrAndALastLineEndAddsNothing) {
    EXPECT_EQ((Lines{}), lines_of(""));
    EXPECT_EQ((Lines{""}), lines_of("\r\n"));
    EXPECT_EQ((Lines{"a"}), lines_of("a\r\n"));
    EXPECT_EQ((Lines{"a"}), lines_of("a"));
    EXPECT_EQ((Lines{"a", "b", "c", "", "d"}), lines_of("a\r\nb\nc\r\rd"));
    EXPECT_EQ((Lines{"a", "", "b"}), lines_of("a\n\rb"));  // LF then CR: two line ends
    EXPECT_EQ((Lines{"", ""}), lines_of("\n\n"));
    EXPECT_EQ((Lines{std::string("a\0b", 3)}), lines_of(std::string("a\0b\n", 4)));
}

TEST(FileText, LineEndsAreNeverTheSecondByteOfACharacter) {
    // "\x83\x5C" is one character; a lead byte before a line end stands alone.
    EXPECT_EQ((Lines{"\x83\x5C", "x"}), lines_of("\x83\x5C\nx"));
    EXPECT_EQ((Lines{"\x83", "x"}), lines_of("\x83\nx"));
    EXPECT_EQ((Lines{"\x83", "x"}), lines_of("\x83\r\nx"));
    EXPECT_EQ((Lines{"\x83"}), lines_of("\x83\r", LeadBytes::single_byte()));
}

TEST(FileText, EncodingWritesMarkEntriesAndLineEnds) {
    const Lines entries = {"a", "\x82\xA0", ""};
    EXPECT_EQ("a\r\n\x82\xA0\r\n\r\n", encode(Encoding::ansi, entries));
    EXPECT_EQ("a\n\xE3\x81\x82\n\n", encode(Encoding::utf8, entries, "\n"));
    EXPECT_EQ(
        "\xEF\xBB\xBF"
        "a\r\xE3\x81\x82\r\r",
        encode(Encoding::utf8_bom, entries, "\r"));
    EXPECT_EQ(std::string("\xFF\xFE"
                          "a\0\r\0\n\0\x42\x30\r\0\n\0\r\0\n\0",
                          18),
              encode(Encoding::utf16le, entries));
    EXPECT_EQ(std::string("\xFE\xFF\0a\0\n", 6), encode(Encoding::utf16be, {"a"}, "\n"));
    EXPECT_EQ("\xEF\xBB\xBF", encode(Encoding::utf8_bom, {}));
    EXPECT_EQ("", encode(Encoding::utf8, {}));
    // A broken character at an entry's end does not swallow the line end.
    EXPECT_EQ("\xE3\x83\xBB\r\nx\r\n", encode(Encoding::utf8, {"\x83", "x"}));
    // A lone surrogate is written as U+FFFD.
    std::string out;
    append_utf8(u"\xD800x\xDC00", out);
    EXPECT_EQ("\xEF\xBF\xBDx\xEF\xBF\xBD", out);
}

TEST(FileText, RoundTripThroughEveryEncoding) {
    const Lines entries = {"first", "\x82\xA0\x82\xA0 two", "", "last"};
    for (Encoding e : {Encoding::ansi, Encoding::utf8, Encoding::utf8_bom, Encoding::utf16le, Encoding::utf16be}) {
        const std::string bytes = encode(e, entries);
        const Encoding seen = detect_encoding(bytes);
        EXPECT_EQ(e, seen) << encoding_name(e);
        EXPECT_EQ(entries, lines_of(decode_to_ansi(bytes, seen, kToAnsi))) << encoding_name(e);
    }
}
