#!/usr/bin/env bash
# The writers' kill test at full length: 1,000 SIGKILLs per writer (CI runs 50), each
# followed by a check that the file on disk is a whole old or new version.
#   bash scripts/killtest.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFACIORA_SANITIZE=ON > /dev/null
cmake --build build-asan --target test_killtest -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen KILLTEST_ROUNDS=${1:-1000}
time build-asan/tests/test_killtest
