#!/usr/bin/env bash
# Each folder of src/ is a layer and may use its own layer and the layers listed before it, never
# one after it: its includes, the libraries its CMakeLists.txt links, and those its tests link
# (tests/<layer>/CMakeLists.txt) all point downwards. Layers up to document link no Qt Widgets.
# Prints every use that points upwards.
# Usage: check_layers.sh <src directory> [<tests directory>]
set -u
src="$1"
tests="${2:-}"
layers=(imaging decoding settings platform document platformwidgets view dialogs browser fullscreen
        imagewindow shell app decoder)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}
document=$(rank document)

# The layers a CMakeLists.txt names as lumo-<layer> or lumo-testsupport-<layer>, one a line.
linked() {
    grep -v '^\s*#' "$1" | grep -oE '\blumo-(testsupport-)?[a-z]+' | sed -E 's/^lumo-(testsupport-)?//' | sort -u
}

# check_links <CMakeLists.txt> <layer> <name to print>
check_links() {
    local list="$1" layer="$2" shown="$3" own target
    own=$(rank "$layer")
    [ -f "$list" ] || return
    while read -r target; do
        [ "$(rank "$target")" -gt "$own" ] || continue
        echo "$shown links lumo-$target, a layer above $layer"
        fail=1
    done < <(linked "$list")
    if [ "$own" -le "$document" ] && grep -v '^\s*#' "$list" | grep -q 'Qt5::Widgets'; then
        echo "$shown links Qt Widgets, which no layer up to document may use"
        fail=1
    fi
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
    check_links "$dir/CMakeLists.txt" "$layer" "src/$layer/CMakeLists.txt"
done
if [ -n "$tests" ]; then
    for list in "$tests"/*/CMakeLists.txt; do
        layer=$(basename "$(dirname "$list")")
        [ "$(rank "$layer")" -ge 0 ] || continue
        check_links "$list" "$layer" "tests/$layer/CMakeLists.txt"
    done
fi
[ "$fail" -eq 0 ] && echo "layers: every include and link points downwards"
exit "$fail"
