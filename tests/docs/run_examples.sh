#!/bin/bash
# Runs the examples of the script authors' reference, so that they cannot
# rot:
#   run_examples.sh WINE-LOADER DOCS-FOLDER [ALLOW-LIST]
#
# The reference (DOCS/reference.md) marks each example with a comment
#   <!-- example: Object.Member -->            (runs)
#   <!-- example: Object.Member interactive --> (waits for the user: compiled only)
# followed by a ```vbscript block, optionally a ```javascript block (the same
# in JScript, shown to the reader) and, optionally, a ```text block with the
# exact output the example prints. Every member heading (###) must carry one;
# sections that document no member (## Errors, ...) may hold examples too,
# keyed by the section's own name. An interactive example must be announced
# to the reader by the line INTERACTIVE_MARK (below) right before its comment.
#
# What is checked:
# - every VBScript example compiles: it runs wrapped in "If False Then ...
#   End If", which the engine parses in full but does not execute;
# - every member of a class's table in the sources has its example, and the
#   reference documents no member that the table lacks;
# - every runnable example whose key is in the allow-list (default
#   tests/docs/examples-passing.txt: the members that are built) runs to a
#   final marker line with exit code 0 and prints exactly its text block;
#   so does its JScript block, if it has one.
#   Wine's VBScript cannot call objects handed out as VT_UNKNOWN (List, Form
#   and Output window objects) and ends silently with exit code 0 on a
#   runtime error, hence the marker, and hence JScript twins: an example
#   with a twin in DOCS/examples/*.js (a section starting "// == KEY") runs
#   the twin instead, and the twin must print the same text block. Examples
#   that use those objects must have a twin (or a JScript block of their
#   own, which then runs alone).
# Examples are converted to code page 932 and run one by one in a fresh
# temporary folder. Examples never echo non-ASCII text (that can crash the
# host); the runner fails any that try.
set -u
wine=$1 docs=$2
here=$(cd "$(dirname "$0")" && pwd)
allow=${3:-$here/examples-passing.txt}
ref="$docs/reference.md"
INTERACTIVE_MARK='*Interactive example: it waits for the user, so the test suite only compiles it.*'
winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr '/' '\\')"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/torvane-docs.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ex" "$work/twin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# ---- extract --------------------------------------------------------------
# Writes ex/KEY.vbs, ex/KEY.expected (when there is a text block) and
# ex/KEY.interactive; prints structural problems on stdout.
awk -v out="$work/ex" -v mark="$INTERACTIVE_MARK" '
    function close_heading() {
        if (heading != "" && examples == 0) print "member \"" heading "\" has no example"
        if (heading != "" && examples > 1) print "member \"" heading "\" has " examples " examples"
    }
    /^### / { close_heading(); heading = substr($0, 5); examples = 0; next }
    /^## /  { close_heading(); heading = ""; examples = 0; next }
    /^<!-- example: / {
        n = split($0, w, " ")
        key = w[3]; inter = (w[4] == "interactive")
        if (key in seen) print "example " key " twice"
        seen[key] = 1; examples++
        if (inter) printf "" > (out "/" key ".interactive")
        if (inter && last != mark) print "interactive example " key " is not announced by \"" mark "\""
        state = "want-code"; next
    }
    NF > 0 { last = $0 }
    state == "want-code" && /^```vbscript$/ { state = "code"; printf "" > (out "/" key ".vbs"); next }
    state == "want-code" && NF > 0 { print "example " key " is not followed by a vbscript block"; state = ""; next }
    state == "code" && /^```$/ { state = "want-text"; next }
    state == "code" { print > (out "/" key ".vbs"); next }
    state == "want-text" && /^```javascript$/ && !(key in js) { js[key] = 1; state = "js"; printf "" > (out "/" key ".js"); next }
    state == "js" && /^```$/ { state = "want-text"; next }
    state == "js" { print > (out "/" key ".js"); next }
    state == "want-text" && /^```text$/ { state = "text"; printf "" > (out "/" key ".expected"); next }
    state == "want-text" { state = "" }
    state == "text" && /^```$/ { state = ""; next }
    state == "text" { print > (out "/" key ".expected"); next }
    END { close_heading(); if (state == "code" || state == "js" || state == "text") print "unclosed block in example " key }
' "$ref" > "$work/problems"
while IFS= read -r p; do fail "reference.md: $p"; done < "$work/problems"

for js in "$docs"/examples/*.js; do
    [ -e "$js" ] || continue
    awk -v out="$work/twin" -v src="$(basename "$js")" '
        /^\/\/ == / { key = $3; if (key in seen) print "twin " key " twice"; seen[key] = 1; printf "" > (out "/" key ".js"); next }
        key != "" { print > (out "/" key ".js") }
    ' "$js" >> "$work/twin-problems"
done
[ -f "$work/twin-problems" ] && while IFS= read -r p; do fail "examples/*.js: $p"; done < "$work/twin-problems"

for t in "$work"/twin/*.js; do
    [ -e "$t" ] || continue
    k=$(basename "$t" .js)
    [ -f "$work/ex/$k.vbs" ] || fail "twin $k has no example in reference.md"
done
keys=$(cd "$work/ex" && ls *.vbs 2>/dev/null | sed 's/\.vbs$//')
for k in $keys; do
    if grep -qE 'Create(List|Form|OutputWindow)' "$work/ex/$k.vbs" && [ ! -f "$work/ex/$k.interactive" ] \
        && [ ! -f "$work/twin/$k.js" ] && [ ! -f "$work/ex/$k.js" ]; then
        fail "example $k uses an object that Wine's VBScript cannot call and has no JScript twin"
    fi
done

# The reference and the member tables in the sources must name the same
# members (checked for each class whose table is found in its sources).
src=$(cd "$here/../.." && pwd)
for pair in scriptdialog:ScriptDialog list:List forms/form:Form outwin:OutputWindow; do
    dir=${pair%%:*} object=${pair##*:}
    members=$(cat "$src/$dir"/*.cpp 2>/dev/null | grep -oE '>[[:space:]]*\("[A-Za-z_]+"' | sed 's/.*"\(.*\)"/\1/' | sort -u)
    [ -n "$members" ] || continue
    for m in $members; do
        [ -f "$work/ex/$object.$m.vbs" ] || fail "$object.$m is in the member table of $dir/ but not in reference.md"
    done
    for k in $(cd "$work/ex" && ls "$object".*.vbs 2>/dev/null | sed 's/\.vbs$//'); do
        printf '%s\n' $members | grep -qx -- "${k#"$object".}" || fail "reference.md documents $k, which the member table of $dir/ lacks"
    done
done

allowed=$(grep -v '^[[:space:]]*\(#\|$\)' "$allow" | tr -d ' \r')
for k in $allowed; do
    [ -f "$work/ex/$k.vbs" ] || fail "allow-list names $k, which has no example"
    [ -f "$work/ex/$k.interactive" ] && fail "allow-list names $k, which is interactive (compiled only)"
done

# ---- run --------------------------------------------------------------------
# run FILE EXT: runs one prepared script in its own folder; leaves its output
# (without the marker line) in $work/output and returns 0 when it reached the
# marker with exit code 0.
run() {
    local dir; dir=$(mktemp -d "$work/run.XXXXXX")
    local copy="$dir/example.$2"
    if ! iconv -f UTF-8 -t CP932 "$1" > "$copy"; then echo "(not convertible to code page 932)" > "$work/output"; return 1; fi
    (cd "$dir" && WINEDEBUG=-all,fixme+wscript timeout "${TORVANE_SCRIPT_TIMEOUT:-120}" \
        "$wine" cscript //nologo "$(winpath "$copy")" </dev/null) > "$work/raw" 2>&1
    local rc=$?
    tr -d '\r' < "$work/raw" | grep -v -e 'fixme:wscript:set_host_properties' > "$work/all"
    grep -vx 'EXAMPLE DONE' "$work/all" > "$work/output"
    rm -rf "$dir"
    [ $rc -eq 0 ] && grep -qx 'EXAMPLE DONE' "$work/all"
}
wrap_vbs_compile() { { printf 'If False Then\n'; cat "$1"; printf '\nEnd If\nWScript.Echo "EXAMPLE DONE"\n'; } > "$2"; }
wrap_vbs_run()     { { cat "$1"; printf '\nWScript.Echo "EXAMPLE DONE"\n'; } > "$2"; }
wrap_js_run()      { { cat "$1"; printf '\nWScript.Echo("EXAMPLE DONE");\n'; } > "$2"; }

# check KEY LANGUAGE SCRIPT EXT: runs one version of an example and compares
# what it printed with the example's text block.
check() {
    local k=$1 lang=$2
    if [ "$4" = js ]; then wrap_js_run "$3" "$work/prepared"; else wrap_vbs_run "$3" "$work/prepared"; fi
    if ! run "$work/prepared" "$4"; then
        fail "$k: the $lang example stopped before its end"; sed 's/^/    | /' "$work/output"; return
    fi
    if LC_ALL=C grep -q '[^[:print:][:space:]]' "$work/output"; then
        fail "$k: the $lang example printed non-ASCII text"; return
    fi
    if [ -f "$work/ex/$k.expected" ] && ! diff -u "$work/ex/$k.expected" "$work/output" > "$work/diff"; then
        fail "$k: the $lang example printed something else than reference.md says"; sed 's/^/    | /' "$work/diff"; return
    fi
    echo "ok: $k ($lang)"
    ran=$((ran + 1))
}

compiled=0 ran=0 skipped=0
for k in $keys; do
    wrap_vbs_compile "$work/ex/$k.vbs" "$work/prepared"
    if run "$work/prepared" vbs; then compiled=$((compiled + 1)); else
        fail "$k: the VBScript example does not compile"; sed 's/^/    | /' "$work/output"; fi

    [ -f "$work/ex/$k.interactive" ] && continue
    if ! printf '%s\n' $allowed | grep -qx -- "$k"; then skipped=$((skipped + 1)); continue; fi

    if [ -f "$work/twin/$k.js" ]; then check "$k" "JScript twin" "$work/twin/$k.js" js
    elif ! grep -qE 'Create(List|Form|OutputWindow)' "$work/ex/$k.vbs"; then check "$k" VBScript "$work/ex/$k.vbs" vbs; fi
    [ -f "$work/ex/$k.js" ] && check "$k" JScript "$work/ex/$k.js" js
done

echo "examples: $(printf '%s\n' $keys | wc -l) in reference.md, $compiled compiled, $ran runs checked," \
     "$skipped not run yet (not in $(basename "$allow"))"
if [ $failures -ne 0 ]; then echo "$failures failures"; exit 1; fi
echo "ALL PASSED"
