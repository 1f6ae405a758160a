#include "frame/member_index.h"

#include <atomic>

#include "frame/dispatch.h"

namespace torvane {
namespace {

// ASCII letters folded to lower case, digits as they are, 0 for any other
// character of the first 128.
constexpr struct FoldTable {
    unsigned char map[128] = {};
    constexpr FoldTable() {
        for (int c = '0'; c <= '9'; ++c) map[c] = static_cast<unsigned char>(c);
        for (int c = 'a'; c <= 'z'; ++c) map[c] = static_cast<unsigned char>(c);
        for (int c = 'A'; c <= 'Z'; ++c) map[c] = static_cast<unsigned char>(c + 32);
    }
} kFold;

inline unsigned fold(unsigned c) noexcept { return c < 128 ? kFold.map[c] : 0; }

}  // namespace

void MemberIndex::build(const ClassInfo& cls) noexcept {
    // Names folded to lower case in table order, then laid out bucket by
    // bucket. Ids are those of the table walk: the first row of a name wins,
    // the table before its bases, so a bucket keeps table order.
    struct Pending {
        std::size_t name, len, bucket;
        DISPID id;
    };
    static constexpr std::size_t kMaxRows = 256;
    Pending pending[kMaxRows];
    std::uint16_t names[kCode];
    std::size_t n = 0, used = 0;
    DISPID level = 0;
    for (const DispTable* t = &cls.table; t; t = t->base, ++level) {
        for (std::size_t i = 0; i < t->count; ++i) {
            const DispEntry& e = t->entries[i];
            if (e.is_alias()) continue;
            std::size_t len = 0;
            bool digits = false;
            for (; e.name[len]; ++len) {
                // An underscore (the standard "_NewEnum") is held as 0x7F and,
                // like a digit, leaves the name to the platform's comparison.
                const unsigned c = static_cast<unsigned char>(e.name[len]);
                const unsigned f = c == '_' ? 0x7Fu : fold(c);
                if (f == 0 || len == kMaxName || used + len + 1 >= kCode) return;  // not indexable: decline all
                digits = digits || f < 'a' || c == '_';
                names[used + len] = static_cast<std::uint16_t>(f);
            }
            if (len == 0 || n == kMaxRows) return;
            names[used + len] = 0;
            const DISPID id = e.dispid != DISPID_UNKNOWN ? e.dispid : (level << 16) | static_cast<DISPID>(i + 1);
            // The second character is the terminator (0x20 with the bit) when the name has one.
            pending[n++] = Pending{used, len, bucket_of(names[used] | 0x20u, names[used + 1] | 0x20u),
                                   digits ? DISPID_UNKNOWN : id};
            used += len + 1;
        }
    }
    // code_[0] is the end of every empty bucket.
    code_[0] = kEnd;
    std::size_t at = 1;
    for (std::size_t b = 0; b < kBuckets; ++b) {
        const std::uint16_t* prev = nullptr;
        std::size_t first = at;
        for (std::size_t r = 0; r < n; ++r) {
            const Pending& p = pending[r];
            if (p.bucket != b) continue;
            const std::size_t size = kHeader + p.len + 1;
            if (at + size + 1 > kCode) return;
            const std::uint16_t* name = names + p.name;
            std::size_t shared = 0;
            while (prev && prev[shared] != 0 && prev[shared] == name[shared]) ++shared;
            const auto id = static_cast<std::uint32_t>(p.id);
            code_[at + kShared] = static_cast<std::uint16_t>(shared);
            code_[at + kSize] = static_cast<std::uint16_t>(size);
            code_[at + kIdLow] = static_cast<std::uint16_t>(id & 0xFFFFu);
            code_[at + kIdHigh] = static_cast<std::uint16_t>(id >> 16);
            for (std::size_t k = 0; k <= p.len; ++k) code_[at + kHeader + k] = name[k];
            prev = name;
            at += size;
        }
        if (at == first) {
            start_[b] = 0;
        } else {
            start_[b] = static_cast<std::uint16_t>(first);
            code_[at++] = kEnd;
        }
    }
    complete_ = true;
}

bool MemberIndex::find_missing(const wchar_t* name, DISPID& id) noexcept {
    std::size_t len = 0;
    for (; name[len]; ++len)
        if (fold(static_cast<unsigned>(name[len])) < 'a') return false;
    if (len == 0) return false;
    id = DISPID_UNKNOWN;
    return true;
}

const MemberIndex* member_index_for(const ClassInfo& cls) noexcept {
    struct Entry {
        std::atomic<const ClassInfo*> owner{nullptr};
        std::atomic<int> ready{0};
        MemberIndex index;
    };
    static Entry entries[16];
    for (Entry& e : entries) {
        const ClassInfo* owner = e.owner.load(std::memory_order_acquire);
        if (owner == nullptr) {
            const ClassInfo* expected = nullptr;
            if (e.owner.compare_exchange_strong(expected, &cls, std::memory_order_acq_rel)) {
                e.index.build(cls);
                e.ready.store(1, std::memory_order_release);
                return e.index.complete() ? &e.index : nullptr;
            }
            owner = expected;
        }
        if (owner == &cls) return e.ready.load(std::memory_order_acquire) && e.index.complete() ? &e.index : nullptr;
    }
    return nullptr;
}

}  // namespace torvane
