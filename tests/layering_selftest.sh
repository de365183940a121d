#!/usr/bin/env bash
# The layering check must fail on a planted Qt include and pass on a clean tree.
set -u
check="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/src/model" "$tmp/src/turn"
printf '#include <vector>\nint f();\n' > "$tmp/src/model/clean.cpp"
"$check" "$tmp" >/dev/null || { echo "clean tree was refused"; exit 1; }
printf '#include <QString>\n' > "$tmp/src/turn/planted.cpp"
if "$check" "$tmp" >/dev/null; then echo "planted Qt include was not caught"; exit 1; fi
rm "$tmp/src/turn/planted.cpp"
printf '  #  include "GL/gl.h"\n' > "$tmp/src/model/gl.cpp"
if "$check" "$tmp" >/dev/null; then echo "planted GL include was not caught"; exit 1; fi
echo "layering check catches planted includes"
