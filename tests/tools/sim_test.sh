#!/usr/bin/env bash
# velmora-sim on the fixture scenario: runs are reproducible, a game saved
# midway and continued in a new process ends as the uninterrupted one, and
# bad input ends with status 2 and a message.
#   sim_test.sh BUILD_DIR TESTDATA_DIR
set -uo pipefail

sim="$1/velmora-sim"
scenario="$2/fixture/Fixture/fixture.snr"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
check() {  # check NAME COMMAND...
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
    fi
}

run() {  # run OUTPUT ARGS...: stdout to OUTPUT, status 0 expected
    local out=$1
    shift
    "$sim" "$scenario" "$@" >"$out" 2>"$out.err"
}

last_turn_reached() { tail -n 1 "$1" | grep -q '^{"turn":12,"hour":12,'; }
all_fleets_listed() { [ "$(tail -n 1 "$1" | grep -o '"index":' | wc -l)" -eq 25 ]; }

# Determinism, with and without the front-end calls.
check "events run" run "$work/a.txt" --seed 7 --events
check "events run again" run "$work/b.txt" --seed 7 --events
check "events runs are byte-identical" cmp -s "$work/a.txt" "$work/b.txt"
check "events are printed" grep -q $'^SetCaption\tVelmora 12ターン' "$work/a.txt"
check "plain run" run "$work/c.txt" --seed 7
check "plain run prints one line" [ "$(wc -l <"$work/c.txt")" -eq 1 ]
check "plain run ends like the events run" cmp -s <(tail -n 1 "$work/a.txt") "$work/c.txt"
check "full length reaches the last turn" last_turn_reached "$work/c.txt"
check "all fleets listed" all_fleets_listed "$work/c.txt"
check "another seed" run "$work/d.txt" --seed 8
check "--turns limits the run" run "$work/e.txt" --seed 7 --turns 3
check "--turns 3 ends at turn 4" grep -q '^{"turn":4,' "$work/e.txt"

# Save after four turn ends, continue in a new process.
check "run with a save" run "$work/saved.txt" --seed 7 --save-dir "$work/saves" --save-after 4 --save-slot 2
check "saving does not change the run" cmp -s "$work/saved.txt" "$work/c.txt"
check "slot written" test -f "$work/saves/Save2.dat"
check "continued run" run "$work/continued.txt" --seed 7 --save-dir "$work/saves" --load 2
check "continued run ends as the uninterrupted one" cmp -s "$work/continued.txt" "$work/c.txt"
check "continued with another set-up seed too" run "$work/continued8.txt" --seed 99 --save-dir "$work/saves" --load 2
check "the save decides, not the set-up seed" cmp -s "$work/continued8.txt" "$work/c.txt"

check "--version" [ "$("$sim" --version)" = "Velmora 1.00" ]
check "--help lists the options" sh -c '"$1" --help | grep -q -- "--save-slot"' sh "$sim"

# Bad input.
expect_status_2() {  # expect_status_2 STDERR_PATTERN ARGS...
    local pattern=$1
    shift
    "$sim" "$@" >/dev/null 2>"$work/err.txt"
    [ $? -eq 2 ] && grep -q -- "$pattern" "$work/err.txt"
}
check "no arguments" expect_status_2 "usage: velmora-sim" 
check "unknown option" expect_status_2 "usage: velmora-sim" "$scenario" --fast
check "bad seed" expect_status_2 "usage: velmora-sim" "$scenario" --seed x
check "negative seed" expect_status_2 "--seed: must not be negative" "$scenario" --seed -1
check "negative turns" expect_status_2 "--turns: must not be negative" "$scenario" --turns -3
check "save slot out of range" expect_status_2 "usage: velmora-sim" "$scenario" --save-after 1 --save-slot 6
check "save-after without slot" expect_status_2 "usage: velmora-sim" "$scenario" --save-after 1
mkdir -p "$work/broken/ShipData"
printf 'ターン三:\r\n' | iconv -f utf-8 -t cp932 >"$work/broken/bad.snr"
check "scenario error names file and line" expect_status_2 "^$work/broken/bad.snr:1: 数値ではありません: 三" "$work/broken/bad.snr"
check "missing scenario" expect_status_2 "^$work/none.snr: " "$work/none.snr"
check "empty slot" expect_status_2 "Save3.dat" "$scenario" --save-dir "$work/saves" --load 3

echo "sim_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
