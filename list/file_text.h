#pragma once
// Text files of List entries: encodings, byte order marks, line ends.
// Platform-free: the conversions between UTF-16 and the ANSI code page are
// passed in (the library hands the platform's; tests hand their own), and
// the code page's lead bytes arrive as a LeadBytes table.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "frame/mbcs.h"
#include "frame/utf8_text.h"

namespace torvane {

enum class Encoding { ansi, utf8, utf8_bom, utf16le, utf16be };

// The encoding a script names: "ansi", "utf-8", "utf-8-bom", "utf-16le",
// "utf-16be", in any letter case. nullopt for any other name.
std::optional<Encoding> encoding_named(std::string_view name);
// The name of an encoding, as encoding_named takes it.
std::string_view encoding_name(Encoding e);

// The encoding of a file's bytes: a byte order mark decides (UTF-8 with its
// mark is utf8_bom, UTF-16LE, UTF-16BE); without one, text that is valid
// UTF-8 and holds a byte above 0x7F is UTF-8, anything else ANSI.
Encoding detect_encoding(std::string_view bytes);

// Length of the byte order mark of `e` at the start of bytes (0 when absent).
std::size_t mark_length(std::string_view bytes, Encoding e);

// UTF-16 text to ANSI, appended to out; and ANSI to UTF-16, appended.
using WideToAnsi = std::function<void(std::u16string_view wide, std::string& out)>;
using AnsiToWide = std::function<void(std::string_view ansi, std::u16string& out)>;

// The file's text (after its mark) as ANSI text. ANSI bytes are taken as they
// are; UTF-8 and UTF-16 are decoded (a malformed sequence, or a lone
// trailing byte of UTF-16, becomes U+FFFD) and converted in pieces that end
// on whole characters.
std::string decode_to_ansi(std::string_view bytes, Encoding e, const WideToAnsi& to_ansi);

// Calls `line` with each line of the text, in order. Lines end at CR LF, LF
// or CR; a line end at the very end of the text starts no further line, so
// an empty text has no lines. A CR or LF is never the second byte of a
// double-byte character: a lead byte before one stands alone.
void split_lines(std::string_view text, const LeadBytes& lead, const std::function<void(std::string_view)>& line);

// Writes ANSI entries in an encoding: the mark first (utf8_bom, utf16le,
// utf16be), then each entry followed by the line end. Plain ASCII needs no
// conversion; other text is converted one entry at a time, so that a broken
// character at the end of an entry cannot swallow the line end.
class TextEncoder {
public:
    TextEncoder(Encoding e, std::string_view line_end, const AnsiToWide& to_wide);

    // The mark (if the encoding has one).
    void start(std::string& out) const;
    void add_line(std::string_view entry, std::string& out);

private:
    void add_text(std::string_view ansi, std::string& out);
    void add_wide(std::u16string_view wide, std::string& out) const;

    Encoding encoding_;
    std::string line_end_;  // already encoded
    const AnsiToWide& to_wide_;
    std::u16string wide_;  // scratch
};

// UTF-16 to UTF-8, appended (a lone surrogate becomes U+FFFD).
void append_utf8(std::u16string_view wide, std::string& out);

}  // namespace torvane
