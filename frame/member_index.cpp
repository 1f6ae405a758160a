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
    // Rows in bucket order, counted first. Ids are those of the table walk:
    // the first row of a name wins, the table before its bases.
    struct Pending {
        Row row;
        std::size_t bucket;
    };
    Pending pending[kMaxRows];
    std::size_t n = 0, used = 0;
    DISPID level = 0;
    for (const DispTable* t = &cls.table; t; t = t->base, ++level) {
        for (std::size_t i = 0; i < t->count; ++i) {
            const DispEntry& e = t->entries[i];
            if (e.is_alias()) continue;
            std::size_t len = 0;
            for (; e.name[len]; ++len) {
                const unsigned f = fold(static_cast<unsigned char>(e.name[len]));
                if (f == 0 || len == kMaxName || used + len >= kPool) return;  // not indexable: decline all
                const bool letter = f >= 'a' && f <= 'z';
                pool_[used + len] = Char{static_cast<std::uint16_t>(f), static_cast<std::uint16_t>(letter ? 0x20 : 0)};
            }
            if (len == 0 || n == kMaxRows) return;
            const Char* chars = pool_ + used;
            const unsigned c0 = chars[0].folded | 0x20u;
            const unsigned c1 = (len > 1 ? chars[1].folded : 0u) | 0x20u;
            const DISPID id = e.dispid != DISPID_UNKNOWN ? e.dispid : (level << 16) | static_cast<DISPID>(i + 1);
            Pending& p = pending[n++];
            p.row = Row{static_cast<std::uint16_t>(used), static_cast<std::uint8_t>(len), 0, id};
            p.bucket = bucket_of(c0, c1);
            used += len;
        }
    }
    std::uint16_t counts[kBuckets] = {};
    for (std::size_t i = 0; i < n; ++i) ++counts[pending[i].bucket];
    start_[0] = 0;
    for (std::size_t b = 0; b < kBuckets; ++b) start_[b + 1] = static_cast<std::uint16_t>(start_[b] + counts[b]);
    std::uint16_t fill[kBuckets];
    for (std::size_t b = 0; b < kBuckets; ++b) fill[b] = start_[b];
    for (std::size_t i = 0; i < n; ++i) rows_[fill[pending[i].bucket]++] = pending[i].row;  // keeps table order
    for (std::size_t b = 0; b < kBuckets; ++b) {
        for (std::size_t r = start_[b] + 1u; r < start_[b + 1]; ++r) {
            const Row& prev = rows_[r - 1];
            Row& row = rows_[r];
            std::size_t k = 0;
            while (k < prev.len && k < row.len && pool_[prev.name + k].folded == pool_[row.name + k].folded) ++k;
            row.shared = static_cast<std::uint8_t>(k);
        }
    }
    complete_ = true;
}

bool MemberIndex::find_missing(const wchar_t* name, DISPID& id) noexcept {
    std::size_t len = 0;
    for (; name[len]; ++len)
        if (fold(static_cast<unsigned>(name[len])) == 0) return false;
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
        if (owner == &cls)
            return e.ready.load(std::memory_order_acquire) && e.index.complete() ? &e.index : nullptr;
    }
    return nullptr;
}

}  // namespace torvane
