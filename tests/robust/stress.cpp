// Stress: many objects made and released, many compose/destroy cycles of a
// form holding every kind of item, and one List of very many entries. The
// process's private bytes, working set, kernel handles, GDI and USER objects
// and windows are measured after a warm-up round (which makes what the
// platform creates once: window classes, fonts, COM and heap caches) and
// again after the run; none may grow beyond a small allowance.
//
//   stress [--full]      reduced size by default; --full: 10^6 objects,
//                        10^4 compose/destroy cycles, 10^7 list entries
//
// Where the platform's own counters answer 0 (Wine: PrivateUsage,
// GetProcessHandleCount, GetGuiResources), the figures come from a walk
// instead: committed private pages by VirtualQuery, kernel handles by
// probing handle values with GetHandleInformation. GDI and USER objects have
// no such walk; the window count (top-level and child windows of the
// process) stands in for the USER side.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "frame/module.h"
#include "frame/raii.h"
#include "scriptdialog/scriptdialog.h"
#include "support/disp.h"

using namespace torvane;
using namespace torvane::test;

namespace {

// Committed private pages of the address space.
SIZE_T committed_private() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; ::VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

// Open kernel handles, found by asking about every handle value in turn.
DWORD probed_handles() {
    DWORD n = 0;
    ULONG_PTR last = 0;
    // Handle values are handed out from the bottom; the probe stops 4096
    // handles (0x4000 values) above the highest one found.
    for (ULONG_PTR v = 4; v < 0x1000000 && v < last + 0x4000 + 4; v += 4) {
        DWORD flags;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) {
            ++n;
            last = v;
        }
    }
    return n;
}

struct Counts {
    SIZE_T private_bytes = 0;
    SIZE_T working_set = 0;
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    int windows = 0;
    LONG objects = 0;
};

BOOL CALLBACK count_child(HWND, LPARAM data) {
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}
BOOL CALLBACK count_top(HWND hwnd, LPARAM data) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<int*>(data);
    ::EnumChildWindows(hwnd, count_child, data);
    return TRUE;
}

void pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

Counts measure() {
    pump();
    Counts c;
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        c.private_bytes = pmc.PrivateUsage;
        c.working_set = pmc.WorkingSetSize;
    }
    if (c.private_bytes == 0) c.private_bytes = committed_private();
    ::GetProcessHandleCount(::GetCurrentProcess(), &c.handles);
    if (c.handles == 0) c.handles = probed_handles();
    c.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    c.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    ::EnumWindows(count_top, reinterpret_cast<LPARAM>(&c.windows));
    c.objects = module::live_objects();
    return c;
}

void print(const char* label, const Counts& c) {
    std::printf(
        "  %-7s private %8zu KB  working set %8zu KB  handles %5lu  GDI %4lu  USER %4lu  windows %3d  objects %ld\n",
        label, static_cast<std::size_t>(c.private_bytes / 1024), static_cast<std::size_t>(c.working_set / 1024),
        static_cast<unsigned long>(c.handles), static_cast<unsigned long>(c.gdi), static_cast<unsigned long>(c.user),
        c.windows, static_cast<long>(c.objects));
}

int g_failures = 0;

void fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    ++g_failures;
}

// Growth allowed after the warm-up: the C runtime's and the platform's heaps
// keep freed blocks for reuse and grow their bookkeeping now and then, so
// private bytes may move by a few hundred kilobytes either way; handles,
// GDI/USER objects, windows and live objects may not grow at all.
constexpr SIZE_T kMemorySlack = 2u << 20;

void compare(const char* phase, const Counts& before, const Counts& after) {
    print("before", before);
    print("after", after);
    char what[160];
    auto check = [&](bool ok, const char* item) {
        if (ok) return;
        std::snprintf(what, sizeof what, "%s: %s grew", phase, item);
        fail(what);
    };
    check(after.private_bytes <= before.private_bytes + kMemorySlack, "private bytes");
    check(after.handles <= before.handles, "handles");
    check(after.gdi <= before.gdi, "GDI objects");
    check(after.user <= before.user, "USER objects");
    check(after.windows <= before.windows, "windows");
    check(after.objects == before.objects, "live objects");
}

ComPtr<IDispatch> made_by(IDispatch* sd, const wchar_t* maker) {
    auto r = call(sd, maker);
    return r.hr == S_OK ? as_dispatch(r.value) : ComPtr<IDispatch>();
}

// n objects: ScriptDialog objects, and Lists and Forms they make.
void objects(long n) {
    ComPtr<IDispatch> sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
    long made = 0;
    for (long i = 0; i < n; ++i) {
        switch (i % 4) {
            case 0:
                sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
                ++made;
                break;
            case 1: made += made_by(sd.get(), L"CreateList") ? 1 : 0; break;
            case 2: made += made_by(sd.get(), L"CreateForm") ? 1 : 0; break;
            default: {
                auto list = made_by(sd.get(), L"CreateList");
                if (!list || call(list.get(), L"AddTail", Args().str(L"x")).hr != S_OK) fail("a list made in the loop");
                made += list ? 1 : 0;
                break;
            }
        }
    }
    if (made != n) fail("objects not made");
}

// n compose/destroy cycles of one form, and a new form every 100 cycles.
void forms(long n) {
    ComPtr<IDispatch> sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
    ComPtr<IDispatch> form;
    for (long i = 0; i < n; ++i) {
        if (i % 100 == 0) {
            form = made_by(sd.get(), L"CreateForm");
            define_every_item_kind(form.get());
        }
        auto r = call(form.get(), L"ComposeForm");
        if (r.hr != S_OK) return fail("ComposeForm");
        pump();
        put(form.get(), L"Value", Args().i2(1).str(L"typed"));
        if (call(form.get(), L"DestroyForm").hr != S_OK) return fail("DestroyForm");
    }
}

// One list of n short entries, read back at a few places, then emptied.
void long_list(long n) {
    ComPtr<IDispatch> sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
    auto list = made_by(sd.get(), L"CreateList");
    if (!list) return fail("CreateList");
    const DISPID add = id_of(list.get(), L"AddTail");
    static const wchar_t* const texts[] = {L"a", L"bc", L"d,e", L"\x65e5\x672c", L"fgh12"};
    for (long i = 0; i < n; ++i) {
        if (invoke(list.get(), add, DISPATCH_METHOD, Args().str(texts[i % 5]), false).hr != S_OK)
            return fail("AddTail");
    }
    auto count = get(list.get(), L"Count");
    if (count.value.vt() != VT_I4 || count.value.get().lVal != n) fail("Count after the adds");
    auto last = get(list.get(), L"Value", Args().i4(n - 1));
    if (last.hr != S_OK || last.value.vt() != VT_BSTR || std::wcscmp(last.value.get().bstrVal, texts[(n - 1) % 5]) != 0)
        fail("the last entry");
    if (call(list.get(), L"RemoveAll").hr != S_OK) fail("RemoveAll");
    for (long i = 0; i < 1000; ++i) invoke(list.get(), add, DISPATCH_METHOD, Args().str(texts[i % 5]), false);
}

}  // namespace

int main(int argc, char** argv) {
    bool full = false;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--full")) full = true;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    module::init(::GetModuleHandleW(nullptr));
    ::OleInitialize(nullptr);

    const long n_objects = full ? 1000000 : 40000;
    const long n_cycles = full ? 10000 : 40;
    const long n_entries = full ? 10000000 : 100000;
    std::printf("%s size: %ld objects, %ld compose/destroy cycles, %ld list entries\n", full ? "full" : "reduced",
                n_objects, n_cycles, n_entries);

    struct Phase {
        const char* name;
        void (*run)(long);
        long n, warm;
    } phases[] = {
        {"objects", objects, n_objects, 400}, {"forms", forms, n_cycles, 3}, {"list", long_list, n_entries, 20000}};
    for (const Phase& p : phases) {
        p.run(p.warm);
        const Counts before = measure();
        LARGE_INTEGER freq, t0, t1;
        ::QueryPerformanceFrequency(&freq);
        ::QueryPerformanceCounter(&t0);
        p.run(p.n);
        ::QueryPerformanceCounter(&t1);
        const unsigned long elapsed = static_cast<unsigned long>((t1.QuadPart - t0.QuadPart) * 1000 / freq.QuadPart);
        const Counts after = measure();
        std::printf("%s: %ld in %lu ms\n", p.name, p.n, elapsed);
        compare(p.name, before, after);
    }

    ::OleUninitialize();
    std::printf(g_failures ? "%d failure(s)\n" : "no failures\n", g_failures);
    return g_failures ? 1 : 0;
}
