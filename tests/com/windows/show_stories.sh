#!/usr/bin/env bash
# tests/com/windows/show_stories.sh BUILD_DIR
# `zadeve show` as its user meets it: BUILD_DIR/zadeve.exe shows the diagram example's views
# (the reference host's form window) on a virtual display, xdotool plays the user, and
# BUILD_DIR/window_probe.exe (window_probe.cpp) reads the windows from outside. Pictures are
# held against `zadeve.exe render` and bar windows against `zadeve.exe layout --json` of the
# same file, view and size: the same program under the same Wine, so a difference is the
# window's and not one of two builds. The Win32 example (BUILD_DIR/diagram_win32.exe) is held
# against them too. Each program shown works on a copy of examples/diagram of its own.
# Screenshots of a failed run stay in BUILD_DIR/show_shots (of every run with
# ZADEVE_KEEP_SHOTS=1), with readme.png: the form and its palette, as docs/show.png shows.
set -euo pipefail
[ -n "${ZADEVE_TRACE:-}" ] && set -x
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
suite="show stories"
# shellcheck source=SCRIPTDIR/../wine_prefix.sh
. "$here/../wine_prefix.sh"

if [ "${1:-}" != --stories ]; then
  build=$(cd "${1:?usage: show_stories.sh BUILD_DIR}" && pwd)
  skip_without "$suite" wine xvfb-run xdotool import compare-im6.q16 convert-im6.q16
  for f in zadeve.exe window_probe.exe diagram_win32.exe; do
    [ -f "$build/$f" ] || { echo "$suite: $build/$f is not built" >&2; exit 1; }
  done
  wine_prefix
  wine_for_display
  shots="$build/show_shots"
  status=0
  display_suite "$shots" bash "$0" --stories "$build" "$scratch" "$shots" || status=$?

  # Without a display (and without the server that knew one) the tool says so and stops.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  mkdir -p "$scratch/bare" && cp "$root"/examples/diagram/* "$scratch/bare/"
  bare=0
  (cd "$scratch/bare" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 wine "$build/zadeve.exe" show BARS.INI \
    --view DiagramView >"$scratch/bare.out" 2>"$scratch/bare.err") || bare=$?
  lines=$(tr -d '\r' <"$scratch/bare.err" | grep -c . || true)
  if [ "$bare" = 1 ] && [ "$lines" = 1 ] && [ ! -s "$scratch/bare.out" ]; then
    echo "$suite: without a display one line on standard error, exit 1, passed"
  else
    echo "$suite: without a display one line on standard error, exit 1, FAILED (exit $bare, $lines lines)" >&2
    sed 's/^/  | /' "$scratch/bare.out" "$scratch/bare.err" >&2
    status=1
  fi
  exit "$status"
fi

# --- On the display ---------------------------------------------------------------------
build=$2 scratch=$3 shots=$4
say() { echo "  $*" >&2; }
probe() { wine "$build/window_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
zadeve() { wine "$build/zadeve.exe" "$@" | tr -d '\r'; }

copy_example() { mkdir -p "$scratch/$1" && cp "$root"/examples/diagram/* "$scratch/$1/"; }  # NAME: one program's own copy

# --- The program under test: one `zadeve show` at a time.
dir="" out="" pid="" form="" winpid=""
lines() { tr -d '\r' 2>/dev/null <"$out" || true; }
stop_show() {
  if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then wait "$pid" 2>/dev/null || true; fi
  pid="" form="" winpid=""
}
running_and_shown() { kill -0 "$pid" 2>/dev/null && lines | grep -qE '^shown [0-9]+$'; }
start_show() {  # DIR SHOW_ARG...
  stop_show
  dir=$scratch/$1 out=$scratch/$1.out
  shift
  (cd "$dir" && exec wine "$build/zadeve.exe" show BARS.INI "$@") >"$out" 2>"$dir.err" &
  pid=$!
  if ! wait_until 30 running_and_shown; then
    say "no \"shown HWND\" line came"
    sed 's/^/  | /' "$out" "$dir.err" >&2
    return 1
  fi
  form=$(lines | grep -E '^shown ' | head -1 | cut -d' ' -f2)
  winpid=$(probe windows ZadeveForm | awk -v h="$form" '$2 == h' | field pid)
  if [ -z "$winpid" ]; then
    say "the probe finds no ZadeveForm window $form; it finds:"
    probe windows '*' | awk -v h="$form" '$2 == h' >&2
    stop_show
    return 1
  fi
  sleep 1  # the first paint reaches the screen
}

# The probe's lines for the form and the program's palettes, and what they say.
form_line() { probe windows ZadeveForm "$winpid" | awk -v h="$form" '$2 == h'; }
palette_lines() { probe windows ZadeveToolPalette "$winpid" | awk -v h="$form" '$2 != h'; }
client() { form_line | cut -d' ' -f11-14; }  # L T W H on the screen
outer() { cut -d' ' -f6-9; }
field() { awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) { print $(i + 1); exit } }'; }
caption() { sed -n 's/.* caption //p'; }
point() { probe points "$form" | grep "^$1 " | cut -d' ' -f2-; }  # corner, minimize: X Y

# shot NAME: the screen, and the form's client area cut out of it as NAME-client.png.
shot() {
  import -window root "$shots/$1.png"
  local l t w h
  read -r l t w h <<<"$(client)"
  crop "$shots/$1.png" "$w" "$h" "$l" "$t" "$shots/$1-client.png"
}
# render NAME INI VIEW WxH: the tool's picture of the view as NAME-render.png.
render() {
  zadeve render "$(windows_path "$2")" --view "$3" --size "$4" \
    -o "$(windows_path "$shots/$1-render.png")" >/dev/null 2>"$scratch/render.err" || {
    say "render failed:"; sed 's/^/  | /' "$scratch/render.err" >&2; }
}
# mask PNG L T W H: a magenta box over the rectangle, in place.
mask() { convert-im6.q16 "$1" -fill magenta -draw "rectangle $2,$3 $(($2 + $4 - 1)),$(($3 + $5 - 1))" "$1"; }

# The docked bars the tool lays out, "L T W H" in client pixels, sorted (of bar NAME only).
laid_out() {  # INI VIEW WxH [NAME]
  zadeve layout "$(windows_path "$1")" --view "$2" --size "$3" --json | grep '"index"' |
    grep "${4:+\"name\": \"$4\"}" | grep "${4:-\"visible\": true, \"floating\": false}" |
    sed -E 's/.*"pixels": \{"left": (-?[0-9]+), "top": (-?[0-9]+), "width": ([0-9]+), "height": ([0-9]+)\}.*/\1 \2 \3 \4/' | sort
}
# The form's visible bar windows, "L T W H" in client pixels, sorted.
bar_windows() {
  local l t
  read -r l t _ _ <<<"$(client)"
  probe children "$form" | awk -v l="$l" -v t="$t" '$3 == "ZadeveToolbarWindow" && $9 == 1 {
    print $4 - l, $5 - t, $6, $7 }' | sort
}

menu_up() { probe windows '#32768' | grep -q ' visible 1 '; }
one_palette() { [ "$(palette_lines | grep -c ' visible 1 ')" = 1 ]; }
no_palette_shown() { ! palette_lines | grep -q ' visible 1 '; }
is_iconic() { [ "$(form_line | field iconic)" = "$1" ]; }

# float_by_menu INI VIEW WxH BAR: a right click on the bar's free end, then "Float", the
# menu's first entry, taken with the keyboard (another process cannot read its entries).
float_by_menu() {
  local bl bt bw bh l t
  read -r bl bt bw bh <<<"$(laid_out "$@")"
  read -r l t _ _ <<<"$(client)"
  xdotool mousemove $((l + bl + bw - 5)) $((t + bt + bh / 2)) click 3
  wait_until 5 menu_up || { say "a right click on $4 brought no menu up"; return 1; }
  import -window root "$shots/menu.png"
  xdotool key Down Return
  wait_until 5 one_palette || { say "\"Float\" opened no palette"; palette_lines >&2; return 1; }
}

# close_and_check: WM_CLOSE (what the close box sends) ends the program with exit status 0,
# and it leaves no window.
close_and_check() {
  local status=0 left noise
  probe close "$form"
  if ! wait_until 10 eval '! kill -0 "$pid" 2>/dev/null'; then
    say "the program still runs 10 s after the close"
    kill "$pid"
  fi
  wait "$pid" || status=$?
  pid=""
  left=$(probe windows '*' "$winpid")
  [ -z "$left" ] || { say "windows of the process are left:"; echo "$left" >&2; }
  noise=$(lines | grep -vE '^(shown [0-9]+|rebuilt)$' || true)
  [ -z "$noise" ] || { say "standard output holds more than shown/rebuilt:"; echo "$noise" >&2; }
  [ "$status" = 0 ] || say "exit status $status"
  [ "$status" = 0 ] && [ -z "$left" ] && [ -z "$noise" ]
}

# --- The stories. The first four share one program on the example as it is.
copy_example diagram
ini=$scratch/diagram/BARS.INI
size=800x600

paints_as_render() {
  start_show diagram --view DiagramView --size 800x600 || return 1
  local ok=0 line title style exstyle
  line=$(form_line)
  title=$(caption <<<"$line") style=$(field style <<<"$line") exstyle=$(field exstyle <<<"$line")
  [ "$title" = "DiagramView - BARS.INI - zadeve show" ] || { say "caption \"$title\""; ok=1; }
  # An application window (WS_OVERLAPPEDWINDOW, no WS_EX_TOOLWINDOW) that clips its children.
  (((style & 0x02CF0000) == 0x02CF0000 && (exstyle & 0x80) == 0)) || { say "style $style, exstyle $exstyle"; ok=1; }
  away
  shot first
  render first "$ini" DiagramView 800x600
  same "$shots/first-client.png" "$shots/first-render.png" || ok=1
  return $ok
}

resize_lays_out() {
  local x y w0 h0 w h ok=0 want got
  read -r _ _ w0 h0 <<<"$(client)"
  read -r x y <<<"$(point corner)"
  [ -n "${y:-}" ] || { say "the probe finds no sizing corner"; return 1; }
  # Grow where the screen has room, else shrink; in steps, as a hand drags.
  local dx=30 dy=20
  ((x + 120 < 1024)) || dx=-30
  ((y + 80 < 768)) || dy=-20
  drag "$x" "$y" "$dx" "$dy" 3
  sleep 0.3
  read -r _ _ w h <<<"$(client)"
  [ "$w $h" != "$w0 $h0" ] || { say "the drag left the client area ${w}x$h"; return 1; }
  size=${w}x$h
  want=$(laid_out "$ini" DiagramView "$size")
  got=$(bar_windows)
  [ -n "$want" ] || { say "no layout for $size"; return 1; }
  if [ "$want" != "$got" ]; then
    say "at $size the bar windows lie at (left, top, width, height in client pixels):"
    diff <(echo "$want") <(echo "$got") | sed 's/^</  layout:/; s/^>/  window:/' >&2 || true
    ok=1
  fi
  away
  shot resized
  render resized "$ini" DiagramView "$size"
  same "$shots/resized-client.png" "$shots/resized-render.png" || ok=1
  return $ok
}

palette_follows_the_form() {
  float_by_menu "$ini" DiagramView "$size" Format || return 1
  local ok=0 line before
  line=$(palette_lines)
  [ "$(field owner <<<"$line")" = "$form" ] || { say "the palette's owner is $(field owner <<<"$line"), not $form"; ok=1; }
  [ "$(caption <<<"$line")" = Format ] || { say "the palette is captioned \"$(caption <<<"$line")\""; ok=1; }
  # The README's picture: the form and its palette.
  away
  import -window root "$shots/floating.png"
  local fl ft fw fh pl pt pw ph
  read -r fl ft fw fh <<<"$(form_line | outer)"
  read -r pl pt pw ph <<<"$(outer <<<"$line")"
  local l=$((fl < pl ? fl : pl)) t=$((ft < pt ? ft : pt))
  local r=$((fl + fw > pl + pw ? fl + fw : pl + pw)) b=$((ft + fh > pt + ph ? ft + fh : pt + ph))
  convert-im6.q16 "$shots/floating.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$shots/readme.png"

  local x y
  before=$(client | cut -d' ' -f3-)
  read -r x y <<<"$(point minimize)"
  [ -n "${y:-}" ] || { say "the probe finds no minimise box"; return 1; }
  xdotool mousemove "$x" "$y" click 1
  wait_until 5 is_iconic 1 || { say "the form did not minimise"; ok=1; }
  wait_until 3 no_palette_shown || { say "the palette stays shown beside the minimised form"; ok=1; }
  import -window root "$shots/minimised.png"
  probe restore "$form"
  wait_until 5 is_iconic 0 || { say "the form did not come back"; ok=1; }
  wait_until 3 one_palette || { say "the palette did not come back with the form"; ok=1; }
  [ "$(client | cut -d' ' -f3-)" = "$before" ] || { say "the form came back at $(client), not $before"; ok=1; }
  return $ok
}

story "the form shows what render draws" paints_as_render
if [ -n "$form" ]; then
  story "a corner drag lays the bars out for the new size" resize_lays_out
  story "Float from the bar's menu: a palette owned by the form, minimised with it" palette_follows_the_form
fi


# --watch: edits to the file show in the running program.
rebuilds() { lines | grep -cx rebuilt || true; }
# edit_within SECONDS FILE SED_ARG...: the file edited in place, then its "rebuilt".
edit_within() {
  local seconds=$1 file=$2 before
  shift 2
  before=$(rebuilds)
  sed -i "$@" "$file"
  wait_until "$seconds" eval '(($(rebuilds) > before))' || { say "no \"rebuilt\" within $seconds s of the save"; return 1; }
}

copy_example watch
watched=$scratch/watch/BARS.INI
palette=""
watch_rebuilds() {
  start_show watch --view DiagramView --watch || return 1
  float_by_menu "$watched" DiagramView 800x600 Format || return 1
  palette=$(palette_lines)
  # Saved straight away, the mouse still where the menu was: Rotate leaves the Arrange bar.
  edit_within 1 "$watched" -e '/^Button9=Rotate$/d' -e '/^\[Toolbar.Arrange\]/,/^\[/s/^ButtonCount=10$/ButtonCount=9/'
}

watch_keeps_the_palette() {
  # The user goes to the editor and moves the Zoom bar to the top. (A rebuild still due
  # for the first save has its time first.)
  away
  sleep 0.6
  local ok=0 now l0 t0 l1 t1 cl ct pw ph
  edit_within 1 "$watched" 's/^Bar6=Name=Zoom;Home=RIGHT;/Bar6=Name=Zoom;Home=TOP;/' || ok=1
  sleep 0.2
  shot edited
  # The same file with Format hidden instead of floating: the form's bars as they stand.
  sed 's/^Bar2=Name=Format;.*/Bar2=Name=Format;Home=TOP;Visible=No;State=Floating/' "$watched" >"$scratch/watch/expected.ini"
  render edited "$scratch/watch/expected.ini" DiagramView 800x600
  now=$(palette_lines)
  if [ "$(grep -c ' visible 1 ' <<<"$now")" != 1 ]; then
    say "after the rebuild the palettes are:"; echo "$now" >&2
    return 1
  fi
  [ "$(field owner <<<"$now")" = "$form" ] || { say "the palette's owner is $(field owner <<<"$now")"; ok=1; }
  read -r l0 t0 _ _ <<<"$(outer <<<"$palette")"
  read -r l1 t1 pw ph <<<"$(outer <<<"$now")"
  if ((l1 - l0 > 2 || l0 - l1 > 2 || t1 - t0 > 2 || t0 - t1 > 2)); then
    say "the palette moved from $l0,$t0 to $l1,$t1"
    ok=1
  fi
  # Palettes aside: where one lies over the client area, both pictures get a box.
  read -r cl ct _ _ <<<"$(client)"
  for png in "$shots/edited-client.png" "$shots/edited-render.png"; do mask "$png" $((l1 - cl)) $((t1 - ct)) "$pw" "$ph"; done
  same "$shots/edited-client.png" "$shots/edited-render.png" || ok=1
  return $ok
}

# A broken edit, on a program of its own: nothing floats, so nothing but the file is at stake.
# The status area: the form's visible children that are not bars.
status_lines() { probe children "$form" | awk '$3 != "ZadeveToolbarWindow" && $9 == 1'; }
copy_example broken
broken=$scratch/broken/BARS.INI
broken_edit_reports() {
  start_show broken --view DiagramView --watch || return 1
  # A button names no function: the library reports it as it builds the Zoom bar.
  local ok=0 status
  edit_within 2 "$broken" 's/^Button0=ZoomIn$/Button0=ZoomInside/' || ok=1
  sleep 0.3
  shot broken
  status=$(status_lines)
  if [ -z "$status" ]; then
    say "no status area shows a report; the form's children:"
    probe children "$form" >&2
    ok=1
  elif ! grep -q 'missing function: ZoomInside' <<<"$status"; then
    say "the status area does not report the missing ZoomInside: $status"
    ok=1
  fi
  [ "$(form_line | field visible)" = 1 ] || { say "the form is gone"; return 1; }
  # Put right again, the report goes.
  edit_within 2 "$broken" 's/^Button0=ZoomInside$/Button0=ZoomIn/' || ok=1
  sleep 0.3
  [ -z "$(status_lines)" ] || { say "the status area stays after the file was put right: $(status_lines)"; ok=1; }
  close_and_check || ok=1
  return $ok
}

story "--watch: a save right after Float is rebuilt within a second" watch_rebuilds
if [ -n "$palette" ]; then
  story "--watch: an edit shows within a second, the floated bar still floats" watch_keeps_the_palette
  story "WM_CLOSE ends the program with its palette and nothing left" close_and_check
fi
story "--watch: a broken edit reports in the status area, the window stays" broken_edit_reports

stop_show

# The Win32 example (examples/win32, on the public win32_host.h): each of its bars equals
# the same bar of render's picture of its client size; closed, it ends with exit status 0
# and says nothing. (A user's resize is the form's story above: the same window code.)
copy_example win32
example_shows_its_bars() {
  local ok=0 l t w h bars
  wine "$build/diagram_win32.exe" "$(windows_path "$scratch/win32")\\" >"$scratch/win32.out" 2>"$scratch/win32.err" &
  example=$!
  wait_until 30 grep -q '^shown ' "$scratch/win32.out" || { say "the example did not come up"; cat "$scratch/win32".{out,err} >&2; return 1; }
  read -r _ _ cx cy cw ch <<<"$(tr -d '\r' <"$scratch/win32.out" | grep '^shown ')"
  sleep 1
  away
  [ "$cw $ch" = "800 600" ] || { say "the client area is ${cw}x$ch, not 800x600"; return 1; }
  import -window root "$shots/example.png"
  render example "$scratch/win32/BARS.INI" DiagramView 800x600
  bars=$(laid_out "$scratch/win32/BARS.INI" DiagramView 800x600)
  [ -n "$bars" ] || { say "the layout names no bar"; return 1; }
  while read -r l t w h; do
    crop "$shots/example.png" "$w" "$h" $((cx + l)) $((cy + t)) "$scratch/screen-bar.png"
    crop "$shots/example-render.png" "$w" "$h" "$l" "$t" "$scratch/render-bar.png"
    same "$scratch/screen-bar.png" "$scratch/render-bar.png" 2>/dev/null || { say "the bar at $l,$t (${w}x$h) differs"; ok=1; }
  done <<<"$bars"
  return $ok
}
example_ends_when_closed() {
  local status=0
  xdotool mousemove $((cx + 100)) $((cy + 300)) click 1 key alt+F4
  wait_until 5 eval '! kill -0 "$example" 2>/dev/null' || { say "the example still runs"; kill "$example"; return 1; }
  wait "$example" || status=$?
  [ "$status" = 0 ] || { say "the example exited with $status"; return 1; }
  [ ! -s "$scratch/win32.err" ] || { say "the example reported: $(cat "$scratch/win32.err")"; return 1; }
}
example="" cx="" cy="" cw="" ch=""
story "the Win32 example shows its bars as render draws them" example_shows_its_bars
if [ -n "$example" ]; then
  story "the Win32 example ends when its window is closed" example_ends_when_closed
fi
finish
