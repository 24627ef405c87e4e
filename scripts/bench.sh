#!/usr/bin/env bash
# Builds the benchmarks (build-bench), runs them all headless and prints one
# Markdown table of the results, ready for the README's Performance section.
# --quick: fewer rounds and shorter runs, to check that everything works.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
for arg in "$@"; do
    case $arg in
        --quick) quick=1 ;;
        *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
    esac
done

scripts/install-deps.sh >&2

targets=(bench_link_throughput gui_transcript plain_transcript gui_startup gui_memory bench_collect bench_fleet
         orvanectl)
# Build messages go to stderr, so that stdout is the table alone.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_GUI=ON -DORVANE_BENCH=ON \
    >/dev/null
cmake --build build-bench -j"$(nproc)" --target "${targets[@]}" >&2
bin=build-bench/bin

# Headless, with throw-away settings and an empty runtime folder (trace on,
# no viewer); the key=value lines of every benchmark go to one file.
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
mkdir -m 700 "$workdir/runtime" "$workdir/config"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$workdir/runtime XDG_CONFIG_HOME=$workdir/config
results=$workdir/results

if ((quick)); then
    link_args=(--megabytes 2 --rounds 1 --seconds 3)
    transcript_args=(--no-paced)
    startup_args=(--runs 3)
    memory_runs=1
    collect_args=(--records 500)
    fleet_args=(--readers 4 --records 200)
else
    link_args=(--megabytes 8 --rounds 3 --seconds 10)
    transcript_args=()
    startup_args=(--runs 7)
    memory_runs=5
    collect_args=(--records 1000)
    fleet_args=(--readers 16 --records 1000)
fi

# Runs one benchmark; its messages go to a log that is shown if it fails.
run() {
    local name=$1
    shift
    echo "running $name ..." >&2
    if ! "$bin/$name" "$@" --table >>"$results" 2>"$workdir/$name.log"; then
        echo "$name failed:" >&2
        cat "$workdir/$name.log" >&2
        exit 1
    fi
}
run bench_link_throughput "${link_args[@]}"
run gui_transcript "${transcript_args[@]}"
run gui_startup "${startup_args[@]}"
# The peak depends on how far the view lags behind the link, so the memory
# figures are medians over processes of their own.
for _ in $(seq "$memory_runs"); do
    run gui_memory
    run gui_memory --plain
done
run bench_collect "${collect_args[@]}"
run bench_fleet "${fleet_args[@]}"

value() {
    local found
    found=$(sed -n "s/^$1=//p" "$results" | tail -n 1)
    if [[ -z $found ]]; then
        echo "no value for $1" >&2
        exit 1
    fi
    echo "$found"
}
median() {
    sed -n "s/^$1=//p" "$results" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
# calc FORMAT EXPRESSION: awk arithmetic on numbers.
calc() {
    awk "BEGIN { printf \"$1\", ($2) }"
}
# 1000000 -> 1,000,000
thousands() {
    sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$1"
}
goal() {
    if (($(calc "%d" "$1"))); then echo met; else echo missed; fi
}

megabytes=$(value link_megabytes)
rounds=$(value link_rounds)
engine=$(value link_engine_mbs)
plain1=$(value link_plain1_mbs)
plain4096=$(value link_plain4096_mbs)
rfc2217=$(value link_rfc2217_mbs)
transcript_bytes=$(value transcript_bytes)
transcript_bytes=$(thousands "$transcript_bytes")
view_s=$(value transcript_view_s)
editor_s=$(value transcript_plain_s)
idle_s=$(value idle_seconds)
idle_pct=$(value idle_cpu_percent)
watch_s=$(value lost_watch_seconds)
watch_pct=$(value lost_watch_cpu_percent)
startup_runs=$(value startup_runs)
startup_timeout=$(value startup_timeout_ms)
startup=$(value startup_ms)
startup_plain=$(value startup_plain_ms)
empty_kb=$(median memory_empty_kb)
full_kb=$(median memory_full_kb)
plain_empty_kb=$(median memory_plain_empty_kb)
plain_full_kb=$(median memory_plain_full_kb)
collect_records=$(thousands "$(value collect_records)")
collect_bytes=$(thousands "$(value collect_bytes)")
collect_baud=$(thousands "$(value collect_baud)")
collect_timeout=$(value collect_timeout_ms)
collect_s=$(value collect_s)
collect_wire_s=$(value collect_wire_s)
collect_goal_s=$(calc "%.2f" "($collect_wire_s + $collect_timeout / 1000) * 1.1")
collect_window_ms=$(value collect_clear_window_ms)
fleet_readers=$(value fleet_readers)
fleet_records=$(thousands "$(value fleet_records)")
fleet_baud=$(thousands "$(value fleet_baud)")
fleet_timeout=$(value fleet_timeout_ms)
fleet_one_s=$(value fleet_one_s)
fleet_s=$(value fleet_s)
fleet_ratio=$(value fleet_ratio)
fleet_peak_kb=$(value fleet_peak_kb)
fleet_cpu_s=$(value fleet_cpu_s)
fleet_cpu_pct=$(value fleet_cpu_percent)
fleet_one_peak_kb=$(value fleet_one_peak_kb)
fleet_one_cpu_s=$(value fleet_one_cpu_s)

cat <<TABLE

Measured $(date -u +%Y-%m-%d) on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')), build-bench RelWithDebInfo$( ((quick)) && echo ", quick mode").

| What is measured | Orvane | Reference, same run | Ratio Orvane / reference, or goal |
|---|---|---|---|
| Link throughput: $megabytes MB through the serial engine into \`OnByteReceived\` (trace on, no viewer), best of $rounds | $engine MB/s | plain read loop, 4096 B per read: $plain4096 MB/s | $(calc "%.3f" "$engine / $plain4096"); goal ≥ 1 MB/s: $(goal "$engine >= 1") |
| The same against a plain loop reading 1 B per call | $engine MB/s | plain read loop, 1 B per read: $plain1 MB/s | $(calc "%.1f" "$engine / $plain1") |
| The same bytes over \`rfc2217://\` to a local ser2net in front of the pseudo-terminal, best of $rounds | $rfc2217 MB/s | the engine on the pseudo-terminal directly: $engine MB/s | $(calc "%.2f" "$rfc2217 / $engine"); goal ≥ 1 MB/s: $(goal "$rfc2217 >= 1") |
| Record read-out: $transcript_bytes bytes of record lines from the emulator through the view, to the last byte on screen | $(calc "%.2f" "$view_s") s | plain \`QPlainTextEdit\` filled in a loop: $(calc "%.2f" "$editor_s") s | $(calc "%.2f" "$view_s / $editor_s") |
TABLE
if grep -q '^transcript_paced_s=' "$results"; then
    stall=$(value transcript_paced_stall_ms)
    baud=$(thousands "$(value transcript_paced_baud)")
    echo "| The same paced like a $baud-baud line: longest event-loop stall | $stall ms | — | goal ≤ 100 ms: $(goal "$stall <= 100") |"
    cpu_pct=$(value transcript_cpu_percent)
    cpu_s=$(value transcript_cpu_s)
    ref_pct=$(value transcript_reference_cpu_percent)
    cpu_ratio=$(value transcript_cpu_ratio)
    cpu_rounds=$(value transcript_cpu_rounds)
    echo "| The same paced line, emulator in a process of its own: CPU time of the whole program process over the stream ($(calc "%.1f" "$cpu_s") s), as a share of one core; the round with the median ratio of $cpu_rounds | $(calc "%.1f" "$cpu_pct") % | \`plain_transcript\` reading the same line, appending every 40 ms: $(calc "%.1f" "$ref_pct") % | $(calc "%.2f" "$cpu_ratio"); goal ≤ 1.5: $(goal "$cpu_ratio <= 1.5") |"
fi
cat <<TABLE
| Idle CPU of an open, silent link over $(calc "%.0f" "$idle_s") s (monitor thread CPU / wall time) | $(calc "%.2f" "$idle_pct") % of one core | — | goal < 1 %: $(goal "$idle_pct < 1") |
| Idle CPU of a lost link over $watch_s s, its device looked for once a second (process CPU / wall time) | $(calc "%.3f" "$watch_pct") % of one core | — | goal < 1 %: $(goal "$watch_pct < 1") |
| Start-up to the shown main window, median of $startup_runs processes (emulator stored as interface, $startup_timeout ms reply time-out) | $startup ms | plain \`QMainWindow\` with a \`QPlainTextEdit\`: $startup_plain ms | $(calc "%.2f" "$startup / $startup_plain") |
| Peak RSS (VmHWM) holding a full transcript, 1,048,575 characters of record lines, median of $memory_runs processes | $(calc "%.1f" "$full_kb / 1024") MB | plain \`QPlainTextEdit\` with the same text: $(calc "%.1f" "$plain_full_kb / 1024") MB | $(calc "%.2f" "$full_kb / $plain_full_kb") |
| The transcript's own cost: full minus empty view ($(calc "%.1f" "$empty_kb / 1024") MB) | $(calc "%.1f" "($full_kb - $empty_kb) / 1024") MB | plain \`QPlainTextEdit\`: $(calc "%.1f" "($plain_full_kb - $plain_empty_kb) / 1024") MB | $(calc "%.2f" "($full_kb - $empty_kb) / ($plain_full_kb - $plain_empty_kb)") |
| \`orvanectl collect\` of the emulator's $collect_records records ($collect_bytes bytes) at $collect_baud baud, whole run ($collect_timeout ms reply time-out) | $collect_s s | wire time of the same bytes (bytes × 10 / $collect_baud): $collect_wire_s s | $(calc "%.2f" "$collect_s / $collect_wire_s"); goal ≤ (wire + time-out) × 1.1 = $collect_goal_s s: $(goal "$collect_s <= $collect_goal_s"); with \`--clear\`, window from the last byte of the read-out that matched the saved one to the "C" at the reader: $collect_window_ms ms |
| \`orvanectl --readers\` collect of $fleet_readers emulated readers, each its own pseudo-terminal at $fleet_baud baud with $fleet_records records, in one run (emulators in a process of their own; $fleet_timeout ms reply time-out) | $fleet_s s; peak RSS $(calc "%.1f" "$fleet_peak_kb / 1024") MB, CPU $fleet_cpu_s s ($fleet_cpu_pct % of one core) | one reader's collect: $fleet_one_s s; peak RSS $(calc "%.1f" "$fleet_one_peak_kb / 1024") MB, CPU $fleet_one_cpu_s s | $(calc "%.2f" "$fleet_ratio"); goal ≤ 1.25: $(goal "$fleet_ratio <= 1.25") |
TABLE
