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

# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${2:-}" != --on-display ]; then
  skip_without "window stories" wine xvfb-run xdotool import compare convert-im6.q16
  for f in ZADEVE.dll palette_window.exe; do
    [ -f "$build/$f" ] || { echo "window stories: $build/$f is not built" >&2; exit 1; }
  done
  wine_prefix
  wine reg add 'HKCU\Control Panel\Desktop' /v DragFullWindows /t REG_SZ /d 1 /f >/dev/null 2>&1
  wine_register "$build/ZADEVE.dll" || { echo "window stories: regsvr32 failed" >&2; exit 1; }
  wine_for_display
  cp "$root"/examples/BARS.INI "$root"/examples/*.bmp "$scratch"/
  export ZADEVE_STORY_SCRATCH=$scratch
  status=0
  on_display 1024x768 "$0" "$build" --on-display || status=$?
  exit "$status"
fi

# --- On the display.
scratch=$ZADEVE_STORY_SCRATCH
shots="$build/wine-shots"
rm -rf "$shots"
mkdir -p "$shots"

coproc HOST { wine "$build/palette_window.exe" "$(windows_path "$scratch/BARS.INI")" "$(windows_path "$scratch")\\" 2>"$scratch/host.err"; }

reply=""
# receive: the host's lines up to "DONE" into $reply.
receive() {
  reply=""
  local line
  while IFS= read -r -t 60 line <&"${HOST[0]}"; do
    line=${line%$'\r'}
    [ "$line" = DONE ] && return 0
    reply+="$line"$'\n'
  done
  reply+="FAILED the host did not answer"$'\n'
}
story_text=""
ask() {
  echo "$*" >&"${HOST[1]}"
  receive
  story_text+="$reply"
}
point() { { grep "^AT $1 " <<<"$reply" || true; } | tail -1 | cut -d' ' -f3-; }

failed=()
passed=0
story() { story_name=$1; story_text=""; }
end_story() {
  import -window root "$shots/$story_name.png"
  { echo "== $story_name"; printf '%s' "$story_text"; } >>"$shots/transcript.txt"
  if grep -q '^FAILED' <<<"$story_text"; then
    echo "window stories: $story_name FAILED (screenshot: $shots/$story_name.png)" >&2
    sed 's/^/  | /' <<<"$story_text" >&2
    failed+=("$story_name")
  else
    echo "window stories: $story_name passed"
    passed=$((passed + 1))
    [ "${ZADEVE_KEEP_SHOTS:-0}" = 1 ] || rm -f "$shots/$story_name".png "$shots/$story_name"-*.png
  fi
}

# drag_right X Y STEP...: presses on the right edge and moves right by each step in turn.
drag_right() {
  local x=$1 y=$2; shift 2
  xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.3
  for step in "$@"; do
    x=$((x + step))
    xdotool mousemove "$x" "$y"
    sleep 0.3
  done
  xdotool mouseup 1
  sleep 0.5
}
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
# Off every window, so no button shows the hover look in the next screenshot.
mouse_away() { xdotool mousemove 1010 750; sleep 0.7; }

# wait_for REGEX: the host's lines, into the story, until one matches (left in $matched).
matched=""
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

# The items of the palette last rendered headless ($items, client pixels) on the screen
# ($client: the palette's client area as "points" gave it).
client=""
items=""
item_rect() {  # TAG -> X Y W H on the screen
  local cx cy ix iy iw ih
  read -r cx cy _ _ <<<"$client"
  read -r ix iy iw ih <<<"$({ grep "^AT item $1 " <<<"$items" || true; } | tail -1 | cut -d' ' -f4-)"
  [ -n "${iw:-}" ] && echo "$((cx + ix)) $((cy + iy)) $iw $ih"
  return 0
}
# locate TAG: the item's rectangle on the screen into $located, or a FAILED line.
located=""
locate() {
  located=$(item_rect "$1" || true)
  [ -n "$located" ] || story_text+="FAILED no item $1 on the palette"$'\n'
  [ -n "$located" ]
}

# compare_with_headless NAME [PRESSED|states]: the palette's client area on the screen equals
# our headless rendering of NAME's palette (with the toggle PRESSED pressed on the host bar,
# or the host states of the state-copy story).
compare_with_headless() {
  mouse_away
  ask points
  client=$(point client)
  import -window root "$shots/$story_name-screen.png"
  ask headless "$1" "$(windows_path "$shots/$story_name-headless.png")" ${2:-}
  items=$reply
  local headless cx cy cw ch hw hh differing
  headless=$(point headless)
  if [ -z "$client" ] || [ -z "$headless" ]; then
    story_text+="FAILED no client area or no headless rendering"$'\n'
    return
  fi
  read -r cx cy cw ch <<<"$client"
  read -r hw hh <<<"$headless"
  [ "$cw $ch" = "$hw $hh" ] || story_text+="FAILED the client area is ${cw}x$ch, the headless toolbar ${hw}x$hh"$'\n'
  convert-im6.q16 "$shots/$story_name-screen.png" -crop "${cw}x$ch+$cx+$cy" +repage "$shots/$story_name-client.png"
  differing=$(compare-im6.q16 -metric AE "$shots/$story_name-client.png" "$shots/$story_name-headless.png" null: 2>&1 || true)
  if [ "$differing" = 0 ]; then
    story_text+="ok the client area equals the headless rendering pixel for pixel"$'\n'
  else
    story_text+="FAILED $differing pixels differ from the headless rendering"$'\n'
  fi
}

receive
if grep -q '^FAILED' <<<"$reply"; then
  echo "window stories: the host did not start" >&2
  sed 's/^/  | /' <<<"$reply" "$scratch/host.err" >&2
  exit 1
fi

# The palette last floated, where it is now: its right edge dragged 100 pixels right in
# three moves; its close box pressed.
at_palette_point() {  # NAME COMMAND [ARG...]: COMMAND X Y ARG... at the point the host names
  ask points
  local at x y
  at=$(point "$1")
  if [ -z "$at" ]; then
    story_text+="FAILED the host names no point \"$1\" on the palette"$'\n'
    return
  fi
  read -r x y <<<"$at"
  "$2" "$x" "$y" "${@:3}"
}
drag_palette_edge() { at_palette_point edge drag_right 30 30 40; }
press_close_box() { at_palette_point close click_at; }

# With our toolbar control's window in the palette. First, the host's Format bar with Bold
# pressed, Italic disabled and Courier picked: the palette opens with the same states and
# looks as our headless rendering of them. Docked, the bar gets its plain states back. This
# host's bars are our own control class, so the copy takes its fast path (the host says
# which it saw); a foreign toolbar's is library_host.vbs's FloatedStates.
story float_copies_the_host_bars_states
ask dragmode 1
ask floatstates Format
sleep 1
compare_with_headless Format states
press_close_box
ask docked Format
ask clearstates
end_story

story screenshot_equals_headless_rendering
ask dragmode 1
ask float Format
sleep 1
compare_with_headless Format
end_story

story toggle_click_reaches_the_host_and_shows_pressed
if locate Bold; then
  read -r x y w h <<<"$located"
  click_at $((x + w / 2)) $((y + h / 2))
fi
ask ran Bold 1
compare_with_headless Format Bold
end_story

story spin_arrow_reaches_the_host
if locate FontSize; then
  # The middle of the up arrow.
  read -r x y w h <<<"$located"
  click_at $((x + w - 1 - 6)) $((y + 1 + (h - 2) / 4))
fi
ask ran FontSize_SpinUp
ask library aSpinUp 9
end_story

story combo_pick_reaches_the_host
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

story right_click_menu_docks
ask points
client=$(point client)
read -r cx cy cw ch <<<"$client"
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

story float_opens_a_window
ask dragmode 1
ask float File
sleep 1
end_story

story drag_full_window_snaps_during_the_drag
drag_palette_edge
ask sized full
end_story

story close_box_docks
press_close_box
ask docked File
end_story

story drag_outline_snaps_when_it_ends
ask dragmode 0
ask float Format
drag_palette_edge
ask sized outline
press_close_box
ask docked Format
end_story

story unload_bars_closes_palettes_without_docking
ask unloadbars File Draw
end_story

ask quit >/dev/null || true
wait "${HOST_PID:-}" 2>/dev/null || true

if ((${#failed[@]})); then
  echo "window stories: ${#failed[@]} failed: ${failed[*]}" >&2
  exit 1
fi
echo "window stories: all $passed passed"
