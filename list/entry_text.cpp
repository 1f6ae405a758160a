#include "list/entry_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <string>

namespace torvane {

void EntryStore::reserve_slots(std::size_t needed) {
    if (needed > kMaxEntries) throw std::bad_alloc();
    const std::size_t cap = slots_.capacity();
    if (needed <= cap) return;
    std::size_t grown = std::max({needed, cap + kGrowthStep, cap + cap / 2});
    grown = (grown + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
    slots_.reserve(std::min(grown, kMaxEntries));
}

namespace {

// Copies n bytes; short texts (most entries) without a call into the C
// library, as two overlapping word copies.
inline void copy_bytes(char* to, const char* from, std::size_t n) noexcept {
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    } else {
        std::memcpy(to, from, n);
    }
}

}  // namespace

std::size_t EntryStore::append_bytes(std::string_view text) {
    if (text.empty()) return 0;
    const std::less<const char*> before;
    if (!bytes_.empty() && !before(text.data(), bytes_.data()) &&
        before(text.data(), bytes_.data() + bytes_.size())) {
        const std::string copy(text);  // the arena may move below
        return append_bytes(copy);
    }
    const std::size_t used = bytes_.size();
    if (text.size() <= bytes_.capacity() - used) {
        // The frequent case: room at the end of the arena.
        bytes_.resize(used + text.size());
        copy_bytes(bytes_.data() + used, text.data(), text.size());
        return used;
    }
    const std::size_t live = used - garbage_;
    if (text.size() > static_cast<std::size_t>(-1) / 2 - live) throw std::bad_alloc();
    if (garbage_ > live) {
        // Mostly garbage: copy the live entries into a fresh arena.
        decltype(bytes_) fresh;
        fresh.reserve(std::max<std::size_t>((live + text.size()) / 2 * 3, 4096));
        for (const Slot& s : slots_)
            if (s.length) fresh.insert(fresh.end(), bytes_.data() + s.offset, bytes_.data() + s.offset + s.length);
        std::size_t offset = 0;
        for (Slot& s : slots_) {
            if (!s.length) continue;
            s.offset = offset;
            offset += s.length;
        }
        bytes_.swap(fresh);
        garbage_ = 0;
    } else {
        bytes_.reserve(std::max({used + text.size(), used + used / 2, std::size_t(4096)}));
    }
    const std::size_t offset = bytes_.size();
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return offset;
}

void EntryStore::insert(std::size_t index, std::string_view text) {
    reserve_slots(slots_.size() + 1);
    const std::size_t offset = append_bytes(text);
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(index), Slot{offset, text.size()});
}

void EntryStore::append(std::string_view text) {
    reserve_slots(slots_.size() + 1);
    const std::size_t offset = append_bytes(text);
    slots_.push_back(Slot{offset, text.size()});
}

void EntryStore::insert_extending(std::size_t index, std::string_view text) {
    if (index <= slots_.size()) return insert(index, text);
    reserve_slots(index + 1);
    const std::size_t offset = append_bytes(text);
    slots_.resize(index, Slot{0, 0});
    slots_.push_back(Slot{offset, text.size()});
}

void EntryStore::store(std::size_t index, std::string_view text) {
    if (index >= slots_.size()) {
        reserve_slots(index + 1);
        const std::size_t offset = append_bytes(text);
        slots_.resize(index + 1, Slot{0, 0});
        slots_[index] = Slot{offset, text.size()};
        return;
    }
    const std::size_t offset = append_bytes(text);  // may compact: read the old slot after it
    garbage_ += slots_[index].length;
    slots_[index] = Slot{offset, text.size()};
}

void EntryStore::erase(std::size_t index) {
    garbage_ += slots_[index].length;
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(index));
    if (slots_.empty()) {
        bytes_.clear();
        garbage_ = 0;
    }
}

void EntryStore::clear() noexcept {
    std::vector<Slot>().swap(slots_);
    decltype(bytes_)().swap(bytes_);
    garbage_ = 0;
}

}  // namespace torvane
