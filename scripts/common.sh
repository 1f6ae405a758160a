# Shared set-up for the project's scripts (sourced, not run).
#
#   torvane_install_packages   Debian packages (as root; skipped when present)
#   torvane_pick_arch          32-bit when this machine runs i386 programs,
#                              else 64-bit (some virtual machines cannot)
#   torvane_build ARCH         configure and build build-ARCH
#   torvane_wine_up ARCH       X display, private prefix, warm wineserver;
#                              ARCH "both": one 64-bit prefix in which 32-bit
#                              programs run too (as on 64-bit Windows)
#   torvane_use_build ARCH     after "both": the loader and artifact folder
#                              of one build
#   torvane_wine_down          stop them again
#
# Everything lives under the checkout: build-*/ holds builds, prefixes and
# artifacts, so nothing touches the user's ~/.wine.

TORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# What each job needs. The 64-bit toolchain and Wine come first and must be
# there; the 32-bit Wine is wanted but optional (without it the Windows tests
# run against the 64-bit build); the test tools only for scripts/test.sh.
TORVANE_PACKAGES_BASE="cmake ninja-build g++
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 libwine xvfb xauth x11-apps x11-utils imagemagick fonts-ipafont-gothic locales zip unzip"
TORVANE_PACKAGES_TEST="clang clang-format libclang-rt-14-dev googletest libgtest-dev"
TORVANE_PACKAGES_WINE32="wine32:i386"
# Libraries whose i386 twin may exist only at the release's own version
# while the amd64 one came from the security suite: the fallback pins both
# halves of each pair to the version the i386 side has.
TORVANE_PACKAGES_WINE32_PAIRS="libgstreamer-plugins-base1.0-0"

torvane_log() { printf '== %s\n' "$*" >&2; }

# Packages of the list that dpkg does not have installed.
# (A name without an architecture is the machine's own: with both halves of
# a pair installed, dpkg wants the name qualified.)
torvane_missing() {
    local p missing="" native
    native=$(dpkg --print-architecture 2>/dev/null)
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || dpkg -s "$p:$native" >/dev/null 2>&1 || missing="$missing $p"
    done
    printf '%s' "${missing# }"
}

# The release's own suite name (bookworm on Debian 12).
torvane_release() {
    local codename=""
    [ -r /etc/os-release ] && codename=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
    printf '%s' "${codename:-bookworm}"
}

# apt-get update, retried: a mirror in the middle of a sync fails one index
# for a while. A partial failure is tolerated when apt still knows the
# packages the set-up needs (the lists it has are used).
torvane_apt_update() {
    local try log rc=1
    log=$(mktemp)
    for try in 1 2 3; do
        if apt-get update -qq >"$log" 2>&1; then rm -f "$log"; return 0; fi
        [ "$try" -lt 3 ] && sleep "${TORVANE_APT_PAUSE:-5}"
    done
    if apt-cache show g++-mingw-w64-x86-64 >/dev/null 2>&1; then
        torvane_log "apt-get update failed in part, going on with the lists apt has: $(grep -m1 '^E:' "$log" | cut -c1-200)"
        rc=0
    else
        torvane_log "apt-get update failed: $(grep -m1 '^E:' "$log" | cut -c1-200)"
        cat "$log" >&2
    fi
    rm -f "$log"
    return "$rc"
}

# apt-get install, quietly; the last lines of its output when it fails.
torvane_apt_install() {
    local log rc=0
    log=$(mktemp)
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1 || rc=$?
    [ "$rc" -eq 0 ] || tail -n 5 "$log" | sed 's/^/   apt: /' >&2
    rm -f "$log"
    return "$rc"
}

# The 64-bit set: from the newest suites, else all from the release's own.
torvane_install_base() {
    local missing
    missing=$(torvane_missing $TORVANE_PACKAGES_BASE "$@")
    [ -z "$missing" ] && return 0
    torvane_log "installing: $missing"
    torvane_apt_install $missing && return 0
    torvane_log "retrying with the $(torvane_release) versions"
    torvane_apt_install -t "$(torvane_release)" $missing
}

# The 32-bit Wine, never at the cost of the 64-bit set: the fallback asks for
# both sets in one install, at the release's own versions and with each pair
# pinned to one version, so that apt changes versions rather than removing
# anything; afterwards the 64-bit set is checked and put back if need be.
# Returns 1 (and says so) when the 32-bit Wine cannot be had, 2 when the
# 64-bit set could not be put back.
torvane_install_wine32() {
    [ -z "$(torvane_missing $TORVANE_PACKAGES_WINE32)" ] && return 0
    torvane_log "installing: $TORVANE_PACKAGES_WINE32"
    torvane_apt_install $TORVANE_PACKAGES_WINE32 && return 0
    torvane_log "retrying the 32-bit Wine with the $(torvane_release) versions"
    local rc=0 pair version pins=""
    for pair in $TORVANE_PACKAGES_WINE32_PAIRS; do
        version=$(apt-cache policy "$pair:i386" 2>/dev/null | awk '/Candidate:/ {print $2; exit}')
        case "$version" in ""|"(none)") continue ;; esac
        pins="$pins $pair:i386=$version $pair=$version"
    done
    torvane_apt_install --allow-downgrades -t "$(torvane_release)" $TORVANE_PACKAGES_WINE32 $pins \
        wine wine64 libwine || rc=$?
    if [ -n "$(torvane_missing $TORVANE_PACKAGES_BASE)" ]; then
        torvane_log "putting the 64-bit Wine back"
        torvane_install_base || return 2
    fi
    if [ "$rc" -ne 0 ] || [ -n "$(torvane_missing $TORVANE_PACKAGES_WINE32)" ]; then
        torvane_log "the 32-bit Wine cannot be installed from this mirror now: going on with the 64-bit build alone"
        return 1
    fi
    return 0
}

# Everything a job needs: "main" (the main job) or "test" (the suite).
torvane_install_packages() {
    local job=${1:-test} extra=""
    [ "$job" = test ] && extra=$TORVANE_PACKAGES_TEST
    [ -z "$(torvane_missing $TORVANE_PACKAGES_BASE $extra $TORVANE_PACKAGES_WINE32)" ] && return 0
    if [ "$(id -u)" != 0 ]; then
        torvane_log "missing packages: $(torvane_missing $TORVANE_PACKAGES_BASE $extra $TORVANE_PACKAGES_WINE32) (run as root to install them)"
        return 1
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    torvane_apt_update || return 1
    torvane_install_base $extra || { torvane_log "the 64-bit toolchain and Wine could not be installed"; return 1; }
    local rc=0
    torvane_install_wine32 || rc=$?
    [ "$rc" -ne 2 ] || { torvane_log "the 64-bit toolchain and Wine could not be put back"; return 1; }
    return 0
}

# Prints i686 or x86_64.
torvane_pick_arch() {
    if [ -n "${TORVANE_ARCH:-}" ]; then
        echo "$TORVANE_ARCH"
    elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo i686
    else
        echo x86_64
    fi
}

torvane_wine_loader() {
    if [ "$1" = i686 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

# torvane_build ARCH [CMAKE-OPTION...]
torvane_build() {
    local arch=$1 dir="$TORVANE_ROOT/build-$1"
    shift
    cmake -S "$TORVANE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$TORVANE_ROOT/cmake/toolchain-$arch.cmake" "$@" >/dev/null
    cmake --build "$dir"
}

# A ja_JP locale for Wine's Unix side, so that Japanese file names survive
# under code page 932 (no system locale needs installing).
torvane_locale() {
    local dir="$TORVANE_ROOT/build-locale"
    if [ ! -d "$dir/ja_JP.UTF-8" ]; then
        mkdir -p "$dir"
        localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" 2>/dev/null || true
    fi
    export LOCPATH="$dir"
}

# Code page of the Windows side: 932 (default) or 1252.
torvane_codepage() {
    # (bash itself has no such locale and would warn on the assignment)
    if [ "${1:-932}" = 1252 ]; then
        { export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8; } 2>/dev/null
    else
        { export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
    fi
}

# True when this machine runs 32-bit Windows programs.
torvane_can_run_32() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

torvane_use_build() {
    export WINE="$(torvane_wine_loader "$1")"
    export TORVANE_ARTIFACTS="$TORVANE_ROOT/build-$1/artifacts"
    mkdir -p "$TORVANE_ARTIFACTS"
}

torvane_wine_up() {
    local arch=$1 dir="$TORVANE_ROOT/build-$1"
    export WINEDEBUG=-all
    if [ "$arch" = both ]; then
        dir="$TORVANE_ROOT/build-wow64"
        mkdir -p "$dir"
        torvane_use_build x86_64
    else
        torvane_use_build "$arch"
    fi
    export WINEPREFIX="$dir/wineprefix"
    if [ "$arch" = i686 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
    torvane_locale
    torvane_codepage 932

    # The display comes before the prefix: a prefix booted without one
    # cannot create windows later.
    if [ -z "${TORVANE_KEEP_DISPLAY:-}" ]; then
        local fdfile
        fdfile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
        TORVANE_XVFB_PID=$!
        local i
        for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
        export DISPLAY=":$(head -n1 "$fdfile")"
        rm -f "$fdfile"
    fi

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        torvane_log "creating Wine prefix $WINEPREFIX ($WINEARCH)"
        "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
        # Wine draws its own frames and captions (no window manager here).
        "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
        # A crashing program ends at once instead of waiting in a debugger.
        "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f \
            >/dev/null 2>&1 </dev/null
        "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d false /f \
            >/dev/null 2>&1 </dev/null
    fi
    torvane_wine_restart
}

# A persistent, warmed server: each program then starts in milliseconds. Its
# output must not hold the caller's pipes open.
torvane_wine_restart() {
    PATH="/usr/lib/wine:$PATH" wineserver -k >/dev/null 2>&1 || true
    PATH="/usr/lib/wine:$PATH" wineserver -p >/dev/null 2>&1 </dev/null &
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
}

torvane_wine_down() {
    PATH="/usr/lib/wine:$PATH" wineserver -k >/dev/null 2>&1 || true
    if [ -n "${TORVANE_XVFB_PID:-}" ]; then
        kill "$TORVANE_XVFB_PID" 2>/dev/null || true
        TORVANE_XVFB_PID=
    fi
}

# "Z:\path\to\file" for a Unix path.
torvane_winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr '/' '\\')"; }
