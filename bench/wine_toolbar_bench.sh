#!/usr/bin/env bash
# bench/wine_toolbar_bench.sh BUILD_DIR: times one full repaint of a 40-item bar in its
# window (BUILD_DIR/wine_toolbar_repaint.exe) under Wine on a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: wine_toolbar_bench.sh BUILD_DIR}" && pwd)
command -v xvfb-run >/dev/null || { echo "wine bench: repaint skipped, xvfb-run is not installed"; exit 0; }
export WINEDEBUG=-all WINEARCH=win64
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine.XXXXXX")
export WINEPREFIX
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

wine wineboot -i >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true  # its desktop has no display; a new one will
wineserver -w
# The server goes before the display does.
xvfb-run -a -s "-screen 0 1700x400x24" bash -c 'wine "$1" "$2" 300; status=$?; wineserver -k; exit $status' \
  _ "$build/wine_toolbar_repaint.exe" "$(windows_path "$here/../tests/data/pictures")" | tr -d '\r'
