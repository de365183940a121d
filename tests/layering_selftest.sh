#!/usr/bin/env bash
# The layering check must fail on a planted Qt include or an upward include,
# and pass on a clean tree.
set -u
check="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/src/model" "$tmp/src/turn" "$tmp/src/chart" "$tmp/src/air" "$tmp/src/combat"
printf '#include <vector>\nint f();\n' > "$tmp/src/model/clean.cpp"
printf '#include "model/clean.h"\n#include "chart/geometry.h"\n' > "$tmp/src/air/down.cpp"
"$check" "$tmp" >/dev/null || { echo "clean tree was refused"; exit 1; }
printf '#include <QString>\n' > "$tmp/src/turn/planted.cpp"
if "$check" "$tmp" >/dev/null; then echo "planted Qt include was not caught"; exit 1; fi
rm "$tmp/src/turn/planted.cpp"
printf '  #  include "GL/gl.h"\n' > "$tmp/src/model/gl.cpp"
if "$check" "$tmp" >/dev/null; then echo "planted GL include was not caught"; exit 1; fi
rm "$tmp/src/model/gl.cpp"
printf '#include "turn/turn_sequence.h"\n' > "$tmp/src/chart/up.h"
if "$check" "$tmp" >/dev/null; then echo "an include up a floor was not caught"; exit 1; fi
rm "$tmp/src/chart/up.h"
printf '#include "combat/damage.h"\n' > "$tmp/src/air/up.cpp"
out=$("$check" "$tmp")
case "$out" in *"src/air/up.cpp:1: air includes combat/damage.h"*) ;; *) echo "the upward include was not named: $out"; exit 1 ;; esac
echo "layering check catches planted and upward includes"
