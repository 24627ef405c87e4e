#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) and runs each for ORVANE_FUZZ_SECONDS (default 60) on a copy of
# its seed corpus in fuzz/corpus/<target>. Fails if any target finds a crash
# and prints the path of the reproducer.
# With --merge the inputs a run found that add coverage are merged back
# into fuzz/corpus/<target> (for developers; CI does not use it).
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
for arg in "$@"; do
    case $arg in
        --merge) merge=1 ;;
        *) echo "usage: $0 [--merge]" >&2; exit 2 ;;
    esac
done

scripts/install-deps.sh

seconds=${ORVANE_FUZZ_SECONDS:-60}
jobs=$(nproc)
build=build-fuzz
targets=(echo_piece reply_judgement key_list_frame port_name port_sorted transcript_text
         telnet_stream)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_FUZZ=ON -DORVANE_BENCH=OFF
cmake --build "$build" -j"$jobs" --target orvane_fuzz_targets

# Runs work on copies: new inputs never land in the repository by themselves.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

failed=()
for target in "${targets[@]}"; do
    corpus=$work/$target
    cp -r "fuzz/corpus/$target" "$corpus"
    options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
             -artifact_prefix="$artifacts/$target-")
    if [[ -f fuzz/$target.dict ]]; then
        options+=(-dict="fuzz/$target.dict")
    fi
    echo "=== $target (${seconds} s)"
    log=$work/$target.log
    if "$build/bin/fuzz_$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
        grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec)' "$log" || true
    else
        tail -n 40 "$log"
        reproducer=$(grep -oE "Test unit written to [^ ]+" "$log" | tail -n 1 | cut -d' ' -f5)
        echo "*** $target failed; reproducer: ${reproducer:-none written} (log above)"
        failed+=("$target")
        continue
    fi
    if ((merge)); then
        "$build/bin/fuzz_$target" -merge=1 "fuzz/corpus/$target" "$corpus" >"$log.merge" 2>&1
        grep -E 'MERGE-OUTER: [0-9]+ new files' "$log.merge" || true
    fi
done

if ((${#failed[@]})); then
    echo "Fuzzing found failures in: ${failed[*]}"
    exit 1
fi
echo "All fuzz targets ran ${seconds} s without a failure."
