#!/bin/bash
# Makes the benchmark's test photos: 24-MP JPEGs that compress like photos (a plasma fractal
# with noise), each with squares of its own flat colour spread over the picture, so the probe
# can tell which picture is on screen at any zoom and any scroll position.
# Usage: make-photos.sh DIR   (makes DIR/folder/p00.jpg..p11.jpg and DIR/one/p00.jpg)
set -euo pipefail
dir=$1
colours=(ff00ff 00ffff ffff00 ff0000 00ff00 0000ff ff8000 8000ff 00ff80 ff0080 80ff00 0080ff)
[ -f "$dir/done" ] && exit 0
mkdir -p "$dir/folder" "$dir/one"
base="$dir/base.miff"
# Drawn small and enlarged: a full-size plasma takes minutes.
convert -size 1500x1000 -seed 7 plasma:fractal -resize '6000x4000!' \
    -attenuate 0.25 +noise Gaussian "$base"
squares=""
for ((y = 200; y < 4000; y += 1000)); do
    for ((x = 200; x < 6000; x += 1000)); do
        squares+="rectangle $x,$y $((x + 399)),$((y + 399)) "
    done
done
for i in "${!colours[@]}"; do
    name=$(printf 'p%02d.jpg' "$i")
    # Each picture is the base moved by its own offset, so no two decode alike.
    convert "$base" -roll "+$((i * 457))+$((i * 311))" -fill "#${colours[$i]}" \
        -draw "$squares" -quality 90 "$dir/folder/$name"
done
cp "$dir/folder/p00.jpg" "$dir/one/p00.jpg"
printf '%s\n' "${colours[@]}" > "$dir/colours"
rm -f "$base"
touch "$dir/done"
