#!/usr/bin/env bash
# Makes the pictures of the README and the manual from the program connected
# to an emulated extended reader:
#  - docs/screenshot.png, the main window after "Lese Datensätze"; rendered
#    offscreen unless QT_QPA_PLATFORM says otherwise;
#  - docs/interface.png, the interface dialog at start-up when another program
#    holds the stored port, with its reason line and a port's tool tip; the
#    tool tip is a window of its own, so this one is taken from an X display
#    (Xvfb, started here through xvfb-run);
#  - docs/screenshot-dark.png under a dark desktop palette, and
#    docs/screenshot-scale2.png and docs/interface-scale2.png at scale factor 2.
# BUILD_DIR (default build) and JOBS (default: all cores) choose the build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

scripts/install-deps.sh
if ! command -v xvfb-run >/dev/null || ! command -v flock >/dev/null; then
    sudo=$([[ $(id -u) -eq 0 ]] || echo sudo)
    $sudo apt-get install -y xvfb util-linux
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target orvane-screenshot orvane_catalogue
mkdir -p docs
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/orvane-screenshot" docs/screenshot.png
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/bin/orvane-screenshot" --interface docs/interface.png
# The desktop's colours and scale: the main window under a dark palette, and
# the main window and the interface dialog at twice the scale.
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/orvane-screenshot" --dark \
    docs/screenshot-dark.png
QT_SCALE_FACTOR=2 QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/orvane-screenshot" \
    docs/screenshot-scale2.png
QT_SCALE_FACTOR=2 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 2048x1536x24" \
    "$build/bin/orvane-screenshot" --interface docs/interface-scale2.png
