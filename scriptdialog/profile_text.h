#pragma once
// Profile values read through a fixed buffer. Platform-free.
#include <cstddef>
#include <string_view>

#include "frame/mbcs.h"

namespace torvane {

// The length of `value` without a lead byte left alone at its end: a read
// that filled its buffer may have cut a double-byte character in two, and
// the half character is dropped so that the value ends on a character
// boundary.
std::size_t whole_characters(std::string_view value, const LeadBytes& lead);

}  // namespace torvane
