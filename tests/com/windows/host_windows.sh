#!/usr/bin/env bash
# tests/com/windows/host_windows.sh BUILD_DIR
# The Win32 example (BUILD_DIR/diagram_win32.exe, examples/win32, built on the public
# win32_host.h) on a virtual display: it shows the diagram editor's bars on its own window
# exactly as the native tool's `zadeve render` draws them, follows a drag of the window's
# corner, and ends with exit status 0 when its window is closed. (The reference host's form
# window is the one `zadeve show` shows: show_stories.sh.) The native tool is ZADEVE_TOOL,
# default build/release/zadeve. Screenshots of a failed run stay in BUILD_DIR/host_windows_shots.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
suite="host windows"
# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${2:-}" != --on-display ]; then
  build=$(cd "${1:?usage: host_windows.sh BUILD_DIR}" && pwd)
  skip_without "$suite" wine xvfb-run xdotool import compare-im6.q16 convert-im6.q16
  tool=${ZADEVE_TOOL:-$root/build/release/zadeve}
  [ -x "$tool" ] || { echo "$suite: the native tool $tool is not built" >&2; exit 1; }
  [ -f "$build/diagram_win32.exe" ] || { echo "$suite: $build/diagram_win32.exe is not built" >&2; exit 1; }
  wine_prefix
  wine_for_display
  cp -r "$root/examples/diagram" "$scratch/diagram"
  shots="$build/host_windows_shots"
  ZADEVE_TOOL=$tool ZADEVE_SCRATCH=$scratch ZADEVE_SHOTS=$shots display_suite "$shots" "$0" "$build" --on-display
  exit
fi

# --- On the display --------------------------------------------------------------------
build=$1 tool=$ZADEVE_TOOL scratch=$ZADEVE_SCRATCH shots=$ZADEVE_SHOTS
ini=$scratch/diagram/BARS.INI
log=$scratch/example.txt
problem() { echo "  $*" >&2; }
out() { tr -d '\r' 2>/dev/null <"$log" || true; }
shown() { out | grep -q '^shown '; }

# bars_match NAME X Y W H: every visible docked bar of the view on a W x H client area at
# X,Y of the screen equals the same bar in the native tool's picture of that size.
bars_match() {
  local name=$1 x=$2 y=$3 w=$4 h=$5 bad=0 bars=0 line bar left top width height
  import -window root "$shots/$name.png"
  "$tool" render "$ini" --view DiagramView --size "${w}x$h" -o "$shots/$name-render.png" >/dev/null
  while IFS= read -r line; do
    [[ $line =~ \"name\":\ \"([^\"]*)\".*\"visible\":\ true,\ \"floating\":\ false.*\"pixels\":\ \{\"left\":\ ([0-9]+),\ \"top\":\ ([0-9]+),\ \"width\":\ ([0-9]+),\ \"height\":\ ([0-9]+)\} ]] || continue
    bar=${BASH_REMATCH[1]} left=${BASH_REMATCH[2]} top=${BASH_REMATCH[3]}
    width=${BASH_REMATCH[4]} height=${BASH_REMATCH[5]}
    bars=$((bars + 1))
    crop "$shots/$name.png" "$width" "$height" $((x + left)) $((y + top)) "$scratch/screen-bar.png"
    crop "$shots/$name-render.png" "$width" "$height" "$left" "$top" "$scratch/render-bar.png"
    same "$scratch/screen-bar.png" "$scratch/render-bar.png" 2>/dev/null ||
      { problem "$name: bar $bar (${width}x$height at $left,$top) differs"; bad=1; }
  done < <("$tool" layout "$ini" --view DiagramView --size "${w}x$h" --json)
  [ "$bars" -gt 0 ] || { problem "$name: the layout named no bar"; bad=1; }
  return "$bad"
}

wine "$build/diagram_win32.exe" "$(windows_path "$scratch/diagram")\\" >"$log" 2>"$scratch/example.err" &
example=$!
if ! wait_until 30 shown; then
  echo "$suite: the example did not come up" >&2
  cat "$log" "$scratch/example.err" >&2
  exit 1
fi
read -r _ _ cx cy cw ch <<<"$(out | grep '^shown ')"

example_shows_its_bars() {
  away
  [ "$cw $ch" = "800 600" ] || { problem "the client area is ${cw}x$ch, not 800x600"; return 1; }
  bars_match example "$cx" "$cy" "$cw" "$ch"
}

# The window's bottom-right corner, in its frame, pulled up and left in steps; the
# program's last "size W H" line tells the new client area.
example_bars_follow_a_resize() {
  local x=$((cx + cw + 2)) y=$((cy + ch + 2)) w h
  drag "$x" "$y" -80 -60 2
  read -r _ w h <<<"$(out | grep '^size ' | tail -1)"
  # Where the drag ends depends on the frame; that the bars follow does not.
  [ -n "${h:-}" ] && [ "$w" -lt 700 ] && [ "$h" -lt 520 ] || { problem "no resize came: $(out | tail -1)"; return 1; }
  away
  bars_match example-resized "$cx" "$cy" "$w" "$h"
}

example_ends_when_closed() {
  local status=0
  xdotool mousemove $((cx + 100)) $((cy + 300)) click 1 key alt+F4
  wait_until 5 eval '! kill -0 "$example" 2>/dev/null' || { problem "the example still runs"; kill "$example"; return 1; }
  wait "$example" || status=$?
  [ "$status" = 0 ] || { problem "the example exited with $status"; return 1; }
  [ ! -s "$scratch/example.err" ] || { problem "the example reported: $(cat "$scratch/example.err")"; return 1; }
}

sleep 1
story example_shows_its_bars example_shows_its_bars
story example_bars_follow_a_resize example_bars_follow_a_resize
story example_ends_when_closed example_ends_when_closed
finish
