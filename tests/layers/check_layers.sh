#!/usr/bin/env bash
# Each folder of src/ is a layer and may include headers of its own layer and of the layers
# listed before it, never of one after it. Prints every include that points upwards.
# Usage: check_layers.sh <src directory>
set -u
src="$1"
layers=(imaging decoding platform settings document view dialogs browser fullscreen imagewindow shell app decoder)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

fail=0
for dir in "$src"/*/; do
    layer=$(basename "$dir")
    own=$(rank "$layer")
    if [ "$own" -lt 0 ]; then
        echo "src/$layer is in no layer: add it to the list in $0"
        fail=1
        continue
    fi
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
        theirs=$(rank "$target")
        if [ "$theirs" -gt "$own" ]; then
            echo "${file#"$src"/}:$line includes a header of $target, a layer above $layer: $text"
            fail=1
        fi
    done < <(grep -rnE '^\s*#\s*include\s+"[^/"]+/' "$dir" --include='*.h' --include='*.cpp')
done
[ "$fail" -eq 0 ] && echo "layers: every include points downwards"
exit "$fail"
