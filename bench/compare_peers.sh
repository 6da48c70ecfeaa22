#!/usr/bin/env bash
# Runs the same end-to-end workloads (parse + compute + print in decimal,
# whole process) through calvoro-cli, GNU bc, Python 3's decimal, small C
# programs on GMP and on MPFR (the functions) and qalc; checks that all print
# the same digits and prints a table of medians with the ratio of Calvoro to
# each peer.
#
#   bench/compare_peers.sh [--install] [--runs N] [--quick] [--peer-timeout S]
#                          [--only REGEX] [CALVORO_CLI]
#
# --install   apt-get the missing peers first (bc python3 libgmp-dev libmpfr-dev qalc)
# --runs N    runs per workload and program (default 5; a peer whose first
#             run takes over 10 s is run once, marked "*")
# --quick     skip the 10^6-digit product
# --peer-timeout S  stop a peer's run after S seconds (default 60; bc -l
#             needs hours for some functions to 10^5 digits), marked ">"
# --only REGEX  only the workloads whose label matches (the functions:
#             'sqrt|exp|ln|arctan|^pi|^sin\(1\)')
# CALVORO_CLI defaults to build/bin/calvoro-cli (a Release build).
#
# Not part of the tests or CI. The two peers are built here for the
# comparison only.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
runs=5
quick=0
install=0
peer_timeout=60
only=
cli="$here/../build/bin/calvoro-cli"
while [ $# -gt 0 ]; do
  case "$1" in
    --install) install=1 ;;
    --runs) runs="$2"; shift ;;
    --quick) quick=1 ;;
    --peer-timeout) peer_timeout="$2"; shift ;;
    --only) only="$2"; shift ;;
    *) cli="$1" ;;
  esac
  shift
done

if [ "$install" = 1 ]; then
  apt-get update && apt-get install -y bc python3 libgmp-dev libmpfr-dev qalc
fi
for tool in bc python3 gcc; do
  command -v "$tool" >/dev/null || { echo "missing $tool (try --install)" >&2; exit 2; }
done
[ -x "$cli" ] || { echo "no calvoro-cli at $cli" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
gcc -O2 -o "$work/gmp_peer" "$here/peers/gmp_peer.c" -lgmp
gcc -O2 -o "$work/mpfr_peer" "$here/peers/mpfr_peer.c" -lmpfr -lgmp
gcc -O2 -o "$work/peak_rss" "$here/peers/peak_rss.c"

exec python3 "$here/peers/compare.py" --cli "$cli" --gmp "$work/gmp_peer" --mpfr "$work/mpfr_peer" \
  --peak-rss "$work/peak_rss" --work "$work" --runs "$runs" --quick "$quick" --peer-timeout "$peer_timeout" \
  --only "$only"
