#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (FUZZ_SECONDS, 60 by
# default) on its seed corpus under tests/fuzz/corpus/. Any crash, leak or sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMENPORT_FUZZ=ON \
  -DLUMENPORT_TESTS=OFF -DLUMENPORT_WITH_WX=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
status=0
for target in build-fuzz/bin/*_fuzz; do
  name=$(basename "$target")
  corpus=tests/fuzz/corpus/$name
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  echo "fuzzing $name for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
       -rss_limit_mb=2048 -artifact_prefix="build-fuzz/$name-" "$work" >"build-fuzz/$name.log" 2>&1; then
    echo "FAIL: $name found a problem; see build-fuzz/$name.log and build-fuzz/$name-*"
    tail -n 40 "build-fuzz/$name.log"
    status=1
  fi
  rm -rf "$work"
done
[ $status -eq 0 ] && echo "fuzzing: $(ls build-fuzz/bin/*_fuzz | wc -l) passed, 0 failed"
exit $status
