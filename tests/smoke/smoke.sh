#!/usr/bin/env bash
# End to end on a real X server: the binary starts, answers --version and --help, refuses nonsense
# and shows pictures full screen until Escape; the desktop tools beside it answer --help.
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

[ "$fail" -eq 0 ] && echo "smoke: all checks passed"
exit "$fail"
