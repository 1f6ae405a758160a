#!/bin/bash
# The whole test suite, from a fresh machine (Debian 12, as root) or a
# prepared one: installs what is missing, builds both Windows builds and the
# native text build, and runs every test.
#
#   scripts/test.sh            everything
#   TORVANE_ARCH=x86_64 ...    force the build the Windows tests run against
#   TORVANE_SKIP_NATIVE=1 ...  skip the sanitizer/fuzzer build
#
# The Windows tests run against the 32-bit build when this machine can run
# 32-bit programs, else against the 64-bit build (same sources, same tests).
set -eu
source "$(dirname "$0")/common.sh"
cd "$TORVANE_ROOT"

torvane_install_packages test
arch=$(torvane_pick_arch)
if [ "$arch" = x86_64 ] && [ -z "${TORVANE_ARCH:-}" ]; then
    torvane_log "this machine cannot run 32-bit programs: Windows tests run against the 64-bit build"
fi

torvane_log "building i686 and x86_64"
torvane_build i686 -DTORVANE_TESTS=ON -DTORVANE_WERROR=ON
torvane_build x86_64 -DTORVANE_TESTS=ON -DTORVANE_WERROR=ON

status=0

# The C++ sources follow .clang-format (the member tables keep their aligned
# columns between "clang-format off" and "on").
torvane_log "source format (clang-format)"
format_log=$(mktemp)
if ! git ls-files -z '*.cpp' '*.h' | grep -z -v '/corpus/' | xargs -0 clang-format --dry-run --Werror 2>"$format_log"; then
    head -n 40 "$format_log"
    torvane_log "sources differ from .clang-format: run clang-format -i on the files above"
    status=1
fi
rm -f "$format_log"
if [ -z "${TORVANE_SKIP_NATIVE:-}" ]; then
    torvane_log "native text build (sanitizers)"
    cmake -S . -B build-native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
    cmake --build build-native
    (cd build-native && ctest --output-on-failure) || status=1
fi

# Both builds run every test in one 64-bit prefix where this machine runs
# 32-bit programs (as both kinds of host do on 64-bit Windows: each finds the
# DLL of its own kind registered under the same ProgID); otherwise the 64-bit
# build runs them alone.
if torvane_can_run_32 && [ -z "${TORVANE_ARCH:-}" ]; then
    prefix=both builds="i686 x86_64"
else
    prefix=$arch builds=$arch
fi
trap torvane_wine_down EXIT
torvane_wine_up "$prefix"
for build in $builds; do
    torvane_log "Windows tests ($build)"
    torvane_use_build "$build"
    torvane_codepage 932
    torvane_wine_restart
    (cd "build-$build" && ctest --output-on-failure --timeout 900) || status=1

    # Script and text suites again under code page 1252.
    torvane_log "Windows tests under code page 1252 ($build)"
    torvane_codepage 1252 2>/dev/null
    torvane_wine_restart
    (cd "build-$build" && ctest --output-on-failure --timeout 900 -R '^(text_tests|script/.*)$') || status=1
done

# Screenshots of the window tests: BMP files from the tests, kept as PNG.
for build in $builds; do
    for bmp in "build-$build"/artifacts/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
    torvane_log "artifacts in build-$build/artifacts"
done

# The release package, with the screenshots just taken, checked as a user
# gets it (in a fresh Wine prefix of its own).
torvane_log "release package"
if zip_path=$(scripts/package.sh); then
    tests/package/check_package.sh "$zip_path" || status=1
else
    status=1
fi
# The benchmarks, briefly: only that each one still runs (no time is looked
# at; bench/run.sh without "quick" gives figures worth reading).
torvane_log "benchmarks, briefly (bench/run.sh quick)"
if ! bench/run.sh quick >"build-$arch/bench-quick.txt" 2>&1; then
    cat "build-$arch/bench-quick.txt"
    status=1
fi
exit $status
