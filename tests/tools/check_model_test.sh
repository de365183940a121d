#!/usr/bin/env bash
# velmora-check --model: every model of the demo, one written in another
# tool's style, and files that must be refused with file and line.
#   check_model_test.sh BUILD_DIR TESTDATA_DIR
set -u
build="$1"
data="$2"
check="$build/velmora-check"
demo="$data/../../scenarios/demo/3Dimage"
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

count=0
for model in "$demo"/*.mqo; do
    out=$("$check" --model "$model" 2>&1) || fail "$(basename "$model"): $out"
    [[ "$out" =~ ^objects\ [1-9][0-9]*\ materials\ [0-9]+\ triangles\ [1-9][0-9]*\ vertices\ [1-9][0-9]*$ ]] ||
        fail "$(basename "$model"): unexpected output: $out"
    count=$((count + 1))
done
[ "$count" -gt 20 ] || fail "only $count demo models found"

out=$("$check" --model "$data/models/other_tool.mqo" 2>&1) || fail "other_tool.mqo: $out"
[ "$out" = "objects 1 materials 2 triangles 11 vertices 21" ] || fail "other_tool.mqo: $out"

printf 'Metasequoia Document\nFormat Text Ver 1.0\nObject "x" {\n\tvertex 1 {\n\t\t0 zero 0\n\t}\n}\nEof\n' >"$tmp/bad.mqo"
out=$("$check" --model "$tmp/bad.mqo" 2>&1) && fail "bad.mqo was accepted"
[ "$out" = "bad.mqo 5行目: 数値ではありません: zero" ] || fail "bad.mqo: $out"

out=$("$check" --model "$tmp/none.mqo" 2>&1) && fail "a missing file was accepted"
[[ "$out" == *"ファイルがありません"* ]] || fail "none.mqo: $out"

[ "$failures" -eq 0 ] && echo "check --model: $count demo models and the refusals as expected"
exit $((failures > 0))
