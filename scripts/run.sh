#!/usr/bin/env bash
# Quick start: installs what is missing, builds, and starts the calculator:
# the window on a desktop, the terminal calculator where there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/calvoro "$@"
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): starting the terminal calculator calvoro-cli instead." >&2
exec build/bin/calvoro-cli "$@"
