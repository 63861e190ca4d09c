#!/usr/bin/env bash
# bench/wine_palette_bench.sh BUILD_DIR: registers BUILD_DIR/ZADEVE.dll in a throwaway Wine
# prefix and times a palette's real window on a virtual display (wine_palette_bench.cpp).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:?usage: wine_palette_bench.sh BUILD_DIR}" && pwd)
if ! command -v xvfb-run >/dev/null; then
  echo "wine palette bench: skipped, no xvfb-run here"
  exit 0
fi
export WINEDEBUG=-all WINEARCH=win64 ZADEVE_UNATTENDED=1
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine.XXXXXX")
export WINEPREFIX
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine-scratch.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$scratch"' EXIT
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

wine wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
wine regsvr32 /s "$(windows_path "$build/ZADEVE.dll")"
# A server started without a display would keep a desktop that can make no window.
wineserver -k; wineserver -w
cp "$root/tests/data/pictures/std16.bmp" "$scratch/"
# Wine's complaint that the display went away when xvfb-run ends is no news.
xvfb-run -a -s "-screen 0 1024x768x24" wine "$build/wine_palette_bench.exe" "$(windows_path "$scratch")\\" 2>/dev/null |
  tr -d '\r'
