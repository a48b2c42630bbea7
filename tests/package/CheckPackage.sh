#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh (which also runs
# desktop-file-validate, appstreamcli and lintian) and checks that the package
# holds everything a desktop needs, with run-time dependencies filled in.
#   CheckPackage.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir="$1"
build_dir="$2"

deb="$("$source_dir/scripts/package.sh" "$build_dir" | tail -n 1)"
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
status=0
for want in \
  ./usr/bin/qd3control \
  ./usr/bin/qd3ctl \
  ./usr/share/applications/io.github.qd3control.QD3Control.desktop \
  ./usr/share/metainfo/io.github.qd3control.QD3Control.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/io.github.qd3control.QD3Control.svg \
  ./usr/share/icons/hicolor/48x48/apps/io.github.qd3control.QD3Control.png \
  ./usr/share/icons/hicolor/128x128/apps/io.github.qd3control.QD3Control.png \
  ./usr/share/icons/hicolor/256x256/apps/io.github.qd3control.QD3Control.png \
  ./usr/share/man/man1/qd3control.1.gz \
  ./usr/share/man/man1/qd3ctl.1.gz \
  ./usr/share/doc/qd3control/copyright \
  ./usr/share/doc/qd3control/Ravenhold_Tolvane_OM1.pdf; do
  if ! grep -qxF "$want" <<<"$contents"; then
    echo "missing from the package: $want" >&2
    status=1
  fi
done
# dpkg-shlibdeps must have found the libraries the program links.
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libgtk-3-0 librtmidi6 librtaudio6 libc6; do
  if ! grep -q "$lib" <<<"$depends"; then
    echo "Depends lacks $lib: $depends" >&2
    status=1
  fi
done
# The packaged program runs and knows its version.
version="$(dpkg-deb -f "$deb" Version)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
if [ "$("$tmp/usr/bin/qd3control" --version)" != "qd3control $version" ]; then
  echo "packaged qd3control --version does not print $version" >&2
  status=1
fi
exit $status
