#pragma once
// UTF-8 as the library meets it in files and in file: addresses.
// Platform-free.
#include <cstddef>
#include <string_view>

namespace torvane {

// The code point of the UTF-8 sequence at i and its length; 0 for a
// malformed one (a stray or missing continuation byte, an overlong form, a
// surrogate, anything beyond U+10FFFF, a sequence cut off at the end).
std::size_t utf8_sequence(std::string_view s, std::size_t i, char32_t& cp) noexcept;

// Whether all of the bytes are well-formed UTF-8 in that sense.
bool is_valid_utf8(std::string_view bytes) noexcept;

}  // namespace torvane
