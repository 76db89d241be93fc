#!/usr/bin/env bash
# Installs what is missing, builds the program with its language libraries, desktop module and
# resources (not the tests: tools/test.sh builds those in the same folder), and exports the
# demo database in batch mode.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kvbrars kvbrdeu kvbrenu lp_resources lp_helpbooks
out="${1:-$PWD/demo-output/Ordering.wpx}"
mkdir -p "$(dirname "$out")"
set +e
build/bin/kvbrars --batch --output "$out" "/SVR=LOCAL" "/DB=Demo" "/USR=system" \
  "/SEL=$(build/bin/kvbrars --list /SVR=LOCAL /DB=Demo /LOC=1031 2>/dev/null | paste -sd';')" "/LOC=1031"
status=$?
set -e
echo "kvbrars ended with exit status $status"
[ -f "$out" ] && echo "definition file: $out" && echo "log:             ${out%.*}.log"
exit $status
