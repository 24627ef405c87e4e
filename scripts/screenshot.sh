#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture of the main window: the
# program connected to an emulated extended reader, after "Lese Datensätze".
# Needs no display: it renders offscreen unless QT_QPA_PLATFORM says otherwise.
# BUILD_DIR (default build) and JOBS (default: all cores) choose the build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target orvane-screenshot orvane_catalogue
mkdir -p docs
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/orvane-screenshot" docs/screenshot.png
