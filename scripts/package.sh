#!/usr/bin/env bash
# Builds the Debian package of Orvane with CPack and prints its path as the
# last line, e.g. build/orvane_1.0.3_amd64.deb. Builds only what the package
# holds (the programs, their data, icons and man pages), in BUILD_DIR
# (default build) with JOBS jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target orvane_dist
output=$(cd "$build" && cpack -G DEB)
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$output")
if [[ -z $deb || ! -f $deb ]]; then
    echo "$output" >&2
    echo "package.sh: cpack made no package" >&2
    exit 1
fi
realpath --relative-to=. "$deb"
