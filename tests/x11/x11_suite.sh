#!/usr/bin/env bash
# The desktop program as people see it: Xvfb (its root painted teal by
# x11_probe) and openbox, no compositor, started here, the real `calvoro`
# driven with xdotool. Every calculator style and
# every dialog is photographed over the root colour into SHOTS (x11_probe
# checks that the window covers its rectangle and that its corners are cut),
# and the keyboard, focus, stacking and placement are checked on the way.
# Every wait is bounded; every process started here is ended by its pid.
#
# With `scale` the program runs at QT_SCALE_FACTOR=2 on a 1600x1000 screen
# instead, and every window and dialog must fit the screen.
#
# usage: x11_suite.sh CALVORO CALVORO_CLI X11_PROBE SHOTS [scale]
set -euo pipefail
calvoro=$1 cli=$2 probe=$3 shots=$4 mode=${5:-}
screen=1280x1024x24
if [ "$mode" = scale ]; then
  screen=1600x1000x24
  shots=$shots/scale
  scale_factor=2  # the program's only: the probe grabs the screen's pixels
fi
work=$(mktemp -d)
pids=()
cpid=
# shellcheck source=../support/suite_processes.sh
source "$(dirname "$0")/../support/suite_processes.sh"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
mkdir -p "$shots" "$work/app" "$work/home"
cp "$calvoro" "$work/app/calvoro"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=xcb
settings=$XDG_CONFIG_HOME/calvoro/SysData.dat
# In the sanitizer build: the X libraries' allocations kept until exit are no
# finding of this test (the widget tests check the program's own).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
unset WAYLAND_DISPLAY


step "Xvfb and openbox"
# Xvfb picks a free display itself; a display that does not answer, or whose
# openbox does not come up, is started again.
wm_ready() { [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]; }
answers() { kill -0 "$xvfb" 2>/dev/null && xprop -root >/dev/null 2>&1; }
for attempt in 1 2 3 4; do
  ((attempt < 4)) || fail "no X server with openbox: $(cat "$work/xvfb.log" "$work/openbox.log")"
  : >"$work/display"
  Xvfb -displayfd 3 -br -screen 0 "$screen" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  pids+=("$xvfb")
  if poll 20 test -s "$work/display"; then
    export DISPLAY=:$(head -1 "$work/display")
    if poll 10 answers; then
      openbox --sm-disable >"$work/openbox.log" 2>&1 &
      openbox=$!
      pids+=("$openbox")
      # openbox now and then aborts as it starts: then at once a new try.
      settled() { wm_ready || exited "$openbox"; }
      poll 10 settled && wm_ready && "$probe" root && break
      stop "$openbox"
    fi
  fi
  stop "$xvfb"
done

start_calvoro() {
  (cd "$work/app" && QT_SCALE_FACTOR=${scale_factor:-1} exec ./calvoro) >>"$work/calvoro.log" 2>&1 &
  cpid=$!
  pids+=("$cpid")
}
# The id of a shown window of calvoro titled exactly $1, other than the ids given after it.
find_window() {
  local name=$1 id
  shift
  for id in $(xdotool search --all --onlyvisible --pid "$cpid" --name "^${name}\$" 2>/dev/null); do
    [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
  done
  return 1
}
await_window() {
  local id
  id=$(poll 10 find_window "$@") || fail "no window '$1' showed; shown: $(windows)"
  echo "$id"
}
# The shown windows, with their titles and places (for failure messages).
windows() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '%s "%s" %s; ' "$id" "$(xdotool getwindowname "$id")" \
      "$(xdotool getwindowgeometry "$id" | tr -s ' \n' ' ')"
  done
}
shown() { [[ $'\n'$(xdotool search --all --onlyvisible --pid "$cpid" --name . 2>/dev/null)$'\n' == *$'\n'$1$'\n'* ]]; }
gone() { ! shown "$1"; }
await_gone() { poll 10 gone "$1" || fail "window $1 stayed open"; }
# A dialog closed: the calculator has the focus again.
closed() {
  await_gone "$1"
  await_focus "$main"
}
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
await_focus() { poll 10 focused "$1" || fail "window $1 has not the focus; $(xdotool getwindowfocus) has it"; }
ended() { ! kill -0 "$cpid" 2>/dev/null; }
# X, Y, WIDTH, HEIGHT of a window.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
# A screenshot of window $2 as SHOTS/$1.png, taken again until it is painted;
# $3 "cut" (unless the window lies over another one there): the corners too.
shoot() {
  local name=$1 cut=${3-cut} out=
  geometry "$2"
  shot() { out=$("$probe" shot "$shots/$name.png" "$X" "$Y" "$WIDTH" "$HEIGHT" $cut 2>/dev/null); }
  poll 5 shot || fail "$name at $X,$Y ${WIDTH}x$HEIGHT: $out; shown: $(windows)"
  echo "   $name ${WIDTH}x$HEIGHT $out"
}
keys() { xdotool key --delay 30 "$@"; }
# Window $1 is centred on the calculator.
centred_on_main() {
  geometry "$main"
  local cx=$((X + WIDTH / 2)) cy=$((Y + HEIGHT / 2))
  geometry "$1"
  ((X + WIDTH / 2 - cx <= 1 && cx - X - WIDTH / 2 <= 1 && Y + HEIGHT / 2 - cy <= 1 && cy - Y - HEIGHT / 2 <= 1)) ||
    fail "window $1 at $X,$Y ${WIDTH}x$HEIGHT is not centred on $cx,$cy"
}
# Drags window $1 by $2,$3 at its title band, and waits until it is there
# (until then the window manager may hold the keyboard for its move).
drag() {
  geometry "$1"
  local x=$((X + WIDTH / 2)) y=$((Y + 10)) to_x=$((X + $2)) to_y=$((Y + $3))
  xdotool mousemove "$x" "$y" mousedown 1 mousemove $((x + $2 / 2)) $((y + $3 / 2)) \
    mousemove $((x + $2)) $((y + $3)) mouseup 1
  arrived() {
    geometry "$1"
    ((X == $2 && Y == $3))
  }
  poll 5 arrived "$1" "$to_x" "$to_y" || fail "window $1 dragged to $to_x,$to_y is at $X,$Y"
}
typed() { xdotool type --delay 30 "$1"; }
# A dialog that keys open: it shows with the focus; photographed (its
# corners too unless $nocut is set: a message box lies over the calculator).
open_dialog() {
  local name=$1 title=$2 id
  shift 2
  keys "$@"
  id=$(await_window "$title" "$main")
  await_focus "$id"
  if [ -n "${nocut:-}" ]; then shoot "$name" "$id" ""; else shoot "$name" "$id"; fi
  dialog=$id
}
logged() { [[ $("$cli" log --settings "$settings") == *"$1"* ]]; }
await_log() { poll 10 logged "$1" || fail "no log line '$1'"; }
# Clicks the style button (≡) of a window whose frame buttons end at $1, $2.
style_menu() {
  geometry "$main"
  xdotool mousemove $((X + $1 - 83)) $((Y + $2 + 10)) click 1
  sleep 0.3
}
# The close question answered OK: the program ends.
exit_calvoro() {
  keys Escape
  local question
  question=$(await_window "Calvoro Message" "$main")
  await_focus "$question"
  keys Return
  poll 10 ended || fail "calvoro did not end"
}
# The tip of the day at start: on top with the focus; Enter closes it.
close_tip() {
  local tip
  tip=$(await_window "Tip of the Day")
  await_focus "$tip"
  [ -n "${1:-}" ] && shoot "$1" "$tip"
  keys Return
  await_gone "$tip"
}

if [ "$mode" = scale ]; then
  step "at scale 2 every window and dialog fits the 1600x1000 screen"
  fits() {
    geometry "$2"
    ((X >= 0 && Y >= 0 && X + WIDTH <= 1600 && Y + HEIGHT <= 1000)) ||
      fail "$1 at $X,$Y ${WIDTH}x$HEIGHT does not fit the screen"
    shoot "$1" "$2" ""
  }
  start_calvoro
  main=$(await_window Calvoro)
  close_tip
  await_focus "$main"
  fits standard "$main"
  for tool in "converter Unit Converter ctrl+shift+c" "robot File Calculation Robot ctrl+shift+r" \
    "settings Setting ctrl+shift+s" "log Log ctrl+shift+l" "complex Complex Calculator ctrl+shift+p" \
    "matrix Matrix Calculator ctrl+shift+m" "function_list Function and Parameter List ctrl+shift+f"; do
    name=${tool%% *} key=${tool##* } title=${tool#* }
    title=${title% *}
    keys "$key"
    dialog=$(await_window "$title" "$main")
    await_focus "$dialog"
    fits "$name" "$dialog"
    keys Escape
    closed "$dialog"
  done
  exit_calvoro
  echo "Every window fits; screenshots in $shots"
  exit 0
fi

step "standard window: the tip of the day has the focus; Enter closes it"
start_calvoro
main=$(await_window Calvoro)
close_tip tip_of_the_day
await_focus "$main"
typed '5Pi+78(34.5+89.6)'
keys Return
await_log "Dec:5Pi+78(34.5+89.6)=5*3.14159265358979"
shoot standard "$main"
geometry "$main"
"$probe" shot "$shots/standard-window.png" "$X" "$Y" "$WIDTH" "$HEIGHT" cut clear >/dev/null 2>&1

step "dragging the body moves the window (to the top, out of the dialogs' way)"
geometry "$main"
x0=$X y0=$Y
xdotool mousemove $((X + 700)) $((Y + 140)) mousedown 1 mousemove $((X + 710)) $((Y + 100)) \
  mousemove $((X + 700)) $((Y + 140 - y0 + 20)) mouseup 1
moved() {
  geometry "$main"
  ((X == x0 && Y == 20))
}
poll 5 moved || fail "dragged from $x0,$y0 to $x0,20: now at $X,$Y"

step "an insertion after a result starts a new input"
typed '2+3'
keys Return ctrl+shift+1
typed '*2'
keys Return
await_log "Dec:5*2=10"

# The field as Ctrl+C copies it equals $1 (read back through the clipboard).
clip() { "$probe" clip >"$work/clip" 2>/dev/null && [[ $(<"$work/clip") == "$1" ]]; }
copied() {
  keys ctrl+c
  poll 10 clip "$1" || fail "the field holds '$(head -c 200 "$work/clip")', not '${1:0:200}'"
}
# Settings: the precision typed into its edit, then Return (OK) or Escape.
set_precision() {
  open_dialog "$1" Setting ctrl+shift+s
  keys Tab Tab ctrl+a
  typed "$2"
  shoot "$1" "$dialog"
  keys "$3"
  closed "$dialog"
}

step "keys on a shown result: Enter keeps it, an operator goes on from it, Backspace brings the expression back"
typed '1/3'
keys Return Return space
copied '1/3=0.3333333333'
shoot enter_on_result "$main"
keys asterisk
copied '0.3333333333*'
shoot operator_on_result "$main"
typed '3'
keys Return
copied '0.3333333333*3=0.9999999999'
keys BackSpace
copied '0.3333333333*3'
shoot backspace_on_result "$main"

step "Mix 0b101+0h1F, then Dec shows 36"
keys ctrl+m ctrl+a
typed '0b101+0h1F'
keys Return
copied '0B101+0h1F=0h24'
shoot mix_result "$main"
keys ctrl+d
copied '5+31=36'
shoot mix_then_dec "$main"

step "settings: precision 3 then Escape changes nothing"
set_precision settings_escape 3 Escape
keys ctrl+a
typed '1/3'
keys Return
copied '1/3=0.3333333333'
shoot precision_kept "$main"

step "texts of any length: Copy gives what calvoro-cli prints"
set_precision settings_precision 1000000 Return
cli_says() { "$cli" --settings "$work/cli.dat" --precision "$1" "$2"; }
keys ctrl+a
typed 'fac(10000)'
keys Return
await_log "Dec:fac(10000)=2.8462596809"
copied "$(cli_says 1000000 'fac(10000)')"
shoot long_result "$main"
nines="1+$(printf '9%.0s' {1..40000})"
printf '%s' "$nines" >"$work/nines"
"$probe" own-clipboard "$work/nines" 2>/dev/null &
owner=$!
pids+=("$owner")
poll 10 clip "$nines" || fail "the clipboard does not hold the 40,002 characters"
keys ctrl+v Return
await_log "=1E+40000"
stop "$owner"
copied "$(cli_says 1000000 "$nines")"
shoot long_input "$main"
set_precision settings_precision 10 Return

step "a message box opens on the calculator"
keys 1 BackSpace Return
box=$(await_window "Calvoro Message" "$main")
await_focus "$box"
shoot message_box "$box" ""  # over the calculator
geometry "$main"
mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
geometry "$box"
((X >= mx && Y >= my && X + WIDTH <= mx + mw && Y + HEIGHT <= my + mh)) ||
  fail "message box at ${X},${Y} ${WIDTH}x$HEIGHT outside the calculator at $mx,$my ${mw}x$mh"
centred_on_main "$box"
keys Return
closed "$box"

step "settings: Tab reaches OK; Enter accepts"
open_dialog settings Setting ctrl+shift+s
keys Right Tab Tab Tab Tab Tab Tab space  # Degree, then OK
closed "$dialog"
typed 'sin(90)'
keys Return
await_log "Dec:sin(90)=1"
open_dialog settings Setting ctrl+shift+s
keys Left Return  # Radian, then Enter
closed "$dialog"
typed 'sin(90)'
keys Return
await_log "Dec:sin(90)=0.8939966636"

step "the tool dialogs"
open_dialog log Log ctrl+shift+l
keys Escape
closed "$dialog"
open_dialog function_list "Function and Parameter List" ctrl+shift+f
list=$dialog
drag "$list" 0 260  # the input dialog opens where the list was
open_dialog function_input "Function Input Dialog" Tab Tab Return  # from OK round to sin
keys Escape
await_gone "$dialog"
await_focus "$list"
keys Escape
closed "$list"
typed '5+*3'
open_dialog input_message "Calvoro Message" Return
keys Return
closed "$dialog"
open_dialog complex "Complex Calculator" ctrl+shift+p
keys Escape
closed "$dialog"
open_dialog matrix "Matrix Calculator" ctrl+shift+m
keys Escape
closed "$dialog"
open_dialog robot "File Calculation Robot" ctrl+shift+r
keys Escape
closed "$dialog"
nocut=1 open_dialog help_message "Calvoro Message" F1  # no help file beside this copy; over the calculator
keys Return
closed "$dialog"

step "converter: -40 °F on the temperature tab"
keys ctrl+a  # the refused 5+*3 is still there: Ctrl+A and typing replace it
typed '1+1'
keys Return
open_dialog converter "Unit Converter" ctrl+shift+c
keys ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab  # to Temperature
keys shift+Tab shift+Tab Down Tab Tab  # input unit Fahrenheit, back to Input
keys ctrl+a minus 4 0 Return           # Select: into the field
closed "$dialog"
typed '*1'
keys Return
await_log "Dec:-40*1=-40"

step "a long calculation: busy, the window moves, Escape stops it and the field is as before"
open_dialog settings_precision Setting ctrl+shift+s
keys Tab Tab ctrl+a
typed 1000000
keys Return
closed "$dialog"
keys ctrl+a
typed 'ln(2)'
keys ctrl+c
before=$("$probe" clip 2>/dev/null)
keys Return
busy_shown() {  # the busy label's colour in a shot of the window, saved as $1
  geometry "$main"
  "$probe" shot "$shots/$1.png" "$X" "$Y" "$WIDTH" "$HEIGHT" cut colour=fff4d6 >/dev/null 2>&1
}
poll 3 busy_shown busy || fail "no busy state shown during ln(2) at precision 1000000"
geometry "$main"
x0=$X y0=$Y
body_drag() {  # a free place of the body, right of the brand line
  geometry "$main"
  xdotool mousemove $((X + 700)) $((Y + 140)) mousedown 1 mousemove $((X + 705)) $((Y + 140 + $1 / 2)) \
    mousemove $((X + 700)) $((Y + 140 + $1)) mouseup 1
}
body_drag 60
busy_moved() {
  geometry "$main"
  ((X == x0 && Y == y0 + 60))
}
poll 2 busy_moved || fail "the busy window did not move: from $x0,$y0 to $X,$Y"
busy_shown busy_moved || fail "the calculation ended before Escape; precision not set?"
keys Escape
not_busy() { ! busy_shown stopping; }
poll 1 not_busy || fail "Escape did not stop the calculation within a second"
shoot stopped "$main"
keys ctrl+c
after=$("$probe" clip 2>/dev/null)
[ "$after" = "$before" ] || fail "the field was '$before' and is '$after' after the stop"
! logged ":$before=" || fail "a stopped calculation was logged"
body_drag -60
back() {
  geometry "$main"
  ((X == x0 && Y == y0))
}
poll 5 back || fail "the window did not move back to $x0,$y0: at $X,$Y"

step "the log with a line of a million digits closes at once"
keys ctrl+a
typed '1/3'
keys Return
await_log "Dec:1/3="
open_dialog log_long_line Log ctrl+shift+l
keys Escape
poll 1 gone "$dialog" || fail "the log took more than a second to close"
await_focus "$main"
open_dialog settings_precision Setting ctrl+shift+s
keys Tab Tab ctrl+a
typed 10
keys Return
closed "$dialog"
keys ctrl+a BackSpace

step "Always on Top keeps the program and stacks it above another window"
"$probe" window Other 2>/dev/null &
other_pid=$!
pids+=("$other_pid")
other=$(poll 10 xdotool search --all --onlyvisible --pid "$other_pid" --name '^Other$') || fail "no other window"
xdotool windowactivate "$main"
await_focus "$main"
geometry "$main"
x0=$X y0=$Y
style_menu 728 14
keys Up Return  # the last item
above() { [[ $(xprop -id "$main" _NET_WM_STATE) == *_NET_WM_STATE_ABOVE* ]]; }
poll 5 above || fail "not kept above: $(xprop -id "$main" _NET_WM_STATE)"
xdotool windowactivate "$other"
await_focus "$other"
stacked_above() {
  local order
  order=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' | while read -r w; do printf '%d\n' "$w"; done)
  [ "$(grep -nx "$main" <<<"$order" | cut -d: -f1)" -gt "$(grep -nx "$other" <<<"$order" | cut -d: -f1)" ]
}
poll 5 stacked_above || fail "the calculator is below the other window"
kill -0 "$cpid" || fail "calvoro ended"
shown "$main" || fail "the calculator is hidden"
geometry "$main"
((X == x0 && Y == y0)) || fail "moved from $x0,$y0 to $X,$Y"
stop "$other_pid"
xdotool windowactivate "$main"
await_focus "$main"

step "style notice"
style_menu 728 14
keys Down Return  # Mini
notice=$(await_window Calvoro "$main")
await_focus "$notice"
shoot style_notice "$notice"
keys Return
closed "$notice"
exit_calvoro

# The other three styles, each choosing the next from its style menu.
# usage: other_style NAME TITLE RIGHT TOP MENU_DOWNS (0: no next style)
other_style() {
  step "$1 window"
  start_calvoro
  main=$(await_window "$2")
  close_tip
  await_focus "$main"
  shoot "$1" "$main"
  if [ "$1" = mini ]; then
    # The question is centred on the window; over the short mini window its
    # corners lie over the root.
    keys Escape
    question=$(await_window "Calvoro Message" "$main")
    await_focus "$question"
    shoot close_question "$question"
    centred_on_main "$question"
    keys Escape  # Cancel
    closed "$question"
    kill -0 "$cpid" || fail "Cancel ended calvoro"
  fi
  if (($5 > 0)); then
    style_menu "$3" "$4"
    local i
    for ((i = 0; i < $5; i++)); do keys Down; done
    keys Return
    notice=$(await_window Calvoro "$main")
    keys Return
    closed "$notice"
  fi
  exit_calvoro
}
other_style mini Calvoro 724 14 2
other_style conversion "Conversion Expression Calculator" 588 12 3
other_style complex_window "Complex Expression Calculator" 548 12 0
echo "All real-display checks passed; screenshots in $shots"
