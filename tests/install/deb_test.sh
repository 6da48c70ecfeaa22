#!/usr/bin/env bash
# `cpack -G DEB` on the build tree: the package holds the programs and the
# desktop files under /usr, and its dependencies, read by dpkg-shlibdeps,
# name the Qt and C libraries the window links.
#   deb_test.sh BUILD-DIR APP-ID
set -euo pipefail
build=$1
app_id=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  exit 1
fi
deb=$(echo "$out"/*.deb)
dpkg-deb -c "$deb" >"$out/files"
status=0
for file in ./usr/bin/calvoro ./usr/bin/calvoro-cli ./usr/share/calvoro/calvoro-help.html \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/48x48/apps/$app_id.png" "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    ./usr/share/man/man1/calvoro.1.gz ./usr/share/man/man1/calvoro-cli.1.gz \
    ./usr/share/bash-completion/completions/calvoro-cli; do
  grep -q " $file\( -> .*\)\?$" "$out/files" || { echo "not in the package: $file"; status=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  grep -q "\b$library\b" <<<"$depends" || { echo "Depends lacks $library: $depends"; status=1; }
done
# Qt's Wayland platform is a plugin, which dpkg-shlibdeps cannot see.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -q "\bqt6-wayland\b" <<<"$recommends" || { echo "Recommends lacks qt6-wayland: $recommends"; status=1; }
[ $status -eq 0 ] || cat "$out/files"
exit $status
