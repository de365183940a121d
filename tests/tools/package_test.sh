#!/usr/bin/env bash
# `cpack -G DEB` makes a package that depends on Debian's run-time packages,
# and what it unpacks runs: the simulator plays the packaged demo.
#   package_test.sh BUILD_DIR TESTDATA_DIR
set -uo pipefail

build=$(cd "$1" && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (Debian packages cmake, dpkg-dev)"
        exit 77
    fi
done
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

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/out/velmora_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6multimedia6 libfluidsynth3 libsndfile1 timgm6mb-soundfont \
    gstreamer1.0-plugins-good fonts-ipafont-gothic libgl1-mesa-dri qt6-qpa-plugins; do
    check "depends on $package" grep -q "\b$package\b" <<<"$depends"
done
check "section games" [ "$(dpkg-deb -f "$deb" Section)" = games ]

dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
check "programs unpacked" test -x "$usr/bin/velmora" -a -x "$usr/bin/velmora-sim" -a -x "$usr/bin/velmora-check"
check "desktop entry unpacked" test -s "$usr/share/applications/velmora.desktop"
cd "$work"
check "unpacked simulator plays the unpacked demo" sh -c '"$1" --demo --seed 5 --turns 3 >"$2"' sh "$usr/bin/velmora-sim" "$work/run.txt"
check "... to turn 4" grep -q '^{"turn":4,' "$work/run.txt"
check "... from the unpacked scenario folder" test -s "$usr/share/velmora/scenarios/demo/Strait/strait.snr"

echo "package_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
