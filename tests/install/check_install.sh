#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks what a desktop sees: entry, metadata, icons,
# manual page, and the installed program finding its translations.
set -u
build="$1"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null || { echo "install failed"; exit 1; }
root="$stage/usr"

desktop="$root/share/applications/org.lumo.Image.desktop"
check test -f "$desktop"
out=$(desktop-file-validate "$desktop" 2>&1); check [ -z "$out" ]; [ -n "$out" ] && echo "$out"
check grep -q '^Exec=lumo-image %F$' "$desktop"
mimes=$(sed -n 's/^MimeType=//p' "$desktop")
for m in image/png image/jpeg image/gif; do check grep -q "\(^\|;\)$m;" <<<"$mimes"; done
# Optional plug-ins: listed exactly when Qt can read them here.
readable=$(ls /usr/lib/*/qt5/plugins/imageformats/ 2>/dev/null)
grep -q qwebp <<<"$readable" && check grep -q "image/webp;" <<<"$mimes"
grep -q qtiff <<<"$readable" && check grep -q "image/tiff;" <<<"$mimes"
check bash -c "! grep -q 'text/\|application/pdf' <<<'$mimes'"

metainfo="$root/share/metainfo/org.lumo.Image.metainfo.xml"
check test -f "$metainfo"
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1); rc=$?
check [ "$rc" -eq 0 ]; [ "$rc" -ne 0 ] && echo "$out"
check grep -q 'version="1.6.2"' "$metainfo"

check test -f "$root/share/icons/hicolor/scalable/apps/lumo-image.svg"
for size in 16 22 24 32 48 64 128 256 512; do
  png="$root/share/icons/hicolor/${size}x${size}/apps/lumo-image.png"
  check test -s "$png"
  check bash -c "file '$png' | grep -q '${size} x ${size}'"
done

page="$root/share/man/man1/lumo-image.1"
check test -f "$page"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
check [ -z "$warnings" ]; [ -n "$warnings" ] && echo "$warnings"
# What the page says of the exit status and the thumbnail cache is what the program does.
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | tr -s ' ')
QT_QPA_PLATFORM=offscreen "$root/bin/lumo-image" -f >/dev/null 2>&1; rc=$?
check [ "$rc" -eq 1 ]
check grep -q "; 1 when -f finds no picture" <<<"$manual"
check grep -q "written for the pictures this program makes thumbnails of" <<<"$manual"
# Every package a build step needs comes from scripts/deps, not from a line in the README.
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
check bash -c "! grep -q 'apt-get install' '$source_dir/README.md'"

# The decoder helper sits beside the program, where the program looks for it.
check test -x "$root/bin/lumo-decode"
out=$("$root/bin/lumo-decode" 2>&1); rc=$?
check [ "$rc" -eq 2 ]
check grep -q 'Started by lumo-image' <<<"$out"

check test -d "$root/share/lumo-image/translations"
out=$(QT_LOGGING_RULES="lumo.init.debug=true" "$root/bin/lumo-image" --version 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q '1\.6\.2' <<<"$out"
check grep -q "translations directory \"$root/share/lumo-image/translations\"" <<<"$out"
[ "$fail" -ne 0 ] && echo "$out"

[ "$fail" -eq 0 ] && echo "install: all checks passed"
exit "$fail"
