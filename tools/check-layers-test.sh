#!/usr/bin/env bash
# Self-test of tools/check-layers.sh: builds small source trees in a temporary folder and checks
# the verdict (exit status) and the problem lines for each.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
check="$here/check-layers.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
cases=0

# tree NAME FILE=INCLUDE[,INCLUDE...] ...: a tree whose files hold the given #include "..." lines
# (an empty include list makes an empty file).
tree() {
    local dir="$work/$1" spec file includes inc
    shift
    mkdir -p "$dir"
    for spec in "$@"; do
        file="${spec%%=*}"
        includes="${spec#*=}"
        mkdir -p "$(dirname "$dir/$file")"
        : > "$dir/$file"
        IFS=',' read -r -a list <<< "$includes"
        for inc in "${list[@]}"; do
            [[ -n "$inc" ]] && printf '#include "%s"\n' "$inc" >> "$dir/$file"
        done
    done
    printf '%s' "$dir"
}

# expect NAME DIR STATUS [PATTERN...]: the check of DIR exits with STATUS and its output holds a
# line matching each PATTERN (extended regular expression).
expect() {
    local name="$1" dir="$2" status="$3" out rc pattern ok=1
    shift 3
    cases=$((cases + 1))
    out="$("$check" "$dir" 2>/dev/null)"
    rc=$?
    if [[ $rc -ne $status ]]; then
        ok=0
        echo "FAIL $name: exit status $rc, expected $status"
    fi
    for pattern in "$@"; do
        if ! grep -Eq -- "$pattern" <<< "$out"; then
            ok=0
            echo "FAIL $name: no line matches: $pattern"
        fi
    done
    if (( ok == 0 )); then
        failures=$((failures + 1))
        sed 's/^/    | /' <<< "$out"
    fi
}

# expect_lines NAME DIR COUNT PATTERN: exactly COUNT output lines match PATTERN.
expect_lines() {
    local name="$1" dir="$2" count="$3" pattern="$4" n
    cases=$((cases + 1))
    n="$("$check" "$dir" 2>/dev/null | grep -Ec -- "$pattern")"
    if [[ "$n" -ne "$count" ]]; then
        failures=$((failures + 1))
        echo "FAIL $name: $n lines match '$pattern', expected $count"
    fi
}

# A clean stack: every include goes down or stays in the layer; tests/ may include anything;
# headers beside the file, third-party folders, build folders and commented-out includes do not
# count.
clean=$(tree clean \
    app/main.cpp=constructs/Process.h,mapping/Rule.h,platform/Text.h,aris/Server.h \
    constructs/Process.h=mapping/Rule.h,aris/Server.h,Process_inline.h \
    mapping/Rule.h=aris/Server.h,platform/Text.h,expat/expat.h \
    aris/Server.h=platform/Text.h \
    platform/Text.h= \
    tests/app/main_test.cpp=app/main.h,constructs/Process.h \
    docs/notes.txt= \
    build/CMakeFiles/CompilerId.cpp=)
printf '// #include "app/main.h"\n/* the app/ folder is above */\n' >> "$clean/platform/Text.h"
expect "clean stack passes" "$clean" 0
expect_lines "clean stack prints nothing" "$clean" 0 '.'

expect "app included from below fails" "$(tree app_from_writer \
    app/main.cpp=writer/Writer.h \
    writer/Writer.cpp=app/Globals.h,platform/Text.h)" 1 \
    '^check-layers: upward include: writer/ includes app/.*writer/Writer\.cpp -> app/Globals\.h' \
    '^check-layers: cycle: app/ -> writer/ -> app/'

expect "app included through a relative path fails" "$(tree app_relative \
    constructs/Process.cpp=../app/Globals.h)" 1 \
    'upward include: constructs/ includes app/.*constructs/Process\.cpp -> app/Globals\.h'

expect "platform including a program folder fails" "$(tree platform_up \
    platform/Text.cpp=aris/Server.h)" 1 \
    'upward include: platform/ includes aris/.*platform/Text\.cpp -> aris/Server\.h'

expect "aris including a folder other than platform fails" "$(tree aris_up \
    aris/Server.cpp=platform/Text.h,mapping/Rule.h)" 1 \
    'upward include: aris/ includes mapping/.*aris/Server\.cpp -> mapping/Rule\.h'
expect_lines "aris including platform is no problem" "$work/aris_up" 1 '^check-layers:'

cycle=$(tree cycle \
    constructs/Process.h=mapping/Rule.h \
    mapping/Rule.cpp=data/Member.h \
    data/Member.h=constructs/Process.h)
expect "a cycle inside one layer fails" "$cycle" 1 \
    '^check-layers: cycle: constructs/ -> mapping/ -> data/ -> constructs/: constructs/Process\.h -> mapping/Rule\.h; mapping/Rule\.cpp -> data/Member\.h; data/Member\.h -> constructs/Process\.h$'
expect_lines "a cycle is reported once, not once per edge" "$cycle" 1 'cycle:'

many=$(tree many_files \
    app/a.cpp=writer/W.h app/b.cpp=writer/W.h \
    writer/a.cpp=app/A.h writer/b.cpp=app/A.h writer/c.cpp=app/A.h writer/d.cpp=app/A.h writer/e.cpp=app/A.h)
expect "long edges are shortened" "$many" 1 \
    'upward include: writer/ includes app/, which lies above it: writer/a\.cpp -> app/A\.h, writer/b\.cpp -> app/A\.h, writer/c\.cpp -> app/A\.h \(\+2 more\)$'
cases=$((cases + 1))
everything="$("$check" --all "$many" 2>/dev/null)"
if ! grep -q 'writer/e\.cpp -> app/A\.h' <<< "$everything"; then
    failures=$((failures + 1))
    echo "FAIL --all names every file of an edge"
fi

expect "program code including tests/ fails" "$(tree outside \
    mapping/Rule.cpp=tests/support/Fake.h \
    tests/support/Fake.h=)" 1 \
    'outside include: mapping/ includes tests/'

expect "a folder with sources outside the table fails" "$(tree unplaced \
    app/main.cpp= \
    plugins/Extra.cpp=platform/Text.h)" 1 \
    'unplaced folder: plugins/'

cases=$((cases + 1))
"$check" "$work/does-not-exist" >/dev/null 2>&1
if [[ $? -ne 2 ]]; then
    failures=$((failures + 1))
    echo "FAIL a missing tree is a usage error (exit 2)"
fi

# The graph lists each edge once with the number of its include lines.
cases=$((cases + 1))
graph="$("$check" --graph "$many")"
if [[ "$graph" != $'app/ -> writer/ 2\nwriter/ -> app/ 5' ]]; then
    failures=$((failures + 1))
    echo "FAIL --graph: got:"
    sed 's/^/    | /' <<< "$graph"
fi

if (( failures > 0 )); then
    echo "check-layers-test: $failures of $cases cases failed"
    exit 1
fi
echo "check-layers-test: all $cases cases passed"
