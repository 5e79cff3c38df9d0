#!/usr/bin/env bash
# End to end on a real X server: the binary starts, answers --version and --help (without a
# display too), refuses nonsense and shows pictures full screen until Escape; the desktop tools
# beside it answer --help; the main window starts in files mode or with pictures, switches modes
# and quits with Ctrl+Q.
set -u
bin="$1"
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

out=$("$bin" --version 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q '1\.6\.2' <<<"$out"

out=$("$bin" --help 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q 'Run in fullscreen view mode' <<<"$out"
check grep -q 'Open directory' <<<"$out"

# On a terminal without any display (ssh without X) they answer all the same.
no_display() { env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$@"; }
out=$(no_display "$bin" --version 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q '1\.6\.2' <<<"$out"
out=$(no_display "$bin" --help 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q 'Open directory' <<<"$out"

"$bin" --no-such-option >/dev/null 2>&1; rc=$?
check [ "$rc" -ne 0 ]

# The desktop tools are built beside the program.
tools=$(dirname "$bin")
out=$("$tools/lumo-fops" --help 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q -- '--trash' <<<"$out"

out=$("$tools/lumo-props" --help 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q -- '--show' <<<"$out"

out=$("$bin" -f /nonexistent/none.png 2>&1); rc=$?
check [ "$rc" -eq 1 ]
check grep -q 'No image files' <<<"$out"
check grep -q '/nonexistent/none.png: No such file or directory' <<<"$out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 64x40 xc:'#ff8000' "$work/a.png"
convert -size 40x64 xc:'#0080ff' "$work/b.png"

screen=$(xwininfo -root | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
"$bin" -f "$work/a.png" "$work/b.png" &
pid=$!
# The view's window covers the screen and, in its middle, shows the first picture (fit).
shown=0
for _ in $(seq 50); do
    if xwininfo -root -tree | grep '("lumo-image" "lumo-image")' | grep -q " ${screen}+0+0"; then
        import -window root "$work/screen.png" 2>/dev/null
        centre=$(convert "$work/screen.png" -format "%[hex:p{${screen%x*}/2,${screen#*x}/2}]" info: 2>/dev/null)
        if [ "${centre:0:6}" = "FF8000" ]; then shown=1; break; fi
    fi
    sleep 0.2
done
check [ "$shown" -eq 1 ]

xdotool key Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && kill -TERM "$pid"
wait "$pid"; rc=$?
check [ "$rc" -eq 0 ]

# The main window, in a home of its own so the first start gets the default geometry: two
# thirds of the screen each way, wider where the tool bars need it, left to the window manager
# to place (here none: the origin).
# SMOKE_SHOTS names a folder that keeps the screenshots of each state for a person to look at.
shots=${SMOKE_SHOTS:-$work/shots}
mkdir -p "$shots" "$work/home"
run_home() { HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" "$@"; }
conf="$work/home/.config/lumo/lumo-image.conf"

# Waits until a visible lumo-image window of a size matching the pattern is mapped, then keys go
# to it; found_size is its size.
wait_window() {
    for _ in $(seq 50); do
        found_size=$(xwininfo -root -tree | grep '("lumo-image" "lumo-image")' \
            | grep -oE " $1\+" | head -n 1 | tr -d ' +')
        if [ -n "$found_size" ]; then
            xdotool mousemove 300 250
            win=$(xdotool search --onlyvisible --name '^lumo-image' | head -n 1)
            [ -n "$win" ] && xdotool windowfocus --sync "$win" 2>/dev/null
            return 0
        fi
        sleep 0.2
    done
    return 1
}
# Waits until the window found by wait_window has the given title.
title_is() {
    for _ in $(seq 25); do
        [ "$(xdotool getwindowname "$win" 2>/dev/null)" = "$1" ] && return 0
        sleep 0.2
    done
    echo "title: $(xdotool getwindowname "$win" 2>/dev/null)"
    return 1
}
# Pixels of one colour on the screen, after the screen has settled.
count_colour() {
    sleep 0.5
    import -window root "$shots/$2.png" 2>/dev/null
    convert "$shots/$2.png" -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}
# "&View" opens on "Files", and "Images" is the next entry.
show_mode() {
    xdotool key alt+v
    sleep 0.3
    [ "$1" = images ] && xdotool key Down
    xdotool key Return
}
quit_and_wait() {
    xdotool key ctrl+q
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.2; done
    kill -0 "$1" 2>/dev/null && kill -TERM "$1"
    wait "$1"
}

first_w=$(( (${screen%x*} * 2 + 1) / 3 ))
first_h=$(( (${screen#*x} * 2 + 1) / 3 ))
run_home "$bin" &
pid=$!
check wait_window "[0-9]+x${first_h}"
first_w_found=${found_size%x*}
check [ "$first_w_found" -ge "$first_w" ]
check [ "$first_w_found" -le "${screen%x*}" ]
first_w=$first_w_found
count_colour '#FF8000' files-empty >/dev/null
show_mode images
count_colour '#FF8000' images-empty >/dev/null
differs=$(compare -metric AE "$shots/files-empty.png" "$shots/images-empty.png" null: 2>&1)
check [ "${differs%% *}" -gt 1000 ]
quit_and_wait "$pid"; rc=$?
check [ "$rc" -eq 0 ]
# Ctrl+Q keeps the window's place and both modes' layouts.
check grep -q "rect=@Rect(0 0 $first_w $first_h)" "$conf"
check grep -q '^filesWindowState=' "$conf"
check grep -q '^imagesWindowState=' "$conf"

# Two pictures: images mode with the first at true size; the browser in their folder shows
# both as small thumbnails.
run_home "$bin" "$work/a.png" "$work/b.png" &
pid=$!
check wait_window "${first_w}x${first_h}"
# The program's name once, then the picture's path.
check title_is "lumo-image - [$work/a.png]"
# Read in the background (by a decoder helper that may still be starting): wait for it.
orange=0
for _ in $(seq 10); do
    orange=$(count_colour '#FF8000' images-two)
    [ "${orange:-0}" -ge 2560 ] && break
done
check [ "${orange:-0}" -ge 2560 ]
show_mode files
orange=0
for _ in $(seq 10); do
    orange=$(count_colour '#FF8000' files-two)
    [ "${orange:-0}" -gt 0 ] && [ "${orange:-0}" -lt 2560 ] && break
done
check [ "${orange:-0}" -gt 0 ]
check [ "${orange:-0}" -lt 2560 ]
quit_and_wait "$pid"; rc=$?
check [ "$rc" -eq 0 ]

# The file tool's question names the tool once; No keeps the file.
convert -size 8x8 xc:white "$work/keep.png"
"$tools/lumo-fops" --remove "$work/keep.png" &
pid=$!
asked=0
for _ in $(seq 50); do
    name=$(xdotool search --onlyvisible --name '^lumo-fops' getwindowname %@ 2>/dev/null | head -n 1)
    [ -n "$name" ] && { asked=1; break; }
    sleep 0.2
done
check [ "$asked" -eq 1 ]
check [ "$name" = "lumo-fops - Delete permanently?" ]
xdotool key Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && kill -TERM "$pid"
wait "$pid"
check [ -f "$work/keep.png" ]

[ "$fail" -eq 0 ] && echo "smoke: all checks passed"
exit "$fail"
