#!/usr/bin/env bash
# Peak resident memory of calvoro-cli on large products, measured from
# outside the program (bench/peers/peak_rss.c), against the texts that a
# calculation must keep: the CLI's input line, the input field (expression,
# "=" and result), the log line and Last1.
#
#   bench/memory_peak.sh [CALVORO_CLI]
#
# For each size it prints the peak over a run of 1+1 and that over the bytes
# of those texts; the target is at most 3. Not part of the tests or CI.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../build/bin/calvoro-cli}"
[ -x "$cli" ] || { echo "no calvoro-cli at $cli" >&2; exit 2; }
command -v python3 >/dev/null || { echo "missing python3" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
gcc -O2 -o "$work/peak_rss" "$here/peers/peak_rss.c"
settings_folder=/dev/shm
[ -d "$settings_folder" ] || settings_folder="$work"
settings="$settings_folder/calvoro-memory-$$.dat"

# The peak of one run (bytes); every run starts from a fresh settings file.
peak() {
  rm -f "$settings"
  "$work/peak_rss" "$cli" --settings "$settings" --threshold 1000000000 --precision 10 --result \
    "$@" 2>&1 >"$work/out.txt" | tail -n 1
}

start=$(peak 1+1)
printf '| product | peak | peak - 1+1 | kept texts | (peak - 1+1) / kept |\n|---|---|---|---|---|\n'
for n in 100000 1000000; do
  python3 -c "
import random, sys
rng = random.Random($n)
def digits(k): return str(rng.randint(1, 9)) + ''.join(rng.choice('0123456789') for _ in range(k - 1))
sys.stdout.write(digits($n) + '*' + digits($n) + '\n')" >"$work/input.txt"
  total=$(peak <"$work/input.txt")
  input=$(($(wc -c <"$work/input.txt") - 1))
  result=$(($(wc -c <"$work/out.txt") - 1))
  # Input line; field "expression=result"; log line "YYYY-MM-DD HH:MM   Dec:"
  # expression "=" result; Last1.
  kept=$((input + (input + 1 + result) + (23 + input + 1 + result) + result))
  python3 -c "
print('| %d x %d digits | %.1f MB | %.1f MB | %.1f MB | %.2f |' % ($n, $n, $total / 1e6,
      ($total - $start) / 1e6, $kept / 1e6, ($total - $start) / $kept))"
done
rm -f "$settings"
echo
echo "A run of 1+1 peaks at $(python3 -c "print('%.1f MB' % ($start / 1e6))")."
