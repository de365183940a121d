#!/usr/bin/env bash
# The bundled demo scenario: velmora-check finds nothing in it, and
# velmora-sim plays it to its last turn for seeds 1 to 20.
#   demo_scenario_test.sh BUILD_DIR TESTDATA_DIR
set -uo pipefail

build="$1"
root="$(cd "$2/../.." && pwd)"
script="$root/scenarios/demo/Strait/strait.snr"
check="$build/velmora-check"
sim="$build/velmora-sim"

if [ ! -f "$script" ]; then
    echo "SKIP: $script does not exist yet: nothing to check"
    exit 0
fi
for tool in "$check" "$sim"; do
    [ -x "$tool" ] || { echo "FAIL: $tool is not built"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
fail() {
    echo "FAIL: $*"
    failed=$((failed + 1))
}

"$check" "$script" >"$work/check.txt" 2>&1
status=$?
if [ "$status" = 0 ] && [ "$(cat "$work/check.txt")" = "0 errors, 0 warnings" ]; then
    passed=$((passed + 1))
else
    fail "velmora-check on the demo scenario (status $status):"
    cat "$work/check.txt"
fi

last_turn=$(iconv -f CP932 -t UTF-8 "$script" | tr -d '\r' | sed -n 's/^ *終了 *: *\([0-9][0-9]*\).*/\1/p' | head -n 1)
if [ -z "$last_turn" ]; then
    fail "the demo script has no end section with its last turn"
    last_turn=0
fi

for seed in $(seq 1 20); do
    out="$work/sim-$seed.txt"
    "$sim" "$script" --seed "$seed" --save-dir "$work/saves" >"$out" 2>"$out.err"
    status=$?
    if [ "$status" != 0 ]; then
        fail "velmora-sim --seed $seed ended with status $status: $(tail -n 3 "$out.err")"
    elif [ "$(wc -l <"$out")" != 1 ] || ! grep -q "^{\"turn\":$last_turn,.*}\$" "$out"; then
        fail "velmora-sim --seed $seed did not print one JSON line at turn $last_turn: $(head -c 200 "$out")"
    else
        passed=$((passed + 1))
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
