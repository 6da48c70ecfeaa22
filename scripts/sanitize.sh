#!/usr/bin/env bash
# Builds every test with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs them all; any sanitizer report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCALVORO_BUILD_BENCH=OFF -DCALVORO_WERROR=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  >/dev/null
cmake --build build-asan -j "$(nproc)"
cd build-asan
UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$(nproc)"
