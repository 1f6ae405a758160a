// Semicolon lists: no empty entry, no entry holding a separator at one of its
// character boundaries, and joining the entries back with ";" splits to the
// same list.
#include <cstdlib>
#include <string>

#include "forms/form/semicolon_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::take_input(data, size);
    const auto entries = split_semicolon_list(in.rest, in.lead);
    std::string joined;
    for (const std::string& e : entries) {
        if (e.empty()) std::abort();
        if (in.lead.find_char(e, ';') != std::string_view::npos) std::abort();
        if (!joined.empty()) joined += ';';
        joined += e;
    }
    if (split_semicolon_list(joined, in.lead) != entries) std::abort();
    return 0;
}
