#pragma once
// Character stepping over multibyte text of an ANSI code page.
//
// Platform-free: the code page enters only as a LeadBytes table, built once
// from the platform at load time (frame/text.cpp) or from a fixed description
// in tests. Every scan of library text steps with char_len(), so the trail
// byte of a double-byte character (which may equal '\\', '|', ';' ...) is never
// taken for a character of its own.

#include <array>
#include <cstddef>
#include <string_view>

namespace torvane {

class LeadBytes {
public:
    constexpr LeadBytes() = default;

    // A single-byte code page such as 1252: no lead bytes.
    static constexpr LeadBytes single_byte() { return LeadBytes(); }

    // Code page 932 (Shift-JIS): lead bytes 0x81-0x9F and 0xE0-0xFC.
    static constexpr LeadBytes cp932() {
        LeadBytes t;
        for (int c = 0x81; c <= 0x9F; ++c) t.lead_[c] = true;
        for (int c = 0xE0; c <= 0xFC; ++c) t.lead_[c] = true;
        return t;
    }

    constexpr void set(unsigned char c, bool lead) { lead_[c] = lead; }
    constexpr bool is_lead(unsigned char c) const { return lead_[c]; }
    constexpr bool is_lead(char c) const { return lead_[static_cast<unsigned char>(c)]; }

    // Bytes taken by the character at p (p < end): 2 for a lead byte followed
    // by a non-zero byte, else 1. A lead byte at the very end, or before a
    // zero, stands alone, as the platform's stepping treats it.
    constexpr std::size_t char_len(const char* p, const char* end) const {
        return (is_lead(*p) && p + 1 < end && p[1] != '\0') ? 2 : 1;
    }

    // Same, over a view and an offset into it.
    constexpr std::size_t char_len(std::string_view s, std::size_t i) const {
        return char_len(s.data() + i, s.data() + s.size());
    }

    // Offset of the first character, from `from` on, that is the single byte
    // ch; npos when none.
    std::size_t find_char(std::string_view s, char ch, std::size_t from = 0) const {
        for (std::size_t i = from; i < s.size(); i += char_len(s, i))
            if (s[i] == ch && char_len(s, i) == 1) return i;
        return std::string_view::npos;
    }

private:
    std::array<bool, 256> lead_{};
};

}  // namespace torvane
