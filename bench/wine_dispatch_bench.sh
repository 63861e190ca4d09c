#!/usr/bin/env bash
# bench/wine_dispatch_bench.sh BUILD_DIR: registers BUILD_DIR/ZADEVE.dll in a throwaway Wine
# prefix and times late-bound calls from VBScript (wine_dispatch_bench.vbs).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: wine_dispatch_bench.sh BUILD_DIR}" && pwd)
export WINEDEBUG=-all WINEARCH=win64 ZADEVE_UNATTENDED=1
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine.XXXXXX")
export WINEPREFIX
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zadeve-wine-scratch.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$scratch"' EXIT
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

wineserver -p >/dev/null 2>&1
wine wineboot -i >/dev/null 2>&1
wine regsvr32 /s "$(windows_path "$build/ZADEVE.dll")"
status=0
out=$(wine cscript.exe //nologo "$(windows_path "$here/wine_dispatch_bench.vbs")" "$(windows_path "$scratch")") || status=$?
out=$(tr -d '\r' <<<"$out")
echo "$out" | grep -v '^ALL OK$' || true
if [ "$status" -ne 0 ] || ! grep -qx 'ALL OK' <<<"$out"; then
  echo "wine bench: the script failed (exit $status)" >&2
  exit 1
fi
