#!/usr/bin/env bash
# Runs the GL tests of the 3D viewer under Xvfb (Mesa's llvmpipe draws).
#   under_xvfb.sh TEST_BINARY
# Exits 77 (skipped) when xvfb-run is missing.
set -uo pipefail
if ! command -v xvfb-run >/dev/null; then
    echo "SKIP: xvfb-run is missing (Debian package xvfb): the GL tests cannot run"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb
chmod 700 "$work"
# A start number of our own keeps parallel Xvfb runs from racing for :99.
exec xvfb-run -a -n $((300 + $$ % 500)) -s "-screen 0 1024x768x24" "$1"
