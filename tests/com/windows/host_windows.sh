#!/usr/bin/env bash
# tests/com/windows/host_windows.sh BUILD_DIR
# Host forms on real windows, on a virtual display, against the native tool's pictures:
# - the Win32 example (BUILD_DIR/diagram_win32.exe, examples/win32) shows the diagram
#   editor's bars on its own window exactly as `zadeve render` draws them, follows a drag
#   of the window's corner, and ends with exit status 0 when its window is closed;
# - the reference host's own form window (BUILD_DIR/host_form.exe, host_form.cpp): its
#   client area equals `zadeve render` pixel for pixel, also after a drag of its corner and
#   a click on Bold (pressed on the screen as `--set Bold=on` draws it), then the program's
#   own checks (window class, the command run, palette owner, minimising, the close box).
# The native tool is ZADEVE_TOOL, default build/release/zadeve. Screenshots of a failed
# run stay in BUILD_DIR/host_windows_shots (of every run with ZADEVE_KEEP_SHOTS=1).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${2:-}" != --on-display ]; then
  build=$(cd "${1:?usage: host_windows.sh BUILD_DIR}" && pwd)
  skip_without "host windows" wine xvfb-run xdotool import compare convert-im6.q16
  tool=${ZADEVE_TOOL:-$root/build/release/zadeve}
  [ -x "$tool" ] || { echo "host windows: the native tool $tool is not built" >&2; exit 1; }
  for f in diagram_win32.exe host_form.exe; do
    [ -f "$build/$f" ] || { echo "host windows: $build/$f is not built" >&2; exit 1; }
  done
  wine_prefix
  wine_for_display
  cp -r "$root/examples/diagram" "$scratch/diagram"
  shots="$build/host_windows_shots"
  fresh_shots "$shots"
  status=0
  ZADEVE_TOOL=$tool ZADEVE_SCRATCH=$scratch ZADEVE_SHOTS=$shots on_display 1024x768 "$0" "$build" --on-display ||
    status=$?
  settle_shots "host windows" "$shots" "$status"
  exit "$status"
fi

# --- On the display --------------------------------------------------------------------
build=$1 tool=$ZADEVE_TOOL scratch=$ZADEVE_SCRATCH shots=$ZADEVE_SHOTS
ini=$scratch/diagram/BARS.INI
folder="$(windows_path "$scratch/diagram")\\"
failed=()
problem() { echo "  $*" >&2; }

out() { tr -d '\r' 2>/dev/null <"$1" || true; }
# wait_for FILE REGEX [SECONDS]: until a line of the program's output matches.
wait_for() {
  local tries=$(( ${3:-10} * 10 ))
  while ((tries-- > 0)); do
    out "$1" | grep -qE "$2" && return 0
    sleep 0.1
  done
  return 1
}
away() { xdotool mousemove 1010 750; sleep 0.7; }
# differing A B: how many pixels of two pictures differ.
differing() {
  local n
  n=$(compare-im6.q16 -metric AE "$1" "$2" null: 2>&1 || true)
  echo "${n%% *}"
}
# crop PICTURE W H X Y OUT
crop() { convert-im6.q16 "$1" -crop "${2}x${3}+${4}+${5}" +repage -alpha off "$6"; }

# bars_match NAME X Y W H: every visible docked bar of the view on a W x H client area at
# X,Y of the screen equals the same bar in the native tool's picture of that size.
bars_match() {
  local name=$1 x=$2 y=$3 w=$4 h=$5 bad=0 bars=0
  import -window root "$shots/$name.png"
  "$tool" render "$ini" --view DiagramView --size "${w}x$h" -o "$shots/$name-render.png" >/dev/null
  local line bar left top width height
  while IFS= read -r line; do
    [[ $line =~ \"name\":\ \"([^\"]*)\".*\"visible\":\ true,\ \"floating\":\ false.*\"pixels\":\ \{\"left\":\ ([0-9]+),\ \"top\":\ ([0-9]+),\ \"width\":\ ([0-9]+),\ \"height\":\ ([0-9]+)\} ]] || continue
    bar=${BASH_REMATCH[1]} left=${BASH_REMATCH[2]} top=${BASH_REMATCH[3]}
    width=${BASH_REMATCH[4]} height=${BASH_REMATCH[5]}
    bars=$((bars + 1))
    crop "$shots/$name.png" "$width" "$height" $((x + left)) $((y + top)) "$scratch/screen-bar.png"
    crop "$shots/$name-render.png" "$width" "$height" "$left" "$top" "$scratch/render-bar.png"
    local n
    n=$(differing "$scratch/screen-bar.png" "$scratch/render-bar.png")
    [ "$n" = 0 ] || { problem "$name: bar $bar (${width}x$height at $left,$top): $n pixels differ"; bad=1; }
  done < <("$tool" layout "$ini" --view DiagramView --size "${w}x$h" --json)
  [ "$bars" -gt 0 ] || { problem "$name: the layout named no bar"; bad=1; }
  return "$bad"
}

story() {  # NAME COMMAND...
  local name=$1; shift
  if "$@"; then echo "host windows: $name passed"; else echo "host windows: $name FAILED" >&2; failed+=("$name"); fi
}

# --- The Win32 example
log=$scratch/example.txt
wine "$build/diagram_win32.exe" "$folder" >"$log" 2>"$scratch/example.err" &
example=$!
if ! wait_for "$log" '^shown ' 30; then
  echo "host windows: the example did not come up" >&2
  cat "$log" "$scratch/example.err" >&2
  exit 1
fi
read -r _ _ cx cy cw ch <<<"$(out "$log" | grep '^shown ')"

example_shows_its_bars() {
  away
  [ "$cw $ch" = "800 600" ] || { problem "the client area is ${cw}x$ch, not 800x600"; return 1; }
  bars_match example "$cx" "$cy" "$cw" "$ch"
}

# drag_corner: the window's bottom-right corner, in its frame, pulled up and left in steps;
# the program's last "size W H" line into $w $h.
w="" h=""
drag_corner() {
  local x=$((cx + cw + 2)) y=$((cy + ch + 2))
  xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.3
  xdotool mousemove $((x - 60)) $((y - 40))
  sleep 0.3
  xdotool mousemove $((x - 160)) $((y - 120))
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
  read -r _ w h <<<"$(out "$log" | grep '^size ' | tail -1)"
  # Where the drag ends depends on the frame; that the bars follow does not.
  [ -n "${h:-}" ] && [ "$w" -lt 700 ] && [ "$h" -lt 520 ] || { problem "no resize came: $(out "$log" | tail -1)"; return 1; }
  away
}

example_bars_follow_a_resize() {
  drag_corner && bars_match example-resized "$cx" "$cy" "$w" "$h"
}

example_ends_when_closed() {
  xdotool mousemove $((cx + 100)) $((cy + 300)) click 1 key alt+F4
  local status=0 tries=50
  while ((tries-- > 0)) && kill -0 "$example" 2>/dev/null; do sleep 0.1; done
  kill -0 "$example" 2>/dev/null && { problem "the example still runs"; kill "$example"; return 1; }
  wait "$example" || status=$?
  [ "$status" = 0 ] || { problem "the example exited with $status"; return 1; }
  [ ! -s "$scratch/example.err" ] || { problem "the example reported: $(cat "$scratch/example.err")"; return 1; }
}

sleep 1
story example_shows_its_bars example_shows_its_bars
story example_bars_follow_a_resize example_bars_follow_a_resize
story example_ends_when_closed example_ends_when_closed

# --- The reference host's own form window
log=$scratch/form.txt
wine "$build/host_form.exe" "$folder" "$(windows_path "$scratch")" >"$log" 2>&1 &
form=$!
if wait_for "$log" '^shown ' 30; then
  read -r _ _ cx cy cw ch <<<"$(out "$log" | grep '^shown ')"
  form_equals_render() {  # NAME W H [RENDER OPTION...]
    import -window root "$shots/$1.png"
    "$tool" render "$ini" --view DiagramView --size "${2}x$3" "${@:4}" -o "$shots/$1-render.png" >/dev/null
    crop "$shots/$1.png" "$2" "$3" "$cx" "$cy" "$shots/$1-client.png"
    convert-im6.q16 "$shots/$1-render.png" -alpha off "$scratch/form-render.png"
    local n
    n=$(differing "$shots/$1-client.png" "$scratch/form-render.png")
    [ "$n" = 0 ] || { problem "$n pixels of the form's client area differ from zadeve render"; return 1; }
  }
  away
  story form_window_equals_render form_equals_render form "$cw" "$ch"
  form_follows_a_resize() { drag_corner && form_equals_render form-resized "$w" "$h"; }
  story form_window_follows_a_resize form_follows_a_resize
  # Bold is where the tool's pictures with and without it pressed differ.
  click_runs_the_command() {
    "$tool" render "$ini" --view DiagramView --size "${w}x$h" -o "$scratch/plain.png" >/dev/null
    "$tool" render "$ini" --view DiagramView --size "${w}x$h" --set Bold=on -o "$scratch/bold.png" >/dev/null
    local bw bh bx by
    read -r bw bh bx by <<<"$(convert-im6.q16 "$scratch/plain.png" "$scratch/bold.png" -alpha off \
      -compose difference -composite -trim -format '%w %h %X %Y' info:)"
    xdotool mousemove $((cx + ${bx#+} + bw / 2)) $((cy + ${by#+} + bh / 2)) click 1
    away
    form_equals_render form-bold "$w" "$h" --set Bold=on
  }
  story form_window_click_runs_the_command click_runs_the_command
  touch "$scratch/go"
  status=0
  wait "$form" || status=$?
  out "$log" | grep -E '^(ok|FAILED) ' | sed 's/^/  /'
  form_checks() { [ "$status" = 0 ] && ! out "$log" | grep -q '^FAILED'; }
  story form_window_checks form_checks
else
  echo "host windows: the form program did not come up" >&2
  out "$log" >&2
  failed+=(form_window)
fi

if ((${#failed[@]})); then
  echo "host windows: ${#failed[@]} failed: ${failed[*]}" >&2
  exit 1
fi
echo "host windows: all passed"
