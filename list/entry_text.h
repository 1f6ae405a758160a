#pragma once
// The entries of a List object: an ordered array of byte strings. Platform-free.
//
// All entry bytes live in an arena of chunks (ByteChunks); each slot holds
// the address and the 32-bit length of its entry there (8 bytes a slot on
// 32-bit, 12 on 64-bit, where a text of 4 GiB or more is refused as too
// large). Overwritten and removed entries leave garbage in the arena, which
// is compacted away when the arena would otherwise grow and holds more
// garbage than live bytes. Empty entries take no arena bytes.
//
// The slots live in blocks of kGrowthStep that never move: growth adds a
// block and copies nothing, so a long run of appends costs constant time
// each, and the room held beyond the entries is under one block (plus the
// block directory). Every change obtains its new storage before it touches
// the old, so a failed allocation (std::bad_alloc) leaves the entries as they
// were. More than kMaxEntries entries are refused the same way.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace torvane {

// Bytes in chunks that never move: each text is copied whole into one chunk
// and keeps its address until the chunks are released. A new chunk is an
// eighth of the bytes held (4 KB to 1 MB), so the part not yet filled stays
// small; a text larger than a quarter chunk gets a chunk of its own. Growth
// never copies what is held, and needs no large contiguous block of address
// space (a 32-bit process has little of it).
class ByteChunks {
public:
    ByteChunks() = default;
    ByteChunks(const ByteChunks&) = delete;
    ByteChunks& operator=(const ByteChunks&) = delete;

    // A copy of text (non-empty). Throws std::bad_alloc, holding what it held.
    const char* put(std::string_view text);
    bool fits(std::size_t n) const noexcept { return n <= room_; }
    std::size_t used() const noexcept { return used_; }  // bytes handed out
    void swap(ByteChunks& other) noexcept;
    void clear() noexcept;

private:
    char* add_chunk(std::size_t size);

    std::vector<std::unique_ptr<char[]>> chunks_;
    char* cursor_ = nullptr;  // free space in the current chunk
    std::size_t room_ = 0;
    std::size_t used_ = 0;
};

class EntryStore {
public:
    static constexpr std::size_t kMaxEntries = std::size_t(1) << 27;
    static constexpr std::size_t kGrowthStep = 1024;

    std::size_t size() const { return slots_.size(); }
    std::size_t capacity() const { return slots_.capacity(); }
    std::string_view at(std::size_t i) const noexcept {
        const Slot& s = slots_[i];
        return std::string_view(s.length ? s.data : "", s.length);
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
    // Puts the entries in a new order: entry i becomes the one that was at
    // order[i] (order holds every old position once). Throws std::bad_alloc
    // with the order unchanged.
    void permute(const std::vector<std::uint32_t>& order);
    void swap(EntryStore& other) noexcept;

    // The first entry in [from, to] (to < size()) whose bytes equal text, or
    // npos. A store searched again before it changes (appends aside) answers
    // from a hash index of its entries, built on that second search and kept
    // up to date by appends; any other change drops it.
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t find_equal(std::string_view text, std::size_t from, std::size_t to);
    bool has_equal_index() const noexcept { return index_ != nullptr; }

    // Arena bytes held, live and garbage (for tests of compaction).
    std::size_t arena_size() const { return bytes_.used(); }

private:
#pragma pack(push, 4)
    struct Slot {
        const char* data;  // nullptr for an empty entry
        std::uint32_t length;
    };
#pragma pack(pop)

    // An array of slots in blocks of kGrowthStep. Positions past size() up
    // to capacity() are room, reserved by reserve(); insert, push_back and
    // grow_to need that room and do not allocate.
    class SlotBlocks {
    public:
        static constexpr unsigned kBits = 10;
        static constexpr std::size_t kBlock = std::size_t(1) << kBits;
        static_assert(kBlock == kGrowthStep, "capacity is counted in blocks");

        std::size_t size() const noexcept { return size_; }
        bool empty() const noexcept { return size_ == 0; }
        std::size_t capacity() const noexcept { return blocks_.size() * kBlock; }
        Slot& operator[](std::size_t i) noexcept { return blocks_[i >> kBits][i & (kBlock - 1)]; }
        const Slot& operator[](std::size_t i) const noexcept { return blocks_[i >> kBits][i & (kBlock - 1)]; }

        // Room for n slots. Throws std::bad_alloc, holding what it held.
        void reserve(std::size_t n);
        void push_back(Slot s) noexcept { (*this)[size_++] = s; }
        void insert(std::size_t index, Slot s) noexcept;
        // Appends copies of fill up to n slots.
        void grow_to(std::size_t n, Slot fill) noexcept;
        // Removes the slot at index; a second spare block is released.
        void erase(std::size_t index) noexcept;
        void release() noexcept;
        void swap(SlotBlocks& other) noexcept {
            blocks_.swap(other.blocks_);
            std::swap(size_, other.size_);
        }

    private:
        void trim(std::size_t blocks) noexcept;

        std::vector<std::unique_ptr<Slot[]>> blocks_;
        std::size_t size_ = 0;
    };

    static Slot slot(const char* data, std::string_view text) noexcept {
        return Slot{data, static_cast<std::uint32_t>(text.size())};  // checked by append_bytes
    }

    void reserve_slots(std::size_t needed);
    // Writes text at index (index >= size()), empty entries filling the gap.
    void extend_to(std::size_t index, std::string_view text);
    // Copies text into the arena and returns the copy (nullptr for an empty
    // text). The text may lie in the arena itself.
    const char* append_bytes(std::string_view text);
    // Moves the live entries into fresh chunks, leaving the garbage behind.
    void compact();
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

    SlotBlocks slots_;
    ByteChunks bytes_;
    std::size_t garbage_ = 0;
    std::unique_ptr<EqualIndex, DropIndex> index_;
    unsigned equal_searches_ = 0;  // since the last change other than an append
};

}  // namespace torvane
