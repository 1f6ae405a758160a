#!/bin/bash
# The main job, from a fresh machine (Debian 12, as root) or a prepared one:
# build the library, register it in a private Wine prefix and run the example
# scripts under code page 932.
#
#   scripts/main.sh                 the examples in examples/ (VBScript, JScript)
#   scripts/main.sh FILE.vbs ...    your own scripts instead
set -eu
source "$(dirname "$0")/common.sh"
cd "$TORVANE_ROOT"

torvane_install_packages main
arch=$(torvane_pick_arch)
torvane_build "$arch" -DTORVANE_TESTS=OFF
trap torvane_wine_down EXIT
torvane_wine_up "$arch"

dll=$(ls "build-$arch"/bin/TorvaneScriptDialog*.dll)
torvane_log "registering $dll"
"$WINE" regsvr32 /s "$(torvane_winpath "$dll")"

if [ $# -gt 0 ]; then scripts=("$@"); else scripts=(examples/*.vbs examples/*.js); fi
for script in "${scripts[@]}"; do
    # Examples marked "Windows only" need what Wine's script engines lack.
    if [ $# -eq 0 ] && head -n 8 "$script" | grep -q "Windows only"; then
        torvane_log "skipping $script (Windows only)"
        continue
    fi
    torvane_log "running $script"
    "$WINE" cscript //nologo "$(torvane_winpath "$script")" </dev/null
done
