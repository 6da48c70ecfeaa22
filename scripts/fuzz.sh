#!/usr/bin/env bash
# Builds the fuzz programs of tests/fuzz (clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for SECONDS
# (default 20) on its committed corpus and what earlier runs found
# (build-fuzz/corpus/TARGET).
#   scripts/fuzz.sh [SECONDS [TARGET...]]
# An input that crashes, hangs, runs out of memory or breaks a property is
# copied into tests/fuzz/corpus/TARGET/, where ctest replays it from then on
# (commit it with the fix), and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift $(( $# > 0 ? 1 : 0 ))

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCALVORO_FUZZ=ON -DCALVORO_BUILD_TESTS=OFF -DCALVORO_BUILD_BENCH=OFF -DCALVORO_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target tests/fuzz/all

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

passed=0
failed=0
for name in "${targets[@]}"; do
  work=build-fuzz/corpus/$name
  findings=build-fuzz/findings/$name
  log=build-fuzz/fuzz-$name.log
  mkdir -p "$work" "$findings"
  dict=()
  case $name in
    calculate | calculator_model | check_syntax | solve_equation)
      dict=(-dict=tests/fuzz/expressions.dict) ;;
  esac
  # A run of more than 60 s on a few kilobytes of input is a hang (the
  # largest results allowed, ten million digits, take seconds even under the
  # sanitizers); libFuzzer's memory limit (2 GB) catches unbounded results.
  if build-fuzz/tests/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=60 \
      -print_final_stats=1 "${dict[@]}" -artifact_prefix="$findings/" \
      "$work" "tests/fuzz/corpus/$name" \
      >"$log" 2>&1; then
    result=ok
    passed=$((passed + 1))
  else
    result=FAILED
    failed=$((failed + 1))
    for finding in "$findings"/*; do
      [ -e "$finding" ] && cp "$finding" "tests/fuzz/corpus/$name/"
    done
    tail -n 40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz $name: ${runs:-?} runs in ${seconds}s, $result"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
