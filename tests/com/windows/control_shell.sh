#!/usr/bin/env bash
# tests/com/windows/control_shell.sh BUILD_DIR
# Our toolbar control as a real child window, driven with the mouse on a virtual display:
# BUILD_DIR/control_shell.exe (control_shell.cpp) shows the bar; this script compares the
# bar's pixels on the screen with the bar's own headless picture, and clicks, holds, wheels
# and hovers with xdotool, checking the events the program reports. Screenshots of a failed
# run stay in BUILD_DIR/control_shell_shots (of every run with ZADEVE_KEEP_SHOTS=1).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
suite="control shell"
# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${1:-}" != --stories ]; then
  build=$(cd "${1:?usage: control_shell.sh BUILD_DIR}" && pwd)
  skip_without "$suite" wine xvfb-run xdotool import compare-im6.q16 convert-im6.q16
  [ -f "$build/control_shell.exe" ] || { echo "$suite: $build/control_shell.exe is not built" >&2; exit 1; }
  wine_prefix
  wine_for_display
  display_suite "$build/control_shell_shots" bash "$0" --stories "$build/control_shell.exe" "$scratch" \
    "$build/control_shell_shots"
  exit
fi

# --- On the display --------------------------------------------------------------------
exe=$2 scratch=$3 shots=$4
log=$scratch/out.txt
problem() { echo "  $*" >&2; return 1; }
out() { tr -d '\r' 2>/dev/null <"$log" || true; }
count() { out | grep -cE "$1" || true; }
printed() { out | grep -qE "$1"; }
# wait_for REGEX [SECONDS]: until a line of the program's output matches.
wait_for() { wait_until "${2:-5}" printed "$1"; }
item() { out | grep -E "^item [0-9]+ $1 " | head -1 | cut -d' ' -f4-; }  # X Y W H
centre() { local x y w h; read -r x y w h <<<"$(item "$1")"; echo "$((x + w / 2)) $((y + h / 2))"; }
events() { count '^expected '; }
# drop_down ITEM: clicks the item and waits until a new drop-down has come up.
menus() { count '^menu [0-9]+ [0-9]+ [1-9]'; }
drop_down() {
  local before
  before=$(menus)
  xdotool mousemove $(centre "$1") click 1
  wait_until 5 eval '(($(menus) > before))' || return 1
  sleep 0.3
}
# entry_centre I: the middle of entry I of the drop-down open last.
entry_centre() {
  local x y w h
  read -r _ x y w h <<<"$(out | grep "^entry $1 " | tail -1 | cut -d' ' -f2-)"
  echo "$((x + w / 2)) $((y + h / 2))"
}
# shot NAME: the screen, and the bar cut out of it as NAME-bar.png.
shot() {
  import -window root "$shots/$1.png"
  local x y w h
  read -r x y w h <<<"$(out | grep '^control ' | tail -1 | cut -d' ' -f2-)"
  crop "$shots/$1.png" "$w" "$h" "$x" "$y" "$shots/$1-bar.png"
}
# matches NAME: the bar on screen equals the latest headless picture.
matches() {
  cp "$scratch/expected-$(($(events) - 1)).png" "$shots/$1-expected.png"
  same "$shots/$1-bar.png" "$shots/$1-expected.png"
}
# after_event REGEX WHY: the event came and its headless picture was written.
after_event() {
  local before=$1
  wait_for "$2" || problem "$3" || return 1
  wait_for "^expected $before " || true
}

wine "$exe" "$(windows_path "$scratch")" >"$log" 2>&1 &
pid=$!
if ! wait_for '^ready$' 30; then
  echo "$suite: the program did not come up" >&2
  out >&2
  exit 1
fi
sleep 1

paints() { away; shot first; matches first; }

toggle_click() {
  local before
  before=$(events)
  xdotool mousemove $(centre FormatBold) click 1
  after_event "$before" '^event ButtonClick FormatBold on$' "no ButtonClick with BF_ON" || return 1
  away
  shot toggled
  matches toggled || return 1
  [ "$(differing "$shots/first-bar.png" "$shots/toggled-bar.png")" -gt 0 ] || problem "the toggle looks the same pressed"
}

hover_and_tooltip() {
  xdotool mousemove $(centre FileOpen)
  wait_for '^tooltip Open$' || problem "no tooltip with the button's text" || return 1
  shot hover
  [ "$(differing "$shots/hover-bar.png" "$shots/toggled-bar.png")" -gt 0 ] ||
    problem "the button under the mouse looks as any other" || return 1
  away
}

combo_pick() {
  local before
  before=$(events)
  drop_down FontName || problem "no drop-down list came up" || return 1
  shot dropped
  xdotool mousemove $(entry_centre 2) click 1
  after_event "$before" '^event ButtonClick FontName .*list=2' "picking Times raised no ButtonClick" || return 1
  away
  shot picked
  matches picked
}

# spin_point up|down: the middle of the spin's up or down arrow.
spin_point() {
  local x y w h
  read -r x y w h <<<"$(item FontSize)"
  local ax=$((x + w - 1 - 6)) quarter=$(((h - 2) / 4))
  if [ "$1" = up ]; then echo "$ax $((y + 1 + quarter))"; else echo "$ax $((y + h - 1 - quarter))"; fi
}

spin_arrows() {
  xdotool mousemove $(spin_point up) click 1
  wait_for '^event ButtonSpinUp FontSize 12 ' || problem "the up arrow raised no ButtonSpinUp 12" || return 1
  xdotool mousemove $(spin_point down) click 1
  wait_for '^event ButtonSpinDown FontSize 10 ' || problem "the down arrow raised no ButtonSpinDown 10" || return 1
  # Held down, the arrow repeats.
  local ups repeated
  ups=$(count '^event ButtonSpinUp ')
  xdotool mousemove $(spin_point up) mousedown 1
  sleep 1.2
  shot spin-held
  xdotool mouseup 1
  sleep 0.3
  repeated=$(($(count '^event ButtonSpinUp ') - ups))
  [ "$repeated" -ge 4 ] || problem "holding the arrow 1.2 s raised $repeated ButtonSpinUp" || return 1
  away
  shot spun
  matches spun
}

spin_wheel() {
  local ups downs
  ups=$(count '^event ButtonSpinUp ') downs=$(count '^event ButtonSpinDown ')
  xdotool mousemove $(centre FontSize) click 4
  wait_for "^event ButtonSpinUp " 2
  [ "$(count '^event ButtonSpinUp ')" -gt "$ups" ] || problem "the wheel turned up raised no ButtonSpinUp" || return 1
  xdotool click 5
  sleep 0.5
  [ "$(count '^event ButtonSpinDown ')" -gt "$downs" ] || problem "the wheel turned down raised no ButtonSpinDown"
}

typed_value() {
  local x y w h
  read -r x y w h <<<"$(item FontSize)"
  xdotool mousemove $((x + 12)) $((y + h / 2)) click 1
  sleep 0.5
  xdotool type 30
  shot typing
  xdotool key Return
  wait_for '^event ButtonChange FontSize 30 ' || problem "typing 30 and Enter raised no ButtonChange 30" || return 1
  wait_for '^event ButtonValue FontSize 30 ' || problem "no ButtonValue 30 after the change" || return 1
  sleep 0.3
  away
  shot typed
  matches typed
}

context_menu() {
  local before x y w h
  before=$(events)
  read -r x y w h <<<"$(item ViewMenu)"
  # The gap before the menu belongs to the bar, not to a button.
  xdotool mousemove $((x - 4)) $((y + h / 2)) click 3
  after_event "$before" '^event BarContextMenu ' "a right click raised no BarContextMenu" || return 1
  away
  # The handler disabled the first button: the window shows it without being asked.
  shot context
  matches context || return 1
  # Then it raised an error: with no caller to go to, it is reported (on standard error
  # here, unattended), and the bar goes on working.
  wait_for '^ControlShell: The menu handler failed$' || problem "the handler's error was not reported"
}

menu_entry() {
  local before x0 y0 x1 y1
  before=$(events)
  drop_down ViewMenu || problem "the menu did not drop down" || return 1
  xdotool mousemove $(entry_centre 1) click 1
  after_event "$before" '^event ButtonClick ViewGrid ' "picking Grid raised no ButtonClick" || return 1
  away
  # The handler moved the bar by 20, 30 pixels: its window went along.
  read -r x0 y0 _ _ <<<"$(out | grep '^control ' | head -1 | cut -d' ' -f2-)"
  read -r x1 y1 _ _ <<<"$(out | grep '^control ' | tail -1 | cut -d' ' -f2-)"
  [ "$((x1 - x0)) $((y1 - y0))" = "20 30" ] || problem "the window moved by $((x1 - x0)), $((y1 - y0))" || return 1
  shot moved
  matches moved
}

story "the bar's pixels are its headless picture" paints
story "a click on a toggle presses it and raises ButtonClick" toggle_click
story "hovering a button raises it and shows its tooltip" hover_and_tooltip
story "a combo drops its list; a pick raises ButtonClick" combo_pick
story "spin arrows raise ButtonSpinUp/Down and repeat while held" spin_arrows
story "the wheel over a spin spins it" spin_wheel
story "a value typed into a spin raises ButtonChange and ButtonValue" typed_value
story "a right click raises BarContextMenu; the handler's change shows" context_menu
story "a menu drops its entries; a pick clicks it; the window follows the bar" menu_entry

# The program quits on the file "quit", its bar's window gone at detach.
: >"$scratch/quit"
wait_until 10 eval '! kill -0 "$pid" 2>/dev/null' || { kill "$pid"; echo "$suite: the program did not quit" >&2; }
wait "$pid" || { echo "$suite: the program failed" >&2; failed+=(exit); }
out | grep -q '^detached$' || failed+=(detach)
((${#failed[@]} == 0)) || out | sed 's/^/  | /' >&2
finish
