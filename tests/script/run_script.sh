#!/bin/bash
# Runs one script test under the script host, or registers the DLL.
#   run_script.sh --register WINE-LOADER DLL
#   run_script.sh WINE-LOADER SCRIPT
#
# The assertion library of the script's language (lib/assert.vbs or .js) is
# appended to a copy of the script: its procedures are visible from the top
# and the script's own line numbers stay as they are. A test passes when the
# host exits with 0 and the library printed its final "ALL PASSED" line, so a
# script that dies half-way fails. Each script runs in a fresh temporary
# folder of its own, removed afterwards.
set -u
here=$(cd "$(dirname "$0")" && pwd)
winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr '/' '\\')"; }

if [ "$1" = --register ]; then
    "$2" regsvr32 /s "$(winpath "$3")"
    exit $?
fi

wine=$1 script=$2
ext=${script##*.}
work=$(mktemp -d "${TMPDIR:-/tmp}/torvane-script.XXXXXX")
trap 'rm -rf "$work"' EXIT
copy="$work/$(basename "$script")"
cat "$script" "$here/lib/assert.$ext" > "$copy"
cd "$work" || exit 1
# The host's "script error" note (fixme:wscript:...OnScriptError) is the only
# sign of a runtime error that stopped the script: keep it visible.
out=$(WINEDEBUG=-all,fixme+wscript timeout "${TORVANE_SCRIPT_TIMEOUT:-300}" "$wine" cscript //nologo "$(winpath "$copy")" 2>&1 </dev/null)
rc=$?
printf '%s\n' "$out" | grep -v -E 'fixme:wscript:set_host_properties'
if [ $rc -ne 0 ] || ! printf '%s\n' "$out" | grep -q '^ALL PASSED'; then
    echo "script test failed (exit code $rc)"
    exit 1
fi
exit 0
