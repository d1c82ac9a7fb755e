#!/usr/bin/env bash
# Validates the launcher and the metainfo, builds the Debian package and
# checks what it installs.
#   package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2

desktop-file-validate "$src/data/org.veltrona.Veltrona.desktop"
appstreamcli validate --no-net "$src/data/org.veltrona.Veltrona.metainfo.xml"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/*.deb)
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6widgets6 libsdl2 libavcodec libavformat libswresample; do
  grep -q "$lib" <<<"$depends" || { echo "FAIL computed dependencies lack $lib"; exit 1; }
done

root=$work/root
dpkg -x "$deb" "$root"
fail=0
for f in usr/bin/veltrona \
         usr/share/applications/org.veltrona.Veltrona.desktop \
         usr/share/icons/hicolor/scalable/apps/org.veltrona.Veltrona.svg \
         usr/share/icons/hicolor/48x48/apps/org.veltrona.Veltrona.png \
         usr/share/icons/hicolor/256x256/apps/org.veltrona.Veltrona.png \
         usr/share/metainfo/org.veltrona.Veltrona.metainfo.xml; do
  if [ -e "$root/$f" ]; then echo "ok   $f"; else echo "FAIL missing $f"; fail=1; fi
done
[ -x "$root/usr/bin/veltrona" ] || { echo "FAIL veltrona is not executable"; fail=1; }
file "$root/usr/share/icons/hicolor/48x48/apps/org.veltrona.Veltrona.png" | grep -q '48 x 48' \
  || { echo "FAIL the 48-pixel icon is not 48 x 48"; fail=1; }
exit $fail
