#!/usr/bin/env bash
# The desktop program on Wayland as people see it: sway started here on its
# headless backend (no screen, no input devices), the real `calvoro` shown
# natively (Qt's Wayland platform) and then through XWayland in the same
# compositor. wtype types, wayland_pointer (a virtual pointer) drags and
# clicks, wl-clipboard reads the clipboard, grim photographs the output and
# wayland_shot cuts each window out of it into SHOTS and checks that its cut
# corners show the backdrop. And without any usable display `calvoro` says so
# in one line instead of aborting.
# sway refuses to run as root: as root, the compositor and every client run
# as the unprivileged user nobody. Every wait is bounded; every process
# started here is ended by its pid.
#
# usage: wayland_suite.sh CALVORO WAYLAND_SHOT WAYLAND_POINTER SHOTS
set -euo pipefail
calvoro=$1 shot_tool=$2 pointer_tool=$3 shots=$4
work=$(mktemp -d)
pids=()
cpid=
# shellcheck source=../support/suite_processes.sh
source "$(dirname "$0")/../support/suite_processes.sh"
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/calvoro.log" ] && sed 's/^/calvoro: /' "$work/calvoro.log" >&2
  exit 1
}
mkdir -p "$shots" "$work/app" "$work/home" "$work/run"
chmod 700 "$work/run"
cp "$calvoro" "$work/app/calvoro"
cp "$shot_tool" "$pointer_tool" "$work/"
# In the sanitizer build: the display libraries' allocations kept until exit
# are no finding of this test (the widget tests check the program's own).
sanitizers=(ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
user_env=(HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
  PATH=/usr/bin:/bin LANG=C.UTF-8 "${sanitizers[@]}")
# The unprivileged user's command prefix: `"${as_user[@]}" "${user_env[@]}" CMD`
# (a plain command, so that $! of one started in the background is its pid).
as_user=(env -i)
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$work"
  chmod 755 "$work"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i)
  # XWayland's socket folder, as an X server run by root would make it.
  [ -d /tmp/.X11-unix ] || install -d -m 1777 /tmp/.X11-unix
fi
user() { "${as_user[@]}" "${user_env[@]}" "$@"; }

step "the program without a usable display"
no_display() {
  local out status=0
  out=$(cd "$work" && env -i PATH=/usr/bin:/bin HOME="$work/home" "${sanitizers[@]}" "$@" \
    "$work/app/calvoro" 2>&1) || status=$?
  ((status == 1)) || fail "exit status $status without a display ($*): $out"
  [[ $(wc -l <<<"$out") -eq 1 && $out == "calvoro: no "*"calvoro-cli calculates in a terminal" ]] ||
    fail "not one clear line ($*): $out"
  echo "   $out"
}
no_display
no_display XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY=wayland-none
version=$(env -i PATH=/usr/bin:/bin "${sanitizers[@]}" "$work/app/calvoro" --version) || fail "--version without a display"
[[ $version =~ ^calvoro\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
echo "   $version"

step "sway on its headless backend, with XWayland"
cat >"$work/sway.config" <<EOF
xwayland enable
default_border none
default_floating_border none
focus_follows_mouse no
# A window's request to be activated after the user's click is granted, as
# GNOME and KDE grant it (sway's own default only marks the window urgent).
focus_on_window_activation focus
output * resolution 1280x1024 position 0 0
exec printenv DISPLAY >"$work/display"
EOF
"${as_user[@]}" "${user_env[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$work/sway.config" >"$work/sway.log" 2>&1 &
pids+=($!)
listening() {
  compgen -G "$work/run/sway-ipc.*.sock" >/dev/null && compgen -G "$work/run/wayland-[0-9]" >/dev/null
}
poll 10 listening || fail "sway did not start: $(cat "$work/sway.log")"
wayland=$(basename "$(compgen -G "$work/run/wayland-[0-9]" | head -1)")
user_env+=(WAYLAND_DISPLAY="$wayland" SWAYSOCK="$(compgen -G "$work/run/sway-ipc.*.sock")")
poll 10 test -s "$work/display" || fail "sway named no X display"
xdisplay=$(cat "$work/display")

# The windows of calvoro (id, title, x, y, width, height, focused, shell), one a line.
tree() {
  user swaymsg -t get_tree | python3 -c '
import json, signal, sys
signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # a reader that has seen enough
pid = int(sys.argv[1])
def walk(node):
    if node.get("pid") == pid:
        r = node["rect"]
        print(node["id"], "|" + node["name"] + "|", r["x"], r["y"], r["width"], r["height"],
              int(node["focused"]), node.get("shell"))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$cpid"
}
# The window titled $1 other than the ids after it: "ID X Y WIDTH HEIGHT FOCUSED SHELL".
find_window() {
  local title=$1 line
  shift
  while read -r line; do
    [[ $line == *"|$title|"* ]] || continue
    [[ " $* " == *" ${line%% *} "* ]] && continue
    echo "${line%% *} ${line#*| }"
    return 0
  done < <(tree)
  return 1
}
await_window() { poll 10 find_window "$@" || fail "no window '$1'; shown: $(tree | tr '\n' ';')"; }
focused() {
  local focus
  read -r _ _ _ _ _ focus _ <<<"$(find_window "$@")"
  [ "$focus" = 1 ]
}
await_focus() { poll 10 focused "$@" || fail "window '$1' has not the focus; shown: $(tree | tr '\n' ';')"; }
gone() { ! tree | grep -q "^$1 "; }
await_gone() { poll 10 gone "$1" || fail "window $1 stayed open"; }
ended() { exited "$cpid"; }
# The virtual keyboard is new to the client each time: a pause lets it take
# the keymap before the keys.
keys() { user wtype -s 150 "$@" -s 50; }
pointer() { user "$work/wayland_pointer" "$@"; }
# Photographs window "$2" (its fields) as SHOTS/$1.png and checks its corners.
shoot() {
  local name=$1 id x y w h out
  read -r id x y w h _ <<<"$2"
  take() {
    user grim "$work/screen.png" &&
      out=$("$work/wayland_shot" "$work/screen.png" "$x" "$y" "$w" "$h" "$shots/$name.png")
  }
  poll 5 take || fail "$name at $x,$y ${w}x$h: $out"
  echo "   $name ${w}x$h $out"
}
# Drags window "$1" by $2,$3, holding it at a point of its body ($4,$5 from its corner).
drag() {
  local id x y
  read -r id x y _ <<<"$1"
  local from_x=$((x + $4)) from_y=$((y + $5))
  pointer at "$from_x" "$from_y" wait 200 down wait 200 at $((from_x + $2 / 2)) $((from_y + $3 / 2)) \
    wait 100 at $((from_x + $2)) $((from_y + $3)) wait 200 up wait 100
  moved_to() { [[ $(find_window "$2") == "$id $((x + $3)) $((y + $4)) "* ]]; }
  poll 5 moved_to "$id" "$6" "$2" "$3" || fail "dragged by $2,$3 from $x,$y: $(find_window "$6")"
}
start_calvoro() {
  "${as_user[@]}" "${user_env[@]}" "$@" sh -c "cd '$work/app' && exec ./calvoro" \
    >>"$work/calvoro.log" 2>&1 &
  cpid=$!
  pids+=("$cpid")
}
exit_calvoro() {
  keys -k Escape
  local question
  question=$(await_window "Calvoro Message" "$1")
  await_focus "Calvoro Message" "$1"
  keys -k Return
  poll 10 ended || fail "calvoro did not end"
}

step "natively: the tip of the day has the focus; Enter closes it"
start_calvoro DISPLAY="$xdisplay"  # a Wayland session with XWayland beside it
main=$(await_window Calvoro)
[[ $main == *" xdg_shell" ]] || fail "not a native Wayland window: $main"
await_focus "Tip of the Day"
shoot tip_of_the_day "$(find_window "Tip of the Day")"
keys -k Return
main_id=${main%% *}
await_focus Calvoro
shoot standard "$(find_window Calvoro)"

step "natively: 1+2, Enter and Copy"
keys '1+2' -k Return -M ctrl c -m ctrl
copied() { [ "$(user wl-paste -n 2>/dev/null)" = "1+2=3" ]; }
poll 5 copied || fail "the clipboard holds '$(user wl-paste -n 2>&1)'"

step "natively: a dialog opens above the window"
keys -M ctrl -M shift s -m shift -m ctrl
await_focus Setting
settings=$(find_window Setting)
shoot settings "$settings"
tree | tail -1 | grep -q "|Setting|" || fail "the dialog is not the topmost window: $(tree | tr '\n' ';')"
keys -k Escape
await_gone "${settings%% *}"
await_focus Calvoro

step "natively: Always on Top is not offered"
read -r _ x y _ <<<"$(find_window Calvoro)"
pointer at $((x + 645)) $((y + 24)) wait 150 down wait 50 up wait 300
user grim "$work/screen.png" && cp "$work/screen.png" "$shots/style_menu.png"
# Up goes to the last item that can be chosen: with Always on Top greyed
# out, the complex style, whose notice then opens.
keys -k Up -k Return
await_window Calvoro "$main_id" >/dev/null
notice=$(find_window Calvoro "$main_id")
shoot style_notice "$notice"
keys -k Return
await_gone "${notice%% *}"

step "natively: a modal question stays reachable"
keys -k Escape
question=$(await_window "Calvoro Message" "$main_id")
await_focus "Calvoro Message"
read -r _ x y _ <<<"$(find_window Calvoro)"
pointer at $((x + 10)) $((y + 140)) wait 150 down wait 50 up wait 150
# The question is the active window again (sway keeps it below the
# calculator it raised, but the keys answer it).
await_focus "Calvoro Message"
keys -k Escape  # Cancel
await_gone "${question%% *}"
kill -0 "$cpid" || fail "Cancel ended calvoro"

step "natively: dragging the body moves the window"
await_focus Calvoro
drag "$(find_window Calvoro)" -100 -300 700 140 Calvoro
exit_calvoro "$main_id"

step "XWayland, for a compositor that does not answer: corners, a drag and the window's icon"
rm -f "$work/home/.config/calvoro/SysData.dat"
: >"$work/calvoro.log"
start_calvoro DISPLAY="$xdisplay" WAYLAND_DISPLAY=wayland-none
main=$(await_window Calvoro)
[[ $main == *" xwayland" ]] || fail "not an XWayland window: $main"
grep -q "WAYLAND_DISPLAY=wayland-none does not answer; using XWayland" "$work/calvoro.log" ||
  fail "no notice of the fallback"
await_focus "Tip of the Day"
keys -k Return
await_focus Calvoro
shoot xwayland_standard "$(find_window Calvoro)"
drag "$(find_window Calvoro)" 0 -300 700 140 Calvoro
icon() {
  local window
  window=$(user DISPLAY="$xdisplay" xdotool search --onlyvisible --name '^Calvoro$' | head -1)
  user DISPLAY="$xdisplay" xprop -id "$window" _NET_WM_ICON | grep -q "Icon ("
}
poll 5 icon || fail "the window has no _NET_WM_ICON"
exit_calvoro "${main%% *}"
echo "All Wayland checks passed; screenshots in $shots"
