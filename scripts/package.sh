#!/usr/bin/env bash
# Builds the Debian package of QD3Control: a Release build of the program and
# what a desktop needs (icon, desktop entry, metainfo, manual page, manual),
# packed by CPack's DEB generator with dependencies from dpkg-shlibdeps, then
# checked with desktop-file-validate, appstreamcli and lintian.
#   scripts/package.sh [BUILD_DIR]      (default: build-package)
# The .deb is left in BUILD_DIR; its path is the last line printed.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"

cmake -S "$root" --preset package -B "$build" ${QD3_WERROR:+"-DQD3_WERROR=$QD3_WERROR"} >/dev/null
targets=(qd3control qd3_icons qd3_man_page qd3_changelog)
# The target list is read whole first: grep -q stopping early would kill the listing
# with SIGPIPE, and pipefail would then take qd3ctl for absent.
help="$(cmake --build "$build" --target help)"
if grep -q '^qd3ctl:' <<<"$help"; then targets+=(qd3ctl qd3ctl_man_page); fi
cmake --build "$build" --target "${targets[@]}" -j2

# The installed tree as the package will hold it, for the validators.
stage="$build/stage"
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/*.deb)"
# Errors fail the script; warnings are printed and accepted.
lintian --fail-on error --tag-display-limit 0 "$deb" || {
  echo "package.sh: lintian reported errors" >&2
  exit 1
}
echo "$deb"
