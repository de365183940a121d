#!/usr/bin/env bash
# velmora-check over the test scenario: run as check_test.sh BUILD_DIR TESTDATA_DIR.
set -u
build="$1"
data="$2"
check="$build/velmora-check"
fixture="$data/fixture"
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
out="$tmp/out"
mkdir -p "$out"

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# run NAME ARG...: runs the checker, keeping its output in $out/NAME and its exit code in $out/NAME.rc.
run() {
    local name="$1"
    shift
    "$check" "$@" >"$out/$name" 2>&1
    echo $? >"$out/$name.rc"
}

expect_exit() {
    local got
    got=$(cat "$out/$1.rc")
    [ "$got" = "$2" ] || fail "$1: exit code $got, expected $2"
}

expect_line() {
    grep -qE -- "$2" "$out/$1" || fail "$1: no line matching '$2'"
}

expect_no_line() {
    if grep -qE -- "$2" "$out/$1"; then fail "$1: unexpected line matching '$2'"; fi
}

[ -x "$check" ] || { echo "FAIL: $check is not built"; exit 1; }

# A clean scenario prints only its findings and the count: the fixture's one
# deliberate finding is a fleet index the table cannot hold.
run plain "$fixture"
expect_exit plain 0
[ "$(cat "$out/plain")" = "Fixture/ShipData/a0.dat:10: warning: 艦隊番号 30 は 0～24 の範囲外のため、この行は読み込みません
0 errors, 1 warnings" ] || fail "plain: unexpected output: $(cat "$out/plain")"

# With --verbose, what each file gave; the snr folder, the scenario folder
# and the script give the same report.
run snr_folder --verbose "$fixture/Fixture/"
run scenario_folder --verbose "$fixture"
run snr_file --verbose "$fixture/Fixture/fixture.snr"
for name in snr_folder scenario_folder snr_file; do
    expect_exit "$name" 0
    expect_line "$name" '^plane\.dat: 5 aircraft types: F-7蒼燕, A-4白隼, E-2遠鳴, S-5潮守, SSM-7$'
    expect_line "$name" '^ship\.dat: 8 ship classes: 天鷹\(空母\), 雷峰\(戦艦\), .*翠鳳\(空母\)$'
    expect_line "$name" '^Fixture/ShipData/j0\.dat: 3 fleets, 11 ships: 第一艦隊 \[0\]: 5 ships, speed 28; 第二艦隊 \[1\]: 4 ships, speed 27; 基地 \[12\]: 2 ships, speed 0$'
    expect_line "$name" '^Fixture/ShipData/a0\.dat: 4 fleets, 11 ships: .*基地 \[24\]: 2 ships'
    expect_line "$name" '^Fixture/ShipData/a11\.dat: '
    expect_line "$name" '^0 errors, 1 warnings$'
done
cmp -s "$out/snr_folder" "$out/scenario_folder" || fail "snr folder and scenario folder reports differ"
cmp -s "$out/snr_folder" "$out/snr_file" || fail "the .snr report differs from the folder report"

# A broken copy fails with status 1 and says where.
mkdir -p "$tmp/broken"
cp -r "$fixture/." "$tmp/broken/"
rm "$tmp/broken/Wave/hit.wav" "$tmp/broken/ship.dat"
run broken "$tmp/broken/Fixture/fixture.snr"
expect_exit broken 1
expect_line broken '^ship\.dat: error: ファイルがありません$'
expect_line broken '^Fixture/fixture\.snr:13: error: Wave/hit\.wav: ファイルがありません$'
expect_line broken '^[0-9]+ errors, [0-9]+ warnings$'

# A path that does not exist.
run nothing "$tmp/does-not-exist"
expect_exit nothing 1
expect_line nothing 'does-not-exist: error: ファイルがありません$'

# No scenario named: usage and status 2.
run usage
expect_exit usage 2
expect_line usage '^usage: velmora-check'

run version --version
expect_exit version 0
[ "$(cat "$out/version")" = "Velmora 1.00" ] || fail "version: $(cat "$out/version")"

if [ "$failures" -gt 0 ]; then
    echo "velmora-check: $failures check(s) failed"
    exit 1
fi
echo "velmora-check reports the test scenario as expected"
