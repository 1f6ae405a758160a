#pragma once
// The filter list and default extension of the file dialogs.
//
// Filters are written as display names and patterns separated by "|", closed
// by "||". The platform wants the same list with every "|" replaced by a zero.
// Platform-free; the code page enters as its lead-byte table, so that a
// double-byte character whose trail byte is 0x7C ("|") is never taken for a
// separator.
#include <string>
#include <string_view>

#include "frame/mbcs.h"

namespace torvane {

// The filter of a dialog given a script's filter text: the script's text,
// then "|" when it is not empty, then `all_files` (an all-files entry that
// ends with "||"), so that all files are always offered last.
std::string append_all_files_filter(std::string_view script_filter, std::string_view all_files);

// The default extension for a filter: what follows the last "." of the first
// entry's pattern (the text between the first "|" and the next one, or the
// end). Empty when there is no "|" or the pattern holds no ".".
std::string filter_default_extension(std::string_view filter, const LeadBytes& lead);

// The list as the platform takes it: every "|" becomes a zero. The result's
// own terminating zero closes the list even when the text lacks the final
// "||" (an empty result means no filter at all).
std::string filter_for_platform(std::string_view filter, const LeadBytes& lead);

}  // namespace torvane
