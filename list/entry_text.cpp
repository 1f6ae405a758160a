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

// Open addressing over the distinct texts: each used slot holds a text's
// hash and its first and last entry (as index + 1; 0 marks a free slot);
// `next` chains the entries of one text in ascending order.
class EntryStore::EqualIndex {
public:
    explicit EqualIndex(std::size_t expected) {
        resize_table(std::max<std::size_t>(64, expected));
        next_.reserve(expected);
    }

    // Entry i (the store's last) holds text.
    void add(std::size_t i, std::string_view text, const EntryStore& store) {
        if (next_.size() <= i) next_.resize(i + 1, 0);
        if ((distinct_ + 1) * 2 > heads_.size()) resize_table(heads_.size());
        const std::uint32_t h = hash(text);
        std::size_t slot = h & (heads_.size() - 1);
        for (;; slot = (slot + 1) & (heads_.size() - 1)) {
            if (heads_[slot] == 0) {
                heads_[slot] = tails_[slot] = static_cast<std::uint32_t>(i + 1);
                hashes_[slot] = h;
                ++distinct_;
                return;
            }
            if (hashes_[slot] == h && store.at(heads_[slot] - 1) == text) {
                next_[tails_[slot] - 1] = static_cast<std::uint32_t>(i + 1);
                tails_[slot] = static_cast<std::uint32_t>(i + 1);
                return;
            }
        }
    }

    std::size_t find(std::string_view text, std::size_t from, std::size_t to, const EntryStore& store) const {
        const std::uint32_t h = hash(text);
        for (std::size_t slot = h & (heads_.size() - 1); heads_[slot] != 0; slot = (slot + 1) & (heads_.size() - 1)) {
            if (hashes_[slot] != h || store.at(heads_[slot] - 1) != text) continue;
            for (std::uint32_t e = heads_[slot]; e != 0; e = next_[e - 1]) {
                if (e - 1 > to) return npos;
                if (e - 1 >= from) return e - 1;
            }
            return npos;
        }
        return npos;
    }

    static std::uint32_t hash(std::string_view text) noexcept {
        std::uint32_t h = 2166136261u;  // FNV-1a
        for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    }

private:
    // A table of at least twice `want` slots (a power of two), rehashed.
    void resize_table(std::size_t want) {
        std::size_t size = 64;
        while (size < want * 2) size *= 2;
        std::vector<std::uint32_t> heads(size, 0), tails(size, 0), hashes(size, 0);
        for (std::size_t s = 0; s < heads_.size(); ++s) {
            if (heads_[s] == 0) continue;
            std::size_t slot = hashes_[s] & (size - 1);
            while (heads[slot] != 0) slot = (slot + 1) & (size - 1);
            heads[slot] = heads_[s];
            tails[slot] = tails_[s];
            hashes[slot] = hashes_[s];
        }
        heads_.swap(heads);
        tails_.swap(tails);
        hashes_.swap(hashes);
    }

    std::vector<std::uint32_t> heads_, tails_, hashes_, next_;
    std::size_t distinct_ = 0;
};

void EntryStore::DropIndex::operator()(EqualIndex* index) const noexcept { delete index; }

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
    if (index == slots_.size()) return append(text);
    drop_index();
    reserve_slots(slots_.size() + 1);
    const std::size_t offset = append_bytes(text);
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(index), Slot{offset, text.size()});
}

void EntryStore::append(std::string_view text) {
    reserve_slots(slots_.size() + 1);
    const std::size_t offset = append_bytes(text);
    slots_.push_back(Slot{offset, text.size()});
    if (index_) {
        try {
            index_->add(slots_.size() - 1, at(slots_.size() - 1), *this);
        } catch (const std::bad_alloc&) {
            drop_index();  // the entry stays; searches go back to the scan
        }
    }
}

void EntryStore::insert_extending(std::size_t index, std::string_view text) {
    if (index <= slots_.size()) return insert(index, text);
    drop_index();
    reserve_slots(index + 1);
    const std::size_t offset = append_bytes(text);
    slots_.resize(index, Slot{0, 0});
    slots_.push_back(Slot{offset, text.size()});
}

void EntryStore::store(std::size_t index, std::string_view text) {
    drop_index();
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
    drop_index();
    garbage_ += slots_[index].length;
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(index));
    if (slots_.empty()) {
        bytes_.clear();
        garbage_ = 0;
    }
}

void EntryStore::clear() noexcept {
    drop_index();
    std::vector<Slot>().swap(slots_);
    decltype(bytes_)().swap(bytes_);
    garbage_ = 0;
}


std::size_t EntryStore::find_equal(std::string_view text, std::size_t from, std::size_t to) {
    if (from > to || to >= slots_.size()) return npos;
    // A first search scans; a second one, with the entries unchanged since,
    // builds the index (a short list is always scanned).
    constexpr std::size_t kIndexFrom = 256;
    if (!index_ && slots_.size() >= kIndexFrom && ++equal_searches_ >= 2) {
        try {
            std::unique_ptr<EqualIndex, DropIndex> index(new EqualIndex(slots_.size()));
            for (std::size_t i = 0; i < slots_.size(); ++i) index->add(i, at(i), *this);
            index_ = std::move(index);
        } catch (const std::bad_alloc&) {
            // No room for an index: scan.
        }
    }
    if (index_) return index_->find(text, from, to, *this);
    for (std::size_t i = from; i <= to; ++i)
        if (at(i) == text) return i;
    return npos;
}

}  // namespace torvane
