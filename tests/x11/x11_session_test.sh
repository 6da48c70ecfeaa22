#!/usr/bin/env bash
# The desktop program under a real X server without a window manager, typed
# at like a person: the tip of the day takes the focus by itself and Escape
# closes it (without the close question), an expression is typed and calculated,
# Last1 is inserted with Ctrl+Shift+1 (which X delivers as "!"), and Escape then OK ends the program.
# The settings file in the user's configuration folder must hold both
# calculations.
set -euo pipefail
calvoro=$1
cli=$2
dir=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$dir"' EXIT
cp "$calvoro" "$dir/calvoro"
export XDG_CONFIG_HOME=$dir/config  # SysData.dat goes to $dir/config/calvoro
pid=
"$dir/calvoro" &
pid=$!

window() { xdotool search --sync --onlyvisible --name "$1" | head -1; }
tip=$(timeout 20 bash -c "$(declare -f window); window 'Tip of the Day'")
timeout 20 bash -c 'until [ "$(xdotool getwindowfocus)" = "$0" ]; do sleep 0.05; done' "$tip"
xdotool key Escape
main=$(timeout 20 bash -c "$(declare -f window); window '^Calvoro$'")
xdotool windowfocus --sync "$main"
xdotool type --delay 20 '12*12'
xdotool key Return
xdotool key 1 key plus key ctrl+shift+1 key Return
# Escape while a calculation runs would stop it: wait until it is saved.
timeout 20 bash -c 'until "$0" log --settings "$1" 2>/dev/null | grep -q "Dec:1+144=145$"; do
  sleep 0.1; done' "$cli" "$dir/config/calvoro/SysData.dat"
xdotool key Escape
question=$(timeout 20 bash -c "$(declare -f window); window 'Calvoro Message'")
xdotool windowfocus --sync "$question" key Return
timeout 20 tail --pid="$pid" -f /dev/null
pid=

log=$("$cli" log --settings "$dir/config/calvoro/SysData.dat")
echo "$log"
grep -q 'Dec:12\*12=144$' <<<"$log"
grep -q 'Dec:1+144=145$' <<<"$log"
