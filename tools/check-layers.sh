#!/usr/bin/env bash
# Checks the layering of the program's top-level folders over their #include "folder/..." lines.
#
# The table below states the stack, top layer first. A folder may include folders of its own
# layer and of the layers below it, never one above. Whatever the table says, includes between
# folders must not form a cycle.
LAYERS=(
    "app"                   # the program: start-up, dialogs, files, the export's run
    "writer preview"        # the definition file out of the constructs; pictures of a read one
    "process reader"        # process, activity, program, connectors; reading definition files
    "data staff"            # data structures and members; persons, roles, organizations
    "constructs"            # what every construct kind shares: lifecycle, texts, categories
    "mapping"               # the mapping rules and the ARIS look-ups they drive
    "runtime resources"     # error path, catalog texts, log, options, settings, state; texts
    "aris"                  # the local ARIS server over AML files
    "platform"              # the operating system: settings store, code page, libraries
)
# Top-level folders that are no part of the program's stack: they may include any program
# folder, but no program folder may include them.
OUTSIDE="tests tools bench docs"
#
# Usage: tools/check-layers.sh [--all] [--graph] [ROOT]
#   ROOT     the source tree to check (default: the tree this script lies in)
#   --all    name every file of an offending edge, not only the first few
#   --graph  print the folder graph (including folder, included folder, include lines), no check
# Prints one line per problem and exits 1 when there is one, 0 when the layering holds, 2 on
# a usage error.
set -euo pipefail

all=0
graph=0
root=""
for arg in "$@"; do
    case "$arg" in
        --all) all=1 ;;
        --graph) graph=1 ;;
        -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "check-layers: unknown option $arg" >&2; exit 2 ;;
        *) [[ -z "$root" ]] || { echo "check-layers: only one ROOT may be given" >&2; exit 2; }
           root="$arg" ;;
    esac
done
[[ -n "$root" ]] || root="$(cd "$(dirname "$0")/.." && pwd)"
[[ -d "$root" ]] || { echo "check-layers: $root is no folder" >&2; exit 2; }
root="$(cd "$root" && pwd)"

declare -A rank=()      # folder -> layer index, 0 = top
folders=()              # program folders in table order
for i in "${!LAYERS[@]}"; do
    for f in ${LAYERS[$i]}; do
        if [[ -n "${rank[$f]+x}" ]]; then
            echo "check-layers: $f/ stands twice in the layer table" >&2
            exit 2
        fi
        rank[$f]=$i
        folders+=("$f")
    done
done
declare -A outside=()
for f in $OUTSIDE; do outside[$f]=1; done

problems=()

# Every top-level folder holding sources must be placed: a new folder cannot slip past the check.
while IFS= read -r dir; do
    name="${dir##*/}"
    [[ "$name" == .* || "$name" == build* ]] && continue   # hidden and build folders
    [[ -n "${rank[$name]+x}" || -n "${outside[$name]+x}" ]] && continue
    if [[ -n "$(find "$dir" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' \) -print -quit)" ]]; then
        problems+=("unplaced folder: $name/ holds sources but stands neither in the layer table nor in OUTSIDE")
    fi
done < <(find "$root" -mindepth 1 -maxdepth 1 -type d | LC_ALL=C sort)

# The edges: "from to" -> the lines "file -> included header" that make it.
declare -A edgeFiles=()
declare -A edgeCount=()
declare -A adjacent=()  # folder -> the folders it includes (space separated)
includeRe='^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)"'
for from in "${folders[@]}"; do
    [[ -d "$root/$from" ]] || continue
    while IFS= read -r -d '' file; do
        rel="${file#"$root"/}"
        while IFS= read -r line; do
            [[ "$line" =~ $includeRe ]] || continue
            target="${BASH_REMATCH[1]}"
            if [[ "$target" == ./* || "$target" == ../* ]]; then
                target="$(realpath -m --relative-to="$root" "$(dirname "$file")/$target")"
            fi
            [[ "$target" == */* ]] || continue          # a header beside the file or on the path
            to="${target%%/*}"
            [[ "$to" == "$from" ]] && continue
            if [[ -z "${rank[$to]+x}" ]]; then
                # Third-party headers named with a folder are no business of ours; a top-level
                # folder of this tree that is not in the table is.
                [[ -d "$root/$to" ]] || continue
            fi
            key="$from $to"
            if [[ -z "${edgeCount[$key]+x}" ]]; then
                edgeCount[$key]=0
                edgeFiles[$key]=""
                adjacent[$from]+="$to "
            fi
            edgeCount[$key]=$(( ${edgeCount[$key]} + 1 ))
            edgeFiles[$key]+="$rel -> $target"$'\n'
        done < <(grep -E "$includeRe" "$file" || true)
    done < <(find "$root/$from" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' \) -print0 | LC_ALL=C sort -z)
done

if (( graph )); then
    for from in "${folders[@]}"; do
        for to in ${adjacent[$from]:-}; do
            echo "$from/ -> $to/ ${edgeCount["$from $to"]}"
        done
    done
    exit 0
fi

# The files of an edge, joined for one line: the first LIMIT unless --all.
edge_files() {
    local key="$1" limit="$2" shown=0 out="" entry
    local -a entries=()
    mapfile -t entries < <(printf '%s' "${edgeFiles[$key]}" | LC_ALL=C sort -u)
    for entry in "${entries[@]}"; do
        if (( all == 0 && shown == limit )); then
            out+=" (+$(( ${#entries[@]} - limit )) more)"
            break
        fi
        [[ -n "$out" ]] && out+=", "
        out+="$entry"
        shown=$((shown + 1))
    done
    printf '%s' "$out"
}

# Includes of a folder above, or of a folder outside the stack.
for from in "${folders[@]}"; do
    for to in ${adjacent[$from]:-}; do
        key="$from $to"
        if [[ -z "${rank[$to]+x}" ]]; then
            problems+=("outside include: $from/ includes $to/, which is no program folder: $(edge_files "$key" 3)")
        elif (( rank[$to] < rank[$from] )); then
            problems+=("upward include: $from/ includes $to/, which lies above it: $(edge_files "$key" 3)")
        fi
    done
done

# Cycles: for every edge, the shortest way back from its target to its source closes a cycle.
# Each cycle is reported once, however many of its edges find it.
shortest_path() {  # shortest_path FROM TO: prints "FROM ... TO", nothing when TO is unreachable
    local start="$1" goal="$2" node next
    local -A prev=([$start]="")
    local -a queue=("$start")
    local head=0
    while (( head < ${#queue[@]} )); do
        node="${queue[$head]}"
        head=$((head + 1))
        if [[ "$node" == "$goal" ]]; then
            local path="$goal"
            while [[ -n "${prev[$node]}" ]]; do
                node="${prev[$node]}"
                path="$node $path"
            done
            printf '%s' "$path"
            return
        fi
        for next in ${adjacent[$node]:-}; do
            [[ -n "${rank[$next]+x}" && -z "${prev[$next]+x}" ]] || continue
            prev[$next]="$node"
            queue+=("$next")
        done
    done
}

declare -A seenCycle=()
for from in "${folders[@]}"; do
    for to in ${adjacent[$from]:-}; do
        [[ -n "${rank[$to]+x}" ]] || continue
        back="$(shortest_path "$to" "$from")"
        [[ -n "$back" ]] || continue
        read -r -a cycle <<< "$from $back"   # from, to, ..., from
        unset 'cycle[${#cycle[@]}-1]'
        # The same cycle found from another of its edges is a rotation: start at its least name.
        least=0
        for i in "${!cycle[@]}"; do
            [[ "${cycle[$i]}" < "${cycle[$least]}" ]] && least=$i
        done
        canonical=""
        for (( i = 0; i < ${#cycle[@]}; i++ )); do
            canonical+="${cycle[$(( (least + i) % ${#cycle[@]} ))]} "
        done
        [[ -z "${seenCycle[$canonical]+x}" ]] || continue
        seenCycle[$canonical]=1
        read -r -a ring <<< "$canonical"
        ring+=("${ring[0]}")
        shown="" edges=""
        for (( i = 0; i + 1 < ${#ring[@]}; i++ )); do
            shown+="${ring[$i]}/ -> "
            [[ -n "$edges" ]] && edges+="; "
            edges+="$(edge_files "${ring[$i]} ${ring[$((i + 1))]}" 1)"
        done
        problems+=("cycle: ${shown}${ring[-1]}/: $edges")
    done
done

if (( ${#problems[@]} == 0 )); then
    exit 0
fi
printf 'check-layers: %s\n' "${problems[@]}"
echo "check-layers: ${#problems[@]} problem(s) in $root" >&2
exit 1
