#!/usr/bin/env bash
# tests/com/run_wine_tests.sh BUILD_DIR
# Registers BUILD_DIR/ZADEVE.dll in a throwaway Wine prefix and runs, under it, every
# compiled check (BUILD_DIR/<name>.exe from tests/com/<name>.cpp) and every script of
# tests/com (*.vbs, *.js) with cscript. A check passes on exit code 0; a script also has to
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
clsid_key='HKCR\ZADEVE.ZuzuzudLibrary\CLSID'
typelib_key='HKCR\TypeLib\{A0912FBD-FB31-49AC-8B8B-962854E3F3C4}'

wine_prefix
wine_register "$dll" || { echo "wine tests: regsvr32 failed" >&2; exit 1; }
for key in "$clsid_key" "$typelib_key"; do
  wine reg query "$key" >/dev/null 2>&1 || { echo "wine tests: $key not registered" >&2; exit 1; }
done

failed=()
passed=0
run_one() {  # NAME NEEDS_SENTINEL COMMAND...
  local name=$1 sentinel=$2; shift 2
  local log="$scratch/$name.log" dir="$scratch/$name" status=0
  mkdir -p "$dir"
  (cd "$dir" && "$@" "$(windows_path "$dir")" "$(windows_path "$root")") >"$log" 2>&1 || status=$?
  tr -d '\r' <"$log" >"$log.txt"
  if [ "$status" -ne 0 ] || { [ "$sentinel" = yes ] && ! grep -qx 'ALL OK' "$log.txt"; }; then
    echo "wine tests: $name FAILED (exit $status)" >&2
    sed 's/^/  | /' "$log.txt" >&2
    failed+=("$name")
  else
    echo "wine tests: $name passed"
    passed=$((passed + 1))
  fi
}

shopt -s nullglob
for source in "$here"/*.cpp; do
  name=$(basename "$source" .cpp)
  run_one "$name" no wine "$build/$name.exe"
done
for script in "$here"/*.vbs "$here"/*.js; do
  run_one "$(basename "$script")" yes wine cscript.exe //nologo "$(windows_path "$script")"
done
run_one examples-float_bar.vbs yes wine cscript.exe //nologo "$(windows_path "$root/examples/script/float_bar.vbs")"

# The README's hello.vbs as the README runs it: exactly its two lines while the DLL is
# registered, and after unregistering a line saying why, with exit status 1.
hello() {  # EXPECTED_STATUS EXPECTED_OUTPUT (a grep pattern for the whole output)
  local out status=0
  out=$(cd "$root" && wine cscript //nologo examples/script/hello.vbs 2>&1) || status=$?
  out=$(printf '%s' "$out" | tr -d '\r')
  if [ "$status" -ne "$1" ] || ! printf '%s\n' "$out" | tr '\n' '|' | grep -qx "$2"; then
    echo "wine tests: hello.vbs FAILED (exit $status, want $1)" >&2
    printf '%s\n' "$out" | sed 's/^/  | /' >&2
    failed+=(hello.vbs)
  else
    echo "wine tests: hello.vbs passed (exit $status)"
    passed=$((passed + 1))
  fi
}
hello 0 'Hello from ZADEVE|Error 20000: Invalid application object|'

wine regsvr32 /s /u "$(windows_path "$dll")" || { echo "wine tests: regsvr32 /u failed" >&2; failed+=(unregister); }
for key in "$clsid_key" "$typelib_key"; do
  if wine reg query "$key" >/dev/null 2>&1; then
    echo "wine tests: $key still there after unregistering" >&2
    failed+=(unregister)
  fi
done
hello 1 'Cannot create ZADEVE.ZuzuzudLibrary: error 429 .*regsvr32 ZADEVE.dll)|'

# Our toolbar control, the palettes, the Win32 example and `zadeve show` (the reference
# host's form) as real windows, on a virtual display, each in a prefix of its own.
"$here/windows/control_shell.sh" "$build" || failed+=(control_shell)
"$here/windows/run_window_stories.sh" "$build" || failed+=(window_stories)
"$here/windows/host_windows.sh" "$build" || failed+=(host_windows)
"$here/windows/show_stories.sh" "$build" || failed+=(show_stories)

if ((${#failed[@]})); then
  echo "wine tests: ${#failed[@]} failed: ${failed[*]}" >&2
  exit 1
fi
echo "wine tests: all $passed passed"
