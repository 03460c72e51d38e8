#!/usr/bin/env bash
# Builds the .deb from the build tree, checks its dependencies and files, unpacks it into a
# scratch root and starts the unpacked program under Xvfb with a screenshot.
# usage: package_test.sh BUILD_DIR SCREENSHOT_PNG
set -euo pipefail
build=$1
shot=$2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack -G DEB -B "$scratch/deb" --config "$build/CPackConfig.cmake" > "$scratch/cpack.log"
deb=$(ls "$scratch"/deb/kovaro_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6charts6 libqt6gui6 libqt6core6 libstdc++6 fonts-liberation; do
  grep -q "$needed" <<< "$depends" || { echo "missing dependency: $needed"; exit 1; }
done
dpkg -x "$deb" "$scratch/root"
test -x "$scratch/root/usr/bin/kovaro"
grep -qx 'Exec=kovaro %f' "$scratch/root/usr/share/applications/kovaro.desktop"
grep -qx 'MimeType=application/x-kovaro-project;' "$scratch/root/usr/share/applications/kovaro.desktop"
mime="$scratch/root/usr/share/mime/packages/kovaro.xml"
grep -q '<mime-type type="application/x-kovaro-project">' "$mime"
grep -q '<glob pattern="\*.kovaro"/>' "$mime"
# The type as the desktop's database builds it from the package's file.
mkdir -p "$scratch/mime/packages" && cp "$mime" "$scratch/mime/packages/"
update-mime-database "$scratch/mime"
grep -q '^application/x-kovaro-project:\*\.kovaro$' "$scratch/mime/globs"
grep -qx 'Icon=kovaro' "$scratch/root/usr/share/applications/kovaro.desktop"
grep -q '<svg' "$scratch/root/usr/share/icons/hicolor/scalable/apps/kovaro.svg"
grep -q '^License: GPL-3.0-or-later$' "$scratch/root/usr/share/doc/kovaro/copyright"
"$here/../smoke/smoke.sh" "$scratch/root/usr/bin/kovaro" "$shot"
echo "installed package started and closed cleanly"
