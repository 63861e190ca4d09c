#!/usr/bin/env bash
# bench/wine_toolbar_bench.sh BUILD_DIR: times one full repaint of a 40-item bar in its
# window (BUILD_DIR/wine_toolbar_repaint.exe) under Wine on a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: wine_toolbar_bench.sh BUILD_DIR}" && pwd)
# shellcheck source=SCRIPTDIR/../tests/com/wine_prefix.sh
. "$here/../tests/com/wine_prefix.sh"
skip_without "wine toolbar bench" xvfb-run

wine_prefix
wine_for_display
# The server goes before the display does.
on_display 1700x400 bash -c 'wine "$1" "$2" 300; status=$?; wineserver -k; exit $status' \
  _ "$build/wine_toolbar_repaint.exe" "$(windows_path "$here/../tests/data/pictures")" | tr -d '\r'
