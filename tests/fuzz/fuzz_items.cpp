// Text rules of the control items:
//  - read_decimal agrees with strtoll on the same text (zero-terminated
//    copy), saturated to the int range;
//  - default_extension is empty, or a part of the filter that starts after
//    a bar on a character start; dialog_filter is the filter, at most one
//    added bar, then the all-files entry, and its last filter character
//    before the all-files entry is a bar.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "forms/items/item_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

int slow_decimal(std::string_view text) {
    const std::string z(text.substr(0, text.find('\0')));
    // strtoll takes "0x" and other bases only when asked; base 10 here.
    errno = 0;
    long long v = std::strtoll(z.c_str(), nullptr, 10);
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in = fuzz::take_input(data, size);
    const std::string_view text = fuzz::next_text(in.rest);
    const std::string_view all = fuzz::next_text(in.rest);

    // The library reads to the end of the view; a script's text ends at its
    // first zero, so compare on texts without one.
    if (text.find('\0') == std::string_view::npos) check(read_decimal(text) == slow_decimal(text));

    const std::string ext = default_extension(text, in.lead);
    if (!ext.empty()) {
        // A part of the filter that starts on or just after a bar that is a
        // character of its own.
        bool placed = false;
        for (std::size_t i = 0; i < text.size(); i += in.lead.char_len(text, i)) {
            if (text[i] != '|' || in.lead.char_len(text, i) != 1 || i == 0) continue;
            placed = placed || text.compare(i, ext.size(), ext) == 0 || text.compare(i + 1, ext.size(), ext) == 0;
        }
        check(placed);
    }

    // A lead byte left alone at the end is dropped.
    std::string_view whole = text;
    if (!whole.empty() && in.lead.is_lead(whole.back()) && fuzz::boundary(whole, whole.size() - 1, in.lead))
        whole.remove_suffix(1);
    const std::string filter = dialog_filter(text, all, in.lead);
    check(filter.compare(0, whole.size(), whole) == 0);
    check(filter.size() - all.size() - whole.size() <= 1);
    check(filter.compare(filter.size() - all.size(), all.size(), all) == 0);
    const std::string_view head(filter.data(), filter.size() - all.size());
    if (!head.empty()) {
        std::size_t last = 0;
        for (std::size_t i = 0; i < head.size(); i += in.lead.char_len(head, i)) last = i;
        check(head[last] == '|' && in.lead.char_len(head, last) == 1);
    }
    return 0;
}
