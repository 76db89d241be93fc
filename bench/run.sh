#!/usr/bin/env bash
# Performance at scale: generates ARIS databases of 1, 2, 4 and 8 times a base size (in object
# definitions), and times the program on each: loading alone (kvbrars --list), the full batch
# export, and a parse-only pass over the same file (amlcount), the floor any reader pays.
# Two shapes of database, each with its own base: "default" (families of small process models)
# and "dense" (large process models whose functions each have several data objects, events,
# rules and staff, under names the export converts, so that the log outweighs the definition
# file). Prints one markdown table row per size and writes one table per shape to
# bench/results.md.
#
#   bench/run.sh                                         both shapes at their default bases
#   BENCH_BASE=2000 BENCH_DENSE_BASE=2000 bench/run.sh   a quick run
#   BENCH_SHAPES=dense bench/run.sh                      the dense shape alone
#   cmake --build build --target bench
#
# Environment: BENCH_SHAPES (default "default dense"), BENCH_BASE (base of the default shape,
# default 50000), BENCH_DENSE_BASE (base of the dense shape, default 32000), BENCH_SIZES
# (multipliers, default "1 2 4 8"), BENCH_REPEAT (runs per measurement, the fastest counts;
# default 1), BENCH_SEED (default 1), BENCH_BIN (program folder, default build/bin),
# BENCH_RESULTS (default bench/results.md), BENCH_KEEP=1 keeps the temporary server folder.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
bin=${BENCH_BIN:-$repo/build/bin}
shapes=${BENCH_SHAPES:-default dense}
base=${BENCH_BASE:-50000}
denseBase=${BENCH_DENSE_BASE:-32000}
sizes=${BENCH_SIZES:-1 2 4 8}
seed=${BENCH_SEED:-1}
repeat=${BENCH_REPEAT:-1}
results=${BENCH_RESULTS:-$repo/bench/results.md}

for tool in kvbrars amlgen amlcount benchrun; do
  if [ ! -x "$bin/$tool" ]; then
    echo "bench: $bin/$tool is missing; build it first: cmake --build build --target bench" >&2
    exit 1
  fi
done
for setting in "BENCH_BASE=$base" "BENCH_DENSE_BASE=$denseBase" "BENCH_REPEAT=$repeat" "BENCH_SEED=$seed"; do
  case "${setting#*=}" in ''|*[!0-9]*) echo "bench: $setting is not a whole number" >&2; exit 64 ;; esac
done
[ "$repeat" -ge 1 ] || { echo "bench: BENCH_REPEAT must be at least 1" >&2; exit 64; }
for shape in $shapes; do
  case "$shape" in default|dense) ;; *) echo "bench: unknown shape in BENCH_SHAPES: $shape (default or dense)" >&2; exit 64 ;; esac
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumenport-bench-XXXXXX")
cleanup() { if [ "${BENCH_KEEP:-0}" = 1 ]; then echo "bench: kept $work" >&2; else rm -rf "$work"; fi; }
trap cleanup EXIT

# The program sees only the temporary server folder and its own settings hives.
mkdir -p "$work/servers/BENCH"
export LUMENPORT_ARIS_SERVERS="$work/servers"
export LUMENPORT_USER_REG="$work/user.reg"
export LUMENPORT_MACHINE_REG="$work/machine.reg"
export XDG_DATA_HOME="$work/xdg-data"
unset DISPLAY WAYLAND_DISPLAY

# value FILE KEY: the value of KEY=value in a benchrun or amlcount result line.
value() { sed -n "s/.*\<$2=\([^ ]*\).*/\1/p" "$1"; }

# measure RESULT COMMAND...: run the command $repeat times under benchrun and keep the result
# line of the fastest run in RESULT. Returns the exit status of the last run.
measure() {
  local result=$1 status=0 best=""
  shift
  for ((run = 1; run <= repeat; run++)); do
    "$bin/benchrun" "$result.run" "$@" || status=$?
    if [ -z "$best" ] || awk -v a="$(value "$result.run" wall_s)" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$(value "$result.run" wall_s)
      cp "$result.run" "$result"
    fi
  done
  return $status
}

cpu=$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -n1)
mem=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
loadavg=$(cut -d' ' -f1-3 /proc/loadavg)
commit=$(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)
header="| size | file size | object definitions | load (s) | export (s) | total (s) | peak memory | parse-only (s) | total / parse-only | log / definition | constructs | status |"
rule="|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|:---|"

{
  echo "# Benchmark: export time and memory by database size"
  echo
  echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $commit"
  echo "- Machine: $(nproc) cores, ${cpu:-unknown CPU}, $mem memory; load average at the start: $loadavg"
  echo "  (other work on the machine lengthens the times)"
  echo "- Databases: amlgen --seed $seed, times ${sizes// /, } a base per shape;"
  echo "  each time is the fastest of $repeat run(s)"
  echo "- load = kvbrars --list (read and index the database); total = the full batch export of the"
  echo "  overview models (/LOC=1033, default options); export = total - load; parse-only = one expat"
  echo "  pass that only counts elements (amlcount); peak memory = the export's maximum resident set;"
  echo "  log / definition = the size of the log against the size of the definition file."
} > "$results"

# bench_shape SHAPE BASE: one table of the shape at each size.
bench_shape() {
  local shape=$1 base=$2 times n name db sel selection bytes status row
  local objdefs parse load total rss listStatus exportStatus constructs wpxBytes logBytes
  {
    echo
    if [ "$shape" = dense ]; then
      echo "## Dense shape: large connection-dense models, log-heavy (amlgen --shape dense), base of $base object definitions"
    else
      echo "## Default shape: families of small process models (amlgen), base of $base object definitions"
    fi
    echo
    echo "$header"
    echo "$rule"
  } >> "$results"
  echo "$shape shape, base of $base object definitions"
  echo "$header"
  echo "$rule"

  for times in $sizes; do
    n=$((base * times))
    if [ "$shape" = dense ]; then name="Dense$n"; else name="Bench$n"; fi
    db="$work/servers/BENCH/$name.xml"
    sel="$work/$name.sel"
    if ! "$bin/amlgen" --shape "$shape" --objdefs "$n" --seed "$seed" --out "$db" --sel "$sel" 2>"$work/amlgen.err"; then
      cat "$work/amlgen.err" >&2
      exit 1
    fi
    selection=$(cat "$sel")
    if [ "${#selection}" -gt 120000 ]; then
      echo "bench: the selection of $name is ${#selection} bytes, near the limit of one command-line argument" >&2
    fi
    bytes=$(stat -c %s "$db")

    measure "$work/parse.res" "$bin/amlcount" "$db" >"$work/count.out"
    set +e
    measure "$work/load.res" "$bin/kvbrars" --list /SVR=BENCH "/DB=$name" /LOC=1033 \
      >"$work/list.out" 2>"$work/list.err"
    measure "$work/total.res" "$bin/kvbrars" --batch --output "$work/$name.wpx" \
      /SVR=BENCH "/DB=$name" /USR=bench "/SEL=$selection" /LOC=1033 >"$work/export.out" 2>"$work/export.err"
    set -e

    objdefs=$(value "$work/count.out" objdefs)
    parse=$(value "$work/parse.res" wall_s)
    load=$(value "$work/load.res" wall_s)
    total=$(value "$work/total.res" wall_s)
    rss=$(value "$work/total.res" maxrss_kb)
    listStatus=$(value "$work/load.res" status)
    exportStatus=$(value "$work/total.res" status)
    constructs=$(grep -a 'KVB03110' "$work/$name.log" 2>/dev/null | tail -n1 | grep -o '[0-9][0-9]*' | tail -n1 || true)
    wpxBytes=$(stat -c %s "$work/$name.wpx" 2>/dev/null || echo 0)
    logBytes=$(stat -c %s "$work/$name.log" 2>/dev/null || echo 0)
    if [ "$listStatus" = 0 ] && [ "$exportStatus" = 0 ]; then
      status=ok
    else
      status="list exit $listStatus, export exit $exportStatus"
      echo "bench: $name: $status; last lines of the export's standard error:" >&2
      tail -n 5 "$work/export.err" >&2
    fi

    row=$(awk -v times="$times" -v bytes="$bytes" -v objdefs="$objdefs" -v load="$load" -v total="$total" \
              -v parse="$parse" -v rss="$rss" -v wpx="$wpxBytes" -v logSize="$logBytes" \
              -v constructs="${constructs:--}" -v status="$status" 'BEGIN {
        ratio = parse > 0 ? sprintf("%.1f", total / parse) : "-"
        logRatio = wpx > 0 ? sprintf("%.1f", logSize / wpx) : "-"
        export = total - load
        if (export < 0) export = 0  # timing noise on a small database
        printf "| %dx | %.1f MB | %d | %.2f | %.2f | %.2f | %.0f MB | %.2f | %s | %s | %s | %s |",
               times, bytes / 1048576, objdefs, load, export, total, rss / 1024, parse, ratio, logRatio, constructs, status
      }')
    echo "$row"
    echo "$row" >> "$results"
    rm -f "$db" "$work/$name.wpx" "$work/$name.log"
  done
}

for shape in $shapes; do
  if [ "$shape" = dense ]; then bench_shape dense "$denseBase"; else bench_shape default "$base"; fi
done
echo "bench: tables written to $results" >&2
