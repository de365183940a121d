#!/usr/bin/env bash
# Set-up, build and run for Velmora on Debian 12.
#   tools/velmora.sh run    install what is missing, build, start the game on the demo scenario
#   tools/velmora.sh test   install what is missing, build, run every test
#   tools/velmora.sh build  install what is missing and build only
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${VELMORA_BUILD_DIR:-$root/build}"

packages=(
    # build
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev libgl-dev
    zlib1g-dev libfluidsynth-dev libsndfile1-dev libstb-dev libpcg-cpp-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    # run
    timgm6mb-soundfont gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    fonts-ipafont-mincho fonts-ipafont-gothic libgl1-mesa-dri qt6-translations-l10n
    # tests of the desktop program
    xvfb xauth xdotool imagemagick
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    echo "velmora: installing Debian packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${VELMORA_BUILD_TYPE:-RelWithDebInfo}" \
        -DVELMORA_WERROR=ON >/dev/null
    cmake --build "$build" -j "$(nproc)"
}

run_game() {
    local scenario="$root/scenarios/demo/Strait/strait.snr"
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
        "$build/velmora" "$scenario" "$@"
    else
        echo "no display: running the simulator instead"
        "$build/velmora-sim" "$scenario" "$@"
    fi
}

run_tests() {
    cd "$build"
    ctest --output-on-failure -j "$(nproc)"
}

cmd="${1:-}"
case "$cmd" in
    run) install_missing; configure_and_build; shift; run_game "$@" ;;
    test) install_missing; configure_and_build; run_tests ;;
    build) install_missing; configure_and_build ;;
    *) echo "usage: tools/velmora.sh run|test|build" >&2; exit 2 ;;
esac
