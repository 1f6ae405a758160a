// The Output window as a log: one-line appends to a visible window through
// IDispatch, AppendText against its peer, the read-and-assign a script
// writes without it (w.Text = w.Text & line), in fresh windows, with
// messages pumped every 100 lines (as a script calling DoEvents). Figures
// are the time per append over the first and over the last 1,000 of 10^4
// appends: flat for AppendText, growing with the text for the peer.
//
// The peer costs time in proportion to the text for every append, so its
// 10^4 appends would take hours under Wine: its last figure is taken over
// the appends 9,901 to 10,000, after one assignment has filled the window
// with the 9,900 lines before them (the same text the appends would have
// built).
//
//   output_bench [--quick] [--hidden]   (--quick: 10^3 appends, blocks of 100;
//                                        --hidden: the windows stay hidden)
//
// Output: tab-separated records for bench/format_table.awk (bench_rows.h).
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_calls.h"
#include "bench/bench_rows.h"
#include "frame/module.h"
#include "frame/raii.h"
#include "scriptdialog/scriptdialog.h"

using namespace torvane;
using namespace torvane::bench;

namespace {

void pump() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

struct Lines {
    std::vector<UniqueBstr> wide;
    explicit Lines(int n) {
        for (int i = 0; i < n; ++i) {
            const std::wstring line = L"line " + std::to_wstring(i + 1) + L": copied C:\\data\\file" +
                                      std::to_wstring(i * 7919 % 100000) + L".txt\r\n";
            wide.emplace_back(::SysAllocString(line.c_str()));
        }
    }
};

bool g_hidden = false;

ComPtr<IDispatch> shown_window(IDispatch* sd) {
    auto w = made_by(sd, L"CreateOutputWindow");
    if (g_hidden) return w;
    std::vector<VARIANT> on(1);
    on[0].vt = VT_BOOL;
    on[0].boolVal = VARIANT_TRUE;
    call(w.get(), id_of(w.get(), L"Visible"), DISPATCH_PROPERTYPUT, on);
    pump();
    return w;
}

using AppendFn = void (*)(IDispatch* w, DISPID id, BSTR line);

void append_text(IDispatch* w, DISPID id, BSTR line) {
    std::vector<VARIANT> args{str(line)};
    call(w, id, DISPATCH_METHOD, args);
}

void read_and_assign(IDispatch* w, DISPID id, BSTR line) {
    std::vector<VARIANT> none;
    Variant now;
    call(w, id, DISPATCH_PROPERTYGET, none, &now);
    const UINT a = ::SysStringLen(now.get().bstrVal), b = ::SysStringLen(line);
    UniqueBstr joined(::SysAllocStringLen(nullptr, a + b));
    std::memcpy(joined.get(), now.get().bstrVal, a * sizeof(wchar_t));
    std::memcpy(joined.get() + a, line, b * sizeof(wchar_t));
    std::vector<VARIANT> args{str(joined.get())};
    call(w, id, DISPATCH_PROPERTYPUT, args);
}

// us per append for each block of `block` appends of lines[from, to), into
// a window that holds lines[0, from) already.
std::vector<double> write_log(IDispatch* sd, const Lines& lines, std::size_t from, std::size_t to, int block,
                              const wchar_t* member, AppendFn add) {
    auto w = shown_window(sd);
    if (from) {
        std::wstring text;
        for (std::size_t i = 0; i < from; ++i) text += lines.wide[i].get();
        UniqueBstr filled(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
        std::vector<VARIANT> args{str(filled.get())};
        call(w.get(), id_of(w.get(), L"Text"), DISPATCH_PROPERTYPUT, args);
        pump();
    }
    const DISPID id = id_of(w.get(), member);
    std::vector<double> per_block;
    double t0 = now_ns();
    for (std::size_t i = from; i < to; ++i) {
        add(w.get(), id, lines.wide[i].get());
        if ((i + 1) % 100 == 0) pump();
        if ((i + 1 - from) % static_cast<std::size_t>(block) == 0) {
            const double t = now_ns();
            per_block.push_back((t - t0) / 1e3 / block);
            t0 = t;
        }
    }
    return per_block;
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--quick"))
            quick = true;
        else if (!std::strcmp(argv[i], "--hidden"))
            g_hidden = true;
    module::init(::GetModuleHandleW(nullptr));
    ::OleInitialize(nullptr);
    {
        auto sd = ComPtr<IDispatch>::adopt(new CTorvane_ScriptDialog());
        const std::size_t n = quick ? 1000 : 10000, block = n / 10, tail = block / 10;
        const int reps = quick ? 1 : 3;
        const Lines lines(static_cast<int>(n));
        head("Output window as a log: " + std::to_string(n) + " one-line appends to a " +
             (g_hidden ? "hidden" : "visible") + " window (C++ through IDispatch), us per append");
        std::vector<double> lib_first, lib_last, lib_growth;
        for (int r = 0; r < reps; ++r) {
            const auto lib = write_log(sd.get(), lines, 0, n, static_cast<int>(block), L"AppendText", &append_text);
            lib_first.push_back(lib.front());
            lib_last.push_back(lib.back());
            lib_growth.push_back(lib.back() / lib.front());
        }
        // One repetition of the peer: it is the slow side by far.
        const double peer_first =
            write_log(sd.get(), lines, 0, block, static_cast<int>(block), L"Text", &read_and_assign).front();
        const double peer_last =
            write_log(sd.get(), lines, n - tail, n, static_cast<int>(tail), L"Text", &read_and_assign).front();
        const Figure pf{peer_first, peer_first, peer_first}, pl{peer_last, peer_last, peer_last};
        const Figure lf = summary(lib_first), ll = summary(lib_last);
        row("OutputWindow.AppendText: appends 1-" + std::to_string(block), "Text = Text & line", "us",
            {lf, pf, lf.median / peer_first});
        row("OutputWindow.AppendText: appends " + std::to_string(n - block + 1) + "-" + std::to_string(n),
            "same, appends " + std::to_string(n - tail + 1) + "-" + std::to_string(n), "us",
            {ll, pl, ll.median / peer_last});
        row("OutputWindow.AppendText: last / first", "Text = Text & line", "x",
            {summary(lib_growth), Figure{peer_last / peer_first, peer_last / peer_first, peer_last / peer_first},
             summary(lib_growth).median / (peer_last / peer_first)});
    }
    std::printf("END\n");
    ::OleUninitialize();
    return 0;
}
