#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# With ORVANE_TSAN=1 (as in CI) the core tests also run in a ThreadSanitizer build
# (test suites named "...Slow" are left out there).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

if [[ ${ORVANE_TSAN:-0} == 1 ]]; then
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_GUI=OFF \
          -DORVANE_BENCH=OFF -DORVANE_SANITIZE=thread
    cmake --build build-tsan -j"$jobs"
    (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        ctest --output-on-failure -j"$jobs" -E Slow)
fi
