#!/usr/bin/env bash
# tests/com/run_wine_tests.sh BUILD_DIR
# Registers BUILD_DIR/ZADEVE.dll in a throwaway Wine prefix and runs, under it, every
# compiled check (BUILD_DIR/<name>.exe from tests/com/<name>.cpp) and every script of
# tests/com (*.vbs) with cscript. A check passes on exit code 0; a script also has to
# print "ALL OK", because Wine's cscript swallows script errors and exits 0 regardless.
# Scripts get two arguments: a scratch folder of their own and the repository root (both
# as Windows paths); they start in the scratch folder. Unregistering is checked last.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: run_wine_tests.sh BUILD_DIR}" && pwd)
dll="$build/ZADEVE.dll"
[ -f "$dll" ] || { echo "wine tests: $dll is not built" >&2; exit 1; }

# shellcheck source=SCRIPTDIR/wine_prefix.sh
. "$here/wine_prefix.sh"
keys=('HKCR\ZADEVE.ZuzuzudLibrary\CLSID' 'HKCR\TypeLib\{A0912FBD-FB31-49AC-8B8B-962854E3F3C4}')
registered() { wine reg query "$1" >/dev/null 2>&1; }

wine_prefix
wine_register "$dll" || { echo "wine tests: regsvr32 failed" >&2; exit 1; }
for key in "${keys[@]}"; do registered "$key" || { echo "wine tests: $key not registered" >&2; exit 1; }; done

failed=()
passed=0
# verdict NAME OK LOG WHY: says how NAME went; when it failed, why (its exit status) and its output.
verdict() {
  if [ "$2" = 0 ]; then
    echo "wine tests: $1 passed"
    passed=$((passed + 1))
  else
    echo "wine tests: $1 FAILED ($4)" >&2
    sed 's/^/  | /' "$3" >&2
    failed+=("$1")
  fi
}
run_one() {  # NAME NEEDS_SENTINEL COMMAND...
  local name=$1 sentinel=$2 ok=0 status=0 log="$scratch/$1.log" dir="$scratch/$1"
  shift 2
  mkdir -p "$dir"
  (cd "$dir" && "$@" "$(windows_path "$dir")" "$(windows_path "$root")") 2>&1 | tr -d '\r' >"$log" || status=$?
  [ "$status" = 0 ] || ok=1
  [ "$sentinel" = no ] || grep -qx 'ALL OK' "$log" || ok=1
  verdict "$name" "$ok" "$log" "exit $status"
}

shopt -s nullglob
for source in "$here"/*.cpp; do
  name=$(basename "$source" .cpp)
  run_one "$name" no wine "$build/$name.exe"
done
for script in "$here"/*.vbs "$root/examples/script/float_bar.vbs"; do
  run_one "$(basename "$script")" yes wine cscript.exe //nologo "$(windows_path "$script")"
done

# The README's hello.vbs as the README runs it: exactly its two lines while the DLL is
# registered, and after unregistering a line saying why, with exit status 1.
hello() {  # EXPECTED_STATUS EXPECTED_OUTPUT (a grep pattern for the whole output, lines joined by |)
  local status=0 ok=1 log="$scratch/hello-$1.log"
  (cd "$root" && wine cscript //nologo examples/script/hello.vbs) 2>&1 | tr -d '\r' >"$log" || status=$?
  tr '\n' '|' <"$log" | grep -qx "$2" && [ "$status" = "$1" ] && ok=0
  verdict "hello.vbs (exit $1)" "$ok" "$log" "exit $status, want $1"
}
hello 0 'Hello from ZADEVE|Error 20000: Invalid application object|'

wine regsvr32 /s /u "$(windows_path "$dll")" || { echo "wine tests: regsvr32 /u failed" >&2; failed+=(unregister); }
for key in "${keys[@]}"; do
  ! registered "$key" || { echo "wine tests: $key still there after unregistering" >&2; failed+=(unregister); }
done
hello 1 'Cannot create ZADEVE.ZuzuzudLibrary: error 429 .*regsvr32 ZADEVE.dll)|'

# Our toolbar control, the palettes, `zadeve show` (the reference host's form) and the
# Win32 example as real windows, on a virtual display, each in a prefix of its own.
for suite in control_shell run_window_stories show_stories; do
  "$here/windows/$suite.sh" "$build" || failed+=("$suite")
done

if ((${#failed[@]})); then
  echo "wine tests: ${#failed[@]} failed: ${failed[*]}" >&2
  exit 1
fi
echo "wine tests: all $passed passed"
