#include "scriptdialog/url_text.h"

namespace torvane {
namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The value of `digits` read as strtol(digits, nullptr, 16) reads it. The
// texts here are at most two characters, so a "0x" prefix can only read as 0
// either way and needs no case of its own.
long read_hex(std::string_view digits) {
    std::size_t i = 0;
    while (i < digits.size() && is_blank(digits[i])) ++i;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
    long value = 0;
    for (int d; i < digits.size() && (d = hex_digit(digits[i])) >= 0; ++i) value = value * 16 + d;
    return negative ? -value : value;
}

// The byte of a strict escape ('%' and two hexadecimal digits) at i, or -1.
int strict_escape(std::string_view text, std::size_t i) {
    if (i + 2 >= text.size() || text[i] != '%') return -1;
    const int high = hex_digit(text[i + 1]), low = hex_digit(text[i + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The run of strict escapes from i, up to a zero byte: its bytes and where
// it ends in `text`.
struct EscapeRun {
    std::string bytes;
    std::size_t end;
};
EscapeRun escape_run(std::string_view text, std::size_t i) {
    EscapeRun run{std::string(), i};
    for (int byte; (byte = strict_escape(text, run.end)) > 0; run.end += 3)
        run.bytes.push_back(static_cast<char>(byte));
    return run;
}

bool has_non_ascii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

}  // namespace

std::string decode_address_path(std::string_view text, const LeadBytes& lead, const Utf8ToCodePage& to_code_page) {
    std::string out;
    out.reserve(text.size());
    std::size_t bytes_until = 0;  // escapes before this offset belong to a run read as bytes
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = lead.char_len(text, i);
        const char c = text[i];
        if (len == 1 && c == '/') {
            out.push_back('\\');
            ++i;
        } else if (len == 1 && c == '%') {
            if (i >= bytes_until) {
                EscapeRun run = escape_run(text, i);
                if (has_non_ascii(run.bytes) && is_valid_utf8(run.bytes)) {
                    out.append(to_code_page(run.bytes));
                    i = run.end;
                    continue;
                }
                bytes_until = run.end;
            }
            // The two characters after the '%', or as many as remain.
            std::size_t end = i + 1;
            for (int n = 0; n < 2 && end < text.size(); ++n) end += lead.char_len(text, end);
            const char byte =
                static_cast<char>(static_cast<unsigned long>(read_hex(text.substr(i + 1, end - i - 1))) & 0xFF);
            if (byte == '\0') break;
            out.push_back(byte);
            i = end;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace torvane
