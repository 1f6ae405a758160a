#pragma once
// Profile values read through a fixed buffer, and the entries an INI file
// can hold. Platform-free.
#include <cstddef>
#include <string_view>

#include "frame/mbcs.h"

namespace torvane {

// The length of `value` without a lead byte left alone at its end: a read
// that filled its buffer may have cut a double-byte character in two, and
// the half character is dropped so that the value ends on a character
// boundary.
std::size_t whole_characters(std::string_view value, const LeadBytes& lead);

// Keys and values of this many bytes or more are refused: the platform's
// profile calls do not hold them (Wine's crash on such values, or store them
// cut to their length modulo 65,536).
inline constexpr std::size_t kProfileTextLimit = 32767;

// Whether `key` can name one entry of a section: not empty, shorter than the
// limit, without a line break or "=", and not read as a section header or a
// comment line (its first character after leading blanks, which the
// platform skips, is neither "[" nor ";").
bool profile_key_fits(std::string_view key);

// Whether `value` stays on its key's line: shorter than the limit and without
// a line break.
bool profile_value_fits(std::string_view value);

}  // namespace torvane
