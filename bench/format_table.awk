# Lays out the benchmark programs' output as one table (bench/run.sh).
# Input: tab-separated records from bench_rows.h, lib.js and lib.vbs
#   ROW name peer unit lib-median lib-low lib-high peer-median peer-low peer-high ratio
#   HEAD text / NOTE text
# and call_bench's own lines ("name  med [low- high]  med [low- high]  ratiox").
BEGIN {
    FS = "\t"
    printf "%-56s %-32s %-5s %21s %21s %7s\n", "what (library member)", "peer", "unit",
           "library [low-high]", "peer [low-high]", "ratio"
}
function num(x) {
    if (x == "-" || x == "") return "-"
    x = x + 0
    if (x >= 1000) return sprintf("%.0f", x)
    if (x >= 100) return sprintf("%.1f", x)
    if (x >= 10) return sprintf("%.2f", x)
    return sprintf("%.3f", x)
}
function figure(m, lo, hi) {
    if (m == "-") return "-"
    if (lo == m && hi == m) return num(m)
    return num(m) " [" num(lo) "-" num(hi) "]"
}
function out(name, peer, unit, a, al, ah, b, bl, bh, ratio) {
    printf "%-56s %-32s %-5s %21s %21s %7s\n", name, peer, unit, figure(a, al, ah), figure(b, bl, bh),
           (ratio == "-" ? "-" : sprintf("%.2fx", ratio))
    fflush()
}
{ sub(/\r$/, "") }
$1 == "ROW" { out($2, $3, $4, $5, $6, $7, $8, $9, $10, $11); next }
$1 == "END" { next }
$1 == "HEAD" { printf "\n== %s\n", $2; next }
$1 == "NOTE" { printf "   %s\n", $2; next }
/^C\+\+ calls, ns per call/ { printf "\n== %s (peer: the floor object)\n", $0; next }
/^member +library +floor +ratio/ { next }
/\] +[0-9.]+x$/ {
    line = $0
    gsub(/\[ */, " ", line); gsub(/- */, " ", line); gsub(/\]/, " ", line)
    n = split(line, f, " +")
    name = f[1]
    for (i = 2; i <= n - 7; i++) name = name " " f[i]
    ratio = f[n]; sub(/x$/, "", ratio)
    out("C++ " name, "floor", "ns", f[n - 6], f[n - 5], f[n - 4], f[n - 3], f[n - 2], f[n - 1], ratio)
    next
}
NF > 0 { print }
