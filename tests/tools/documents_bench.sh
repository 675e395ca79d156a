#!/usr/bin/env bash
# Runs the document benchmarks on a 3840 x 2160 screen of their own, with scrot
# measured on the Linux side (x11-apps' xwud shows the screen picture) for the PNG comparison (whole-process time, median of 5,
# and its file size), passed to vx_bench as VX_SCROT_MS and VX_SCROT_BYTES.
#   tests/tools/documents_bench.sh BUILD_DIR     (BUILD_DIR like build/mingw)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
run=$build/bench-run
work=$(mktemp -d /tmp/vx-bench.XXXXXX)
cleanup() { "$root/tools/wine-session" stop "$run" || true; rm -rf "$work"; }
trap cleanup EXIT
"$root/tools/wine-session" start "$run" "$build/tests/vx_keepalive.exe" 3840x2160x24
# shellcheck disable=SC1091
. "$run/env"
# A text-heavy screen, like a desktop with documents open.
text() { sed 's/%/%%/g' "$1"; }
convert -size 3840x2160 xc:white -fill black -font DejaVu-Sans -pointsize 15 \
    -annotate +10+20 "$(text "$root/src/commands/picture_io.cpp")" \
    -annotate +1300+20 "$(text "$root/src/commands/picture_format.cpp")" \
    -fill '#3060a0' -draw 'rectangle 2600,0 3840,2160' -fill white -pointsize 22 \
    -annotate +2650+60 "$(text "$root/tests/win/documents_files_test.cpp")" "$work/screen.png"
convert "$work/screen.png" "$work/screen.xwd"
xwud -noclick -in "$work/screen.xwd" &
viewer=$!
trap 'kill $viewer 2>/dev/null || true; cleanup' EXIT
sleep 2
times=()
for _ in 1 2 3 4 5; do
    rm -f "$work/scrot.png"
    start=$(date +%s%N)
    scrot -o "$work/scrot.png"
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
export VX_SCROT_MS=$(awk "BEGIN { print $median / 1000 }")
export VX_SCROT_BYTES=$(stat -c %s "$work/scrot.png")
echo "scrot: ${VX_SCROT_MS} ms, ${VX_SCROT_BYTES} bytes ($(identify -format '%wx%h' "$work/scrot.png"))"
wine "$build/tests/vx_bench.exe" documents
