#!/usr/bin/env bash
# bench/wine_dispatch_bench.sh BUILD_DIR: registers BUILD_DIR/ZADEVE.dll in a throwaway Wine
# prefix and times late-bound calls from VBScript (wine_dispatch_bench.vbs).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: wine_dispatch_bench.sh BUILD_DIR}" && pwd)
# shellcheck source=SCRIPTDIR/../tests/com/wine_prefix.sh
. "$here/../tests/com/wine_prefix.sh"

wine_prefix
wine_register "$build/ZADEVE.dll"
status=0
out=$(wine cscript.exe //nologo "$(windows_path "$here/wine_dispatch_bench.vbs")" "$(windows_path "$scratch")") || status=$?
out=$(tr -d '\r' <<<"$out")
echo "$out" | grep -v '^ALL OK$' || true
if [ "$status" -ne 0 ] || ! grep -qx 'ALL OK' <<<"$out"; then
  echo "wine bench: the script failed (exit $status)" >&2
  exit 1
fi
