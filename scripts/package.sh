#!/bin/bash
# The release package: builds both DLLs and zips them with the install
# guide, the licence, the examples and the documentation (the guide, the
# reference and the reference's JScript examples).
#
#   scripts/package.sh      writes dist/TorvaneScriptDialog-VERSION.zip and
#                           prints its path
#
# Screenshots are not kept in the repository: the PNG files that the last
# test run left in build-*/artifacts (scripts/test.sh) and that the
# documentation shows go to docs/images/ in the zip, which is where the
# documentation looks for them.
set -eu
source "$(dirname "$0")/common.sh"
cd "$TORVANE_ROOT"

torvane_install_packages main
torvane_log "building i686 and x86_64"
torvane_build i686 >&2
torvane_build x86_64 >&2

version=$(sed -n 's/^#define TORVANE_VERSION_TEXT "\(.*\)"$/\1/p' resources/version.h)
name="TorvaneScriptDialog-$version"
stage=$(mktemp -d "${TMPDIR:-/tmp}/torvane-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
root="$stage/$name"
mkdir -p "$root/examples" "$root/docs/images" "$root/docs/examples"

# The builds carry debug information for the tests. The package gets fully
# stripped DLLs; their debug information goes into a zip of its own beside
# the package, as files the DLLs name in a debug link (a debugger finds
# TorvaneScriptDialog.dll.debug next to the DLL).
debug_root="$stage/$name-debug"
mkdir -p "$debug_root"
ship_dll() {  # ship_dll TOOL-PREFIX BUILT-DLL
    local tool=$1 built=$2 base
    base=$(basename "$built")
    "$tool-objcopy" --only-keep-debug "$built" "$debug_root/$base.debug"
    "$tool-strip" --strip-all -o "$root/$base" "$built"
    (cd "$debug_root" && "$tool-objcopy" --add-gnu-debuglink="$base.debug" "$root/$base")
}
ship_dll i686-w64-mingw32 build-i686/bin/TorvaneScriptDialog.dll
ship_dll x86_64-w64-mingw32 build-x86_64/bin/TorvaneScriptDialog64.dll
cp docs/install.txt "$root/INSTALL.txt"
cp LICENSE "$root/LICENSE.txt"
cp examples/* "$root/examples/"
cp docs/getting-started.md docs/reference.md "$root/docs/"
cp docs/examples/*.js "$root/docs/examples/"

shots=0
for img in $(grep -oh 'images/[A-Za-z0-9_-]*\.png' docs/*.md | sort -u); do
    png="build-$(torvane_pick_arch)/artifacts/${img#images/}"
    [ -e "$png" ] || continue
    cp "$png" "$root/docs/images/"
    shots=$((shots + 1))
done
[ "$shots" -gt 0 ] || torvane_log "no screenshots found (run scripts/test.sh first): docs/images is empty"

mkdir -p dist
zip_path="$TORVANE_ROOT/dist/$name.zip"
rm -f "$zip_path"
(cd "$stage" && zip -qr -X "$zip_path" "$name")
debug_zip="$TORVANE_ROOT/dist/$name-debug.zip"
rm -f "$debug_zip"
(cd "$stage" && zip -qr -X "$debug_zip" "$name-debug")
torvane_log "package: $zip_path ($shots screenshots); debug information: $debug_zip"
echo "$zip_path"
