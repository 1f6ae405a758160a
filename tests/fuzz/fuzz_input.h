#pragma once
// Shared by the fuzz targets: the first byte of an input picks the code page
// (odd: 932, even: single-byte) and the rest is the text, split further by
// the target where it needs several texts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/mbcs.h"

namespace torvane::fuzz {

struct Input {
    LeadBytes lead;
    std::string_view rest;
    unsigned char flags = 0;
};

inline Input take_input(const std::uint8_t* data, std::size_t size) {
    Input in;
    if (size == 0) return in;
    in.flags = data[0];
    in.lead = (data[0] & 1) ? LeadBytes::cp932() : LeadBytes::single_byte();
    in.rest = std::string_view(reinterpret_cast<const char*>(data + 1), size - 1);
    return in;
}

// Cuts the next text off `rest` at the first 0xFF byte (or takes it all).
inline std::string_view next_text(std::string_view& rest) {
    const std::size_t cut = rest.find('\xFF');
    std::string_view head = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    return head;
}

// True when `s` has a character boundary at offset `at`.
inline bool boundary(std::string_view s, std::size_t at, const LeadBytes& lead) {
    std::size_t i = 0;
    while (i < at) i += lead.char_len(s, i);
    return i == at;
}

}  // namespace torvane::fuzz
