#pragma once
// Text rules of the control items: numbers read from value texts, and the
// default extension and dialog filter of a file-edit item. Platform-free; the
// code page enters as its lead-byte table.
#include <string>
#include <string_view>

#include "frame/mbcs.h"

namespace torvane {

// A decimal number at the start of a value text: leading white space
// skipped, an optional sign, then the digits up to the first non-digit; no
// digits read as 0. Values beyond the int range saturate.
int read_decimal(std::string_view text) noexcept;

// The decimal text of a number, as value texts hold numbers.
std::string write_decimal(int value);

// The default extension of a file dialog from a filter of bar-separated
// descriptions and patterns: the first entry's pattern, or, when the filter
// has one bar only (or two bars in a row), its text from the first bar on.
// Empty when the filter has no bar or begins with one.
std::string default_extension(std::string_view filter, const LeadBytes& lead);

// The dialog filter, still with bars: the filter, a closing bar when it has
// none as its last character, then the all-files entry `all_files` (which
// ends with "||"). A lead byte left alone at the end of the filter is dropped.
std::string dialog_filter(std::string_view filter, std::string_view all_files, const LeadBytes& lead);

}  // namespace torvane
