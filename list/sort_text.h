#pragma once
// Ordering of List entries for Sort. Platform-free: the costly part of a
// comparison, the locale's collation, arrives as one sort key per entry (a
// byte string that compares as the locale orders the texts), made once by
// the caller; this code only parses numbers, compares keys and sorts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Mode bits of Sort.
inline constexpr int kSortDescending = 1;
inline constexpr int kSortNumbers = 2;
inline constexpr int kSortIgnoreCase = 4;
inline constexpr int kSortModeBits = kSortDescending | kSortNumbers | kSortIgnoreCase;

// The leading number of a text: half-width spaces and tabs, an optional sign,
// digits with an optional fraction (".5" and "5." count) and an optional
// exponent ("1e3"), read as far as they go; whatever follows is ignored
// ("12abc" is 12). False when the text does not start with a number. A
// number beyond the range of a double is an infinity, one too small 0.
bool leading_number(std::string_view text, double& value);

// The sort keys of the entries, in entry order, and the stable order they
// give.
class SortKeys {
public:
    explicit SortKeys(std::size_t expected = 0);

    // The next entry, ordered by its collation key.
    void add_text(std::string_view key);
    // The next entry, in numbers mode: its leading number, or, for a text
    // that is no number, its collation key (such entries follow every
    // number).
    void add_number(double value);
    void add_non_number(std::string_view key);

    std::size_t size() const noexcept { return items_.size(); }

    // The entries' old positions in their new order: ascending, or its exact
    // reverse; entries of equal keys keep their order either way. At most
    // O(n log n) key comparisons.
    std::vector<std::uint32_t> stable_order(bool descending) const;

private:
    struct Item {
        std::uint64_t prefix;  // the key's first 8 bytes, big-endian, or the number's order bits
        std::uint32_t entry;   // position in entry order
        std::uint32_t rank;    // 0: a number, 1: a text
    };
    void add(std::uint32_t rank, std::uint64_t prefix, std::string_view key);
    int compare(const Item& a, const Item& b) const noexcept;

    std::vector<Item> items_;
    std::vector<std::size_t> key_at_;  // key bytes of entry i: key_at_[i] .. key_at_[i + 1]
    std::string key_bytes_;
};

}  // namespace torvane
