#pragma once
// Name lookup without the platform: script engines ask for a member's id
// before every call, by names such as "AddTail" or "addtail". A name made
// only of ASCII letters is found here by ASCII case folding, in a small hash
// index of the class's member names built on first use. Any other name
// (digits, accented letters, full-width forms, punctuation the platform's
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

    // The id of the member named `name` (NUL terminated) when a row matches
    // it in ASCII case folding, else DISPID_UNKNOWN, then for find() to judge.
    // No call and no frame: this is the whole of a script engine's usual
    // lookup.
    DISPID lookup(const wchar_t* name) const noexcept {
        if (name[0] == 0) return DISPID_UNKNOWN;
        // The bucket comes from the first two characters with the case bit
        // set (a letter's lower case, a digit as it is; 0x20 past the end).
        // Each candidate is held in lower case, NUL terminated, and a name's
        // character matches it when it does with the case bit set: either
        // case of a letter, a digit itself. No character with the bit set is
        // NUL, so the compare stops at the end of the shorter text. The bit
        // also turns the control characters 0x10-0x19 into digits: a member
        // name with digits is held with DISPID_UNKNOWN for its id, which
        // leaves such names to the platform's comparison (no member name has
        // digits). What matched of one candidate is not compared again for
        // the next one where the two share a prefix ("ProfilePath",
        // "ProfileValue"). The candidates of a bucket follow one another in
        // code_, each a header and its name, and the bucket ends with kEnd.
        const std::uint16_t* row =
            code_ + start_[bucket_of(static_cast<unsigned>(name[0]) | 0x20u, static_cast<unsigned>(name[1]) | 0x20u)];
        std::size_t i = 0;
        for (unsigned shared; (shared = row[kShared]) != kEnd; row += row[kSize]) {
            if (i > shared) i = shared;
            const std::uint16_t* want = row + kHeader;
            // Two characters a step; the second is read only when the first
            // matched, and so was not the name's end.
            while ((static_cast<unsigned>(name[i]) | 0x20u) == want[i]) {
                if ((static_cast<unsigned>(name[i + 1]) | 0x20u) != want[i + 1]) {
                    ++i;
                    break;
                }
                i += 2;
            }
            if ((want[i] | name[i]) == 0)
                return static_cast<DISPID>(row[kIdLow] | (static_cast<std::uint32_t>(row[kIdHigh]) << 16));
        }
        return DISPID_UNKNOWN;
    }

    // True when the index (complete) takes the name (NUL terminated): one a
    // row matches, or one of ASCII letters only; `id` is then the member's id
    // or DISPID_UNKNOWN.
    bool find(const wchar_t* name, DISPID& id) const noexcept {
        if (name[0] == 0) return false;
        id = lookup(name);
        return id != DISPID_UNKNOWN || find_missing(name, id);
    }

private:
    static constexpr std::size_t kBuckets = 128;  // a power of two
    static constexpr std::size_t kMaxName = 64;
    static constexpr std::size_t kCode = 2048;
    // A candidate in code_: its header, then its name in lower case and a NUL.
    enum : std::size_t {
        kShared,  // length of the prefix shared with the bucket's previous candidate
        kSize,    // the whole candidate's length: the next one's offset
        kIdLow,   // the member's id (DISPID_UNKNOWN for a name with digits)
        kIdHigh,
        kHeader
    };
    static constexpr std::uint16_t kEnd = 0xFFFF;  // in place of kShared: no more candidates
    static std::size_t bucket_of(unsigned c0, unsigned c1) noexcept { return (c0 * 37u + c1 * 7u) & (kBuckets - 1); }
    // A name no row matched: unknown when made of letters only, else for the
    // platform to judge.
    static bool find_missing(const wchar_t* name, DISPID& id) noexcept;

    bool complete_ = false;               // false: every name is declined
    std::uint16_t start_[kBuckets] = {};  // each bucket's first candidate in code_
    std::uint16_t code_[kCode] = {};      // all zero, so the pool of indexes takes no space in the file
};

// The index of a class, built by the first caller; nullptr while another
// thread is still building it, when all indexes are taken, or when the class
// has a name the index cannot hold.
const MemberIndex* member_index_for(const ClassInfo& cls) noexcept;

}  // namespace torvane
