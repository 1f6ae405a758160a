// Text-file code against its own inverse and a slow reference:
//  - no line from split_lines holds a line end, and the lines with their
//    line ends give the text back;
//  - entries written in every encoding and read back are the entries (with
//    a bijective stand-in code page for the conversions);
//  - is_valid_utf8 says yes exactly when decoding as UTF-8 changes nothing.
#include <cstdlib>
#include <string>
#include <vector>

#include "list/file_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// A single-byte stand-in code page: bytes above 0x7F are U+0180 to U+01FF.
void to_ansi(std::u16string_view wide, std::string& out) {
    for (char16_t c : wide)
        out.push_back(c < 0x80 ? static_cast<char>(c) : c >= 0x180 && c < 0x200 ? static_cast<char>(c - 0x100) : '?');
}
void to_wide(std::string_view ansi, std::u16string& out) {
    for (char c : ansi) {
        const unsigned b = static_cast<unsigned char>(c);
        out.push_back(static_cast<char16_t>(b < 0x80 ? b : b + 0x100));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::take_input(data, size);
    const std::string_view text = in.rest;

    std::vector<std::string> lines;
    split_lines(text, in.lead, [&](std::string_view l) {
        check(l.find('\r') == std::string_view::npos && l.find('\n') == std::string_view::npos);
        check(l.data() >= text.data() && l.data() + l.size() <= text.data() + text.size());
        lines.emplace_back(l);
    });
    // Each line starts where the previous one's line end stopped.
    std::size_t at = 0;
    for (const std::string& l : lines) {
        check(text.compare(at, l.size(), l) == 0);
        at += l.size();
        if (at < text.size()) at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
    }
    check(at == text.size());

    const AnsiToWide wide = to_wide;
    const WideToAnsi ansi = to_ansi;
    for (Encoding e : {Encoding::ansi, Encoding::utf8, Encoding::utf8_bom, Encoding::utf16le, Encoding::utf16be}) {
        TextEncoder encoder(e, (in.flags & 2) ? "\n" : "\r\n", wide);
        std::string bytes;
        encoder.start(bytes);
        for (const std::string& l : lines) encoder.add_line(l, bytes);
        std::vector<std::string> back;
        // The stand-in code page is single-byte: read back without lead bytes.
        split_lines(decode_to_ansi(bytes, e, ansi), LeadBytes::single_byte(),
                    [&](std::string_view l) { back.emplace_back(l); });
        check(back == lines);
        if (e != Encoding::ansi && e != Encoding::utf8) check(detect_encoding(bytes) == e);
    }

    const std::string_view body = text.substr(mark_length(text, Encoding::utf8));
    const WideToAnsi utf8 = [](std::u16string_view w, std::string& out) { append_utf8(w, out); };
    check(is_valid_utf8(text) == (decode_to_ansi(text, Encoding::utf8, utf8) == body));
    return 0;
}
