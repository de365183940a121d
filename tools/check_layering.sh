#!/usr/bin/env bash
# Fails when an engine folder includes a Qt or OpenGL header: the engine must
# build and run without any window system.
set -u
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
dirs=()
for d in model scenario turn air combat enemy frontend orders sim view3d/pure; do
    [ -d "$root/src/$d" ] && dirs+=("$root/src/$d")
done
[ ${#dirs[@]} -gt 0 ] || { echo "check_layering: no engine folders under $root/src" >&2; exit 2; }
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|GL/|GLES[0-9]*/|EGL/|epoxy/)'
hits=$(grep -rnE "$pattern" "${dirs[@]}" 2>/dev/null)
if [ -n "$hits" ]; then
    echo "Qt or OpenGL headers included in engine folders:"
    echo "$hits"
    exit 1
fi
echo "engine folders are free of Qt and OpenGL (${#dirs[@]} folders checked)"
