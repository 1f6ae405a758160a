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

# The builds carry debug information for the tests; the package does not.
i686-w64-mingw32-strip --strip-debug -o "$root/TorvaneScriptDialog.dll" build-i686/bin/TorvaneScriptDialog.dll
x86_64-w64-mingw32-strip --strip-debug -o "$root/TorvaneScriptDialog64.dll" build-x86_64/bin/TorvaneScriptDialog64.dll
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
torvane_log "package: $zip_path ($shots screenshots)"
echo "$zip_path"
