// The List at scale and the Form's window against their peers, from C++ with
// the library's code linked in (as call_bench does), in one run:
//
//   peer_bench [--quick] [--forms | --no-forms | --find | --load]   (--find, --load: those rows alone)
//
// - List of 10^5, 10^6 and 10^7 entries (10^3..10^5 with --quick), filled and
//   read through IDispatch, against the floor object (a std::vector of
//   std::string behind a hand-written IDispatch): time per append and per
//   read, committed private memory per entry, and the growth of the append time.
// - Find over 10^6 short entries (no entry matches, so every entry is
//   searched) against a plain C++ loop of string_view::find over the same
//   texts, without any dispatch.
// - LoadFile of a file of 10^6 lines (10^4 with --quick) against a C++
//   floor that reads the file whole and splits it into a std::vector of
//   std::string, without any dispatch.
// - A form of 64 items (CreateForm, 64 Define calls, ComposeForm,
//   DestroyForm) against CreateDialogIndirectParam of a template holding the
//   very controls that form made (cloned from a composed form's window).
//
// Output: tab-separated records for bench/format_table.awk (bench_rows.h).
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
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

bool g_quick = false;

// As script engines call: the name looked up on every call.
HRESULT call_by_name(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                     Variant* result = nullptr) {
    return call(object, id_of(object, name), flags, args, result);
}

// Committed private memory of the process, summed over its regions (Wine
// leaves PrivateUsage of GetProcessMemoryInfo at 0).
double private_bytes() {
    double total = 0;
    MEMORY_BASIC_INFORMATION m{};
    const char* p = nullptr;
    while (::VirtualQuery(p, &m, sizeof m) == sizeof m) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += static_cast<double>(m.RegionSize);
        const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

std::string power(long n) {
    int e = 0;
    while (n >= 10) {
        n /= 10;
        ++e;
    }
    return "10^" + std::to_string(e);
}

// ---------------------------------------------------------------- the List

constexpr int kTexts = 1024;
constexpr std::size_t kTextBytes = 11;  // "item0000123"

struct Texts {
    std::vector<UniqueBstr> wide;
    std::vector<std::string> narrow;
    Texts() {
        for (int i = 0; i < kTexts; ++i) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "item%07d", i * 7919 % 10000000);
            narrow.emplace_back(buf);
            std::wstring w(narrow.back().begin(), narrow.back().end());
            wide.emplace_back(::SysAllocString(w.c_str()));
        }
    }
};

// ns per append of n entries through IDispatch.
double fill(IDispatch* object, long n, const Texts& texts) {
    const DISPID add = id_of(object, L"AddTail");
    std::vector<VARIANT> args(1);
    const double t0 = now_ns();
    for (long i = 0; i < n; ++i) {
        args[0] = str(texts.wide[static_cast<std::size_t>(i % kTexts)].get());
        call(object, add, DISPATCH_METHOD, args);
    }
    return (now_ns() - t0) / static_cast<double>(n);
}

// ns per read of all n entries through IDispatch.
double read_all(IDispatch* object, long n) {
    const DISPID value = id_of(object, L"Value");
    std::vector<VARIANT> args(1);
    const double t0 = now_ns();
    for (long i = 0; i < n; ++i) {
        args[0] = i4(i);
        Variant v;
        call(object, value, DISPATCH_PROPERTYGET, args, &v);
    }
    return (now_ns() - t0) / static_cast<double>(n);
}

void list_at_scale(IDispatch* sd, const Texts& texts) {
    const std::vector<long> sizes =
        g_quick ? std::vector<long>{1000, 10000, 100000} : std::vector<long>{100000, 1000000, 10000000};
    head("List at scale (C++ through IDispatch; peer: the floor object, a std::vector<std::string>; entries of " +
         std::to_string(kTextBytes) + " text bytes)");

    // Memory first, before the timing loops have grown the heap: one list of
    // each size, all alive together, measured as the growth of the process's
    // committed private memory.
    {
        std::vector<ComPtr<IDispatch>> keep;
        for (long n : sizes) {
            double before = private_bytes();
            auto list = made_by(sd, L"CreateList");
            fill(list.get(), n, texts);
            const double lib = (private_bytes() - before) / static_cast<double>(n);
            keep.push_back(std::move(list));
            before = private_bytes();
            auto floor = ComPtr<IDispatch>::adopt(new Floor());
            fill(floor.get(), n, texts);
            const double peer = (private_bytes() - before) / static_cast<double>(n);
            keep.push_back(std::move(floor));
            Pair p{{lib, lib, lib}, {peer, peer, peer}, peer > 0 ? lib / peer : 0};
            row("List " + power(n) + " memory per entry", "floor vector<string>", "bytes", p);
        }
    }

    // Every repetition covers all sizes (smallest first), so that a change
    // in the machine's load falls on all of them alike.
    struct Series {
        std::vector<double> add_lib, add_peer, read_lib, read_peer, ratio_add, ratio_read;
    };
    std::vector<Series> series(sizes.size());
    std::vector<double> growth_lib, growth_peer, growth_ratio;
    const int reps = g_quick ? 1 : 5;
    for (int r = 0; r < reps; ++r) {
        for (std::size_t k = 0; k < sizes.size(); ++k) {
            const long n = sizes[k];
            Series& s = series[k];
            {
                auto list = made_by(sd, L"CreateList");
                s.add_lib.push_back(fill(list.get(), n, texts));
                s.read_lib.push_back(read_all(list.get(), n));
            }
            {
                auto floor = ComPtr<IDispatch>::adopt(new Floor());
                s.add_peer.push_back(fill(floor.get(), n, texts));
                s.read_peer.push_back(read_all(floor.get(), n));
            }
            s.ratio_add.push_back(s.add_lib.back() / s.add_peer.back());
            s.ratio_read.push_back(s.read_lib.back() / s.read_peer.back());
        }
        // Total time of the largest fill against the smallest, this repetition.
        const double scale = static_cast<double>(sizes.back()) / static_cast<double>(sizes.front());
        growth_lib.push_back(series.back().add_lib.back() / series.front().add_lib.back() * scale);
        growth_peer.push_back(series.back().add_peer.back() / series.front().add_peer.back() * scale);
        growth_ratio.push_back(growth_lib.back() / growth_peer.back());
    }
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const Series& s = series[k];
        row("List " + power(sizes[k]) + " AddTail, per append", "floor AddTail", "ns",
            Pair{summary(s.add_lib), summary(s.add_peer), summary(s.ratio_add).median});
        row("List " + power(sizes[k]) + " Value(i), per read", "floor Value(i)", "ns",
            Pair{summary(s.read_lib), summary(s.read_peer), summary(s.ratio_read).median});
    }
    row("List " + power(sizes.back()) + " appends / " + power(sizes.front()) + " appends (total time)",
        "floor, same sizes", "x", Pair{summary(growth_lib), summary(growth_peer), summary(growth_ratio).median});
}

// Find over short entries where nothing matches: every entry is searched.
void find_at_scale(IDispatch* sd, const Texts& texts) {
    const long n = g_quick ? 10000 : 1000000;
    const int reps = g_quick ? 3 : 11;
    auto list = made_by(sd, L"CreateList");
    fill(list.get(), n, texts);
    std::vector<std::string> plain;
    plain.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) plain.push_back(texts.narrow[static_cast<std::size_t>(i % kTexts)]);

    const DISPID find = id_of(list.get(), L"Find");
    UniqueBstr missing(::SysAllocString(L"zz9"));
    volatile long sink = 0;
    for (int mode = 0; mode <= 2; ++mode) {
        std::vector<VARIANT> args{i4(mode), str(missing.get()), i4(-1), i4(0)};
        // Entry 0 written again (unchanged) before each search: a changed
        // list drops its equality index, so every search here looks at each
        // entry (the JScript rows time the indexed searches).
        std::vector<VARIANT> rewrite{str(texts.wide[0].get()), i4(0)};
        const DISPID value = id_of(list.get(), L"Value");
        auto lib = [&] {
            call(list.get(), value, DISPATCH_PROPERTYPUT, rewrite);
            const double t0 = now_ns();
            Variant v;
            call(list.get(), find, DISPATCH_METHOD, args, &v);
            sink = v.get().lVal;
            return (now_ns() - t0) / 1e6;
        };
        auto peer = [&] {
            const double t0 = now_ns();
            long found = -1;
            for (std::size_t i = 0; i < plain.size(); ++i) {
                const std::string_view e = plain[i];
                const bool hit = mode == 0   ? e.find("zz9") != std::string_view::npos
                                 : mode == 1 ? e.substr(0, 3) == "zz9"
                                             : e == "zz9";
                if (hit) {
                    found = static_cast<long>(i);
                    break;
                }
            }
            sink = found;
            return (now_ns() - t0) / 1e6;
        };
        static const char* const kModes[] = {"anywhere", "starts with", "equals"};
        row("List.Find over " + power(n) + " entries, mode " + std::to_string(mode) + " (" + kModes[mode] + ")",
            "C++ loop, no dispatch", "ms", alternate(reps, lib, peer));
    }
}

// LoadFile of a file of n lines, ANSI and UTF-8, against reading the file
// whole and splitting it at its line ends in plain C++.
void load_file_at_scale(IDispatch* sd, const Texts& texts) {
    const long n = g_quick ? 10000 : 1000000;
    const int reps = g_quick ? 3 : 7;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path =
        std::wstring(temp) + L"torvane-bench-lines-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    for (const bool utf8 : {false, true}) {
        std::string bytes;
        for (long i = 0; i < n; ++i) {
            bytes += texts.narrow[static_cast<std::size_t>(i % kTexts)];
            if (utf8) bytes += "\xE8\xA1\xA8";  // one kanji a line: the file is read as UTF-8
            bytes += "\r\n";
        }
        {
            UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
        auto list = made_by(sd, L"CreateList");
        const DISPID load = id_of(list.get(), L"LoadFile");
        UniqueBstr wpath(::SysAllocString(path.c_str()));
        volatile long sink = 0;
        auto lib = [&] {
            std::vector<VARIANT> args{str(wpath.get())};
            const double t0 = now_ns();
            Variant v;
            call(list.get(), load, DISPATCH_METHOD, args, &v);
            sink = v.get().lVal;
            return (now_ns() - t0) / 1e6;
        };
        auto peer = [&] {
            const double t0 = now_ns();
            std::vector<std::string> lines;
            UniqueFile f(
                ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            LARGE_INTEGER size{};
            ::GetFileSizeEx(f.get(), &size);
            std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
            DWORD got = 0;
            ::ReadFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
            std::size_t start = 0;
            for (std::size_t i = 0; i < got; ++i) {
                if (data[i] != '\r' && data[i] != '\n') continue;
                lines.emplace_back(data, start, i - start);
                if (data[i] == '\r' && i + 1 < got && data[i + 1] == '\n') ++i;
                start = i + 1;
            }
            if (start < got) lines.emplace_back(data, start, got - start);
            sink = static_cast<long>(lines.size());
            return (now_ns() - t0) / 1e6;
        };
        row(std::string("List.LoadFile of ") + power(n) + " lines, " + (utf8 ? "UTF-8 (converted)" : "ANSI"),
            "C++ read whole + split, no dispatch", "ms", alternate(reps, lib, peer));
        (void)sink;
    }
    ::DeleteFileW(path.c_str());
}

// ---------------------------------------------------------------- the Form

void pump() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

UniqueBstr bstr(const wchar_t* s) { return UniqueBstr(::SysAllocString(s)); }

// 64 items of four kinds, as a typical form mixes them.
void define_items(IDispatch* form) {
    auto label = bstr(L"Label text"), caption = bstr(L"Name"), text = bstr(L"value"), checks = bstr(L"A;B;C"),
         buttons = bstr(L"OK;Cancel");
    for (int i = 0; i < 64; ++i) {
        switch (i % 4) {
            case 0: call_by_name(form, L"DefineLabel", DISPATCH_METHOD, {str(label.get())}); break;
            case 1: call_by_name(form, L"DefineEdit", DISPATCH_METHOD, {str(text.get()), str(caption.get())}); break;
            case 2: call_by_name(form, L"DefineCheckButton", DISPATCH_METHOD, {str(checks.get())}); break;
            default: call_by_name(form, L"DefineButton", DISPATCH_METHOD, {str(buttons.get())}); break;
        }
    }
}

BOOL CALLBACK find_dialog(HWND hwnd, LPARAM out) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (::IsWindowVisible(hwnd) && std::wcscmp(cls, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct Control {
    std::wstring cls, text;
    DWORD style, ex_style;
    RECT rect;
    WORD id;
};

BOOL CALLBACK collect_control(HWND hwnd, LPARAM out) {
    auto& controls = *reinterpret_cast<std::vector<Control>*>(out);
    Control c{};
    wchar_t buf[256] = {};
    ::GetClassNameW(hwnd, buf, 256);
    c.cls = buf;
    ::GetWindowTextW(hwnd, buf, 256);
    c.text = buf;
    c.style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
    c.ex_style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
    ::GetWindowRect(hwnd, &c.rect);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&c.rect), 2);
    c.id = static_cast<WORD>(::GetDlgCtrlID(hwnd));
    controls.push_back(c);
    return TRUE;
}

// An in-memory dialog template: header, then one item per control, each
// DWORD-aligned.
class TemplateWriter {
public:
    void words(const std::wstring& s) {
        for (wchar_t ch : s) word(static_cast<WORD>(ch));
        word(0);
    }
    void word(WORD w) { bytes_.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    void align() {
        if (bytes_.size() % 2) word(0);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }
    std::size_t controls_at = 0;

private:
    std::vector<WORD> bytes_;  // begins DWORD-aligned (vector storage)
};

// The controls of a composed form, in a template for CreateDialogIndirectParam.
TemplateWriter clone_template(HWND dialog, const std::vector<Control>& controls) {
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(dialog, &units);
    const int bx = units.right ? units.right : 1, by = units.bottom ? units.bottom : 1;
    auto dlu_x = [&](LONG px) { return static_cast<WORD>(static_cast<short>(px * 4 / bx)); };
    auto dlu_y = [&](LONG px) { return static_cast<WORD>(static_cast<short>(px * 8 / by)); };
    RECT client{};
    ::GetClientRect(dialog, &client);

    TemplateWriter t;
    const DWORD style = (static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)) | DS_SETFONT) & ~WS_VISIBLE;
    t.dword(style);
    t.dword(0);  // extended style
    t.word(static_cast<WORD>(controls.size()));
    t.word(0);
    t.word(0);
    t.word(dlu_x(client.right));
    t.word(dlu_y(client.bottom));
    t.word(0);                // no menu
    t.word(0);                // default class
    t.words(L"Bare dialog");  // caption
    t.word(11);               // the form's font
    t.words(L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");
    for (const Control& c : controls) {
        t.align();
        t.dword(c.style);
        t.dword(c.ex_style);
        t.word(dlu_x(c.rect.left));
        t.word(dlu_y(c.rect.top));
        t.word(dlu_x(c.rect.right - c.rect.left));
        t.word(dlu_y(c.rect.bottom - c.rect.top));
        t.word(c.id);
        t.words(c.cls);
        t.words(c.text);
        t.word(0);  // no creation data
    }
    return t;
}

INT_PTR CALLBACK bare_dialog_proc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void form_against_bare_dialog(IDispatch* sd) {
    head(
        "Form of 64 items (C++ through IDispatch, names looked up per call) against CreateDialogIndirectParam "
        "of the same controls");
    const int reps = g_quick ? 1 : 11;
    const int per_rep = g_quick ? 1 : 10;

    // The controls a 64-item form makes, cloned from its window.
    std::vector<Control> controls;
    HWND dialog = nullptr;
    auto probe = made_by(sd, L"CreateForm");
    if (!probe) {
        note("(CreateForm not available)");
        return;
    }
    define_items(probe.get());
    std::vector<VARIANT> none;
    call(probe.get(), id_of(probe.get(), L"ComposeForm"), DISPATCH_METHOD, none);
    pump();
    ::EnumThreadWindows(::GetCurrentThreadId(), &find_dialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        note("(no form window found)");
        return;
    }
    ::EnumChildWindows(dialog, &collect_control, reinterpret_cast<LPARAM>(&controls));
    const TemplateWriter bare = clone_template(dialog, controls);
    call(probe.get(), id_of(probe.get(), L"DestroyForm"), DISPATCH_METHOD, none);
    pump();
    note("64 items make " + std::to_string(controls.size()) +
         " controls (16 each of: label; caption + edit; 3 toggle buttons; OK + Cancel)");

    auto bare_cycle = [&] {
        const double t0 = now_ns();
        for (int i = 0; i < per_rep; ++i) {
            HWND h =
                ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), bare.get(), nullptr, &bare_dialog_proc, 0);
            ::ShowWindow(h, SW_SHOWNORMAL);
            ::DestroyWindow(h);
            pump();
        }
        return (now_ns() - t0) / 1e6 / per_rep;
    };
    auto whole_cycle = [&] {
        const double t0 = now_ns();
        for (int i = 0; i < per_rep; ++i) {
            auto form = made_by(sd, L"CreateForm");
            define_items(form.get());
            call_by_name(form.get(), L"ComposeForm", DISPATCH_METHOD, {});
            call_by_name(form.get(), L"DestroyForm", DISPATCH_METHOD, {});
            pump();
        }
        return (now_ns() - t0) / 1e6 / per_rep;
    };
    auto defined = made_by(sd, L"CreateForm");
    define_items(defined.get());
    auto compose_cycle = [&] {
        const double t0 = now_ns();
        for (int i = 0; i < per_rep; ++i) {
            call_by_name(defined.get(), L"ComposeForm", DISPATCH_METHOD, {});
            call_by_name(defined.get(), L"DestroyForm", DISPATCH_METHOD, {});
            pump();
        }
        return (now_ns() - t0) / 1e6 / per_rep;
    };
    whole_cycle();
    bare_cycle();
    row("Form: CreateForm, Define x64, ComposeForm, DestroyForm", "bare dialog create+destroy", "ms",
        alternate(reps, whole_cycle, bare_cycle));
    row("Form: ComposeForm, DestroyForm (64 items defined)", "bare dialog create+destroy", "ms",
        alternate(reps, compose_cycle, bare_cycle));
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--quick")) g_quick = true;
    module::init(::GetModuleHandleW(nullptr));
    ::OleInitialize(nullptr);
    {
        auto sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
        const Texts texts;
        bool only_forms = false, no_forms = false, only_find = false, only_load = false;
        for (int i = 1; i < argc; ++i) {
            if (!std::strcmp(argv[i], "--forms")) only_forms = true;
            if (!std::strcmp(argv[i], "--no-forms")) no_forms = true;
            if (!std::strcmp(argv[i], "--find")) only_find = no_forms = true;
            if (!std::strcmp(argv[i], "--load")) only_load = only_find = no_forms = true;
        }
        if (!only_forms) {
            if (!only_find) list_at_scale(sd.get(), texts);
            if (!only_load) {
                head("List.Find: every entry searched, nothing matches (C++ through IDispatch)");
                find_at_scale(sd.get(), texts);
            }
            if (!only_find || only_load) {
                head("List.LoadFile of a text file (C++ through IDispatch)");
                load_file_at_scale(sd.get(), texts);
            }
        }
        if (!no_forms) form_against_bare_dialog(sd.get());
    }
    std::printf("END\n");
    ::OleUninitialize();
    return 0;
}
