#!/bin/bash
# Builds and runs every benchmark under Wine, code page 932, and prints one
# table: each row times the library and its peer (the floor object, a
# platform component or plain script code) side by side in the same run.
#
#   bench/run.sh          full run (a few minutes)
#   bench/run.sh quick    a short run that only shows that everything works
#
# Figures are medians over repetitions; ratios are library / peer (below 1:
# the library is faster). Absolute times on shared machines mean little.
set -eu
source "$(dirname "$0")/../scripts/common.sh"
cd "$TORVANE_ROOT"
quick=${1:-}

torvane_install_packages
arch=$(torvane_pick_arch)
torvane_build "$arch" >/dev/null
trap torvane_wine_down EXIT
torvane_wine_up "$arch"
bin="build-$arch/bin"
for dll in "$bin"/TorvaneScriptDialog*.dll "$bin"/TorvaneBenchFloor.dll; do
    "$WINE" regsvr32 /s "$(torvane_winpath "$dll")"
done

echo "== benchmarks ($arch build, code page 932)"
"$WINE" "$bin/call_bench.exe" ${quick:+--quick}

work=$(mktemp -d)
trap 'rm -rf "$work"; torvane_wine_down' EXIT
for script in bench/scripts/*.js bench/scripts/*.vbs; do
    case "$script" in */lib.js) continue ;; esac
    copy="$work/$(basename "$script")"
    if [ "${script##*.}" = js ]; then
        cat "$script" bench/scripts/lib.js > "$copy"
    else
        cp "$script" "$copy"
    fi
    (cd "$work" && "$WINE" cscript //nologo "$(torvane_winpath "$copy")" ${quick:+quick} </dev/null) ||
        echo "($script failed)"
done
