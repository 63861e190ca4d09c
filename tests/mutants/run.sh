#!/usr/bin/env bash
# tests/mutants/run.sh [--keep] [PATCH...]
#
# Plants each fault of tests/mutants/*.patch (or the PATCHes named) in turn into a scratch copy
# of this checkout, builds the plain suite, runs it, takes the fault out again, and prints one
# line per fault: caught (a test failed), MISSED (every test passed), UNAPPLIED or UNBUILT (the
# fault says nothing about the tests then). Exit status 0 only when every fault was caught.
#
# The scratch copy is the working tree as it is, uncommitted changes included (the files git
# tracks or would track), in build/mutants/tree, built in its own build/release with ccache
# (a copy made again in the same place finds its objects in the cache). The copy is refreshed
# file by file, so that with --keep the next run rebuilds only what changed; without it the
# copy is removed at the end. Builds and tests run under nice -n 19 (MUTANTS_NICE overrides),
# ctest with MUTANTS_JOBS jobs (default: the cores), each test stopped after
# MUTANTS_TEST_TIMEOUT seconds (60: the slowest binary takes under ten).
# The whole script is one block, read before it runs: editing it meanwhile is safe.
{
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
keep=0
patches=()
for a in "$@"; do
  case "$a" in
    --keep) keep=1 ;;
    -h|--help) sed -n '2,15s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) patches+=("$(realpath "$a")") ;;
  esac
done
((${#patches[@]})) || patches=("$here"/*.patch)

scratch=$root/build/mutants
# git apply in the copy must not see this checkout's repository above it.
export GIT_CEILING_DIRECTORIES=$scratch
tree=$scratch/tree
mkdir -p "$scratch"
exec 9>"$scratch/lock"
flock -n 9 || { echo "mutants: another run is using $scratch" >&2; exit 2; }
out=$tree/build/release
logs=$scratch/logs
nice_cmd=(nice -n "${MUTANTS_NICE:-19}")
jobs=${MUTANTS_JOBS:-$(nproc 2>/dev/null || echo 2)}
# A fault that loops for ever is a caught fault once its test times out.
test_timeout=${MUTANTS_TEST_TIMEOUT:-60}

if command -v ccache >/dev/null; then
  export CCACHE_DIR=${CCACHE_DIR:-$root/build/ccache} CCACHE_BASEDIR=$tree
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
else
  echo "mutants: no ccache here; every run builds from scratch" >&2
  launcher=()
fi

# The copy is refreshed file by file: a file whose text changed (in the checkout, or by a
# fault an interrupted run left behind) is written anew and so is newer than its objects;
# an unchanged one keeps its time and is not rebuilt.
stage=$scratch/stage
rm -rf "$stage" "$logs"
mkdir -p "$stage" "$tree" "$logs"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
   while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
   tar -c --null -T - -f -) | tar -x -C "$stage" -f -
(cd "$stage" && find . -type f -print0) | while IFS= read -r -d '' f; do
  cmp -s "$stage/$f" "$tree/$f" || { mkdir -p "$(dirname "$tree/$f")"; cp "$stage/$f" "$tree/$f"; }
done
(cd "$tree" && find . -path ./build -prune -o -type f -print0) | while IFS= read -r -d '' f; do
  [ -e "$stage/$f" ] || rm -f "$tree/$f"
done
rm -rf "$stage"

build() { "${nice_cmd[@]}" cmake --build "$out" >"$1" 2>&1; }
# run_tests LOG: the plain suite (no Wine, no sanitizers, no fuzzing: none of them is in this tree).
run_tests() {
  (cd "$out" && "${nice_cmd[@]}" ctest -j"$jobs" --timeout "$test_timeout" --output-on-failure >"$1" 2>&1)
}
# failures LOG: the first failing tests, by GoogleTest name where the log has them.
failures() {
  local names
  names=$(grep -oE '^\[  FAILED  \] [A-Za-z0-9_/]+\.[A-Za-z0-9_/.]+' "$1" | awk '{print $4}' | awk '!seen[$0]++' | head -3 | paste -sd' ' -)
  [ -n "$names" ] || names=$(grep -oE '[0-9]+ - [a-z_]+ \([A-Za-z ]+\)' "$1" | sed 's/^[0-9]* - //' | head -3 | paste -sd' ' -)
  echo "${names:-ctest failed}"
}

start=$(date +%s)
echo "mutants: scratch copy of $(cd "$root" && git rev-parse --short HEAD)$(cd "$root" && git diff --quiet HEAD || echo ' with uncommitted changes') in $tree"
"${nice_cmd[@]}" cmake -S "$tree" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZADEVE_BENCH=OFF -DZADEVE_FUZZ=OFF -DZADEVE_SANITIZE=OFF "${launcher[@]}" >"$logs/configure.log" 2>&1 ||
  { cat "$logs/configure.log" >&2; exit 2; }
if ! build "$logs/baseline-build.log"; then
  tail -n 40 "$logs/baseline-build.log" >&2; echo "mutants: the unchanged tree does not build" >&2; exit 2
fi
if ! run_tests "$logs/baseline-test.log"; then
  echo "mutants: the unchanged tree fails its tests ($(failures "$logs/baseline-test.log")); nothing to measure" >&2
  exit 2
fi
echo "mutants: unchanged tree built and passed in $(( $(date +%s) - start ))s"

# A fault left in the copy by an interrupted run is undone by the next run's refresh.
trap 'echo "mutants: interrupted" >&2; exit 130' INT TERM

caught=0 missed=0 broken=0
for p in "${patches[@]}"; do
  name=$(basename "$p" .patch)
  t0=$(date +%s)
  if ! (cd "$tree" && git apply --check "$p" 2>"$logs/$name.apply.log"); then
    status=UNAPPLIED detail="($(head -1 "$logs/$name.apply.log"))"
    broken=$((broken + 1))
  else
    (cd "$tree" && git apply "$p")
    if ! build "$logs/$name.build.log"; then
      status=UNBUILT detail="(build failed)"
      broken=$((broken + 1))
    elif run_tests "$logs/$name.test.log"; then
      status=MISSED detail="(every test passed)"
      missed=$((missed + 1))
    else
      status=caught detail="($(failures "$logs/$name.test.log"))"
      caught=$((caught + 1))
    fi
    (cd "$tree" && git apply -R "$p")
  fi
  printf '%-44s %-9s %4ss  %s\n' "$name" "$status" "$(( $(date +%s) - t0 ))" "$detail"
done
trap - INT TERM

total=${#patches[@]}
echo "mutants: $caught of $total caught, $missed missed, $broken did not apply or build; $(( $(date +%s) - start ))s in all"
echo "mutants: logs in $logs"
if ((keep == 0)); then rm -rf "$tree"; echo "mutants: scratch copy removed (--keep keeps it)"; fi
((caught == total))
exit
}
