#!/usr/bin/env bash
# Time and peak memory of calvoro-cli at the settings file's bounds, and the
# memory of runs that must not grow with their input:
#   - `1+1` with a file of 1,000 short log lines (the target: under 5 ms),
#   - `1+1` with a file at the byte bound, of ~1,000 lines of 64 KiB, of
#     100,000 lines of 600 bytes, and with every field at its bound (targets:
#     0.3 s and 300 MB; the time includes writing the file back and its
#     fsync),
#   - a batch that cannot save (its folder is missing) for 20 s,
#   - the robot on 8,000,000 expressions (the target: under 50 MB).
#
#   bench/file_bounds.sh [CALVORO_CLI]
#
# Not part of the tests or CI.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../build/bin/calvoro-cli}"
[ -x "$cli" ] || { echo "no calvoro-cli at $cli" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Settings files written by the encoder's rules (see app/sys_data.h).
python3 - "$work" <<'PY'
import struct, sys
folder = sys.argv[1]
def text(b):
    n = len(b)
    if n < 0xFF: return bytes([n]) + b
    if n < 0xFFFE: return b'\xff' + struct.pack('<H', n) + b
    return b'\xff\xff\xff' + struct.pack('<I', n) + b
def record(lines, params=(b"1", b"1", b"1", b"1", b"3.14159"), saved=(b"", b""), items=()):
    out = text(b"SysData Manager - StoreObject")
    for p in params: out += text(p)
    out += struct.pack('<d', 0.0123) + struct.pack('<iii', 1, 0, 1)
    out += struct.pack('<i', len(lines)) + b''.join(text(l) for l in lines)
    out += struct.pack('<iiii', 0, 0, 0, 1) + bytes([10, 1]) + struct.pack('<iiii', 10, 1, 1, 0)
    out += struct.pack('<i', len(items))
    for catalog, value, description in items:
        out += text(catalog) + text(value) + text(description) + struct.pack('<i', 1)
    out += struct.pack('<iiii', 10, 20, 0, 1) + text(saved[0])
    out += struct.pack('<i', 0) + text(saved[1]) + struct.pack('<iiiiii', 0, 0, 0, 10, 0, 0)
    return out
head = b"2026-12-08 10:00   Dec:"
files = {
    "short": [head + b"%d+1=%d" % (i, i + 1) for i in range(1000)],
    "wide": [head + b"1+1=" + b"7" * 65000 for i in range(1000)],
    "many": [head + b"1" * 560 + b"+1=2" for i in range(100000)],
}
for name, lines in files.items():
    open(f"{folder}/{name}.dat", "wb").write(record(lines))
# Every field at its bound: parameters and Pi 2 MiB, saved texts 1 MiB,
# conversion items 2 MiB, and the log in what is left (about 50 MiB).
mib = 1 << 20
open(f"{folder}/full.dat", "wb").write(record(
    [head + b"1+1=" + b"7" * 65000 for i in range(800)],
    params=[b"7" * (2 * mib)] * 4 + [b"3." + b"1" * (2 * mib - 2)],
    saved=(b"1" * mib, b"2" * mib),
    items=[(b"Length", b"5" * 65000, b"item %d" % i) for i in range(31)]))
PY

for name in short wide many full; do
  for run in 1 2 3; do
    cp "$work/$name.dat" "$work/run.dat"
    /usr/bin/time -f "$name: %e s wall, %U s user, %S s system, %M KB peak" \
      "$cli" --settings "$work/run.dat" 1+1 >/dev/null
  done
  echo "$name: $(stat -c %s "$work/$name.dat") bytes read, $(stat -c %s "$work/run.dat") written"
done

yes '123456789*987654321' | /usr/bin/time -f "unsaved batch for 20 s: %M KB peak" \
  timeout 20 "$cli" --settings "$work/no-such-folder/SysData.dat" >/dev/null 2>"$work/err.txt" ||
  true
tail -n 1 "$work/err.txt"

seq 1 8000000 | sed 's/$/*3+1 apples/' >"$work/robot.txt"
/usr/bin/time -f "robot, 8,000,000 expressions: %e s, %M KB peak" \
  "$cli" robot "$work/robot.txt" --settings "$work/robot.dat" >/dev/null
