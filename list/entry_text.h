#pragma once
// The entries of a List object: an ordered array of byte strings. Platform-free.
//
// All entry bytes live in one arena; each slot holds the offset and length of
// its entry there (16 bytes a slot on 64-bit, 8 on 32-bit). Overwritten and
// removed entries leave garbage in the arena, which is compacted away when
// the arena would otherwise grow. Empty entries take no arena bytes.
//
// Slot capacity is always a multiple of 1024: it grows to the larger of what
// is needed, 1024 more, and half as much again (so that a long run of appends
// costs amortised constant time). Every change obtains its new storage before
// it touches the old, so a failed allocation (std::bad_alloc) leaves the
// entries as they were. More than kMaxEntries entries are refused the same way.
#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace torvane {

// An allocator whose elements start uninitialised: growing the arena by n
// bytes that are written at once anyway does not clear them first.
template <typename T>
struct UninitAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = UninitAllocator<U>; };
    UninitAllocator() = default;
    template <typename U> UninitAllocator(const UninitAllocator<U>&) noexcept {}
    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... A> void construct(U* p, A&&... a) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
    }
};

class EntryStore {
public:
    static constexpr std::size_t kMaxEntries = std::size_t(1) << 27;
    static constexpr std::size_t kGrowthStep = 1024;

    std::size_t size() const { return slots_.size(); }
    std::size_t capacity() const { return slots_.capacity(); }
    std::string_view at(std::size_t i) const {
        const Slot& s = slots_[i];
        return std::string_view(s.length ? bytes_.data() + s.offset : "", s.length);
    }

    // Inserts text at index (index <= size()).
    void insert(std::size_t index, std::string_view text);
    // Appends text (insert at size()).
    void append(std::string_view text);
    // Inserts text at index; empty entries first fill the gap when index is
    // beyond the end.
    void insert_extending(std::size_t index, std::string_view text);
    // Writes text at index; empty entries first fill the gap when index is
    // beyond the end.
    void store(std::size_t index, std::string_view text);
    void erase(std::size_t index);
    // Removes every entry and releases the storage.
    void clear() noexcept;

    // The first entry in [from, to] (to < size()) whose bytes equal text, or
    // npos. A store searched again before it changes (appends aside) answers
    // from a hash index of its entries, built on that second search and kept
    // up to date by appends; any other change drops it.
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t find_equal(std::string_view text, std::size_t from, std::size_t to);
    bool has_equal_index() const noexcept { return index_ != nullptr; }

    // Arena bytes held, live and garbage (for tests of compaction).
    std::size_t arena_size() const { return bytes_.size(); }

private:
    struct Slot {
        std::size_t offset;
        std::size_t length;
    };

    void reserve_slots(std::size_t needed);
    // Appends text to the arena and returns its offset. The text may lie in
    // the arena itself.
    std::size_t append_bytes(std::string_view text);
    void release_bytes(const Slot& s) noexcept;

    // Hash index of the entries by their bytes (entry_text.cpp).
    class EqualIndex;
    struct DropIndex {
        void operator()(EqualIndex* index) const noexcept;
    };
    void drop_index() noexcept {
        index_.reset();
        equal_searches_ = 0;
    }

    std::vector<Slot> slots_;
    std::vector<char, UninitAllocator<char>> bytes_;
    std::size_t garbage_ = 0;
    std::unique_ptr<EqualIndex, DropIndex> index_;
    unsigned equal_searches_ = 0;  // since the last change other than an append
};

}  // namespace torvane
