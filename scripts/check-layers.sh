#!/usr/bin/env bash
# Checks that each code folder includes only from itself and the folders
# below it, so that the tree shows the layers:
#   link -> protocol -> common -> views -> resources -> shell
#   ctl on common and protocol; tools on link and protocol (the screenshot
#   tool on everything).
# Prints every include that reaches up and exits 1 if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [link]="link"
    [protocol]="protocol link"
    [common]="common link"
    [views]="views common protocol link"
    [resources]="resources common"
    [shell]="shell resources views common protocol link"
    [ctl]="ctl common protocol link"
    [tools/emulator]="tools/emulator link protocol"
    [tools/tracer]="tools/tracer link protocol"
)

status=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$text")
        [[ $target == */* ]] || continue
        ok=0
        for below in ${allowed[$folder]}; do
            [[ $target == "$below"/* ]] && ok=1
        done
        if [[ $ok == 0 ]]; then
            echo "$file:$line: $folder includes $target"
            status=1
        fi
    done < <(grep -Hn '^#include "' "$folder"/*.cpp "$folder"/*.h 2>/dev/null || true)
done
exit $status
