// The List's Sort, LoadFile, SaveFile and _NewEnum through IDispatch: exact
// results, refused arguments that leave the list alone, arguments whose
// conversion changes the list, files in every encoding, failed writes that
// keep the old file, and the enumerator as script engines drive it.
#include <gtest/gtest.h>

#include <functional>

#include "frame/module.h"
#include "list/list_enum.h"
#include "support/code_object.h"
#include "support/disp.h"
#include "support/temp_folder.h"

using namespace torvane;
using namespace torvane::test;

namespace {

using W = std::vector<std::wstring>;

ComPtr<IDispatch> new_list(const W& entries = {}) {
    auto sd = new_script_dialog();
    auto made = call(sd.get(), L"CreateList");
    EXPECT_EQ(S_OK, made.hr);
    auto list = as_dispatch(made.value);
    for (const auto& e : entries) EXPECT_EQ(S_OK, call(list.get(), L"AddTail", Args().str(e.c_str())).hr);
    return list;
}

W entries(IDispatch* list) {
    W out;
    auto count = get(list, L"Count");
    for (LONG i = 0; i < count.value.get().lVal; ++i)
        out.push_back(as_wstring(get(list, L"Value", Args().i4(i)).value));
    return out;
}

bool is_true(const CallResult& r) {
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_BOOL, r.value.vt());
    return r.value.vt() == VT_BOOL && r.value.get().boolVal == VARIANT_TRUE;
}

LONG i4(const CallResult& r) {
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_I4, r.value.vt());
    return r.value.vt() == VT_I4 ? r.value.get().lVal : -9999;
}

// An argument whose conversion runs code, as a script object's valueOf does,
// and then answers `value`.
ComPtr<CodeObject> value_of(std::function<void()> run, LONG value) {
    return code_object(std::move(run), Variant::i4(value));
}

}  // namespace

// ---------------------------------------------------------------------------
// Sort

TEST(ListSort, RowsAtTheEndOfTheTable) {
    auto list = new_list();
    EXPECT_EQ(20, id_of(list.get(), L"Sort"));
    EXPECT_EQ(21, id_of(list.get(), L"LoadFile"));
    EXPECT_EQ(22, id_of(list.get(), L"SaveFile"));
    EXPECT_EQ(DISPID_NEWENUM, id_of(list.get(), L"_NewEnum"));
    EXPECT_EQ(DISPID_NEWENUM, id_of(list.get(), L"_NEWENUM"));
    EXPECT_EQ(DISPID_UNKNOWN, id_of(list.get(), L"NewEnum"));
    // The _NewEnum row's position names no member.
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, invoke(list.get(), 23, DISPATCH_METHOD | DISPATCH_PROPERTYGET).hr);
}

TEST(ListSort, TextOrderOfTheLocaleAscendingAndDescending) {
    auto list = new_list({L"pear", L"Apple", L"10", L"9", L"", L"banana"});
    ASSERT_TRUE(is_true(call(list.get(), L"Sort")));
    EXPECT_EQ((W{L"", L"10", L"9", L"Apple", L"banana", L"pear"}), entries(list.get()));
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().i4(-1).i4(1))));
    EXPECT_EQ((W{L"pear", L"banana", L"Apple", L"9", L"10", L""}), entries(list.get()));
}

TEST(ListSort, IgnoringCaseAndWidthKeepsEqualTextsInTheirOrder) {
    // Upper, lower and full-width forms of one letter are one text under mode 4.
    auto list = new_list({L"b", L"A", L"\xFF41", L"a", L"B", L"\xFF22"});
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().missing().i4(4))));
    EXPECT_EQ((W{L"A", L"\xFF41", L"a", L"b", L"B", L"\xFF22"}), entries(list.get()));
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().null().i4(5))));
    EXPECT_EQ((W{L"b", L"B", L"\xFF22", L"A", L"\xFF41", L"a"}), entries(list.get()));
}

TEST(ListSort, NumbersFirstThenTextsInTextOrder) {
    auto list = new_list({L"10 apples", L"b", L"9", L"", L"-1.5", L"abc", L"9.0", L"1e2"});
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().i4(-1).i4(2))));
    EXPECT_EQ((W{L"-1.5", L"9", L"9.0", L"10 apples", L"1e2", L"", L"abc", L"b"}), entries(list.get()));
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().i4(-1).i4(3))));
    EXPECT_EQ((W{L"b", L"abc", L"", L"1e2", L"10 apples", L"9", L"9.0", L"-1.5"}), entries(list.get()));
}

TEST(ListSort, ByColumnAsColValueSplits) {
    auto list = new_list({L"x 3", L"y  1", L"w", L"z\t2"});
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().i4(1).i4(2))));
    EXPECT_EQ((W{L"y  1", L"z\t2", L"x 3", L"w"}), entries(list.get()));
    // A column beyond every entry: all empty texts, the order stays.
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().str(L"7"))));
    EXPECT_EQ((W{L"y  1", L"z\t2", L"x 3", L"w"}), entries(list.get()));
    // No separators: ColValue reads nothing, so nothing moves.
    EXPECT_EQ(S_OK, put(list.get(), L"ColSeparateChar", Args().str(L"")).hr);
    ASSERT_TRUE(is_true(call(list.get(), L"Sort", Args().i4(0))));
    EXPECT_EQ((W{L"y  1", L"z\t2", L"x 3", L"w"}), entries(list.get()));
}

TEST(ListSort, ColumnOrModeOutsideTheirValuesIsFalseAndChangesNothing) {
    const W before = {L"b", L"a", L"c"};
    auto list = new_list(before);
    const std::function<Args()> refused[] = {
        [] { return Args().i4(-2); },         [] { return Args().i4(32768); },
        [] { return Args().str(L"one"); },    [] { return Args().i4(0).i4(8); },
        [] { return Args().i4(0).i4(-1); },   [] { return Args().i4(0).str(L"fast"); },
        [] { return Args().i4(0).r8(1e10); },
    };
    for (const auto& args : refused) {
        EXPECT_FALSE(is_true(call(list.get(), L"Sort", args())));
        EXPECT_EQ(before, entries(list.get()));
    }
    EXPECT_TRUE(is_true(call(list.get(), L"Sort", Args().i4(0).i4(7))));
    EXPECT_EQ((W{L"c", L"b", L"a"}), entries(list.get()));
}

TEST(ListSort, ArgumentsAreConvertedBeforeTheListIsRead) {
    auto list = new_list({L"x", L"y"});
    IDispatch* l = list.get();
    // The mode's conversion replaces the entries: the sort sees the new ones.
    auto mode = value_of(
        [l] {
            call(l, L"RemoveAll");
            for (const wchar_t* t : {L"3", L"1", L"2"}) call(l, L"AddTail", Args().str(t));
        },
        2);
    ASSERT_TRUE(is_true(call(l, L"Sort", Args().i4(-1).dispatch(mode.get()))));
    EXPECT_EQ((W{L"1", L"2", L"3"}), entries(l));
    auto empties = value_of([l] { call(l, L"RemoveAll"); }, -1);
    ASSERT_TRUE(is_true(call(l, L"Sort", Args().dispatch(empties.get()))));
    EXPECT_EQ(W{}, entries(l));
}

TEST(ListSort, SearchesAfterASortSeeTheNewOrder) {
    // Repeated equality searches build an index of the entries: a sort must drop it.
    W texts;
    for (int i = 299; i >= 0; --i) texts.push_back(L"e" + std::to_wstring(1000 + i));
    auto list = new_list(texts);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(299, i4(call(list.get(), L"Find", Args().i4(0).i4(-1).str(L"e1000").i4(2))));
    ASSERT_TRUE(is_true(call(list.get(), L"Sort")));
    EXPECT_EQ(0, i4(call(list.get(), L"Find", Args().i4(0).i4(-1).str(L"e1000").i4(2))));
    EXPECT_EQ(299, i4(call(list.get(), L"Find", Args().i4(0).i4(-1).str(L"e1299").i4(2))));
}

// ---------------------------------------------------------------------------
// LoadFile and SaveFile

namespace {
// Arguments naming no file that can be read or written, or no encoding:
// a missing folder, a folder, nothing, a path cut by a zero, unknown names.
std::vector<std::function<Args()>> unusable(const std::wstring& folder, const std::wstring& file) {
    const std::wstring nowhere = folder + L"\\no\\such\\file.txt", cut = file + std::wstring(L"\0x", 2);
    return {
        [=] { return Args().str(nowhere.c_str()); },
        [=] { return Args().str(folder.c_str()); },
        [] { return Args().str(L""); },
        [=] { return Args().str_len(cut.c_str(), static_cast<UINT>(cut.size())); },
        [=] { return Args().str(file.c_str()).str(L"sjis"); },
        [=] { return Args().str(file.c_str()).str(L"utf-16"); },
    };
}
}  // namespace

TEST(ListFiles, LoadDetectsTheEncodingAndSplitsLines) {
    TempFolder dir;
    struct Case {
        const char* bytes;
        std::size_t size;
        W entries;
    };
    // "\x8868" (a kanji) in each encoding; 932 "\x95\x5C" is the same character.
    const Case cases[] = {
        {"a\r\nb\nc\rd\r\n", 10, {L"a", L"b", L"c", L"d"}},
        {"", 0, {}},
        {"\r\n", 2, {L""}},
        {"\xEF\xBB\xBF\xE8\xA1\xA8\n\n", 8, {L"\x8868", L""}},
        {"\xE8\xA1\xA8x", 4, {L"\x8868x"}},
        {"\xFF\xFE\x68\x88\r\0\n\0z\0", 10, {L"\x8868", L"z"}},
        {"\xFE\xFF\x88\x68\0\n", 6, {L"\x8868"}},
    };
    // The kanji needs code page 932 on its way through the list.
    const bool cp932 = ::GetACP() == 932;
    for (const Case& c : cases) {
        if (!cp932 && c.size > 0 && c.bytes[0] != 'a' && c.bytes[0] != '\r') continue;
        write_file(dir / L"in.txt", std::string(c.bytes, c.size));
        auto list = new_list({L"old"});
        EXPECT_EQ(static_cast<LONG>(c.entries.size()),
                  i4(call(list.get(), L"LoadFile", Args().str((dir / L"in.txt").c_str()))));
        EXPECT_EQ(c.entries, entries(list.get())) << c.bytes;
    }
}

TEST(ListFiles, AnsiTextUnderCodePage932) {
    if (::GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    TempFolder dir;
    write_file(dir / L"sjis.txt", "\x95\x5C\r\n\x83\x5C\n");
    auto list = new_list();
    EXPECT_EQ(2, i4(call(list.get(), L"LoadFile", Args().str((dir / L"sjis.txt").c_str()))));
    EXPECT_EQ((W{L"\x8868", L"\x30BD"}), entries(list.get()));
    // Forced UTF-8 reads the same bytes as broken UTF-8.
    EXPECT_EQ(2, i4(call(list.get(), L"LoadFile", Args().str((dir / L"sjis.txt").c_str()).str(L"utf-8"))));
    EXPECT_NE(L"\x8868", entries(list.get())[0]);
}

TEST(ListFiles, FailuresAnswerMinusOneAndKeepTheList) {
    TempFolder dir;
    write_file(dir / L"in.txt", "a\n");
    auto list = new_list({L"kept"});
    const std::wstring in = dir / L"in.txt";
    for (const auto& args : unusable(dir.path(), in)) {
        EXPECT_EQ(-1, i4(call(list.get(), L"LoadFile", args())));
        EXPECT_EQ((W{L"kept"}), entries(list.get()));
    }
}

TEST(ListFiles, SaveInEveryEncodingAndReadBack) {
    if (::GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    TempFolder dir;
    const std::wstring out = dir / L"out.txt";
    auto list = new_list({L"a", L"\x8868", L""});
    struct Case {
        const wchar_t* encoding;
        std::string bytes;
    };
    const Case cases[] = {
        {L"utf-8", "a\r\n\xE8\xA1\xA8\r\n\r\n"},
        {L"UTF-8-BOM",
         "\xEF\xBB\xBF"
         "a\r\n\xE8\xA1\xA8\r\n\r\n"},
        {L"utf-16le", std::string("\xFF\xFE"
                                  "a\0\r\0\n\0\x68\x88\r\0\n\0\r\0\n\0",
                                  18)},
        {L"utf-16be", std::string("\xFE\xFF\0a\0\r\0\n\x88\x68\0\r\0\n\0\r\0\n", 18)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(is_true(call(list.get(), L"SaveFile", Args().str(out.c_str()).str(c.encoding))));
        EXPECT_EQ(c.bytes, read_file(out)) << c.encoding;
        auto back = new_list();
        EXPECT_EQ(3, i4(call(back.get(), L"LoadFile", Args().str(out.c_str()))));
        EXPECT_EQ((W{L"a", L"\x8868", L""}), entries(back.get()));
    }
    // Other line ends; a new list writes ANSI.
    auto plain = new_list({L"x", L"y"});
    ASSERT_TRUE(is_true(call(plain.get(), L"SaveFile", Args().str(out.c_str()).missing().str(L"\n"))));
    EXPECT_EQ("x\ny\n", read_file(out));
    ASSERT_TRUE(is_true(call(plain.get(), L"SaveFile", Args().str(out.c_str()).str(L"").str(L""))));
    EXPECT_EQ("x\r\ny\r\n", read_file(out));
    auto empty = new_list();
    ASSERT_TRUE(is_true(call(empty.get(), L"SaveFile", Args().str(out.c_str()).str(L"utf-8-bom"))));
    EXPECT_EQ("\xEF\xBB\xBF", read_file(out));
}

TEST(ListFiles, SaveDefaultsToTheEncodingLoadFileLastRead) {
    TempFolder dir;
    const std::wstring in = dir / L"in.txt", out = dir / L"out.txt";
    write_file(in, std::string("\xFF\xFEz\0", 4));
    auto list = new_list();
    EXPECT_EQ(1, i4(call(list.get(), L"LoadFile", Args().str(in.c_str()))));
    call(list.get(), L"RemoveAll");
    call(list.get(), L"AddTail", Args().str(L"q"));
    ASSERT_TRUE(is_true(call(list.get(), L"SaveFile", Args().str(out.c_str()))));
    EXPECT_EQ(std::string("\xFF\xFEq\0\r\0\n\0", 8), read_file(out));
    // A failed load changes nothing, the remembered encoding included.
    EXPECT_EQ(-1, i4(call(list.get(), L"LoadFile", Args().str((dir / L"none").c_str()))));
    ASSERT_TRUE(is_true(call(list.get(), L"SaveFile", Args().str(out.c_str()))));
    EXPECT_EQ(std::string("\xFF\xFEq\0\r\0\n\0", 8), read_file(out));
    // UTF-8 read with its mark is written back with it.
    write_file(in, "\xEF\xBB\xBFk\n");
    EXPECT_EQ(1, i4(call(list.get(), L"LoadFile", Args().str(in.c_str()))));
    ASSERT_TRUE(is_true(call(list.get(), L"SaveFile", Args().str(out.c_str()))));
    EXPECT_EQ("\xEF\xBB\xBFk\r\n", read_file(out));
}

namespace {
std::vector<std::wstring> files_in(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (fd.cFileName[0] != L'.') names.push_back(fd.cFileName);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return names;
}
}  // namespace

TEST(ListFiles, AFailedSaveIsFalseAndLeavesTheOldFileWhole) {
    TempFolder dir;
    const std::wstring target = dir / L"keep.txt";
    write_file(target, "old\r\n");
    auto list = new_list({L"new"});
    // Held open without sharing: the new file cannot take its place.
    {
        UniqueFile held(::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(is_true(call(list.get(), L"SaveFile", Args().str(target.c_str()))));
    }
    EXPECT_EQ("old\r\n", read_file(target));
    EXPECT_EQ((std::vector<std::wstring>{L"keep.txt"}), files_in(dir.path()));
    for (const auto& args : unusable(dir.path(), target)) EXPECT_FALSE(is_true(call(list.get(), L"SaveFile", args())));
    EXPECT_EQ("old\r\n", read_file(target));
    EXPECT_EQ((std::vector<std::wstring>{L"keep.txt"}), files_in(dir.path()));
    ASSERT_TRUE(is_true(call(list.get(), L"SaveFile", Args().str(target.c_str()))));
    EXPECT_EQ("new\r\n", read_file(target));
    EXPECT_EQ((std::vector<std::wstring>{L"keep.txt"}), files_in(dir.path()));
}

TEST(ListFiles, SaveWritesTheListAsItIsAfterItsArguments) {
    TempFolder dir;
    const std::wstring out = dir / L"out.txt";
    auto list = new_list({L"before"});
    IDispatch* l = list.get();
    auto end = value_of(
        [l] {
            call(l, L"RemoveAll");
            call(l, L"AddTail", Args().str(L"after"));
        },
        7);
    ASSERT_TRUE(is_true(call(l, L"SaveFile", Args().str(out.c_str()).missing().dispatch(end.get()))));
    EXPECT_EQ("after7", read_file(out));
}

// ---------------------------------------------------------------------------
// _NewEnum

namespace {
ComPtr<IEnumVARIANT> enumerator(IDispatch* list, WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
    auto r = invoke(list, DISPID_NEWENUM, flags);
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_UNKNOWN, r.value.vt());
    ComPtr<IEnumVARIANT> e;
    if (r.value.vt() == VT_UNKNOWN && r.value.get().punkVal) {
        EXPECT_EQ(S_OK, r.value.get().punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(e.put())));
    }
    return e;
}
std::wstring text_of(const VARIANT& v) {
    EXPECT_EQ(VT_BSTR, v.vt);
    return v.vt == VT_BSTR ? std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal)) : L"?";
}
}  // namespace

TEST(ListEnum, NextSkipResetCloneOverASnapshot) {
    auto list = new_list({L"a", L"\x8868", L""});
    auto e = enumerator(list.get());
    ASSERT_TRUE(e);
    // The list changes; the enumerator does not.
    call(list.get(), L"RemoveAll");
    Variant one;
    EXPECT_EQ(S_OK, e->Next(1, one.ptr(), nullptr));  // no count wanted for one
    EXPECT_EQ(L"a", text_of(one.get()));
    VARIANT many[4];
    for (auto& v : many) ::VariantInit(&v);
    ULONG fetched = 99;
    EXPECT_EQ(E_INVALIDARG, e->Next(2, many, nullptr));
    EXPECT_EQ(S_FALSE, e->Next(4, many, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(L"\x8868", text_of(many[0]));
    EXPECT_EQ(L"", text_of(many[1]));
    EXPECT_EQ(VT_EMPTY, many[2].vt);
    for (auto& v : many) ::VariantClear(&v);
    Variant none;
    EXPECT_EQ(S_FALSE, e->Next(1, none.put(), &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(VT_EMPTY, none.vt());
    EXPECT_EQ(S_OK, e->Next(0, nullptr, &fetched));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_OK, e->Skip(2));
    ComPtr<IEnumVARIANT> clone;
    EXPECT_EQ(E_POINTER, e->Clone(nullptr));
    ASSERT_EQ(S_OK, e->Clone(clone.put()));
    EXPECT_EQ(S_FALSE, e->Skip(5));
    EXPECT_EQ(S_FALSE, e->Next(1, none.put(), nullptr));
    EXPECT_EQ(S_OK, clone->Next(1, one.put(), nullptr));  // where the original stood
    EXPECT_EQ(L"", text_of(one.get()));
    EXPECT_EQ(S_OK, e->Skip(0));
}

TEST(ListEnum, AsEnginesCallItAndWhatElseIsRefused) {
    auto list = new_list({L"x"});
    EXPECT_TRUE(enumerator(list.get(), DISPATCH_PROPERTYGET));
    EXPECT_TRUE(enumerator(list.get(), DISPATCH_METHOD));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT,
              invoke(list.get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, Args().i4(1)).hr);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, invoke(list.get(), DISPID_NEWENUM, DISPATCH_PROPERTYPUT, Args().i4(1)).hr);
    // An enumerator is the library's object: it keeps the module loaded.
    const LONG before = module::live_objects();
    {
        auto e = enumerator(list.get());
        EXPECT_EQ(before + 1, module::live_objects());
        EXPECT_EQ(1, entry_enumerators_alive());
        ComPtr<IUnknown> other;
        EXPECT_EQ(E_NOINTERFACE, e->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(other.put())));
    }
    EXPECT_EQ(before, module::live_objects());
    EXPECT_EQ(0, entry_enumerators_alive());
    // A discarded result is released.
    EXPECT_EQ(S_OK, invoke(list.get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, Args(), false).hr);
    EXPECT_EQ(0, entry_enumerators_alive());
}
