#pragma once
// Semicolon lists: entries separated by ";", no quoting, empty entries
// skipped. Platform-free; the code page enters as its lead-byte table.
#include <string>
#include <string_view>
#include <vector>

#include "frame/mbcs.h"

namespace torvane {

// Splits a semicolon list. A ";" is found only at a character boundary, so a
// double-byte character whose trail byte is 0x3B never splits. The result
// never holds an empty entry.
std::vector<std::string> split_semicolon_list(std::string_view text, const LeadBytes& lead);

}  // namespace torvane
