#!/usr/bin/env bash
# tests/com/windows/run_window_stories.sh BUILD_DIR
# The DLL's palettes as real windows: registers BUILD_DIR/ZADEVE.dll in a throwaway Wine
# prefix that draws its own window frames, then, on a virtual display, starts the host
# BUILD_DIR/palette_window.exe and plays the user with xdotool between its commands (see
# palette_window.cpp). Each story passes when the host printed no FAILED line; a failed
# story's screenshot stays in BUILD_DIR/wine-shots/ (every story's with ZADEVE_KEEP_SHOTS=1),
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
  skip_without "$suite" wine xvfb-run xdotool import compare-im6.q16 convert-im6.q16
  for f in ZADEVE.dll palette_window.exe; do
    [ -f "$build/$f" ] || { echo "$suite: $build/$f is not built" >&2; exit 1; }
  done
  wine_prefix
  wine reg add 'HKCU\Control Panel\Desktop' /v DragFullWindows /t REG_SZ /d 1 /f >/dev/null 2>&1
  wine_register "$build/ZADEVE.dll" || { echo "$suite: regsvr32 failed" >&2; exit 1; }
  wine_for_display
  cp "$root"/examples/BARS.INI "$root"/examples/*.bmp "$scratch"/
  ZADEVE_STORY_SCRATCH=$scratch on_display 1024x768 "$0" "$build" --on-display
  exit
fi

# --- On the display.
scratch=$ZADEVE_STORY_SCRATCH
shots="$build/wine-shots"
rm -rf "$shots"
mkdir -p "$shots"

coproc HOST { wine "$build/palette_window.exe" "$(windows_path "$scratch/BARS.INI")" "$(windows_path "$scratch")\\" 2>"$scratch/host.err"; }

reply="" story_text="" matched=""
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
    story_text+="$line"$'\n'
    if [[ $line =~ $1 ]]; then matched=$line; return 0; fi
  done
  story_text+="FAILED no line like \"$1\" came"$'\n'
  return 1
}
ask() {
  echo "$*" >&"${HOST[1]}"
  receive
  story_text+="$reply"
}
point() { { grep "^AT $1 " <<<"$reply" || true; } | tail -1 | cut -d' ' -f3-; }

begin() { story_name=$1 story_text=""; }
end_story() {
  import -window root "$shots/$story_name.png"
  { echo "== $story_name"; printf '%s' "$story_text"; } >>"$shots/transcript.txt"
  if grep -q '^FAILED' <<<"$story_text"; then
    echo "$suite: $story_name FAILED (screenshot: $shots/$story_name.png)" >&2
    sed 's/^/  | /' <<<"$story_text" >&2
    failed+=("$story_name")
  else
    echo "$suite: $story_name passed"
    passed=$((passed + 1))
    [ "${ZADEVE_KEEP_SHOTS:-0}" = 1 ] || rm -f "$shots/$story_name".png "$shots/$story_name"-*.png
  fi
}

click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }

# locate TAG: the item's rectangle on the screen into $located ("X Y W H"), or a FAILED
# line: from the palette last rendered headless ($items, client pixels) and its client
# area on the screen ($client, as "points" gave it).
client="" items="" located=""
locate() {
  local cx cy ix iy iw ih
  read -r cx cy _ _ <<<"$client"
  read -r ix iy iw ih <<<"$({ grep "^AT item $1 " <<<"$items" || true; } | tail -1 | cut -d' ' -f4-)"
  located=${iw:+$((cx + ix)) $((cy + iy)) $iw $ih}
  [ -n "$located" ] || story_text+="FAILED no item $1 on the palette"$'\n'
  [ -n "$located" ]
}

# compare_with_headless NAME [PRESSED|states]: the palette's client area on the screen equals
# our headless rendering of NAME's palette (with the toggle PRESSED pressed on the host bar,
# or the host states of the state-copy story).
compare_with_headless() {
  away
  ask points
  client=$(point client)
  import -window root "$shots/$story_name-screen.png"
  ask headless "$1" "$(windows_path "$shots/$story_name-headless.png")" ${2:-}
  items=$reply
  local headless cx cy cw ch hw hh n
  headless=$(point headless)
  if [ -z "$client" ] || [ -z "$headless" ]; then
    story_text+="FAILED no client area or no headless rendering"$'\n'
    return
  fi
  read -r cx cy cw ch <<<"$client"
  read -r hw hh <<<"$headless"
  [ "$cw $ch" = "$hw $hh" ] || story_text+="FAILED the client area is ${cw}x$ch, the headless toolbar ${hw}x$hh"$'\n'
  crop "$shots/$story_name-screen.png" "$cw" "$ch" "$cx" "$cy" "$shots/$story_name-client.png"
  n=$(differing "$shots/$story_name-client.png" "$shots/$story_name-headless.png")
  if [ "$n" = 0 ]; then
    story_text+="ok the client area equals the headless rendering pixel for pixel"$'\n'
  else
    story_text+="FAILED $n pixels differ from the headless rendering"$'\n'
  fi
}

# at_palette_point NAME COMMAND [ARG...]: COMMAND X Y ARG... at the point of the palette
# last floated that the host names, where it is now.
at_palette_point() {
  ask points
  local x y
  read -r x y <<<"$(point "$1")"
  [ -n "${y:-}" ] || { story_text+="FAILED the host names no point \"$1\" on the palette"$'\n'; return; }
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

# With our toolbar control's window in the palette. First, the host's Format bar with Bold
# pressed, Italic disabled and Courier picked: the palette opens with the same states and
# looks as our headless rendering of them. Docked, the bar gets its plain states back. This
# host's bars are our own control class, so the copy takes its fast path (the host says
# which it saw); a foreign toolbar's is library_host.vbs's FloatedStates.
begin float_copies_the_host_bars_states
ask dragmode 1
ask floatstates Format
sleep 1
compare_with_headless Format states
press_close_box
ask docked Format
ask clearstates
end_story

begin screenshot_equals_headless_rendering
ask float Format
sleep 1
compare_with_headless Format
end_story

begin toggle_click_reaches_the_host_and_shows_pressed
if locate Bold; then
  read -r x y w h <<<"$located"
  click_at $((x + w / 2)) $((y + h / 2))
fi
ask ran Bold 1
compare_with_headless Format Bold
end_story

begin spin_arrow_reaches_the_host
if locate FontSize; then
  read -r x y w h <<<"$located"
  click_at $((x + w - 1 - 6)) $((y + 1 + (h - 2) / 4))  # the middle of the up arrow
fi
ask ran FontSize_SpinUp
ask library aSpinUp 9
end_story

begin combo_pick_reaches_the_host
ask lists
if locate FontName; then
  # The drop button, then the second entry of the list.
  read -r x y w h <<<"$located"
  xdotool mousemove $((x + w - 8)) $((y + h / 2)) click 1
  if wait_for '^AT entry 1 '; then
    read -r _ _ _ ex ey <<<"$matched"
    click_at "$ex" "$ey"
  fi
fi
ask ran FontName 1
end_story

begin right_click_menu_docks
ask points
read -r cx cy cw ch <<<"$(point client)"
# The first right click's menu is dismissed by a click beside it: the palette stays.
xdotool mousemove $((cx + cw - 4)) $((cy + ch / 2)) click 3
wait_for '^AT entry 1 ' && click_at 1010 750
ask points
[ -n "$(point client)" ] || story_text+="FAILED a dismissed menu closed the palette"$'\n'
xdotool mousemove $((cx + cw - 4)) $((cy + ch / 2)) click 3
if wait_for '^AT entry 1 '; then
  import -window root "$shots/$story_name-menu.png"
  read -r _ _ _ ex ey <<<"$matched"
  click_at "$ex" "$ey"
fi
ask docked Format
end_story

begin float_opens_a_window
ask dragmode 1
ask float File
sleep 1
end_story

begin drag_full_window_snaps_during_the_drag
drag_palette_edge
ask sized full
end_story

begin close_box_docks
press_close_box
ask docked File
end_story

begin drag_outline_snaps_when_it_ends
ask dragmode 0
ask float Format
drag_palette_edge
ask sized outline
press_close_box
ask docked Format
end_story

begin unload_bars_closes_palettes_without_docking
ask unloadbars File Draw
end_story

ask quit >/dev/null || true
wait "${HOST_PID:-}" 2>/dev/null || true
finish
