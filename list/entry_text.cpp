#include "list/entry_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace torvane {

void EntryStore::reserve_slots(std::size_t needed) {
    if (needed > kMaxEntries) throw std::bad_alloc();
    slots_.reserve(needed);
}

void EntryStore::SlotBlocks::reserve(std::size_t n) {
    const std::size_t had = blocks_.size();
    try {
        while (capacity() < n) {
            if (blocks_.size() == blocks_.capacity()) blocks_.reserve(std::max<std::size_t>(16, blocks_.size() * 2));
            std::unique_ptr<Slot[]> block(new Slot[kBlock]);
            blocks_.push_back(std::move(block));  // no throw: the directory has room
        }
    } catch (const std::bad_alloc&) {
        trim(had);  // a huge request that failed must not keep what it got
        throw;
    }
}

void EntryStore::SlotBlocks::trim(std::size_t blocks) noexcept {
    while (blocks_.size() > blocks) blocks_.pop_back();
}

void EntryStore::SlotBlocks::insert(std::size_t index, Slot s) noexcept {
    // Every slot from index on moves up one place, block by block from the
    // last; the first slot of a block takes the last of the one before.
    constexpr std::size_t kLast = kBlock - 1;
    for (std::size_t b = size_ >> kBits;; --b) {
        Slot* block = blocks_[b].get();
        const std::size_t first = b << kBits;
        const std::size_t lo = std::max(index, first);
        const std::size_t hi = std::min(size_, first + kLast);
        if (hi > lo) std::memmove(block + (lo + 1 - first), block + (lo - first), (hi - lo) * sizeof(Slot));
        if (lo == index) break;
        block[0] = blocks_[b - 1][kLast];
    }
    (*this)[index] = s;
    ++size_;
}

void EntryStore::SlotBlocks::erase(std::size_t index) noexcept {
    // Every slot after index moves down one place, block by block from the
    // first; the last slot of a block takes the first of the one after.
    constexpr std::size_t kLast = kBlock - 1;
    const std::size_t last = size_ - 1;
    for (std::size_t b = index >> kBits;; ++b) {
        Slot* block = blocks_[b].get();
        const std::size_t first = b << kBits;
        const std::size_t lo = std::max(index, first);
        const std::size_t top = std::min(last, first + kLast);
        if (top > lo) std::memmove(block + (lo - first), block + (lo + 1 - first), (top - lo) * sizeof(Slot));
        if (top == last) break;
        block[kLast] = blocks_[b + 1][0];
    }
    size_ = last;
    // One spare block stays, so that erasing and appending at a block's edge
    // does not free and allocate every time.
    trim((size_ + 2 * kBlock - 1) >> kBits);
}

void EntryStore::SlotBlocks::grow_to(std::size_t n, Slot fill) noexcept {
    while (size_ < n) push_back(fill);
}

void EntryStore::SlotBlocks::release() noexcept {
    std::vector<std::unique_ptr<Slot[]>>().swap(blocks_);
    size_ = 0;
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
// `next` chains the entries of one text in ascending order. The table grows
// with the distinct texts, at most three quarters full: 16 to 32 bytes a
// distinct text, and 4 bytes an entry.
class EntryStore::EqualIndex {
public:
    explicit EqualIndex(std::size_t expected) {
        resize_table(64);
        next_.reserve(expected);
    }

    // Entry i (the store's last) holds text.
    void add(std::size_t i, std::string_view text, const EntryStore& store) {
        if (next_.size() <= i) next_.resize(i + 1, 0);
        if ((distinct_ + 1) * 4 > heads_.size() * 3) resize_table(heads_.size() * 2);  // load at most 3/4
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
    // The table at `size` slots (a power of two), rehashed.
    void resize_table(std::size_t size) {
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

const char* ByteChunks::put(std::string_view text) {
    const std::size_t n = text.size();
    if (n > static_cast<std::size_t>(-1) / 2 - used_) throw std::bad_alloc();
    char* at;
    if (n <= room_) {
        at = cursor_;
        cursor_ += n;
        room_ -= n;
    } else {
        constexpr std::size_t kMin = 4096, kMax = std::size_t(1) << 20;
        const std::size_t size = std::min(std::max(used_ / 8, kMin), kMax);
        if (n > size / 4) {
            at = add_chunk(n);  // a chunk of its own; the current one stays
        } else {
            at = add_chunk(size);
            cursor_ = at + n;
            room_ = size - n;
        }
    }
    copy_bytes(at, text.data(), n);
    used_ += n;
    return at;
}

char* ByteChunks::add_chunk(std::size_t size) {
    chunks_.reserve(chunks_.size() + 1);
    chunks_.emplace_back(new char[size]);  // no throw after the reserve and the allocation
    return chunks_.back().get();
}

void ByteChunks::swap(ByteChunks& other) noexcept {
    chunks_.swap(other.chunks_);
    std::swap(cursor_, other.cursor_);
    std::swap(room_, other.room_);
    std::swap(used_, other.used_);
}

void ByteChunks::clear() noexcept {
    ByteChunks none;
    swap(none);
}

const char* EntryStore::append_bytes(std::string_view text) {
    if (text.size() > UINT32_MAX) throw std::bad_alloc();  // a slot holds 32 bits of length
    if (text.empty()) return nullptr;
    if (!bytes_.fits(text.size()) && garbage_ > bytes_.used() - garbage_) {
        // Mostly garbage: the live entries move first (the text may be one
        // of them, so it is copied before the chunks go).
        const std::string copy(text);
        compact();
        return bytes_.put(copy);
    }
    return bytes_.put(text);
}

void EntryStore::compact() {
    ByteChunks fresh;
    std::vector<const char*> moved(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].length) moved[i] = fresh.put(at(i));
    for (std::size_t i = 0; i < slots_.size(); ++i) slots_[i].data = moved[i];
    bytes_.swap(fresh);
    garbage_ = 0;
}

void EntryStore::insert(std::size_t index, std::string_view text) {
    if (index == slots_.size()) return append(text);
    drop_index();
    reserve_slots(slots_.size() + 1);
    const char* data = append_bytes(text);
    slots_.insert(index, slot(data, text));
}

void EntryStore::append(std::string_view text) {
    reserve_slots(slots_.size() + 1);
    const char* data = append_bytes(text);
    slots_.push_back(slot(data, text));
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
    extend_to(index, text);
}

void EntryStore::extend_to(std::size_t index, std::string_view text) {
    reserve_slots(index + 1);
    const char* data = append_bytes(text);
    slots_.grow_to(index, Slot{nullptr, 0});
    slots_.push_back(slot(data, text));
}

void EntryStore::store(std::size_t index, std::string_view text) {
    drop_index();
    if (index >= slots_.size()) return extend_to(index, text);
    const char* data = append_bytes(text);  // may compact: read the old slot after it
    garbage_ += slots_[index].length;
    slots_[index] = slot(data, text);
}

void EntryStore::erase(std::size_t index) {
    drop_index();
    garbage_ += slots_[index].length;
    slots_.erase(index);
    if (slots_.empty()) {
        bytes_.clear();
        garbage_ = 0;
    }
}

void EntryStore::clear() noexcept {
    drop_index();
    slots_.release();
    bytes_.clear();
    garbage_ = 0;
}

void EntryStore::permute(const std::vector<std::uint32_t>& order) {
    if (order.size() != slots_.size()) throw std::invalid_argument("not an order of the entries");
    std::vector<Slot> old(slots_.size());
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (order[i] >= old.size()) throw std::invalid_argument("not an order of the entries");
        old[i] = slots_[i];
    }
    drop_index();
    for (std::size_t i = 0; i < old.size(); ++i) slots_[i] = old[order[i]];
}

void EntryStore::swap(EntryStore& other) noexcept {
    slots_.swap(other.slots_);
    bytes_.swap(other.bytes_);
    std::swap(garbage_, other.garbage_);
    index_.swap(other.index_);
    std::swap(equal_searches_, other.equal_searches_);
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
