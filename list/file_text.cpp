#include "list/file_text.h"

namespace torvane {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
// UTF-16 units handed to a conversion at a time.
constexpr std::size_t kPiece = 32768;

bool same_name(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != b[i]) return false;
    }
    return true;
}

unsigned byte_at(std::string_view s, std::size_t i) noexcept { return static_cast<unsigned char>(s[i]); }

void append_code_point(char32_t cp, std::u16string& out) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

bool is_high_surrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

// Hands the piece to the conversion, all but a high surrogate at its end
// (whose pair may follow).
void flush_piece(std::u16string& piece, const WideToAnsi& to_ansi, std::string& out, bool last) {
    if (piece.empty()) return;
    std::size_t n = piece.size();
    if (!last && is_high_surrogate(piece[n - 1])) --n;
    to_ansi(std::u16string_view(piece.data(), n), out);
    piece.erase(0, n);
}

}  // namespace

std::optional<Encoding> encoding_named(std::string_view name) {
    for (Encoding e : {Encoding::ansi, Encoding::utf8, Encoding::utf8_bom, Encoding::utf16le, Encoding::utf16be})
        if (same_name(name, encoding_name(e))) return e;
    return std::nullopt;
}

std::string_view encoding_name(Encoding e) {
    switch (e) {
        case Encoding::ansi: return "ansi";
        case Encoding::utf8: return "utf-8";
        case Encoding::utf8_bom: return "utf-8-bom";
        case Encoding::utf16le: return "utf-16le";
        case Encoding::utf16be: return "utf-16be";
    }
    return "ansi";
}

std::size_t mark_length(std::string_view bytes, Encoding e) {
    switch (e) {
        case Encoding::utf8:
        case Encoding::utf8_bom: return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        case Encoding::utf16le: return bytes.substr(0, 2) == "\xFF\xFE" ? 2 : 0;
        case Encoding::utf16be: return bytes.substr(0, 2) == "\xFE\xFF" ? 2 : 0;
        case Encoding::ansi: return 0;
    }
    return 0;
}

Encoding detect_encoding(std::string_view bytes) {
    if (mark_length(bytes, Encoding::utf8)) return Encoding::utf8_bom;
    if (mark_length(bytes, Encoding::utf16le)) return Encoding::utf16le;
    if (mark_length(bytes, Encoding::utf16be)) return Encoding::utf16be;
    bool high = false;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            high = true;
            break;
        }
    return high && is_valid_utf8(bytes) ? Encoding::utf8 : Encoding::ansi;
}

std::string decode_to_ansi(std::string_view bytes, Encoding e, const WideToAnsi& to_ansi) {
    bytes.remove_prefix(mark_length(bytes, e));
    if (e == Encoding::ansi) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    std::u16string piece;
    piece.reserve(kPiece + 2);
    if (e == Encoding::utf8 || e == Encoding::utf8_bom) {
        char32_t cp;
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t n = utf8_sequence(bytes, i, cp);
            if (n == 0) {
                piece.push_back(kReplacement);
                ++i;
            } else {
                append_code_point(cp, piece);
                i += n;
            }
            if (piece.size() >= kPiece) flush_piece(piece, to_ansi, out, false);
        }
    } else {
        const bool big = e == Encoding::utf16be;
        std::size_t i = 0;
        for (; bytes.size() - i >= 2; i += 2) {
            const unsigned a = byte_at(bytes, i), b = byte_at(bytes, i + 1);
            piece.push_back(static_cast<char16_t>(big ? (a << 8) | b : (b << 8) | a));
            if (piece.size() >= kPiece) flush_piece(piece, to_ansi, out, false);
        }
        if (i < bytes.size()) piece.push_back(kReplacement);
    }
    flush_piece(piece, to_ansi, out, true);
    return out;
}

void split_lines(std::string_view text, const LeadBytes& lead, const std::function<void(std::string_view)>& line) {
    std::size_t start = 0, i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            line(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            start = i;
            continue;
        }
        // A lead byte takes the next byte unless that is a line end.
        if (lead.is_lead(c) && i + 1 < n && text[i + 1] != '\r' && text[i + 1] != '\n' && text[i + 1] != '\0')
            i += 2;
        else
            ++i;
    }
    if (start < n) line(text.substr(start));
}

void append_utf8(std::u16string_view wide, std::string& out) {
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (is_high_surrogate(wide[i]) && i + 1 < wide.size() && is_low_surrogate(wide[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
}

TextEncoder::TextEncoder(Encoding e, std::string_view line_end, const AnsiToWide& to_wide)
    : encoding_(e), to_wide_(to_wide) {
    add_text(line_end, line_end_);
}

void TextEncoder::start(std::string& out) const {
    switch (encoding_) {
        case Encoding::utf8_bom: out.append("\xEF\xBB\xBF"); break;
        case Encoding::utf16le: out.append("\xFF\xFE"); break;
        case Encoding::utf16be: out.append("\xFE\xFF"); break;
        default: break;
    }
}

void TextEncoder::add_line(std::string_view entry, std::string& out) {
    add_text(entry, out);
    out.append(line_end_);
}

void TextEncoder::add_text(std::string_view ansi, std::string& out) {
    if (encoding_ == Encoding::ansi) {
        out.append(ansi);
        return;
    }
    unsigned bits = 0;
    for (const char c : ansi) bits |= static_cast<unsigned char>(c);
    wide_.clear();
    if (bits < 0x80) {
        if (encoding_ == Encoding::utf8 || encoding_ == Encoding::utf8_bom) {
            out.append(ansi);  // ASCII is UTF-8 as it is
            return;
        }
        wide_.assign(ansi.begin(), ansi.end());
    } else {
        to_wide_(ansi, wide_);
    }
    add_wide(wide_, out);
}

void TextEncoder::add_wide(std::u16string_view wide, std::string& out) const {
    if (encoding_ == Encoding::utf8 || encoding_ == Encoding::utf8_bom) {
        append_utf8(wide, out);
        return;
    }
    const bool big = encoding_ == Encoding::utf16be;
    for (const char16_t c : wide) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out.push_back(big ? hi : lo);
        out.push_back(big ? lo : hi);
    }
}

}  // namespace torvane
