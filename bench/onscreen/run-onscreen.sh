#!/bin/bash
# Measures lumo-image on screen beside feh and qimgv, as a user sees it: launch → picture painted,
# next picture → painted, and the peak memory of each viewer's whole process tree.
#
# run-onscreen.sh [BUILD_DIR] [ROUNDS]
#   BUILD_DIR  a Release build with benchmarks on (default: build-bench)
#   ROUNDS     interleaved rounds (default: 5)
# Environment: ONSCREEN_DISPLAY (default :60), ONSCREEN_PHOTOS (where the test photos are made,
# default /tmp/lumo-onscreen-photos), ONSCREEN_INSTALL_PEERS=1 to install feh and qimgv with
# apt-get for this run, ONSCREEN_DWELL (ms looked at each picture before the next key, 1000),
# ONSCREEN_BEFORE (a directory holding an earlier lumo-image and lumo-decode, measured beside).
#
# Prints the medians and each of the program's figures as a ratio to each peer measured in the
# same run, with the load; the machine's absolute times wander, the ratios are the figures.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$source_dir/build-bench}" && pwd)
rounds=${2:-5}
display=${ONSCREEN_DISPLAY:-:60}
photos=${ONSCREEN_PHOTOS:-/tmp/lumo-onscreen-photos}
dwell=${ONSCREEN_DWELL:-1000}
probe=$build/bench/onscreen/onscreen-probe
program=$build/lumo-image

for needed in Xvfb openbox xdotool convert python3 "$probe" "$program"; do
    command -v "$needed" > /dev/null || { echo "missing: $needed" >&2; exit 2; }
done

# The peers are for this benchmark only, never a dependency of the build.
if [ "${ONSCREEN_INSTALL_PEERS:-0}" = 1 ]; then
    for peer in feh qimgv; do
        command -v "$peer" > /dev/null || apt-get install -y --no-install-recommends "$peer"
    done
fi
peers=()
for peer in feh qimgv; do
    if command -v "$peer" > /dev/null; then peers+=("$peer"); else echo "skipping $peer: not installed"; fi
done

"$here/make-photos.sh" "$photos"
mapfile -t colours < "$photos/colours"
all_colours=$(IFS=,; echo "${colours[*]}")
folder_files=("$photos"/folder/p*.jpg)

work=$(mktemp -d /tmp/lumo-onscreen.XXXXXX)
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2> /dev/null || true
    [ -n "${x_pid:-}" ] && kill "$x_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
x_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
openbox > "$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 1

# A fresh home per session: no settings, thumbnails or geometry left by the one before.
# The program's zoom mode is its "/zoomModeInt" setting: 4 true size (its default), 0 fit.
fresh_home() {
    local variant=$1 home
    home=$(mktemp -d "$work/home.XXXXXX")
    mkdir -p "$home/.config/lumo" "$home/.cache" "$home/.local/share"
    case $variant in
    lumo-fit* | lumo-before-fit) printf '[lumo-apps]\nlumo-image\\zoomModeInt=0\n' > "$home/.config/lumo/lumo-image.conf" ;;
    esac
    echo "$home"
}

# The command line of a variant opening FILE (in its folder of twelve when FOLDER is set).
command_of() {
    local variant=$1 file=$2 folder=$3
    case $variant in
    lumo-100 | lumo-fit) echo "$program" "$file" ;;
    lumo-fit-inprocess) echo env LUMO_DECODE_IN_PROCESS=1 "$program" "$file" ;;
    lumo-before-100 | lumo-before-fit) echo "$ONSCREEN_BEFORE/lumo-image" "$file" ;;
    feh) if [ -n "$folder" ]; then echo feh --start-at "$file" "${folder_files[@]}"; else echo feh "$file"; fi ;;
    feh-fit) if [ -n "$folder" ]; then echo feh -. --start-at "$file" "${folder_files[@]}"; else echo feh -. "$file"; fi ;;
    qimgv) echo qimgv "$file" ;;
    esac
}

run_session() {
    local variant=$1 kind=$2 home out
    home=$(fresh_home "$variant")
    local -a cmd
    if [ "$kind" = one ]; then
        read -r -a cmd <<< "$(command_of "$variant" "$photos/one/p00.jpg" "")"
        out=$(HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
            XDG_DATA_HOME=$home/.local/share "$probe" --dwell 300 "${colours[0]}" -- "${cmd[@]}" 2>> "$work/viewers.log") || true
    else
        read -r -a cmd <<< "$(command_of "$variant" "${folder_files[0]}" folder)"
        out=$(HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
            XDG_DATA_HOME=$home/.local/share "$probe" --dwell "$dwell" "$all_colours" -- "${cmd[@]}" 2>> "$work/viewers.log") || true
    fi
    while read -r metric a b; do
        case $metric in
        launch) echo "$variant launch_$kind $a" ;;
        step) echo "$variant step $b" ;;
        peak_pss_kib) [ "$kind" = folder ] && echo "$variant peak_pss_mib $((a / 1024))" ;;
        peak_rss_kib) [ "$kind" = folder ] && echo "$variant peak_rss_mib $((a / 1024))" ;;
        timeout) echo "$variant timeout_$kind 1" ;;
        esac
    done <<< "$out" >> "$work/results"
    rm -rf "$home"
    sleep 0.3
}

variants=(lumo-100 lumo-fit lumo-fit-inprocess)
[ -n "${ONSCREEN_BEFORE:-}" ] && variants+=(lumo-before-100 lumo-before-fit)
for peer in "${peers[@]}"; do
    case $peer in
    feh) variants+=(feh feh-fit) ;;
    qimgv) variants+=(qimgv) ;;
    esac
done

loads=()
touch "$work/results"
for ((round = 1; round <= rounds; ++round)); do
    loads+=("$(cut -d' ' -f1-3 /proc/loadavg)")
    # Each round starts with another variant, so none always runs on a machine just woken.
    count=${#variants[@]}
    for ((i = 0; i < count; ++i)); do
        variant=${variants[$(((i + round) % count))]}
        run_session "$variant" one
        run_session "$variant" folder
    done
    echo "round $round done (load $(cut -d' ' -f1-3 /proc/loadavg))" >&2
done
loads+=("$(cut -d' ' -f1-3 /proc/loadavg)")

python3 - "$work/results" "${loads[@]}" << 'EOF'
import statistics
import sys
from collections import defaultdict

values = defaultdict(list)
for line in open(sys.argv[1]):
    variant, metric, value = line.split()
    values[(variant, metric)].append(float(value))
variants = sorted({v for v, _ in values}, key=lambda v: (not v.startswith("lumo"), v))
metrics = ["launch_one", "launch_folder", "step", "peak_pss_mib", "peak_rss_mib"]
median = {k: statistics.median(v) for k, v in values.items() if not k[1].startswith("timeout")}

print("load (1/5/15 min) at each round: " + " | ".join(sys.argv[2:]))
print()
print("%-20s" % "median" + "".join("%15s" % m for m in metrics) + "   n (launch/steps), timeouts")
for v in variants:
    row = "".join("%15.0f" % median[(v, m)] if (v, m) in median else "%15s" % "-" for m in metrics)
    timeouts = int(sum(values.get((v, "timeout_one"), [])) + sum(values.get((v, "timeout_folder"), [])))
    print("%-20s" % v + row + "   %d/%d, %d" % (len(values.get((v, "launch_one"), [])),
                                                len(values.get((v, "step"), [])), timeouts))
print()
print("ratios (program / peer, lower is better)")
for v in [v for v in variants if v.startswith("lumo")]:
    before = v.replace("lumo-", "lumo-before-")
    for peer in [p for p in variants if not p.startswith("lumo")] + [before] * (before in variants):
        cells = []
        for m in metrics:
            a, b = median.get((v, m)), median.get((peer, m))
            cells.append("%15.2f" % (a / b) if a is not None and b else "%15s" % "-")
        print("%-20s" % ("%s / %s" % (v, peer)) + "".join(cells))
EOF
