#include "forms/items/item_text.h"

#include <climits>

namespace torvane {

int read_decimal(std::string_view text) noexcept {
    std::size_t i = 0;
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    while (i < text.size() && space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

std::string default_extension(std::string_view filter, const LeadBytes& lead) {
    const std::size_t first = lead.find_char(filter, '|');
    if (first == std::string_view::npos || first == 0) return {};
    const std::size_t second = lead.find_char(filter, '|', first + 1);
    if (second != std::string_view::npos && second > first + 1)
        return std::string(filter.substr(first + 1, second - first - 1));
    return std::string(filter.substr(first));
}

std::string dialog_filter(std::string_view filter, std::string_view all_files, const LeadBytes& lead) {
    // Whether the last character (not merely the last byte) is a bar. A lead
    // byte left alone at the end is dropped: the bar added after it would
    // become its second byte.
    bool ends_with_bar = false;
    std::size_t last = 0;
    for (std::size_t i = 0; i < filter.size(); i += lead.char_len(filter, i)) {
        ends_with_bar = filter[i] == '|' && lead.char_len(filter, i) == 1;
        last = i;
    }
    if (!filter.empty() && last + 1 == filter.size() && lead.is_lead(filter[last])) filter.remove_suffix(1);
    std::string out(filter);
    if (!out.empty() && !ends_with_bar) out += '|';
    out += all_files;
    return out;
}

std::string write_decimal(int value) { return std::to_string(value); }

}  // namespace torvane
