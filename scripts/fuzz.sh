#!/usr/bin/env bash
# A real fuzzing session: builds TARGET with libFuzzer (clang, ASan, UBSan), runs it for
# SECONDS on its corpus, then merges the new interesting inputs, minimised, into
# tests/fuzz/corpus/TARGET. A crash is left as crash-* in build-fuzz/findings/TARGET.
#   bash scripts/fuzz.sh TARGET SECONDS [JOBS]
# Targets: bmp png jpeg gif tiff fileinfo imagefield document settings addon sheetformats
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?target}
seconds=${2:?seconds}
jobs=${3:-1}
bash scripts/setup.sh
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
    || { SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo; $SUDO apt-get install -y -qq "$p"; }
done
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFACIORA_FUZZ=ON -DFACIORA_TESTS=OFF -DFACIORA_BENCH=OFF > /dev/null
cmake --build build-fuzz --target "fuzz_$target" -j"$(nproc)"

corpus=tests/fuzz/corpus/$target
found=build-fuzz/findings/$target
mkdir -p "$found/new"
export QT_QPA_PLATFORM=offscreen
# Targets that write their input to disk do so in memory: fsync on a real disk would
# dominate every execution.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Several jobs write their logs as fuzz-N.log into the working folder: keep them with the findings.
parallel=()
[ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
(cd "$found" && "$OLDPWD/build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2048 -max_len=262144 "${parallel[@]}" -artifact_prefix=./ -print_final_stats=1 \
  new "$OLDPWD/$corpus" > log.txt 2>&1) || true
grep -hE "^#[0-9]+ +DONE|stat::|ERROR|SUMMARY" "$found"/log.txt "$found"/fuzz-*.log 2>/dev/null || true
# Keep only what adds coverage.
"build-fuzz/tests/fuzz/fuzz_$target" -merge=1 "$corpus" "$found/new" > "$found/merge.txt" 2>&1 || true
rm -rf "$found/new"
shopt -s nullglob
left=("$found"/crash-* "$found"/timeout-* "$found"/oom-*)
if [ ${#left[@]} -gt 0 ]; then
  printf 'found: %s\n' "${left[@]}"
  exit 1
fi
