#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says (no file changed).
#
#   tools/check-format.sh          check every file; list the ones that differ
#   tools/check-format.sh --fix    format them in place
#
# Environment: CLANG_FORMAT (default clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
command -v "$format" >/dev/null || { echo "check-format: $format is missing" >&2; exit 2; }
folders="app aris bench constructs data mapping platform preview process reader resources runtime staff tests tools writer"
# shellcheck disable=SC2086
mapfile -t files < <(find $folders \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
if [ "${1:-}" = --fix ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
if ! "$format" --dry-run --Werror "${files[@]}" 2>/tmp/check-format.$$; then
  grep -oE '^[^:]+\.(cpp|h)' /tmp/check-format.$$ | LC_ALL=C sort -u | sed 's/^/check-format: not formatted: /'
  rm -f /tmp/check-format.$$
  exit 1
fi
rm -f /tmp/check-format.$$
echo "check-format: ${#files[@]} file(s) formatted"
