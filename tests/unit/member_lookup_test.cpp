// Name lookup of every real class: the ASCII index must answer exactly as the
// table walk with the platform's case-insensitive comparison, for every
// member name and for spellings close to it; names the index declines
// (non-ASCII letters, punctuation the platform may ignore) take the walk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/dispatch.h"
#include "frame/member_index.h"
#include "frame/text.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

// The ScriptDialog object and every object its members hand out.
std::vector<ComPtr<IDispatch>> all_classes() {
    std::vector<ComPtr<IDispatch>> objects{new_script_dialog()};
    for (const wchar_t* maker : {L"CreateList", L"CreateForm", L"CreateOutputWindow"}) {
        auto r = call(objects[0].get(), maker);
        if (r.hr == S_OK) {
            auto d = as_dispatch(r.value);
            if (d) objects.push_back(d);
        }
    }
    return objects;
}

std::vector<std::wstring> spellings_near(const std::string& name) {
    std::wstring w(name.begin(), name.end());
    std::vector<std::wstring> out = {w};
    std::wstring upper = w, lower = w, mixed = w;
    for (std::size_t i = 0; i < w.size(); ++i) {
        upper[i] = static_cast<wchar_t>(::towupper(w[i]));
        lower[i] = static_cast<wchar_t>(::towlower(w[i]));
        mixed[i] = i % 2 ? upper[i] : lower[i];
    }
    out.insert(out.end(),
               {upper, lower, mixed, w + L"x", w.substr(0, w.size() - 1), L"x" + w, w + L"-",
                w.substr(0, 1) + L"-" + w.substr(1), w.substr(0, 1) + L"'" + w.substr(1),
                w.substr(0, 1) + L"_" + w.substr(1), w + L" ", L" " + w, w + L"\u00e9", L"\uff21" + w.substr(1)});
    std::wstring changed = w;
    changed[changed.size() / 2] = changed[changed.size() / 2] == L'z' ? L'y' : L'z';
    out.push_back(changed);
    return out;
}

}  // namespace

TEST(MemberLookup, EveryClassAnswersAsThePlatformComparison) {
    auto objects = all_classes();
    std::size_t checked = 0, indexed = 0;
    for (auto& object : objects) {
        const ClassInfo& cls = static_cast<DispatchObject*>(object.get())->class_info();
        const MemberIndex* index = member_index_for(cls);
        ASSERT_NE(nullptr, index) << cls.name;
        for (std::size_t row = 0; row < cls.table.count; ++row) {
            for (const std::wstring& name : spellings_near(cls.table.entries[row].name)) {
                const std::string ansi = to_ansi(name.c_str(), name.size());
                const DISPID walk = find_member_id(cls, ansi.c_str());
                EXPECT_EQ(walk, id_of(object.get(), name.c_str())) << cls.name << " " << ansi;
                DISPID fast = 12345;
                if (index->find(name.c_str(), fast)) {
                    EXPECT_EQ(walk, fast) << cls.name << " " << ansi;
                    ++indexed;
                }
                ++checked;
            }
        }
    }
    // The index must take the plain spellings: most of what was checked.
    EXPECT_GT(indexed, checked / 3);
}

TEST(MemberLookup, TheIndexDeclinesWhatOnlyThePlatformCanJudge) {
    auto sd = new_script_dialog();
    const MemberIndex* index = member_index_for(static_cast<DispatchObject*>(sd.get())->class_info());
    ASSERT_NE(nullptr, index);
    DISPID id = 0;
    for (const wchar_t* name :
         {L"", L"Tick-Count", L"Tick'Count", L"Tick Count", L"\uff34ickCount", L"TickCount\u00ad", L"Tick_Count"})
        EXPECT_FALSE(index->find(name, id)) << static_cast<int>(name[0]);
    ASSERT_TRUE(index->find(L"TICKCOUNT", id));
    EXPECT_EQ(5, id);
    ASSERT_TRUE(index->find(L"NoSuchMemberAtAll", id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
    const std::wstring long_name(100, L'a');
    ASSERT_TRUE(index->find(long_name.c_str(), id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
}

namespace {

// Rows that only have names: what the index holds, without handlers.
constexpr DispEntry named(const char* name) {
    return DispEntry{name, DISPID_UNKNOWN, nullptr, T_I4, 0, nullptr, nullptr, nullptr, nullptr};
}

// Names that share long prefixes, fall into one bucket, repeat in the base
// table, hold digits, or have one or two characters.
constexpr DispEntry kBaseRows[] = {named("Item"), named("Base"), named("ProfileValue"), named("P"), named("Q1")};
constexpr DispTable kBaseTable = make_table(kBaseRows);
// clang-format off
constexpr DispEntry kRows[] = {
    named("ProfilePath"), named("ProfileValue"), named("Profile"), named("ProfileValues"), named("Pr"),
    named("Item2"),       named("Item"),         named("ItemA"),   named("Items"),         named("I"),
    named("Log10"),       named("Log1"),         named("Log"),     named("x"),             named("X9"),
};
// clang-format on
const ClassInfo kNames = {"CNames", nullptr, make_table(kRows, &kBaseTable), nullptr};

}  // namespace

// Every name, each of its characters changed to characters that the masked
// compare must tell apart (control characters that look like digits with the
// case bit, the other case, neighbours, characters beyond ASCII), and its
// prefixes and extensions: the index answers as the walk, or declines.
TEST(MemberLookup, NamesOfOneBucketDigitsAndControlCharacters) {
    const MemberIndex* index = member_index_for(kNames);
    ASSERT_NE(nullptr, index);
    std::vector<std::wstring> names;
    const wchar_t swaps[] = {0x01, 0x10, 0x11, 0x19, 0x1A, L' ', L'0', L'1', L'9', L'@', L'[',  L'`',   L'{',
                             L'_', L'a', L'A', L'e', L'E', L'i', L'I', L'z', 0x7F, 0xC9, 0x130, 0x212A, 0xFF21};
    for (const DispTable* t = &kNames.table; t; t = t->base) {
        for (std::size_t r = 0; r < t->count; ++r) {
            const std::string n = t->entries[r].name;
            const std::wstring w(n.begin(), n.end());
            names.push_back(w);
            for (std::size_t k = 0; k <= w.size(); ++k) {
                names.push_back(w.substr(0, k));
                for (wchar_t c : swaps) {
                    if (k < w.size()) {
                        std::wstring changed = w;
                        changed[k] = c;
                        names.push_back(changed);
                    }
                    names.push_back(w.substr(0, k) + c + w.substr(k));
                }
            }
        }
    }
    std::size_t answered = 0;
    for (const std::wstring& name : names) {
        const std::string ansi = to_ansi(name.c_str(), name.size());
        const DISPID walk = find_member_id(kNames, ansi.c_str());
        const DISPID quick = index->lookup(name.c_str());
        if (quick != DISPID_UNKNOWN) {
            EXPECT_EQ(walk, quick) << ansi;
            ++answered;
        }
        DISPID found = 12345;
        if (index->find(name.c_str(), found)) {
            EXPECT_EQ(walk, found) << ansi;
        }
    }
    // Names with digits are left to the walk; every other name is answered.
    for (const char* n : {"profilepath", "PROFILEVALUE", "Profile", "profilevalues", "pr", "item", "ITEMA", "items",
                          "i", "log", "X", "base", "p"}) {
        const std::wstring w(n, n + std::strlen(n));
        EXPECT_EQ(find_member_id(kNames, n), index->lookup(w.c_str())) << n;
        EXPECT_NE(DISPID_UNKNOWN, index->lookup(w.c_str())) << n;
    }
    for (const wchar_t* n : {L"Item2", L"Log10", L"Log1", L"X9", L"Q1", L"Item\x12", L"Log\x11\x10"})
        EXPECT_EQ(DISPID_UNKNOWN, index->lookup(n)) << static_cast<int>(n[3]);
    EXPECT_EQ(2, index->lookup(L"profilevalue")) << "the table before its base";
    EXPECT_EQ(0x10002, index->lookup(L"BASE"));
    EXPECT_GT(answered, 100u);
}
