#!/usr/bin/env bash
# Builds in Release and runs every benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DFACIORA_BENCH=ON
cmake --build build -j"$(nproc)"
for b in build/bench/bench_*; do
  [ -x "$b" ] && "$b" --benchmark_min_time=0.2
done
