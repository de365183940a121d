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

# run NAME ARG: runs the checker, keeping its output in $out/NAME and its exit code in $out/NAME.rc.
run() {
    "$check" "$2" >"$out/$1" 2>&1
    echo $? >"$out/$1.rc"
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

# The fixture's snr folder, and the scenario folder above it, give the same report.
run snr_folder "$fixture/Fixture/"
run scenario_folder "$fixture"
for name in snr_folder scenario_folder; do
    expect_exit "$name" 0
    expect_line "$name" '^plane\.dat: 5 aircraft types: F-7蒼燕, A-4白隼, E-2遠鳴, S-5潮守, SSM-7$'
    expect_line "$name" '^ship\.dat: 8 ship classes: 天鷹\(空母\), 雷峰\(戦艦\), .*翠鳳\(空母\)$'
    expect_line "$name" '^Fixture/ShipData/j0\.dat: 3 fleets, 11 ships: 第一艦隊 \[0\]: 5 ships, speed 28; 第二艦隊 \[1\]: 4 ships, speed 27; 基地 \[12\]: 2 ships, speed 0$'
    expect_line "$name" '^Fixture/ShipData/a0\.dat: 4 fleets, 11 ships: .*基地 \[24\]: 2 ships'
    expect_line "$name" '^Fixture/ShipData/j11\.dat: '
    expect_line "$name" '^Fixture/ShipData/a11\.dat: '
    expect_line "$name" '^Fixture/ShipData/a0\.dat:10: warning: 艦隊番号 30 '
    expect_no_line "$name" 'error'
    [ "$(grep -c 'warning' "$out/$name")" = 1 ] || fail "$name: expected exactly one warning"
done
cmp -s "$out/snr_folder" "$out/scenario_folder" || fail "snr folder and scenario folder reports differ"

# Given the script file, the folder above its folder holds the unit data.
mkdir -p "$tmp/copy"
cp -r "$fixture/." "$tmp/copy/"
touch "$tmp/copy/Fixture/test.snr"
run snr_file "$tmp/copy/Fixture/test.snr"
expect_exit snr_file 0
cmp -s "$out/snr_folder" "$out/snr_file" || fail "the .snr report differs from the folder report"

# Windows letter case: SHIPDATA, J0.DAT, Plane.Dat are found.
mkdir -p "$tmp/cased"
cp -r "$fixture/." "$tmp/cased/"
mv "$tmp/cased/plane.dat" "$tmp/cased/Plane.Dat"
mv "$tmp/cased/Fixture/ShipData" "$tmp/cased/Fixture/SHIPDATA"
mv "$tmp/cased/Fixture/SHIPDATA/j0.dat" "$tmp/cased/Fixture/SHIPDATA/J0.DAT"
run cased "$tmp/cased"
expect_exit cased 0
expect_line cased '^Plane\.Dat: 5 aircraft types'
expect_line cased '^Fixture/SHIPDATA/J0\.DAT: 3 fleets'

# A scenario folder without ship.dat fails and names the file.
mkdir -p "$tmp/noship"
cp -r "$fixture/." "$tmp/noship/"
rm "$tmp/noship/ship.dat"
run noship "$tmp/noship"
expect_exit noship 1
expect_line noship '^ship\.dat: error: ファイルがありません$'
expect_line noship '^plane\.dat: 5 aircraft types'

# A missing side file fails too.
rm "$tmp/noship/Fixture/ShipData/a7.dat"
cp "$fixture/ship.dat" "$tmp/noship/ship.dat"
run noside "$tmp/noship"
expect_exit noside 1
expect_line noside '^Fixture/ShipData/a7\.dat: error: ファイルがありません$'

# A path that does not exist.
run nothing "$tmp/does-not-exist"
expect_exit nothing 1
expect_line nothing 'does-not-exist: error: ファイルがありません$'

if [ "$failures" -gt 0 ]; then
    echo "velmora-check: $failures check(s) failed"
    exit 1
fi
echo "velmora-check reports the test scenario as expected"
