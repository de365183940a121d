#!/usr/bin/env bash
# velmora-sim --orders on the demo scenario with the documented example
# script: search aircraft take off, computer fleets are found and named, a
# strike is launched and lands again; runs are reproducible; a game saved
# while the strike is in the air continues to the same end; bad scripts are
# refused before anything is played.
#   orders_test.sh BUILD_DIR TESTDATA_DIR
set -uo pipefail

sim="$1/velmora-sim"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
scenario="$source_dir/scenarios/demo/Strait/strait.snr"
script="$source_dir/docs/examples/strait-air.orders"
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

run() {  # run OUTPUT ARGS...
    local out=$1
    shift
    "$sim" "$scenario" --seed 3 --orders "$script" "$@" >"$out" 2>"$out.err"
}

check "example script runs" run "$work/a.txt" --turns 12 --events
check "example script runs again" run "$work/b.txt" --turns 12 --events
check "same seed and script give the same bytes" cmp -s "$work/a.txt" "$work/b.txt"
check "the script gives no warnings" test ! -s "$work/a.txt.err"
check "search aircraft take off" grep -q $'^Air\t.*\t索敵 [1-9]' "$work/a.txt"
check "a computer fleet is found and named" grep -q $'^MessageOk\t触接\t.*この敵艦隊を' "$work/a.txt"
check "a strike is launched" grep -q $'^PlayMovie\tlaunch.ogv\t.*第1攻撃隊発艦します！' "$work/a.txt"
lands_again() {  # a returning group is idle again at a later turn
    awk -F'\t' '/^Air\t/ && /第一次攻撃隊 帰還中/ { back = 1 } back && /^Air\t/ && /第一次攻撃隊 通常 0\/0\/0/ { ok = 1 } END { exit !ok }' "$1"
}
check "the strike lands again" lands_again "$work/a.txt"

# Saved after the turn end that sent the strike out: it is returning then,
# with patrol and search aircraft aloft.
check "run with a save in the air" run "$work/saved.txt" --turns 12 --save-dir "$work/saves" --save-after 6 --save-slot 1
check "continued run" run "$work/continued.txt" --turns 6 --save-dir "$work/saves" --load 1
check "continued run ends as the uninterrupted one" cmp -s <(tail -n 1 "$work/continued.txt") <(tail -n 1 "$work/saved.txt")
check "the uninterrupted run ends as the events run" cmp -s <(tail -n 1 "$work/saved.txt") <(tail -n 1 "$work/a.txt")

expect_status_2() {  # expect_status_2 PATTERN SCRIPT_TEXT
    printf '%s' "$2" >"$work/bad.orders"
    "$sim" "$scenario" --seed 3 --orders "$work/bad.orders" >"$work/out.txt" 2>"$work/err.txt"
    [ $? -eq 2 ] && grep -q -- "$1" "$work/err.txt" && [ ! -s "$work/out.txt" ]
}
check "unknown order" expect_status_2 "^$work/bad.orders:3: error: unknown order 'fly'" $'turn 1\nselect 0\nfly 1\n'
check "order before a turn" expect_status_2 "^$work/bad.orders:1: error: 'select' comes before" $'select 0\n'
"$sim" "$scenario" --seed 3 --orders "$work/none.orders" >/dev/null 2>"$work/err.txt"
check "a missing script ends with status 2" [ $? -eq 2 ]
check "a missing script is named" grep -q "^$work/none.orders: error: " "$work/err.txt"

printf 'turn 1\nselect 0\nlaunch\nattack 1\ndecide\n' >"$work/refused.orders"
"$sim" "$scenario" --seed 3 --turns 1 --orders "$work/refused.orders" >/dev/null 2>"$work/err.txt"
check "a refused order is a warning and the run goes on" [ $? -eq 0 ]
check "the warning names file and line" grep -q "^$work/refused.orders:4: warning: attack: " "$work/err.txt"

echo "orders_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
