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
TORVANE_PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-ipafont-gothic locales zip unzip"

torvane_log() { printf '== %s\n' "$*" >&2; }

torvane_install_packages() {
    local missing=""
    local p
    for p in $TORVANE_PACKAGES; do
        dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" != 0 ]; then
        torvane_log "missing packages:$missing (run as root to install them)"
        return 1
    fi
    torvane_log "installing:$missing"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $TORVANE_PACKAGES >/dev/null
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

torvane_build() {
    local arch=$1 dir="$TORVANE_ROOT/build-$1"
    cmake -S "$TORVANE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$TORVANE_ROOT/cmake/toolchain-$arch.cmake" >/dev/null
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
