#!/usr/bin/env bash
# Installs the Debian packages Calvoro needs to build and test, when missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libedit-dev)
# The elementary functions at the working precision (MPFR on GMP; the static
# archives of both come with the -dev packages), and mpmath, the independent
# reference their tests compare with.
packages+=(libmpfr-dev libgmp-dev python3 python3-mpmath)
# The windows: Qt 6 Widgets (with its offscreen platform for headless tests),
# libxcb (where the X server has a window), a metric-compatible Arial, and a
# browser-independent way to open the help.
packages+=(qt6-base-dev libxcb1-dev fonts-liberation fonts-dejavu-core xdg-utils)
# A real X server, a window manager, a typing robot and xprop (stacking and
# window states) for the real-display tests of the windows.
packages+=(xvfb xauth xdotool openbox x11-utils)
# Wayland: Qt's native platform plugin for Wayland desktops, and for the
# Wayland tests a headless compositor (sway, with XWayland for X clients),
# screenshots (grim), typing (wtype) and the clipboard (wl-clipboard).
packages+=(qt6-wayland sway xwayland grim wtype wl-clipboard)
# The pointer of the Wayland tests: a small client of the compositor's
# virtual-pointer protocol, built on the Wayland client library.
packages+=(libwayland-dev)
# Installation and packaging: the icon's PNGs (rsvg-convert), the man page
# (scdoc), the Debian package (dpkg-shlibdeps reads its dependencies and needs
# file), and the validators of the desktop entry and the AppStream metainfo.
packages+=(librsvg2-bin scdoc dpkg-dev file desktop-file-utils appstream)
# clang with its sanitizer and libFuzzer runtimes: scripts/sanitize.sh and scripts/fuzz.sh.
packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please run as root or install sudo." >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
