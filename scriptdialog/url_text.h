#pragma once
// The path part of a 'file:' address, decoded: '/' becomes '\\' and "%XY"
// escapes become bytes. Platform-free; the code page enters as its lead-byte
// table and as the conversion of UTF-8 text into it.
#include <functional>
#include <string>
#include <string_view>

#include "frame/mbcs.h"
#include "frame/utf8_text.h"

namespace torvane {

// UTF-8 text (always well formed) in the code page.
using Utf8ToCodePage = std::function<std::string(std::string_view utf8)>;

// Decodes `text` (a path after its scheme and slashes):
//  - '/' becomes '\\';
//  - a run of escapes, each '%' and two hexadecimal digits, whose bytes form
//    valid UTF-8 holding a non-ASCII character is UTF-8 text, as browsers and
//    the shell write addresses: it is converted with `to_code_page`;
//  - every other "%XY" is the byte whose value is XY read as a base-16
//    number the way strtol reads it (leading blanks and a sign accepted,
//    reading stops at the first non-digit, low 8 bits kept); a "%" near the
//    end reads the characters that remain. So "%95%5C", invalid as UTF-8,
//    stays the code-page-932 bytes of U+8868;
//  - everything else is copied character by character.
// A decoded zero byte ends the result (a run is then cut before it).
std::string decode_address_path(std::string_view text, const LeadBytes& lead, const Utf8ToCodePage& to_code_page);

}  // namespace torvane
