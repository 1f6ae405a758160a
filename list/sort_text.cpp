#include "list/sort_text.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace torvane {

namespace {

bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }

// The key's first 8 bytes as a big-endian number, zeros past its end: two
// keys whose prefixes differ compare as the prefixes do.
std::uint64_t key_prefix(std::string_view key) noexcept {
    std::uint64_t p = 0;
    for (std::size_t i = 0; i < 8; ++i) p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return p;
}

// A double's bits turned so that unsigned order is numeric order.
std::uint64_t number_order(double v) noexcept {
    if (v == 0) v = 0;  // -0 and 0 are one number
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
}

}  // namespace

bool leading_number(std::string_view text, double& value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t digits = i;
    std::size_t mantissa_digits = 0;
    while (i < text.size() && is_digit(text[i])) ++i, ++mantissa_digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return false;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && is_digit(text[j])) {
            while (j < text.size() && is_digit(text[j])) ++j;
            end = j;
        }
    }
    // The C library's conversion is exact; it is handed the number without its
    // sign, with the decimal point its locale reads. (std::from_chars would
    // bring a second copy of the conversion tables into the library.)
    std::string number(text.data() + digits, end - digits);
    const char point = *std::localeconv()->decimal_point;
    if (point != '.') std::replace(number.begin(), number.end(), '.', point);
    char* stop = nullptr;
    const double v = std::strtod(number.c_str(), &stop);
    if (stop != number.c_str() + number.size()) return false;
    // (Too large gives infinity, too small 0 or a denormal, as wanted.)
    value = negative ? -v : v;
    return true;
}

SortKeys::SortKeys(std::size_t expected) {
    items_.reserve(expected);
    key_at_.reserve(expected + 1);
    key_at_.push_back(0);
}

void SortKeys::add(std::uint32_t rank, std::uint64_t prefix, std::string_view key) {
    if (items_.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("too many entries");
    key_bytes_.append(key);
    key_at_.push_back(key_bytes_.size());
    items_.push_back(Item{prefix, static_cast<std::uint32_t>(items_.size()), rank});
}

void SortKeys::add_text(std::string_view key) { add(1, key_prefix(key), key); }

void SortKeys::add_number(double value) { add(0, number_order(value), std::string_view()); }

void SortKeys::add_non_number(std::string_view key) { add_text(key); }

int SortKeys::compare(const Item& a, const Item& b) const noexcept {
    if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
    if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
    if (a.rank == 0) return 0;  // numbers: the order bits are the whole key
    const std::string_view ka(key_bytes_.data() + key_at_[a.entry], key_at_[a.entry + 1] - key_at_[a.entry]);
    const std::string_view kb(key_bytes_.data() + key_at_[b.entry], key_at_[b.entry + 1] - key_at_[b.entry]);
    if (ka.size() <= 8 && kb.size() <= 8) return ka.size() == kb.size() ? 0 : (ka.size() < kb.size() ? -1 : 1);
    const int c = ka.compare(kb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::vector<std::uint32_t> SortKeys::stable_order(bool descending) const {
    std::vector<Item> sorted(items_);
    if (descending)
        std::stable_sort(sorted.begin(), sorted.end(),
                         [this](const Item& a, const Item& b) { return compare(b, a) < 0; });
    else
        std::stable_sort(sorted.begin(), sorted.end(),
                         [this](const Item& a, const Item& b) { return compare(a, b) < 0; });
    std::vector<std::uint32_t> order(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) order[i] = sorted[i].entry;
    return order;
}

}  // namespace torvane
