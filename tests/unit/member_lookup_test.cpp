// Name lookup of every real class: the ASCII index must answer exactly as the
// table walk with the platform's case-insensitive comparison, for every
// member name and for spellings close to it; names the index declines
// (non-ASCII letters, punctuation the platform may ignore) take the walk.
#include <gtest/gtest.h>

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
    out.insert(out.end(), {upper, lower, mixed, w + L"x", w.substr(0, w.size() - 1), L"x" + w, w + L"-",
                           w.substr(0, 1) + L"-" + w.substr(1), w.substr(0, 1) + L"'" + w.substr(1),
                           w.substr(0, 1) + L"_" + w.substr(1), w + L" ", L" " + w, w + L"\u00e9",
                           L"\uff21" + w.substr(1)});
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
    for (const wchar_t* name : {L"", L"Tick-Count", L"Tick'Count", L"Tick Count", L"\uff34ickCount",
                                L"TickCount\u00ad", L"Tick_Count"})
        EXPECT_FALSE(index->find(name, id)) << static_cast<int>(name[0]);
    ASSERT_TRUE(index->find(L"TICKCOUNT", id));
    EXPECT_EQ(5, id);
    ASSERT_TRUE(index->find(L"NoSuchMemberAtAll", id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
    const std::wstring long_name(100, L'a');
    ASSERT_TRUE(index->find(long_name.c_str(), id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
}
