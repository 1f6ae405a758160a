#include "scriptdialog/file_filter_text.h"

namespace torvane {

std::string append_all_files_filter(std::string_view script_filter, std::string_view all_files) {
    std::string out;
    out.reserve(script_filter.size() + 1 + all_files.size());
    out.append(script_filter);
    if (!script_filter.empty()) out.push_back('|');
    out.append(all_files);
    return out;
}

std::string filter_default_extension(std::string_view filter, const LeadBytes& lead) {
    const std::size_t bar = lead.find_char(filter, '|');
    if (bar == std::string_view::npos) return std::string();
    const std::size_t start = bar + 1;
    std::size_t end = lead.find_char(filter, '|', start);
    if (end == std::string_view::npos) end = filter.size();
    const std::string_view pattern = filter.substr(start, end - start);

    // The last "." that is a character of its own, stepping forwards.
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < pattern.size(); i += lead.char_len(pattern, i))
        if (pattern[i] == '.' && lead.char_len(pattern, i) == 1) dot = i;
    if (dot == std::string_view::npos) return std::string();
    return std::string(pattern.substr(dot + 1));
}

std::string filter_for_platform(std::string_view filter, const LeadBytes& lead) {
    std::string out(filter);
    for (std::size_t i = 0; i < out.size(); i += lead.char_len(out, i))
        if (out[i] == '|' && lead.char_len(out, i) == 1) out[i] = '\0';
    return out;
}

}  // namespace torvane
