#!/bin/bash
# Checks the release package as a user gets it:
#   tests/package/check_package.sh [ZIP]     (default: the newest dist/*.zip)
#
# 1. Unzips it into a temporary folder and checks the listed contents: both
#    DLLs of the right kind, the install guide with its commands, the
#    licence, every example, the documentation with the reference's JScript
#    examples, and no picture that the documentation does not show.
# 2. In a fresh private Wine prefix, with the DLL this machine can run taken
#    from the unzipped copy:
#    - per-user registration (regsvr32 /n /i:user): the object can be
#      created, the entries are under HKCU only; /u /n /i:user removes them
#      and the object can no longer be created;
#    - per-machine registration (regsvr32): every example (examples/ and
#      the reference's JScript examples in docs/examples/) runs to its end
#      with exit code 0 and prints what tests/package/expected/ says; /u
#      removes the entries again.
# Prints "PACKAGE OK" and exits 0 when everything holds.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/common.sh"

zip=${1:-$(ls -t "$TORVANE_ROOT"/dist/*.zip 2>/dev/null | grep -v -- '-debug\.zip$' | head -n1)}
[ -n "$zip" ] && [ -f "$zip" ] || { echo "no package zip (run scripts/package.sh)"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/torvane-package-check.XXXXXX")
xvfb_pid=
cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then PATH="/usr/lib/wine:$PATH" wineserver -k >/dev/null 2>&1 || true; fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# ---- 1. contents -----------------------------------------------------------
unzip -q "$zip" -d "$work/unzipped" || { echo "cannot unzip $zip"; exit 1; }
top=$(ls "$work/unzipped")
[ "$(printf '%s\n' "$top" | wc -l)" = 1 ] || fail "the zip has more than one top folder: $top"
pkg="$work/unzipped/$(printf '%s\n' "$top" | head -n1)"
[ "${top#TorvaneScriptDialog-}" != "$top" ] && pass "top folder $top" || fail "top folder is $top"

for f in TorvaneScriptDialog.dll TorvaneScriptDialog64.dll INSTALL.txt LICENSE.txt \
         docs/getting-started.md docs/reference.md; do
    [ -s "$pkg/$f" ] && pass "has $f" || fail "missing $f"
done
[ -d "$pkg/docs/images" ] && pass "has docs/images/" || fail "missing docs/images/"
for f in "$TORVANE_ROOT"/examples/*; do
    b=$(basename "$f")
    cmp -s "$f" "$pkg/examples/$b" && pass "has examples/$b" || fail "examples/$b missing or different"
done

for f in "$TORVANE_ROOT"/docs/examples/*.js; do
    b=$(basename "$f")
    cmp -s "$f" "$pkg/docs/examples/$b" && pass "has docs/examples/$b" || fail "docs/examples/$b missing or different"
done

# The screenshots the docs show come from the last test run; a missing one
# is noted, not failed (the window tests that take it may not exist yet).
shown=$(grep -oh 'images/[A-Za-z0-9_-]*\.png' "$pkg"/docs/*.md | sort -u)
for img in $shown; do
    [ -f "$pkg/docs/$img" ] || echo "note: docs/$img is not in the package"
done
for f in "$pkg"/docs/images/*; do
    [ -e "$f" ] || continue
    printf '%s\n' $shown | grep -qx "images/$(basename "$f")" || fail "docs/images/$(basename "$f") is shown nowhere in the docs"
done

kind() { x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null | sed -n 's/.*file format \(.*\)$/\1/p'; }
[ "$(kind "$pkg/TorvaneScriptDialog.dll")" = pei-i386 ] && pass "TorvaneScriptDialog.dll is 32-bit" \
    || fail "TorvaneScriptDialog.dll is $(kind "$pkg/TorvaneScriptDialog.dll")"
[ "$(kind "$pkg/TorvaneScriptDialog64.dll")" = pei-x86-64 ] && pass "TorvaneScriptDialog64.dll is 64-bit" \
    || fail "TorvaneScriptDialog64.dll is $(kind "$pkg/TorvaneScriptDialog64.dll")"

# Fully stripped DLLs within their ceilings, each with a debug link to the
# debug information in the zip beside the package.
debug_zip=${zip%.zip}-debug.zip
for spec in TorvaneScriptDialog.dll:563200 TorvaneScriptDialog64.dll:665600; do
    dll=${spec%%:*} ceiling=${spec#*:}
    size=$(stat -c %s "$pkg/$dll" 2>/dev/null || echo 0)
    [ "$size" -gt 0 ] && [ "$size" -le "$ceiling" ] && pass "$dll is $size bytes (at most $ceiling)" \
        || fail "$dll is $size bytes, over its ceiling of $ceiling"
    x86_64-w64-mingw32-objdump -h "$pkg/$dll" | grep -q '\.debug_' && fail "$dll carries debug sections"
    link=$(x86_64-w64-mingw32-objdump -s -j .gnu_debuglink "$pkg/$dll" 2>/dev/null | perl -ne '
        if (/^ [0-9a-f]+ ((?:[0-9a-f]{2,8} ?){1,4})/) { ($h = $1) =~ s/ //g; $all .= $h }
        END { print((split /\0/, pack("H*", $all // ""))[0] // "") }')
    if [ "$link" = "$dll.debug" ] && unzip -l "$debug_zip" 2>/dev/null | grep -q "/$dll.debug\$"; then
        pass "$dll links to $dll.debug, which the debug zip holds"
    else
        fail "$dll: debug link '$link' not matched by $debug_zip"
    fi
done
unzip -l "$zip" | grep -q '\.debug$' && fail "the package holds debug files"

for line in 'regsvr32 TorvaneScriptDialog.dll' 'regsvr32 TorvaneScriptDialog64.dll' \
            '%windir%\SysWOW64\regsvr32 TorvaneScriptDialog.dll' \
            'regsvr32 /n /i:user TorvaneScriptDialog.dll' 'regsvr32 /n /i:user TorvaneScriptDialog64.dll' \
            '%windir%\SysWOW64\regsvr32 /n /i:user TorvaneScriptDialog.dll' \
            'regsvr32 /u TorvaneScriptDialog64.dll' '%windir%\SysWOW64\regsvr32 /u TorvaneScriptDialog.dll' \
            'regsvr32 /u /n /i:user TorvaneScriptDialog64.dll' \
            '%windir%\SysWOW64\regsvr32 /u /n /i:user TorvaneScriptDialog.dll'; do
    grep -qxF "    $line" "$pkg/INSTALL.txt" && pass "install guide: $line" || fail "install guide lacks: $line"
done
grep -qx 'MIT License' "$pkg/LICENSE.txt" && grep -qx 'Copyright (c) 2026 The TorvaneScriptDialog authors' "$pkg/LICENSE.txt" \
    && pass "MIT licence" || fail "licence text"

# ---- 2. a fresh prefix -----------------------------------------------------
# One 64-bit prefix, as on 64-bit Windows: where this machine runs 32-bit
# programs, the 32-bit DLL is checked with the 32-bit regsvr32 and cscript
# (those of SysWOW64) and the 64-bit DLL with the 64-bit ones; where it
# cannot, the 64-bit DLL alone. TORVANE_ARCH=i686 or x86_64 picks one (i686
# alone in a 32-bit prefix).
if [ -n "${TORVANE_ARCH:-}" ]; then builds=$TORVANE_ARCH
elif torvane_can_run_32; then builds="i686 x86_64"
else builds=x86_64; echo "note: this machine cannot run 32-bit programs: checking the 64-bit DLL only"; fi
if [ "$builds" = i686 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
export WINEDEBUG=-all WINEPREFIX="$work/prefix"
export WINE=$(torvane_wine_loader "${builds##* }")
torvane_locale
torvane_codepage 932
if [ -z "${DISPLAY:-}" ]; then
    fdfile="$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$fdfile")"
fi
w() { timeout 300 "$WINE" "$@" </dev/null; }
w wineboot -i >/dev/null 2>&1
PATH="/usr/lib/wine:$PATH" wineserver -p >/dev/null 2>&1 </dev/null &
w cmd /c exit >/dev/null 2>&1

cat > "$work/probe.js" <<'JS'
var made = "not registered";
try { var sd = new ActiveXObject("TorvaneScriptDialog"); made = "created, DefaultFS " + sd.DefaultFS; } catch (e) {}
WScript.Echo(made);
JS
# The registry tools run with the DLL's own loader, so that they see the
# registry view its hosts use.
probe() { w cscript //nologo "$(torvane_winpath "$work/probe.js")" 2>/dev/null | tr -d '\r'; }
has_key() { w reg query "$1" >/dev/null 2>&1; }
HKCU_KEY='HKCU\Software\Classes\TorvaneScriptDialog'
HKLM_KEY='HKLM\Software\Classes\TorvaneScriptDialog'

# The per-user entries, exactly as written, copied to the machine's classes
# and removed again, in $WINE's registry view ($clsid names the class): Wine
# 8 creates objects from the machine's classes only (see the per-user round).
copy_user_entries_to_machine() {
    w reg export 'HKCU\Software\Classes' "$(torvane_winpath "$work")\\user.reg" /y >/dev/null 2>&1
    { printf '\xff\xfe'; iconv -f UTF-16 -t UTF-8 "$work/user.reg" \
        | sed 's/^\[HKEY_CURRENT_USER\\Software\\Classes/[HKEY_LOCAL_MACHINE\\Software\\Classes/' \
        | iconv -f UTF-8 -t UTF-16LE; } > "$work/as-machine.reg"
    w reg import "$(torvane_winpath "$work/as-machine.reg")" >/dev/null 2>&1
}
remove_machine_copy() {
    w reg delete "$HKLM_KEY" /f >/dev/null 2>&1
    [ -n "$clsid" ] && w reg delete "HKLM\\Software\\Classes\\CLSID\\$clsid" /f >/dev/null 2>&1
    return 0
}

# check_dll BUILD: the whole registration and example round for one DLL.
check_dll() {
local build=$1 dll dllwin rc clsid ex b copy out ok expected line
if [ "$build" = i686 ]; then dll=TorvaneScriptDialog.dll; else dll=TorvaneScriptDialog64.dll; fi
export WINE=$(torvane_wine_loader "$build")
dllwin=$(torvane_winpath "$pkg/$dll")
echo "-- $dll ($build script host)"

[ "$(probe)" = "not registered" ] && pass "fresh prefix: no object yet" || fail "fresh prefix already creates the object"

# Per user.
w regsvr32 /s /n /i:user "$dllwin" >/dev/null 2>&1; rc=$?
[ $rc = 0 ] && pass "regsvr32 /n /i:user $dll" || fail "regsvr32 /n /i:user exit code $rc"
has_key "$HKCU_KEY\\CLSID" && pass "per-user entries under HKCU" || fail "no $HKCU_KEY\\CLSID"
has_key "$HKLM_KEY" && fail "per-user registration wrote $HKLM_KEY" || pass "nothing under HKLM"
# Windows resolves ProgIDs and classes through the user's classes first;
# Wine 8 reads only the machine's. So the per-user entries, exactly as
# written, are copied to the machine's classes for the creation test and
# removed again: the object must then be creatable from those entries alone.
copy_user_entries_to_machine
[ "$(probe)" = "created, DefaultFS 3" ] && pass "per user: object created from the per-user entries" \
    || fail "per user: probe says '$(probe)'"
clsid=$(iconv -f UTF-16 -t UTF-8 "$work/user.reg" | tr -d '\r' | sed -n 's/^\[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\\({[^}]*}\)\]$/\1/p' | head -n1)
[ -n "$clsid" ] || fail "per user: no class entry exported"
remove_machine_copy
[ "$(probe)" = "not registered" ] || fail "the copy of the per-user entries could not be removed"
w regsvr32 /s /u /n /i:user "$dllwin" >/dev/null 2>&1; rc=$?
[ $rc = 0 ] && pass "regsvr32 /u /n /i:user" || fail "regsvr32 /u /n /i:user exit code $rc"
has_key "$HKCU_KEY" && fail "$HKCU_KEY still there" || pass "per-user entries removed"
[ "$(probe)" = "not registered" ] && pass "per user removed: no object" || fail "object still created after /u /n /i:user"

# Per machine, then the examples.
w regsvr32 /s "$dllwin" >/dev/null 2>&1; rc=$?
[ $rc = 0 ] && pass "regsvr32 $dll" || fail "regsvr32 exit code $rc"
has_key "$HKLM_KEY\\CLSID" && pass "per-machine entries" || fail "no $HKLM_KEY\\CLSID"
[ "$(probe)" = "created, DefaultFS 3" ] && pass "per machine: object created" || fail "per machine: probe says '$(probe)'"

# Each example runs from a copy with a last line appended: an example that
# stops half-way (Wine's VBScript ends silently on a runtime error) never
# prints it.
mkdir -p "$work/run"
for ex in "$pkg"/examples/*.vbs "$pkg"/examples/*.js "$pkg"/docs/examples/*.js; do
    [ -e "$ex" ] || continue
    b=$(basename "$ex")
    rel=${ex#"$pkg"/}
    # Examples marked "Windows only" need what Wine's script engines lack.
    if head -n 8 "$ex" | grep -q "Windows only"; then
        pass "$rel is for Windows only: not run here"
        continue
    fi
    copy="$work/run/$b"
    cp "$ex" "$copy"
    case $b in
        *.vbs) printf '\r\nWScript.Echo "END OF EXAMPLE"\r\n' >> "$copy" ;;
        *.js)  printf '\r\nWScript.Echo("END OF EXAMPLE");\r\n' >> "$copy" ;;
    esac
    (cd "$work/run" && w cscript //nologo "$(torvane_winpath "$copy")") >"$work/out" 2>&1
    rc=$?
    out=$(tr -d '\r' <"$work/out")
    ok=1
    [ $rc = 0 ] || { fail "$rel exit code $rc"; ok=0; }
    printf '%s\n' "$out" | grep -qx 'END OF EXAMPLE' || { fail "$rel did not run to its end"; ok=0; }
    expected="$here/expected/${rel#examples/}.txt"   # examples/X: expected/X.txt
    if [ -f "$expected" ]; then
        while IFS= read -r line; do
            printf '%s\n' "$out" | grep -qxF -- "$line" || { fail "$rel did not print: $line"; ok=0; }
        done < "$expected"
    fi
    if [ $ok = 1 ]; then pass "$rel"; else printf '%s\n' "$out" | sed 's/^/    | /'; fi
done

w regsvr32 /s /u "$dllwin" >/dev/null 2>&1; rc=$?
[ $rc = 0 ] && pass "regsvr32 /u $dll" || fail "regsvr32 /u exit code $rc"
has_key "$HKLM_KEY" && fail "$HKLM_KEY still there" || pass "per-machine entries removed"
[ "$(probe)" = "not registered" ] && pass "unregistered: no object" || fail "object still created after /u"

}

for build in $builds; do check_dll "$build"; done

# Both builds side by side, per machine and per user, in every order: removing
# either leaves the other's own host able to create the object (both share
# the ProgID key); removing both leaves nothing of ours. Each round registers
# the build it removes first before the other.
dll_of() { if [ "$1" = i686 ]; then echo TorvaneScriptDialog.dll; else echo TorvaneScriptDialog64.dll; fi; }
as_build() { local build=$1; shift; WINE=$(torvane_wine_loader "$build") "$@"; }
regsvr() {  # regsvr BUILD SCOPE [/u]
    local args=(/s)
    [ "${3:-}" = /u ] && args+=(/u)
    [ "$2" = user ] && args+=(/n /i:user)
    as_build "$1" w regsvr32 "${args[@]}" "$(torvane_winpath "$pkg/$(dll_of "$1")")" >/dev/null 2>&1
}
# The class entries a build's own view holds, and whether its host creates
# the object (per user through a machine copy of the per-user entries, as
# above, since Wine 8 reads only the machine's classes).
class_key() { if [ "$1" = user ]; then echo 'HKCU\Software\Classes'; else echo 'HKLM\Software\Classes'; fi; }
view_has_class() { as_build "$1" has_key "$(class_key "$2")\\CLSID\\$clsid\\InProcServer32"; }
creates() {  # creates BUILD SCOPE: the BUILD host makes the object
    local made
    if [ "$2" = machine ]; then
        made=$(as_build "$1" probe)
    else
        as_build "$1" copy_user_entries_to_machine
        made=$(as_build "$1" probe)
        as_build "$1" remove_machine_copy
    fi
    [ "$made" = "created, DefaultFS 3" ]
}
if [ "$builds" = "i686 x86_64" ]; then
    echo "-- both builds side by side"
    regsvr x86_64 machine
    clsid=$(as_build x86_64 w reg query "$HKLM_KEY\\CLSID" 2>/dev/null | tr -d '\r' | grep -o '{[0-9A-Fa-f-]*}' | head -n1)
    regsvr x86_64 machine /u
    [ -n "$clsid" ] || fail "no class id found in the registration"
    for scope in machine user; do
        for first in i686 x86_64; do
            if [ $first = i686 ]; then second=x86_64; else second=i686; fi
            regsvr "$first" "$scope"; regsvr "$second" "$scope"
            # Wine keeps one set of per-user class entries for both views
            # (Windows keeps two), so there the build registered last owns
            # them: per user, only its host is asked before a removal.
            if [ "$scope" = machine ]; then
                creates "$first" machine && creates "$second" machine \
                    && pass "machine: both registered, both hosts create the object" \
                    || fail "machine: both registered, but a host cannot create the object"
            else
                creates "$second" user && pass "user: both registered, the $second host creates the object" \
                    || fail "user: both registered, but the $second host cannot create the object"
            fi
            regsvr "$first" "$scope" /u
            if [ "$scope" = machine ]; then
                view_has_class "$first" machine && fail "machine: /u $(dll_of $first) left its class entries" \
                    || pass "machine: /u $(dll_of $first) removed its own class entries"
            fi
            view_has_class "$second" "$scope" && creates "$second" "$scope" \
                && pass "$scope: after /u $(dll_of $first), the $second host still creates the object" \
                || fail "$scope: after /u $(dll_of $first), the $second host cannot create the object"
            regsvr "$second" "$scope" /u
            if has_key "$(class_key "$scope")\\TorvaneScriptDialog" || view_has_class i686 "$scope" \
                || view_has_class x86_64 "$scope"; then
                fail "$scope: after removing both ($first first), entries of ours are left"
            else
                pass "$scope: after removing both ($first first), nothing of ours is left"
            fi
            creates i686 machine || creates x86_64 machine && fail "$scope: an object is still created after removing both"
        done
    done
fi

if [ $failures -ne 0 ]; then echo "PACKAGE CHECK FAILED ($failures)"; exit 1; fi
echo "PACKAGE OK"
