// The dispatch layer, driven through a probe class whose table uses every
// type code and member kind: name and id lookup, the checks of Invoke with
// their exact HRESULTs and argument-error positions, argument conversion,
// results and script errors.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "frame/dispatch.h"
#include "frame/module.h"
#include "frame/text.h"
#include "resources/resource_ids.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

// {6F1C0D52-8A43-4E39-9C5E-2D7A1B0E4F11}
constexpr IID IID_IProbe = {0x6F1C0D52, 0x8A43, 0x4E39, {0x9C, 0x5E, 0x2D, 0x7A, 0x1B, 0x0E, 0x4F, 0x11}};
LONG g_probes = 0;
LONG g_values = 0;

class CProbe final : public DispatchObject {
public:
    CProbe() noexcept : DispatchObject(kClass) {}
    explicit CProbe(const ClassInfo& cls) noexcept : DispatchObject(cls) {}
    static const ClassInfo kClass;

    // What the last handler call saw.
    std::string last_text;
    std::size_t last_len = 0;
    VARTYPE last_vt = VT_ILLEGAL;
    SCODE last_scode = 0;
    std::int32_t item_index = -1;
    Variant item_value;

private:
    struct Members;

    std::int32_t count() { return 42; }
    std::string echo(std::string_view s) {
        last_text.assign(s.data(), s.size());
        last_len = s.size();
        return last_text;
    }
    double sum(std::int16_t a, std::int32_t b, double c) { return a + b + c; }
    Variant opt(std::int32_t, const VARIANT& v) {
        last_vt = v.vt;
        last_scode = v.vt == VT_ERROR ? v.scode : 0;
        return Variant::i4(v.vt);
    }
    void nothing() {}
    Variant getItem(std::int32_t index) {
        item_index = index;
        return Variant::i4(index * 10);
    }
    void putItem(std::int32_t index, const VARIANT& value) {
        item_index = index;
        ::VariantCopy(item_value.put(), const_cast<VARIANT*>(&value));
    }
    ComPtr<IUnknown> make() { return ComPtr<IUnknown>::adopt(new CProbe()); }
    std::int32_t fail(std::int16_t how) {
        if (how == 0) raise_script_error(1025, IDS_FORM_NOT_RUNNING);
        if (how == 1) throw std::bad_alloc();
        if (how == 2) throw std::runtime_error("boom");
        if (how == 3) raise_script_error(7, IDS_ERR_READONLY, 5);
        return how;
    }
    bool truth(bool b) { return !b; }
    std::int32_t indexed(std::int32_t i) { return i + 1; }

    std::int16_t short_ = 0;
    double real_ = 0;
    BOOL flag_ = FALSE;
    std::string text_;
};

struct CProbe::Members {
    using Self = CProbe;
    // clang-format off
    static constexpr DispEntry table[] = {
        /*  1 */ bound<&Self::short_>                   ("Short",                            T_I2),
        /*  2 */ bound<&Self::real_>                    ("Real",                             T_R8),
        /*  3 */ bound<&Self::flag_>                    ("Flag",                             T_BOOL),
        /*  4 */ bound<&Self::text_>                    ("Text",                             T_BSTR),
        /*  5 */ readonly<&Self::count>                 ("Count",                            T_I4),
        /*  6 */ method<&Self::echo>                    ("Echo",     P_STR,                  T_BSTR),
        /*  7 */ method<&Self::sum>                     ("Sum",      P_I2 P_I4 P_R8,         T_R8),
        /*  8 */ method<&Self::opt>                     ("Opt",      P_I4 P_VARIANT,         T_VARIANT),
        /*  9 */ method<&Self::nothing>                 ("Nothing",                          T_EMPTY),
        /* 10 */ property<&Self::getItem, &Self::putItem>("Item",    P_I4,                   T_VARIANT),
        /* 11 */ method<&Self::make>                    ("Make",                             T_UNKNOWN),
        /* 12 */ method<&Self::fail>                    ("Fail",     P_I2,                   T_I4),
        /* 13 */ method<&Self::truth>                   ("Truth",    P_BOOL,                 T_BOOL),
        /* 14 */ readonly<&Self::indexed>               ("Indexed",  P_I4,                   T_I4),
        /* 15 */ alias                                  ("Item"),
    };
    // clang-format on
};
const ClassInfo CProbe::kClass = {"CProbe", &IID_IProbe, make_table(Members::table), &g_probes};

// An object whose default value is a number, and one with a failing default.
class CValue final : public DispatchObject {
public:
    explicit CValue(bool fails) noexcept : DispatchObject(fails ? kFailing : kClass) {}
    static const ClassInfo kClass, kFailing;

private:
    struct Members;
    std::int32_t value() { return 7; }
    std::int32_t broken() { throw std::runtime_error("no value"); }
};
struct CValue::Members {
    using Self = CValue;
    // clang-format off
    static constexpr DispEntry table[] = {
        readonly<&Self::value>("Value", T_I4),
        alias("Value"),
    };
    // clang-format on
    // clang-format off
    static constexpr DispEntry failing[] = {
        readonly<&Self::broken>("Value", T_I4),
        alias("Value"),
    };
    // clang-format on
};
const ClassInfo CValue::kClass = {"CValue", &IID_IProbe, make_table(Members::table), &g_values};
const ClassInfo CValue::kFailing = {"CValue", &IID_IProbe, make_table(Members::failing), &g_values};

struct Probe {
    CProbe* object = new CProbe();
    ComPtr<IDispatch> disp = ComPtr<IDispatch>::adopt(object);
    IDispatch* get() const { return disp.get(); }
};

// ---------------------------------------------------------------------------
// Names and ids

TEST(DispatchNames, LookupIsCaseInsensitiveAndSkipsTheAlias) {
    Probe p;
    EXPECT_EQ(1, id_of(p.get(), L"short"));
    EXPECT_EQ(1, id_of(p.get(), L"SHORT"));
    EXPECT_EQ(10, id_of(p.get(), L"Item")) << "the alias row (15) is never found by name";
    EXPECT_EQ(14, id_of(p.get(), L"indexed"));
    EXPECT_EQ(DISPID_UNKNOWN, id_of(p.get(), L"Itemx"));
    EXPECT_EQ(DISPID_UNKNOWN, id_of(p.get(), L""));
}

TEST(DispatchNames, GetIDsOfNamesResults) {
    Probe p;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Echo"), const_cast<LPOLESTR>(L"text")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(S_OK, p.get()->GetIDsOfNames(IID_NULL, names, 2, 0, ids));
    EXPECT_EQ(6, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]) << "named-argument names are never resolved";

    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Nope")};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, p.get()->GetIDsOfNames(IID_NULL, unknown, 1, 0, ids));
    EXPECT_EQ(DISPID_UNKNOWN, ids[0]);
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, p.get()->GetIDsOfNames(IID_IDispatch, names, 1, 0, ids));
    EXPECT_EQ(E_INVALIDARG, p.get()->GetIDsOfNames(IID_NULL, names, 0, 0, ids));

    // The checks come first whichever way the name would be found.
    EXPECT_EQ(E_INVALIDARG, p.get()->GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids));
    EXPECT_EQ(E_INVALIDARG, p.get()->GetIDsOfNames(IID_NULL, names, 1, 0, nullptr));
    LPOLESTR none[] = {nullptr};
    ids[0] = 5;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, p.get()->GetIDsOfNames(IID_NULL, none, 1, 0, ids));
    EXPECT_EQ(DISPID_UNKNOWN, ids[0]);
    LPOLESTR accented[] = {const_cast<LPOLESTR>(L"\u00c9choz")};  // declined by the index, walked
    EXPECT_EQ(DISP_E_UNKNOWNNAME, p.get()->GetIDsOfNames(IID_NULL, accented, 1, 0, ids));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, p.get()->GetIDsOfNames(IID_IDispatch, accented, 1, 0, ids));

    // A long name (beyond the stack buffer) is looked up as well.
    std::wstring long_name(5000, L'x');
    LPOLESTR longer[] = {long_name.data()};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, p.get()->GetIDsOfNames(IID_NULL, longer, 1, 0, ids));
}

// Whichever way a name is found (the ASCII index or the walk with the
// platform's comparison), the answer is the walk's, on every call.
TEST(DispatchNames, LookupsAnswerAsTheWalk) {
    Probe p;
    std::vector<std::wstring> names = {L"Short",      L"short",
                                       L"SHORT",      L"Item",
                                       L"Value",      L"Nope",
                                       L"",           L"\uff33\uff48\uff4f\uff52\uff54",
                                       L"Sh\u00f6rt", std::wstring(40, L'a')};
    // Every case variant of "Indexed".
    for (unsigned mask = 0; mask < 128; ++mask) {
        std::wstring n = L"indexed";
        for (unsigned b = 0; b < 7; ++b)
            if (mask & (1u << b)) n[b] = static_cast<wchar_t>(::towupper(n[b]));
        names.push_back(n);
    }
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string ansi = to_ansi(names[i].c_str(), names[i].size());
            EXPECT_EQ(find_member_id(CProbe::kClass, ansi.c_str()), id_of(p.get(), names[i].c_str()))
                << "round " << round << ", name " << i;
        }
    }
}

TEST(DispatchNames, IdZeroAndTheAliasPositionActAsTheNamedMember) {
    Probe p;
    for (DISPID id : {DISPID(DISPID_VALUE), DISPID(15)}) {
        auto r = invoke(p.get(), id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, Args().i4(3));
        ASSERT_EQ(S_OK, r.hr) << id;
        EXPECT_EQ(30, r.value.get().lVal);
    }
}

TEST(DispatchNames, UnknownIds) {
    Probe p;
    for (DISPID id : {DISPID(16), DISPID(-5), DISPID(0x10001), DISPID(0x7FFFFFFF)})
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND, invoke(p.get(), id, DISPATCH_METHOD).hr) << id;
}

// ---------------------------------------------------------------------------
// The checks of Invoke, in order

// Gets and method calls whose arguments need no conversion take a short road
// in Invoke. A copy of the probe's table without it (every call on the
// general road) must answer every call exactly as the real table does:
// result, HRESULT, argument position, error code and what the handler saw.
TEST(DispatchInvoke, ShortRoadAnswersAsTheGeneralRoad) {
    static std::vector<DispEntry> rows(CProbe::kClass.table.entries,
                                       CProbe::kClass.table.entries + CProbe::kClass.table.count);
    for (DispEntry& e : rows) {
        e.fast = nullptr;
        e.road = 0;
    }
    static const ClassInfo general = {"CProbeGeneral", &IID_IProbe, DispTable{rows.data(), rows.size(), nullptr},
                                      &g_probes};

    auto describe = [](CProbe& probe, const CallResult& r) {
        std::wstring out = L"hr=" + std::to_wstring(r.hr) + L" vt=" + std::to_wstring(r.value.vt());
        const VARIANT& v = r.value.get();
        switch (v.vt) {
            case VT_I2: out += L" " + std::to_wstring(v.iVal); break;
            case VT_I4: out += L" " + std::to_wstring(v.lVal); break;
            case VT_R8: out += L" " + std::to_wstring(v.dblVal); break;
            case VT_BOOL: out += L" " + std::to_wstring(v.boolVal); break;
            case VT_BSTR: out += L" [" + std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal)) + L"]"; break;
            default: break;
        }
        if (r.hr == DISP_E_EXCEPTION) out += L" code=" + std::to_wstring(r.excep.wCode);
        if (FAILED(r.hr)) out += L" argerr=" + std::to_wstring(r.arg_err);
        out += L" saw=" + std::to_wstring(probe.last_len) + L":" + std::to_wstring(probe.last_text.size()) + L":" +
               std::to_wstring(probe.last_vt) + L":" + std::to_wstring(probe.last_scode) + L":" +
               std::to_wstring(probe.item_index);
        for (unsigned char c : probe.last_text) out += L" " + std::to_wstring(c);
        return out;
    };

    VARIANT number;
    number.vt = VT_I4;
    number.lVal = 3;
    UniqueBstr text_value(::SysAllocString(L"by reference"));
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = text_value.get();
    VARIANT ref_number;
    ref_number.vt = VT_BYREF | VT_VARIANT;
    ref_number.pvarVal = &number;
    VARIANT ref_text;
    ref_text.vt = VT_BYREF | VT_VARIANT;
    ref_text.pvarVal = &text;
    const std::wstring long_ascii(300, L'q');
    const std::wstring edge_ascii(63, L'e');  // just beyond the in-place conversion's room
    const wchar_t with_zero[] = {L'a', 0, L'b'};

    const std::vector<Args> arg_sets = [&] {
        std::vector<Args> sets;
        sets.push_back(Args());
        sets.push_back(Args().i4(3));
        sets.push_back(Args().i2(3));
        sets.push_back(Args().r8(3.0));
        sets.push_back(Args().str(L"7"));
        sets.push_back(Args().i2(2).i4(3).r8(1.5));
        sets.push_back(Args().i4(2).i4(3).i4(4));
        sets.push_back(Args().i2(2).i4(3).r8(1.5).i4(9));
        sets.push_back(Args().str(L"abc"));
        sets.push_back(Args().str(L"\u65e5\u672c\u8a9e"));
        sets.push_back(Args().str(long_ascii.c_str()));
        sets.push_back(Args().str(edge_ascii.c_str()));
        sets.push_back(Args().str(edge_ascii.substr(1).c_str()));
        sets.push_back(Args().str_len(with_zero, 3));
        sets.push_back(Args().null_str());
        sets.push_back(Args().i4(1).missing());
        sets.push_back(Args().i4(1).empty());
        sets.push_back(Args().i4(1).null());
        sets.push_back(Args().boolean(true));
        sets.push_back(Args().variant(ref_number));
        sets.push_back(Args().variant(ref_text));
        sets.push_back(Args().variant(ref_number).variant(ref_text));
        sets.push_back(Args().i2(0));
        sets.push_back(Args().i2(1));
        sets.push_back(Args().i2(2));
        sets.push_back(Args().i2(3));
        sets.push_back(Args().null());
        return sets;
    }();
    const WORD flag_sets[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_METHOD | DISPATCH_PROPERTYGET};

    for (std::size_t i = 0; i < CProbe::kClass.table.count; ++i) {
        const DispEntry& e = CProbe::kClass.table.entries[i];
        EXPECT_EQ(e.get != nullptr, e.fast != nullptr) << "row " << i + 1 << ": every handler row has the short road";
        EXPECT_EQ(e.fast != nullptr, e.road != 0) << "row " << i + 1;
    }
    for (DISPID id = 0; id <= 16; ++id) {
        for (WORD flags : flag_sets) {
            for (std::size_t a = 0; a < arg_sets.size(); ++a) {
                for (bool want : {true, false}) {
                    auto* fast_probe = new CProbe();
                    auto* slow_probe = new CProbe(general);
                    auto fast = ComPtr<IDispatch>::adopt(fast_probe);
                    auto slow = ComPtr<IDispatch>::adopt(slow_probe);
                    const CallResult f = invoke(fast.get(), id, flags, arg_sets[a], want);
                    const CallResult g = invoke(slow.get(), id, flags, arg_sets[a], want);
                    EXPECT_EQ(describe(*slow_probe, g), describe(*fast_probe, f))
                        << "id " << id << ", flags " << flags << ", arguments " << a << ", result " << want;
                }
            }
        }
    }
}

TEST(DispatchInvoke, EarlyReturnsLeaveTheResultEmpty) {
    Probe p;
    VARIANT result;
    result.vt = VT_I4;  // garbage the layer must reset, not clear
    result.lVal = 99;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              p.get()->Invoke(5, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_EMPTY, result.vt);
}

TEST(DispatchInvoke, OnlyThePropertyPutNamedArgument) {
    Probe p;
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    DISPID named[2] = {DISPID_PROPERTYPUT, 5};
    DISPPARAMS two{args, named, 2, 2};
    EXPECT_EQ(DISP_E_NONAMEDARGS,
              p.get()->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &two, nullptr, nullptr, nullptr));
    DISPID other = 1;
    DISPPARAMS wrong{args, &other, 1, 1};
    EXPECT_EQ(DISP_E_NONAMEDARGS,
              p.get()->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &wrong, nullptr, nullptr, nullptr));
}

TEST(DispatchInvoke, MalformedParameterBlocks) {
    Probe p;
    DISPPARAMS no_array{nullptr, nullptr, 2, 0};
    EXPECT_EQ(E_INVALIDARG, p.get()->Invoke(6, IID_NULL, 0, DISPATCH_METHOD, &no_array, nullptr, nullptr, nullptr));
    VARIANT v;
    ::VariantInit(&v);
    DISPPARAMS too_many_named{&v, nullptr, 1, 2};
    EXPECT_EQ(E_INVALIDARG,
              p.get()->Invoke(6, IID_NULL, 0, DISPATCH_METHOD, &too_many_named, nullptr, nullptr, nullptr));
    Variant out;
    EXPECT_EQ(S_OK, p.get()->Invoke(5, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, out.ptr(), nullptr, nullptr))
        << "no parameter block counts as no arguments";
    EXPECT_EQ(E_INVALIDARG, invoke(p.get(), 5, 0).hr) << "no flags";
}

TEST(DispatchInvoke, MethodCallOnAPropertyBecomesGetOrPut) {
    Probe p;
    auto got = invoke(p.get(), 10, DISPATCH_METHOD, Args().i4(4));
    ASSERT_EQ(S_OK, got.hr);
    EXPECT_EQ(40, got.value.get().lVal);

    auto put_by_call = invoke(p.get(), 10, DISPATCH_METHOD, Args().i4(5).str(L"five"));
    ASSERT_EQ(S_OK, put_by_call.hr);
    EXPECT_EQ(VT_EMPTY, put_by_call.value.vt());
    EXPECT_EQ(5, p.object->item_index);
    EXPECT_EQ(L"five", as_wstring(p.object->item_value));

    // A bound property called as a method with one argument stores it.
    ASSERT_EQ(S_OK, invoke(p.get(), 1, DISPATCH_METHOD, Args().i2(12)).hr);
    EXPECT_EQ(12, get(p.get(), L"Short").value.get().iVal);
}

TEST(DispatchInvoke, PutToAMethodIsATypeMismatch) {
    Probe p;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, invoke(p.get(), 6, DISPATCH_PROPERTYPUT, Args().str(L"x"), false).hr);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, invoke(p.get(), 11, DISPATCH_PROPERTYPUTREF, Args().i4(1), false).hr);
}

TEST(DispatchInvoke, GetChecks) {
    Probe p;
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, invoke(p.get(), 9, DISPATCH_PROPERTYGET).hr) << "a get of a member without result";
    EXPECT_EQ(S_OK, invoke(p.get(), 9, DISPATCH_METHOD).hr);
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, invoke(p.get(), 5, DISPATCH_PROPERTYGET, Args(), false).hr);
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, invoke(p.get(), 5, DISPATCH_METHOD, Args(), false).hr)
        << "a method call on a property is a get, which needs a result";
    EXPECT_EQ(S_OK, invoke(p.get(), 12, DISPATCH_METHOD, Args().i2(9), false).hr) << "a method may drop its result";
    auto extra = invoke(p.get(), 5, DISPATCH_PROPERTYGET | DISPATCH_METHOD, Args().i4(1));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, extra.hr);
    EXPECT_EQ(0xFFFFFFFFu, extra.arg_err);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, invoke(p.get(), 1, DISPATCH_PROPERTYGET, Args().i4(1)).hr);
}

TEST(DispatchInvoke, BoundPropertyChecks) {
    Probe p;
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, invoke(p.get(), 1, DISPATCH_PROPERTYPUT, Args().i2(1).i2(2), false).hr);
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, invoke(p.get(), 1, DISPATCH_PROPERTYPUT, Args(), false).hr);
    auto mismatch = put(p.get(), L"Real", Args().str(L"pi"));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, mismatch.hr);
    EXPECT_EQ(0u, mismatch.arg_err);
}

TEST(DispatchInvoke, BoundPropertiesKeepTheirTypes) {
    Probe p;
    ASSERT_EQ(S_OK, put(p.get(), L"Flag", Args().i4(5)).hr);
    auto flag = get(p.get(), L"Flag");
    ASSERT_EQ(VT_BOOL, flag.value.vt());
    EXPECT_EQ(VARIANT_TRUE, flag.value.get().boolVal);
    ASSERT_EQ(S_OK, put(p.get(), L"Flag", Args().str(L"0")).hr);
    EXPECT_EQ(VARIANT_FALSE, get(p.get(), L"Flag").value.get().boolVal);

    ASSERT_EQ(S_OK, put(p.get(), L"Real", Args().str(L"2.5")).hr);
    EXPECT_EQ(2.5, get(p.get(), L"Real").value.get().dblVal);

    const wchar_t japanese[] = L"\u65e5\u672c\u8a9e\u30bd\u8868";  // ソ and 表 end in 0x5C under 932
    ASSERT_EQ(S_OK, put(p.get(), L"Text", Args().str(japanese)).hr);
    if (::GetACP() == 932) {
        EXPECT_EQ(japanese, as_wstring(get(p.get(), L"Text").value));
    }
    ASSERT_EQ(S_OK, put(p.get(), L"Text", Args().i4(12)).hr);
    EXPECT_EQ(L"12", as_wstring(get(p.get(), L"Text").value));
}

TEST(DispatchInvoke, PlainPutOfAnObjectStoresItsDefaultValue) {
    Probe p;
    ComPtr<IDispatch> seven = ComPtr<IDispatch>::adopt(new CValue(false));
    ASSERT_EQ(S_OK, put(p.get(), L"Short", Args().dispatch(seven.get())).hr);
    EXPECT_EQ(7, get(p.get(), L"Short").value.get().iVal);

    // A default value that fails: its error reaches the caller, the field stays.
    ComPtr<IDispatch> broken = ComPtr<IDispatch>::adopt(new CValue(true));
    EXPECT_EQ(DISP_E_EXCEPTION, put(p.get(), L"Short", Args().dispatch(broken.get())).hr);
    EXPECT_EQ(7, get(p.get(), L"Short").value.get().iVal);

    // An object without a default member goes on as itself (and a VARIANT
    // parameter receives it unconverted).
    auto no_default = new_script_dialog();
    ASSERT_EQ(S_OK, invoke(p.get(), 10, DISPATCH_PROPERTYPUT, Args().i4(1).dispatch(no_default.get()), false).hr);
    EXPECT_EQ(VT_DISPATCH, p.object->item_value.vt());
    p.object->item_value.reset();

    // A default value that needs arguments fails the fetch: that error returns.
    Probe needs_index;
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL,
              invoke(p.get(), 10, DISPATCH_PROPERTYPUT, Args().i4(1).dispatch(needs_index.get()), false).hr);
}

// ---------------------------------------------------------------------------
// Argument conversion

TEST(DispatchArgs, ConversionByTypeCode) {
    Probe p;
    auto r = call(p.get(), L"Sum", Args().str(L"12").r8(2.5).i4(1));
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(15.0, r.value.get().dblVal) << "12 + 2 (2.5 rounds to even) + 1";

    VARIANT target;
    target.vt = VT_I4;
    target.lVal = 30;
    auto byref = call(p.get(), L"Sum", Args().byref(&target).i4(1).i4(1));
    ASSERT_EQ(S_OK, byref.hr);
    EXPECT_EQ(32.0, byref.value.get().dblVal);

    auto truth = call(p.get(), L"Truth", Args().str(L"True"));
    ASSERT_EQ(VT_BOOL, truth.value.vt());
    EXPECT_EQ(VARIANT_FALSE, truth.value.get().boolVal);
}

TEST(DispatchArgs, FailedConversionNamesTheArgument) {
    Probe p;
    // Script order a, b, c: c is element 0 of the caller's array.
    struct Case {
        Args args;
        HRESULT hr;
        UINT arg_err;
    };
    Case cases[] = {
        {Args().str(L"abc").i4(1).r8(1), DISP_E_TYPEMISMATCH, 2},
        {Args().i2(1).str(L"x").r8(1), DISP_E_TYPEMISMATCH, 1},
        {Args().i2(1).i4(1).str(L"x"), DISP_E_TYPEMISMATCH, 0},
        {Args().i4(40000).i4(1).r8(1), DISP_E_OVERFLOW, 2},
        {Args().null().i4(1).r8(1), DISP_E_TYPEMISMATCH, 2},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto r = call(p.get(), L"Sum", cases[i].args);
        EXPECT_EQ(cases[i].hr, r.hr) << "case " << i;
        EXPECT_EQ(cases[i].arg_err, r.arg_err) << "case " << i;
    }
}

TEST(DispatchArgs, CountErrors) {
    Probe p;
    auto surplus = call(p.get(), L"Opt", Args().i4(1).i4(2).i4(3).i4(4));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, surplus.hr);
    EXPECT_EQ(2u, surplus.arg_err) << "the number of surplus arguments";

    auto missing = call(p.get(), L"Sum", Args().i4(1));
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, missing.hr);
    EXPECT_EQ(1u, missing.arg_err) << "the number of arguments given";

    auto none = call(p.get(), L"Echo");
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, none.hr);
    EXPECT_EQ(0u, none.arg_err);
}

TEST(DispatchArgs, OmittedVariantArrivesAsParamNotFound) {
    Probe p;
    auto r = call(p.get(), L"Opt", Args().i4(1));
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_ERROR, p.object->last_vt);
    EXPECT_EQ(DISP_E_PARAMNOTFOUND, p.object->last_scode);

    // Any VARIANT passes unconverted, arrays and objects included.
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_I4, 0, 3);
    Variant holder;
    holder.ptr()->vt = VT_ARRAY | VT_I4;
    holder.ptr()->parray = array;
    ASSERT_EQ(S_OK, call(p.get(), L"Opt", Args().i4(1).variant(holder.get())).hr);
    EXPECT_EQ(VT_ARRAY | VT_I4, p.object->last_vt);
}

TEST(DispatchArgs, StringsArriveAsAnsiText) {
    Probe p;
    ASSERT_EQ(S_OK, call(p.get(), L"Echo", Args().null_str()).hr);
    EXPECT_EQ("", p.object->last_text);

    const wchar_t with_zero[] = {L'a', 0, L'b'};
    auto r = call(p.get(), L"Echo", Args().str_len(with_zero, 3));
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(3u, p.object->last_len) << "the full length crosses, zeros included";

    std::wstring huge(4 * 1024 * 1024, L'w');
    auto big = call(p.get(), L"Echo", Args().str(huge.c_str()));
    ASSERT_EQ(S_OK, big.hr);
    EXPECT_EQ(huge.size(), ::SysStringLen(big.value.get().bstrVal));

    // Unpaired surrogates and characters outside the code page do not fail.
    const wchar_t odd[] = {0xD800, L'x', 0xDC00, 0x4E02, 0};
    EXPECT_EQ(S_OK, call(p.get(), L"Echo", Args().str(odd)).hr);

    // Text that is no string is converted first.
    ASSERT_EQ(S_OK, call(p.get(), L"Echo", Args().r8(1.5)).hr);
    EXPECT_EQ("1.5", p.object->last_text);
}

// ---------------------------------------------------------------------------
// Results

TEST(DispatchResults, DiscardedResultsAreFreed) {
    Probe p;
    const LONG probes = g_probes;
    EXPECT_EQ(S_OK, invoke(p.get(), 11, DISPATCH_METHOD, Args(), false).hr);
    EXPECT_EQ(probes, g_probes) << "an object nobody took is released";

    auto kept = invoke(p.get(), 11, DISPATCH_METHOD);
    ASSERT_EQ(VT_UNKNOWN, kept.value.vt());
    EXPECT_EQ(probes + 1, g_probes);
    IUnknown* made = kept.value.get().punkVal;
    EXPECT_EQ(2u, made->AddRef()) << "the object reaches the caller with count 1";
    made->Release();
    kept.value.reset();
    EXPECT_EQ(probes, g_probes);
}

TEST(DispatchResults, BooleansAreMinusOneOrZero) {
    Probe p;
    auto r = call(p.get(), L"Truth", Args().boolean(false));
    ASSERT_EQ(VT_BOOL, r.value.vt());
    EXPECT_EQ(VARIANT_TRUE, r.value.get().boolVal);
}

// ---------------------------------------------------------------------------
// Script errors

TEST(DispatchErrors, ScriptErrorFillsTheExceptionBlock) {
    Probe p;
    auto r = call(p.get(), L"Fail", Args().i2(0));
    ASSERT_EQ(DISP_E_EXCEPTION, r.hr);
    EXPECT_EQ(1025, r.excep.wCode);
    EXPECT_EQ(0, r.excep.scode);
    EXPECT_EQ(module::load_string(IDS_FORM_NOT_RUNNING), r.description());
    EXPECT_EQ(module::app_name(), std::wstring(r.excep.bstrSource));
    EXPECT_EQ(0u, r.excep.dwHelpContext);
    EXPECT_EQ(nullptr, r.excep.bstrHelpFile);

    auto help = call(p.get(), L"Fail", Args().i2(3));
    EXPECT_EQ(0x60005u, help.excep.dwHelpContext);
    ASSERT_NE(nullptr, help.excep.bstrHelpFile);
    EXPECT_EQ(module::help_path(), std::wstring(help.excep.bstrHelpFile));
    const std::wstring hlp = help.excep.bstrHelpFile;
    EXPECT_EQ(L".HLP", hlp.substr(hlp.size() - 4));
}

TEST(DispatchErrors, MemoryAndInternalErrors) {
    Probe p;
    auto memory = call(p.get(), L"Fail", Args().i2(1));
    ASSERT_EQ(DISP_E_EXCEPTION, memory.hr);
    EXPECT_EQ(61706, memory.excep.wCode);
    EXPECT_EQ(L"\uff92\uff93\uff98\u4e0d\u8db3\u306e\u305f\u3081\u5b9f\u884c\u3067\u304d\u307e\u305b\u3093\u3002",
              memory.description());
    EXPECT_EQ(0u, memory.excep.dwHelpContext);

    auto internal = call(p.get(), L"Fail", Args().i2(2));
    EXPECT_EQ(61704, internal.excep.wCode);
    EXPECT_EQ(
        L"\uff71\uff8c\uff9f\uff98\uff79\uff70\uff7c\uff6e\uff9d\u306e\u5185\u90e8\uff74\uff97\uff70\u3067\u3059\u3002",
        internal.description());

    // Without an exception block the code still comes back.
    Variant out;
    std::vector<VARIANT> array = Args().i2(2).reversed();
    DISPPARAMS params{array.data(), nullptr, 1, 0};
    EXPECT_EQ(DISP_E_EXCEPTION,
              p.get()->Invoke(12, IID_NULL, 0, DISPATCH_METHOD, &params, out.ptr(), nullptr, nullptr));
}

TEST(DispatchErrors, ReadOnlyProperty) {
    Probe p;
    auto r = put(p.get(), L"Count", Args().i4(1));
    ASSERT_EQ(DISP_E_EXCEPTION, r.hr);
    EXPECT_EQ(61837, r.excep.wCode);
    EXPECT_EQ(0x6F18Du, r.excep.dwHelpContext);
    EXPECT_EQ(
        L"\u8aad\u307f\u53d6\u308a\u5c02\u7528\uff8c\uff9f\uff9b\uff8a\uff9f\uff83\uff68\u306b\u306f"
        L"\u66f8\u304d\u8fbc\u3081\u307e\u305b\u3093\u3002",
        r.description());
    EXPECT_EQ(DISP_E_TYPEMISMATCH, put(p.get(), L"Count", Args().str(L"many")).hr) << "conversion comes first";
    // An indexed read-only property takes its index before the value.
    EXPECT_EQ(DISP_E_EXCEPTION, invoke(p.get(), 14, DISPATCH_PROPERTYPUT, Args().i4(1).i4(2), false).hr);
    EXPECT_EQ(3, call(p.get(), L"Indexed", Args().i4(2)).value.get().lVal);
}

// ---------------------------------------------------------------------------
// IUnknown

class CSelfReleasing final : public DispatchObject {
public:
    CSelfReleasing() noexcept : DispatchObject(CProbe::kClass) {}
    ~CSelfReleasing() override { released_in_destructor = Release(); }
    static ULONG released_in_destructor;
};
ULONG CSelfReleasing::released_in_destructor = 99;

TEST(DispatchUnknown, CountsFromOneAndStopsAtZero) {
    auto* object = new CSelfReleasing();
    EXPECT_EQ(2u, object->AddRef());
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(0u, CSelfReleasing::released_in_destructor) << "a release at count 0 does nothing";
}

TEST(DispatchUnknown, InterfacesAndTypeInfo) {
    Probe p;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(S_OK, p.get()->QueryInterface(IID_IProbe, &out));
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(E_NOINTERFACE, p.get()->QueryInterface(IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_POINTER, p.get()->QueryInterface(IID_IUnknown, nullptr));

    UINT count = 5;
    EXPECT_EQ(S_OK, p.get()->GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(E_NOTIMPL, p.get()->GetTypeInfo(0, 0, &info));
    EXPECT_EQ(nullptr, info);
    EXPECT_EQ(E_INVALIDARG, p.get()->GetTypeInfo(1, 0, &info));
}

}  // namespace
