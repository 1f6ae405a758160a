// Cost of late-bound calls from C++: the library's members against the floor
// object doing the same work, measured side by side in one run.
//
//   call_bench [--quick] [--only TEXT] [--reps N]
//
// --only runs the rows whose name contains TEXT, --reps sets the number of
// repetitions (for profiling one call).
//
// Two ways of calling, as clients do: Invoke with prepared DISPPARAMS and a
// known id, and GetIDsOfNames + Invoke on every call, as script engines do.
// Each figure is the median over repetitions of the time per call, with the
// spread (lowest and highest repetition); the ratio (library / floor) is the
// median of the ratios of repetitions run back to back.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_calls.h"
#include "bench/bench_rows.h"
#include "bench/floor.h"
#include "frame/module.h"
#include "frame/raii.h"
#include "scriptdialog/scriptdialog.h"

using namespace torvane;
using namespace torvane::bench;

namespace {

int g_reps = 11;
long g_calls = 100000;
const char* g_only = nullptr;

bool wanted(const std::string& what) { return !g_only || what.find(g_only) != std::string::npos; }

// Times two calls in alternating repetitions (ns per call), after a warm-up.
Pair measure(const std::function<void()>& a, const std::function<void()>& b) {
    for (int i = 0; i < 1000; ++i) {
        a();
        b();
    }
    auto per_call = [](const std::function<void()>& f) {
        return [&f] {
            const double t0 = now_ns();
            for (long i = 0; i < g_calls; ++i) f();
            return (now_ns() - t0) / static_cast<double>(g_calls);
        };
    };
    return alternate(g_reps, per_call(a), per_call(b));
}

// One member call in both manners, reusing the argument array.
struct Call {
    IDispatch* object;
    std::wstring name;
    WORD flags;
    std::vector<VARIANT> args;  // DISPPARAMS order (last argument first); not owned
    DISPID id = DISPID_UNKNOWN;

    void by_id() {
        DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        Variant result;
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(), nullptr, nullptr);
    }
    void by_name() {
        LPOLESTR names[1] = {const_cast<LPOLESTR>(name.c_str())};
        DISPID found = DISPID_UNKNOWN;
        object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &found);
        DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        Variant result;
        object->Invoke(found, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(), nullptr, nullptr);
    }
    bool prepare() {
        LPOLESTR names[1] = {const_cast<LPOLESTR>(name.c_str())};
        if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        Variant result;
        return SUCCEEDED(
            object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(), nullptr, nullptr));
    }
};

void row(const char* what, const std::function<Pair()>& run) {
    if (!wanted(what)) return;
    const Pair p = run();
    std::printf("%-36s %9.1f [%7.1f-%7.1f] %9.1f [%7.1f-%7.1f] %6.2fx\n", what, p.a.median, p.a.low, p.a.high,
                p.b.median, p.b.low, p.b.high, p.ratio);
}

void compare(const char* what, Call lib, Call floor) {
    if (!lib.prepare() || !floor.prepare()) {
        std::printf("%-36s (not available)\n", what);
        return;
    }
    row((std::string(what) + " by id").c_str(), [&] { return measure([&] { lib.by_id(); }, [&] { floor.by_id(); }); });
    row((std::string(what) + " by name").c_str(),
        [&] { return measure([&] { lib.by_name(); }, [&] { floor.by_name(); }); });
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--quick")) {
            g_reps = 3;
            g_calls = 2000;
        } else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
            g_only = argv[++i];
        } else if (!std::strcmp(argv[i], "--reps") && i + 1 < argc) {
            g_reps = std::max(1, std::atoi(argv[++i]));
        }
    module::init(::GetModuleHandleW(nullptr));
    ::OleInitialize(nullptr);
    {
        auto sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
        auto floor = ComPtr<IDispatch>::adopt(new Floor());
        auto list = made_by(sd.get(), L"CreateList");
        const WORD get = DISPATCH_PROPERTYGET, method = DISPATCH_METHOD;

        std::printf("C++ calls, ns per call: median [lowest-highest] over %d repetitions of %ld calls\n", g_reps,
                    g_calls);
        std::printf("%-36s %29s %29s %7s\n", "member", "library", "floor", "ratio");
        compare("TickCount", {sd.get(), L"TickCount", get, {}}, {floor.get(), L"TickCount", get, {}});
        compare("IntS(123456, 10)", {sd.get(), L"IntS", method, {i4(10), i4(123456)}},
                {floor.get(), L"IntS", method, {i4(10), i4(123456)}});

        VARIANT r8;
        r8.vt = VT_R8;
        r8.dblVal = 1234.5678;
        compare("FloatS(1234.5678, 3)", {sd.get(), L"FloatS", method, {i4(3), r8}},
                {floor.get(), L"FloatS", method, {i4(3), r8}});
        r8.dblVal = 1.0 / 3.0;
        compare("FloatS(1/3, 12)", {sd.get(), L"FloatS", method, {i4(12), r8}},
                {floor.get(), L"FloatS", method, {i4(12), r8}});
        r8.dblVal = 6.02214076e23;
        compare("FloatS(6.02214076e23, -2)", {sd.get(), L"FloatS", method, {i4(-2), r8}},
                {floor.get(), L"FloatS", method, {i4(-2), r8}});

        UniqueBstr text(::SysAllocString(L"abc,def"));
        VARIANT t;
        t.vt = VT_BSTR;
        t.bstrVal = text.get();
        if (list) {
            compare("List.AddTail(\"abc,def\")", {list.get(), L"AddTail", method, {t}},
                    {floor.get(), L"AddTail", method, {t}});
            compare("List.Value(5)", {list.get(), L"Value", get, {i4(5)}}, {floor.get(), L"Value", get, {i4(5)}});
        } else {
            std::printf("%-36s (CreateList not available)\n", "List");
        }

        auto lookup = [](IDispatch* object, const wchar_t* name) {
            return [object, name] {
                LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
                DISPID id;
                object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
            };
        };
        // Name lookup alone, the same name in both: short and long names, in
        // either case, and the last row of the library's largest table (which
        // shares its first seven characters with the row before it).
        row("GetIDsOfNames(\"TickCount\")",
            [&] { return measure(lookup(sd.get(), L"TickCount"), lookup(floor.get(), L"TickCount")); });
        row("GetIDsOfNames(\"tickcount\")",
            [&] { return measure(lookup(sd.get(), L"tickcount"), lookup(floor.get(), L"tickcount")); });
        row("GetIDsOfNames(\"IntS\")",
            [&] { return measure(lookup(sd.get(), L"IntS"), lookup(floor.get(), L"IntS")); });
        row("GetIDsOfNames(last: \"ProfileValue\")",
            [&] { return measure(lookup(sd.get(), L"ProfileValue"), lookup(floor.get(), L"ProfileValue")); });
    }
    ::OleUninitialize();
    return 0;
}
