#!/usr/bin/env bash
# Set-up, build and run for Velmora on Debian 12.
#   tools/velmora.sh run    install what is missing, build, start the game on the demo scenario
#   tools/velmora.sh test   install what is missing, build, run every test
#   tools/velmora.sh build  install what is missing and build only
#   tools/velmora.sh check  the engine, its tests, the tools and the fuzz corpora under ASan and UBSan
#   tools/velmora.sh fuzz [SECONDS]  run every fuzz target that long (default 600), one at a time
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${VELMORA_BUILD_DIR:-$root/build}"
# The engine, its tests, the tools and the fuzz targets under ASan and UBSan.
checked="${VELMORA_CHECKED_BUILD_DIR:-$root/build-checked}"

packages=(
    # build
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev libgl-dev
    zlib1g-dev libfluidsynth-dev libsndfile1-dev libstb-dev libpcg-cpp-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    # the sanitizer build and the fuzz targets
    clang libclang-rt-14-dev
    # run
    timgm6mb-soundfont gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    fonts-ipafont-mincho fonts-ipafont-gothic libgl1-mesa-dri
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

configure_and_build_checked() {
    CC=clang CXX=clang++ cmake -S "$root" -B "$checked" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON \
        -DVELMORA_WITH_QT=OFF >/dev/null
    cmake --build "$checked" -j "$(nproc)"
}

sanitizer_environment() {
    export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
}

run_checked_tests() {
    sanitizer_environment
    cd "$checked"
    ctest --output-on-failure -j "$(nproc)"
}

# Each target runs alone, niced; a crash is written into its corpus folder,
# where it stays as a regression case.
run_fuzzers() {
    local seconds="${1:-600}"
    sanitizer_environment
    local work="$checked/fuzz-work"
    for source in "$root"/tests/fuzz/*_fuzz.cpp; do
        local name
        name=$(basename "$source" _fuzz.cpp)
        local corpus="$root/tests/fuzz/corpus/$name"
        mkdir -p "$work/$name" "$corpus"
        echo "fuzz: $name for ${seconds}s"
        nice "$checked/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=4194304 -print_final_stats=1 \
            -artifact_prefix="$corpus/crash-" "$work/$name" "$corpus"
    done
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
    check) install_missing; configure_and_build_checked; run_checked_tests ;;
    fuzz) install_missing; configure_and_build_checked; shift; run_fuzzers "$@" ;;
    build) install_missing; configure_and_build ;;
    *) echo "usage: tools/velmora.sh run|test|build|check|fuzz [SECONDS]" >&2; exit 2 ;;
esac
