#include "scriptdialog/profile_text.h"

namespace torvane {

std::size_t whole_characters(std::string_view value, const LeadBytes& lead) {
    std::size_t i = 0, last = 0;
    while (i < value.size()) {
        last = i;
        i += lead.char_len(value, i);
    }
    if (!value.empty() && last + 1 == value.size() && lead.is_lead(value[last])) return last;
    return value.size();
}

// The bytes searched for here are all below 0x40, where no double-byte code
// page has a trail byte: a byte search finds exactly the characters, and a
// broken sequence cannot hide one behind a stray lead byte.
namespace {
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kNotInKeys = "\r\n=";
// What the platform's reader skips at the start of a line (Ctrl+Z included).
constexpr std::string_view kBlanks = " \t\v\f\x1A";
}  // namespace

bool profile_key_fits(std::string_view key) {
    if (key.size() >= kProfileTextLimit || key.find_first_of(kNotInKeys) != std::string_view::npos) return false;
    const std::size_t first = key.find_first_not_of(kBlanks);
    return first != std::string_view::npos && key[first] != '[' && key[first] != ';';
}

bool profile_value_fits(std::string_view value) {
    return value.size() < kProfileTextLimit && value.find_first_of(kLineBreaks) == std::string_view::npos;
}

}  // namespace torvane
