#!/usr/bin/env bash
# tests/com/windows/control_shell.sh BUILD_DIR
# Our toolbar control as a real child window, driven with the mouse on a virtual display:
# BUILD_DIR/control_shell.exe (control_shell.cpp) shows the bar; this script takes
# screenshots and compares the bar's pixels with the bar's own headless picture, and
# clicks, holds, wheels and hovers with xdotool, checking the events the program reports.
# Screenshots of a failed run stay in BUILD_DIR/control_shell_shots (of every run with
# ZADEVE_KEEP_SHOTS=1).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${1:-}" != --stories ]; then
  build=$(cd "${1:?usage: control_shell.sh BUILD_DIR}" && pwd)
  skip_without "control shell" wine xvfb-run xdotool import compare convert-im6.q16
  [ -f "$build/control_shell.exe" ] || { echo "control shell: $build/control_shell.exe is not built" >&2; exit 1; }
  wine_prefix
  wine_for_display
  shots="$build/control_shell_shots"
  fresh_shots "$shots"
  status=0
  on_display 1024x768 bash "$0" --stories "$build/control_shell.exe" "$scratch" "$shots" || status=$?
  settle_shots "control shell" "$shots" "$status"
  exit "$status"
fi

# --- On the display --------------------------------------------------------------------
exe=$2 scratch=$3 shots=$4
log=$scratch/out.txt
failed=()

out() { tr -d '\r' 2>/dev/null <"$log" || true; }
# wait_for REGEX [SECONDS]: until a line of the program's output matches.
wait_for() {
  local pattern=$1 tries=$(( ${2:-5} * 10 ))
  while ((tries-- > 0)); do
    out | grep -qE "$pattern" && return 0
    sleep 0.1
  done
  return 1
}
count() { out | grep -cE "$1" || true; }
item() { out | grep -E "^item [0-9]+ $1 " | head -1 | cut -d' ' -f4-; }  # X Y W H
centre() { local x y w h; read -r x y w h <<<"$(item "$1")"; echo "$((x + w / 2)) $((y + h / 2))"; }
events() { count '^expected '; }
# drop_down ITEM: clicks the item and waits until a new drop-down has come up.
drop_down() {
  local menus
  menus=$(count '^menu [0-9]+ [0-9]+ [1-9]')
  xdotool mousemove $(centre "$1") click 1
  local tries=50
  while ((tries-- > 0)) && [ "$(count '^menu [0-9]+ [0-9]+ [1-9]')" -le "$menus" ]; do sleep 0.1; done
  sleep 0.3
  [ "$(count '^menu [0-9]+ [0-9]+ [1-9]')" -gt "$menus" ]
}
# entry_centre I: the middle of entry I of the drop-down open last.
entry_centre() {
  local i x y w h
  read -r i x y w h <<<"$(out | grep "^entry $1 " | tail -1 | cut -d' ' -f2-)"
  echo "$((x + w / 2)) $((y + h / 2))"
}
away() { xdotool mousemove 5 5; sleep 0.6; }

# shot NAME: the screen, and the bar cut out of it.
shot() {
  import -window root "$shots/$1.png"
  local x y w h
  read -r x y w h <<<"$(out | grep '^control ' | tail -1 | cut -d' ' -f2-)"
  convert-im6.q16 "$shots/$1.png" -crop "${w}x${h}+${x}+${y}" +repage -alpha off "$shots/$1-bar.png"
}
# differing A B: how many pixels of two pictures differ.
differing() {
  local n
  convert-im6.q16 "$1" -alpha off "$scratch/a.png"
  convert-im6.q16 "$2" -alpha off "$scratch/b.png"
  n=$(compare -metric AE "$scratch/a.png" "$scratch/b.png" null: 2>&1 || true)
  echo "${n%% *}"
}
# matches NAME: the bar on screen equals the latest headless picture.
matches() {
  local expected="$scratch/expected-$(( $(events) - 1 )).png" n
  cp "$expected" "$shots/$1-expected.png"
  n=$(differing "$shots/$1-bar.png" "$expected")
  [ "$n" = 0 ] || { echo "  $1: $n pixels differ from the headless picture" >&2; return 1; }
}
story() {  # NAME COMMAND...
  local name=$1; shift
  if "$@"; then echo "control shell: $name passed"; else echo "control shell: $name FAILED" >&2; failed+=("$name"); fi
}

wine "$exe" "$(windows_path "$scratch")" >"$log" 2>&1 &
pid=$!
if ! wait_for '^ready$' 30; then
  echo "control shell: the program did not come up" >&2
  out >&2
  exit 1
fi
sleep 1

paints() {
  away
  shot first
  matches first
}

toggle_click() {
  local before
  before=$(events)
  xdotool mousemove $(centre FormatBold) click 1
  wait_for '^event ButtonClick FormatBold on$' || { echo "  no ButtonClick with BF_ON" >&2; return 1; }
  wait_for "^expected $before "
  away
  shot toggled
  matches toggled
  local n
  n=$(differing "$shots/first-bar.png" "$shots/toggled-bar.png")
  [ "$n" -gt 0 ] || { echo "  the toggle looks the same pressed" >&2; return 1; }
}

hover_and_tooltip() {
  xdotool mousemove $(centre FileOpen)
  wait_for '^tooltip Open$' 5 || { echo "  no tooltip with the button's text" >&2; return 1; }
  shot hover
  local n
  n=$(differing "$shots/hover-bar.png" "$shots/toggled-bar.png")
  [ "$n" -gt 0 ] || { echo "  the button under the mouse looks as any other" >&2; return 1; }
  away
}

combo_pick() {
  local before
  before=$(events)
  drop_down FontName || { echo "  no drop-down list came up" >&2; return 1; }
  shot dropped
  xdotool mousemove $(entry_centre 2) click 1
  wait_for '^event ButtonClick FontName .*list=2' || { echo "  picking Times raised no ButtonClick" >&2; return 1; }
  wait_for "^expected $before "
  away
  shot picked
  matches picked
}

# spin_point PART: the middle of the spin's up or down arrow.
spin_point() {
  local x y w h
  read -r x y w h <<<"$(item FontSize)"
  local ax=$((x + w - 1 - 6)) quarter=$(((h - 2) / 4))
  if [ "$1" = up ]; then echo "$ax $((y + 1 + quarter))"; else echo "$ax $((y + h - 1 - quarter))"; fi
}

spin_arrows() {
  xdotool mousemove $(spin_point up) click 1
  wait_for '^event ButtonSpinUp FontSize 12 ' || { echo "  the up arrow raised no ButtonSpinUp 12" >&2; return 1; }
  xdotool mousemove $(spin_point down) click 1
  wait_for '^event ButtonSpinDown FontSize 10 ' || { echo "  the down arrow raised no ButtonSpinDown 10" >&2; return 1; }
  # Held down, the arrow repeats.
  local ups
  ups=$(count '^event ButtonSpinUp ')
  xdotool mousemove $(spin_point up) mousedown 1
  sleep 1.2
  shot spin-held
  xdotool mouseup 1
  sleep 0.3
  local repeated=$(( $(count '^event ButtonSpinUp ') - ups ))
  [ "$repeated" -ge 4 ] || { echo "  holding the arrow 1.2 s raised $repeated ButtonSpinUp" >&2; return 1; }
  away
  shot spun
  matches spun
}

spin_wheel() {
  local ups downs
  ups=$(count '^event ButtonSpinUp ') downs=$(count '^event ButtonSpinDown ')
  xdotool mousemove $(centre FontSize) click 4
  wait_for "^event ButtonSpinUp " 2
  [ "$(count '^event ButtonSpinUp ')" -gt "$ups" ] || { echo "  the wheel turned up raised no ButtonSpinUp" >&2; return 1; }
  xdotool click 5
  sleep 0.5
  [ "$(count '^event ButtonSpinDown ')" -gt "$downs" ] || { echo "  the wheel turned down raised no ButtonSpinDown" >&2; return 1; }
}

typed_value() {
  local x y w h
  read -r x y w h <<<"$(item FontSize)"
  xdotool mousemove $((x + 12)) $((y + h / 2)) click 1
  sleep 0.5
  xdotool type 30
  shot typing
  xdotool key Return
  wait_for '^event ButtonChange FontSize 30 ' || { echo "  typing 30 and Enter raised no ButtonChange 30" >&2; return 1; }
  wait_for '^event ButtonValue FontSize 30 ' || { echo "  no ButtonValue 30 after the change" >&2; return 1; }
  sleep 0.3
  away
  shot typed
  matches typed
}

context_menu() {
  local before
  before=$(events)
  local x y w h
  read -r x y w h <<<"$(item ViewMenu)"
  # The gap before the menu belongs to the bar, not to a button.
  xdotool mousemove $((x - 4)) $((y + h / 2)) click 3
  wait_for '^event BarContextMenu ' || { echo "  a right click raised no BarContextMenu" >&2; return 1; }
  wait_for "^expected $before "
  away
  # The handler disabled the first button: the window shows it without being asked.
  shot context
  matches context
  # Then it raised an error: with no caller to go to, it is reported (on standard error
  # here, unattended), and the bar goes on working.
  wait_for '^ControlShell: The menu handler failed$' || { echo "  the handler's error was not reported" >&2; return 1; }
}

menu_entry() {
  local before
  before=$(events)
  drop_down ViewMenu || { echo "  the menu did not drop down" >&2; return 1; }
  xdotool mousemove $(entry_centre 1) click 1
  wait_for '^event ButtonClick ViewGrid ' || { echo "  picking Grid raised no ButtonClick" >&2; return 1; }
  wait_for "^expected $before "
  away
  # The handler moved the bar by 20, 30 pixels: its window went along.
  local x0 y0 x1 y1
  read -r x0 y0 _ _ <<<"$(out | grep '^control ' | head -1 | cut -d' ' -f2-)"
  read -r x1 y1 _ _ <<<"$(out | grep '^control ' | tail -1 | cut -d' ' -f2-)"
  [ "$((x1 - x0)) $((y1 - y0))" = "20 30" ] || { echo "  the window moved by $((x1 - x0)), $((y1 - y0))" >&2; return 1; }
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

: >"$scratch/quit"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null && echo "control shell: the program did not quit" >&2
wait "$pid" || { echo "control shell: the program failed" >&2; failed+=(exit); }
out | grep -q '^detached$' || failed+=(detach)
if ((${#failed[@]})); then
  echo "control shell: ${#failed[@]} failed" >&2
  out | sed 's/^/  | /' >&2
  exit 1
fi
echo "control shell: all passed"
