#include "frame/utf8_text.h"

namespace torvane {
namespace {

unsigned byte_at(std::string_view s, std::size_t i) noexcept { return static_cast<unsigned char>(s[i]); }

}  // namespace

std::size_t utf8_sequence(std::string_view s, std::size_t i, char32_t& cp) noexcept {
    const unsigned b0 = byte_at(s, i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t n;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        n = 2, min = 0x80, cp = b0 & 0x1F;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
        n = 3, min = 0x800, cp = b0 & 0x0F;
    else if (b0 >= 0xF0 && b0 <= 0xF4)
        n = 4, min = 0x10000, cp = b0 & 0x07;
    else
        return 0;
    if (s.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned b = byte_at(s, i + k);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

bool is_valid_utf8(std::string_view bytes) noexcept {
    char32_t cp;
    for (std::size_t i = 0; i < bytes.size();) {
        // Runs of ASCII first, eight bytes a step.
        while (bytes.size() - i >= 8) {
            unsigned bits = 0;
            for (std::size_t k = 0; k < 8; ++k) bits |= byte_at(bytes, i + k);
            if (bits & 0x80) break;
            i += 8;
        }
        if (i == bytes.size()) break;
        const std::size_t n = utf8_sequence(bytes, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace torvane
