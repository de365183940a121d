#!/usr/bin/env bash
# velmora-sim --batch on the fixture scenario: every seed is played, the
# table and the JSON agree with single runs, workers do not change results,
# and the automatic commander plays the player's side.
#   batch_test.sh BUILD_DIR TESTDATA_DIR
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

json_field() {  # json_field FILE PYTHON-EXPRESSION-ON-d
    python3 -c "import json,sys; d=json.load(open(sys.argv[1])); print($2)" "$1"
}

check "table run" sh -c '"$1" "$2" --batch 4 --jobs 2 --turns 6 >"$3"' sh "$sim" "$scenario" "$work/table.txt"
check "table counts the games" grep -q '^games: 4$' "$work/table.txt"
check "table lists the slowest turn end" grep -q '^slowest turn end (ms) ' "$work/table.txt"
check "json run" sh -c '"$1" "$2" --batch 4 --jobs 2 --turns 6 --json >"$3"' sh "$sim" "$scenario" "$work/two.json"
check "json lists every seed" [ "$(json_field "$work/two.json" "[g['seed'] for g in d['game_list']]")" = "[1, 2, 3, 4]" ]
check "one worker" sh -c '"$1" "$2" --batch 4 --jobs 1 --turns 6 --json >"$3"' sh "$sim" "$scenario" "$work/one.json"
check "workers do not change the games" [ "$(json_field "$work/one.json" "[(g['scores'], g['computer_distance']) for g in d['game_list']]")" = "$(json_field "$work/two.json" "[(g['scores'], g['computer_distance']) for g in d['game_list']]")" ]
"$sim" "$scenario" --seed 3 --turns 6 >"$work/single.txt"
check "a batch game is the single run of its seed" [ "$(json_field "$work/one.json" "d['game_list'][2]['scores']")" = "$(python3 -c "import json,sys; d=json.loads(open(sys.argv[1]).read()); print([d['player_score'], d['computer_score']])" "$work/single.txt")" ]
check "auto player batch" sh -c '"$1" "$2" --batch 3 --jobs 2 --turns 6 --auto-player >"$3"' sh "$sim" "$scenario" "$work/auto.txt"
check "auto player single run" sh -c '"$1" "$2" --seed 2 --turns 6 --auto-player >"$3"' sh "$sim" "$scenario" "$work/auto_single.txt"
check "--jobs needs --batch" sh -c '! "$1" "$2" --jobs 2 2>/dev/null' sh "$sim" "$scenario"
check "--batch 0 is refused" sh -c '! "$1" "$2" --batch 0 2>/dev/null' sh "$sim" "$scenario"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
