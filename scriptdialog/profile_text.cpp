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

}  // namespace torvane
