#!/bin/bash
# Builds and runs every benchmark under Wine, code page 932, and prints one
# table: each row times the library and its peer (the floor object, a
# platform component or plain script code) side by side in the same run.
#
#   bench/run.sh          full run (about ten minutes)
#   bench/run.sh quick    a short run that only shows that everything works
#
# Columns: what is timed | its peer | unit | library median [lowest-highest
# repetition] | peer likewise | ratio. Figures are medians over repetitions
# in which the two sides alternate; the ratio (library / peer, below 1: the
# library is faster) is the median of the per-repetition ratios. Absolute
# times on shared machines mean little. README.md ("Benchmarks") explains
# each group of rows.
set -eu
source "$(dirname "$0")/../scripts/common.sh"
cd "$TORVANE_ROOT"
quick=${1:-}

torvane_install_packages
arch=$(torvane_pick_arch)
torvane_build "$arch" -DTORVANE_TESTS=ON >/dev/null
trap torvane_wine_down EXIT
torvane_wine_up "$arch"
bin="build-$arch/bin"
for dll in "$bin"/TorvaneScriptDialog*.dll "$bin"/TorvaneBenchFloor.dll; do
    "$WINE" regsvr32 /s "$(torvane_winpath "$dll")"
done

work=$(mktemp -d)
trap 'rm -rf "$work"; torvane_wine_down' EXIT

# Every program and script that fails or stops early is named in the table
# and in $work/failed; the command then exits 1 (bench/run.sh quick is the
# check that every benchmark still works; it never looks at times).
failed() { echo "($1)"; echo "$1" >>"$work/failed"; }

run_all() {
    "$WINE" "$bin/call_bench.exe" ${quick:+--quick} || failed "call_bench failed"
    for script in bench/scripts/*.js bench/scripts/*.vbs; do
        case "$script" in */lib.js | */lib.vbs) continue ;; esac
        copy="$work/$(basename "$script")"
        cat "$script" "bench/scripts/lib.${script##*.}" > "$copy"
        # A script that stops early (Wine's engines may end silently with
        # rc 0 on an error) misses its last line, "END".
        (cd "$work" && "$WINE" cscript //nologo "$(torvane_winpath "$copy")" ${quick:+quick} </dev/null) \
            >"$work/out" 2>&1 || true
        cat "$work/out"
        grep -q '^END' "$work/out" || failed "$script stopped early"
    done
    "$WINE" "$bin/peer_bench.exe" ${quick:+--quick} >"$work/out" 2>&1 || failed "peer_bench failed"
    cat "$work/out"
    grep -q '^END' "$work/out" || failed "peer_bench stopped early"
    "$WINE" "$bin/output_bench.exe" ${quick:+--quick} >"$work/out" 2>&1 || failed "output_bench failed"
    cat "$work/out"
    grep -q '^END' "$work/out" || failed "output_bench stopped early"
}

echo "== benchmarks: $arch build, code page 932, $(date -u '+%Y-%m-%d %H:%M UTC')${quick:+ (quick: too short to mean anything)}"
run_all 2>&1 | awk -f bench/format_table.awk
if [ -s "$work/failed" ]; then
    echo "FAILED: $(tr '\n' ';' <"$work/failed")"
    exit 1
fi
