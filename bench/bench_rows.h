#pragma once
// Timing and row printing shared by the C++ benchmark programs other than
// call_bench. Rows go out as tab-separated records that bench/run.sh lays
// out as one table (see bench/format_table.awk):
//
//   ROW  name  peer  unit  lib-median lib-low lib-high  peer-median peer-low peer-high  ratio
//   HEAD text          a section heading
//   NOTE text          a line printed as it is
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace torvane::bench {

inline double now_ns() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e9 / static_cast<double>(freq.QuadPart);
}

struct Figure {
    double median = 0, low = 0, high = 0;
};

inline Figure summary(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

struct Pair {
    Figure a, b;
    double ratio = 0;
};

// Runs a and b in alternating repetitions (so both see the same load of the
// machine); each returns the figure of one repetition (time per unit of
// work). The ratio is the median of the per-repetition ratios.
inline Pair alternate(int reps, const std::function<double()>& a, const std::function<double()>& b) {
    std::vector<double> ta, tb, ratios;
    for (int r = 0; r < reps; ++r) {
        ta.push_back(a());
        tb.push_back(b());
        ratios.push_back(tb.back() > 0 ? ta.back() / tb.back() : 0);
    }
    return {summary(ta), summary(tb), summary(ratios).median};
}

inline void head(const std::string& text) { std::printf("HEAD\t%s\n", text.c_str()); }
inline void note(const std::string& text) { std::printf("NOTE\t%s\n", text.c_str()); }

inline void row(const std::string& name, const std::string& peer, const std::string& unit, const Pair& p) {
    std::printf("ROW\t%s\t%s\t%s\t%.4g\t%.4g\t%.4g\t%.4g\t%.4g\t%.4g\t%.3f\n", name.c_str(), peer.c_str(), unit.c_str(),
                p.a.median, p.a.low, p.a.high, p.b.median, p.b.low, p.b.high, p.ratio);
    std::fflush(stdout);
}

// A row with a single figure (no peer).
inline void single(const std::string& name, const std::string& unit, const Figure& f) {
    std::printf("ROW\t%s\t-\t%s\t%.4g\t%.4g\t%.4g\t-\t-\t-\t-\n", name.c_str(), unit.c_str(), f.median, f.low, f.high);
    std::fflush(stdout);
}

}  // namespace torvane::bench
