#!/usr/bin/env bash
# Times `faciora --image` against libvips, ImageMagick and GraphicsMagick on the same
# 24-megapixel picture with the same number of threads, and prints the ratios.
#   scripts/bench_peers.sh [build folder with dist/faciora]   (default build-rel)
# THREADS (default: every core) and RUNS (best of, default 3) may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-rel}
FACIORA=$BUILD/dist/faciora
THREADS=${THREADS:-$(nproc)}
RUNS=${RUNS:-3}
[ -x "$FACIORA" ] || { echo "no $FACIORA; build it first (cmake --build $BUILD --target faciora)" >&2; exit 2; }

# ImageMagick's own program, not a wrapper that may stand earlier on PATH.
CONVERT=/usr/bin/convert
if ! command -v vips >/dev/null || [ ! -x "$CONVERT" ] || ! command -v gm >/dev/null; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get install -y --no-install-recommends libvips-tools imagemagick graphicsmagick >/dev/null
fi

export VIPS_CONCURRENCY=$THREADS OMP_NUM_THREADS=$THREADS FACIORA_THREADS=$THREADS
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# 6000 x 4000, not flat: a fractal plasma (colour everywhere, edges and smooth parts).
IN=$WORK/in.jpg
"$CONVERT" -limit thread "$THREADS" -seed 7 -size 6000x4000 plasma:fractal -quality 92 "$IN"
# A 25-tap box for separable convolution in vips: the same window as Average=25.
{ echo "25 1 25 0"; for _ in $(seq 25); do printf "1 "; done; echo; } > "$WORK/box.mat"

# Best wall time of RUNS runs, in seconds.
best() {
  local best="" t
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; echo "nan"; return; }
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf "%.3f" "$best"
}

ours() { "$FACIORA" --image "$IN" "$WORK/ours.jpg" "$@"; }
echo "picture: 6000x4000 JPEG, threads: $THREADS, best of $RUNS; times include reading and writing the JPEG"
base_ours=$(best ours)
base_vips=$(best vips copy "$IN" "$WORK/vips.jpg")
base_im=$(best "$CONVERT" -limit thread "$THREADS" "$IN" "$WORK/im.jpg")
printf "%-26s %9s\n" "round trip, faciora" "$base_ours" "round trip, vips" "$base_vips" "round trip, convert" "$base_im"
echo
printf "%-22s %9s  %-44s %9s %8s %8s\n" operation faciora peer "peer s" ratio "ratio-rt"
row() {  # name, our time, peer label, peer time, peer round trip
  local r rk
  r=$(echo "$2 / $4" | bc -l)
  rk=$(echo "($2 - $base_ours) / ($4 - $5)" | bc -l 2>/dev/null || echo nan)
  printf "%-22s %9s  %-44s %9s %8.2f %8.2f\n" "$1" "$2" "$3" "$4" "$r" "$rk"
}
m7=$(best ours --op Median=7)
m25=$(best ours --op Median=25)
row "Median=7" "$m7" "vips rank 7 7 24" "$(best vips rank "$IN" "$WORK/vips.jpg" 7 7 24)" "$base_vips"
row "Median=7" "$m7" "convert -statistic Median 7x7" "$(best "$CONVERT" -limit thread "$THREADS" "$IN" -statistic Median 7x7 "$WORK/im.jpg")" "$base_im"
row "Median=7" "$m7" "gm convert -median 3" "$(best gm convert "$IN" -median 3 "$WORK/gm.jpg")" "$base_im"
row "Median=25" "$m25" "faciora Median=7" "$m7" "$base_ours"
a25=$(best ours --op Average=25)
a3=$(best ours --op Average=3)
row "Average=25" "$a25" "vips convsep 25-tap box" "$(best vips convsep "$IN" "$WORK/vips.jpg" "$WORK/box.mat" --precision integer)" "$base_vips"
row "Average=25" "$a25" "convert -blur 12x4" "$(best "$CONVERT" -limit thread "$THREADS" "$IN" -blur 12x4 "$WORK/im.jpg")" "$base_im"
row "Average=25" "$a25" "faciora Average=3" "$a3" "$base_ours"
rot=$(best ours --op Rotate=1700,1,ffffff)
row "Rotate=1700,1,ffffff" "$rot" "vips rotate 17" "$(best vips rotate "$IN" "$WORK/vips.jpg" 17)" "$base_vips"
row "Rotate=1700,1,ffffff" "$rot" "convert -rotate 17" "$(best "$CONVERT" -limit thread "$THREADS" "$IN" -background white -rotate 17 "$WORK/im.jpg")" "$base_im"
half=$(best ours --op Size=3000,2000,1)
row "Size=3000,2000,1" "$half" "vips resize 0.5 --kernel linear" "$(best vips resize "$IN" "$WORK/vips.jpg" 0.5 --kernel linear)" "$base_vips"
row "Size=3000,2000,1" "$half" "convert -filter Triangle -resize 50%" "$(best "$CONVERT" -limit thread "$THREADS" "$IN" -filter Triangle -resize 50% "$WORK/im.jpg")" "$base_im"
for op in Invert Intensity=300 Contrast=300 GammaCorrect=150 Hue=90 Saturation=500 Posterize=4; do
  row "$op" "$(best ours --op "$op")" "faciora round trip" "$base_ours" "0"
done
echo
echo "ratio: faciora / peer, whole commands; ratio-rt: the same after taking away each tool's own JPEG round trip"
