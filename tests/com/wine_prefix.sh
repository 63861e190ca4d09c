# tests/com/wine_prefix.sh: sourced by every script that runs our programs under Wine.
#   skip_without LABEL TOOL...  ends the script with "LABEL: skipped, ..." when a tool is missing
#   wine_prefix                 a throwaway prefix ($WINEPREFIX) and folder ($scratch), gone on exit
#   wine_register DLL           registers DLL in the prefix
#   wine_for_display            readies the prefix for windows on a virtual display
#   on_display WxH COMMAND...   runs COMMAND on a virtual display of that size
#   display_suite SHOTS COMMAND...  on_display 1024x768 with a fresh SHOTS folder, kept if it fails
#   windows_path PATH           PATH as Wine's programs name it
# and, on the display, for the window suites (which set $suite, $scratch, $shots):
#   wait_until SECONDS COMMAND...   until COMMAND succeeds, every tenth of a second
#   away                        the mouse off every window
#   drag X Y DX DY STEPS        pressed at X,Y and moved by DX,DY STEPS times, as a hand drags
#   crop PICTURE W H X Y OUT    a rectangle of a picture, without alpha
#   differing A B / same A B    how many pixels of two pictures differ / that none does
#   story NAME COMMAND...       runs one story and says how it went; finish ends the suite

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

skip_without() {
  local tool
  for tool in "${@:2}"; do command -v "$tool" >/dev/null || { echo "$1: skipped, $tool is not installed"; exit 0; }; done
}

wine_prefix() {
  export WINEDEBUG=-all WINEARCH=win64 ZADEVE_UNATTENDED=1
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine.XXXXXX")
  export WINEPREFIX
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine-scratch.XXXXXX")
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$scratch"' EXIT
  # One server for the whole script keeps every later start warm.
  wineserver -p >/dev/null 2>&1
  wine wineboot -i >/dev/null 2>&1
}

wine_register() { wine regsvr32 /s "$(windows_path "$1")"; }

# No window manager on the virtual display: Wine draws frames and captions itself, and
# manages every window itself (else it waits two seconds for a window manager each time a
# window goes, a palette closing among them). The server started without a display goes,
# or it would keep a desktop that makes no window.
wine_for_display() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}

on_display() { xvfb-run -a -s "-screen 0 ${1}x24" "${@:2}"; }

# display_suite SHOTS COMMAND...: COMMAND on the display with SHOTS empty; the screenshots
# of a passed run go, unless ZADEVE_KEEP_SHOTS=1.
display_suite() {
  local shots=$1 status=0
  rm -rf "$shots" && mkdir -p "$shots"
  on_display 1024x768 "${@:2}" || status=$?
  if [ "$status" -eq 0 ] && [ "${ZADEVE_KEEP_SHOTS:-0}" != 1 ]; then
    rm -rf "$shots"
  else
    echo "$suite: screenshots kept in $shots" >&2
  fi
  return "$status"
}

wait_until() {
  local tries=$(($1 * 10))
  until "${@:2}"; do ((tries-- > 0)) && sleep 0.1 || return 1; done
}
away() { xdotool mousemove 1020 764; sleep 0.7; }
drag() {
  local i
  xdotool mousemove "$1" "$2" mousedown 1
  for ((i = 1; i <= $5; i++)); do
    sleep 0.3
    xdotool mousemove $(($1 + i * $3)) $(($2 + i * $4))
  done
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}
crop() { convert-im6.q16 "$1" -crop "${2}x${3}+${4}+${5}" +repage -alpha off "$6"; }
differing() {
  local n
  convert-im6.q16 "$1" -alpha off "$scratch/.a.png"
  convert-im6.q16 "$2" -alpha off "$scratch/.b.png"
  n=$(compare-im6.q16 -metric AE "$scratch/.a.png" "$scratch/.b.png" null: 2>&1 || true)
  echo "${n%% *}"
}
same() {
  local n
  n=$(differing "$1" "$2")
  [ "$n" = 0 ] || { echo "  $(basename "$1") and $(basename "$2") differ: $n pixels" >&2; return 1; }
}

failed=()
passed=0
story() {
  if "${@:2}"; then
    echo "$suite: $1 passed"
    passed=$((passed + 1))
  else
    echo "$suite: $1 FAILED" >&2
    import -window root "$shots/failed-${1// /_}.png" 2>/dev/null || true
    failed+=("$1")
  fi
}
finish() {
  if ((${#failed[@]})); then
    echo "$suite: ${#failed[@]} failed: ${failed[*]}" >&2
    exit 1
  fi
  echo "$suite: all $passed passed"
}
