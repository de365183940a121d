#!/usr/bin/env bash
# `cmake --install` into an empty folder gives a tree a desktop and a
# packager accept, and the installed programs find their own data wherever
# the tree is and whatever the current folder is.
#   install_test.sh BUILD_DIR TESTDATA_DIR
set -uo pipefail

build=$(cd "$1" && pwd)
demo="$(cd "$(dirname "$0")/../.." && pwd)/scenarios/demo/Strait/strait.snr"
for tool in desktop-file-validate appstreamcli man identify; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (tools/velmora.sh installs it)"
        exit 77
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

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

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
    cat "$work/install.log"
    exit 1
}
share="$prefix/share"

check "desktop entry is valid" desktop-file-validate "$share/applications/velmora.desktop"
check "metainfo is valid" sh -c 'appstreamcli validate --no-net "$1" >/dev/null' sh "$share/metainfo/io.github.velmora.velmora.metainfo.xml"
check "scalable icon" test -s "$share/icons/hicolor/scalable/apps/velmora.svg"
for size in 48 128 256; do
    check "${size} px icon" [ "$(identify -format '%wx%h' "$share/icons/hicolor/${size}x${size}/apps/velmora.png")" = "${size}x${size}" ]
done
for page in velmora velmora-sim velmora-check; do
    check "man page $page" sh -c 'MANWIDTH=80 man -l "$1" 2>/dev/null | grep -q "^NAME"' sh "$share/man/man6/$page.6"
done

# Run from elsewhere, without a display.
cd "$work"
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
for program in velmora velmora-sim velmora-check; do
    check "$program --version" [ "$("${nodisplay[@]}" "$prefix/bin/$program" --version)" = "Velmora 1.00" ]
done
check "velmora --help" sh -c '"$@" --help | grep -q -- "--demo"' sh "${nodisplay[@]}" "$prefix/bin/velmora"
expect_status_2() {  # expect_status_2 STDERR_PATTERN ARGS...
    local pattern=$1
    shift
    "${nodisplay[@]}" "$prefix/bin/velmora" "$@" >/dev/null 2>"$work/err.txt"
    [ $? -eq 2 ] && grep -q -- "$pattern" "$work/err.txt"
}
check "velmora: unknown option" expect_status_2 "Unknown option 'fast'" --fast
check "velmora: bad seed" expect_status_2 "whole number" --seed -4
check "velmora: two scenarios" expect_status_2 "one scenario at a time" a.snr b.snr
check "velmora: scenario and --demo" expect_status_2 "not both" --demo a.snr

# The installed simulator plays the installed demo as the build does the source one.
check "installed demo plays 5 turns" sh -c '"$1" --demo --seed 3 --turns 5 >"$2"' sh "$prefix/bin/velmora-sim" "$work/installed.txt"
check "... reaching turn 6" grep -q '^{"turn":6,' "$work/installed.txt"
"$build/velmora-sim" "$demo" --seed 3 --turns 5 >"$work/built.txt"
check "... as the built simulator" cmp -s "$work/installed.txt" "$work/built.txt"
check "installed demo checks clean" sh -c '"$1" "$2" >/dev/null' sh "$prefix/bin/velmora-check" "$share/velmora/scenarios/demo"

# The tree is relocatable: moved elsewhere, it still finds its demo.
mv "$prefix" "$work/moved"
check "moved tree plays the demo" sh -c '"$1" --demo --seed 3 --turns 5 | cmp -s - "$2"' sh "$work/moved/bin/velmora-sim" "$work/built.txt"
rm "$work/moved/share/velmora/scenarios/demo/ship.dat"
"$work/moved/bin/velmora-sim" --demo --turns 1 >/dev/null 2>"$work/err.txt"
check "... and reads the moved copy, not another" grep -q "moved/share/velmora/scenarios/demo/ship.dat" "$work/err.txt"

echo "install_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
