#!/usr/bin/env bash
# bench/wine_palette_bench.sh BUILD_DIR: registers BUILD_DIR/ZADEVE.dll in a throwaway Wine
# prefix and times a palette's real window on a virtual display (wine_palette_bench.cpp).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:?usage: wine_palette_bench.sh BUILD_DIR}" && pwd)
# shellcheck source=SCRIPTDIR/../tests/com/wine_prefix.sh
. "$root/tests/com/wine_prefix.sh"
skip_without "wine palette bench" xvfb-run

wine_prefix
wine_register "$build/ZADEVE.dll"
wine_for_display
cp "$root/tests/data/pictures/std16.bmp" "$scratch/"
# Wine's complaint that the display went away when xvfb-run ends is no news.
on_display 1024x768 wine "$build/wine_palette_bench.exe" "$(windows_path "$scratch")\\" 2>/dev/null |
  tr -d '\r'
