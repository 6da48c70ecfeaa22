#!/usr/bin/env bash
# Installs what is missing, builds (warnings are errors), and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DCALVORO_WERROR=ON
cd build
ctest --output-on-failure -j "$(nproc)"
cd ..
# The same tests under AddressSanitizer and UBSan, then each fuzz target for 20 s.
scripts/sanitize.sh
scripts/fuzz.sh 20
