#include "frame/name_cache.h"

#include <cstring>

namespace torvane {

std::uint32_t NameCache::hash_of(const wchar_t* name, std::size_t len) noexcept {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < len; ++i) {
        h ^= static_cast<std::uint32_t>(name[i]);
        h *= 16777619u;
    }
    return h;
}

bool NameCache::matches(const Slot& slot, std::uint32_t hash, const wchar_t* name, std::size_t len) noexcept {
    return slot.hash == hash && slot.len == len && std::memcmp(slot.name, name, len * sizeof(wchar_t)) == 0;
}

bool NameCache::find(const wchar_t* name, std::size_t len, DISPID& id) const noexcept {
    if (len == 0 || len > kMaxName) return false;
    const std::uint32_t h = hash_of(name, len);
    for (std::size_t i = 0; i < kSlots; ++i) {
        const Slot& slot = slots_[(h + i) & (kSlots - 1)];
        const std::int32_t state = slot.state.load(std::memory_order_acquire);
        if (state == 0) return false;
        if (state == 2 && matches(slot, h, name, len)) {
            id = slot.id;
            return true;
        }
    }
    return false;
}

void NameCache::remember(const wchar_t* name, std::size_t len, DISPID id) noexcept {
    if (len == 0 || len > kMaxName) return;
    const std::uint32_t h = hash_of(name, len);
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = slots_[(h + i) & (kSlots - 1)];
        std::int32_t state = slot.state.load(std::memory_order_acquire);
        if (state == 2 && matches(slot, h, name, len)) return;  // another call was first
        if (state != 0) continue;
        if (!slot.state.compare_exchange_strong(state, 1, std::memory_order_acq_rel)) {
            if (state == 2 && matches(slot, h, name, len)) return;
            continue;
        }
        slot.id = id;
        slot.hash = h;
        slot.len = static_cast<std::uint32_t>(len);
        std::memcpy(slot.name, name, len * sizeof(wchar_t));
        slot.state.store(2, std::memory_order_release);
        return;
    }
}

NameCache* name_cache_for(const ClassInfo& cls) noexcept {
    // A few caches, claimed by the first lookup of each class.
    struct Entry {
        std::atomic<const ClassInfo*> owner{nullptr};
        NameCache cache;
    };
    static Entry entries[16];
    for (Entry& e : entries) {
        const ClassInfo* owner = e.owner.load(std::memory_order_acquire);
        if (owner == &cls) return &e.cache;
        if (owner == nullptr) {
            const ClassInfo* expected = nullptr;
            if (e.owner.compare_exchange_strong(expected, &cls, std::memory_order_acq_rel) || expected == &cls)
                return &e.cache;
        }
    }
    return nullptr;
}

}  // namespace torvane
