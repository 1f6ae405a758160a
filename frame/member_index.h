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

    // True when the index takes the name (ASCII letters and digits only, NUL
    // terminated); `id` is then the member's id or DISPID_UNKNOWN.
    bool find(const wchar_t* name, DISPID& id) const noexcept;

private:
    static constexpr std::size_t kBuckets = 128;  // a power of two
    static constexpr std::size_t kMaxRows = 128;
    static constexpr std::size_t kMaxName = 64;
    static constexpr std::size_t kPool = 2048;    // folded names, each NUL terminated
    struct Row {
        std::uint16_t name;  // offset of the folded name in pool_
        std::uint8_t len;
        DISPID id;
    };
    // Bucket of a name: its first four characters, folded (0 past its end
    // and for characters that are not ASCII letters or digits).
    static std::size_t bucket_of(unsigned f0, unsigned f1, unsigned f2, unsigned f3) noexcept {
        return (((f0 * 31 + f1) * 31 + f2) * 31 + f3) & (kBuckets - 1);
    }

    bool complete_ = false;  // false: every name is declined
    std::uint16_t start_[kBuckets + 1] = {};
    Row rows_[kMaxRows] = {};
    char pool_[kPool] = {};
};

// The index of a class, built by the first caller; nullptr while another
// thread is still building it, or when all indexes are taken.
const MemberIndex* member_index_for(const ClassInfo& cls) noexcept;

}  // namespace torvane
