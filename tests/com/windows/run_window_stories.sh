#!/usr/bin/env bash
# tests/com/windows/run_window_stories.sh BUILD_DIR
# The DLL's palettes as real windows: registers BUILD_DIR/ZADEVE.dll in a throwaway Wine
# prefix that draws its own window frames, then, on a virtual display, starts the host
# BUILD_DIR/palette_window.exe and plays the user with xdotool between its commands (see
# palette_window.cpp). A story passes when the host printed no FAILED line in it. Screenshots
# of a failed run stay in BUILD_DIR/wine-shots/ (of every run with ZADEVE_KEEP_SHOTS=1),
# beside transcript.txt, everything the host printed.
set -euo pipefail
[ -n "${ZADEVE_TRACE:-}" ] && set -x
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=$(cd "${1:?usage: run_window_stories.sh BUILD_DIR}" && pwd)
suite="window stories"
# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${2:-}" != --on-display ]; then
  skip_without "$suite" wine xvfb-run xdotool
  for f in ZADEVE.dll palette_window.exe; do
    [ -f "$build/$f" ] || { echo "$suite: $build/$f is not built" >&2; exit 1; }
  done
  wine_prefix
  wine reg add 'HKCU\Control Panel\Desktop' /v DragFullWindows /t REG_SZ /d 1 /f >/dev/null 2>&1
  wine_register "$build/ZADEVE.dll" || { echo "$suite: regsvr32 failed" >&2; exit 1; }
  wine_for_display
  cp "$root"/examples/BARS.INI "$root"/examples/*.bmp "$scratch"/
  ZADEVE_STORY_SCRATCH=$scratch display_suite "$build/wine-shots" "$0" "$build" --on-display
  exit
fi

# --- On the display.
scratch=$ZADEVE_STORY_SCRATCH shots="$build/wine-shots"
coproc HOST { wine "$build/palette_window.exe" "$(windows_path "$scratch/BARS.INI")" "$(windows_path "$scratch")\\" 2>"$scratch/host.err"; }

reply="" said="" matched=""
# receive: the host's lines up to "DONE" into $reply.
receive() {
  local line
  reply=""
  while IFS= read -r -t 60 line <&"${HOST[0]}"; do
    line=${line%$'\r'}
    [ "$line" = DONE ] && return 0
    reply+="$line"$'\n'
  done
  reply+="FAILED the host did not answer"$'\n'
}
# wait_for REGEX: the host's lines, into the story, until one matches (left in $matched).
wait_for() {
  local line
  matched=""
  while IFS= read -r -t 10 line <&"${HOST[0]}"; do
    line=${line%$'\r'}
    said+="$line"$'\n'
    if [[ $line =~ $1 ]]; then matched=$line; return 0; fi
  done
  said+="FAILED no line like \"$1\" came"$'\n'
  return 1
}
ask() {
  echo "$*" >&"${HOST[1]}"
  receive
  said+="$reply"
}
point() { { grep "^AT $1 " <<<"$reply" || true; } | tail -1 | cut -d' ' -f3-; }
# told STORY_FUNCTION: runs it; it passes when the host said nothing FAILED meanwhile.
told() {
  said=""
  "$1"
  { echo "== $1"; printf '%s' "$said"; } >>"$shots/transcript.txt"
  ! grep -q '^FAILED' <<<"$said" || { sed 's/^/  | /' <<<"$said" >&2; return 1; }
}
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }

# at_palette_point NAME COMMAND [ARG...]: COMMAND X Y ARG... at the point of the palette
# last floated that the host names, where it is now.
at_palette_point() {
  ask points
  local x y
  read -r x y <<<"$(point "$1")"
  [ -n "${y:-}" ] || { said+="FAILED the host names no point \"$1\" on the palette"$'\n'; return; }
  "$2" "$x" "$y" "${@:3}"
}
drag_palette_edge() { at_palette_point edge drag 33 0 3; }  # 99 pixels right in three moves
press_close_box() { at_palette_point close click_at; }

receive
if grep -q '^FAILED' <<<"$reply"; then
  echo "$suite: the host did not start" >&2
  sed 's/^/  | /' <<<"$reply" "$scratch/host.err" >&2
  exit 1
fi

# The palette's right-click menu docks it, once a first menu was dismissed without harm.
# (Its pixels are the control's, held against its headless picture by control_shell.sh, as
# are clicks, spins and picks; the copy of the host bar's states and the routing to the
# host are the native palette tests'.)
menu_docks() {
  local cx cy cw ch ex ey
  ask dragmode 1
  ask float Format
  sleep 1
  ask points
  read -r cx cy cw ch <<<"$(point client)"
  xdotool mousemove $((cx + cw - 4)) $((cy + ch / 2)) click 3
  wait_for '^AT entry 1 ' && click_at 1010 750
  ask points
  [ -n "$(point client)" ] || said+="FAILED a dismissed menu closed the palette"$'\n'
  xdotool mousemove $((cx + cw - 4)) $((cy + ch / 2)) click 3
  if wait_for '^AT entry 1 '; then
    read -r _ _ _ ex ey <<<"$matched"
    click_at "$ex" "$ey"
  fi
  ask docked Format
}

# A drag of the right edge, the window's contents shown (full) or an outline: the palette
# snaps to its toolbar, and docked by its close box it remembers where it ended.
drag_snaps_and_docks() {  # full|outline BAR
  ask dragmode $([ "$1" = full ] && echo 1 || echo 0)
  ask float "$2"
  sleep 1
  drag_palette_edge
  ask sized "$1"
  press_close_box
  ask docked "$2"
}
drag_full() { drag_snaps_and_docks full File; }
drag_outline() { drag_snaps_and_docks outline Format; }

story "the palette's menu docks it; a dismissed menu does not" told menu_docks
story "a full-window drag snaps during the drag; the close box docks it" told drag_full
story "an outline drag snaps when it ends" told drag_outline

ask quit >/dev/null || true
wait "${HOST_PID:-}" 2>/dev/null || true
finish
