// The List object through IDispatch: its table, exact result types, the
// storage members, the column members and search, and hostile arguments.
#include <gtest/gtest.h>

#include "frame/guids.h"
#include "list/list.h"
#include "frame/text.h"
#include "support/code_object.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

const wchar_t* const kMembers[] = {
    L"ColReturnNull",
    L"ColSeparateChar",
    L"ColSeparateShortSpace",
    L"Count",
    L"LastValue",
    L"AddHead",
    L"AddTail",
    L"Insert",
    L"RemoveHead",
    L"RemoveTail",
    L"Remove",
    L"RemoveAll",
    L"ChangeTerminateChar",
    L"Find",
    L"FindCol",
    L"Value",
    L"ColCount",
    L"ColValue",
};

ComPtr<IDispatch> new_list() {
    auto sd = new_script_dialog();
    auto made = call(sd.get(), L"CreateList");
    EXPECT_EQ(S_OK, made.hr);
    EXPECT_EQ(VT_UNKNOWN, made.value.vt());
    return as_dispatch(made.value);
}

LONG i4(const CallResult& r) {
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_I4, r.value.vt());
    return r.value.vt() == VT_I4 ? r.value.get().lVal : -9999;
}

void add(IDispatch* list, const wchar_t* text) { EXPECT_EQ(0, i4(call(list, L"AddTail", Args().str(text)))); }

// Every entry, in order.
std::vector<std::wstring> entries(IDispatch* list) {
    std::vector<std::wstring> out;
    const LONG n = i4(get(list, L"Count"));
    for (LONG i = 0; i < n; ++i) out.push_back(as_wstring(get(list, L"Value", Args().i4(i)).value));
    return out;
}
using W = std::vector<std::wstring>;

TEST(List, MemberIdsAreTablePositionsAndValueIsTheDefault) {
    auto list = new_list();
    for (std::size_t i = 0; i < std::size(kMembers); ++i)
        EXPECT_EQ(static_cast<DISPID>(i + 1), id_of(list.get(), kMembers[i])) << "member " << i;
    add(list.get(), L"zero");
    add(list.get(), L"one");
    auto by_default = invoke(list.get(), DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, Args().i4(1));
    EXPECT_EQ(L"one", as_wstring(by_default.value));
    EXPECT_EQ(S_OK, invoke(list.get(), DISPID_VALUE, DISPATCH_PROPERTYPUT, Args().i4(0).str(L"null")).hr);
    EXPECT_EQ((W{L"null", L"one"}), entries(list.get()));
}

TEST(List, AnswersItsOwnInterface) {
    auto list = new_list();
    ComPtr<IUnknown> own;
    EXPECT_EQ(S_OK, list->QueryInterface(IID_IListEx, reinterpret_cast<void**>(own.put())));
    ComPtr<IUnknown> other;
    EXPECT_EQ(E_NOINTERFACE, list->QueryInterface(IID_IScriptDialog, reinterpret_cast<void**>(other.put())));
}

TEST(List, NewListAndSettings) {
    auto list = new_list();
    EXPECT_EQ(0, i4(get(list.get(), L"Count")));
    EXPECT_EQ(VT_NULL, get(list.get(), L"LastValue").value.vt());
    EXPECT_EQ(VT_NULL, get(list.get(), L"Value", Args().i4(0)).value.vt());
    EXPECT_EQ(-1, i4(call(list.get(), L"RemoveHead")));
    EXPECT_EQ(-1, i4(call(list.get(), L"RemoveTail")));
    EXPECT_EQ(L" \t", as_wstring(get(list.get(), L"ColSeparateChar").value));
    auto ssp = get(list.get(), L"ColSeparateShortSpace");
    ASSERT_EQ(VT_BOOL, ssp.value.vt());
    EXPECT_EQ(VARIANT_TRUE, ssp.value.get().boolVal);
    auto crn = get(list.get(), L"ColReturnNull");
    ASSERT_EQ(VT_BOOL, crn.value.vt());
    EXPECT_EQ(VARIANT_FALSE, crn.value.get().boolVal);
}

TEST(List, CountAndColCountAreReadOnly) {
    auto list = new_list();
    add(list.get(), L"a b");
    auto count = put(list.get(), L"Count", Args().i4(3));
    EXPECT_EQ(DISP_E_EXCEPTION, count.hr);
    EXPECT_EQ(61837, count.excep.wCode);
    auto cols = put(list.get(), L"ColCount", Args().i4(0).i2(3));
    EXPECT_EQ(DISP_E_EXCEPTION, cols.hr);
    EXPECT_EQ(61837, cols.excep.wCode);
    EXPECT_EQ(1, i4(get(list.get(), L"Count")));
}

TEST(List, StorageMembers) {
    auto list = new_list();
    add(list.get(), L"b");
    EXPECT_EQ(0, i4(call(list.get(), L"AddHead", Args().str(L"a"))));
    EXPECT_EQ(0, i4(call(list.get(), L"Insert", Args().i4(5).str(L"f"))));
    EXPECT_EQ((W{L"a", L"b", L"", L"", L"", L"f"}), entries(list.get()));
    EXPECT_EQ(0, i4(call(list.get(), L"Insert", Args().i4(1).str(L"x"))));
    EXPECT_EQ((W{L"a", L"x", L"b", L"", L"", L"", L"f"}), entries(list.get()));
    // A negative index inserts nothing.
    EXPECT_EQ(-1, i4(call(list.get(), L"Insert", Args().i4(-1).str(L"neg"))));
    EXPECT_EQ(-1, i4(call(list.get(), L"Insert", Args().i4(INT_MIN).str(L"neg"))));
    EXPECT_EQ(7, i4(get(list.get(), L"Count")));
    EXPECT_EQ(6, i4(call(list.get(), L"Remove", Args().i4(7))));
    EXPECT_EQ(6, i4(call(list.get(), L"Remove", Args().i4(-1))));
    EXPECT_EQ(6, i4(call(list.get(), L"Remove", Args().i4(INT_MAX))));
    EXPECT_EQ(5, i4(call(list.get(), L"Remove", Args().i4(2))));
    EXPECT_EQ(4, i4(call(list.get(), L"RemoveHead")));
    EXPECT_EQ(3, i4(call(list.get(), L"RemoveTail")));
    EXPECT_EQ((W{L"x", L"", L"", L""}), entries(list.get()));
    EXPECT_EQ(VT_EMPTY, call(list.get(), L"RemoveAll").value.vt());
    EXPECT_EQ(0, i4(get(list.get(), L"Count")));
    add(list.get(), L"only");
    EXPECT_EQ(-1, i4(call(list.get(), L"RemoveHead")));
    EXPECT_EQ(0, i4(get(list.get(), L"Count")));
}

TEST(List, ValuePutConvertsAndExtends) {
    auto list = new_list();
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(3).i4(12)).hr);
    EXPECT_EQ((W{L"", L"", L"", L"12"}), entries(list.get()));
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(-1).str(L"no")).hr);
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(INT_MIN).str(L"no")).hr);
    EXPECT_EQ(4, i4(get(list.get(), L"Count")));
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(0).null()).hr);
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(1).r8(2.5)).hr);
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(2).boolean(true)).hr);
    VARIANT err;
    ::VariantInit(&err);
    err.vt = VT_ERROR;
    err.scode = E_FAIL;
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(3).variant(err)).hr);
    EXPECT_EQ((W{L"", L"2.5", L"-1", L""}), entries(list.get()));
    // A value put into a VARIANT read by reference.
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_I4;
    target.lVal = 77;
    EXPECT_EQ(S_OK, put(list.get(), L"Value", Args().i4(0).byref(&target)).hr);
    EXPECT_EQ(L"77", as_wstring(get(list.get(), L"Value", Args().i4(0)).value));
}

TEST(List, LastValue) {
    auto list = new_list();
    EXPECT_EQ(S_OK, put(list.get(), L"LastValue", Args().str(L"first")).hr);
    EXPECT_EQ((W{L"first"}), entries(list.get()));
    add(list.get(), L"b");
    add(list.get(), L"c");
    EXPECT_EQ(S_OK, put(list.get(), L"LastValue", Args().str(L"C")).hr);
    EXPECT_EQ((W{L"first", L"b", L"C"}), entries(list.get()));
    EXPECT_EQ(L"C", as_wstring(get(list.get(), L"LastValue").value));
}

TEST(List, GrowthBeyondTheLimitIsTheMemoryErrorAndKeepsTheList) {
    auto list = new_list();
    add(list.get(), L"kept");
    for (LONG index : {LONG(INT_MAX), LONG(1) << 27, LONG(0x40000000)}) {
        auto r = put(list.get(), L"Value", Args().i4(index).str(L"x"));
        EXPECT_EQ(DISP_E_EXCEPTION, r.hr) << index;
        EXPECT_EQ(61706, r.excep.wCode) << index;
        auto ins = call(list.get(), L"Insert", Args().i4(index).str(L"x"));
        EXPECT_EQ(61706, ins.excep.wCode) << index;
        auto col = put(list.get(), L"ColValue", Args().i4(index).i2(0).str(L"x"));
        EXPECT_EQ(61706, col.excep.wCode) << index;
    }
    EXPECT_EQ((W{L"kept"}), entries(list.get()));
}

TEST(List, ColumnMembers) {
    auto list = new_list();
    add(list.get(), L"a  b");
    add(list.get(), L"");
    add(list.get(), L"a\tb");
    auto cc = get(list.get(), L"ColCount", Args().i4(0));
    ASSERT_EQ(VT_I2, cc.value.vt());
    EXPECT_EQ(2, cc.value.get().iVal);
    EXPECT_EQ(1, get(list.get(), L"ColCount", Args().i4(1)).value.get().iVal);
    EXPECT_EQ(0, get(list.get(), L"ColCount", Args().i4(3)).value.get().iVal);
    EXPECT_EQ(0, get(list.get(), L"ColCount", Args().i4(-1)).value.get().iVal);
    EXPECT_EQ(L"b", as_wstring(get(list.get(), L"ColValue", Args().i4(0).i2(1)).value));
    EXPECT_EQ(L"", as_wstring(get(list.get(), L"ColValue", Args().i4(0).i2(5)).value));
    EXPECT_EQ(L"", as_wstring(get(list.get(), L"ColValue", Args().i4(0).i2(-1)).value));
    EXPECT_EQ(L"", as_wstring(get(list.get(), L"ColValue", Args().i4(9).i2(0)).value));
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateShortSpace", Args().boolean(false)).hr);
    EXPECT_EQ(3, get(list.get(), L"ColCount", Args().i4(0)).value.get().iVal);
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateShortSpace", Args().boolean(true)).hr);

    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(2).i2(0).str(L"x")).hr);
    EXPECT_EQ(L"x b", as_wstring(get(list.get(), L"Value", Args().i4(2)).value));
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(-1).i2(2).str(L"t")).hr);
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(6).i2(0).str(L"s")).hr);
    EXPECT_EQ((W{L"a  b", L"", L"x b", L"  t", L"", L"", L"s"}), entries(list.get()));

    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str(L"")).hr);
    EXPECT_EQ(0, get(list.get(), L"ColCount", Args().i4(0)).value.get().iVal);
    EXPECT_EQ(L"", as_wstring(get(list.get(), L"ColValue", Args().i4(0).i2(0)).value));
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(2).i2(2).str(L"+")).hr);
    EXPECT_EQ(L"x b+", as_wstring(get(list.get(), L"Value", Args().i4(2)).value));
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(2).i2(0).str(L"whole")).hr);
    EXPECT_EQ(L"whole", as_wstring(get(list.get(), L"Value", Args().i4(2)).value));
}

TEST(List, ChangeTerminateChar) {
    auto list = new_list();
    auto ctc = [&](LONG s, LONG e, const wchar_t* sep, Args extra) {
        auto r = extra.size() ? call(list.get(), L"ChangeTerminateChar",
                                     Args().i4(s).i4(e).str(sep).variant(extra.values()[0].get()))
                              : call(list.get(), L"ChangeTerminateChar", Args().i4(s).i4(e).str(sep));
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(VT_BOOL, r.value.vt());
        return r.value.get().boolVal != VARIANT_FALSE;
    };
    EXPECT_FALSE(ctc(0, -1, L",", Args()));
    add(list.get(), L" a b");
    add(list.get(), L"a  b");
    add(list.get(), L"c\td");
    EXPECT_FALSE(ctc(3, 9, L",", Args()));
    EXPECT_TRUE(ctc(2, 1, L",", Args()));
    EXPECT_EQ((W{L" a b", L"a  b", L"c\td"}), entries(list.get()));
    EXPECT_TRUE(ctc(-5, 1, L",", Args()));
    EXPECT_EQ((W{L"a,b", L"a,b", L"c\td"}), entries(list.get()));
    // Make default: only a present, convertible, non-zero value changes the setting.
    EXPECT_TRUE(ctc(2, 2, L"::", Args().str(L"x")));
    EXPECT_TRUE(ctc(2, 1, L"::", Args().i4(70000)));
    EXPECT_TRUE(ctc(2, 1, L"::", Args().null()));
    EXPECT_TRUE(ctc(2, 1, L"::", Args().i2(0)));
    EXPECT_EQ(L" \t", as_wstring(get(list.get(), L"ColSeparateChar").value));
    EXPECT_EQ(L"c::d", as_wstring(get(list.get(), L"Value", Args().i4(2)).value));
    EXPECT_TRUE(ctc(2, 1, L";", Args().boolean(true)));
    EXPECT_EQ(L";", as_wstring(get(list.get(), L"ColSeparateChar").value));
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateShortSpace", Args().boolean(false)).hr);
    put(list.get(), L"Value", Args().i4(0).str(L"a;;b"));
    EXPECT_TRUE(ctc(0, 0, L"", Args()));
    EXPECT_EQ(L"ab", as_wstring(get(list.get(), L"Value", Args().i4(0)).value));
    put(list.get(), L"Value", Args().i4(1).str(L"p;q"));
    EXPECT_EQ(2, get(list.get(), L"ColCount", Args().i4(1)).value.get().iVal);
}

}  // namespace

namespace {

LONG find(IDispatch* list, LONG s, LONG e, const wchar_t* text, const Args& mode = Args()) {
    if (mode.size()) return i4(call(list, L"Find", Args().i4(s).i4(e).str(text).variant(mode.values()[0].get())));
    return i4(call(list, L"Find", Args().i4(s).i4(e).str(text)));
}

LONG find_col(IDispatch* list, LONG s, LONG e, SHORT col, const wchar_t* text, const Args& mode = Args()) {
    if (mode.size())
        return i4(call(list, L"FindCol", Args().i4(s).i4(e).i2(col).str(text).variant(mode.values()[0].get())));
    return i4(call(list, L"FindCol", Args().i4(s).i4(e).i2(col).str(text)));
}

TEST(List, FindModesAndRanges) {
    auto list = new_list();
    EXPECT_EQ(-1, find(list.get(), 0, -1, L""));
    for (auto* t : {L"", L"cab", L"abc", L"ab", L"", L"x ab"}) add(list.get(), t);
    EXPECT_EQ(1, find(list.get(), 0, -1, L""));
    EXPECT_EQ(1, find(list.get(), 0, -1, L"ab"));
    EXPECT_EQ(2, find(list.get(), 0, -1, L"ab", Args().i2(1)));
    EXPECT_EQ(3, find(list.get(), 0, -1, L"ab", Args().i2(2)));
    EXPECT_EQ(0, find(list.get(), 0, -1, L"", Args().i2(2)));
    EXPECT_EQ(4, find(list.get(), 1, -1, L"", Args().i2(2)));
    EXPECT_EQ(5, find(list.get(), 4, 99, L"ab"));
    EXPECT_EQ(-1, find(list.get(), 4, 3, L"ab"));
    EXPECT_EQ(-1, find(list.get(), INT_MAX, -1, L"ab"));
    EXPECT_EQ(1, find(list.get(), INT_MIN, INT_MIN, L"ab"));
    EXPECT_EQ(-1, find(list.get(), 0, -1, L"AB"));
    // Modes that are absent or do not convert count as 0.
    EXPECT_EQ(1, find(list.get(), 0, -1, L"ab", Args().null()));
    EXPECT_EQ(1, find(list.get(), 0, -1, L"ab", Args().str(L"two")));
    EXPECT_EQ(1, find(list.get(), 0, -1, L"ab", Args().i4(65538)));
    EXPECT_EQ(2, find(list.get(), 0, -1, L"ab", Args().str(L"1")));
    EXPECT_EQ(1, find(list.get(), 0, -1, L"ab", Args().i2(7)));
    // Columns: field 1 of each entry; entries without it compare as empty.
    EXPECT_EQ(5, find_col(list.get(), 0, -1, 1, L"ab", Args().i2(2)));
    EXPECT_EQ(0, find_col(list.get(), 0, -1, 1, L"", Args().i2(2)));
    EXPECT_EQ(5, find_col(list.get(), 0, -1, 1, L""));
    EXPECT_EQ(-1, find_col(list.get(), 0, -1, 32767, L"", Args().i2(1)));
    EXPECT_EQ(2, find_col(list.get(), 0, -1, -5, L"ab", Args().i2(1)));
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str(L"")).hr);
    EXPECT_EQ(5, find_col(list.get(), 0, -1, 0, L"x ab", Args().i2(2)));
}

// Japanese entries under code page 932: katakana "so" (U+30BD) is 0x83 0x5C,
// its trail byte a backslash; U+30A2 is 0x83 0x41, its trail byte "A".
TEST(List, DoubleByteEntriesUnderTheProcessCodePage) {
    if (::GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    auto list = new_list();
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str(L"\\")).hr);
    add(list.get(), L"\u30BD");
    add(list.get(), L"\u30BD\\x");
    add(list.get(), L"\u30A2\u30A2");
    EXPECT_EQ(1, get(list.get(), L"ColCount", Args().i4(0)).value.get().iVal);
    EXPECT_EQ(2, get(list.get(), L"ColCount", Args().i4(1)).value.get().iVal);
    EXPECT_EQ(L"\u30BD", as_wstring(get(list.get(), L"ColValue", Args().i4(1).i2(0)).value));
    EXPECT_EQ(1, find(list.get(), 0, -1, L"\\"));
    EXPECT_EQ(-1, find(list.get(), 0, -1, L"A"));
    EXPECT_EQ(2, find(list.get(), 0, -1, L"\u30A2", Args().i2(1)));
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(0).i2(1).str(L"\u65E5")).hr);
    EXPECT_EQ(L"\u30BD\\\u65E5", as_wstring(get(list.get(), L"Value", Args().i4(0)).value));
    // A double-byte first character of the setting is never the joiner.
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str(L"\u30BD,")).hr);
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(2).i2(1).str(L"y")).hr);
    EXPECT_EQ(L"\u30A2\u30A2,y", as_wstring(get(list.get(), L"Value", Args().i4(2)).value));
}

TEST(List, MegabyteEntries) {
    auto list = new_list();
    std::wstring big(3 << 20, L'a');
    big[1 << 20] = L' ';
    big.back() = L'z';
    add(list.get(), big.c_str());
    EXPECT_EQ(2, get(list.get(), L"ColCount", Args().i4(0)).value.get().iVal);
    EXPECT_EQ(0, find(list.get(), 0, -1, L"az"));
    EXPECT_EQ(0, find_col(list.get(), 0, -1, 1, L"a", Args().i2(1)));
    EXPECT_EQ(S_OK, put(list.get(), L"ColValue", Args().i4(0).i2(0).str(L"b")).hr);
    const std::wstring rebuilt = as_wstring(get(list.get(), L"Value", Args().i4(0)).value);
    EXPECT_EQ(big.size() - (1 << 20) + 1, rebuilt.size());
    EXPECT_EQ(L"b a", rebuilt.substr(0, 3));
    // Every character a separator: 3 million fields, counted to 32767.
    std::wstring spaces(3 << 20, L'\t');
    add(list.get(), spaces.c_str());
    EXPECT_EQ(32767, get(list.get(), L"ColCount", Args().i4(1)).value.get().iVal);
    EXPECT_EQ(L"", as_wstring(get(list.get(), L"ColValue", Args().i4(1).i2(32767)).value));
    EXPECT_TRUE(call(list.get(), L"ChangeTerminateChar", Args().i4(1).i4(1).str(L"<>")).value.get().boolVal);
    EXPECT_EQ(L"", as_wstring(get(list.get(), L"Value", Args().i4(1)).value));
}

TEST(List, TextsWithZerosAndLongSeparators) {
    auto list = new_list();
    EXPECT_EQ(0, i4(call(list.get(), L"AddTail", Args().str_len(L"a\0b c", 5))));
    EXPECT_EQ(std::wstring(L"a\0b c", 5), as_wstring(get(list.get(), L"Value", Args().i4(0)).value));
    EXPECT_EQ(std::wstring(L"a\0b", 3), as_wstring(get(list.get(), L"ColValue", Args().i4(0).i2(0)).value));
    EXPECT_EQ(0, i4(call(list.get(), L"Find", Args().i4(0).i4(0).str_len(L"\0b", 2))));
    // The separator setting ends at its first zero.
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str_len(L"\0 ", 2)).hr);
    EXPECT_EQ(0, get(list.get(), L"ColCount", Args().i4(0)).value.get().iVal);
    const std::wstring sep(100000, L'-');
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str(L" ")).hr);
    EXPECT_TRUE(call(list.get(), L"ChangeTerminateChar", Args().i4(0).i4(0).str(sep.c_str())).value.get().boolVal);
    EXPECT_EQ(std::wstring(L"a\0b", 3) + sep + L"c", as_wstring(get(list.get(), L"Value", Args().i4(0)).value));
}

}  // namespace

// Arguments whose conversion runs code that changes the list: every member
// converts first and works on the list as the code left it.
namespace {

// Appends "entryI" for I from `from` up to `to` - 1.
void add_numbered(IDispatch* list, int from, int to) {
    for (int i = from; i < to; ++i) add(list, (L"entry" + std::to_wstring(i)).c_str());
}

ComPtr<IDispatch> numbered_list(int n) {
    auto list = new_list();
    add_numbered(list.get(), 0, n);
    return list;
}

TEST(ListConversions, FindSearchesTheListAsTheConversionLeftIt) {
    auto list = numbered_list(3000);
    IDispatch* l = list.get();
    const SHORT contains = 0, exact = 2;
    auto empty_it = [&](SHORT mode) { return code_object([l] { call(l, L"RemoveAll"); }, Variant::i2(mode)); };
    for (SHORT mode : {contains, exact}) {
        auto mode_arg = empty_it(mode);
        EXPECT_EQ(-1, i4(call(l, L"Find", Args().i4(0).i4(-1).str(L"zzz").dispatch(mode_arg.get())))) << mode;
        EXPECT_EQ(1, mode_arg->calls);
        add_numbered(l, 0, 3000);
        auto col_arg = empty_it(mode);
        EXPECT_EQ(-1, i4(call(l, L"FindCol", Args().i4(0).i4(-1).i2(0).str(L"zzz").dispatch(col_arg.get())))) << mode;
        add_numbered(l, 0, 3000);
    }
    // Shrunk to 1000 entries: nothing beyond them is found.
    auto shrink = [l](SHORT mode) {
        return code_object(
            [l] {
                while (i4(get(l, L"Count")) > 1000) call(l, L"RemoveTail");
            },
            Variant::i2(mode));
    };
    auto exact_arg = shrink(exact);
    EXPECT_EQ(-1, i4(call(l, L"Find", Args().i4(0).i4(2999).str(L"entry2048").dispatch(exact_arg.get()))));
    EXPECT_EQ(1000, i4(get(l, L"Count")));
    add_numbered(l, 1000, 3000);
    auto contains_arg = shrink(contains);
    EXPECT_EQ(-1, i4(call(l, L"FindCol", Args().i4(1500).i4(-1).i2(0).str(L"entry2").dispatch(contains_arg.get()))));
    // Entries the conversion adds are searched.
    auto grow = code_object([l] { add(l, L"late"); }, Variant::i2(exact));
    EXPECT_EQ(1000, i4(call(l, L"Find", Args().i4(0).i4(-1).str(L"late").dispatch(grow.get()))));
}

TEST(ListConversions, ChangeTerminateCharRejoinsTheEntriesAfterTheConversion) {
    auto list = new_list();
    IDispatch* l = list.get();
    add(l, L"a b");
    auto grow = code_object([l] { add(l, L"c d"); }, Variant::i2(1));
    EXPECT_EQ(VARIANT_TRUE,
              call(l, L"ChangeTerminateChar", Args().i4(0).i4(-1).str(L",").dispatch(grow.get())).value.get().boolVal);
    EXPECT_EQ((W{L"a,b", L"c,d"}), entries(l));
    EXPECT_EQ(L",", as_wstring(get(l, L"ColSeparateChar").value));
    // Emptied by the conversion: nothing to change, and the setting stays.
    auto empty_it = code_object([l] { call(l, L"RemoveAll"); }, Variant::i2(1));
    EXPECT_EQ(
        VARIANT_FALSE,
        call(l, L"ChangeTerminateChar", Args().i4(0).i4(-1).str(L";").dispatch(empty_it.get())).value.get().boolVal);
    EXPECT_EQ(0, i4(get(l, L"Count")));
    EXPECT_EQ(L",", as_wstring(get(l, L"ColSeparateChar").value));
}

TEST(ListConversions, PutsStoreWhereTheListStandsAfterTheConversion) {
    auto list = numbered_list(3);
    IDispatch* l = list.get();
    auto text = [](const wchar_t* t) { return Variant::bstr(to_bstr(t)); };
    // Engines pass an object by reference (Set, or a method call with the
    // value last) without reading its value first: the member converts it.
    for (WORD flags : {WORD(DISPATCH_PROPERTYPUTREF), WORD(DISPATCH_METHOD)}) {
        auto empty_it = code_object([l] { call(l, L"RemoveAll"); }, text(L"v"));
        EXPECT_EQ(S_OK, invoke(l, id_of(l, L"LastValue"), flags, Args().dispatch(empty_it.get())).hr);
        EXPECT_EQ(1, empty_it->calls);
        EXPECT_EQ((W{L"v"}), entries(l)) << flags;
        auto shrink = code_object([l] { call(l, L"RemoveTail"); }, text(L"w"));
        add(l, L"x");
        add(l, L"y");
        EXPECT_EQ(S_OK, invoke(l, id_of(l, L"LastValue"), flags, Args().dispatch(shrink.get())).hr);
        EXPECT_EQ((W{L"v", L"w"}), entries(l)) << flags;
        auto again = code_object([l] { call(l, L"RemoveAll"); }, text(L"z"));
        EXPECT_EQ(S_OK, invoke(l, id_of(l, L"Value"), flags, Args().i4(1).dispatch(again.get())).hr);
        EXPECT_EQ((W{L"", L"z"}), entries(l)) << flags;
        call(l, L"RemoveAll");
        add(l, L"a");
        add(l, L"b");
        add(l, L"c");
    }
}

// A host whose argument's conversion drops its last reference to the list:
// the list lives until the call returns, then goes.
TEST(ListConversions, LastReferenceDroppedInAConversionLastsTheCall) {
    const LONG before = CListExObj::live_count();
    IDispatch* l = new_list().release();
    add(l, L"entry");
    LONG live_inside = -1;
    auto drop = code_object(
        [&] {
            l->Release();
            live_inside = CListExObj::live_count();
        },
        Variant::i2(2));
    EXPECT_EQ(0, i4(call(l, L"Find", Args().i4(0).i4(-1).str(L"entry").dispatch(drop.get()))));
    EXPECT_EQ(before + 1, live_inside);
    EXPECT_EQ(before, CListExObj::live_count());
}

}  // namespace
