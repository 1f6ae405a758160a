#pragma once
// Remembers which dispatch id the table walk gave for a member name spelled
// exactly so. Script engines ask for the same names before every call; the
// walk converts the name to ANSI and compares with the platform's
// case-insensitive comparison, while the cache compares the UTF-16 spelling
// as it arrives. An answer is cached only after the walk produced it, so the
// cache can never answer differently from the walk.
//
// Lock-free: a slot is claimed (state 1), filled, then published (state 2)
// with release order; readers trust only published slots. Slots are never
// evicted or rewritten, so a published slot stays valid for the process.
// Only found names of up to kMaxName characters are kept, at most kSlots per
// class: names a script misspells keep taking the walk.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace torvane {

struct ClassInfo;

class NameCache {
public:
    static constexpr std::size_t kSlots = 64;      // a power of two
    static constexpr std::size_t kMaxName = 24;

    bool find(const wchar_t* name, std::size_t len, DISPID& id) const noexcept;
    void remember(const wchar_t* name, std::size_t len, DISPID id) noexcept;

private:
    struct Slot {
        std::atomic<std::int32_t> state{0};
        DISPID id = 0;
        std::uint32_t hash = 0;
        std::uint32_t len = 0;
        wchar_t name[kMaxName] = {};
    };
    static std::uint32_t hash_of(const wchar_t* name, std::size_t len) noexcept;
    static bool matches(const Slot& slot, std::uint32_t hash, const wchar_t* name, std::size_t len) noexcept;
    Slot slots_[kSlots];
};

// The cache of a class; nullptr when every cache is taken (lookups then
// always walk the table).
NameCache* name_cache_for(const ClassInfo& cls) noexcept;

}  // namespace torvane
