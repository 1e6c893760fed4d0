#!/usr/bin/env bash
# Installs what is missing, builds the programs and the delivered data into build/dist,
# and starts Faciora from there. Extra arguments go to Faciora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DFACIORA_TESTS=OFF -DFACIORA_BENCH=OFF
cmake --build build -j"$(nproc)"
exec build/dist/faciora "$@"
