#!/usr/bin/env bash
# Starts velmora on a scenario under Xvfb, answers the start-up windows as a
# player would, and checks the caption and that the map is drawn.
#   e2e_test.sh BUILD_DIR SCENARIO.snr
# Exits 77 (skipped) when the tools for a desktop under Xvfb are missing.
set -uo pipefail

build="$1"
scenario="$2"

if ! command -v xvfb-run >/dev/null; then
    echo "SKIP: xvfb-run is missing (Debian package xvfb): the desktop test cannot run"
    exit 77
fi
for tool in xdotool import identify convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing: the desktop test cannot run"
        exit 77
    fi
done

if [ "${VELMORA_E2E_INNER:-}" != 1 ]; then
    export VELMORA_E2E_INNER=1
    # A start number of our own keeps parallel Xvfb runs from racing for :99.
    exec xvfb-run -a -n $((200 + $$ % 600)) -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" VELMORA_NO_AUDIO_DEVICE=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

"$build/velmora" "$scenario" --seed 1 >"$work/velmora.log" 2>&1 &
pid=$!

finish() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    echo "--- velmora output"
    cat "$work/velmora.log"
    exit "$1"
}

# The start events may show messages, captions and a conversation: press
# the default button and click through the conversation until the caption
# of turn 1 appears.
caption_window=""
for _ in $(seq 1 60); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "FAIL: velmora ended early"
        finish 1
    fi
    caption_window=$(xdotool search --name "Velmora [0-9]+ターン" 2>/dev/null | head -n1)
    [ -n "$caption_window" ] && break
    talk=$(xdotool search --onlyvisible --name "^会話$" 2>/dev/null | head -n1)
    if [ -n "$talk" ]; then
        xdotool mousemove --window "$talk" 300 60 click 1 2>/dev/null
    else
        xdotool key --clearmodifiers Return 2>/dev/null
    fi
    sleep 1
done

if [ -z "$caption_window" ]; then
    echo "FAIL: no window with the caption \"Velmora 1ターン\""
    xdotool search --name "." getwindowname %@ 2>/dev/null | sed 's/^/window: /'
    import -window root "$work/fail.png" && cp "$work/fail.png" "${TMPDIR:-/tmp}/velmora-e2e-fail.png"
    finish 1
fi
caption=$(xdotool getwindowname "$caption_window")
echo "caption: $caption"
if ! [[ "$caption" =~ ^Velmora\ [0-9]+ターン\ [0-9]+時\ (夜間|払暁|昼間|薄暮)\ X:[0-9]+\ Y:[0-9]+$ ]]; then
    echo "FAIL: unexpected caption"
    finish 1
fi

sleep 1
import -window root "$work/screen.png"
# The map area of the main window (790 x 545 below the menu bar).
eval "$(xdotool getwindowgeometry --shell "$caption_window")"
convert "$work/screen.png" -crop "790x500+$((X + 0))+$((Y + 40))" +repage "$work/map.png"
colours=$(identify -format %k "$work/map.png")
echo "colours in the map area: $colours"
if [ "${colours:-0}" -lt 16 ]; then
    echo "FAIL: the map area is (nearly) uniform"
    cp "$work/screen.png" "${TMPDIR:-/tmp}/velmora-e2e-fail.png"
    finish 1
fi

[ -n "${VELMORA_E2E_SCREENSHOT:-}" ] && cp "$work/screen.png" "$VELMORA_E2E_SCREENSHOT"
# "ゲ－ム" -> "終了" (the last item of the menu).
xdotool mousemove --window "$caption_window" 28 10 click 1
sleep 0.5
xdotool key Up Return
for _ in $(seq 1 10); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: velmora did not end when its window closed"
    finish 1
fi
echo "1 passed, 0 failed"
finish 0
