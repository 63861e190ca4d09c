# tests/com/wine_prefix.sh: sourced by every script that runs our programs under Wine.
#   skip_without LABEL TOOL...  ends the script with "LABEL: skipped, ..." when a tool is missing
#   wine_prefix                 a throwaway prefix ($WINEPREFIX) and folder ($scratch), gone on exit
#   wine_register DLL           registers DLL in the prefix
#   wine_for_display            readies the prefix for windows on a virtual display
#   on_display WxH COMMAND...   runs COMMAND on a virtual display of that size
#   windows_path PATH           PATH as Wine's programs name it

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

skip_without() {
  local label=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$label: skipped, $tool is not installed"; exit 0; }
  done
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

on_display() {
  local size=$1
  shift
  xvfb-run -a -s "-screen 0 ${size}x24" "$@"
}

# fresh_shots DIR: an empty folder for a suite's screenshots.
fresh_shots() { rm -rf "$1"; mkdir -p "$1"; }
# settle_shots SUITE DIR STATUS: a passed run's screenshots go, unless ZADEVE_KEEP_SHOTS=1.
settle_shots() {
  if [ "$3" -eq 0 ] && [ "${ZADEVE_KEEP_SHOTS:-0}" != 1 ]; then
    rm -rf "$2"
  else
    echo "$1: screenshots kept in $2" >&2
  fi
}
