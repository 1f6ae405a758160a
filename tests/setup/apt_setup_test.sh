#!/bin/bash
# The set-up's package installation (scripts/common.sh) against a mirror in
# trouble: stand-in apt-get, apt-cache and dpkg programs earlier on PATH keep
# a list of "installed" packages in a folder and fail the way a mirror in the
# middle of a sync made the real ones fail:
#   FAKE_UPDATE_FAILS=N       apt-get update exits 100 the first N times
#   FAKE_NO_LISTS=1           ... and apt-cache then knows no package
#   FAKE_I386=plain-refused   installing wine32:i386 fails unless -t and a
#                             pinned pair are given
#   FAKE_I386=refused         installing wine32:i386 always fails
#   FAKE_I386=removes-wine64  the pinned install goes through but takes the
#                             64-bit Wine away, as apt did by hand
# Each case checks what ends up installed and what the set-up said.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/torvane-setup-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/bin"
cat > "$work/bin/apt-get" <<'SH'
#!/bin/bash
state=$FAKE_STATE
echo "apt-get $*" >> "$state/calls"
if [ "$1" = update ]; then
    n=$(cat "$state/updates" 2>/dev/null || echo 0); echo $((n + 1)) > "$state/updates"
    if [ "$n" -lt "${FAKE_UPDATE_FAILS:-0}" ]; then
        echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
        exit 100
    fi
    exit 0
fi
[ "$1" = install ] || exit 0
suite=0 pinned=0 pkgs=()
for a in "$@"; do
    case $a in
        -t) suite=1 ;;
        -*|install) ;;
        *=*) pinned=1; pkgs+=("${a%%=*}") ;;
        *) pkgs+=("$a") ;;
    esac
done
case " ${pkgs[*]} " in *" wine32:i386 "*)
    case ${FAKE_I386:-} in
        refused) echo "E: Unable to correct problems, you have held broken packages."; exit 100 ;;
        plain-refused|removes-wine64)
            if [ $suite = 0 ] || [ $pinned = 0 ]; then
                echo "E: Unable to correct problems, you have held broken packages."; exit 100
            fi ;;
    esac
esac
for p in "${pkgs[@]}"; do
    [ "$p" = bookworm ] && continue
    echo "$p" >> "$state/installed"
done
if [ "${FAKE_I386:-}" = removes-wine64 ] && [ $pinned = 1 ]; then
    grep -v -x -e wine64 -e libwine "$state/installed" > "$state/kept"; mv "$state/kept" "$state/installed"
fi
exit 0
SH
cat > "$work/bin/apt-cache" <<'SH'
#!/bin/bash
[ -n "${FAKE_NO_LISTS:-}" ] && [ "$(cat "$FAKE_STATE/updates" 2>/dev/null || echo 0)" -le "${FAKE_UPDATE_FAILS:-0}" ] && exit 100
case $1 in
    show) exit 0 ;;
    policy) printf '%s:\n  Installed: (none)\n  Candidate: 1.22.0-3+deb12u6\n' "$2" ;;
esac
SH
cat > "$work/bin/dpkg" <<'SH'
#!/bin/bash
case $1 in
    --print-architecture) echo amd64 ;;
    --print-foreign-architectures) [ -f "$FAKE_STATE/i386" ] && echo i386 ;;
    --add-architecture) touch "$FAKE_STATE/i386" ;;
    -s) grep -q -x -F -e "$2" -e "${2%:amd64}" "$FAKE_STATE/installed" 2>/dev/null ;;
esac
SH
cat > "$work/bin/sleep" <<'SH'
#!/bin/bash
exit 0
SH
chmod +x "$work/bin/"*

passed=0 failed=0
check() {  # check NAME CONDITION-COMMAND...
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); echo "ok: $name"
    else failed=$((failed + 1)); echo "FAIL: $name"; sed 's/^/    | /' "$state/log"; fi
}
has() { grep -q -x -F "$1" "$state/installed"; }
said() { grep -q -F -- "$1" "$state/log"; }
all_of() { local p; for p in "$@"; do has "$p" || return 1; done; }

# run_case NAME [VAR=VALUE...]: a fresh state, then the set-up for the tests.
run_case() {
    local name=$1; shift
    state="$work/$name"
    mkdir -p "$state"
    : > "$state/installed"
    (
        export PATH="$work/bin:$PATH" FAKE_STATE="$state" "$@"
        source "$root/scripts/common.sh"
        torvane_install_packages test
        echo "rc=$?"
    ) > "$state/log" 2>&1
}

# The mirror as it was: one failed update, the i386 package refused at first.
run_case sync FAKE_UPDATE_FAILS=1 FAKE_I386=plain-refused
check "update retried after a failure" [ "$(grep -c '^apt-get update' "$state/calls")" = 2 ]
check "set-up succeeds" said "rc=0"
check "64-bit toolchain and Wine installed" all_of g++-mingw-w64-x86-64 wine wine64 libwine xvfb
check "test tools installed" all_of googletest clang
check "the 32-bit Wine installed on the second try" has wine32:i386
check "the retry pins both halves of a pair" grep -q 'libgstreamer-plugins-base1.0-0:i386=1.22.0-3+deb12u6 libgstreamer-plugins-base1.0-0=1.22.0-3+deb12u6' "$state/calls"
check "the 64-bit set comes before the 32-bit Wine" \
    [ "$(grep -n 'install.*wine64' "$state/calls" | head -n1 | cut -d: -f1)" -lt "$(grep -n 'wine32:i386' "$state/calls" | head -n1 | cut -d: -f1)" ]

# Every update fails but apt has its lists: one line, and on.
run_case partial FAKE_UPDATE_FAILS=9
check "three tries of update" [ "$(grep -c '^apt-get update' "$state/calls")" = 3 ]
check "partial update tolerated in one line" [ "$(grep -c 'apt-get update failed in part' "$state/log")" = 1 ]
check "set-up goes on after a partial update" all_of wine64 wine32:i386

# No lists at all: the set-up stops and says why.
run_case nolists FAKE_UPDATE_FAILS=9 FAKE_NO_LISTS=1
check "no lists: set-up fails" said "rc=1"
check "no lists: nothing installed" [ ! -s "$state/installed" ]

# The 32-bit Wine cannot be had: the 64-bit build alone, said once.
run_case no32 FAKE_I386=refused
check "no 32-bit Wine: set-up succeeds" said "rc=0"
check "no 32-bit Wine: said in one line" [ "$(grep -c 'going on with the 64-bit build alone' "$state/log")" = 1 ]
check "no 32-bit Wine: 64-bit set kept" all_of wine wine64 libwine g++-mingw-w64-i686
check "no 32-bit Wine: not installed" bash -c "! grep -q -x 'wine32:i386' '$state/installed'"

# The fallback takes the 64-bit Wine away: it is put back.
run_case removes FAKE_I386=removes-wine64
check "removed 64-bit Wine put back" all_of wine64 libwine wine32:i386
check "put back said" said "putting the 64-bit Wine back"
check "set-up succeeds after putting it back" said "rc=0"

# The main job's set-up installs no test tools.
state="$work/main"; mkdir -p "$state"; : > "$state/installed"
(export PATH="$work/bin:$PATH" FAKE_STATE="$state"; source "$root/scripts/common.sh"; torvane_install_packages main) \
    > "$state/log" 2>&1
check "main job: no GoogleTest, clang or sanitizer runtime" \
    bash -c "! grep -q -x -e googletest -e libgtest-dev -e clang -e libclang-rt-14-dev '$state/installed'"
check "main job: toolchain and Wine" all_of g++-mingw-w64-i686 wine64 wine32:i386

# Everything there: nothing asked of apt.
run_case present
: > "$state/calls"
(export PATH="$work/bin:$PATH" FAKE_STATE="$state"; source "$root/scripts/common.sh"; torvane_install_packages test) \
    > "$state/log" 2>&1
check "all present: apt not called" [ ! -s "$state/calls" ]

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
