#!/usr/bin/env bash
# Static checks of the program's sources with clang-tidy (the checks in .clang-tidy); every
# finding is an error. Needs a build folder configured with compile commands, which it makes
# when missing.
#
#   tools/tidy.sh                 every source of the program
#   tools/tidy.sh FILE...         only these
#   TIDY_FIX=1 tools/tidy.sh ...  apply the checks' own fixes (one file at a time)
#
# Environment: TIDY_BUILD (default build-tidy), CLANG_TIDY (default clang-tidy-16; the
# const-correctness check needs 15 or later), TIDY_JOBS (default: the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TIDY_BUILD:-build-tidy}
tidy=${CLANG_TIDY:-clang-tidy-16}
jobs=${TIDY_JOBS:-$(nproc)}
command -v "$tidy" >/dev/null || { echo "tidy: $tidy is missing (tools/install-deps.sh installs it)" >&2; exit 2; }

if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DLUMENPORT_TESTS=OFF >/dev/null
fi

folders="app aris constructs data mapping platform preview process reader resources runtime staff writer"
if [ $# -gt 0 ]; then
  files=("$@")
else
  # shellcheck disable=SC2086
  mapfile -t files < <(find $folders -name '*.cpp' | LC_ALL=C sort)
fi

if [ "${TIDY_FIX:-0}" = 1 ]; then
  # Fixes to a header seen from several files must not race: one file at a time.
  for file in "${files[@]}"; do
    "$tidy" -p "$build" --quiet --fix "$file" 2>/dev/null || true
  done
  exit 0
fi

out=$(printf '%s\n' "${files[@]}" |
  xargs -P "$jobs" -n 4 "$tidy" -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null || true)
findings=$(grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' <<< "$out" | LC_ALL=C sort -u || true)
if [ -n "$findings" ]; then
  printf '%s\n' "$findings"
  echo "tidy: $(wc -l <<< "$findings") finding(s)" >&2
  exit 1
fi
echo "tidy: no findings in ${#files[@]} file(s)"
