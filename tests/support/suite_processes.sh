# Sourced by the real-display suites: processes they start and bounded waits.
# The suite sets `work` (its scratch folder) and appends every pid it starts
# to `pids`; on exit each is ended and `work` removed.

# Runs the command every 50 ms until it succeeds, for at most $1 seconds.
poll() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 20; i++)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}
# Ends a process started here and waits (at most 5 s) until it has let go of
# everything: a display server still shutting down would spoil the next start.
exited() { [[ ! -e /proc/$1 || $(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) == Z ]]; }
stop() {
  kill "$1" 2>/dev/null || return 0
  poll 5 exited "$1" || kill -9 "$1" 2>/dev/null || true
}
cleanup() {
  local p
  for p in "${pids[@]}"; do stop "$p"; done
  rm -rf "$work"
}
trap cleanup EXIT
step() { echo "== $*"; }
