#!/usr/bin/env bash
# Keeps the program's floors apart:
#  - the engine folders include no Qt or OpenGL header, so the rules build and
#    run without a window system;
#  - a folder includes only folders on floors below its own, never one that
#    includes it back.
set -u
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

# Bottom to top. Folders on one line share a floor and may not include each other.
floors=(
    "files"
    "model"
    "frontend view3d/pure"
    "chart"
    "air"
    "combat"
    "enemy"
    "turn"
    "scenario"
    "orders"
    "sim"
    "ui"
    "media view3d/gl"
    "map"
    "app"
)
engine=(files model frontend view3d/pure chart air combat enemy turn scenario orders sim)

declare -A floor_of
for i in "${!floors[@]}"; do
    for d in ${floors[$i]}; do floor_of[$d]=$i; done
done

status=0
dirs=()
for d in "${engine[@]}"; do
    [ -d "$root/src/$d" ] && dirs+=("$root/src/$d")
done
[ ${#dirs[@]} -gt 0 ] || { echo "check_layering: no engine folders under $root/src" >&2; exit 2; }
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|GL/|GLES[0-9]*/|EGL/|epoxy/)'
hits=$(grep -rnE "$pattern" "${dirs[@]}" 2>/dev/null)
if [ -n "$hits" ]; then
    echo "Qt or OpenGL headers included in engine folders:"
    echo "$hits"
    status=1
fi

# The folder a file belongs to: view3d has two floors of its own.
folder_of() {
    local rel="$1"
    case "$rel" in
        view3d/pure/*) echo view3d/pure ;;
        view3d/gl/*) echo view3d/gl ;;
        *) echo "${rel%%/*}" ;;
    esac
}

upward=""
while IFS= read -r -d '' file; do
    rel="${file#"$root/src/"}"
    own=$(folder_of "$rel")
    [ -n "${floor_of[$own]+x}" ] || continue
    while IFS=: read -r line target; do
        [ -n "$target" ] || continue
        other=$(folder_of "$target")
        [ "$other" = "$own" ] && continue
        [ -n "${floor_of[$other]+x}" ] || continue
        if [ "${floor_of[$other]}" -ge "${floor_of[$own]}" ]; then
            upward+="src/$rel:$line: $own includes $target (same floor or above)"$'\n'
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z0-9_]+/' "$file" \
                 | sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/')
done < <(find "$root/src" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if [ -n "$upward" ]; then
    echo "includes that run up or across floors:"
    printf '%s' "$upward"
    status=1
fi
[ $status -eq 0 ] && echo "engine folders are free of Qt and OpenGL (${#dirs[@]} folders checked); every include runs down a floor"
exit $status
