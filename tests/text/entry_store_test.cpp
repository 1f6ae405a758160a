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

TEST(EntryStore, OverwritingCompactsTheArena) {
    EntryStore s;
    for (int i = 0; i < 100; ++i) s.insert(s.size(), "entry " + std::to_string(i));
    const std::string big(1000, 'x');
    for (int round = 0; round < 2000; ++round) s.store(static_cast<std::size_t>(round % 100), big + std::to_string(round));
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
