#pragma once
// Name lookup without the platform: script engines ask for a member's id
// before every call, by names such as "AddTail" or "addtail". A name made
// only of ASCII letters and digits is found here by ASCII case folding, in a
// small hash index of the class's member names built on first use. Any other
// name (accented letters, full-width forms, punctuation the platform's
// comparison may ignore) is declined, and the caller walks the table with the
// platform's comparison as before; for the names the index does take, both
// answer the same (the member lookup tests check this for every member of
// every class).
#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>

namespace torvane {

struct ClassInfo;

class MemberIndex {
public:
    // Builds the index of a class's table (and its base tables).
    void build(const ClassInfo& cls) noexcept;
    // False when the table has a name the index cannot hold; find() must
    // then not be asked.
    bool complete() const noexcept { return complete_; }

    // True when the index (complete) takes the name (ASCII letters and digits only, NUL
    // terminated); `id` is then the member's id or DISPID_UNKNOWN.
    bool find(const wchar_t* name, DISPID& id) const noexcept {
        if (name[0] == 0) return false;
        // The bucket comes from the first two characters with the case bit
        // set (a letter's lower case, a digit as it is; 0x20 past the end),
        // then one pass compares the name with each candidate, character by
        // character: a letter matches either case, a digit only itself, and
        // no other character matches anything (masked compare, below). What
        // matched of one candidate is not compared again for the next one
        // where the two share a prefix ("ProfilePath", "ProfileValue").
        const std::size_t b = bucket_of(static_cast<unsigned>(name[0]) | 0x20u, static_cast<unsigned>(name[1]) | 0x20u);
        std::size_t i = 0;
        for (std::size_t r = start_[b]; r < start_[b + 1]; ++r) {
            const Row& row = rows_[r];
            const Char* want = pool_ + row.name;
            if (i > row.shared) i = row.shared;
            while (i < row.len && (static_cast<unsigned>(name[i]) | want[i].fold) == want[i].folded) ++i;
            if (i == row.len && name[i] == 0) {
                id = row.id;
                return true;
            }
        }
        return find_missing(name, id);
    }

private:
    static constexpr std::size_t kBuckets = 128;  // a power of two
    static constexpr std::size_t kMaxRows = 128;
    static constexpr std::size_t kMaxName = 64;
    static constexpr std::size_t kPool = 1024;    // characters of all names
    // One character of a member name: a letter as its lower case with the
    // case bit in `fold` (c | 0x20 == 'a'..'z' holds for exactly the two
    // cases of the letter), a digit as it is with no bit (exact compare).
    struct Char {
        std::uint16_t folded;
        std::uint16_t fold;
    };
    struct Row {
        std::uint16_t name;   // offset of the name's characters in pool_
        std::uint8_t len;
        std::uint8_t shared;  // length of the prefix shared with the bucket's previous row
        DISPID id;
    };
    static std::size_t bucket_of(unsigned c0, unsigned c1) noexcept {
        return (c0 * 37u + c1 * 7u) & (kBuckets - 1);
    }
    // A name no row matched: unknown when plain, else for the platform to judge.
    static bool find_missing(const wchar_t* name, DISPID& id) noexcept;

    bool complete_ = false;  // false: every name is declined
    std::uint16_t start_[kBuckets + 1] = {};
    Row rows_[kMaxRows] = {};
    Char pool_[kPool] = {};
};

// The index of a class, built by the first caller; nullptr while another
// thread is still building it, when all indexes are taken, or when the class
// has a name the index cannot hold.
const MemberIndex* member_index_for(const ClassInfo& cls) noexcept;

}  // namespace torvane
