#!/usr/bin/env bash
# Quick start: installs what is missing, builds, and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/cli/calvoro-cli "$@"
