// The List's entry storage: order, growth, compaction and refused growth.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "list/entry_text.h"

using torvane::EntryStore;

namespace {

std::vector<std::string> all(const EntryStore& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size(); ++i) out.emplace_back(s.at(i));
    return out;
}

using V = std::vector<std::string>;

TEST(EntryStore, InsertStoreEraseKeepOrder) {
    EntryStore s;
    s.insert(0, "b");
    s.insert(0, "a");
    s.insert(2, "d");
    s.insert(2, "c");
    EXPECT_EQ((V{"a", "b", "c", "d"}), all(s));
    s.store(1, "B-long-enough-to-move");
    s.erase(0);
    EXPECT_EQ((V{"B-long-enough-to-move", "c", "d"}), all(s));
    s.insert_extending(5, "f");
    EXPECT_EQ((V{"B-long-enough-to-move", "c", "d", "", "", "f"}), all(s));
    s.insert_extending(1, "x");
    EXPECT_EQ((V{"B-long-enough-to-move", "x", "c", "d", "", "", "f"}), all(s));
    s.store(8, "h");
    EXPECT_EQ((V{"B-long-enough-to-move", "x", "c", "d", "", "", "f", "", "h"}), all(s));
    s.store(8, "");
    EXPECT_EQ("", s.at(8));
}

TEST(EntryStore, CapacityGrowsInSteps) {
    EntryStore s;
    s.insert(0, "a");
    EXPECT_EQ(1024u, s.capacity());
    for (int i = 1; i < 1025; ++i) s.insert(s.size(), "a");
    EXPECT_EQ(2048u, s.capacity());
    s.store(5000, "z");
    EXPECT_EQ(5001u, s.size());
    EXPECT_EQ(0u, s.capacity() % 1024);
    EXPECT_GE(s.capacity(), 5001u);
    s.clear();
    EXPECT_EQ(0u, s.size());
    EXPECT_EQ(0u, s.capacity());
    EXPECT_EQ(0u, s.arena_size());
}

// Inserts and erases at and around the edges of the 1024-slot blocks, where
// a slot crosses from one block to the next.
TEST(EntryStore, InsertAndEraseAcrossBlockEdges) {
    EntryStore s;
    V model;
    for (int i = 0; i < 3000; ++i) {
        s.insert(s.size(), std::to_string(i));
        model.push_back(std::to_string(i));
    }
    const std::size_t at[] = {0, 1, 1022, 1023, 1024, 1025, 2047, 2048, 2999, 3000};
    int n = 0;
    for (std::size_t i : at) {
        const std::string text = "new" + std::to_string(n++);
        s.insert(i, text);
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(i), text);
        ASSERT_EQ(model, all(s)) << "insert at " << i;
    }
    for (std::size_t i : at) {
        s.erase(i);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
        ASSERT_EQ(model, all(s)) << "erase at " << i;
    }
    // Filling a block exactly, then inserting at its edge, needs a new block.
    while (s.size() < 4096) {
        s.insert(s.size(), "fill");
        model.push_back("fill");
    }
    EXPECT_EQ(4096u, s.capacity());
    s.insert(1024, "edge");
    model.insert(model.begin() + 1024, "edge");
    EXPECT_EQ(5120u, s.capacity());
    EXPECT_EQ(model, all(s));
    // Erasing keeps one spare block and gives the others back.
    while (s.size() > 100) {
        s.erase(s.size() / 2);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(model.size() / 2));
    }
    EXPECT_EQ(model, all(s));
    EXPECT_EQ(2048u, s.capacity());
}

TEST(EntryStore, OverwritingCompactsTheArena) {
    EntryStore s;
    for (int i = 0; i < 100; ++i) s.insert(s.size(), "entry " + std::to_string(i));
    const std::string big(1000, 'x');
    for (int round = 0; round < 2000; ++round)
        s.store(static_cast<std::size_t>(round % 100), big + std::to_string(round));
    // Live bytes are about 100 KB; the garbage of 2 MB written was reclaimed.
    EXPECT_LT(s.arena_size(), 500000u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(big + std::to_string(1900 + i), s.at(static_cast<std::size_t>(i))) << i;
}

TEST(EntryStore, StoringAnEntryIntoItselfSurvivesArenaGrowth) {
    EntryStore s;
    s.insert(0, std::string(5000, 'q'));
    for (int i = 0; i < 20; ++i) {
        const std::string_view own = s.at(0);
        s.insert(s.size(), own);
    }
    for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(std::string(5000, 'q'), s.at(i)) << i;
}

TEST(EntryStore, GrowthBeyondTheLimitIsRefusedAndKeepsTheEntries) {
    EntryStore s;
    s.insert(0, "kept");
    EXPECT_THROW(s.store(EntryStore::kMaxEntries, "x"), std::bad_alloc);
    EXPECT_THROW(s.insert_extending(0x7FFFFFFF, "x"), std::bad_alloc);
    EXPECT_EQ((V{"kept"}), all(s));
    // A slot's length has 32 bits: a longer text (64-bit only) is refused
    // before any of its bytes are read, in every way of writing it.
    if constexpr (sizeof(std::size_t) > 4) {
        static const char byte = 'x';
        const std::string_view huge(&byte, std::size_t(0xFFFFFFFF) + 1);
        EXPECT_THROW(s.append(huge), std::bad_alloc);
        EXPECT_THROW(s.insert(0, huge), std::bad_alloc);
        EXPECT_THROW(s.store(0, huge), std::bad_alloc);
        EXPECT_THROW(s.store(5, huge), std::bad_alloc);
        EXPECT_EQ((V{"kept"}), all(s));
    }
}

TEST(EntryStore, EmptyingByErasureReleasesArenaBytes) {
    EntryStore s;
    for (int i = 0; i < 10; ++i) s.insert(s.size(), "abcdef");
    while (s.size()) s.erase(s.size() - 1);
    EXPECT_EQ(0u, s.arena_size());
    s.insert(0, "new");
    EXPECT_EQ((V{"new"}), all(s));
}

}  // namespace

// Equality search, scanning or indexed, against a plain scan of a copy, over
// a random run of every kind of change: few distinct texts (long chains of
// equal entries), embedded zeros, empty entries, and searches from anywhere.
TEST(EntryStoreFindEqual, AnswersAsAScanThroughEveryChange) {
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const std::string texts[] = {"", "a", "b", "ab", std::string("a\0b", 3), "\x83\x5C", "item0000123", "z"};
    auto pick = [&] { return texts[next(8)]; };

    EntryStore s;
    V copy;
    bool indexed = false;
    for (int step = 0; step < 20000; ++step) {
        const std::uint32_t what = next(100);
        if (what < 55 || copy.size() < 300) {
            const std::string t = pick();
            s.append(t);
            copy.push_back(t);
        } else if (what < 60) {
            const std::size_t i = next(static_cast<std::uint32_t>(copy.size()) + 1);
            const std::string t = pick();
            s.insert(i, t);
            copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(i), t);
        } else if (what < 63) {
            const std::size_t i = next(static_cast<std::uint32_t>(copy.size()));
            s.erase(i);
            copy.erase(copy.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (what < 66) {
            const std::size_t i = next(static_cast<std::uint32_t>(copy.size()));
            const std::string t = pick();
            s.store(i, t);
            copy[i] = t;
        } else if (what == 66 && step % 7 == 0) {
            s.clear();
            copy.clear();
        } else {
            const std::string t = what < 98 ? pick() : std::string("absent");
            const std::size_t from = next(static_cast<std::uint32_t>(copy.size()));
            const std::size_t to = from + next(static_cast<std::uint32_t>(copy.size() - from));
            std::size_t want = EntryStore::npos;
            for (std::size_t i = from; i <= to; ++i)
                if (copy[i] == t) {
                    want = i;
                    break;
                }
            ASSERT_EQ(want, s.find_equal(t, from, to)) << "step " << step << ", from " << from << " to " << to;
            indexed = indexed || s.has_equal_index();
        }
    }
    EXPECT_EQ(copy, all(s));
    EXPECT_TRUE(indexed) << "the run never searched an unchanged store twice";
}

TEST(EntryStoreFindEqual, IndexFollowsAppendsAndIsDroppedByOtherChanges) {
    EntryStore s;
    for (int i = 0; i < 1000; ++i) s.append("e" + std::to_string(i % 100));
    EXPECT_EQ(5u, s.find_equal("e5", 0, 999));
    EXPECT_FALSE(s.has_equal_index()) << "a first search scans";
    EXPECT_EQ(105u, s.find_equal("e5", 6, 999));
    EXPECT_TRUE(s.has_equal_index());
    s.append("new");
    EXPECT_TRUE(s.has_equal_index());
    EXPECT_EQ(1000u, s.find_equal("new", 0, 1000));
    EXPECT_EQ(EntryStore::npos, s.find_equal("new", 0, 999)) << "beyond the range";
    EXPECT_EQ(EntryStore::npos, s.find_equal("e5", 906, 1000));
    s.store(0, "x");
    EXPECT_FALSE(s.has_equal_index());
    EXPECT_EQ(0u, s.find_equal("x", 0, 1000));
    EXPECT_EQ(EntryStore::npos, s.find_equal("x", 1, 0)) << "an empty range";
    EXPECT_EQ(EntryStore::npos, s.find_equal("x", 0, 1001)) << "a range beyond the end";
}

// Appends never move what the arena holds (growth adds chunks), and texts of
// any size interleave: megabyte entries get chunks of their own while short
// ones keep filling the current chunk.
TEST(EntryStore, GrowthKeepsEntriesInPlace) {
    EntryStore s;
    s.append("first");
    const char* first = s.at(0).data();
    V want{"first"};
    for (int i = 0; i < 200000; ++i) {
        std::string t =
            i % 50000 == 7 ? std::string(3u << 20, static_cast<char>('a' + i % 26)) : "e" + std::to_string(i);
        s.append(t);
        want.push_back(std::move(t));
    }
    EXPECT_EQ(first, s.at(0).data());
    EXPECT_EQ(want, all(s));
    std::size_t live = 0;
    for (const std::string& t : want) live += t.size();
    EXPECT_EQ(live, s.arena_size());
}
