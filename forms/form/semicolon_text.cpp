#include "forms/form/semicolon_text.h"

namespace torvane {

std::vector<std::string> split_semicolon_list(std::string_view text, const LeadBytes& lead) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = lead.find_char(text, ';', start);
        const std::size_t end = semi == std::string_view::npos ? text.size() : semi;
        if (end > start) entries.emplace_back(text.substr(start, end - start));
        if (semi == std::string_view::npos) return entries;
        start = semi + 1;
    }
}

}  // namespace torvane
