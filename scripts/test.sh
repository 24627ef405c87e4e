#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then checks
# the installation and the Debian package (scripts/check-install.sh).
#
# Further stages, switched on by the environment (CI switches on all three):
#   ORVANE_ASAN=1  every test again in an AddressSanitizer+UBSan build
#   ORVANE_TSAN=1  the link, protocol and transcript-view tests in a
#                  ThreadSanitizer build (suites named "...Slow" left out)
#   ORVANE_FUZZ=1  every fuzz target for ORVANE_FUZZ_SECONDS (default 60) each
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh

jobs=$(nproc)

stage() {
    echo
    echo "=== $* ($(date -u +%H:%M:%S))"
}

stage "build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

stage "install and package"
scripts/check-install.sh

if [[ ${ORVANE_ASAN:-0} == 1 ]]; then
    stage "AddressSanitizer + UBSan"
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_BENCH=OFF \
          -DORVANE_SANITIZE=address
    cmake --build build-asan -j"$jobs"
    (cd build-asan &&
        ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
fi

if [[ ${ORVANE_TSAN:-0} == 1 ]]; then
    stage "ThreadSanitizer"
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_BENCH=OFF \
          -DORVANE_SANITIZE=thread
    cmake --build build-tsan -j"$jobs" --target link_tests protocol_tests views_tests ctl_tests
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/scripts/tsan.supp"
    (cd build-tsan &&
        ctest --output-on-failure -j"$jobs" -L '^(link|protocol)$' -E Slow &&
        ctest --output-on-failure -j"$jobs" -L '^ctl$' -R '^OrvaneFleet\.' &&
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" -L '^views$' \
            -R '^(ViewEcho|ViewLink|DocTranscript|Transcript|RecordCommand|ReaderFault|ProgressDialogHook)' -E Slow)
    unset TSAN_OPTIONS
fi

if [[ ${ORVANE_FUZZ:-0} == 1 ]]; then
    stage "fuzzing"
    scripts/fuzz.sh
fi

stage "all tests passed"
